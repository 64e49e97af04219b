#pragma once
// The text of the program's own dialogs: Arial 8 point, sized in pixels at
// the screen's resolution (11 pixels at 96 pixels per inch).
#include <QFont>

class QWidget;

QFont DialogFont(const QWidget& widget);
