#pragma once
// Which installed fonts are symbol fonts: scalable families that declare the
// symbol writing system and draw their own glyphs for the codes a keyboard
// types (33 to 126), so that a code shows the font's picture and not a
// letter borrowed from another font.
//
// Usage:
//   const QStringList names = SymbolFontNames(InstalledFontFacts());
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

struct TFontFacts {
  QString Family;
  bool Scalable = false;
  bool SymbolWritingSystem = false;
  bool OwnKeyboardGlyphs = false;
};

// The symbol fonts among fonts, each name once, sorted without regard to case.
QStringList SymbolFontNames(const std::vector<TFontFacts>& fonts);

// The installed font families as the font database reports them, the
// foundry left out of the name ("D050000L [urw]" is "D050000L"). The glyph
// check is made only for scalable families of the symbol writing system.
std::vector<TFontFacts> InstalledFontFacts();
// Tests give the fonts the picker sees; std::nullopt asks the system again.
void SetInstalledFontFactsOverride(std::optional<std::vector<TFontFacts>> fonts);
