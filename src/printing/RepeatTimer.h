#pragma once
// The timer behind a button's auto-repeat. The program runs QTimers; a test
// installs a factory of timers it advances by hand, so that holding a button
// for two seconds takes no time and gives the same count on any machine.
//
// Usage (a test):
//   TScopedRepeatTimerFactory fake([&] { return clock.NewTimer(); });
#include <functional>
#include <memory>

class TRepeatTimer {
 public:
  virtual ~TRepeatTimer() = default;
  // Setting the interval starts the count again, as the platform's timers do.
  virtual void SetInterval(int milliseconds) = 0;
  virtual int Interval() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;

  std::function<void()> OnTimer;
};

using TRepeatTimerFactory = std::function<std::unique_ptr<TRepeatTimer>()>;

// A QTimer, unless a test installed another factory.
std::unique_ptr<TRepeatTimer> CreateRepeatTimer();
// Installs a factory (an empty one restores the QTimer); returns the previous.
TRepeatTimerFactory SetRepeatTimerFactory(TRepeatTimerFactory factory);

class TScopedRepeatTimerFactory {
 public:
  explicit TScopedRepeatTimerFactory(TRepeatTimerFactory factory)
      : FPrevious(SetRepeatTimerFactory(std::move(factory))) {}
  ~TScopedRepeatTimerFactory() { SetRepeatTimerFactory(std::move(FPrevious)); }
  TScopedRepeatTimerFactory(const TScopedRepeatTimerFactory&) = delete;
  TScopedRepeatTimerFactory& operator=(const TScopedRepeatTimerFactory&) = delete;

 private:
  TRepeatTimerFactory FPrevious;
};
