#pragma once
// The editor's caret, drawn by the control itself: a bar that blinks while
// the control has the focus. It exists only while the control is enabled,
// visible and focused, and never while the caret is disabled.
#include <QObject>
#include <QRect>
#include <QTimer>

class QPainter;
class QWidget;

class TCaret : public QObject {
 public:
  explicit TCaret(QWidget* owner);

  // Creates and shows the caret when the control may have one.
  void CreateAndShow();
  // Destroys the caret.
  void Hide();
  // Widget coordinates; the width is at least 1 and the height at least 4.
  void Move(int x, int y, int width, int height);
  bool Disabled() const { return FDisabled; }
  // A disabled caret is destroyed and stays hidden.
  void SetDisabled(bool on);
  bool Created() const { return FCreated; }
  bool Shown() const { return FShown; }
  QRect Rect() const { return QRect(FX, FY, FWidth, FHeight); }
  // Inverts the bar's pixels while it is shown and in the lit half of its blink.
  void Paint(QPainter& painter) const;

 private:
  void Invalidate();
  void Blink();

  QWidget* FOwner;
  QTimer FBlink;
  int FX = -10;
  int FY = 0;
  int FWidth = 1;
  int FHeight = 4;
  bool FCreated = false;
  bool FShown = false;
  bool FLit = true;
  bool FDisabled = false;
};
