// The layout object's own state: canvas and resolution, zoom, wrapping and
// paint options, fonts, and laying out the whole document. Measuring and
// wrapping lines is in LineLayout.cpp, painting them in LinePainting.cpp.
#include "richtext/gui/RtfTextPaint.h"

#include <QCursor>
#include <QGuiApplication>
#include <algorithm>
#include <cstring>

#include "richtext/MulDiv.h"
#include "richtext/Progress.h"
#include "richtext/TextCase.h"

const char* const kPaintSystemError = "Tabwright RTF-\tSystem Error";

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
  if (Has(poLayoutLocked)) return;
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

bool TWPRTFTextPaint::ReadResolution() {
  int x = FCanvas->PixelsPerInchX();
  int y = FCanvas->PixelsPerInchY();
  if (!Has(poNoZoom)) {
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
  if (PaintingAllowed || Has(poForeignCanvas))
    ReformatAll();
  else
    FLayoutStale = true;
}

void TWPRTFTextPaint::SetZooming(int percent) {
  if (percent <= 0 || percent == FZooming) return;
  FZooming = percent;
  if (!Has(poLayoutLocked)) ReadResolution();
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
  if ((old & poLayoutLocked) && !(options & poLayoutLocked)) {
    // Unlocking: the canvas may have changed while the layout was frozen.
    TakeCanvasResolution();
    Relayout();
  } else if (((old ^ options) & poNoZoom) && FZooming != 100 && !(options & poLayoutLocked)) {
    ReadResolution();
    Relayout();
  }
  if (!(options & (poLayoutLocked | poForeignCanvas))) Repaint();
}

void TWPRTFTextPaint::LayOutForCanvas(TWPCanvas* canvas, int wrapWidth, std::uint32_t options) {
  // Frozen while the canvas, wrapping and width change; unlocking reads the
  // canvas's resolution and lays everything out once.
  SetPaintOptions(poLayoutLocked | poForeignCanvas);
  SetCanvas(canvas);
  SetWordWrap(true);
  SetWrapWidth(wrapWidth);
  SetPaintOptions(options);
  if (ReformatRequestedWhilePending || ReformatPending) CarryOutPendingReformat();
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
  if (FWordWrap && !Has(poWrapAtPageWidth)) {
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
  SelectFontOn(*FCanvas, attr ? *attr : CurrentAttr, FPaintOptions);
}

void TWPRTFTextPaint::SelectFontOn(TWPCanvas& canvas, const TAttr& a, std::uint32_t options) {
  const TCharacterAttr* set = DisplaySet(a);
  if (!(a.Style & kStyleSelected)) {
    TColor text = Header.Colors[a.TextColor()];
    if (set && set->UseTextColor()) text = set->TextColor();
    TColor brush = a.BackgroundColor() != 0 ? Header.Colors[a.BackgroundColor()]
                                            : ((options & poWhiteBackground) ? 0xFFFFFF : BackgroundColor);
    if (set && set->UseBackgroundColor()) brush = set->BackgroundColor();
    canvas.FontColor = ColorFromRgb(text);
    canvas.BrushColor = ColorFromRgb(brush);
  }
  if (a.FontIndex > TTextHeader::kFontSlots) throw EModelError(kPaintSystemError);
  std::string name = canvas.FontName();
  if (a.FontIndex < TTextHeader::kFontSlots && !Header.FontSlotEmpty(a.FontIndex) &&
      !SameTextIgnoringCase(Header.FontNames[a.FontIndex], name))
    name = Header.FontNames[a.FontIndex];

  std::uint8_t style = a.Style & (kFontBold | kFontItalic | kFontStrikeOut);
  bool underline = (a.Style & kStyleUnderline) != 0;
  bool superscript = (a.Style & kStyleSuperscript) || (a.Special & kSpecialFootnote);
  bool subscript = (a.Style & kStyleSubscript) != 0;
  FSelWavy = (a.Marker & kMarkerMisspelled) != 0;
  FSelPenColor = FSelWavy ? QColor(255, 0, 0) : canvas.FontColor;
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
  canvas.SetFont(name, size, Header.YPixelsPerInch, style);
}

void TWPRTFTextPaint::MeasureFont(const TAttr* attr) {
  SelectFont(attr);
  const TWPFontEntry& font = FCanvas->Font();
  std::memcpy(FWidths, font.Widths.data(), sizeof(FWidths));
  FFontHeight = font.Height;
  FFontAscent = font.Ascent;
  if (FFontHeight <= 0 && FTechnology == kTechMetafile) {
    FFontHeight = FWidths[int{'A'}];
    FFontAscent = FFontHeight * 2 / 5;
  }
}

// ---------------------------------------------------------------------------
// Whole document

void TWPRTFTextPaint::ReformatAll() {
  if (Has(poLayoutLocked)) return;
  if (ReformatPending) {
    ReformatRequestedWhilePending = true;
    return;
  }
  if (FFormatting) return;
  FFormatting = true;
  ++FReformatCount;
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
  if (!Has(poForeignCanvas)) {
    if (OnUpdateVertScrollBar) OnUpdateVertScrollBar();
  }
  UpdatePositions();
}

void TWPRTFTextPaint::EnsureLayout() {
  if (ReformatPending) return;
  bool stale = FLayoutStale;
  for (TParagraph* par = FirstParagraph; par && !stale; par = par->Next)
    stale = (par->ParState & kParNeedsBoth) != 0;
  if (stale && !Has(poLayoutLocked)) ReformatAll();
}

int TWPRTFTextPaint::UpdatePositions() {
  if (FFormatting || Has(poLayoutLocked)) return FDocumentHeight;
  FDocumentHeight = FirstParagraph ? ComputeVerticalPositions() : 0;
  if (!Has(poNoScroll) && !Has(poForeignCanvas)) {
    if (OnUpdateVertScrollBar) OnUpdateVertScrollBar();
    if (OnUpdateHorzScrollBar) OnUpdateHorzScrollBar();
  }
  return FDocumentHeight;
}

void TWPRTFTextPaint::Changed() {
  FPictures.clear();
  // A hidden control lays out only when it paints or is asked for sizes.
  FLayoutStale = true;
  if (PaintingAllowed && !Has(poLayoutLocked | poForeignCanvas)) {
    ReformatAll();
    Repaint();
  }
}

void TWPRTFTextPaint::AttrSetChanged(std::int32_t tag, int relayout) {
  TWPRTFTextIo::AttrSetChanged(tag, relayout);
  if (relayout) Relayout();
  Repaint();
}
