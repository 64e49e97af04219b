#pragma once
// The default editor font as the preferences file keeps it (section
// "Default Font"): read by the main window's preferences and by the command
// line, which writes new labels in it too.
#include "labelpage/DefaultEditorFont.h"

class TIniFile;

// Arial, 10 points, no styles, black where the file says nothing; a size
// that is not positive becomes 10.
TDefaultEditorFont ReadDefaultEditorFont(const TIniFile& preferences);
