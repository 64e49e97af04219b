#pragma once
// Numbering styles of a document and the text put in front of numbered
// paragraphs.
#include <array>
#include <cstdint>
#include <string>

struct TNumberingStyle {
  static constexpr int kSettingsSize = 76;
  static constexpr int kMaxNameLength = 8;
  std::array<std::uint8_t, kSettingsSize> Settings{};
  std::string Name;  // upper case, at most 8 characters
  std::uint8_t Number = 0;
};

// Paragraph numbering kinds (high nibble of TParagraph::Numbering).
constexpr int kNumberNone = 0;
constexpr int kNumberBullet = 1;
constexpr int kNumberUpperLetter = 2;
constexpr int kNumberLowerLetter = 3;
constexpr int kNumberUpperRoman = 4;
constexpr int kNumberLowerRoman = 5;
constexpr int kNumberDecimal = 6;
constexpr int kNumberCountedOnly = 8;

// The bullet is drawn in this font.
inline constexpr const char* kBulletFontName = "WingDings";

// Text for kind and counter, ending in a tab; empty for kinds without text.
std::string NumberingText(int kind, int counter);
