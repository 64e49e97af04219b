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
    : QWidget(parent),
      FDocument(std::make_unique<TWPRTFTextInput>()),
      FScreenCanvas(this),
      FCaret(this),
      FFinder(FDocument.get()) {
  setCursor(Qt::IBeamCursor);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_InputMethodEnabled);
  setMouseTracking(true);  // the cursor changes over hyperlinks and the object handle
  resize(100, 100);
  FHorzBar = new QScrollBar(Qt::Horizontal, this);
  FVertBar = new QScrollBar(Qt::Vertical, this);
  for (QScrollBar* bar : {FHorzBar, FVertBar}) {
    bar->setRange(0, kScrollRange);
    bar->hide();
  }
  connect(FVertBar, &QScrollBar::valueChanged, this, [this](int value) { ScrollVertTo(value); });
  connect(FHorzBar, &QScrollBar::valueChanged, this, [this](int value) { ScrollHorzTo(value); });
  // Line and page steps scroll by pixels, not by steps of the bar's range.
  connect(FVertBar, &QScrollBar::actionTriggered, this,
          [this](int action) { ScrollBarAction(true, action); });
  connect(FHorzBar, &QScrollBar::actionTriggered, this,
          [this](int action) { ScrollBarAction(false, action); });

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
  // The document outlives nothing of the control: unhook every call back.
  TWPRTFTextInput& doc = *FDocument;
  doc.OnInvalidate = nullptr;
  doc.OnInvalidateRect = nullptr;
  doc.OnScrollWindow = nullptr;
  doc.OnCaretMoved = nullptr;
  doc.OnCaretFormatting = nullptr;
  doc.OnUpdateVertScrollBar = nullptr;
  doc.OnUpdateHorzScrollBar = nullptr;
  doc.OnXPosChanged = nullptr;
  doc.OnYPosChanged = nullptr;
  doc.SaveForUNDO = nullptr;
  doc.OnNewParCreated = nullptr;
  doc.OnProtectedChange = nullptr;
  doc.OnRequestObject = nullptr;
  doc.OnSpellCheckWord = nullptr;
}

void TWPCustomRtfEdit::HookDocument() {
  TWPRTFTextInput& doc = *FDocument;
  doc.OnInvalidate = [this] { update(); };
  doc.OnInvalidateRect = [this](const QRect& rect) {
    const int b = BorderWidth();
    update(rect.translated(b, b).intersected(QRect(b, b, ClientWidth(), ClientHeight())));
  };
  doc.OnScrollWindow = [this](int dx, int dy) {
    const int b = BorderWidth();
    // The caret's pixels travel with the contents; the place they go to is painted again.
    update(FCaret.Rect());
    scroll(dx, dy, QRect(b, b, ClientWidth(), ClientHeight()));
  };
  doc.OnCaretMoved = [this] { PlaceCaret(); };
  doc.OnCaretFormatting = [this] {
    if (!FDocument->Has(poForeignCanvas)) ShowCaretFormatting();
  };
  doc.OnUpdateVertScrollBar = [this] { UpdateScrollBars(); };
  doc.OnUpdateHorzScrollBar = [this] { UpdateScrollBars(); };
  doc.OnXPosChanged = [this] {
    if (OnXPosChanged) OnXPosChanged(this);
  };
  doc.OnYPosChanged = [this] {
    if (OnYPosChanged) OnYPosChanged(this);
  };
  doc.SaveForUNDO = [this] {
    if (SaveForUNDO) SaveForUNDO(this);
  };
  doc.OnNewParCreated = [this](TParagraph* par) {
    if (OnNewParCreatedEvent) OnNewParCreatedEvent(this, par);
  };
  doc.OnProtectedChange = [this](TWPRTFText&, const std::string& text, int tag) {
    if (OnProtectedChange) OnProtectedChange(this, text, tag);
  };
  doc.OnRequestObject = [this](TWPRTFText&, TTextObject& record) {
    if (ProvideObjectEvent) ProvideObjectEvent(this, record);
  };
}

void TWPCustomRtfEdit::SetOnSpellCheckWord(
    std::function<bool(TWPCustomRtfEdit* sender, const std::string& word)> hook) {
  if (hook)
    FDocument->OnSpellCheckWord = [this, hook = std::move(hook)](const std::string& word) {
      return hook(this, word);
    };
  else
    FDocument->OnSpellCheckWord = nullptr;
}

void TWPCustomRtfEdit::Change() {
  if (OnChange) OnChange(this);
}

void TWPCustomRtfEdit::SetRtfText(const TWPRTFTextIo& source) {
  FDocument->Assign(source);
  FDocument->AnchorSet = false;
  FDocument->UpdateCaret();
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
  ApplyFontToText();
}

// The font becomes the attributes of the selection or the insertion point.
void TWPCustomRtfEdit::ApplyFontToText() {
  TAttr attr = FDocument->CurrentAttr;
  int mask = wpam::Size | wpam::ReplaceFontStyle;
  const int slot = FontNumber(FFont.Name);
  if (slot < TTextHeader::kFontSlots) {
    attr.FontIndex = static_cast<std::uint8_t>(slot);
    mask |= wpam::Font;
  }
  attr.Size = static_cast<std::uint8_t>(FFont.Size);
  for (int i = 0; i < 15; ++i) {
    if (FDocument->Header.Colors[i] == FFont.Color) {
      attr.Colors = static_cast<std::uint8_t>((attr.Colors & 0xF0) | i);
      mask |= wpam::TextColor;
      break;
    }
  }
  const std::uint8_t styles = kStyleBold | kStyleItalic | kStyleUnderline | kStyleStrikeOut;
  attr.Style = FFont.Style & styles;
  attr.Special = 0;
  FDocument->SetAttributes(mask, attr);
}

void TWPCustomRtfEdit::SetInserting(bool on) {
  FDocument->Inserting = on;
  PlaceCaret();
}

void TWPCustomRtfEdit::SetNoBlockMarking(bool on) {
  FDocument->NoBlockMarking = on;
  // A selection cannot stay when marking is switched either way.
  FDocument->ClearSelectionAndRepaint();
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
  if (!visible) FCaret.Hide();
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
  if (FUpdatingBars) return;
  const int range = std::max(FDocument->DocumentHeight() - ClientHeight(), 0);
  FDocument->VertScrollCommand(scThumbPosition, std::max(0, position * range / kScrollRange));
}

void TWPCustomRtfEdit::ScrollHorzTo(int position) {
  if (FUpdatingBars) return;
  const int range = std::max(FDocument->Header.TextWidthPixels - FDocument->WrapWidth(), 0);
  FDocument->HorzScrollCommand(scThumbPosition, std::max(0, MulDiv(position, range, kScrollRange)));
}

void TWPCustomRtfEdit::ScrollBarAction(bool vertical, int action) {
  int code = -1;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      code = scLineUp;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      code = scLineDown;
      break;
    case QAbstractSlider::SliderPageStepSub:
      code = scPageUp;
      break;
    case QAbstractSlider::SliderPageStepAdd:
      code = scPageDown;
      break;
    case QAbstractSlider::SliderToMinimum:
      code = scTop;
      break;
    case QAbstractSlider::SliderToMaximum:
      code = scBottom;
      break;
    default:
      return;  // dragging the thumb arrives as a value
  }
  // The document scrolls by pixels and sets the bar; the bar's own step is dropped.
  FUpdatingBars = true;
  QScrollBar* bar = vertical ? FVertBar : FHorzBar;
  bar->setSliderPosition(bar->value());
  FUpdatingBars = false;
  if (vertical)
    FDocument->VertScrollCommand(code);
  else
    FDocument->HorzScrollCommand(code);
  UpdateScrollBars();
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

void TWPCustomRtfEdit::paintEvent(QPaintEvent* event) {
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
  // Only the lines that meet the damaged band are painted again.
  const QRect client(0, 0, ClientWidth(), ClientHeight());
  const QRect band = event->rect().translated(-b, -b).intersected(client);
  if (band.isEmpty()) return;
  painter.save();
  painter.translate(b, b);
  painter.setClipRect(client);
  TWPCanvas canvas(&painter, this);
  try {
    doc.PaintVisible(&canvas, &band);
  } catch (const std::exception&) {
    // A document that cannot be laid out stops the repaint; the paint event
    // never ends in an exception.
  }
  painter.restore();
  FCaret.Paint(painter);
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
  doc.AnchorSet = false;
  doc.ScrollTop = FTopOffset;
  doc.HorzOffset = -FLeftOffset;
  doc.ReformatAll();
  doc.UpdateCaret();
  update();
}

void TWPCustomRtfEdit::SetIndents(int firstIndent, int leftIndent, int rightIndent) {
  if (!EditingAllowed()) return;
  auto set = [](std::int32_t& field, int value) {
    if (value != -1000 && value < 65000) field = value;
  };
  const bool changed = ChangeParagraphs(
      [&](TParagraph& par) {
        set(par.FirstIndent, firstIndent);
        set(par.LeftIndent, leftIndent);
        set(par.RightIndent, rightIndent);
      },
      true);
  if (changed) Change();
}

bool TWPCustomRtfEdit::ChangeParagraphs(const std::function<void(TParagraph& par)>& change, bool wholeRows) {
  TWPRTFTextInput& doc = *FDocument;
  if (!doc.IsValidPosition(doc.CursorParagraph, doc.CursorLine, doc.CursorIndex)) doc.SetCursorToStart();
  TParagraph* first = doc.CursorParagraph;
  TParagraph* last = doc.CursorParagraph;
  if (doc.HasSelection()) {
    first = doc.SelectionFrom().Par;
    last = doc.SelectionTo().Par;
  } else if (wholeRows && first && first->IsTableCell()) {
    // A cell's indents are its row's.
    while (first->Prev && (first->ParFlags & kParNotFirstCell)) first = first->Prev;
    while (last->Next && (last->ParFlags & kParMoreCells)) last = last->Next;
  }
  if (!first) return false;
  for (TParagraph* par = first; par; par = par->Next) {
    change(*par);
    par->ParState |= kParNeedsWrap;
    if (par == last) break;
  }
  doc.ReformatMarked();
  doc.Repaint();
  doc.ShowCaretInView();
  return true;
}

void TWPCustomRtfEdit::SetText(const std::string& text) {
  TWPRTFTextInput& doc = *FDocument;
  if (text.empty()) {
    Clear();
    return;
  }
  doc.ReformatPending = true;
  Clear();
  const TWPLoadFormat format = doc.LoadFormat;
  doc.LoadFormat = AutomaticFormat;
  TMemoryStream stream(text);
  doc.LoadFromStream(stream);
  doc.LoadFormat = format;
  doc.CarryOutPendingReformat();
  doc.ReformatAll();
  doc.UpdateCaret();
  Change();
  update();
}

// ---------------------------------------------------------------------------
// Caret, selection and attributes

void TWPCustomRtfEdit::PlaceCaret() {
  const QRect caret = FDocument->CaretWindowRect();
  const int b = BorderWidth();
  const int x = caret.x() == TWPRTFTextInput::kCaretOutOfSight ? caret.x() : caret.x() + b;
  FCaret.Move(x, caret.y() + b, Inserting() ? 1 : 2, caret.height());
}

void TWPCustomRtfEdit::SetCaretPosition(int position) { FDocument->SetCaretPosition(position); }

void TWPCustomRtfEdit::SetWritingAttributes(const TAttr& attr) {
  if (!EditingAllowed()) return;
  FDocument->CurrentAttr = attr;
  FDocument->SetAttributes(wpam::WritingAttributes, attr);
  Change();
}

void TWPCustomRtfEdit::SelectAll() { FDocument->SelectAll(); }
