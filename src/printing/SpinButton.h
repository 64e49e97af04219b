#pragma once
// An up/down pair of repeating buttons in one control. The down arrow and the
// up arrow fire OnDownClick and OnUpClick once per click and once per repeat
// step; Space clicks the button that has the keyboard focus, the Up and Down
// keys focus and click their button.
//
// Usage:
//   auto* spinner = new TSpinButton(panel);
//   spinner->setGeometry(8, 30, 23, 39);
//   spinner->OnDownClick = [this](QObject*) { ++value; };
#include <QPixmap>
#include <QWidget>
#include <functional>

class TTimerSpeedButton;

class TSpinButton : public QWidget {
  Q_OBJECT

 public:
  using TNotifyEvent = std::function<void(QObject* sender)>;
  static constexpr int MinimumWidth = 15;

  explicit TSpinButton(QWidget* parent = nullptr);

  TNotifyEvent OnUpClick;
  TNotifyEvent OnDownClick;
  // Takes the keyboard focus when a button is pressed (else the spin button does).
  QWidget* FocusControl = nullptr;

  TTimerSpeedButton* UpButton() const { return FUpButton; }
  TTimerSpeedButton* DownButton() const { return FDownButton; }
  // The button Space clicks; the up button at first.
  TTimerSpeedButton* FocusedButton() const { return FFocusedButton; }

  // Pictures of the buttons; drawn arrows unless set.
  QPixmap UpGlyph() const { return FUpGlyph; }
  void SetUpGlyph(const QPixmap& glyph);
  QPixmap DownGlyph() const { return FDownGlyph; }
  void SetDownGlyph(const QPixmap& glyph);

  QSize sizeHint() const override { return {20, 25}; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TTimerSpeedButton* CreateButton(const QPixmap& glyph, TNotifyEvent TSpinButton::*event);
  void AdjustButtons();
  // Makes button the one Space clicks, moving the focus rectangle to it.
  void SetFocusBtn(TTimerSpeedButton* button);
  bool IsTabStop() const { return (focusPolicy() & Qt::TabFocus) != 0; }
  static bool CanFocus(const QWidget& widget);
  void BtnMouseDown(TTimerSpeedButton* button);

  QPixmap FUpGlyph;
  QPixmap FDownGlyph;
  TTimerSpeedButton* FUpButton = nullptr;
  TTimerSpeedButton* FDownButton = nullptr;
  TTimerSpeedButton* FFocusedButton = nullptr;
};

// The arrows the spin buttons show by default.
QPixmap SpinUpGlyph();
QPixmap SpinDownGlyph();
