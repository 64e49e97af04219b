#include "richtext/gui/ToolGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <map>

namespace {

using TDraw = std::function<void(QPainter&)>;

const QColor kInk(0, 0, 0);
const QColor kPaper(255, 255, 255);
const QColor kBlue(0, 0, 160);
const QColor kRed(192, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kGrey(128, 128, 128);
const QColor kYellow(240, 200, 40);

void Letter(QPainter& p, const QString& text, bool bold, bool italic, const QColor& color = kInk,
            const QRect& box = QRect(0, 0, 16, 15), int pixels = 13) {
  QFont font(QStringLiteral("Times New Roman"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setItalic(italic);
  p.setFont(font);
  p.setPen(color);
  p.drawText(box, Qt::AlignCenter, text);
}

void Bar(QPainter& p, int x, int y, int width, const QColor& color = kInk) {
  p.fillRect(QRect(x, y, width, 1), color);
}

// Five text lines, as the alignment buttons show them.
void TextLines(QPainter& p, Qt::Alignment align) {
  for (int row = 0; row < 5; ++row) {
    const int width = align == Qt::AlignJustify || row % 2 == 0 ? 12 : 8;
    int x = 2;
    if (align == Qt::AlignRight) x = 14 - width;
    if (align == Qt::AlignHCenter) x = 8 - width / 2;
    Bar(p, x, 3 + row * 2 + row / 2, width);
  }
}

void Page(QPainter& p, const QRect& r) {
  QPolygon outline;
  outline << r.topLeft() << QPoint(r.right() - 3, r.top()) << QPoint(r.right(), r.top() + 3)
          << r.bottomRight() << r.bottomLeft();
  p.setPen(kInk);
  p.setBrush(kPaper);
  p.drawPolygon(outline);
  p.drawLine(r.right() - 3, r.top(), r.right() - 3, r.top() + 3);
  p.drawLine(r.right() - 3, r.top() + 3, r.right(), r.top() + 3);
}

void PageWithLines(QPainter& p, const QRect& r) {
  Page(p, r);
  for (int y = r.top() + 5; y < r.bottom() - 1; y += 2) Bar(p, r.left() + 2, y, r.width() - 4, kGrey);
}

void Folder(QPainter& p) {
  p.setPen(kInk);
  p.setBrush(kYellow);
  p.drawPolygon(
      QPolygon({QPoint(1, 4), QPoint(5, 4), QPoint(6, 5), QPoint(13, 5), QPoint(13, 13), QPoint(1, 13)}));
  p.setBrush(QColor(255, 230, 120));
  p.drawPolygon(QPolygon({QPoint(3, 8), QPoint(15, 8), QPoint(13, 13), QPoint(1, 13)}));
}

void Disk(QPainter& p) {
  p.setPen(kInk);
  p.setBrush(QColor(40, 60, 140));
  p.drawRect(1, 1, 13, 13);
  p.fillRect(QRect(4, 2, 8, 5), kPaper);
  p.fillRect(QRect(4, 10, 8, 4), kGrey);
}

void Printer(QPainter& p) {
  p.setPen(kInk);
  p.setBrush(kPaper);
  p.drawRect(4, 1, 8, 5);
  p.setBrush(QColor(192, 192, 192));
  p.drawRect(1, 6, 14, 6);
  p.setBrush(kPaper);
  p.drawRect(4, 10, 8, 5);
  p.fillRect(QRect(12, 8, 2, 1), kGreen);
}

void Magnifier(QPainter& p, int x = 0, int y = 0) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kInk, 1.3));
  p.setBrush(QColor(210, 230, 255));
  p.drawEllipse(QRectF(x + 1.5, y + 1.5, 8, 8));
  p.setPen(QPen(kInk, 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(x + 8.5, y + 8.5), QPointF(x + 13, y + 13));
  p.setRenderHint(QPainter::Antialiasing, false);
}

void Triangle(QPainter& p, int tipX, bool right, const QColor& color = kBlue) {
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  const int back = right ? tipX - 5 : tipX + 5;
  p.drawPolygon(QPolygon({QPoint(tipX, 8), QPoint(back, 3), QPoint(back, 13)}));
}

void Cross(QPainter& p, const QColor& color, int inset = 3) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(color, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(inset, inset), QPointF(15 - inset, 15 - inset));
  p.drawLine(QPointF(15 - inset, inset), QPointF(inset, 15 - inset));
  p.setRenderHint(QPainter::Antialiasing, false);
}

void Wavy(QPainter& p, const QColor& color) {
  Letter(p, QStringLiteral("ab"), false, false, kInk, QRect(0, 0, 16, 12), 11);
  p.setPen(color);
  for (int x = 1; x < 15; ++x) p.drawPoint(x, x % 2 == 0 ? 13 : 14);
}

void Marker(QPainter& p, const QColor& color) {
  p.fillRect(QRect(1, 4, 14, 8), color.lighter(160));
  Letter(p, QStringLiteral("ab"), false, false, kInk, QRect(0, 1, 16, 13), 11);
}

void IndentArrow(QPainter& p, bool in) {
  for (int row = 0; row < 5; ++row)
    Bar(p, row == 0 || row == 4 ? 2 : 8, 3 + row * 2 + row / 2, row == 0 || row == 4 ? 12 : 6);
  Triangle(p, in ? 6 : 2, in, kBlue);
}

const std::map<QString, TDraw>& Glyphs() {
  static const std::map<QString, TDraw> glyphs = {
      {"WPI_NORMAL", [](QPainter& p) { Letter(p, QStringLiteral("A"), false, false); }},
      {"WPI_BOLD", [](QPainter& p) { Letter(p, QStringLiteral("B"), true, false); }},
      {"WPI_ITALIC", [](QPainter& p) { Letter(p, QStringLiteral("I"), true, true); }},
      {"WPI_UNDER",
       [](QPainter& p) {
         Letter(p, QStringLiteral("U"), true, false, kInk, QRect(0, 0, 16, 13));
         Bar(p, 3, 14, 10);
       }},
      {"WPI_STRIKEOUT",
       [](QPainter& p) {
         Letter(p, QStringLiteral("S"), true, false);
         Bar(p, 2, 8, 12, kRed);
       }},
      {"WPI_SUPER",
       [](QPainter& p) {
         Letter(p, QStringLiteral("x"), false, false, kInk, QRect(0, 3, 11, 12));
         Letter(p, QStringLiteral("2"), true, false, kBlue, QRect(9, 0, 7, 8), 8);
       }},
      {"WPI_SUB",
       [](QPainter& p) {
         Letter(p, QStringLiteral("x"), false, false, kInk, QRect(0, 0, 11, 12));
         Letter(p, QStringLiteral("2"), true, false, kBlue, QRect(9, 8, 7, 8), 8);
       }},
      {"WPI_HYPERLINK",
       [](QPainter& p) {
         Letter(p, QStringLiteral("www"), false, false, kBlue, QRect(0, 0, 16, 13), 7);
         Bar(p, 1, 12, 14, kBlue);
       }},
      {"WPI_HIDDEN",
       [](QPainter& p) {
         Letter(p, QStringLiteral("ab"), false, false, kGrey, QRect(0, 0, 16, 13), 11);
         for (int x = 1; x < 15; x += 2) p.drawPoint(x, 13);
       }},
      {"WPI_RTFCODE",
       [](QPainter& p) { Letter(p, QStringLiteral("{\\}"), true, false, kRed, QRect(0, 0, 16, 15), 10); }},
      {"WPI_LEFT", [](QPainter& p) { TextLines(p, Qt::AlignLeft); }},
      {"WPI_CENTER", [](QPainter& p) { TextLines(p, Qt::AlignHCenter); }},
      {"WPI_RIGHT", [](QPainter& p) { TextLines(p, Qt::AlignRight); }},
      {"WPI_JUSTIFIED", [](QPainter& p) { TextLines(p, Qt::AlignJustify); }},
      {"WPI_NEW", [](QPainter& p) { Page(p, QRect(3, 1, 10, 14)); }},
      {"WPI_OPEN", [](QPainter& p) { Folder(p); }},
      {"WPI_SAVE", [](QPainter& p) { Disk(p); }},
      {"WPI_CLOSE",
       [](QPainter& p) {
         PageWithLines(p, QRect(1, 1, 10, 14));
         Cross(p, kRed, 8);
       }},
      {"WPI_EXIT",
       [](QPainter& p) {
         p.setPen(kInk);
         p.setBrush(QColor(160, 100, 50));
         p.drawRect(2, 1, 8, 14);
         Triangle(p, 15, true, kGreen);
         p.fillRect(QRect(8, 7, 3, 3), kGreen);
       }},
      {"WPI_PRINT", [](QPainter& p) { Printer(p); }},
      {"WPI_PRINTSETUP",
       [](QPainter& p) {
         Printer(p);
         p.setPen(kInk);
         p.setBrush(kYellow);
         p.drawEllipse(9, 9, 6, 6);
       }},
      {"WPI_TOSTART",
       [](QPainter& p) {
         p.fillRect(QRect(3, 3, 2, 11), kBlue);
         Triangle(p, 5, false);
         Triangle(p, 9, false);
       }},
      {"WPI_PREV", [](QPainter& p) { Triangle(p, 5, false); }},
      {"WPI_NEXT", [](QPainter& p) { Triangle(p, 11, true); }},
      {"WPI_TOEND",
       [](QPainter& p) {
         Triangle(p, 7, true);
         Triangle(p, 11, true);
         p.fillRect(QRect(11, 3, 2, 11), kBlue);
       }},
      {"WPI_ADD",
       [](QPainter& p) {
         p.fillRect(QRect(7, 2, 2, 12), kGreen);
         p.fillRect(QRect(2, 7, 12, 2), kGreen);
       }},
      {"WPI_DEL", [](QPainter& p) { p.fillRect(QRect(2, 7, 12, 2), kRed); }},
      {"WPI_EDIT",
       [](QPainter& p) {
         p.setRenderHint(QPainter::Antialiasing, true);
         p.setPen(QPen(kYellow.darker(130), 3, Qt::SolidLine, Qt::FlatCap));
         p.drawLine(QPointF(12.5, 2.5), QPointF(4.5, 10.5));
         p.setPen(QPen(kInk, 1));
         p.drawLine(QPointF(3, 13), QPointF(4.5, 10.5));
         p.setRenderHint(QPainter::Antialiasing, false);
         Bar(p, 1, 14, 14);
       }},
      {"WPI_CANCEL", [](QPainter& p) { Cross(p, kRed); }},
      {"WPI_POST",
       [](QPainter& p) {
         p.setRenderHint(QPainter::Antialiasing, true);
         p.setPen(QPen(kGreen, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
         p.drawPolyline(QPolygonF({QPointF(2.5, 8.5), QPointF(6, 12.5), QPointF(13.5, 3.5)}));
       }},
      {"WPI_SELALL",
       [](QPainter& p) {
         p.fillRect(QRect(2, 2, 12, 12), QColor(190, 210, 255));
         for (int y = 4; y <= 12; y += 2) Bar(p, 4, y, 8);
         p.setPen(QPen(kInk, 1, Qt::DotLine));
         p.setBrush(Qt::NoBrush);
         p.drawRect(1, 1, 13, 13);
       }},
      {"WPI_HIDESEL",
       [](QPainter& p) {
         for (int y = 4; y <= 12; y += 2) Bar(p, 3, y, 10);
         p.setPen(QPen(kInk, 1, Qt::DotLine));
         p.setBrush(Qt::NoBrush);
         p.drawRect(1, 1, 13, 13);
       }},
      {"WPI_CUT",
       [](QPainter& p) {
         p.setRenderHint(QPainter::Antialiasing, true);
         p.setPen(QPen(kInk, 1.2));
         p.drawLine(QPointF(5, 1), QPointF(10, 10));
         p.drawLine(QPointF(11, 1), QPointF(6, 10));
         p.setPen(QPen(kBlue, 1.4));
         p.setBrush(Qt::NoBrush);
         p.drawEllipse(QRectF(2, 10, 4, 4));
         p.drawEllipse(QRectF(10, 10, 4, 4));
       }},
      {"WPI_COPY",
       [](QPainter& p) {
         PageWithLines(p, QRect(1, 1, 8, 10));
         PageWithLines(p, QRect(6, 5, 8, 10));
       }},
      {"WPI_PASTE",
       [](QPainter& p) {
         p.setPen(kInk);
         p.setBrush(QColor(170, 120, 60));
         p.drawRect(1, 2, 10, 12);
         p.fillRect(QRect(4, 1, 4, 3), kGrey);
         PageWithLines(p, QRect(6, 6, 9, 9));
       }},
      {"WPI_FIND", [](QPainter& p) { Magnifier(p); }},
      {"WPI_FINDAGAIN",
       [](QPainter& p) {
         Magnifier(p, -1, -1);
         Triangle(p, 15, true, kGreen);
       }},
      {"WPI_REPLACE",
       [](QPainter& p) {
         Letter(p, QStringLiteral("a"), true, false, kInk, QRect(0, 0, 8, 9), 9);
         Letter(p, QStringLiteral("b"), true, false, kBlue, QRect(8, 7, 8, 9), 9);
         p.setPen(kRed);
         p.drawLine(3, 10, 3, 13);
         p.drawLine(3, 13, 8, 13);
       }},
      {"WPI_SPELL",
       [](QPainter& p) {
         Letter(p, QStringLiteral("abc"), false, false, kInk, QRect(0, 0, 16, 9), 8);
         p.setRenderHint(QPainter::Antialiasing, true);
         p.setPen(QPen(kGreen, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
         p.drawPolyline(QPolygonF({QPointF(3, 11), QPointF(6, 14), QPointF(13, 8)}));
       }},
      {"WPI_INDENT", [](QPainter& p) { IndentArrow(p, true); }},
      {"WPI_UNINDENT", [](QPainter& p) { IndentArrow(p, false); }},
      {"WPI_LOCKED",
       [](QPainter& p) {
         p.setPen(QPen(kGrey, 2));
         p.setBrush(Qt::NoBrush);
         p.drawArc(QRect(4, 1, 8, 10), 0, 180 * 16);
         p.setPen(kInk);
         p.setBrush(kYellow);
         p.drawRect(2, 7, 12, 8);
       }},
      {"WPI_MARK_BLUE", [](QPainter& p) { Marker(p, QColor(0, 120, 255)); }},
      {"WPI_MARK_RED", [](QPainter& p) { Marker(p, QColor(255, 60, 60)); }},
      {"WPI_UNDER_GREEN", [](QPainter& p) { Wavy(p, kGreen); }},
      {"WPI_UNDER_RED", [](QPainter& p) { Wavy(p, kRed); }},
  };
  return glyphs;
}

}  // namespace

QPixmap ToolBarGlyph(const QString& name) {
  const auto found = Glyphs().find(name.toUpper());
  if (found == Glyphs().end()) return {};
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  found->second(painter);
  return pixmap;
}

QStringList ToolBarGlyphNames() {
  QStringList names;
  for (const auto& [name, draw] : Glyphs()) names << name;
  return names;
}
