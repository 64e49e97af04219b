#include <gtest/gtest.h>

#include "labelpage/LabelPageTestSupport.h"
#include "labelpage/PageGeometry.h"

namespace {

using labelpagetest::GridLayout;

TEST(PageGeometry, ConversionsTruncateLikeExtendedArithmetic) {
  // Mathematically whole products come out one lower.
  EXPECT_EQ(ThousandthsToPixels(1000, 96), 95);
  EXPECT_EQ(ThousandthsToPixels(11000, 96), 1055);
  EXPECT_EQ(ThousandthsToPixels(2500, 96), 240);
  EXPECT_EQ(ZoomPixels(100, 60), 59);
  EXPECT_EQ(ZoomPixels(100, 80), 79);
  EXPECT_EQ(ZoomPixels(100, 90), 90);
  EXPECT_EQ(ZoomPixels(100, 100), 100);
  EXPECT_EQ(ThousandthsToPixels(-1000, 96), -95);  // toward zero
  EXPECT_EQ(ThousandthsToPixels(1000, 600), 599);  // printers too
}

TEST(PageGeometry, ScreenLengthsAndDesignPixels) {
  const TScreenScale at60(96, 60), at100(96, 100), at120ppi(120, 100), at120ppi80(120, 80);
  EXPECT_EQ(at100.Length(1000), 95);
  EXPECT_EQ(at60.Length(1042), 59);  // 100 pixels unzoomed
  EXPECT_EQ(at100.Design(329), 329);
  EXPECT_EQ(at60.Zoomed(100), 59);
  EXPECT_EQ(at120ppi.Design(2), 2);  // 2.5 truncated
  EXPECT_EQ(at120ppi.Design(16), 20);
  EXPECT_EQ(at120ppi80.Zoomed(16), 15);  // 20 pixels at 80 %
}

TEST(PageGeometry, LabelsRunLeftToRightThenDown) {
  const TLabelLayoutRecord layout = GridLayout(3, 4);
  const TScreenScale scale(96, 100);
  const int lm = scale.Length(500), tm = scale.Length(1000), px = scale.Length(2500), py = scale.Length(1250);
  const TCellRecord label6 = scale.Cell(layout, 6);  // row 1, column 2
  EXPECT_EQ(label6.rTotal, (TCellRect{lm + 2 * px, tm + py, lm + 2 * px + scale.Length(2000),
                                      tm + py + scale.Length(1000)}));
  EXPECT_EQ(label6.rFree.Left, label6.rTotal.Left + scale.Length(63));
  EXPECT_EQ(label6.rFree.Top, label6.rTotal.Top + scale.Length(100));
  EXPECT_EQ(label6.rFree.Right, label6.rTotal.Left + scale.Length(1937));
}

TEST(PageGeometry, TextAreaBottomLosesOneMorePixelBelowFullSize) {
  const TLabelLayoutRecord layout = GridLayout(1, 1);
  for (int m : {60, 80, 90, 100}) {
    const TScreenScale scale(96, m);
    const TCellRecord cell = scale.Cell(layout, 1);
    const int above = cell.rTotal.Top + scale.Length(900) - cell.rFree.Bottom;
    EXPECT_EQ(above, scale.Zoomed(2) + (m < 100 ? 1 : 0)) << m;
  }
}

TEST(PageGeometry, ZoomedRectanglesComeOutAPixelSmall) {
  // 1042 thousandths are exactly 100 pixels at 96 ppi; 60 % and 80 % of them
  // give 59 and 79, not 60 and 80.
  TLabelLayoutRecord layout = GridLayout(1, 1);
  layout.LeftMargin = layout.TopMargin = 0;
  layout.LabelWidth = layout.LabelHeight = 1042;
  EXPECT_EQ(TScreenScale(96, 60).Cell(layout, 1).rTotal, (TCellRect{0, 0, 59, 59}));
  EXPECT_EQ(TScreenScale(96, 80).Cell(layout, 1).rTotal, (TCellRect{0, 0, 79, 79}));
  EXPECT_EQ(TScreenScale(96, 100).Cell(layout, 1).rTotal, (TCellRect{0, 0, 100, 100}));
}

TEST(PageGeometry, CenterGapsShiftTheRightColumnsAndLowerRows) {
  const TScreenScale scale(96, 100);
  TLabelLayoutRecord three = GridLayout(3, 4);
  three.HorizontalCenterGap = 250;
  three.VerticalCenterGap = 500;
  const TLabelLayoutRecord plain = GridLayout(3, 4);
  for (int n = 1; n <= 12; ++n) {
    const int column = (n - 1) % 3, row = (n - 1) / 3;
    const TCellRect a = scale.Cell(three, n).rTotal, b = scale.Cell(plain, n).rTotal;
    EXPECT_EQ(a.Left - b.Left, column >= 1 ? scale.Length(250) : 0) << n;
    EXPECT_EQ(a.Top - b.Top, row >= 2 ? scale.Length(500) : 0) << n;
  }

  TLabelLayoutRecord single = GridLayout(1, 1);
  single.HorizontalCenterGap = 200;
  EXPECT_EQ(scale.Cell(single, 1).rTotal.Left, scale.Length(500) + scale.Length(200));

  TLabelLayoutRecord negative = GridLayout(2, 2);
  negative.HorizontalCenterGap = -300;
  negative.VerticalCenterGap = -300;
  EXPECT_EQ(scale.Cell(negative, 4).rTotal, scale.Cell(GridLayout(2, 2), 4).rTotal);
}

TEST(PageGeometry, HugeLengthsDoNotOverflow) {
  TLabelLayoutRecord layout = GridLayout(10, 20);
  layout.HorizontalPitch = layout.VerticalPitch = INT32_MAX;
  layout.LabelWidth = INT32_MAX;
  const TCellRecord cell = TScreenScale(96, 100).Cell(layout, 200);
  EXPECT_GT(cell.rTotal.Left, 0);
  EXPECT_GE(cell.rTotal.Right, cell.rTotal.Left);
}

}  // namespace
