#include "richtext/gui/CustomRtfEdit.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <exception>

#include "richtext/MulDiv.h"

const char* const kPleaseUseBitmap = "Please use Bitmap.";

namespace {
constexpr int kScrollRange = 1000;
}

TWPCustomRtfEdit::TWPCustomRtfEdit(QWidget* parent)
    : QWidget(parent), FDocument(std::make_unique<TWPRTFTextInput>()), FScreenCanvas(this) {
  setCursor(Qt::IBeamCursor);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(100, 100);
  FHorzBar = new QScrollBar(Qt::Horizontal, this);
  FVertBar = new QScrollBar(Qt::Vertical, this);
  for (QScrollBar* bar : {FHorzBar, FVertBar}) {
    bar->setRange(0, kScrollRange);
    bar->hide();
  }
  connect(FVertBar, &QScrollBar::valueChanged, this, [this](int value) { ScrollVertTo(value); });
  connect(FHorzBar, &QScrollBar::valueChanged, this, [this](int value) { ScrollHorzTo(value); });

  // The layout stays locked until the window exists.
  FDocument->SetPaintOptions(poLayoutLocked);
  FDocument->BackgroundColor = FColor;
  HookDocument();
  FDocument->SetCanvas(&FScreenCanvas);
  FDocument->OriginX = 0;
  FDocument->OriginY = 0;
  FDocument->ClipHeight = ClientHeight();
  FDocument->SetWrapWidth(ClientWidth());
  FDocument->SetPaintOptions(FShowPageBreak ? 0u : std::uint32_t{poNoPageBreakLines});
}

TWPCustomRtfEdit::~TWPCustomRtfEdit() {
  FDocument->OnInvalidate = nullptr;
  FDocument->OnUpdateVertScrollBar = nullptr;
  FDocument->OnUpdateHorzScrollBar = nullptr;
}

void TWPCustomRtfEdit::HookDocument() {
  FDocument->OnInvalidate = [this] { update(); };
  FDocument->OnUpdateVertScrollBar = [this] { UpdateScrollBars(); };
  FDocument->OnUpdateHorzScrollBar = [this] { UpdateScrollBars(); };
}

void TWPCustomRtfEdit::Change() {
  if (OnChange) OnChange(this);
}

void TWPCustomRtfEdit::SetRtfText(const TWPRTFTextIo& source) {
  FDocument->Assign(source);
  update();
}

// ---------------------------------------------------------------------------
// Display properties

void TWPCustomRtfEdit::SetWordWrap(bool on) {
  FDocument->SetWordWrap(on);
  UpdateScrollBars();
  update();
}

void TWPCustomRtfEdit::SetZooming(int percent) {
  if (percent <= 0) percent = 100;
  FDocument->SetZooming(percent);
  UpdateScrollBars();
  update();
}

void TWPCustomRtfEdit::SetResizing(int percent) {
  if (percent <= 0) percent = 100;  // as Zooming
  if (percent == FDocument->Resizing()) return;
  FDocument->ReformatPending = true;
  FDocument->SetResizing(percent);
  FDocument->ReformatPending = false;
  FDocument->ReformatRequestedWhilePending = false;
  FDocument->ReformatAll();
  UpdateScrollBars();
  update();
}

void TWPCustomRtfEdit::SetTransparent(bool on) {
  if (on == FTransparent) return;
  FTransparent = on;
  setAttribute(Qt::WA_OpaquePaintEvent, !on);
  if (on) {
    FDocument->SetPaintOptions(FDocument->PaintOptions() | poTransparent);
  } else {
    FDocument->SetPaintOptions(FDocument->PaintOptions() & ~poTransparent);
    FDocument->TileBackground = !FDocument->BackgroundBitmap.isNull();
  }
  UpdateScrollBars();
  update();
}

void TWPCustomRtfEdit::SetScrollBars(TScrollStyle style) {
  if (style == FScrollBars) return;
  FScrollBars = style;
  UpdateScrollBars();
  update();
}

void TWPCustomRtfEdit::SetBorderStyle(TWPBorderStyle style) {
  if (style == FBorderStyle) return;
  FBorderStyle = style;
  ApplyClientSize();
  update();
}

void TWPCustomRtfEdit::SetColor(TColor color) {
  FColor = color;
  FDocument->BackgroundColor = color;
  update();
}

void TWPCustomRtfEdit::SetFont(const TWPFont& font) {
  FFont = font;
  FFont.Size = std::clamp(FFont.Size, 1, 255);
  // The font becomes the attributes the insertion point writes with.
  TAttr& attr = FDocument->CurrentAttr;
  const int slot = FontNumber(FFont.Name);
  if (slot < TTextHeader::kFontSlots) attr.FontIndex = static_cast<std::uint8_t>(slot);
  attr.Size = static_cast<std::uint8_t>(FFont.Size);
  for (int i = 0; i < 15; ++i) {
    if (FDocument->Header.Colors[i] == FFont.Color) {
      attr.Colors = static_cast<std::uint8_t>((attr.Colors & 0xF0) | i);
      break;
    }
  }
  const std::uint8_t styles = kStyleBold | kStyleItalic | kStyleUnderline | kStyleStrikeOut;
  attr.Style = static_cast<std::uint8_t>((attr.Style & ~styles) | (FFont.Style & styles));
}

void TWPCustomRtfEdit::SetNoBlockMarking(bool on) {
  FNoBlockMarking = on;
  if (!on) {
    FDocument->ClearSelection();
    update();
  }
}

void TWPCustomRtfEdit::SetShowPageBreak(bool on) {
  FShowPageBreak = on;
  const std::uint32_t options = FDocument->PaintOptions();
  FDocument->SetPaintOptions(on ? options & ~poNoPageBreakLines : options | poNoPageBreakLines);
  update();
}

void TWPCustomRtfEdit::SetBackgroundImage(const TWPPicture& picture) {
  if (picture.Metafile) throw EModelError(kPleaseUseBitmap);
  FBackgroundImage = picture;
  FDocument->BackgroundBitmap = picture.Bitmap;
  FDocument->TileBackground = !picture.Bitmap.isNull();
  update();
}

void TWPCustomRtfEdit::SetBackgroundScrolling(bool on) {
  FDocument->BackgroundScrolling = on;
  update();
}

void TWPCustomRtfEdit::SetTopOffset(int pixels) {
  FTopOffset = std::max(pixels, 0);
  FDocument->ScrollTop = FTopOffset;
  UpdateScrollBars();
  update();
}

void TWPCustomRtfEdit::SetLeftOffset(int pixels) {
  FLeftOffset = std::max(pixels, 0);
  FDocument->HorzOffset = -FLeftOffset;
  UpdateScrollBars();
  update();
}

void TWPCustomRtfEdit::SetMemoryFormat(TWPMemoryFormat format) {
  FDocument->SwitchMode(format == fmPlainText ? 1 : 0);
}

void TWPCustomRtfEdit::setVisible(bool visible) {
  FVisible = visible;
  // The hidden painting editor never lays out or paints for its own window.
  FDocument->PaintingAllowed = visible;
  QWidget::setVisible(visible);
}

// ---------------------------------------------------------------------------
// Sizes and scroll bars

int TWPCustomRtfEdit::ClientWidth() const {
  const int bar = FVertBar && !FVertBar->isHidden() ? FVertBar->sizeHint().width() : 0;
  return std::max(width() - 2 * BorderWidth() - bar, 0);
}

int TWPCustomRtfEdit::ClientHeight() const {
  const int bar = FHorzBar && !FHorzBar->isHidden() ? FHorzBar->sizeHint().height() : 0;
  return std::max(height() - 2 * BorderWidth() - bar, 0);
}

void TWPCustomRtfEdit::ApplyClientSize() {
  FDocument->OriginX = 0;
  FDocument->OriginY = 0;
  FDocument->ClipHeight = ClientHeight();
  FDocument->SetWrapWidth(ClientWidth());
  PlaceScrollBars();
}

void TWPCustomRtfEdit::PlaceScrollBars() {
  const int b = BorderWidth();
  const int vw = FVertBar->isHidden() ? 0 : FVertBar->sizeHint().width();
  const int hh = FHorzBar->isHidden() ? 0 : FHorzBar->sizeHint().height();
  FVertBar->setGeometry(width() - b - vw, b, vw, std::max(height() - 2 * b - hh, 0));
  FHorzBar->setGeometry(b, height() - b - hh, std::max(width() - 2 * b - vw, 0), hh);
}

void TWPCustomRtfEdit::UpdateScrollBars() {
  if (FUpdatingBars || (FDocument->PaintOptions() & (poForeignCanvas | poLayoutLocked))) return;
  FUpdatingBars = true;
  TWPRTFTextInput& doc = *FDocument;
  const bool wantVert = FScrollBars == ssVertical || FScrollBars == ssBoth;
  const bool wantHorz = FScrollBars == ssHorizontal || FScrollBars == ssBoth;

  const int documentHeight = doc.DocumentHeight();
  const int clientHeight = ClientHeight();
  if (wantVert && documentHeight > clientHeight) {
    FVertBar->show();
    const QSignalBlocker block(FVertBar);
    FVertBar->setValue(doc.ScrollTop * kScrollRange / std::max(documentHeight - clientHeight, 1));
  } else {
    FVertBar->hide();
    // Only a document that fits goes back to the top: a control without a
    // vertical bar still scrolls to its TopOffset or to the caret.
    if (documentHeight <= clientHeight) doc.ScrollTop = 0;
  }
  const int textWidth = doc.Header.TextWidthPixels;
  if (wantHorz && !doc.WordWrap() && textWidth > ClientWidth()) {
    FHorzBar->show();
    const QSignalBlocker block(FHorzBar);
    FHorzBar->setValue(MulDiv(-doc.HorzOffset, kScrollRange, std::max(textWidth - doc.WrapWidth(), 1)));
  } else {
    FHorzBar->hide();
  }
  PlaceScrollBars();
  doc.ClipHeight = ClientHeight();
  doc.SetWrapWidth(ClientWidth());
  FUpdatingBars = false;
}

void TWPCustomRtfEdit::ScrollVertTo(int position) {
  const int range = std::max(FDocument->DocumentHeight() - ClientHeight(), 0);
  FDocument->ScrollTop = std::max(0, position * range / kScrollRange);
  update();
}

void TWPCustomRtfEdit::ScrollHorzTo(int position) {
  const int range = std::max(FDocument->Header.TextWidthPixels - FDocument->WrapWidth(), 0);
  FDocument->HorzOffset = -std::max(0, MulDiv(position, range, kScrollRange));
  update();
}

void TWPCustomRtfEdit::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FDocument->ReformatPending = true;
  ApplyClientSize();
  if (FDocument->PaintingAllowed) {
    FDocument->CarryOutPendingReformat();
    UpdateScrollBars();
  }
}

// ---------------------------------------------------------------------------
// Painting

void TWPCustomRtfEdit::paintEvent(QPaintEvent*) {
  TWPRTFTextInput& doc = *FDocument;
  bool laidOut = true;
  try {
    doc.CarryOutPendingReformat();
    doc.EnsureLayout();
  } catch (const std::exception&) {
    laidOut = false;  // the frame is drawn, the text is not
  }
  QPainter painter(this);
  const int b = BorderWidth();
  if (b > 0) {
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.drawLine(0, 0, 0, height() - 1);
    painter.setPen(QColor(64, 64, 64));
    painter.drawLine(1, 1, width() - 2, 1);
    painter.drawLine(1, 1, 1, height() - 2);
    painter.setPen(QColor(255, 255, 255));
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
    painter.setPen(QColor(212, 208, 200));
    painter.drawLine(1, height() - 2, width() - 2, height() - 2);
    painter.drawLine(width() - 2, 1, width() - 2, height() - 2);
  }
  if (FRepaintSkip > 0) {
    --FRepaintSkip;
    return;
  }
  if (!laidOut) return;
  painter.translate(b, b);
  painter.setClipRect(0, 0, ClientWidth(), ClientHeight());
  TWPCanvas canvas(&painter, this);
  try {
    doc.PaintVisible(&canvas);
  } catch (const std::exception&) {
    // A document that cannot be laid out stops the repaint; the paint event
    // never ends in an exception.
  }
}

// ---------------------------------------------------------------------------
// Painting into another canvas

// The layout state a PaintToCanvas call changes and gives back.
void TWPCustomRtfEdit::SaveLayoutState() {
  TWPRTFTextInput& doc = *FDocument;
  FSavedWordWrap = doc.WordWrap();
  FSavedOptions = doc.PaintOptions();
  FSavedHorzOffset = doc.HorzOffset;
}

void TWPCustomRtfEdit::RestoreLayoutState() {
  TWPRTFTextInput& doc = *FDocument;
  doc.SetPaintOptions(poLayoutLocked | poForeignCanvas);
  doc.HorzOffset = FSavedHorzOffset;
  doc.SetWordWrap(FSavedWordWrap);
  doc.SetCanvas(&FScreenCanvas);
  doc.SetWrapWidth(ClientWidth());
  // Unlocking lays the document out for the screen again.
  doc.SetPaintOptions(FSavedOptions);
}

int TWPCustomRtfEdit::PaintToCanvas(TWPCanvas* canvas, int x, int y, int width, int height, int startLine,
                                    TPaintToCanvasMode mode) {
  TWPRTFTextInput& doc = *FDocument;
  if (mode == kPaintEndBatch) {
    if (FInBatch) {
      FInBatch = false;
      RestoreLayoutState();
    }
    return 0;
  }
  const bool batch = FInBatch;
  if (!batch) SaveLayoutState();
  int result = 0;
  try {
    // The document is laid out anew at the canvas's resolution; a batch
    // keeps the canvas and layout of its first call.
    if (batch)
      doc.SetWrapWidth(width);
    else
      doc.LayOutForCanvas(canvas, width, ForeignPaintOptions(PaintSwitches));
    if (mode == kPaintBeginBatch) {
      FInBatch = true;
      return 0;
    }
    const TPaintPass pass{doc.Canvas(), x, y, 0, 0, height, doc.PaintOptions()};
    result = doc.PaintLinesFrom(pass, startLine, mode != kPaintMeasureOnly,
                                (PaintSwitches & psStopAtPageBreak) != 0);
  } catch (...) {
    // The control never keeps the caller's canvas or the foreign layout.
    FInBatch = false;
    RestoreLayoutState();
    throw;
  }
  if (!batch) RestoreLayoutState();
  return result;
}

// ---------------------------------------------------------------------------
// Document operations

int TWPCustomRtfEdit::DocumentHeight() {
  TWPRTFTextInput& doc = *FDocument;
  doc.CarryOutPendingReformat();
  doc.EnsureLayout();
  if (!doc.FirstParagraph) return 0;
  TParagraph* par = doc.FirstParagraph;
  while (par->Next) par = par->Next;
  TLine* line = doc.LastLine(par);
  return line->Top + line->Height;
}

int TWPCustomRtfEdit::FontNumber(const std::string& name) {
  return FDocument->Header.FindOrAddFont(name.substr(0, TTextHeader::kMaxFontNameLength));
}

TColor TWPCustomRtfEdit::ColorOfNumber(int number) const {
  number &= 0x7F;
  return number <= 14 ? FDocument->Header.Colors[number] : 0;
}

void TWPCustomRtfEdit::SetPageSizeAndMargins(int leftMargin, int rightMargin, int pageHeight, int pageWidth,
                                             int bottomMargin, int topMargin) {
  TTextHeader& header = FDocument->Header;
  auto set = [](int& field, int value) {
    if (value != -1000) field = value;
  };
  set(header.LeftMargin, leftMargin);
  set(header.RightMargin, rightMargin);
  set(header.PageHeight, pageHeight);
  set(header.PageWidth, pageWidth);
  set(header.BottomMargin, bottomMargin);
  set(header.TopMargin, topMargin);
  if (EditingAllowed()) {
    header.RecomputeTextArea();
    FDocument->ReformatAll();
    update();
  }
}

void TWPCustomRtfEdit::Clear() {
  TWPRTFTextInput& doc = *FDocument;
  doc.Clear();
  doc.ClearSelection();
  if (!FFont.Name.empty()) {
    doc.Header.FontNames[0] = FFont.Name.substr(0, TTextHeader::kMaxFontNameLength);
    TAttr attr{};
    attr.FontIndex = 0;
    attr.Size = static_cast<std::uint8_t>(std::clamp(FFont.Size, 0, 255));
    attr.Style = FFont.Style & (kStyleBold | kStyleItalic | kStyleUnderline);
    for (int i = 0; i <= 14; ++i) {
      if (doc.Header.Colors[i] == FFont.Color) {
        attr.Colors = static_cast<std::uint8_t>(i);
        break;
      }
    }
    doc.CurrentAttr = attr;
    if (TLine* line = doc.FirstParagraph ? doc.FirstParagraph->FirstLine : nullptr; line && line->Attrs)
      line->Attrs[0] = attr;
  }
  doc.ScrollTop = FTopOffset;
  doc.HorzOffset = -FLeftOffset;
  doc.ReformatAll();
  update();
}
