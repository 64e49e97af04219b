#pragma once
// Where a window stood when it was last closed, kept in the preferences file
// in the section "<form class>_Placement" (with the screen's pixels per inch
// appended above 96, so each screen resolution keeps its own placement):
// "Left", "Top", "Right", "Bottom" of the window's outer rectangle in its
// normal (not maximised) state, and "Maximized".
//
// Usage:
//   LoadWindowPlacement(mainForm);   // at the first activation; writes the section back
//   SaveWindowPlacement(mainForm);   // when the window closes
// Both raise EIniFileError when the preferences file takes no writes.
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

class QWidget;

void LoadWindowPlacement(QWidget& form);
void SaveWindowPlacement(QWidget& form);

QString PlacementSectionName(const QString& formClass, int pixelsPerInch);
// A stored outer rectangle moved up and left until its right and bottom edges
// are on the screen; its size stays.
QRect FitPlacementToScreen(QRect stored, const QSize& screen);

// The screen as the placement sees it; tests put another in its place
// (std::nullopt asks the system again).
struct TPlacementScreen {
  QSize Size;
  int PixelsPerInch = 96;
};
TPlacementScreen PlacementScreen();
void SetPlacementScreenOverride(std::optional<TPlacementScreen> screen);
