#include "platform/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

#include "platform/AppRoutines.h"
#include "platform/IniFile.h"

namespace {

std::optional<TPlacementScreen>& ScreenOverride() {
  static std::optional<TPlacementScreen> screen;
  return screen;
}

QString SectionOf(const QWidget& form) {
  return PlacementSectionName(QString::fromLatin1(form.metaObject()->className()),
                              PlacementScreen().PixelsPerInch);
}

// The window frame around the widget's own rectangle. Only a window on the
// screen has one for sure (and none without a window manager); a hidden one
// counts without, so that what is written is what is read back.
QMargins FrameOf(const QWidget& form) {
  if (!form.isVisible()) return {};
  const QRect frame = form.frameGeometry();
  const QRect inner = form.geometry();
  return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
          frame.bottom() - inner.bottom()};
}

}  // namespace

TPlacementScreen PlacementScreen() {
  if (ScreenOverride()) return *ScreenOverride();
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  return {screen->geometry().size(), static_cast<int>(std::lround(screen->logicalDotsPerInch()))};
}

void SetPlacementScreenOverride(std::optional<TPlacementScreen> screen) { ScreenOverride() = screen; }

QString PlacementSectionName(const QString& formClass, int pixelsPerInch) {
  QString name = formClass + QStringLiteral("_Placement");
  if (pixelsPerInch > 96) name += QString::number(pixelsPerInch);
  return name;
}

QRect FitPlacementToScreen(QRect stored, const QSize& screen) {
  if (stored.right() + 1 > screen.width()) stored.moveRight(screen.width() - 1);
  if (stored.bottom() + 1 > screen.height()) stored.moveBottom(screen.height() - 1);
  return stored;
}

void LoadWindowPlacement(QWidget& form) {
  const TIniFile ini(PreferencesFileName());
  if (ReportMissingPrefix("LoadWindowPlacement")) return;
  const QString section = SectionOf(form);
  const int left = ini.ReadInteger(section, QStringLiteral("Left"), 0);
  const int top = ini.ReadInteger(section, QStringLiteral("Top"), 0);
  const int right = ini.ReadInteger(section, QStringLiteral("Right"), 0);
  const int bottom = ini.ReadInteger(section, QStringLiteral("Bottom"), 0);
  bool maximized = ini.ReadBool(section, QStringLiteral("Maximized"), form.isMaximized());
  if (bottom != 0) {
    const QRect outer =
        FitPlacementToScreen(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), PlacementScreen().Size);
    form.setGeometry(outer.marginsRemoved(FrameOf(form)));
  } else {
    CenterForm(form);
    const QWidget* main = ApplicationMainForm();
    if (main && qstrcmp(main->metaObject()->className(), form.metaObject()->className()) == 0)
      maximized = true;
  }
  if (maximized) form.setWindowState(form.windowState() | Qt::WindowMaximized);
  SaveWindowPlacement(form);
}

void SaveWindowPlacement(QWidget& form) {
  TIniFile ini(PreferencesFileName());
  if (ReportMissingPrefix("SaveWindowPlacement")) return;
  const QString section = SectionOf(form);
  const QRect normal = form.normalGeometry().marginsAdded(FrameOf(form));
  ini.WriteInteger(section, QStringLiteral("Left"), normal.left());
  ini.WriteInteger(section, QStringLiteral("Top"), normal.top());
  ini.WriteInteger(section, QStringLiteral("Right"), normal.right() + 1);
  ini.WriteInteger(section, QStringLiteral("Bottom"), normal.bottom() + 1);
  ini.WriteBool(section, QStringLiteral("Maximized"), form.isMaximized());
}
