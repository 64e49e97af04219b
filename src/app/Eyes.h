#pragma once
// A decorative pair of eyes whose pupils look at the mouse pointer; they
// look again every 100 ms.
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QTimer>
#include <QWidget>

class TEyes : public QWidget {
  Q_OBJECT
 public:
  explicit TEyes(QWidget* parent = nullptr);

  static constexpr int kIntervalMs = 100;

  // Where the pupil of an eye (an ellipse in eye) sits when it looks at
  // target: toward it, but never past the eye's rim.
  static QPointF PupilCenter(const QRectF& eye, QPointF pupilRadius, QPointF target);

  // The two eyes, in widget coordinates.
  QRectF LeftEye() const;
  QRectF RightEye() const;
  QPointF PupilRadius() const;
  // Where the pupils are drawn now.
  QPointF LeftPupil() const;
  QPointF RightPupil() const;
  const QTimer& Timer() const { return FTimer; }

  // Turns the pupils toward a point given in global coordinates.
  void LookAt(const QPoint& globalPoint);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QTimer FTimer;
  QPointF FLeftPupil;
  QPointF FRightPupil;
  bool FLooking = false;  // false until the first look after a resize: pupils centred
};
