#include "printing/PrinterCells.h"

#include <algorithm>
#include <limits>

namespace {

int ClampToInt(std::int64_t value) {
  return static_cast<int>(
      std::clamp<std::int64_t>(value, -std::numeric_limits<int>::max(), std::numeric_limits<int>::max()));
}

// Thousandths of the label's corner from the paper's edge along one axis.
std::int64_t CornerThousandths(std::int64_t margin, std::int64_t pitch, std::int64_t centerGap, int index,
                               int count) {
  std::int64_t position = margin + index * pitch;
  if (index + 1 > count / 2 && centerGap > 0) position += centerGap;
  return position;
}

}  // namespace

TPrinterCells ComputePrinterCells(const TLabelLayoutRecord& layout, const TPrinterNudges& nudges,
                                  TDevicePair pixelsPerInch, TDevicePair physicalOffset) {
  const auto X = [&](std::int64_t v) { return ThousandthsToPixels(v, pixelsPerInch.X); };
  const auto Y = [&](std::int64_t v) { return ThousandthsToPixels(v, pixelsPerInch.Y); };

  const std::int64_t leftMargin = std::int64_t{layout.LeftMargin} + nudges.LeftMargin;
  const std::int64_t topMargin = std::int64_t{layout.TopMargin} + nudges.TopMargin;
  const std::int64_t pitchX = std::int64_t{layout.HorizontalPitch} + nudges.HorizontalSpacing;
  const std::int64_t pitchY = std::int64_t{layout.VerticalPitch} + nudges.VerticalSpacing;
  const int w = X(layout.LabelWidth);
  const int h = Y(layout.LabelHeight);

  TPrinterCells cells;
  for (int r = 0; r < layout.NumberDown; ++r) {
    for (int c = 0; c < layout.NumberAcross; ++c) {
      const std::int64_t n = std::int64_t{r} * layout.NumberAcross + c + 1;
      if (n > MaxLabelsPerPage) return cells;
      const std::int64_t x = std::int64_t{X(CornerThousandths(leftMargin, pitchX, layout.HorizontalCenterGap,
                                                              c, layout.NumberAcross))} -
                             physicalOffset.X;
      const std::int64_t y = std::int64_t{Y(CornerThousandths(topMargin, pitchY, layout.VerticalCenterGap, r,
                                                              layout.NumberDown))} -
                             physicalOffset.Y;
      TCellRecord& cell = cells[static_cast<int>(n)];
      cell.rTotal = {ClampToInt(x), ClampToInt(y), ClampToInt(x + w), ClampToInt(y + h)};
      cell.rFree = {ClampToInt(x + X(layout.TextLeft)), ClampToInt(y + Y(layout.TextTop)),
                    ClampToInt(x + X(layout.TextRight)),
                    ClampToInt(y + Y(layout.TextBottom) + pixelsPerInch.Y / 10)};
    }
  }
  return cells;
}
