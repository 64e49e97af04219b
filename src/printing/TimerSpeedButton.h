#pragma once
// A flat speed button that can repeat its click while held down (first after
// 400 ms, then every 100 ms; the release over the button adds the normal
// click) and can draw a focus rectangle for the control that owns it. The
// spin buttons are made of two of them; the symbol picker's size buttons are
// of the same kind.
#include <QToolButton>
#include <memory>

#include "printing/RepeatTimer.h"

class TTimerSpeedButton : public QToolButton {
  Q_OBJECT

 public:
  enum TTimeBtnState : unsigned { tbFocusRect = 0x1, tbAllowTimer = 0x2 };
  static constexpr int InitialRepeatPause = 400;
  static constexpr int RepeatInterval = 100;

  explicit TTimerSpeedButton(QWidget* parent = nullptr);
  ~TTimerSpeedButton() override;

  unsigned TimeBtnState() const { return FTimeBtnState; }
  void SetTimeBtnState(unsigned state);
  bool Has(TTimeBtnState flag) const { return (FTimeBtnState & flag) != 0; }

  // One click: fires clicked() without the press and release of click().
  void Click();
  // The pause before the first repeat and between repeats, in milliseconds;
  // a change takes effect at the next press.
  int InitialPause() const { return FInitialPause; }
  void SetInitialPause(int milliseconds) { FInitialPause = milliseconds; }
  int RepeatPause() const { return FRepeatPause; }
  void SetRepeatPause(int milliseconds) { FRepeatPause = milliseconds; }
  // Clicks the current (or last) repeating press produced: 1 at the press,
  // one more with every repeat.
  int Count() const { return FCount; }

  // One step of the auto-repeat; the timer calls it.
  void TimerExpired();
  // The repeat timer, created on the first press that allows it.
  TRepeatTimer* RepeatTimer() const { return FRepeatTimer.get(); }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  unsigned FTimeBtnState = 0;
  int FInitialPause = InitialRepeatPause;
  int FRepeatPause = RepeatInterval;
  int FCount = 0;
  std::unique_ptr<TRepeatTimer> FRepeatTimer;
  bool FMouseCaptured = false;  // between the left press and its release
};
