#include "richtext/gui/FontCache.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QList>
#include <algorithm>
#include <cctype>
#include <cmath>

#include "richtext/gui/AnsiCodec.h"

namespace {

std::string Lowered(const std::string& name) {
  std::string key = name;
  std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
  return key;
}

std::string KeyOf(const std::string& name, int pixelSize, std::uint8_t style) {
  return Lowered(name) + '\x01' + std::to_string(pixelSize) + '\x01' + std::to_string(style);
}

// Symbol characters stand side by side with nothing between them (alpha
// beta gamma), and their faces leave little room: rounding an advance down,
// or drawing a glyph whose pixels start left of its pen, lets neighbours run
// into each other at small sizes. Each cell is therefore made to hold every
// pixel the face draws for the glyph at this size.
void FitSymbolCells(TWPFontEntry& entry) {
  for (int code = 33; code < 256; ++code) {
    if (!entry.Glyphs[code]) continue;
    const QRectF pixels = entry.Raw.boundingRect(entry.Glyphs[code]);
    if (pixels.isEmpty()) continue;
    const int shift = std::max(0, static_cast<int>(-std::floor(pixels.left())));
    const int right = static_cast<int>(std::ceil(pixels.right())) + shift;
    entry.Shifts[code] = static_cast<std::int8_t>(std::min(shift, 127));
    entry.Widths[code] = static_cast<std::int16_t>(std::max<int>(entry.Widths[code], right));
  }
}

}  // namespace

TWPFontCache& TWPFontCache::Instance() {
  static TWPFontCache cache;
  return cache;
}

const TWPFontEntry& TWPFontCache::Find(const std::string& name, int pixelSize, std::uint8_t style) {
  pixelSize = std::max(pixelSize, 1);
  style &= kFontBold | kFontItalic | kFontStrikeOut;
  if (FLast && FLast->PixelSize == pixelSize && FLast->Style == style && FLast->Name == name) return *FLast;
  const std::string key = KeyOf(name, pixelSize, style);
  auto found = FEntries.find(key);
  if (found == FEntries.end()) found = FEntries.emplace(key, Create(name, pixelSize, style)).first;
  FLast = found->second.get();
  return *FLast;
}

bool TWPFontCache::IsSymbolFamily(const QString& family) {
  const std::string key = Lowered(family.toStdString());
  auto found = FSymbolFamilies.find(key);
  if (found != FSymbolFamilies.end()) return found->second;
  const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
  const bool symbol = systems.contains(QFontDatabase::Symbol) && QFontDatabase::isScalable(family);
  FSymbolFamilies.emplace(key, symbol);
  return symbol;
}

void TWPFontCache::Clear() {
  FLast = nullptr;
  FEntries.clear();
  FSymbolFamilies.clear();
}

std::unique_ptr<TWPFontEntry> TWPFontCache::Create(const std::string& name, int pixelSize,
                                                   std::uint8_t style) {
  auto entry = std::make_unique<TWPFontEntry>();
  entry->Name = name;
  entry->PixelSize = pixelSize;
  entry->Style = style;
  QFont& font = entry->Font;
  font.setFamily(QString::fromLatin1(name.c_str()));
  font.setPixelSize(pixelSize);
  font.setBold((style & kFontBold) != 0);
  font.setItalic((style & kFontItalic) != 0);
  font.setStrikeOut((style & kFontStrikeOut) != 0);
  font.setKerning(false);
  entry->Symbol = IsSymbolFamily(QFontInfo(font).family());

  const QFontMetrics metrics(font);
  entry->Ascent = metrics.ascent();
  entry->Descent = metrics.descent();
  entry->Height = entry->Ascent + entry->Descent + std::max(metrics.leading(), 0);

  QString codes(256, QChar(u' '));
  for (int code = 32; code < 256; ++code) {
    const char byte = static_cast<char>(code);
    codes[code] = wpansi::ToQString(&byte, 1, entry->Symbol)[0];
  }
  entry->Raw = QRawFont::fromFont(font);
  QList<QPointF> advances;
  if (entry->Raw.isValid()) {
    const QList<quint32> glyphs = entry->Raw.glyphIndexesForString(codes);
    for (int code = 0; code < 256 && code < glyphs.size(); ++code) entry->Glyphs[code] = glyphs[code];
    advances = entry->Raw.advancesForGlyphIndexes(glyphs);
  }
  // A code is measured in the face that draws it: the raw font's advance
  // where that font holds the glyph (whatever face fontconfig put behind the
  // family name), the font system's fallback face otherwise.
  for (int code = 32; code < 256; ++code)
    entry->Widths[code] = static_cast<std::int16_t>(entry->Glyphs[code] && code < advances.size()
                                                        ? qRound(advances[code].x())
                                                        : metrics.horizontalAdvance(codes[code]));
  for (int code = 1; code < 32; ++code) entry->Widths[code] = entry->Widths[' '];
  if (entry->Symbol && entry->Raw.isValid()) FitSymbolCells(*entry);
  return entry;
}
