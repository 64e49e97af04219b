#include "symbols/RptSpeedButton.h"

#include <QContextMenuEvent>
#include <QMenu>

TPSpeedButton::TPSpeedButton(QWidget* parent) : TTimerSpeedButton(parent) {}

void TPSpeedButton::contextMenuEvent(QContextMenuEvent* event) {
  if (!FPopupMenu) {
    TTimerSpeedButton::contextMenuEvent(event);
    return;
  }
  FPopupMenu->popup(event->globalPos());
  event->accept();
}

TRptSpeedButton::TRptSpeedButton(QWidget* parent) : TPSpeedButton(parent) { SetAutoRepeat(true); }

void TRptSpeedButton::SetAutoRepeat(bool on) {
  SetTimeBtnState(on ? TimeBtnState() | tbAllowTimer : TimeBtnState() & ~unsigned{tbAllowTimer});
}
