#pragma once
// The RTF reader: turns RTF bytes into a chain of paragraphs with
// per-character attributes, filling the document header's font, colour and
// tab tables, page block and information strings on the way. It reads what
// our RTF writer produces plus the common words of other writers; anything
// else is skipped.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "richtext/CodePage.h"
#include "richtext/RtfControlWords.h"
#include "richtext/RtfPicture.h"
#include "richtext/TextReader.h"

// Everything the RTF reader keeps while it reads one stream. A read starts
// from a fresh state, so nothing of an earlier read can leak into it.
struct TRtfParseState {
  static constexpr int kMaxCells = 50;

  // Paragraph attributes as the reader keeps them while reading.
  struct TParAttrs {
    std::int32_t FirstIndent = 0;  // relative to the left indent until the end
    std::int32_t LeftIndent = 0;
    std::int32_t RightIndent = 0;
    std::int32_t SpaceBefore = 0;
    std::int32_t SpaceAfter = 0;
    std::int32_t LineSpacing = 0;
    std::int32_t PendingFirstIndent = 0;
    TBorderWord BorderWord;
    std::uint8_t Alignment = 0;
    std::uint8_t ShadingColors = 0;
    std::uint8_t Shading = 0;
    TTabSet TabSet = 0;
    bool operator==(const TParAttrs&) const = default;
  };
  struct TGroupState {
    TAttr CharAttr;
    TParAttrs Par;
    std::uint8_t Destination;
    std::uint8_t HexMode;
    bool TabListStarted;
    bool TableMode;
    int CodePage;
    int FallbackCount;
  };
  struct TCell {
    int Right = 0;  // relative to the row's left indent
    TBorderWord BorderWord;
    std::uint8_t ShadingColors = 0;
    std::uint8_t Shading = 0;
    std::uint8_t Gap = 0;
    int MergeCount = 0;
  };
  struct TPictureState {
    TWPRtfPicture::TFormat Format = TWPRtfPicture::pfMetafile;
    int Width = 0, Height = 0, GoalWidth = 0, GoalHeight = 0;
    int ScaleX = 100, ScaleY = 100;
    int BitsPerPixel = 0, Planes = 1, WidthBytes = 0;
    std::string Data;
    int PendingHighDigit = -1;
    std::string FileName;
    bool InQuotes = false;
  };

  std::uint8_t FDestination = rdText;
  std::uint8_t FHexMode = 0;
  int FHexHigh = -1;
  bool FStar = false;
  bool FTableMode = false;
  bool FTabListStarted = false;
  bool FBorderFromZero = true;
  bool FParDirty = false;
  // Group depth at which paragraph words were last stated for the current
  // paragraph; -1 when none were.
  int FParStatedDepth = -1;
  int FDepth = 0;
  bool FGroupOpened = false;
  std::vector<TGroupState> FGroups;
  TParAttrs FPar;

  std::array<std::uint8_t, 99> FFontMap{};
  int FFontNumber = 0;
  std::string FFontName;
  int FColorIndex = 0;
  TTabKind FPendingTabKind = tkLeft;

  std::array<TCell, kMaxCells> FCells{};
  TBorderWord FDiscardedBorder;  // border words of cells beyond the last
  int FCellCount = 0;
  int FCellMax = 0;
  int FCellIndex = 0;
  int FCellWidthTotal = 0;  // right edge of the last cell, in 1/255 of the row
  TParagraph* FLastCell = nullptr;

  TPictureState FPicture;
  int FObjectTag = 0;
  int FObjectWidth = 0;
  int FObjectHeight = 0;

  bool FRawMode = false;
  int FRawMatched = 0;

  TFootnote* FFootnote = nullptr;

  // Code pages: the document's (\ansicpg), each RTF font's (0: the
  // document's) and the one of the current text.
  int FDocCodePage = kCodePageAnsi;
  std::array<int, 99> FFontCodePages{};
  int FFontEntryCodePage = 0;
  int FCodePage = kCodePageAnsi;
  // Characters that stand in for a \uN (\ucN), and how many of them are
  // still to be skipped after one that was read.
  int FFallbackCount = 1;
  int FFallbackSkip = 0;
  // A \uN outside Windows-1252 whose fallback has not come yet.
  bool FFallbackOwed = false;

  // Every colour of the incoming colour table, beyond the ones the header
  // takes too, and the one being defined.
  std::vector<TColor> FIncomingColors;
  TColor FIncomingColor = 0;

  // The group of an object or shape being skipped, and the destination
  // its result goes to; -1 when none.
  int FObjectDepth = -1;
  std::uint8_t FObjectOuterDestination = rdText;
  // Separator (tab or line break) a cell or row of a nested table left for
  // the text that follows it.
  std::uint8_t FNestedSeparator = 0;
  // The last byte opened a group: a "*" that follows stands for "\*".
  bool FGroupJustOpened = false;
};

class TWPRtfReader : public TWPTextReader, private TRtfParseState {
 public:
  using TRtfParseState::kMaxCells;
  static constexpr int kMaxPictureFileName = 255;
  // Groups deeper than this are counted but keep no state of their own.
  static constexpr int kMaxSavedGroups = 4096;

  TWPRtfReader();
  ~TWPRtfReader() override;

  int Read(TStream* stream, TParagraph*& result) override;

 protected:
  void EndReading() override;
  void FinishParagraph(TParagraph& par) override;
  bool MayHandOutParagraphs() const override;

 private:
  void ReadLoop();
  void ReadControlWord();
  void ReadBinary(std::int32_t count);
  void HandleSpecial(TRtfSpecial special, bool hasParameter, std::int32_t n);
  void UnicodeCharacter(std::int32_t n);
  // Bytes of text in the current code page: fallback characters are
  // skipped, other code pages converted, then they go to the destination.
  void CodePageText(const std::uint8_t* bytes, std::size_t n);
  // A first byte of a two-byte character that nothing completed becomes "?".
  void FlushCodePage();
  // Fallback characters end: one still owed becomes "?".
  void EndFallback();
  void SetCodePage(int codePage);
  // A colour number of the incoming colour table as an entry of the
  // header's, or -1 when it names none.
  int MapColor(std::int32_t n) const;
  void HandleWord(const TRtfControlWord& word, bool hasParameter, std::int32_t parameter);
  void HandleProperty(TRtfProperty property, std::int32_t n);
  void HandleCharacterProperty(TRtfProperty property, std::int32_t n);
  void HandleParagraphProperty(TRtfProperty property, std::int32_t n);
  void HandleTableProperty(TRtfProperty property, std::int32_t n);
  void HandleDocumentProperty(TRtfProperty property, std::int32_t n);
  void HandleDestination(std::uint8_t destination);
  void ToDestination(std::uint8_t c);
  void TextByte(std::uint8_t c);
  void RawByte(std::uint8_t c);
  void OpenGroup();
  // False when the outermost group closed (or none was open).
  bool CloseGroup();
  bool InDocumentText() const { return FDestination == rdText; }

  void EndParagraph(bool cell);
  void EndCell();
  void EndRow();
  void ResetParagraph();
  // Writes the reader's paragraph attributes into par; a table cell being
  // ended keeps the right indent its row gives it.
  void ApplyParAttrs(TParagraph* par, bool cell) const;
  void ParAttrsChanged();
  void ApplyBorder(int value);
  TBorderWord& BorderTarget();
  void AddTabStop(std::int32_t position);
  void EndFontEntry();
  void SetColorComponent(int shift, std::int32_t value);
  void StartFootnote();
  void FinishPicture();
  void FinishPictureFile();
  void InsertObjectChar(int id);
  void InsertTaggedObjectChar();

  // The converter for text of the current code page; none for Windows-1252
  // and symbol fonts, whose bytes stay as they are.
  TCodePageConverter* FConverter = nullptr;
  std::vector<std::unique_ptr<TCodePageConverter>> FConverters;
  std::string FConverted;
};
