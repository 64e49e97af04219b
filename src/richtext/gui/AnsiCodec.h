#pragma once
// The engine keeps text as Windows-1252 bytes; they become Unicode only here,
// at the edge where text is drawn or measured.
#include <QChar>
#include <QString>
#include <cstdint>
#include <string>

#include "richtext/CodePage.h"

namespace wpansi {

// 0x80..0x9F through the Windows-1252 table, every other byte as Latin-1.
// The five codes the code page leaves undefined keep their Latin-1 value.
inline char16_t ToUnicode(std::uint8_t byte) {
  static constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                         0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                         0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                         0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  if (byte >= 0x80 && byte <= 0x9F) return kHigh[byte - 0x80];
  return byte;
}

// Symbol fonts draw their own glyph for each code: the byte is used as itself.
inline QString ToQString(const char* bytes, int length, bool symbolFont = false) {
  QString result(length, Qt::Uninitialized);
  QChar* out = result.data();
  for (int i = 0; i < length; ++i) {
    const auto byte = static_cast<std::uint8_t>(bytes[i]);
    out[i] = QChar(symbolFont ? char16_t{byte} : ToUnicode(byte));
  }
  return result;
}

inline QString ToQString(const std::string& bytes) {
  return ToQString(bytes.data(), static_cast<int>(bytes.size()));
}

// Unicode text as Windows-1252 bytes; a character the code page lacks
// (one code point, even when it takes two UTF-16 units) becomes '?', and is
// counted in unconvertible when that is given.
inline std::string FromQString(const QString& text, int* unconvertible = nullptr) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
      ++i;
      bytes += '?';
      if (unconvertible) ++*unconvertible;
      continue;
    }
    int ansi = UnicodeToAnsi(unit);
    // The five codes Windows-1252 leaves undefined come back as ToUnicode gives them.
    if (ansi < 0 && unit >= 0x80 && unit <= 0x9F && ToUnicode(static_cast<std::uint8_t>(unit)) == unit)
      ansi = unit;
    const bool found = ansi >= 0;
    const char byte = found ? static_cast<char>(ansi) : '?';
    if (!found && unconvertible) ++*unconvertible;
    bytes += byte;
  }
  return bytes;
}

}  // namespace wpansi
