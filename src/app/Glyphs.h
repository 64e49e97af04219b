#pragma once
// The pictures of the program, drawn in code: the 16 x 16 glyphs of the
// button row, the product logo of the About box and the program icon.
#include <QIcon>
#include <QImage>
#include <QPixmap>

QIcon ZoomInGlyph();
QIcon ZoomOutGlyph();
QIcon PrintGlyph();
QIcon CloneNextGlyph();
QIcon CloneAllGlyph();
QIcon SymbolGlyph();

// A file folder with a label on its tab, side x side pixels. The image needs
// no application object, so build tools can draw it too.
QPixmap ProductLogo(int side);
QImage ProductLogoImage(int side);
QIcon ProgramIcon();
