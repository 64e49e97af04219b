#include <gtest/gtest.h>

#include "labelpage/LabelPageTestSupport.h"
#include "labelpage/LabelTextFit.h"

namespace {

using labelpagetest::FileFolderSheet;
using labelpagetest::PutRtf;

// Lines of 10-point Arial, one paragraph each.
std::string Lines(int count) {
  std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 ";
  for (int i = 1; i <= count; ++i) rtf += "Line " + std::to_string(i) + (i < count ? "\\par " : "");
  return rtf + "}";
}

TEST(LabelTextFit, MeasuresTheTextAreaAsTheEditorIsSized) {
  // 2/3-inch file folder labels: text area 3312 x 541 thousandths at 96 pixels per inch.
  TLabelTextFit fit(FileFolderSheet());
  EXPECT_EQ(fit.Width(), 318);
  EXPECT_EQ(fit.Height(), 50);

  TLabelSheet sheet;
  sheet.Reset(FileFolderSheet());
  TLabelDocument& text = sheet.Storage(1)->RtfText();
  int lines = 1;
  for (;; ++lines) {
    PutRtf(text, Lines(lines));
    if (!fit.Fits(text)) break;
  }
  // Each line adds its height; the first that crosses the bottom does not fit.
  PutRtf(text, Lines(lines - 1));
  const int fitting = fit.TextHeight(text);
  EXPECT_LE(fitting, fit.Height());
  PutRtf(text, Lines(lines));
  EXPECT_GT(fit.TextHeight(text), fit.Height());
  EXPECT_GE(lines, 3);

  // The lines that fit, whole paragraphs or wrapped parts of one.
  std::string expected = "Line 1";
  for (int i = 2; i < lines; ++i) expected += "\nLine " + std::to_string(i);
  PutRtf(text, Lines(lines + 5));
  EXPECT_EQ(fit.FittingText(text), expected);
  std::string words = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 ";
  for (int i = 0; i < 60; ++i) words += "word ";
  PutRtf(text, words + "}");
  const std::string kept = fit.FittingText(text);
  EXPECT_GT(kept.size(), 5u);
  EXPECT_LT(kept.size(), 300u);
  EXPECT_EQ(kept.find('\n'), std::string::npos);

  // A first line taller than the label is kept all the same.
  PutRtf(text, "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs144 Big\\par Next}");
  EXPECT_FALSE(fit.Fits(text));
  EXPECT_EQ(fit.FittingText(text), "Big");
}

}  // namespace
