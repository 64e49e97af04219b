#include "app/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

const QColor kInk(40, 40, 40);
const QColor kLabelFace(255, 255, 240);
const QColor kFolder(222, 178, 84);
const QColor kFolderDark(170, 124, 40);
const QColor kStripe(70, 110, 200);

template <typename Draw>
QPixmap Paint16(Draw draw) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  draw(p);
  return pixmap;
}

// The disabled look is drawn by the style from the same pixmap.
QIcon IconOf(const QPixmap& pixmap) { return QIcon(pixmap); }

void Magnifier(QPainter& p, bool plus) {
  p.setPen(QPen(kInk, 1.4));
  p.setBrush(QColor(220, 235, 255));
  p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
  p.setPen(QPen(kInk, 2.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
  p.setPen(QPen(kInk, 1.4));
  p.drawLine(QPointF(3.8, 6), QPointF(8.2, 6));
  if (plus) p.drawLine(QPointF(6, 3.8), QPointF(6, 8.2));
}

// A small label with a coloured stripe, as on folder label stock.
void Label(QPainter& p, const QRectF& r) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kLabelFace);
  p.drawRoundedRect(r, 1.5, 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(kStripe);
  p.drawRect(QRectF(r.left() + 1, r.top() + 1, r.width() - 2, 1.6));
}

void Arrow(QPainter& p, QPointF from, QPointF to) {
  p.setPen(QPen(QColor(0, 130, 0), 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(from, to);
  const QPointF d = (to - from) / std::max(1.0, std::hypot((to - from).x(), (to - from).y()));
  const QPointF n(-d.y(), d.x());
  QPolygonF head;
  head << to + d * 1.5 << to - d * 2.5 + n * 2.5 << to - d * 2.5 - n * 2.5;
  p.setBrush(QColor(0, 130, 0));
  p.setPen(Qt::NoPen);
  p.drawPolygon(head);
}

}  // namespace

QIcon ZoomInGlyph() {
  return IconOf(Paint16([](QPainter& p) { Magnifier(p, true); }));
}

QIcon ZoomOutGlyph() {
  return IconOf(Paint16([](QPainter& p) { Magnifier(p, false); }));
}

QIcon PrintGlyph() {
  return IconOf(Paint16([](QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));  // paper going in
    p.setBrush(QColor(170, 170, 170));
    p.drawRoundedRect(QRectF(1.5, 6.5, 13, 5.5), 1, 1);  // body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));  // paper coming out
    p.setPen(QPen(kStripe, 1));
    p.drawLine(QPointF(5.5, 12.5), QPointF(10.5, 12.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 170, 0));
    p.drawEllipse(QRectF(11.5, 8, 1.6, 1.6));
  }));
}

QIcon CloneNextGlyph() {
  return IconOf(Paint16([](QPainter& p) {
    Label(p, QRectF(0.5, 1.5, 8, 5));
    Label(p, QRectF(7.5, 9.5, 8, 5));
    Arrow(p, QPointF(4.5, 8), QPointF(6.5, 11.5));
  }));
}

QIcon CloneAllGlyph() {
  return IconOf(Paint16([](QPainter& p) {
    Label(p, QRectF(0.5, 0.5, 7, 4.5));
    Label(p, QRectF(8.5, 0.5, 7, 4.5));
    Label(p, QRectF(0.5, 5.5, 7, 4.5));
    Label(p, QRectF(8.5, 5.5, 7, 4.5));
    Label(p, QRectF(0.5, 10.5, 7, 4.5));
    Label(p, QRectF(8.5, 10.5, 7, 4.5));
  }));
}

QIcon SymbolGlyph() {
  return IconOf(Paint16([](QPainter& p) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(120, 0, 120));
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QString(QChar(0x03A9)));  // omega
  }));
}

QPixmap ProductLogo(int side) { return QPixmap::fromImage(ProductLogoImage(side)); }

QImage ProductLogoImage(int side) {
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.scale(side / 64.0, side / 64.0);
  // Back of the folder with its tab.
  QPainterPath back;
  back.moveTo(4, 14);
  back.lineTo(30, 14);
  back.lineTo(34, 6);
  back.lineTo(58, 6);
  back.lineTo(60, 10);
  back.lineTo(60, 56);
  back.lineTo(4, 56);
  back.closeSubpath();
  p.setPen(QPen(kFolderDark, 1.5));
  p.setBrush(kFolderDark.lighter(130));
  p.drawPath(back);
  // The label on the tab.
  p.setPen(QPen(kInk, 0.8));
  p.setBrush(kLabelFace);
  p.drawRoundedRect(QRectF(36, 7.5, 20, 7), 1.2, 1.2);
  p.setPen(Qt::NoPen);
  p.setBrush(kStripe);
  p.drawRect(QRectF(37, 8.5, 18, 1.6));
  p.setPen(QPen(kInk, 0.8));
  p.drawLine(QPointF(39, 12.4), QPointF(52, 12.4));
  // Front of the folder.
  QLinearGradient front(0, 20, 0, 60);
  front.setColorAt(0, kFolder.lighter(115));
  front.setColorAt(1, kFolder);
  p.setPen(QPen(kFolderDark, 1.5));
  p.setBrush(front);
  QPainterPath flap;
  flap.moveTo(2, 22);
  flap.lineTo(62, 22);
  flap.lineTo(59, 58);
  flap.lineTo(5, 58);
  flap.closeSubpath();
  p.drawPath(flap);
  // A pen writing a line of text.
  p.setPen(QPen(kInk, 1.2));
  p.drawLine(QPointF(12, 44), QPointF(34, 44));
  p.drawLine(QPointF(12, 50), QPointF(28, 50));
  p.end();
  return image;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int side : {16, 24, 32, 48, 64}) icon.addPixmap(ProductLogo(side));
  return icon;
}
