#pragma once
// Fonts and their 256-entry width tables, kept for the life of the program:
// painting a sheet selects the same few fonts hundreds of times, and asking
// the font system each time is what makes repaints slow.
#include <QFont>
#include <QRawFont>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

// Style bits of a cached font; they match TAttr::Style.
constexpr std::uint8_t kFontBold = 0x01;
constexpr std::uint8_t kFontItalic = 0x02;
constexpr std::uint8_t kFontStrikeOut = 0x08;

// One font at one pixel size (the resolution is in the pixel size) and style.
struct TWPFontEntry {
  std::string Name;
  int PixelSize = 0;
  std::uint8_t Style = 0;
  QFont Font;
  QRawFont Raw;
  bool Symbol = false;  // codes are drawn as themselves
  int Ascent = 0;
  int Descent = 0;
  int Height = 0;  // ascent + descent + external leading
  // Advance of each byte code; codes below 32 are drawn as spaces, 0 has no width.
  std::array<std::int16_t, 256> Widths{};
  // Glyph of each byte code in Raw; 0 when the font lacks it.
  std::array<std::uint32_t, 256> Glyphs{};
  // Pixels a glyph is drawn right of its pen so that it starts in its own cell.
  std::array<std::int8_t, 256> Shifts{};
};

class TWPFontCache {
 public:
  static TWPFontCache& Instance();

  // The entry of name at pixelSize (at least 1) and style; created on first use.
  const TWPFontEntry& Find(const std::string& name, int pixelSize, std::uint8_t style);
  // Whether a family draws its own glyphs for the codes 32..255.
  bool IsSymbolFamily(const QString& family);
  std::size_t Count() const { return FEntries.size(); }
  void Clear();

 private:
  std::unique_ptr<TWPFontEntry> Create(const std::string& name, int pixelSize, std::uint8_t style);

  std::unordered_map<std::string, std::unique_ptr<TWPFontEntry>> FEntries;
  std::unordered_map<std::string, bool> FSymbolFamilies;
  // The last entry found: layout asks for the same font run after run.
  const TWPFontEntry* FLast = nullptr;
};
