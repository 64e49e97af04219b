#include <gtest/gtest.h>

#include "richtext/Numbering.h"

TEST(Numbering, TextForEveryKind) {
  const int counters[] = {1, 26, 27, 40, 99, 702};
  const char* const upperLetters[] = {"A)\t", "Z)\t", "AA)\t", "AN)\t", "CU)\t", "ZZ)\t"};
  const char* const lowerLetters[] = {"a)\t", "z)\t", "aa)\t", "an)\t", "cu)\t", "zz)\t"};
  const char* const upperRoman[] = {"I.\t", "XXVI.\t", "XXVII.\t", "XXXX.\t", "LXXXXIX.\t", "II.\t"};
  const char* const lowerRoman[] = {"i.\t", "xxvi.\t", "xxvii.\t", "xxxx.\t", "lxxxxix.\t", "ii.\t"};
  const char* const decimal[] = {"1.\t", "26.\t", "27.\t", "40.\t", "99.\t", "702.\t"};
  for (int i = 0; i < 6; ++i) {
    const int n = counters[i];
    EXPECT_EQ(NumberingText(kNumberBullet, n), "l\t");
    EXPECT_EQ(NumberingText(kNumberUpperLetter, n), upperLetters[i]) << n;
    EXPECT_EQ(NumberingText(kNumberLowerLetter, n), lowerLetters[i]) << n;
    EXPECT_EQ(NumberingText(kNumberUpperRoman, n), upperRoman[i]) << n;
    EXPECT_EQ(NumberingText(kNumberLowerRoman, n), lowerRoman[i]) << n;
    EXPECT_EQ(NumberingText(kNumberDecimal, n), decimal[i]) << n;
    EXPECT_EQ(NumberingText(kNumberCountedOnly, n), "");
    EXPECT_EQ(NumberingText(kNumberNone, n), "");
  }
}

TEST(Numbering, LettersWrapAfterTwoLetters) {
  EXPECT_EQ(NumberingText(kNumberLowerLetter, 52), "az)\t");
  EXPECT_EQ(NumberingText(kNumberLowerLetter, 53), "ba)\t");
  EXPECT_EQ(NumberingText(kNumberLowerLetter, 703), "a)\t");
  EXPECT_EQ(NumberingText(kNumberLowerRoman, 100), ".\t");
  EXPECT_EQ(NumberingText(kNumberDecimal, 123456), "23456.\t");
}
