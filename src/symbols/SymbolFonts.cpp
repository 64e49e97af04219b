#include "symbols/SymbolFonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QRegularExpression>
#include <algorithm>

namespace {

std::optional<std::vector<TFontFacts>>& Override() {
  static std::optional<std::vector<TFontFacts>> fonts;
  return fonts;
}

QString WithoutFoundry(const QString& family) {
  static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\]]*\\]$"));
  return QString(family).remove(foundry);
}

bool DrawsOwnKeyboardGlyphs(const QString& family) {
  QFont font(family);
  font.setPixelSize(20);
  // A name the font matching replaced with another family draws nothing of its own.
  if (WithoutFoundry(QFontInfo(font).family()).compare(WithoutFoundry(family), Qt::CaseInsensitive) != 0)
    return false;
  const QRawFont raw = QRawFont::fromFont(font);
  if (!raw.isValid()) return false;
  for (char16_t code = 33; code <= 126; ++code)
    if (!raw.supportsCharacter(QChar(code))) return false;
  return true;
}

}  // namespace

QStringList SymbolFontNames(const std::vector<TFontFacts>& fonts) {
  QStringList names;
  for (const TFontFacts& font : fonts)
    if (font.Scalable && font.SymbolWritingSystem && font.OwnKeyboardGlyphs &&
        !names.contains(font.Family, Qt::CaseInsensitive))
      names << font.Family;
  std::sort(names.begin(), names.end(),
            [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
  return names;
}

std::vector<TFontFacts> InstalledFontFacts() {
  if (Override()) return *Override();
  std::vector<TFontFacts> fonts;
  for (const QString& family : QFontDatabase::families()) {
    TFontFacts facts;
    facts.Family = WithoutFoundry(family);
    facts.Scalable = QFontDatabase::isScalable(family);
    facts.SymbolWritingSystem = QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol);
    facts.OwnKeyboardGlyphs = facts.Scalable && facts.SymbolWritingSystem && DrawsOwnKeyboardGlyphs(family);
    fonts.push_back(facts);
  }
  return fonts;
}

void SetInstalledFontFactsOverride(std::optional<std::vector<TFontFacts>> fonts) {
  Override() = std::move(fonts);
}
