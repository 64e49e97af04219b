// Line layout: measuring, wrapping, line heights and vertical positions.
#include "richtext/gui/RtfTextPaint.h"

#include <QCursor>
#include <QGuiApplication>
#include <algorithm>
#include <cstring>

#include "richtext/MulDiv.h"
#include "richtext/Progress.h"
#include "richtext/TextCase.h"

const char* const kPaintSystemError = "Tabwright RTF-\tSystem Error";

namespace {

constexpr int kMaxWordLength = 100;
// Characters that take no room (hidden text) could otherwise gather in one
// line beyond what a line can hold.
constexpr int kMaxWrappedLine = kMaxLineCapacity - 10;

bool IsObjectChar(unsigned char code, const TAttr& attr) {
  return (code == 1 || code == 2) && (attr.Special & kSpecialObject) != 0;
}

// The text that a right, decimal or centre tab aligns ends at the next tab
// or at the end of the line's text (a line feed ends the line).
bool EndsTabText(char c) { return c == '\t' || c == 0 || c == 10; }

}  // namespace

// A paragraph's characters in one array while it is wrapped.
struct TWPRTFTextPaint::TFlatPar {
  std::vector<char> Text;
  std::vector<TAttr> Attrs;
  TAttr EndAttr{};  // the record after the last character
};

TWPRTFTextPaint::TWPRTFTextPaint() {
  FCanvas = &FDefaultCanvas;
  // A document that is laid out has the resolution of its canvas, and with
  // it the snapping of indents and tabs read into it.
  ReadResolution();
}

TWPRTFTextPaint::~TWPRTFTextPaint() = default;

// ---------------------------------------------------------------------------
// Canvas, resolution and switches

void TWPRTFTextPaint::SetCanvas(TWPCanvas* canvas) {
  FCanvas = canvas ? canvas : &FDefaultCanvas;
  if (Has(wppo::LayoutLocked)) return;
  TakeCanvasResolution();
  Changed();
}

void TWPRTFTextPaint::TakeCanvasResolution() {
  FTechnology = FCanvas->Technology();
  ReadResolution();
  FCanvas->SetFont("Arial", 10, Header.YPixelsPerInch, 0);
  FDefaultCellLineHeight = FCanvas->Font().Ascent + FCanvas->Font().Descent;  // the extent of "A"
  if (FDefaultCellLineHeight < 0) FDefaultCellLineHeight = 16;
}

TWPCanvas* TWPRTFTextPaint::ExchangeCanvas(TWPCanvas* canvas) {
  TWPCanvas* old = FCanvas;
  FCanvas = canvas ? canvas : &FDefaultCanvas;
  return old;
}

bool TWPRTFTextPaint::ReadResolution() {
  int x = FCanvas->PixelsPerInchX();
  int y = FCanvas->PixelsPerInchY();
  if (!Has(wppo::NoZoom)) {
    x = MulDiv(x, FZooming, 100);
    y = MulDiv(y, FZooming, 100);
  }
  return SetResolution(x, y);
}

bool TWPRTFTextPaint::SetResolution(int x, int y) {
  if (x <= 0) x = 1;
  if (y <= 0) y = 1;
  if (x == Header.XPixelsPerInch && y == Header.YPixelsPerInch) return false;
  Header.XPixelsPerInch = x;
  Header.YPixelsPerInch = y;
  Header.RecomputePixelValues();
  if (Header.XPixelsPerInch == 0) Header.XPixelsPerInch = 96;
  Header.XTwipsPerPixel = 1440 / Header.XPixelsPerInch;
  Header.YTwipsPerPixel = 1440 / Header.YPixelsPerInch;
  FLayoutStale = true;
  return true;
}

void TWPRTFTextPaint::Relayout() {
  // A hidden control lays out when it paints or is asked for sizes; a
  // foreign-canvas pass always lays out at once.
  if (PaintingAllowed || Has(wppo::ForeignCanvas))
    ReformatAll();
  else
    FLayoutStale = true;
}

void TWPRTFTextPaint::SetZooming(int percent) {
  if (percent <= 0 || percent == FZooming) return;
  FZooming = percent;
  if (!Has(wppo::LayoutLocked)) ReadResolution();
  Relayout();
  Repaint();
}

void TWPRTFTextPaint::SetResizing(int percent) {
  if (percent <= 0 || percent == FResizing) return;
  FResizing = percent;
  Relayout();
  Repaint();
}

void TWPRTFTextPaint::SetWordWrap(bool on) {
  if (on == FWordWrap) return;
  FWordWrap = on;
  Relayout();
}

void TWPRTFTextPaint::SetWrapWidth(int pixels) {
  if (pixels == FWrapWidth) return;
  FWrapWidth = pixels;
  if (FWordWrap) Relayout();
}

void TWPRTFTextPaint::SetPaintOptions(std::uint32_t options) {
  const std::uint32_t old = FPaintOptions;
  FPaintOptions = options;
  if ((old & wppo::LayoutLocked) && !(options & wppo::LayoutLocked)) {
    // Unlocking: the canvas may have changed while the layout was frozen.
    TakeCanvasResolution();
    Relayout();
  } else if (((old ^ options) & wppo::NoZoom) && FZooming != 100 && !(options & wppo::LayoutLocked)) {
    ReadResolution();
    Relayout();
  }
  if (!(options & (wppo::LayoutLocked | wppo::ForeignCanvas))) Repaint();
}

void TWPRTFTextPaint::CarryOutPendingReformat() {
  if (!ReformatPending) return;
  ReformatPending = false;
  ReformatRequestedWhilePending = false;
  ReformatAll();
}

int TWPRTFTextPaint::DefaultTabInterval() const {
  return std::max(1, MulDiv(Header.XPixelsPerInch, 100, 300));
}

int TWPRTFTextPaint::MulDivX(int twips) const { return MulDiv(twips, Header.XPixelsPerInch, 1440); }
int TWPRTFTextPaint::MulDivY(int twips) const { return MulDiv(twips, Header.YPixelsPerInch, 1440); }

// The wrap width, or the page's text width when wrapping is off.
void TWPRTFTextPaint::ApplyTextWidth() {
  Header.RecomputeTextArea();
  if (FWordWrap && !Has(wppo::WrapAtPageWidth)) {
    Header.SetTextWidthPixels(FWrapWidth);
  } else {
    Header.SetTextWidthTwips(Header.PageWidth - Header.LeftMargin - Header.RightMargin);
  }
  if (HorzOffset != 0 && Header.TextWidthPixels <= FWrapWidth) HorzOffset = 0;
}

// ---------------------------------------------------------------------------
// Fonts

const TCharacterAttr* TWPRTFTextPaint::DisplaySet(const TAttr& attr) const {
  if (attr.Special & kSpecialInsertPoint) return &InsertPointAttr;
  if (attr.Style & kStyleHyperlink) return &HyperlinkTextAttr;
  if (attr.Special & kSpecialAutomatic) return &AutomaticTextAttr;
  if (attr.Special & kSpecialProtected) return &ProtectedTextAttr;
  return nullptr;
}

void TWPRTFTextPaint::SelectFont(const TAttr* attr) {
  const TAttr& a = attr ? *attr : CurrentAttr;
  const TCharacterAttr* set = DisplaySet(a);
  if (!(a.Style & kStyleSelected)) {
    TColor text = Header.Colors[a.TextColor()];
    if (set && set->UseTextColor()) text = set->TextColor();
    TColor brush = a.BackgroundColor() != 0 ? Header.Colors[a.BackgroundColor()]
                                            : (Has(wppo::WhiteBackground) ? 0xFFFFFF : BackgroundColor);
    if (set && set->UseBackgroundColor()) brush = set->BackgroundColor();
    FCanvas->FontColor = ColorFromRgb(text);
    FCanvas->BrushColor = ColorFromRgb(brush);
  }
  if (a.FontIndex > TTextHeader::kFontSlots) throw EModelError(kPaintSystemError);
  std::string name = FCanvas->FontName();
  if (a.FontIndex < TTextHeader::kFontSlots && !Header.FontSlotEmpty(a.FontIndex) &&
      !SameTextIgnoringCase(Header.FontNames[a.FontIndex], name))
    name = Header.FontNames[a.FontIndex];

  std::uint8_t style = a.Style & (kFontBold | kFontItalic | kFontStrikeOut);
  bool underline = (a.Style & kStyleUnderline) != 0;
  bool superscript = (a.Style & kStyleSuperscript) || (a.Special & kSpecialFootnote);
  bool subscript = (a.Style & kStyleSubscript) != 0;
  FSelWavy = (a.Marker & kMarkerMisspelled) != 0;
  FSelPenColor = FSelWavy ? QColor(255, 0, 0) : FCanvas->FontColor;
  if (set) {
    auto apply = [](TThreeState state, bool& value) {
      if (state == tsTRUE) value = true;
      if (state == tsFALSE) value = false;
    };
    auto applyBit = [&style](TThreeState state, std::uint8_t bit) {
      if (state == tsTRUE) style |= bit;
      if (state == tsFALSE) style &= static_cast<std::uint8_t>(~bit);
    };
    applyBit(set->Bold(), kFontBold);
    applyBit(set->Italic(), kFontItalic);
    applyBit(set->StrikeOut(), kFontStrikeOut);
    apply(set->Underline(), underline);
    apply(set->SuperScript(), superscript);
    apply(set->SubScript(), subscript);
    if (set->UseUnderlineColor()) FSelPenColor = ColorFromRgb(set->UnderlineColor());
  }
  if (superscript) subscript = false;
  FSelUnderline = underline;
  FSelSuperscript = superscript;
  FSelSubscript = subscript;

  int size = a.Size == 0 ? 10 : a.Size;
  if ((superscript || subscript) && size > 1) size = MulDiv(size, 2, 3);
  if (FResizing != 100) size = MulDiv(size, FResizing, 100);
  FCanvas->SetFont(name, size, Header.YPixelsPerInch, style);
}

void TWPRTFTextPaint::MeasureFont(const TAttr* attr) {
  SelectFont(attr);
  const TWPFontEntry& font = FCanvas->Font();
  std::memcpy(FWidths, font.Widths.data(), sizeof(FWidths));
  FFontHeight = font.Height;
  FFontAscent = font.Ascent;
  if (FFontHeight <= 0 && FTechnology == kTechMetafile) {
    FFontHeight = FWidths['A'];
    FFontAscent = FFontHeight * 2 / 5;
  }
}

// ---------------------------------------------------------------------------
// Measuring

bool TWPRTFTextPaint::IsInvisible(const TAttr& a) const {
  if ((a.Special & kSpecialInsertPoint) && (HideInsertPoints || InsertPointAttr.Hidden())) return true;
  if ((a.Special & kSpecialAutomatic) && (HideAutomaticText || AutomaticTextAttr.Hidden())) return true;
  if ((a.Style & kStyleHyperlink) && HyperlinkTextAttr.Hidden()) return true;
  if ((a.Special & kSpecialProtected) && ProtectedTextAttr.Hidden()) return true;
  if ((a.Special & kSpecialHidden) && !Has(wppo::ShowHidden)) return true;
  return false;
}

void TWPRTFTextPaint::MeasureChar(TLine* line, int index, const TAttr& attr) {
  if (!line->Attrs) {
    TWPRTFText::MeasureChar(line, index, attr);
    return;
  }
  line->Attrs[index] = attr;
  MeasureFont(&attr);
  MeasureInCurrentFont(line, index);
}

// Width, height and ascent of one character from the font measured last.
void TWPRTFTextPaint::MeasureInCurrentFont(TLine* line, int index) {
  TAttr& a = line->Attrs[index];
  if (IsInvisible(a)) {
    a.Width = a.Height = a.Ascent = 0;
    return;
  }
  const unsigned char code = line->CharAt(index);
  if (IsObjectChar(code, a)) {
    const TTextObject* object = code == 2 ? FindObjectBySecondaryId(a.Tag) : FindObject(a.Tag);
    if (!object) {
      a.Width = 0;
      a.Height = static_cast<std::int16_t>(FFontHeight);
      a.Ascent = static_cast<std::int16_t>(FFontAscent);
      return;
    }
    const int width = std::clamp(MulDivX(object->Width), 0, kMaxObjectPixels);
    int height = std::clamp(MulDivY(object->Height), 0, kMaxObjectPixels);
    int ascent;
    // The high nibble of the kind flag holds the vertical placement: 1 top,
    // 2 on the font ascent, 3 centred; 0 stands the object on the baseline.
    switch (object->KindFlag >> 4) {
      case 1:
        ascent = height - 2;
        break;
      case 2:
        ascent = FFontAscent;
        break;
      case 3:
        ascent = height / 2;
        break;
      default:
        ascent = height;
        height = FFontHeight + height - FFontAscent;  // stands on the baseline
    }
    a.Width = static_cast<std::int16_t>(width);
    a.Height = static_cast<std::int16_t>(height);
    a.Ascent = static_cast<std::int16_t>(ascent);
    return;
  }
  a.Width = static_cast<std::int16_t>(std::max<int>(FWidths[code], 1));
  a.Height = static_cast<std::int16_t>(std::max(FFontHeight, 1));
  a.Ascent = static_cast<std::int16_t>(std::max(FFontAscent, 1));
}

void TWPRTFTextPaint::MeasureLine(TParagraph*, TLine* line) {
  line->Height = 0;
  line->Ascent = 0;
  if (!line->Attrs) {
    MeasureFont(nullptr);
    line->Height = static_cast<std::uint16_t>(FFontHeight);
    line->Ascent = static_cast<std::uint16_t>(FFontAscent);
    return;
  }
  TAttr* attrs = line->Attrs.get();
  int i = 0;
  while (i < line->Length) {
    TAttr runAttr = attrs[i];
    MeasureFont(&runAttr);
    int j = i;
    // One font selection for the whole run.
    for (; j < line->Length && attrs[j].SameRun(runAttr); ++j) MeasureInCurrentFont(line, j);
    i = j;
  }
  if (line->Length == 0) MeasureFont(&attrs[0]);
  int height = 0, ascent = 0;
  for (int k = 0; k < line->Length; ++k) {
    height = std::max<int>(height, attrs[k].Height);
    ascent = std::max<int>(ascent, attrs[k].Ascent);
  }
  if (line->Length == 0) {
    height = FFontHeight;
    ascent = FFontAscent;
  }
  // The slot after the last character keeps the font's own metrics: an
  // empty line or a line of spaces falls back on them.
  attrs[line->Length].Height = static_cast<std::int16_t>(FFontHeight);
  attrs[line->Length].Ascent = static_cast<std::int16_t>(FFontAscent);
  line->Height = static_cast<std::uint16_t>(height);
  line->Ascent = static_cast<std::uint16_t>(ascent);
}

void TWPRTFTextPaint::MeasureParagraph(TParagraph* par, bool single) {
  if (Has(wppo::LayoutLocked) || FMeasuring || !par) return;
  FMeasuring = true;
  try {
    for (TLine* line = par->FirstLine; line; line = line->Next) MeasureLine(par, line);
    TLine* only = par->FirstLine;
    if (only && !only->Next && only->Length == 0 && par->Prev && only->Attrs) {
      // An empty paragraph keeps the height of the text before it. An empty
      // line before it passes on its slot's font metrics, not its final
      // height: that holds the paragraph spacing, and a run of empty
      // paragraphs with spacing would grow one after the other.
      TLine* last = LastLine(par->Prev);
      if (last->Attrs) {
        only->Height = static_cast<std::uint16_t>(std::max<int>(last->Attrs[last->Length].Height, 0));
        only->Ascent = static_cast<std::uint16_t>(std::max<int>(last->Attrs[last->Length].Ascent, 0));
      } else {
        only->Height = last->Height;
        only->Ascent = last->Ascent;
      }
      only->Attrs[0].Height = static_cast<std::int16_t>(only->Height);
      only->Attrs[0].Ascent = static_cast<std::int16_t>(only->Ascent);
    }
    for (TLine* line = par->FirstLine; line; line = line->Next) RecomputeLineHeight(par, line);
  } catch (...) {
    FMeasuring = false;
    throw;
  }
  par->ParState = static_cast<std::uint8_t>((par->ParState & ~kParNeedsMeasure) | kParNeedsWrap);
  FMeasuring = false;
  if (single && par->Next && !par->Next->FirstLine->Next && par->Next->FirstLine->Length == 0)
    MeasureParagraph(par->Next, false);
}

// ---------------------------------------------------------------------------
// Line heights, edges, tabs

int TWPRTFTextPaint::LineHeightRule(TParagraph* par, TLine* line, int fallbackHeight,
                                    int fallbackAscent) const {
  int height = 0, ascent = 0;
  if (line->Attrs) {
    for (int i = 0; i < line->Length; ++i) {
      const TAttr& a = line->Attrs[i];
      if (line->Text[i] == ' ' || ((a.Special & kSpecialHidden) && !Has(wppo::ShowHidden))) continue;
      if (a.Height > height) {
        height = a.Height;
        ascent = a.Ascent;
      }
    }
    if (line->Length == 0 && par->IsTableCell()) height = ascent = FDefaultCellLineHeight;
  }
  if (height < 1) {
    height = fallbackHeight;
    ascent = fallbackAscent;
  }
  const int spacing = MulDivY(par->LineSpacing);
  if (spacing > 0 && height < spacing) {
    ascent += (spacing - height) / 2;
    height = spacing;
  } else if (spacing < 0) {
    ascent -= (height + spacing) / 2;
    height = -spacing;
    height = std::max(height, 0);
    ascent = std::max(ascent, 0);
  }
  if (line == par->FirstLine) {
    const int before = MulDivY(par->SpaceBefore);
    height = std::max(height + before, 0);
    ascent = std::max(ascent + before, 0);
  }
  if (!line->Next) height = std::max(height + MulDivY(par->SpaceAfter), 0);
  // Line heights and ascents are 16-bit: absurd spacing is held at the limit
  // instead of wrapping round to a small height.
  line->Ascent = static_cast<std::uint16_t>(std::min(ascent, 0xFFFF));
  return std::min(height, 0xFFFF);
}

bool TWPRTFTextPaint::RecomputeLineHeight(TParagraph* par, TLine* line) {
  int fallbackHeight = DefaultLineHeight, fallbackAscent = DefaultAscent;
  if (line->Attrs) {
    fallbackHeight = line->Attrs[line->Length].Height;
    fallbackAscent = line->Attrs[line->Length].Ascent;
  } else if (IsPlainMode()) {
    fallbackHeight = FFontHeight;
    fallbackAscent = FFontAscent;
  }
  const int old = line->Height;
  const int height = LineHeightRule(par, line, fallbackHeight, fallbackAscent);
  line->Height = static_cast<std::uint16_t>(height);
  return height != old;
}

int TWPRTFTextPaint::CellLeftPixels(TParagraph* par) const {
  const int w = Header.TextWidthTwips;
  return MulDivX(par->LeftIndent + (w - par->RightIndent - par->LeftIndent) * par->CellStart / 255);
}

int TWPRTFTextPaint::LeftEdge(TParagraph* par, TLine* line) const {
  return LeftEdgeOf(par, line == par->FirstLine);
}

int TWPRTFTextPaint::LeftEdgeOf(TParagraph* par, bool firstLine) const {
  int left;
  if (par->IsTableCell())
    left = CellLeftPixels(par);
  else
    left = MulDivX(firstLine ? par->FirstIndent : par->LeftIndent);
  const int spacing = par->BorderSpaceColor >> 4;
  if ((par->BorderFlags & kBorderOn) && spacing >= 1)
    left += MulDivX(spacing * 567 / 10) + ((par->ParFlags & kParNotFirstCell) ? 0 : 1);
  return left;
}

int TWPRTFTextPaint::RightIndent(TParagraph* par) const {
  if (par->IsTableCell()) {
    const int w = Header.TextWidthTwips;
    const int span = w - par->RightIndent - par->LeftIndent;
    return MulDivX(w - (par->LeftIndent + (par->CellStart + par->CellWidth) * span / 255));
  }
  int twips = par->RightIndent;
  const int spacing = par->BorderSpaceColor >> 4;
  if ((par->BorderFlags & kBorderOn) && spacing >= 1) twips += spacing * 567 / 10;
  int right = MulDivX(twips);
  if (Header.TextWidthPixels != Header.TextAreaWidthPixels) {
    right -= Header.TextAreaWidthPixels - Header.TextWidthPixels;
    if (right < 0) right = 0;
  }
  return right;
}

int TWPRTFTextPaint::NextTab(TParagraph* par, const char* text, const TAttr* attrs, int count, int x,
                             int index) const {
  const int cellLeft = par->IsTableCell() ? CellLeftPixels(par) : 0;
  for (int k = 0; k < TTextHeader::kTabSlots; ++k) {
    const int slot = Header.TabOrder[k];
    if (slot < 0 || slot >= TTextHeader::kTabSlots) continue;
    const int pixels = Header.TabPixelPositions[slot];
    if (pixels == 0 || !(par->TabSet & (TTabSet{1} << slot))) continue;
    const int position = pixels + cellLeft;
    if (position <= x) continue;
    const TTabKind kind = Header.TabKinds[slot];
    if (kind == tkRight || kind == tkDecimal) {
      if (position > Header.TextWidthPixels - RightIndent(par)) return x;
      int sum = 0;
      for (int i = index + 1; i < count && !EndsTabText(text[i]); ++i) {
        if (kind == tkDecimal && text[i] == Header.DecimalTabChar) break;
        sum += attrs ? attrs[i].Width : FWidths[static_cast<unsigned char>(text[i])];
      }
      return sum <= position - x ? position - sum : x;
    }
    if (kind == tkCenter) {
      int sum = 0;
      for (int i = index + 1; i < count && !EndsTabText(text[i]); ++i) {
        const int w = attrs ? attrs[i].Width : FWidths[static_cast<unsigned char>(text[i])];
        if (sum + w > 2 * (position - x)) break;
        sum += w;
      }
      return position - sum / 2;
    }
    return position;
  }
  const int interval = DefaultTabInterval();
  return (x + interval) - ((x + interval) % interval);
}

int TWPRTFTextPaint::NextTabPosition(TParagraph* par, TLine* line, int x, int index) {
  return NextTab(par, line->Text.get(), line->Attrs.get(), line->Length, x, index);
}

int TWPRTFTextPaint::LineContentWidth(TParagraph*, TLine* line) const {
  int width = 0, pending = 0;
  for (int i = 0; i < line->Length; ++i) {
    const unsigned char code = line->CharAt(i);
    const int w = line->Attrs ? line->Attrs[i].Width : FWidths[code];
    if (line->Attrs && (line->Attrs[i].Special & kSpecialHidden) && !Has(wppo::ShowHidden)) continue;
    if (code == ' ' || code == '\t') {
      pending += w;
    } else if (code == 10) {
      pending = 0;
    } else {
      width += pending + w;
      pending = 0;
    }
  }
  return width;
}

// ---------------------------------------------------------------------------
// Wrapping

void TWPRTFTextPaint::SpellCheck(TFlatPar& flat) {
  const int n = static_cast<int>(flat.Text.size());
  int i = 0;
  while (i < n) {
    if (static_cast<unsigned char>(flat.Text[i]) < 65) {
      ++i;
      continue;
    }
    int j = i;
    while (j < n && j - i < kMaxWordLength && static_cast<unsigned char>(flat.Text[j]) >= 65) ++j;
    const bool wrong = OnSpellCheckWord(std::string(flat.Text.data() + i, j - i));
    for (int k = i; k < j; ++k) {
      if (wrong)
        flat.Attrs[k].Marker |= kMarkerMisspelled;
      else
        flat.Attrs[k].Marker &= static_cast<std::uint8_t>(~kMarkerMisspelled);
    }
    i = j;
  }
}

int TWPRTFTextPaint::ReformatParagraph(TParagraph* par, bool compare) {
  if (!par) return kNothingChanged;
  return WrapParagraph(par, compare);
}

int TWPRTFTextPaint::WrapParagraph(TParagraph* par, bool compare) {
  if (Has(wppo::LayoutLocked)) return kNothingChanged;
  par->ParState &= static_cast<std::uint8_t>(~kParNeedsWrap);
  const bool rtf = par->FirstLine->Attrs != nullptr;

  // The old lines as one array, with their summary for the compare.
  TFlatPar flat;
  struct TOld {
    int Start, Length, Height, SpaceWidth;
  };
  std::vector<TOld> old;
  int oldTotal = 0;
  bool oldSelected = false;
  for (TLine* line = par->FirstLine; line; line = line->Next) {
    old.push_back({static_cast<int>(flat.Text.size()), line->Length, line->Height, line->SpaceWidth});
    oldTotal += line->Height;
    oldSelected |= line->SelState == 2 || line->SelState == 3;
    flat.Text.insert(flat.Text.end(), line->Text.get(), line->Text.get() + line->Length);
    if (rtf) {
      flat.Attrs.insert(flat.Attrs.end(), line->Attrs.get(), line->Attrs.get() + line->Length);
      flat.EndAttr = line->Attrs[line->Length];
    }
  }
  if (rtf && OnSpellCheckWord) SpellCheck(flat);
  const int n = static_cast<int>(flat.Text.size());
  const TAttr* attrs = rtf ? flat.Attrs.data() : nullptr;
  const char* text = flat.Text.data();

  // Selection and caret as offsets from the paragraph's start.
  auto toOffset = [par](TLine* target, int index) {
    int offset = 0;
    for (TLine* line = par->FirstLine; line; line = line->Next) {
      if (line == target) return offset + index;
      offset += line->Length;
    }
    return -1;
  };
  TTextPos from = SelectionFrom(), to = SelectionTo();
  const bool hasSel = HasSelection();
  const int selStart = hasSel && from.Par == par ? toOffset(from.Line, from.Index) : -1;
  const int selEnd = hasSel && to.Par == par ? toOffset(to.Line, to.Index) : -1;
  const int caret = CursorParagraph == par ? toOffset(CursorLine, CursorIndex) : -1;

  struct TNew {
    int Start, Length, LineWidth, SpaceWidth, SpaceExtra;
  };
  std::vector<TNew> lines;
  const bool rightOrCentre = par->Alignment == 1 || par->Alignment == 2;
  const int spaceWidth = rtf ? -1 : FWidths[' '];
  int pos = 0;
  do {
    const bool first = lines.empty();
    const int left = LeftEdgeOf(par, first);
    int available = Header.TextWidthPixels - RightIndent(par) - left;
    if (available <= 0) available = 16;
    int x = 0, spaces = 0, spaceSum = 0, lastSpace = -1, lastSpaceX = 0, lastTab = -1, lastTabX = 0;
    const int start = pos;
    int i = pos;
    bool endedHard = false;  // paragraph end, line feed, code 0, character limit
    while (true) {
      if (i >= n) {
        endedHard = true;
        break;
      }
      // A line that holds as many characters as it may is full: it still
      // breaks after its last space or tab like a line that is too wide.
      if ((MaxLineChars > 0 && i - start >= MaxLineChars) || i - start >= kMaxWrappedLine) break;
      const unsigned char code = static_cast<unsigned char>(text[i]);
      if (code == 0) {
        ++i;
        endedHard = true;
        break;
      }
      const bool hidden = rtf && (attrs[i].Special & kSpecialHidden) && !Has(wppo::ShowHidden);
      if (hidden) {
        ++i;
        continue;
      }
      int w = rtf ? attrs[i].Width : FWidths[code];
      const bool tab = code == '\t';
      if (tab && !rightOrCentre) w = NextTab(par, text, attrs, n, left + x, i) - left - x;
      if (tab && rightOrCentre && !rtf) w = spaceWidth;
      if (x + w >= available && code != ' ' && !tab) break;
      if (code == ' ' || (tab && rightOrCentre)) {
        ++spaces;
        lastSpaceX = x;
        lastSpace = i - start;
        spaceSum += w;
        x += w;
      } else if (tab) {
        x += w;
        lastTab = i - start;
        lastTabX = x;
        spaces = spaceSum = 0;
        lastSpace = -1;
      } else if (code == 10) {
        x += w;
        ++i;
        spaces = spaceSum = 0;
        lastSpace = -1;
        endedHard = true;
        break;
      } else {
        x += w;
      }
      ++i;
      if (x >= available) break;
    }
    int end = i;
    if (!endedHard) {
      if (lastSpace >= 2) {
        end = start + lastSpace + 1;
        x = lastSpaceX;
      } else if (lastTab > 1) {
        end = start + lastTab + 1;
        x = lastTabX;
        spaces = 0;
      }
    }
    if (end <= start) {
      end = start + 1;  // a line always takes at least one character
      if (n > 0) x = rtf ? attrs[start].Width : FWidths[static_cast<unsigned char>(text[start])];
    }
    if (n == 0) end = 0;
    TNew line{start, end - start, x, 0, 0};
    const bool last = end >= n;
    if (par->Alignment == 3 && (!last || (par->ParFlags & kParJustifyLastLine)) && spaces >= 2) {
      const int total = std::max(spaceSum + available - x - 6, 0);
      line.LineWidth = std::max(lastTab, 0);
      line.SpaceWidth = total / (spaces - 1);
      line.SpaceExtra = total % (spaces - 1);
    }
    lines.push_back(line);
    pos = end;
  } while (pos < n);

  // Fill the paragraph's line records, reusing the old ones.
  TLine* line = par->FirstLine;
  TLine* prev = nullptr;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const TNew& nl = lines[k];
    if (!line) line = NewLine(prev, nl.Length + 4);
    if (line->Capacity < nl.Length + 4) GrowLine(line, nl.Length + 4);
    if (nl.Length > 0) std::memcpy(line->Text.get(), text + nl.Start, nl.Length);
    line->Text[nl.Length] = 0;
    if (rtf) {
      if (!line->Attrs) line->Attrs = std::make_unique<TAttr[]>(line->Capacity);
      if (nl.Length > 0) std::memcpy(line->Attrs.get(), attrs + nl.Start, sizeof(TAttr) * nl.Length);
      line->Attrs[nl.Length] = nl.Start + nl.Length < n ? attrs[nl.Start + nl.Length] : flat.EndAttr;
    }
    line->Length = static_cast<std::uint16_t>(nl.Length);
    line->LineWidth = static_cast<std::uint16_t>(nl.LineWidth);
    line->SpaceWidth = static_cast<std::uint16_t>(nl.SpaceWidth);
    line->SpaceExtra = static_cast<std::uint16_t>(nl.SpaceExtra);
    prev = line;
    line = line->Next;
  }
  while (prev->Next) RemoveLine(par, prev->Next);

  // Selection states and positions back in the new lines.
  const bool selectedThrough = oldSelected && selStart < 0 && selEnd < 0;
  const bool touched = selStart >= 0 || selEnd >= 0;
  for (TLine* l = par->FirstLine; l; l = l->Next) l->SelState = selectedThrough || touched ? 3 : 0;
  auto toPosition = [par](int offset, bool caretRule, TLine*& outLine, int& outIndex) {
    TLine* l = par->FirstLine;
    while (true) {
      const bool beyond = caretRule ? offset >= l->Length : offset > l->Length;
      if (beyond && l->Next) {
        offset -= l->Length;
        l = l->Next;
        continue;
      }
      outLine = l;
      outIndex = std::clamp(offset, 0, static_cast<int>(l->Length));
      return;
    }
  };
  if (selStart >= 0 || selEnd >= 0) {
    TTextPos f = from, t = to;
    if (selStart >= 0) toPosition(selStart, false, f.Line, f.Index);
    if (selEnd >= 0) toPosition(selEnd, false, t.Line, t.Index);
    SetSelectionPositions(f, t);
  }
  if (caret >= 0) toPosition(caret, true, CursorLine, CursorIndex);

  // Heights, tops and the compare with the old lines.
  int top = par->FirstLine->Top;
  int total = 0;
  for (TLine* l = par->FirstLine; l; l = l->Next) {
    l->Top = top + total;
    RecomputeLineHeight(par, l);
    total += l->Height;
  }
  int result = kNothingChanged;
  if (total != oldTotal) result = kParHeightChanged;
  std::size_t k = 0;
  for (TLine* l = par->FirstLine; l; l = l->Next, ++k) {
    bool changed = k >= old.size();
    if (!changed) {
      const TOld& o = old[k];
      if (result != kParHeightChanged && o.Height != l->Height) result = kLineHeightChanged;
      changed = o.Length != l->Length || o.SpaceWidth != l->SpaceWidth || o.Height != l->Height;
      const int newStart = lines[k].Start;
      for (int c = 0; !changed && o.Start != newStart && c < l->Length; ++c)
        changed = text[o.Start + c] != text[newStart + c] ||
                  (rtf && attrs[o.Start + c].Width != attrs[newStart + c].Width);
    }
    if (changed) {
      l->LineFlags |= kLineChanged;
      if (result == kNothingChanged) result = kCharsChanged;
    }
  }
  if (par->IsTableCell()) TWPRTFText::Changed();
  return compare ? result : kNothingChanged;
}

// ---------------------------------------------------------------------------
// Whole document

void TWPRTFTextPaint::ReformatAll() {
  if (Has(wppo::LayoutLocked)) return;
  if (ReformatPending) {
    ReformatRequestedWhilePending = true;
    return;
  }
  if (FFormatting) return;
  FFormatting = true;
  // A long document shows the busy cursor and reports progress; however the
  // reformat ends, only what it set up is taken down (a busy cursor of the
  // command around it stays).
  bool reporting = false;
  const auto finish = [&] {
    FFormatting = false;
    if (!reporting) return;
    TWPProgress::Stop();
    QGuiApplication::restoreOverrideCursor();
  };
  try {
    ApplyTextWidth();
    Header.RecomputePixelValues();
    int count = 0;
    for (TParagraph* par = FirstParagraph; par; par = par->Next) {
      par->ParState |= kParNeedsBoth;
      ++count;
    }
    if (count > 100) {
      QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
      TWPProgress::Start(count);
      reporting = true;
    }
    int done = 0;
    for (TParagraph* par = FirstParagraph; par; par = par->Next) {
      if (par->ParState & kParNeedsMeasure) MeasureParagraph(par, false);
      if (reporting) TWPProgress::Update(++done);
    }
    for (TParagraph* par = FirstParagraph; par; par = par->Next)
      if (par->ParState & kParNeedsWrap) WrapParagraph(par, false);
  } catch (...) {
    finish();
    throw;
  }
  finish();
  FLayoutStale = false;
  if (!Has(wppo::ForeignCanvas)) {
    if (OnUpdateVertScrollBar) OnUpdateVertScrollBar();
    if (OnRulerUpdate) OnRulerUpdate();
  }
  UpdatePositions();
}

void TWPRTFTextPaint::EnsureLayout() {
  if (ReformatPending) return;
  bool stale = FLayoutStale;
  for (TParagraph* par = FirstParagraph; par && !stale; par = par->Next)
    stale = (par->ParState & kParNeedsBoth) != 0;
  if (stale && !Has(wppo::LayoutLocked)) ReformatAll();
}

int TWPRTFTextPaint::UpdatePositions() {
  if (FFormatting || Has(wppo::LayoutLocked)) return FDocumentHeight;
  FDocumentHeight = FirstParagraph ? ComputeVerticalPositions() : 0;
  if (!Has(wppo::NoScroll) && !Has(wppo::ForeignCanvas)) {
    if (OnUpdateVertScrollBar) OnUpdateVertScrollBar();
    if (OnUpdateHorzScrollBar) OnUpdateHorzScrollBar();
  }
  return FDocumentHeight;
}

void TWPRTFTextPaint::Changed() {
  FPictures.clear();
  // A hidden control lays out only when it paints or is asked for sizes.
  FLayoutStale = true;
  if (PaintingAllowed && !Has(wppo::LayoutLocked | wppo::ForeignCanvas)) {
    ReformatAll();
    Repaint();
  }
}

void TWPRTFTextPaint::AttrSetChanged(std::int32_t tag, int relayout) {
  TWPRTFTextIo::AttrSetChanged(tag, relayout);
  if (relayout) Relayout();
  Repaint();
}
