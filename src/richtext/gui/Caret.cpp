#include "richtext/gui/Caret.h"

#include <QGuiApplication>
#include <QPainter>
#include <QStyleHints>
#include <QWidget>
#include <algorithm>

TCaret::TCaret(QWidget* owner) : QObject(owner), FOwner(owner) {
  connect(&FBlink, &QTimer::timeout, this, [this] { Blink(); });
}

void TCaret::CreateAndShow() {
  if (FDisabled || !FOwner->isEnabled() || !FOwner->isVisible() || !FOwner->hasFocus()) return;
  FCreated = true;
  FShown = true;
  FLit = true;
  const int flash = QGuiApplication::styleHints()->cursorFlashTime();
  if (flash > 0)
    FBlink.start(flash / 2);
  else
    FBlink.stop();
  Invalidate();
}

void TCaret::Hide() {
  if (FShown) Invalidate();
  FCreated = false;
  FShown = false;
  FBlink.stop();
}

void TCaret::Move(int x, int y, int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 4);
  if (x == FX && y == FY && width == FWidth && height == FHeight) return;
  if (FShown) Invalidate();
  FX = x;
  FY = y;
  FWidth = width;
  FHeight = height;
  // A caret that moved is lit at once, as the user expects while typing.
  FLit = true;
  if (FShown) {
    if (FBlink.isActive()) FBlink.start();
    Invalidate();
  }
}

void TCaret::SetDisabled(bool on) {
  FDisabled = on;
  if (on)
    Hide();
  else
    CreateAndShow();
}

void TCaret::Paint(QPainter& painter) const {
  if (!FShown || !FLit || FX < 0) return;
  painter.save();
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.fillRect(Rect(), Qt::white);
  painter.restore();
}

void TCaret::Invalidate() {
  if (FX >= 0) FOwner->update(Rect());
}

void TCaret::Blink() {
  FLit = !FLit;
  Invalidate();
}
