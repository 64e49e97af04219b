#pragma once
// The default editor font: the font, size, styles and colour that new text
// in an empty label is written in. The preferences keep it; the label editor
// and filling labels from a list write with it.
#include <QString>

#include "richtext/CharacterAttr.h"
#include "richtext/Paragraph.h"
#include "richtext/TextHeader.h"

struct TDefaultEditorFont {
  QString Name = QStringLiteral("Arial");
  int Size = 10;  // points
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool Strikeout = false;
  TColor Color = 0;  // 0x00BBGGRR
};

// Puts the font on attr, a document's writing attributes: the font's slot in
// header (added when new; the engine keeps font names as Latin-1), its size, its styles added to those attr
// has, and as text colour the highest index 0..15 whose colour equals the font's (the editor answers black
// for index 15), 0 when none does.
void ApplyDefaultFont(TAttr& attr, TTextHeader& header, const TDefaultEditorFont& font);
