#include "labelpage/PageGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Truncates toward zero into int; lengths from a damaged file may not fit.
int TruncToInt(long double value) {
  constexpr long double limit = std::numeric_limits<int>::max();
  if (!(value < limit)) return std::numeric_limits<int>::max();
  if (!(value > -limit)) return -std::numeric_limits<int>::max();
  return static_cast<int>(value);
}

int ClampToInt(std::int64_t value) {
  return static_cast<int>(
      std::clamp<std::int64_t>(value, -std::numeric_limits<int>::max(), std::numeric_limits<int>::max()));
}

}  // namespace

int ThousandthsToPixels(std::int64_t thousandths, int pixelsPerInch) {
  return TruncToInt(static_cast<long double>(thousandths) * 0.001L * pixelsPerInch);
}

int ZoomPixels(std::int64_t pixels, int percent) {
  return TruncToInt(static_cast<long double>(pixels) * (percent * 0.01L));
}

int TScreenScale::Length(std::int64_t thousandths) const {
  return ZoomPixels(ThousandthsToPixels(thousandths, FPixelsPerInch), FMagnification);
}

int TScreenScale::Design(int n) const {
  if (FPixelsPerInch == 96) return n;
  return TruncToInt(n * (1.0L / 96) * FPixelsPerInch);
}

TCellRecord TScreenScale::Cell(const TLabelLayoutRecord& layout, int n) const {
  const int across = std::max(layout.NumberAcross, 1);
  const int row = (n - 1) / across;
  const int column = (n - 1) % across;
  const int gx = Length(layout.HorizontalCenterGap);
  const int gy = Length(layout.VerticalCenterGap);

  std::int64_t x =
      Length(layout.LeftMargin) + static_cast<std::int64_t>(column) * Length(layout.HorizontalPitch);
  if (column + 1 > layout.NumberAcross / 2 && gx > 0) x += gx;
  std::int64_t y = Length(layout.TopMargin) + static_cast<std::int64_t>(row) * Length(layout.VerticalPitch);
  if (row + 1 > layout.NumberDown / 2 && gy > 0) y += gy;

  TCellRecord cell;
  cell.rTotal = {ClampToInt(x), ClampToInt(y), ClampToInt(x + Length(layout.LabelWidth)),
                 ClampToInt(y + Length(layout.LabelHeight))};
  std::int64_t freeBottom = y + Length(layout.TextBottom) - Zoomed(2);
  if (FMagnification < 100) --freeBottom;
  cell.rFree = {ClampToInt(x + Length(layout.TextLeft)), ClampToInt(y + Length(layout.TextTop)),
                ClampToInt(x + Length(layout.TextRight)), ClampToInt(freeBottom)};
  return cell;
}
