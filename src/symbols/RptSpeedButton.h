#pragma once
// The speed buttons of the symbol picker: TPSpeedButton shows its popup menu
// on a right click; TRptSpeedButton also repeats its click while it is held
// down (AutoRepeat, on by default): first after InitialPause (400 ms), then
// every RepeatPause (100 ms), and the release adds the ordinary click.
//
// Usage:
//   auto* larger = new TRptSpeedButton(panel);
//   connect(larger, &QToolButton::clicked, this, [this] { Grow(); });
#include <QMenu>
#include <QPointer>

#include "printing/TimerSpeedButton.h"

class TPSpeedButton : public TTimerSpeedButton {
  Q_OBJECT

 public:
  explicit TPSpeedButton(QWidget* parent = nullptr);

  QMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QPointer<QMenu> FPopupMenu;
};

class TRptSpeedButton : public TPSpeedButton {
  Q_OBJECT

 public:
  explicit TRptSpeedButton(QWidget* parent = nullptr);

  bool AutoRepeat() const { return Has(tbAllowTimer); }
  void SetAutoRepeat(bool on);
};
