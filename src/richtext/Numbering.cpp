#include "richtext/Numbering.h"

#include <utility>

#include "richtext/TextCase.h"

namespace {
constexpr int kLetterCycle = 702;  // 26 single letters and 676 pairs

std::string Cased(std::string text, bool upper) { return upper ? UpperCase(std::move(text)) : text; }

// 1 -> a, 26 -> z, 27 -> aa, 52 -> az, 702 -> zz, then round again.
std::string Letters(int counter) {
  int v = counter % kLetterCycle;
  if (v <= 0) v += kLetterCycle;
  std::string text;
  if (v <= 26) {
    text += static_cast<char>(96 + v);
  } else {
    text += static_cast<char>(96 + (v - 1) / 26);
    text += static_cast<char>(96 + (v - 1) % 26 + 1);
  }
  return text;
}

// Additive form: one l per 50, one x per 10 (40 gives xxxx).
std::string Roman(int counter) {
  static const char* const kUnits[] = {"", "i", "ii", "iii", "iv", "v", "vi", "vii", "viii", "ix"};
  int v = counter % 100;
  if (v < 0) v += 100;
  std::string text;
  text.append(static_cast<std::size_t>(v / 50), 'l');
  text.append(static_cast<std::size_t>(v % 50 / 10), 'x');
  text += kUnits[v % 10];
  return text;
}
}  // namespace

std::string NumberingText(int kind, int counter) {
  switch (kind) {
    case kNumberBullet:
      return "l\t";
    case kNumberUpperLetter:
    case kNumberLowerLetter:
      return Cased(Letters(counter), kind == kNumberUpperLetter) + ")\t";
    case kNumberUpperRoman:
    case kNumberLowerRoman:
      return Cased(Roman(counter), kind == kNumberUpperRoman) + ".\t";
    case kNumberDecimal: {
      int v = counter % 100000;
      if (v < 0) v = -v;
      return std::to_string(v) + ".\t";
    }
    default:
      return {};
  }
}
