#include "app/DefaultFontPreferences.h"

#include "platform/IniFile.h"

TDefaultEditorFont ReadDefaultEditorFont(const TIniFile& ini) {
  const QString section = QStringLiteral("Default Font");
  TDefaultEditorFont font;
  font.Name = ini.ReadString(section, QStringLiteral("Name"), QStringLiteral("Arial"));
  font.Size = ini.ReadInteger(section, QStringLiteral("Size"), 10);
  if (font.Size <= 0) font.Size = 10;
  font.Bold = ini.ReadBool(section, QStringLiteral("Bold"), false);
  font.Italic = ini.ReadBool(section, QStringLiteral("Italic"), false);
  font.Underline = ini.ReadBool(section, QStringLiteral("Underline"), false);
  font.Strikeout = ini.ReadBool(section, QStringLiteral("Strikeout"), false);
  font.Color = static_cast<TColor>(ini.ReadInteger(section, QStringLiteral("Color"), 0));
  return font;
}
