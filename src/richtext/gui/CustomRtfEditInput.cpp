// The editor control's input: the key table, typed characters, the mouse,
// the focus and the clipboard. Every handler forwards to the document and
// raises OnChange last, after a change that succeeded: the change handler
// may replace the whole document.
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

#include "richtext/gui/AnsiCodec.h"
#include "richtext/gui/CustomRtfEdit.h"
#include "richtext/gui/RtfClipboard.h"

namespace {

// Control codes of the typed characters that mean commands.
constexpr char kCtrlC = 3;
constexpr char kCtrlV = 22;
constexpr char kCtrlX = 24;
constexpr char kEscape = 27;
constexpr char kBackspace = 8;
constexpr char kEnter = 13;
constexpr char kTab = 9;
constexpr char kLineFeed = 10;
// Characters the editor writes for the Delete key and Ctrl+Enter.
constexpr char kDelete = 127;
constexpr char kPageBreak = 12;
// The square at the corner of a selected object that resizes it.
constexpr int kHandleSize = 10;

}  // namespace

QPoint TWPCustomRtfEdit::ClientPoint(const QPointF& widgetPoint) const {
  const int b = BorderWidth();
  return widgetPoint.toPoint() - QPoint(b, b);
}

// ---------------------------------------------------------------------------
// Keyboard

bool TWPCustomRtfEdit::event(QEvent* event) {
  // Tab belongs to the text only when the control wants tabs; Ctrl+Tab and
  // Shift+Tab are always its own events.
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
    const bool plain = key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Tab;
    if (tab && (WantTabs || !plain)) {
      keyPressEvent(key);
      return true;
    }
  }
  return QWidget::event(event);
}

void TWPCustomRtfEdit::keyPressEvent(QKeyEvent* event) {
  if (!hasFocus() || !isVisible() || (event->key() == 0 && event->text().isEmpty())) {
    event->ignore();
    return;
  }
  int key = event->key();
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  if (OnKeyDown) {
    OnKeyDown(this, key, modifiers);
    if (key == 0) return;
  }
  if (KeyDown(key, modifiers)) return;

  const bool ctrl = (modifiers & Qt::ControlModifier) != 0;
  const bool alt = (modifiers & Qt::AltModifier) != 0;
  if (ctrl && !alt && key >= Qt::Key_A && key <= Qt::Key_Z) {
    KeyPress(static_cast<char>(key - Qt::Key_A + 1));
  } else if (key == Qt::Key_Backspace) {
    KeyPress(kBackspace);
  } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    KeyPress(kEnter);
  } else if (key == Qt::Key_Escape) {
    KeyPress(kEscape);
  } else if (!ctrl && !alt && !event->text().isEmpty()) {
    for (char c : wpansi::FromQString(event->text()))
      if (static_cast<unsigned char>(c) >= 32 && c != kDelete) KeyPress(c);
  } else {
    event->ignore();
  }
}

void TWPCustomRtfEdit::keyReleaseEvent(QKeyEvent* event) {
  int key = event->key();
  if (OnKeyUp) OnKeyUp(this, key, event->modifiers());
  QWidget::keyReleaseEvent(event);
}

void TWPCustomRtfEdit::inputMethodEvent(QInputMethodEvent* event) {
  // Composed characters (dead keys, input methods) arrive as one commit.
  for (char c : wpansi::FromQString(event->commitString()))
    if (static_cast<unsigned char>(c) >= 32) KeyPress(c);
  event->accept();
}

bool TWPCustomRtfEdit::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
  TWPRTFTextInput& doc = *FDocument;
  const bool shift = (modifiers & Qt::ShiftModifier) != 0;
  const bool ctrl = (modifiers & Qt::ControlModifier) != 0;
  switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      if (ctrl) {
        if (CtrlTabPressed) CtrlTabPressed(this);
      } else if (shift || key == Qt::Key_Backtab) {
        if (ShiftTabPressed) ShiftTabPressed(this);
      } else if ((modifiers & ~Qt::KeypadModifier) == Qt::NoModifier && WantTabs) {
        TypeText(std::string(1, kTab));
      }
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!ctrl) return false;  // typed as a character
      TypeText(std::string(1, kPageBreak));
      return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      if (ctrl) {
        // One screen without moving the caret.
        if (key == Qt::Key_PageUp)
          doc.ScrollUp(doc.ClipHeight);
        else
          doc.ScrollDown(doc.ClipHeight);
      } else {
        doc.MoveCaret(key == Qt::Key_PageUp ? ccPageUp : ccPageDown, shift);
      }
      return true;
    case Qt::Key_Home:
      doc.MoveCaret(ctrl ? ccDocumentStart : ccLineStart, shift);
      return true;
    case Qt::Key_End:
      doc.MoveCaret(ctrl ? ccDocumentEnd : ccLineEnd, shift);
      return true;
    case Qt::Key_Left:
      doc.MoveCaret(ctrl ? ccWordLeft : ccLeft, shift);
      return true;
    case Qt::Key_Right:
      doc.MoveCaret(ctrl ? ccWordRight : ccRight, shift);
      return true;
    case Qt::Key_Up:
      doc.MoveCaret(ccUp, shift);
      return true;
    case Qt::Key_Down:
      doc.MoveCaret(ccDown, shift);
      return true;
    case Qt::Key_Insert:
      if (shift)
        PasteFromClipboard();
      else if (ctrl)
        CopyToClipboard();
      else
        SetInserting(!Inserting());
      return true;
    case Qt::Key_Delete:
      if (shift || ctrl)
        CutToClipboard();
      else
        TypeText(std::string(1, kDelete));
      return true;
    default:
      return false;
  }
}

void TWPCustomRtfEdit::KeyPress(char key) {
  if (OnKeyPress) {
    OnKeyPress(this, key);
    if (key == 0) return;
  }
  switch (key) {
    case kCtrlC:
      CopyToClipboard();
      return;
    case kCtrlV:
      PasteFromClipboard();
      return;
    case kCtrlX:
      CutToClipboard();
      return;
    case kEscape:
      FDocument->ClearSelectionAndRepaint();
      return;
    case kTab:
    case kLineFeed:
      return;
    default:
      break;
  }
  // Other control codes (Ctrl with a letter) are commands or nothing, never text.
  if (static_cast<unsigned char>(key) < 32 && key != kBackspace && key != kEnter) return;
  TypeText(std::string(1, key));
}

void TWPCustomRtfEdit::TypeText(const std::string& text) {
  if (!EditingAllowed()) return;
  // Typed text is always visible.
  FDocument->CurrentAttr.Special &= static_cast<std::uint8_t>(~kSpecialHidden);
  FDocument->InputString(text);
  if (FDocument->InputChangedText()) Change();
}

// ---------------------------------------------------------------------------
// Mouse

bool TWPCustomRtfEdit::HyperlinkAt(const QPoint& point) {
  const TWPRTFTextPaint::TTextPos at = FDocument->CharAtPoint(point.x(), point.y());
  if (!at.Line || !at.Line->Attrs || !(at.Line->Attrs[at.Index].Style & kStyleHyperlink)) return false;
  const TAttr* attrs = at.Line->Attrs.get();
  int start = at.Index;
  int end = at.Index + 1;
  while (start > 0 && (attrs[start - 1].Style & kStyleHyperlink)) --start;
  while (end < at.Line->Length && (attrs[end].Style & kStyleHyperlink)) ++end;
  if (HyperLinkEvent)
    HyperLinkEvent(this, std::string(at.Line->Text.get() + start, end - start), attrs[start].Tag);
  return true;
}

QRect TWPCustomRtfEdit::ObjectHandle() const {
  const QRect object = FDocument->SelectedObjectRect;
  if (object.isNull() || !FDocument->HasSelection()) return {};
  return QRect(object.right() - kHandleSize + 1, object.bottom() - kHandleSize + 1, kHandleSize, kHandleSize);
}

void TWPCustomRtfEdit::mousePressEvent(QMouseEvent* event) {
  const QPoint point = ClientPoint(event->position());
  TWPRTFTextInput& doc = *FDocument;
  if (OnMouseDown) OnMouseDown(this, event->button(), event->modifiers(), point.x(), point.y());
  if (event->button() == Qt::RightButton) {
    if (!OnMouseDownRight) return;
    TTextUnderPoint under;
    const TWPRTFTextPaint::TTextPos at = doc.CharAtPoint(point.x(), point.y());
    if (at.Line && at.Line->Attrs) {
      // The run of one formatting around the character.
      const TAttr* attrs = at.Line->Attrs.get();
      int start = at.Index;
      int end = at.Index + 1;
      while (start > 0 && attrs[start - 1].SameRun(attrs[at.Index])) --start;
      while (end < at.Line->Length && attrs[end].SameRun(attrs[at.Index])) ++end;
      under.Position = doc.PositionOf(at.Par, at.Line, start);
      under.Length = end - start;
      under.Text.assign(at.Line->Text.get() + start, end - start);
      under.Attr = attrs[at.Index];
    }
    OnMouseDownRight(this, event->button(), event->modifiers(), point.x(), point.y(), under);
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  FPressPoint = point;
  FButtonHeld = true;
  if (OneClickHyperlink && HyperlinkAt(point)) {
    FButtonHeld = false;
    return;
  }
  if (EditingAllowed() && ObjectHandle().contains(point)) {
    FResizedObject = doc.SelectedObject(&FResizedObjectParagraph);
    FResizedObjectRect = doc.SelectedObjectRect;
    if (FResizedObject) return;
  }
  // Shift extends the selection to the point; a plain press anchors a new one.
  const bool extend = (event->modifiers() & Qt::ShiftModifier) != 0;
  doc.PlaceCaretAtPoint(point.x(), point.y(), true, extend);
  if (!extend) doc.AnchorAtCaret();
}

void TWPCustomRtfEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  if (OnDblClick) OnDblClick(this);
  if (event->button() == Qt::LeftButton && HyperlinkAt(ClientPoint(event->position()))) {
    FButtonHeld = false;
    return;
  }
  mousePressEvent(event);
}

void TWPCustomRtfEdit::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = ClientPoint(event->position());
  TWPRTFTextInput& doc = *FDocument;
  if (OnMouseMove) OnMouseMove(this, event->modifiers(), point.x(), point.y());
  // The change handler may have replaced the document: resize only an
  // object that is still the selected one.
  if (FResizedObject && doc.SelectedObject(&FResizedObjectParagraph) == FResizedObject) {
    doc.ResizeObject(FResizedObject, FResizedObjectParagraph, point.x() - FResizedObjectRect.left(),
                     point.y() - FResizedObjectRect.top());
    Change();
    return;
  }
  FResizedObject = nullptr;
  if (FButtonHeld && (event->buttons() & Qt::LeftButton)) {
    doc.PlaceCaretAtPoint(point.x(), point.y(), true, true);
    return;
  }
  Qt::CursorShape shape = Qt::IBeamCursor;
  if (EditingAllowed() && ObjectHandle().contains(point)) {
    shape = Qt::SizeFDiagCursor;
  } else if (HyperLinkCursor != Qt::ArrowCursor) {
    const TWPRTFTextPaint::TTextPos at = doc.CharAtPoint(point.x(), point.y());
    if (at.Line && at.Line->Attrs && (at.Line->Attrs[at.Index].Style & kStyleHyperlink))
      shape = HyperLinkCursor;
  }
  if (cursor().shape() != shape) setCursor(shape);
}

void TWPCustomRtfEdit::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint point = ClientPoint(event->position());
  if (event->button() == Qt::LeftButton) {
    const bool held = FButtonHeld;
    FButtonHeld = false;
    FResizedObject = nullptr;
    FResizedObjectParagraph = nullptr;
    // A click that did not move leaves no selection behind.
    if (held && point == FPressPoint && !(event->modifiers() & Qt::ShiftModifier))
      FDocument->ClearSelectionAndRepaint();
  }
  if (OnMouseUp) OnMouseUp(this, event->button(), event->modifiers(), point.x(), point.y());
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick)
    OnClick(this);
}

// ---------------------------------------------------------------------------
// Focus

void TWPCustomRtfEdit::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  FDocument->UpdateCaret();
  PlaceCaret();
  FCaret.CreateAndShow();
  if (EditStateEvent)
    EditStateEvent(this, FDocument->HasSelection(),
                   wpclip::HoldsText(QGuiApplication::clipboard()->mimeData()));
  if (OnEnter) OnEnter(this);
}

void TWPCustomRtfEdit::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  FCaret.Hide();
  if (OnExit) OnExit(this);
}

void TWPCustomRtfEdit::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::EnabledChange && !isEnabled()) FCaret.Hide();
  // A font given to this control itself (not one inherited from the parent)
  // becomes the font of the text, once.
  if (event->type() == QEvent::FontChange && testAttribute(Qt::WA_SetFont) && !FApplyingFont) {
    FApplyingFont = true;
    const QFont qfont = font();
    TWPFont next = FFont;
    next.Name = qfont.family().toStdString();
    if (qfont.pointSize() > 0) next.Size = qfont.pointSize();
    next.Style = static_cast<std::uint8_t>(
        (qfont.bold() ? kStyleBold : 0) | (qfont.italic() ? kStyleItalic : 0) |
        (qfont.underline() ? kStyleUnderline : 0) | (qfont.strikeOut() ? kStyleStrikeOut : 0));
    SetFont(next);
    FApplyingFont = false;
  }
}

// ---------------------------------------------------------------------------
// Clipboard

bool TWPCustomRtfEdit::CopyToClipboard() {
  bool doIt = true;
  if (OnBeforeCopyEvent) OnBeforeCopyEvent(this, doIt);
  if (!doIt || !FDocument->HasSelection()) return false;
  std::unique_ptr<QMimeData> data = wpclip::SelectionMimeData(*FDocument);
  if (!data) return false;
  QGuiApplication::clipboard()->setMimeData(data.release());
  return true;
}

void TWPCustomRtfEdit::CutToClipboard() {
  if (!CopyToClipboard() || !EditingAllowed()) return;
  if (FDocument->DeleteSelection()) Change();
}

void TWPCustomRtfEdit::PasteFromClipboard() {
  if (!EditingAllowed()) return;
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data) return;
  const bool pasted = wpclip::Paste(*FDocument, *data, [this](TParagraph* par) {
    if (OnBeforePasteEvent) OnBeforePasteEvent(this, par);
  });
  if (pasted) Change();
}
