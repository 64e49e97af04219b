#include <gtest/gtest.h>

#include <limits>

#include "labelpage/LabelPageTestSupport.h"
#include "printing/PrinterCells.h"

namespace {

using labelpagetest::FileFolderSheet;

constexpr TDevicePair k600{600, 600};

struct TCellCase {
  TDevicePair Offset;
  int Label;
  TCellRecord Expected;
};

// The 2 x 15 file folder sheet at 600 ppi. Each edge is converted from its
// distance to the paper's edge: the top margin of 500 gives 299 pixels (300
// would be exact; the inexact 0.001 loses one), the label's right edge at
// 3969 gives 2381, the text area starts at 594/563 (356/337) and reaches 60
// pixels (a tenth of an inch) below the text bottom at 1104 (662).
TEST(PrinterCells, FileFolderSheetAt600PixelsPerInch) {
  const TCellCase cases[] = {
      {{0, 0}, 1, {{318, 299, 2381, 700}, {356, 337, 2343, 722}}},
      {{0, 0}, 2, {{2718, 299, 4781, 700}, {2756, 337, 4743, 722}}},
      {{0, 0}, 30, {{2718, 5902, 4781, 6302}, {2756, 5940, 4743, 6325}}},
      {{50, 75}, 1, {{268, 224, 2331, 625}, {306, 262, 2293, 647}}},
      {{50, 75}, 30, {{2668, 5827, 4731, 6227}, {2706, 5865, 4693, 6250}}},
  };
  for (const TCellCase& c : cases) {
    const TPrinterCells cells = ComputePrinterCells(FileFolderSheet(), {}, k600, c.Offset);
    EXPECT_EQ(cells[c.Label].rTotal, c.Expected.rTotal) << c.Label << " offset " << c.Offset.X;
    EXPECT_EQ(cells[c.Label].rFree, c.Expected.rFree) << c.Label << " offset " << c.Offset.X;
  }
  // Without an unprintable margin the first column starts at the left margin.
  EXPECT_EQ(ComputePrinterCells(FileFolderSheet(), {}, {300, 300}, {0, 0})[1].rTotal.Left,
            ThousandthsToPixels(531, 300));
  // Labels the sheet does not have stay empty.
  EXPECT_TRUE(ComputePrinterCells(FileFolderSheet(), {}, k600, {0, 0})[31].rTotal.IsZero());
}

struct TNudgeCase {
  const char* Name;
  TPrinterNudges Nudges;
  int Label;
  int RightThousandths;  // how far the label should move
  int DownThousandths;
};

// Every nudge moves each label by its own amount in thousandths, to within
// one printer pixel, however many pitches lie before the label.
TEST(PrinterCells, NudgesMoveLabelsByWhatTheyAdd) {
  const TNudgeCase cases[] = {
      {"top margin +10, first label", {.TopMargin = 10}, 1, 0, 10},
      {"top margin +10, last label", {.TopMargin = 10}, 30, 0, 10},
      {"left margin -25", {.LeftMargin = -25}, 29, -25, 0},
      {"vertical spacing -2, first row", {.VerticalSpacing = -2}, 2, 0, 0},
      {"vertical spacing -2, last of 15 rows", {.VerticalSpacing = -2}, 29, 0, -28},
      {"vertical spacing +3, row 8", {.VerticalSpacing = 3}, 15, 0, 21},
      {"horizontal spacing +7, right column", {.HorizontalSpacing = 7}, 30, 7, 0},
      {"horizontal spacing +7, left column", {.HorizontalSpacing = 7}, 29, 0, 0},
  };
  const TPrinterCells plain = ComputePrinterCells(FileFolderSheet(), {}, k600, {0, 0});
  for (const TNudgeCase& c : cases) {
    const TPrinterCells nudged = ComputePrinterCells(FileFolderSheet(), c.Nudges, k600, {0, 0});
    const TCellRecord& before = plain[c.Label];
    const TCellRecord& after = nudged[c.Label];
    EXPECT_NEAR(after.rTotal.Left - before.rTotal.Left, c.RightThousandths * 0.6, 1.0) << c.Name;
    EXPECT_NEAR(after.rTotal.Top - before.rTotal.Top, c.DownThousandths * 0.6, 1.0) << c.Name;
    // The label keeps its size and its text area, to the pixel its edges round to.
    EXPECT_NEAR(after.rTotal.Right - after.rTotal.Left, before.rTotal.Right - before.rTotal.Left, 1)
        << c.Name;
    EXPECT_NEAR(after.rFree.Top - after.rTotal.Top, before.rFree.Top - before.rTotal.Top, 1) << c.Name;
  }
}

TEST(PrinterCells, CenterGapsMoveTheSecondHalf) {
  TLabelLayoutRecord layout = labelpagetest::GridLayout(2, 4);
  layout.HorizontalCenterGap = 125;
  layout.VerticalCenterGap = 250;
  const TPrinterCells gapped = ComputePrinterCells(layout, {}, k600, {0, 0});
  const TPrinterCells plain = ComputePrinterCells(labelpagetest::GridLayout(2, 4), {}, k600, {0, 0});
  for (int n = 1; n <= 8; ++n) {
    const int column = (n - 1) % 2, row = (n - 1) / 2;
    EXPECT_NEAR(gapped[n].rTotal.Left - plain[n].rTotal.Left, column >= 1 ? 75 : 0, 1) << n;
    EXPECT_NEAR(gapped[n].rTotal.Top - plain[n].rTotal.Top, row >= 2 ? 150 : 0, 1) << n;
  }
}

TEST(PrinterCells, DamagedLengthsNeitherOverflowNorReachBeyondTwoHundredLabels) {
  TLabelLayoutRecord layout = FileFolderSheet();
  layout.VerticalPitch = 2'000'000'000;
  const TPrinterNudges nudges{.VerticalSpacing = 500};
  const TPrinterCells cells = ComputePrinterCells(layout, nudges, {1200, 1200}, {0, 0});
  EXPECT_GT(cells[29].rTotal.Top, cells[1].rTotal.Top);
  EXPECT_EQ(cells[29].rTotal.Bottom, std::numeric_limits<int>::max());  // held, not wrapped

  layout = FileFolderSheet();
  layout.NumberDown = 101;  // 202 labels: the last two have no place
  const TPrinterCells full = ComputePrinterCells(layout, {}, k600, {0, 0});
  EXPECT_FALSE(full[200].rTotal.IsZero());
}

}  // namespace
