#pragma once
// The RTF reader's table of control words: every word the reader acts on,
// with its kind, its default parameter and what it does. Words not in the
// table are ignored by the reader (or skip their group after "\*").
#include <cstdint>
#include <string_view>

enum class TRtfWordKind : std::uint8_t { Character = 1, Destination = 2, Property = 3, Special = 4 };

// What a property word does, in four groups (the reader dispatches on them):
// character formatting up to BackColor, paragraph formatting up to
// PatternBackColor, tables up to Row, then the document's own properties.
enum class TRtfProperty : std::uint8_t {
  Plain,
  Font,
  FontSize,
  Bold,
  Italic,
  Underline,
  StrikeOut,
  Hyperlink,
  Superscript,
  Subscript,
  NoSuperSub,
  Hidden,
  Protected,
  InsertPoint,
  Automatic,
  RtfCode,
  TextColor,
  BackColor,
  Par,
  LeftIndent,
  RightIndent,
  FirstIndent,
  SpaceBefore,
  SpaceAfter,
  LineSpacing,
  Alignment,
  ParagraphDefaults,
  PageBreak,
  Keep,
  KeepWithNext,
  TabStop,
  TabKind,
  Border,
  BorderWidth,
  BorderSpacing,
  BorderColor,
  Shading,
  PatternColor,
  PatternBackColor,
  RowDefaults,
  CellRight,
  CellMerge,
  CellGap,
  RowLeft,
  InTable,
  Cell,
  Row,
  Red,
  Green,
  Blue,
  PaperWidth,
  PaperHeight,
  MarginLeft,
  MarginRight,
  MarginTop,
  MarginBottom,
  FacingPages,
  Landscape,
  Ignored,
  PictureKindDdb,
  PictureKindDib,
  PictureKindMetafile,
  PictureKindPng,
  PictureKindJpeg,
  PictureKindEmf,
  PictureWidth,
  PictureHeight,
  PictureGoalWidth,
  PictureGoalHeight,
  PictureScaleX,
  PictureScaleY,
  BitsPerPixel,
  Planes,
  WidthBytes,
  ObjectTag,
  ObjectWidth,
  ObjectHeight,
  FootnoteNumber,
};

// Reader destinations: where the bytes of the current group go.
enum TRtfDestination : std::uint8_t {
  rdText = 0,
  rdSkip = 1,
  rdFontTable = 2,
  rdColorTable = 3,
  rdPicture = 4,
  rdPictureFile = 5,
  rdTitle = 6,
  rdComment = 7,
  rdSubject = 8,
  rdFootnote = 9,
  // Skipped like rdSkip, except for the group of its result (\result,
  // \shprslt), which is read as the text around the object.
  rdObject = 0xFE,
  // Not a destination of its own: the word leaves the destination unchanged.
  rdUnchanged = 0xFF,
};

enum class TRtfSpecial : std::uint8_t {
  Hex,
  Star,
  Bin,
  Unicode,           // \uN: one character by its Unicode number
  FallbackCount,     // \ucN: characters after \uN that stand in for it
  DocumentCodePage,  // \ansicpgN
  FontCharset,       // \fcharsetN of a font table entry
  FontCodePage,      // \cpgN of a font table entry
  NestedCell,        // end of a cell of a table inside a table cell
  NestedRow,
  FootnoteMark,  // \chftn: the automatic number of a footnote
  Result,        // what an object or shape that is skipped shows instead
};

struct TRtfControlWord {
  const char* Word;
  std::int32_t DefaultParameter;
  bool UseDefault;  // the default replaces any parameter the word carries
  TRtfWordKind Kind;
  // Character: the character code; Property: a TRtfProperty; Destination: a
  // TRtfDestination; Special: a TRtfSpecial.
  std::uint8_t Value;

  TRtfProperty Property() const { return static_cast<TRtfProperty>(Value); }
  TRtfSpecial Special() const { return static_cast<TRtfSpecial>(Value); }
  // The parameter the word acts with.
  std::int32_t Parameter(bool hasParameter, std::int32_t parameter) const {
    return UseDefault || !hasParameter ? DefaultParameter : parameter;
  }
};

// The table in lookup order; exposed for tests.
struct TRtfControlWordTable {
  const TRtfControlWord* Entries;
  int Count;
};
TRtfControlWordTable RtfControlWords();
// Number of entries of the reader's original word set; the entries after
// them are words of other writers that carry text or end a style.
constexpr int kRtfCoreControlWordCount = 154;

// The first entry whose word equals word exactly (case-sensitive), or
// nullptr. Constant time: a hash index built once over the table.
const TRtfControlWord* FindRtfControlWord(std::string_view word);

// The hash the index uses, built letter by letter while a word is read so
// that looking it up needs no second pass.
constexpr std::uint32_t kRtfWordHashStart = 2166136261u;
constexpr std::uint32_t RtfWordHashStep(std::uint32_t hash, unsigned char c) {
  return (hash ^ c) * 16777619u;
}
const TRtfControlWord* FindRtfControlWord(std::string_view word, std::uint32_t hash);
