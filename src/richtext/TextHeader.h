#pragma once
// The document header: font, colour and tab tables that characters and
// paragraphs index into, the page block, the wrap width and the device
// resolution. Every document owns exactly one.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "richtext/CharacterAttr.h"

enum TTabKind : std::uint8_t { tkLeft = 0, tkRight = 1, tkCenter = 2, tkDecimal = 3, tkAll = 4 };

// A set of tab slots, bit i = slot i of the header's tab table.
using TTabSet = std::uint64_t;

class TTextHeader {
 public:
  static constexpr int kFontSlots = 99;
  static constexpr int kMaxFontNameLength = 31;
  static constexpr int kColorCount = 16;
  static constexpr int kTabSlots = 64;
  static constexpr TColor kDefaultColors[kColorCount] = {
      0x000000, 0x0000FF, 0x008000, 0xFF0000, 0x00FFFF, 0xFF00FF, 0x800080, 0x000080,
      0x00FF00, 0xFFFF00, 0x808000, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x000000};

  TTextHeader();
  ~TTextHeader();
  TTextHeader(const TTextHeader&) = delete;
  TTextHeader& operator=(const TTextHeader&) = delete;

  // Repeats the creation defaults: font slots 1..98 empty, default colours,
  // page block, text width, tab order identity. Tab positions, information
  // strings and the resolution are kept.
  void Init();
  // Re-initialises, then copies fonts, colours, tabs and the page block from
  // source; with no source only re-initialises.
  void Assign(const TTextHeader* source);

  // Slot of name (case-insensitive), added in the first free slot when new.
  // 99 when the table is full and the name is not in it.
  int FindOrAddFont(const std::string& name);
  // Position rounded to the snap grid (144 twips in inches, 141 in centimetres).
  int Snap(int position) const;

  // Slot holding a tab at position with kind (tkAll matches any), trying the
  // snapped position when the exact one fails; position becomes the snapped
  // value then. -1 when neither matches.
  int FindTab(int& position, TTabKind kind) const;
  // As FindTab, but only slots in tabs can match.
  int FindTabInSet(int& position, TTabKind kind, TTabSet tabs) const;
  // Set with the one slot that holds the tab now; empty when position <= 0 or
  // the table is full even after the cleanup handler ran.
  TTabSet InsertTab(int position, TTabKind kind);
  void SortTabs();
  void ClearTabs();

  void SetTextWidthPixels(int pixels);
  void SetTextWidthTwips(int twips);
  // After a resolution change: tab pixel positions and text area sizes.
  void RecomputePixelValues();
  void RecomputeTextArea();

  int TwipsToPixelsX(int twips) const;
  int TwipsToPixelsY(int twips) const;
  bool FontSlotEmpty(int slot) const { return FontNames[slot].empty(); }
  bool TabSlotFree(int slot) const { return TabPositions[slot] == 0; }

  int TextWidthPixels = 0;
  int TextWidthTwips = 0;
  std::array<TColor, kColorCount> Colors{};
  // The resolution of the canvas that lays the document out. A document no
  // canvas lays out has none (0): it converts nothing to pixels and snaps
  // nothing, so it keeps the twips it reads.
  int XPixelsPerInch = 0;
  int XTwipsPerPixel = 0;  // 1440 / horizontal resolution, kept for layout
  int YPixelsPerInch = 0;
  int YTwipsPerPixel = 0;
  // Called when the tab table is full; the document frees unused slots.
  std::function<void()> OnTabCleanup;
  bool RtfMode = false;
  std::array<std::string, kFontSlots> FontNames;
  std::array<int, kFontSlots> FontFamilyPitch{};
  std::array<int, kFontSlots> FontCharset{};
  std::array<int, kTabSlots> TabPositions{};       // twips; 0 = free slot
  std::array<int, kTabSlots> TabPixelPositions{};  // at the horizontal resolution
  std::array<TTabKind, kTabSlots> TabKinds{};
  std::array<int, kTabSlots> TabOrder{};  // slots by ascending position, free last
  TTabSet TabScratch = 0;
  char DecimalTabChar = '.';
  int PageWidth = 12240;
  int PageHeight = 15840;
  int PageSetting = 1;
  int LeftMargin = 1880;
  int RightMargin = 1880;
  int TopMargin = 1440;
  int BottomMargin = 1440;
  bool FacingPages = false;
  bool Landscape = false;
  int PageOptions = 0;
  std::string Title;
  std::string Subject;
  std::string Comment;
  bool InchUnits = true;
  int TextAreaWidthPixels = 0;
  int TextAreaHeightPixels = 0;
  int RulerStepPixels = 0;
  char ScratchBuffer[20] = {};
  char* ScratchPtr = ScratchBuffer;
  int ScratchLength = 0;
  std::uint8_t LastLoadFormat = 0;
  TTabKind DefaultTabKind = tkLeft;

 private:
  int FindTabIn(int& position, TTabKind kind, TTabSet tabs) const;
  int FirstFreeTabSlot() const;
};
