#pragma once
// The records of a document: one TAttr per character, display lines holding
// characters and attributes, paragraphs holding a chain of lines.
#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

#include "richtext/TextHeader.h"

// TAttr::Style bits.
constexpr std::uint8_t kStyleBold = 0x01;
constexpr std::uint8_t kStyleItalic = 0x02;
constexpr std::uint8_t kStyleUnderline = 0x04;
constexpr std::uint8_t kStyleStrikeOut = 0x08;
constexpr std::uint8_t kStyleHyperlink = 0x10;
constexpr std::uint8_t kStyleSelected = 0x20;  // painting only, never stored
constexpr std::uint8_t kStyleSuperscript = 0x40;
constexpr std::uint8_t kStyleSubscript = 0x80;
// TAttr::Special bits.
constexpr std::uint8_t kSpecialHidden = 0x01;
constexpr std::uint8_t kSpecialProtected = 0x02;
constexpr std::uint8_t kSpecialRtfCode = 0x04;
constexpr std::uint8_t kSpecialFootnote = 0x08;
constexpr std::uint8_t kSpecialInsertPoint = 0x10;
constexpr std::uint8_t kSpecialAutomatic = 0x20;
constexpr std::uint8_t kSpecialObject = 0x40;
constexpr std::uint8_t kSpecialNumbering = 0x80;
// TAttr::Marker bits.
constexpr std::uint8_t kMarkerSplit = 0x02;
constexpr std::uint8_t kMarkerMisspelled = 0x04;

// TParagraph::ParFlags bits.
constexpr std::uint8_t kParPageBreakBefore = 0x01;
constexpr std::uint8_t kParNotFirstCell = 0x02;
constexpr std::uint8_t kParMoreCells = 0x04;
constexpr std::uint8_t kParTableCell = 0x08;
constexpr std::uint8_t kParProtected = 0x10;
constexpr std::uint8_t kParKeepWithNext = 0x20;  // kept from RTF and written back; layout ignores it
constexpr std::uint8_t kParJustifyLastLine = 0x40;
constexpr std::uint8_t kParKeepTogether = 0x80;
// TParagraph::ParState bits, cleared by line layout.
constexpr std::uint8_t kParNeedsWrap = 0x01;
constexpr std::uint8_t kParNeedsMeasure = 0x02;
constexpr std::uint8_t kParNeedsBoth = kParNeedsWrap | kParNeedsMeasure;
// TParagraph::BorderFlags bits.
constexpr std::uint8_t kBorderOn = 0x01;
constexpr std::uint8_t kBorderNotInherited = 0x02;
constexpr std::uint8_t kBorderTop = 0x04;
constexpr std::uint8_t kBorderBottom = 0x08;
constexpr std::uint8_t kBorderLeft = 0x10;
constexpr std::uint8_t kBorderRight = 0x20;
constexpr std::uint8_t kBorderBox = 0x40;
constexpr std::uint8_t kBorderDouble = 0x80;
constexpr std::uint8_t kBorderSides = kBorderTop | kBorderBottom | kBorderLeft | kBorderRight;
// TParagraph::BorderStyle bits.
constexpr std::uint8_t kBorderDotted = 0x01;
constexpr std::uint8_t kBorderHairline = 0x02;
constexpr std::uint8_t kBorderBar = 0x04;
constexpr std::uint8_t kBorderTableLine = 0x40;
// TLine::LineFlags bits.
constexpr std::uint8_t kLineChanged = 0x01;
constexpr std::uint8_t kLinePageBreak = 0x02;
// TLine::SelState values: how much of the line the selection covers.
enum TLineSelState : std::uint8_t {
  lsNotSelected = 0,
  lsSelectedThroughEnd = 2,
  lsPartlySelected = 3,
  lsSelectionBoundary = 4,
};

// TParagraph::Alignment values.
enum TParAlignment : std::uint8_t { paLeft = 0, paRight = 1, paCenter = 2, paJustify = 3 };

// TParagraph::Shading: how much of its pattern colour (low nibble of
// ShadingColors) a shaded paragraph shows over its background colour (high
// nibble), in per cent. From kShadingPatternFrom on the pattern colour fills it.
enum TShadingPercent : std::uint8_t { kShadingNone = 0, kShadingPatternFrom = 51, kShadingFull = 100 };

// A paragraph's four border bytes as one value: the sides and kind
// (BorderFlags), how they are drawn (BorderStyle), the width in points, and
// the spacing in millimetres (high nibble) with the colour table entry (low
// nibble). Reading RTF builds a border up as one of these; painting, layout
// and writing take the spacing and colour from it.
struct TBorderWord {
  std::uint8_t Flags = 0;
  std::uint8_t Style = 0;
  std::uint8_t Width = 0;
  std::uint8_t SpaceColor = 0;

  bool On() const { return (Flags & kBorderOn) != 0; }
  int Spacing() const { return SpaceColor >> 4; }
  int ColorIndex() const { return SpaceColor & 0x0F; }
  void SetSpacing(int millimetres) {
    SpaceColor = static_cast<std::uint8_t>((SpaceColor & 0x0F) | ((millimetres & 0x0F) << 4));
  }
  void SetColorIndex(int index) {
    SpaceColor = static_cast<std::uint8_t>((SpaceColor & 0xF0) | (index & 0x0F));
  }
  bool operator==(const TBorderWord&) const = default;
};

constexpr int kMaxLineCapacity = 10000;
// Lengths read from files are kept below about 5800 inches, so that sums,
// snapping and pixel conversions of absurd input cannot overflow.
constexpr std::int32_t kMaxTwips = 0x7FFFFF;
constexpr int kCellFillLimit = 240;

// Per-character attribute record. Width, Height and Ascent are layout
// results; the rest is the character's formatting.
struct TAttr {
  std::int16_t Width;
  std::int16_t Height;
  std::int16_t Ascent;
  std::uint8_t FontIndex;
  std::uint8_t Colors;  // low nibble text colour, high nibble background (0 = none)
  std::uint8_t Style;
  std::uint8_t Special;
  std::uint8_t Marker;
  std::uint8_t Reserved1;
  std::uint8_t Size;  // whole points, 0 means 10
  std::uint8_t Reserved2;
  std::uint16_t Tag;

  // Style, Special, marker and reserved byte as one word (Style lowest).
  std::uint32_t AttrWord() const {
    return Style | (std::uint32_t{Special} << 8) | (std::uint32_t{Marker} << 16) |
           (std::uint32_t{Reserved1} << 24);
  }
  // Same formatting run: Tag and the layout results are not compared.
  bool SameRun(const TAttr& other) const {
    return FontIndex == other.FontIndex && Colors == other.Colors && Size == other.Size &&
           AttrWord() == other.AttrWord();
  }
  int TextColor() const { return Colors & 0x0F; }
  int BackgroundColor() const { return Colors >> 4; }
};
static_assert(sizeof(TAttr) == 16, "TAttr is a 16-byte record");
static_assert(std::is_trivially_copyable_v<TAttr> && std::is_standard_layout_v<TAttr>);

// One display line. Text holds Length characters followed by a 0 byte;
// Attrs (RTF mode only) has Capacity records.
struct TLine {
  std::uint16_t Height = 0;
  std::uint16_t Ascent = 0;
  std::int32_t Top = 0;                   // layout
  std::uint8_t SelState = lsNotSelected;  // layout, TLineSelState
  std::uint8_t LayoutByte = 0;            // layout
  std::uint8_t LineFlags = 0;
  std::unique_ptr<char[]> Text;
  std::unique_ptr<TAttr[]> Attrs;
  std::uint16_t Capacity = 0;
  std::uint16_t Length = 0;
  std::uint16_t LineWidth = 0;   // layout
  std::uint16_t SpaceWidth = 0;  // layout
  std::uint16_t SpaceExtra = 0;  // layout
  TLine* Next = nullptr;
  TLine* Prev = nullptr;

  unsigned char CharAt(int index) const { return static_cast<unsigned char>(Text[index]); }
  std::string String() const { return std::string(Text.get(), Length); }
};

// A paragraph owns its chain of lines; it always has at least one.
struct TParagraph {
  std::int32_t FirstIndent = 0;
  std::int32_t LeftIndent = 0;
  std::int32_t RightIndent = 0;
  std::int32_t SpaceBefore = 0;
  std::int32_t SpaceAfter = 0;
  std::int32_t LineSpacing = 0;
  std::uint8_t Alignment = paLeft;  // TParAlignment
  std::uint8_t ParFlags = 0;
  std::uint8_t ParState = 0;
  std::uint8_t BorderFlags = 0;
  std::uint8_t BorderStyle = 0;
  std::uint8_t BorderWidth = 0;       // points
  std::uint8_t BorderSpaceColor = 0;  // high nibble spacing, low nibble colour
  std::uint8_t Numbering = 0;         // high nibble kind, low 3 bits level
  std::uint8_t NumberingReserved = 0;
  std::uint8_t ShadingColors = 0;
  std::uint8_t Shading = 0;
  std::uint8_t Reserved1 = 0;
  TLine* FirstLine = nullptr;
  TParagraph* Next = nullptr;
  TParagraph* Prev = nullptr;
  TTabSet TabSet = 0;
  std::uint8_t CellStart = 0;  // 1/255 of the text width
  std::uint8_t CellWidth = 0;
  std::uint8_t CellFill = 0;
  std::uint8_t Reserved2 = 0;

  TParagraph() = default;
  ~TParagraph();  // frees the lines
  TParagraph(const TParagraph&) = delete;
  TParagraph& operator=(const TParagraph&) = delete;

  bool IsTableCell() const { return (ParFlags & kParTableCell) != 0; }
  TBorderWord Border() const { return {BorderFlags, BorderStyle, BorderWidth, BorderSpaceColor}; }
  void SetBorder(const TBorderWord& border) {
    BorderFlags = border.Flags;
    BorderStyle = border.Style;
    BorderWidth = border.Width;
    BorderSpaceColor = border.SpaceColor;
  }
  // Right-aligned and centred lines are placed by their content's width; a
  // tab in them is as wide as a space.
  bool RightOrCentred() const { return Alignment == paRight || Alignment == paCenter; }
  // The colour table entry that fills a shaded paragraph.
  int ShadingColorIndex() const {
    return Shading < kShadingPatternFrom ? ShadingColors >> 4 : ShadingColors & 0x0F;
  }
  int NumberingKind() const { return Numbering >> 4; }
  int NumberingLevel() const { return Numbering & 0x07; }
  // Characters in all lines, and the lines' heights summed.
  int TextLength() const;
  int Height() const;
  std::string Text() const;
  // Copies every paragraph attribute (not links, lines or state).
  void CopyAttributes(const TParagraph& source);
};

// Frees a paragraph chain (following Next) that no document owns.
void FreeParagraphChain(TParagraph* first);
