#include "richtext/Progress.h"

#include <cmath>

void TWPProgress::SetHook(TWPProgressHook hook, std::intptr_t tag) {
  WPEngine().ProgressHook = hook;
  WPEngine().ProgressTag = tag;
}

int TWPProgress::Depth() { return static_cast<int>(WPEngine().ProgressRanges.size()); }

void TWPProgress::Report(int percent) {
  const TWPEngineContext& engine = WPEngine();
  if (engine.ProgressHook && !engine.Busy) engine.ProgressHook(engine.ProgressTag, percent);
}

void TWPProgress::Reset() { WPEngine().ProgressRanges.clear(); }

void TWPProgress::Start(std::int64_t maximum) {
  auto& ranges = WPEngine().ProgressRanges;
  TWPProgressRange range;
  if (!ranges.empty()) {
    const TWPProgressRange& outer = ranges.back();
    range.StartPercent = outer.CurrentPercent;
    range.EndPercent =
        outer.CurrentPercent + outer.SubRangePercent * (outer.EndPercent - outer.CurrentPercent) / 100;
  }
  range.CurrentPercent = range.StartPercent;
  range.Maximum = maximum;
  if (maximum >= 1) {
    range.PercentPerUnit =
        static_cast<double>(range.EndPercent - range.StartPercent) / static_cast<double>(maximum);
    if (range.PercentPerUnit > 0) {
      const double units = std::round(1.0 / range.PercentPerUnit);
      range.UnitsPerStep = units < 1 ? 1 : static_cast<std::int64_t>(units);
    }
  }
  ranges.push_back(range);
}

void TWPProgress::SetSubRange(int percent) {
  auto& ranges = WPEngine().ProgressRanges;
  if (!ranges.empty()) ranges.back().SubRangePercent = percent;
}

void TWPProgress::Update(std::int64_t position) {
  auto& ranges = WPEngine().ProgressRanges;
  if (ranges.empty()) return;
  TWPProgressRange& range = ranges.back();
  if (range.UnitsPerStep == 0 || range.CurrentPercent >= range.EndPercent) return;
  const std::int64_t advance = position - range.LastPosition;
  if (advance < range.UnitsPerStep) return;
  range.LastPosition = position;
  const int before = range.CurrentPercent;
  const double next = range.CurrentPercent + std::round(static_cast<double>(advance) * range.PercentPerUnit);
  range.CurrentPercent = next > range.EndPercent ? range.EndPercent : static_cast<int>(next);
  if (range.CurrentPercent != before) Report(range.CurrentPercent);
}

void TWPProgress::Stop() {
  auto& ranges = WPEngine().ProgressRanges;
  if (ranges.empty()) return;
  Report(ranges.back().EndPercent);
  ranges.pop_back();
  if (ranges.empty()) Report(0);
}
