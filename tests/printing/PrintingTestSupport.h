#pragma once
// Helpers shared by the printing tests: a clock that drives the repeat
// timers by hand, and the help topic a button opens.
#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "common/TestSupport.h"
#include "platform/AppRoutines.h"
#include "platform/HelpWindow.h"
#include "printing/RepeatTimer.h"

namespace printingtest {

// Time stands still until Advance moves it; every timer made by NewTimer fires
// at the moments a real timer would, in order. Install it with
// TScopedRepeatTimerFactory for as long as the clock lives.
class TManualClock {
 public:
  ~TManualClock() {
    for (TTimer* timer : FTimers) timer->FClock = nullptr;
  }

  std::unique_ptr<TRepeatTimer> NewTimer() {
    auto timer = std::make_unique<TTimer>(this);
    FTimers.push_back(timer.get());
    return timer;
  }

  void Advance(int milliseconds) {
    const long target = FNow + milliseconds;
    for (;;) {
      TTimer* next = nullptr;
      for (TTimer* timer : FTimers)
        if (timer->FEnabled && timer->FDue <= target && (!next || timer->FDue < next->FDue)) next = timer;
      if (!next) break;
      FNow = next->FDue;
      next->FDue = FNow + next->FInterval;
      if (next->OnTimer) next->OnTimer();
    }
    FNow = target;
  }

 private:
  class TTimer : public TRepeatTimer {
   public:
    explicit TTimer(TManualClock* clock) : FClock(clock) {}
    ~TTimer() override {
      if (FClock) std::erase(FClock->FTimers, this);
    }
    void SetInterval(int milliseconds) override {
      FInterval = milliseconds;
      if (FClock) FDue = FClock->FNow + milliseconds;
    }
    int Interval() const override { return FInterval; }
    void SetEnabled(bool enabled) override {
      if (enabled && !FEnabled && FClock) FDue = FClock->FNow + FInterval;
      FEnabled = enabled;
    }
    bool Enabled() const override { return FEnabled; }

    TManualClock* FClock;
    int FInterval = 1000;
    long FDue = 0;
    bool FEnabled = false;
  };

  long FNow = 0;
  std::vector<TTimer*> FTimers;
};

// The help anchor that click opens, with a help file of numbered topics.
inline QString HelpAnchorOpenedBy(const std::function<void()>& click) {
  QTemporaryDir folder;
  const QString help = folder.filePath("KLX.HLP");
  testsupport::WriteAll(help,
                        "<html><body><a name=\"contents\"></a>Contents<a name=\"1002\"></a><h2>Labels</h2>"
                        "<a name=\"1003\"></a><h2>Fine tuning</h2></body></html>");
  SetApplicationHelpFile(help);
  click();
  QString anchor;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* window = qobject_cast<THelpWindow*>(w)) anchor = window->CurrentAnchor();
  CloseHelpWindow();
  SetApplicationHelpFile(QString());
  return anchor;
}

// With TABWRIGHT_SCREENSHOTS naming a folder, the widget is saved there for a
// person to look at.
inline void SaveScreenshot(QWidget& widget, const QString& name) {
  const QString folder = qEnvironmentVariable("TABWRIGHT_SCREENSHOTS");
  if (!folder.isEmpty()) widget.grab().save(folder + "/" + name + ".png");
}

}  // namespace printingtest
