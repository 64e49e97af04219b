#pragma once
// The one multiply-divide of the engine: a 64-bit product divided with the
// result rounded to the nearest integer (halves away from zero). A zero
// divisor or a result outside 32 bits gives -1, as the platform routine did.
#include <cstdint>
#include <limits>

inline int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  std::int64_t product = static_cast<std::int64_t>(number) * numerator;
  std::int64_t d = denominator;
  if (d < 0) {
    product = -product;
    d = -d;
  }
  const std::int64_t half = d / 2;
  const std::int64_t result = product >= 0 ? (product + half) / d : -((-product + half) / d);
  if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min()) return -1;
  return static_cast<int>(result);
}
