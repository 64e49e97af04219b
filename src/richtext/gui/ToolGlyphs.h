#pragma once
// The 16 x 16 pictures of the formatting toolbar's buttons, drawn in code
// and found by their names ("WPI_BOLD"; case does not matter).
#include <QPixmap>
#include <QString>
#include <QStringList>

// A null pixmap for a name that has no picture.
QPixmap ToolBarGlyph(const QString& name);
// Every name that has a picture.
QStringList ToolBarGlyphNames();
