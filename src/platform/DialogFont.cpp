#include "platform/DialogFont.h"

#include <QScreen>
#include <QWidget>

QFont DialogFont(const QWidget& widget) {
  QFont font(QStringLiteral("Arial"));
  const QScreen* screen = widget.screen();
  const int ppi = screen ? qRound(screen->logicalDotsPerInchY()) : 96;
  font.setPixelSize((8 * (ppi > 0 ? ppi : 96) + 36) / 72);  // 8 points, rounded
  return font;
}
