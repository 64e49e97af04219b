#pragma once
// A fixed-size array indexed from 1, as the sheet's tables are (layouts 1..50,
// labels 1..200, print flags 1..501). An index outside 1..N raises
// std::out_of_range instead of touching memory it does not own.
#include <array>
#include <cstddef>
#include <stdexcept>

template <typename T, int N>
class TOneBasedArray {
 public:
  static constexpr int Capacity = N;

  T& operator[](int index) { return FItems[Slot(index)]; }
  const T& operator[](int index) const { return FItems[Slot(index)]; }
  static bool InRange(int index) { return index >= 1 && index <= N; }

  auto begin() { return FItems.begin(); }
  auto end() { return FItems.end(); }
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  static std::size_t Slot(int index) {
    if (!InRange(index)) throw std::out_of_range("index out of range");
    return static_cast<std::size_t>(index - 1);
  }
  std::array<T, N> FItems{};
};
