#pragma once
// Engine-wide progress reporting for readers and writers, and the engine's
// busy flag. Loads and saves nest ranges: a load opens a range of 100 whose
// first half is handed to the reader, which opens its own range over the
// bytes it reads. One global hook receives the percentages; nothing is
// reported while the hook is unset or while the engine is busy (a whole
// document being copied, for example).
#include <cstdint>
#include <vector>

// The hook receives its tag and a percentage 0..100.
using TWPProgressHook = void (*)(std::intptr_t tag, int percent);

class TWPProgress {
 public:
  static void SetHook(TWPProgressHook hook, std::intptr_t tag);

  // Forgets every open range (start of a load).
  static void Reset();
  // Opens a range over 0..maximum units inside the enclosing range's share.
  static void Start(std::int64_t maximum);
  // Percentage of the remaining span that the next nested range receives.
  static void SetSubRange(int percent);
  // Reports the position reached in the innermost range.
  static void Update(std::int64_t position);
  // Reports the innermost range's end and closes it; 0 when none is left.
  static void Stop();

  static int Depth();

 private:
  struct TRange {
    int StartPercent = 0;
    int EndPercent = 100;
    int CurrentPercent = 0;
    int SubRangePercent = 100;
    std::int64_t Maximum = 0;
    std::int64_t LastPosition = 0;
    double PercentPerUnit = 0;
    std::int64_t UnitsPerStep = 0;  // 0: the range reports no steps
  };
  static void Report(int percent);
  static std::vector<TRange>& Ranges();
};

// The engine-wide busy flag: set while a document is assigned wholesale, it
// silences progress reports and repaints.
bool WPEngineBusy();
void WPSetEngineBusy(bool busy);

// Sets the busy flag for a scope and restores the previous value.
class TWPBusyScope {
 public:
  TWPBusyScope() : FWasBusy(WPEngineBusy()) { WPSetEngineBusy(true); }
  ~TWPBusyScope() { WPSetEngineBusy(FWasBusy); }
  TWPBusyScope(const TWPBusyScope&) = delete;
  TWPBusyScope& operator=(const TWPBusyScope&) = delete;

 private:
  bool FWasBusy;
};
