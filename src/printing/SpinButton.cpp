#include "printing/SpinButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "printing/TimerSpeedButton.h"

namespace {

QPixmap Arrow(bool up) {
  QPixmap glyph(9, 5);
  glyph.fill(Qt::transparent);
  QPainter painter(&glyph);
  painter.setPen(Qt::black);
  // Rows of 9, 7, 5, 3 and 1 pixels, the point toward the arrow's direction.
  for (int row = 0; row < 5; ++row) {
    const int y = up ? 4 - row : row;
    painter.drawLine(row, y, 8 - row, y);
  }
  return glyph;
}

}  // namespace

QPixmap SpinUpGlyph() { return Arrow(true); }
QPixmap SpinDownGlyph() { return Arrow(false); }

TSpinButton::TSpinButton(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setMinimumWidth(MinimumWidth);
  FUpGlyph = SpinUpGlyph();
  FDownGlyph = SpinDownGlyph();
  FUpButton = CreateButton(FUpGlyph, &TSpinButton::OnUpClick);
  FDownButton = CreateButton(FDownGlyph, &TSpinButton::OnDownClick);
  FFocusedButton = FUpButton;
  resize(20, 25);
  AdjustButtons();
}

TTimerSpeedButton* TSpinButton::CreateButton(const QPixmap& glyph, TNotifyEvent TSpinButton::*event) {
  auto* button = new TTimerSpeedButton(this);
  button->setAutoRaise(false);  // two raised halves, one above the other
  button->setIcon(QIcon(glyph));
  button->setIconSize(glyph.size());
  button->SetTimeBtnState(TTimerSpeedButton::tbAllowTimer);
  button->installEventFilter(this);
  connect(button, &TTimerSpeedButton::clicked, this, [this, event] {
    if (this->*event) (this->*event)(this);
  });
  return button;
}

void TSpinButton::SetUpGlyph(const QPixmap& glyph) {
  FUpGlyph = glyph.isNull() ? SpinUpGlyph() : glyph;
  FUpButton->setIcon(QIcon(FUpGlyph));
  FUpButton->setIconSize(FUpGlyph.size());
}

void TSpinButton::SetDownGlyph(const QPixmap& glyph) {
  FDownGlyph = glyph.isNull() ? SpinDownGlyph() : glyph;
  FDownButton->setIcon(QIcon(FDownGlyph));
  FDownButton->setIconSize(FDownGlyph.size());
}

void TSpinButton::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  AdjustButtons();
}

void TSpinButton::AdjustButtons() {
  const int w = width();
  const int h = height();
  const int upHeight = h / 2;
  FUpButton->setGeometry(0, 0, w, upHeight);
  // The down button overlaps the up button by one pixel.
  FDownButton->setGeometry(0, upHeight - 1, w, h - upHeight + 1);
}

bool TSpinButton::CanFocus(const QWidget& widget) {
  return widget.isEnabled() && widget.isVisible() && widget.focusPolicy() != Qt::NoFocus &&
         widget.window()->isEnabled();
}

void TSpinButton::SetFocusBtn(TTimerSpeedButton* button) {
  if (!IsTabStop() || !CanFocus(*this) || button == FFocusedButton) return;
  FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() & ~TTimerSpeedButton::tbFocusRect);
  FFocusedButton = button;
  if (hasFocus()) {
    FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() | TTimerSpeedButton::tbFocusRect);
    update();
  }
}

void TSpinButton::BtnMouseDown(TTimerSpeedButton* button) {
  SetFocusBtn(button);
  if (FocusControl && (FocusControl->focusPolicy() & Qt::TabFocus) && CanFocus(*FocusControl) &&
      !FocusControl->hasFocus())
    FocusControl->setFocus(Qt::MouseFocusReason);
  else if (IsTabStop() && !hasFocus() && CanFocus(*this))
    setFocus(Qt::MouseFocusReason);
}

bool TSpinButton::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
      (watched == FUpButton || watched == FDownButton))
    BtnMouseDown(static_cast<TTimerSpeedButton*>(watched));
  return QWidget::eventFilter(watched, event);
}

void TSpinButton::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Space:
      FFocusedButton->Click();
      break;
    case Qt::Key_Up:
      SetFocusBtn(FUpButton);
      FUpButton->Click();
      break;
    case Qt::Key_Down:
      SetFocusBtn(FDownButton);
      FDownButton->Click();
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
}

void TSpinButton::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() | TTimerSpeedButton::tbFocusRect);
  FFocusedButton->repaint();
}

void TSpinButton::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  FFocusedButton->SetTimeBtnState(FFocusedButton->TimeBtnState() & ~TTimerSpeedButton::tbFocusRect);
  FFocusedButton->repaint();
}
