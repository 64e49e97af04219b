#include "printing/PaintBox.h"

#include <QMouseEvent>
#include <QPainter>

void TPaintBox::paintEvent(QPaintEvent*) {
  if (!OnPaint) return;
  QPainter painter(this);
  OnPaint(painter);
}

void TPaintBox::mousePressEvent(QMouseEvent* event) {
  if (!OnMouseDown) return QWidget::mousePressEvent(event);
  OnMouseDown(event->button(), event->position().toPoint());
  event->accept();
}
