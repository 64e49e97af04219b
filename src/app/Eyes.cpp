#include "app/Eyes.h"

#include <QCursor>
#include <QPainter>
#include <cmath>

TEyes::TEyes(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  FTimer.setInterval(kIntervalMs);
  connect(&FTimer, &QTimer::timeout, this, [this] { LookAt(QCursor::pos()); });
  FTimer.start();
}

QRectF TEyes::LeftEye() const { return QRectF(0.5, 0.5, width() / 2.0 - 1, height() - 1); }

QRectF TEyes::RightEye() const { return QRectF(width() / 2.0 + 0.5, 0.5, width() / 2.0 - 1, height() - 1); }

QPointF TEyes::PupilRadius() const { return {LeftEye().width() / 5.0, LeftEye().height() / 5.0}; }

QPointF TEyes::PupilCenter(const QRectF& eye, QPointF pupilRadius, QPointF target) {
  // The pupil's centre moves inside an ellipse shrunk by the pupil's size.
  const QPointF centre = eye.center();
  const double a = std::max(0.0, eye.width() / 2 - pupilRadius.x() - 1);
  const double b = std::max(0.0, eye.height() / 2 - pupilRadius.y() - 1);
  const QPointF d = target - centre;
  if (a <= 0 || b <= 0 || (d.x() == 0 && d.y() == 0)) return centre;
  // Scale of d that reaches the rim of the inner ellipse.
  const double rim = 1.0 / std::sqrt((d.x() * d.x()) / (a * a) + (d.y() * d.y()) / (b * b));
  return rim >= 1.0 ? target : centre + d * rim;
}

void TEyes::LookAt(const QPoint& globalPoint) {
  const QPointF target = mapFromGlobal(globalPoint);
  const QPointF left = PupilCenter(LeftEye(), PupilRadius(), target);
  const QPointF right = PupilCenter(RightEye(), PupilRadius(), target);
  if (FLooking && left == FLeftPupil && right == FRightPupil) return;
  FLooking = true;
  FLeftPupil = left;
  FRightPupil = right;
  update();
}

void TEyes::resizeEvent(QResizeEvent*) { FLooking = false; }

QPointF TEyes::LeftPupil() const { return FLooking ? FLeftPupil : LeftEye().center(); }

QPointF TEyes::RightPupil() const { return FLooking ? FRightPupil : RightEye().center(); }

void TEyes::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawEllipse(LeftEye());
  p.drawEllipse(RightEye());
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  const QPointF r = PupilRadius();
  p.drawEllipse(LeftPupil(), r.x(), r.y());
  p.drawEllipse(RightPupil(), r.x(), r.y());
}
