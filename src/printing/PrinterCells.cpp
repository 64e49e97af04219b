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
  // Every edge is converted from its own distance to the paper's edge.
  const auto edgeX = [&](std::int64_t thousandths) {
    return ClampToInt(std::int64_t{X(thousandths)} - physicalOffset.X);
  };
  const auto edgeY = [&](std::int64_t thousandths) {
    return ClampToInt(std::int64_t{Y(thousandths)} - physicalOffset.Y);
  };

  TPrinterCells cells;
  for (int r = 0; r < layout.NumberDown; ++r) {
    for (int c = 0; c < layout.NumberAcross; ++c) {
      const std::int64_t n = std::int64_t{r} * layout.NumberAcross + c + 1;
      if (n > MaxLabelsPerPage) return cells;
      const std::int64_t x =
          CornerThousandths(leftMargin, pitchX, layout.HorizontalCenterGap, c, layout.NumberAcross);
      const std::int64_t y =
          CornerThousandths(topMargin, pitchY, layout.VerticalCenterGap, r, layout.NumberDown);
      TCellRecord& cell = cells[static_cast<int>(n)];
      cell.rTotal = {edgeX(x), edgeY(y), edgeX(x + layout.LabelWidth), edgeY(y + layout.LabelHeight)};
      cell.rFree = {edgeX(x + layout.TextLeft), edgeY(y + layout.TextTop), edgeX(x + layout.TextRight),
                    ClampToInt(std::int64_t{edgeY(y + layout.TextBottom)} + pixelsPerInch.Y / 10)};
    }
  }
  return cells;
}
