#pragma once
// Engine-wide progress reporting for readers and writers, and the engine's
// busy flag, both kept in the engine context. Loads and saves nest ranges: a
// load opens a range of 100 whose first half is handed to the reader, which
// opens its own range over the bytes it reads. The context's hook receives
// the percentages; nothing is reported while the hook is unset or while the
// engine is busy (a whole document being copied, for example).
#include <cstdint>

#include "richtext/EngineContext.h"

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
  static void Report(int percent);
};

// Sets the engine's busy flag for a scope and restores the previous value.
class TWPBusyScope {
 public:
  TWPBusyScope() : FWasBusy(WPEngine().Busy) { WPEngine().Busy = true; }
  ~TWPBusyScope() { WPEngine().Busy = FWasBusy; }
  TWPBusyScope(const TWPBusyScope&) = delete;
  TWPBusyScope& operator=(const TWPBusyScope&) = delete;

 private:
  bool FWasBusy;
};
