#include <gtest/gtest.h>

#include "app/Eyes.h"

namespace {

TEST(Eyes, PupilLooksTowardTheTargetWithoutLeavingTheEye) {
  const QRectF eye(0, 0, 20, 30);
  const QPointF radius(4, 6);
  // The pupil moves inside an ellipse of half-axes 5 and 8 round the centre (10, 15).
  EXPECT_EQ(TEyes::PupilCenter(eye, radius, QPointF(10, 15)), QPointF(10, 15));
  EXPECT_EQ(TEyes::PupilCenter(eye, radius, QPointF(500, 15)), QPointF(15, 15));
  EXPECT_EQ(TEyes::PupilCenter(eye, radius, QPointF(10, -400)), QPointF(10, 7));
  EXPECT_EQ(TEyes::PupilCenter(eye, radius, QPointF(12, 16)), QPointF(12, 16));  // near: right there
  const QPointF diagonal = TEyes::PupilCenter(eye, radius, QPointF(1000, 1000 * 8.0 / 5 + 15));
  EXPECT_NEAR((diagonal.x() - 10) * (diagonal.x() - 10) / 25 + (diagonal.y() - 15) * (diagonal.y() - 15) / 64,
              1.0, 1e-9);
}

TEST(Eyes, LookAgainEveryHundredMilliseconds) {
  TEyes eyes;
  eyes.setGeometry(20, 146, 37, 30);
  EXPECT_EQ(eyes.Timer().interval(), 100);
  EXPECT_TRUE(eyes.Timer().isActive());
  EXPECT_EQ(eyes.LeftPupil(), eyes.LeftEye().center());
  eyes.LookAt(eyes.mapToGlobal(QPoint(1000, 15)));
  EXPECT_GT(eyes.LeftPupil().x(), eyes.LeftEye().center().x());
  EXPECT_GT(eyes.RightPupil().x(), eyes.RightEye().center().x());
  eyes.LookAt(eyes.mapToGlobal(QPoint(-1000, 15)));
  EXPECT_LT(eyes.LeftPupil().x(), eyes.LeftEye().center().x());
}

}  // namespace
