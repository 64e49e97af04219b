#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "printing/PrintingTestSupport.h"
#include "printing/SpinButton.h"
#include "printing/TimerSpeedButton.h"

namespace {

using printingtest::TManualClock;

// A spin button in a window of its own that counts its clicks, with repeat
// timers on a hand-driven clock.
class SpinButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FSpinner = new TSpinButton(&FWindow);
    FSpinner->setGeometry(10, 10, 23, 39);
    FSpinner->OnUpClick = [this](QObject* sender) {
      EXPECT_EQ(sender, FSpinner);
      ++FUps;
    };
    FSpinner->OnDownClick = [this](QObject*) { ++FDowns; };
    FWindow.resize(100, 100);
    FWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&FWindow));
  }
  bool HasFocusRect(TTimerSpeedButton* button) const { return button->Has(TTimerSpeedButton::tbFocusRect); }

  TManualClock FClock;
  TScopedRepeatTimerFactory FTimers{[this] { return FClock.NewTimer(); }};
  QWidget FWindow;
  TSpinButton* FSpinner = nullptr;
  int FUps = 0;
  int FDowns = 0;
};

TEST_F(SpinButtonTest, ButtonsSplitTheHeightAndOverlapByOnePixel) {
  struct TCase {
    QSize Size;
    QRect Up, Down;
  } cases[] = {
      {{23, 39}, {0, 0, 23, 19}, {0, 18, 23, 21}},
      {{10, 39}, {0, 0, 15, 19}, {0, 18, 15, 21}},  // widened to 15
      {{20, 25}, {0, 0, 20, 12}, {0, 11, 20, 14}},
      {{30, 2}, {0, 0, 30, 1}, {0, 0, 30, 2}},
  };
  for (const TCase& c : cases) {
    FSpinner->resize(c.Size);
    EXPECT_EQ(FSpinner->UpButton()->geometry(), c.Up) << c.Size.width() << "x" << c.Size.height();
    EXPECT_EQ(FSpinner->DownButton()->geometry(), c.Down) << c.Size.width() << "x" << c.Size.height();
  }
  EXPECT_EQ(TSpinButton().size(), QSize(20, 25));
}

// Holding a button clicks it first 400 ms after the press, then every 100 ms;
// the release over the button adds the normal click.
TEST_F(SpinButtonTest, HoldingAButtonRepeatsItsClick) {
  const struct {
    int HeldMs;
    int Clicks;
  } cases[] = {{0, 1}, {399, 1}, {400, 2}, {499, 2}, {500, 3}, {2000, 18}};
  for (const auto& c : cases) {
    FDowns = 0;
    QTest::mousePress(FSpinner->DownButton(), Qt::LeftButton);
    FClock.Advance(c.HeldMs);
    QTest::mouseRelease(FSpinner->DownButton(), Qt::LeftButton);
    FClock.Advance(1000);  // released: no more repeats
    EXPECT_EQ(FDowns, c.Clicks) << c.HeldMs << " ms";
  }
  EXPECT_EQ(FUps, 0);
  ASSERT_NE(FSpinner->DownButton()->RepeatTimer(), nullptr);
  EXPECT_FALSE(FSpinner->DownButton()->RepeatTimer()->Enabled());
}

TEST_F(SpinButtonTest, KeysClickAndMoveTheFocusRectangle) {
  FWindow.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&FWindow));
  FSpinner->setFocus();
  ASSERT_TRUE(FSpinner->hasFocus());
  EXPECT_EQ(FSpinner->FocusedButton(), FSpinner->UpButton());
  EXPECT_TRUE(HasFocusRect(FSpinner->UpButton()));

  QTest::keyClick(FSpinner, Qt::Key_Space);
  EXPECT_EQ(FUps, 1);
  QTest::keyClick(FSpinner, Qt::Key_Down);
  EXPECT_EQ(FDowns, 1);
  EXPECT_EQ(FSpinner->FocusedButton(), FSpinner->DownButton());
  EXPECT_TRUE(HasFocusRect(FSpinner->DownButton()));
  EXPECT_FALSE(HasFocusRect(FSpinner->UpButton()));
  QTest::keyClick(FSpinner, Qt::Key_Space);
  EXPECT_EQ(FDowns, 2);
  QTest::keyClick(FSpinner, Qt::Key_Up);
  EXPECT_EQ(FUps, 2);
  EXPECT_TRUE(HasFocusRect(FSpinner->UpButton()));

  // The rectangle is drawn 3 pixels inside the button and goes with the focus.
  const QImage focused = FSpinner->UpButton()->grab().toImage();
  FSpinner->clearFocus();
  EXPECT_FALSE(HasFocusRect(FSpinner->UpButton()));
  const QImage plain = FSpinner->UpButton()->grab().toImage();
  EXPECT_NE(focused.pixelColor(3, 3), plain.pixelColor(3, 3));
  EXPECT_EQ(focused.pixelColor(2, 2), plain.pixelColor(2, 2));
  const int right = plain.width() - 4;
  EXPECT_NE(focused.pixelColor(right, 5), plain.pixelColor(right, 5));
  EXPECT_EQ(focused.pixelColor(right + 1, 5), plain.pixelColor(right + 1, 5));
}

TEST_F(SpinButtonTest, PressingAButtonFocusesTheSpinButtonOrItsFocusControl) {
  FWindow.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&FWindow));
  QTest::mouseClick(FSpinner->DownButton(), Qt::LeftButton);
  EXPECT_TRUE(FSpinner->hasFocus());
  EXPECT_EQ(FSpinner->FocusedButton(), FSpinner->DownButton());
  EXPECT_TRUE(HasFocusRect(FSpinner->DownButton()));

  auto* edit = new QLineEdit(&FWindow);
  edit->setGeometry(40, 10, 50, 20);
  edit->show();
  FSpinner->FocusControl = edit;
  QTest::mouseClick(FSpinner->UpButton(), Qt::LeftButton);
  EXPECT_TRUE(edit->hasFocus());
  EXPECT_EQ(FSpinner->FocusedButton(), FSpinner->UpButton());
  EXPECT_FALSE(HasFocusRect(FSpinner->UpButton()));  // the spin button lost the focus
  EXPECT_EQ(FUps, 1);
  EXPECT_EQ(FDowns, 1);
}

}  // namespace
