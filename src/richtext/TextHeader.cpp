#include "richtext/TextHeader.h"

#include <algorithm>
#include <limits>

#include "richtext/EngineContext.h"
#include "richtext/MulDiv.h"
#include "richtext/TextCase.h"

namespace {
constexpr int kTwipsPerInch = 1440;
constexpr int kFreeTabKey = 0xFFFFFF;

// Page values come from files and may be extreme: work in 64 bits and clamp.
int ClampToInt(long long value) {
  return static_cast<int>(
      std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int TruncatingScale(long long value, int numerator, int denominator) {
  if (denominator == 0) return 0;
  return ClampToInt(value * numerator / denominator);
}
}  // namespace

TTextHeader::TTextHeader() { Init(); }

TTextHeader::~TTextHeader() { ClearTabs(); }

void TTextHeader::Init() {
  for (int i = 1; i < kFontSlots; ++i) {
    FontNames[i].clear();
    FontFamilyPitch[i] = 0;
    FontCharset[i] = 0;
  }
  for (int i = 0; i < kTabSlots; ++i) TabOrder[i] = i;
  PageWidth = 12240;
  PageHeight = 15840;
  PageSetting = 1;
  LeftMargin = 1880;
  RightMargin = 1880;
  TopMargin = 1440;
  BottomMargin = 1440;
  FacingPages = false;
  Landscape = false;
  PageOptions = 0;
  std::copy(std::begin(kDefaultColors), std::end(kDefaultColors), Colors.begin());
  RulerStepPixels = MulDiv(XPixelsPerInch, 100, InchUnits ? 300 : 254);
  XTwipsPerPixel = XPixelsPerInch > 0 ? kTwipsPerInch / XPixelsPerInch : 0;
  YTwipsPerPixel = YPixelsPerInch > 0 ? kTwipsPerInch / YPixelsPerInch : 0;
  RecomputeTextArea();
  SetTextWidthTwips(PageWidth - LeftMargin - RightMargin);
  DefaultTabKind = tkLeft;
  DecimalTabChar = WPEngine().DecimalTabChar;
  ScratchPtr = ScratchBuffer;
  ScratchLength = 0;
  TabScratch = 0;
}

void TTextHeader::Assign(const TTextHeader* source) {
  Init();
  if (source == nullptr) return;
  for (int i = 0; i < kFontSlots; ++i) {
    if (source->FontNames[i].empty()) continue;
    FontNames[i] = source->FontNames[i];
    FontFamilyPitch[i] = source->FontFamilyPitch[i];
    FontCharset[i] = source->FontCharset[i];
  }
  Colors = source->Colors;
  TabPositions = source->TabPositions;
  TabPixelPositions = source->TabPixelPositions;
  TabKinds = source->TabKinds;
  TabOrder = source->TabOrder;
  PageWidth = source->PageWidth;
  PageHeight = source->PageHeight;
  PageSetting = source->PageSetting;
  LeftMargin = source->LeftMargin;
  RightMargin = source->RightMargin;
  TopMargin = source->TopMargin;
  BottomMargin = source->BottomMargin;
  FacingPages = source->FacingPages;
  Landscape = source->Landscape;
  PageOptions = source->PageOptions;
}

int TTextHeader::FindOrAddFont(const std::string& name) {
  const std::string wanted = name.substr(0, kMaxFontNameLength);
  int i = 0;
  while (i < kFontSlots && !FontNames[i].empty()) {
    if (SameTextIgnoringCase(FontNames[i], wanted)) return i;
    ++i;
  }
  if (i < kFontSlots) FontNames[i] = wanted;
  return i;
}

int TTextHeader::Snap(int position) const {
  if (XPixelsPerInch <= 0) return position;
  const int grid = InchUnits ? 144 : 141;
  const long long p = static_cast<long long>(position) + grid / 2 + 1;
  // The remainder is taken toward minus infinity, so a negative position
  // (an indent reaching left of the margin) snaps to its nearest grid point
  // as a positive one does, and stays there when snapped again.
  const long long below = ((p % grid) + grid) % grid;
  return ClampToInt(p - below);
}

int TTextHeader::FindTabIn(int& position, TTabKind kind, TTabSet tabs) const {
  auto scan = [&](int pos) {
    for (int i = 0; i < kTabSlots; ++i) {
      if (TabPositions[i] == 0 || TabPositions[i] != pos) continue;
      if (kind != tkAll && TabKinds[i] != kind) continue;
      if ((tabs >> i & 1u) == 0) continue;
      return i;
    }
    return -1;
  };
  int slot = scan(position);
  if (slot >= 0) return slot;
  position = Snap(position);
  return scan(position);
}

int TTextHeader::FindTab(int& position, TTabKind kind) const {
  return FindTabIn(position, kind, ~TTabSet{0});
}

int TTextHeader::FindTabInSet(int& position, TTabKind kind, TTabSet tabs) const {
  return FindTabIn(position, kind, tabs);
}

int TTextHeader::FirstFreeTabSlot() const {
  for (int i = 0; i < kTabSlots; ++i)
    if (TabPositions[i] == 0) return i;
  return -1;
}

TTabSet TTextHeader::InsertTab(int position, TTabKind kind) {
  TabScratch = 0;
  if (position <= 0) return TabScratch;
  int slot = FindTab(position, kind);
  if (slot >= 0) {
    TabScratch = TTabSet{1} << slot;
    return TabScratch;
  }
  slot = FirstFreeTabSlot();
  if (slot < 0 && OnTabCleanup) {
    OnTabCleanup();
    slot = FirstFreeTabSlot();
  }
  // A snapped position of 0 would read as a free slot; such a tab is not stored.
  if (slot < 0 || position <= 0) return TabScratch;
  TabPositions[slot] = position;
  TabPixelPositions[slot] = MulDiv(position, XPixelsPerInch, kTwipsPerInch);
  TabKinds[slot] = kind == tkAll ? DefaultTabKind : kind;
  TabScratch = TTabSet{1} << slot;
  SortTabs();
  return TabScratch;
}

void TTextHeader::SortTabs() {
  for (int i = 0; i < kTabSlots; ++i) TabOrder[i] = i;
  auto key = [this](int slot) { return TabPositions[slot] == 0 ? kFreeTabKey : TabPositions[slot]; };
  bool swapped = true;
  while (swapped) {
    swapped = false;
    for (int i = 0; i + 1 < kTabSlots; ++i) {
      if (key(TabOrder[i]) > key(TabOrder[i + 1])) {
        std::swap(TabOrder[i], TabOrder[i + 1]);
        swapped = true;
      }
    }
  }
}

void TTextHeader::ClearTabs() {
  TabPositions.fill(0);
  TabPixelPositions.fill(0);
  TabKinds.fill(tkLeft);
  for (int i = 0; i < kTabSlots; ++i) TabOrder[i] = i;
}

void TTextHeader::SetTextWidthPixels(int pixels) {
  TextWidthPixels = pixels;
  if (XPixelsPerInch > 0) TextWidthTwips = TruncatingScale(pixels, kTwipsPerInch, XPixelsPerInch);
  RecomputeTextArea();
}

void TTextHeader::SetTextWidthTwips(int twips) {
  TextWidthTwips = twips;
  TextWidthPixels = TruncatingScale(twips, XPixelsPerInch, kTwipsPerInch);
}

void TTextHeader::RecomputeTextArea() {
  TextAreaWidthPixels =
      TruncatingScale(0LL + PageWidth - LeftMargin - RightMargin, XPixelsPerInch, kTwipsPerInch);
  TextAreaHeightPixels =
      TruncatingScale(0LL + PageHeight - TopMargin - BottomMargin, YPixelsPerInch, kTwipsPerInch);
}

void TTextHeader::RecomputePixelValues() {
  for (int i = 0; i < kTabSlots; ++i)
    TabPixelPositions[i] = MulDiv(TabPositions[i], XPixelsPerInch, kTwipsPerInch);
  XTwipsPerPixel = XPixelsPerInch > 0 ? kTwipsPerInch / XPixelsPerInch : 0;
  YTwipsPerPixel = YPixelsPerInch > 0 ? kTwipsPerInch / YPixelsPerInch : 0;
  RecomputeTextArea();
}

int TTextHeader::TwipsToPixelsX(int twips) const { return MulDiv(twips, XPixelsPerInch, kTwipsPerInch); }
int TTextHeader::TwipsToPixelsY(int twips) const { return MulDiv(twips, YPixelsPerInch, kTwipsPerInch); }
