#include "printing/RepeatTimer.h"

#include <QTimer>

namespace {

class TQtRepeatTimer : public TRepeatTimer {
 public:
  TQtRepeatTimer() {
    QObject::connect(&FTimer, &QTimer::timeout, &FTimer, [this] {
      if (OnTimer) OnTimer();
    });
  }
  void SetInterval(int milliseconds) override {
    FTimer.setInterval(milliseconds);
    if (FTimer.isActive()) FTimer.start();
  }
  int Interval() const override { return FTimer.interval(); }
  void SetEnabled(bool enabled) override {
    if (!enabled)
      FTimer.stop();
    else if (!FTimer.isActive())
      FTimer.start();
  }
  bool Enabled() const override { return FTimer.isActive(); }

 private:
  QTimer FTimer;
};

TRepeatTimerFactory& Factory() {
  static TRepeatTimerFactory factory;
  return factory;
}

}  // namespace

std::unique_ptr<TRepeatTimer> CreateRepeatTimer() {
  if (Factory()) return Factory()();
  return std::make_unique<TQtRepeatTimer>();
}

TRepeatTimerFactory SetRepeatTimerFactory(TRepeatTimerFactory factory) {
  TRepeatTimerFactory previous = std::move(Factory());
  Factory() = std::move(factory);
  return previous;
}
