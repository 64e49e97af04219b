#include <gtest/gtest.h>

#include "platform/WindowPlacement.h"

namespace {

struct TFitCase {
  QRect Stored;
  QRect Expected;
};

TEST(WindowPlacement, StoredRectangleIsShiftedOntoTheScreenKeepingItsSize) {
  const QSize screen(1024, 768);
  const TFitCase cases[] = {
      {QRect(100, 50, 600, 400), QRect(100, 50, 600, 400)},          // fits
      {QRect(0, 0, 1024, 768), QRect(0, 0, 1024, 768)},              // exactly the screen
      {QRect(600, 50, 600, 400), QRect(424, 50, 600, 400)},          // too far right
      {QRect(100, 500, 600, 400), QRect(100, 368, 600, 400)},        // too low
      {QRect(100, 100, 1280, 1024), QRect(-256, -256, 1280, 1024)},  // larger: the left edge goes negative
  };
  for (const auto& c : cases) EXPECT_EQ(FitPlacementToScreen(c.Stored, screen), c.Expected);
}

}  // namespace
