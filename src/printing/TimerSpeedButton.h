#pragma once
// A flat speed button that can repeat its click while held down (first after
// 400 ms, then every 100 ms; the release over the button adds the normal
// click) and can draw a focus rectangle for the control that owns it. The
// spin buttons are made of two of them.
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
  std::unique_ptr<TRepeatTimer> FRepeatTimer;
  bool FMouseCaptured = false;  // between the left press and its release
};
