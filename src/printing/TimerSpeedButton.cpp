#include "printing/TimerSpeedButton.h"

#include <QMouseEvent>
#include <QPainter>

TTimerSpeedButton::TTimerSpeedButton(QWidget* parent) : QToolButton(parent) {
  setAutoRaise(true);
  setFocusPolicy(Qt::NoFocus);
  setToolButtonStyle(Qt::ToolButtonIconOnly);
}

TTimerSpeedButton::~TTimerSpeedButton() = default;

void TTimerSpeedButton::SetTimeBtnState(unsigned state) {
  if (state == FTimeBtnState) return;
  FTimeBtnState = state;
  update();
}

void TTimerSpeedButton::Click() { emit clicked(false); }

void TTimerSpeedButton::mousePressEvent(QMouseEvent* event) {
  QToolButton::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) FMouseCaptured = true;
  if (!Has(tbAllowTimer)) return;
  if (!FRepeatTimer) {
    FRepeatTimer = CreateRepeatTimer();
    FRepeatTimer->OnTimer = [this] { TimerExpired(); };
  }
  FCount = 1;
  FRepeatTimer->SetInterval(FInitialPause);
  FRepeatTimer->SetEnabled(true);
}

void TTimerSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) FMouseCaptured = false;
  if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
  QToolButton::mouseReleaseEvent(event);
}

void TTimerSpeedButton::TimerExpired() {
  if (!FRepeatTimer) return;
  FRepeatTimer->SetInterval(FRepeatPause);
  if (!isDown() || !FMouseCaptured) return;
  try {
    Click();
    ++FCount;
  } catch (...) {
    FRepeatTimer->SetEnabled(false);
    throw;
  }
}

void TTimerSpeedButton::paintEvent(QPaintEvent* event) {
  QToolButton::paintEvent(event);
  if (!Has(tbFocusRect)) return;
  QRect focus = rect().adjusted(3, 3, -3, -3);  // 3 pixels in from every edge
  if (isDown()) focus.translate(1, 1);
  // Every other pixel of the outline, from the corner on.
  QPolygon dots;
  for (int x = focus.left(); x <= focus.right(); x += 2)
    dots << QPoint(x, focus.top()) << QPoint(x, focus.bottom());
  for (int y = focus.top(); y <= focus.bottom(); y += 2)
    dots << QPoint(focus.left(), y) << QPoint(focus.right(), y);
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::ButtonText));
  painter.drawPoints(dots);
}
