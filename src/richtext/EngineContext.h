#pragma once
// What the whole rich text engine shares, in one place: the progress hook
// and the ranges open under it, the busy flag, the beep of a full table
// cell, the screen resolution at which objects given in pixels are measured,
// and the character decimal tabs align on. The program sets it at start-up;
// a test may set any of it and put it back with TWPEngineScope.
#include <cstdint>
#include <functional>
#include <vector>

// The progress hook receives its tag and a percentage 0..100.
using TWPProgressHook = void (*)(std::intptr_t tag, int percent);

// One open progress range (see TWPProgress).
struct TWPProgressRange {
  int StartPercent = 0;
  int EndPercent = 100;
  int CurrentPercent = 0;
  int SubRangePercent = 100;
  std::int64_t Maximum = 0;
  std::int64_t LastPosition = 0;
  double PercentPerUnit = 0;
  std::int64_t UnitsPerStep = 0;  // 0: the range reports no steps
};

struct TWPEngineContext {
  TWPProgressHook ProgressHook = nullptr;
  std::intptr_t ProgressTag = 0;
  std::vector<TWPProgressRange> ProgressRanges;
  // Set while a document is assigned or cleared wholesale: progress reports
  // are silenced.
  bool Busy = false;
  // The default beep of a full table cell (a document's own OnBeep wins).
  std::function<void()> Beep;
  int ScreenPixelsPerInch = 96;
  // New document headers take it as their decimal tab character.
  char DecimalTabChar = '.';
};

// The engine's one context.
TWPEngineContext& WPEngine();

// Keeps a copy of the engine context and puts it back when the scope ends.
class TWPEngineScope {
 public:
  TWPEngineScope() : FSaved(WPEngine()) {}
  ~TWPEngineScope() { WPEngine() = FSaved; }
  TWPEngineScope(const TWPEngineScope&) = delete;
  TWPEngineScope& operator=(const TWPEngineScope&) = delete;

 private:
  TWPEngineContext FSaved;
};
