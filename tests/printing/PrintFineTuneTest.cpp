#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "platform/AppGlobals.h"
#include "platform/ScriptedDialogService.h"
#include "printing/PrintFineTune.h"
#include "printing/PrintingTestSupport.h"
#include "printing/SpinButton.h"
#include "printing/TimerSpeedButton.h"

namespace {

using printingtest::TManualClock;

TEST(FormatNudge, SaysWhichWayAndHowFar) {
  const struct {
    std::int32_t Value;
    const char* Text;
  } cases[] = {
      {-500, "Decrease by 500/1000\""},
      {-12, "Decrease by 12/1000\""},
      {-1, "Decrease by 1/1000\""},
      {0, "None"},
      {1, "Increase by 1/1000\""},
      {500, "Increase by 500/1000\""},
      // Only an edited preferences file holds these: they read as the limit.
      {700, "Increase by 500/1000\""},
      {-501, "Decrease by 500/1000\""},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatNudge(c.Value), c.Text) << c.Value;
}

class PrintFineTuneTest : public ::testing::Test {
 protected:
  void SetUp() override { SetCurrentNudges({}); }
  void TearDown() override { SetCurrentNudges({}); }

  // The four nudges and their spinners and value labels, in panel order.
  static constexpr std::int32_t TPrinterNudges::*kNudges[] = {
      &TPrinterNudges::TopMargin, &TPrinterNudges::LeftMargin, &TPrinterNudges::VerticalSpacing,
      &TPrinterNudges::HorizontalSpacing};
  struct TNudgeControl {
    TSpinButton* Spinner;
    QLabel* Value;
  };
  static std::vector<TNudgeControl> Controls(TPrintFineTune& d) {
    return {{d.TopMarginSpinner, d.lTopMarginNudge},
            {d.LeftMarginSpinner, d.LLeftMarginNudge},
            {d.VerticalSpacingSpinner, d.LVerticalSpacing},
            {d.HorizontalSpacingSpinner, d.LHorizontalSpacing}};
  }

  TManualClock FClock;
  TScopedRepeatTimerFactory FTimers{[this] { return FClock.NewTimer(); }};
};

// The down arrow increases a nudge and the up arrow decreases it, each only
// its own, and neither passes 500 either way.
TEST_F(PrintFineTuneTest, ArrowsStepTheirOwnNudgeWithinLimits) {
  const struct {
    std::int32_t Start;
    bool Down;
    std::int32_t End;
  } cases[] = {{0, true, 1},        {0, false, -1},      {499, true, 500},  {500, true, 500},
               {-499, false, -500}, {-500, false, -500}, {-500, true, -499}};
  for (int i = 0; i < 4; ++i) {
    for (const auto& c : cases) {
      TPrinterNudges start;
      start.*kNudges[i] = c.Start;
      SetCurrentNudges(start);
      TPrintFineTune dialog;
      const TNudgeControl control = Controls(dialog)[i];
      (c.Down ? control.Spinner->DownButton() : control.Spinner->UpButton())->click();
      TPrinterNudges expected;
      expected.*kNudges[i] = c.End;
      EXPECT_EQ(dialog.WorkingValues(), expected) << "spinner " << i << " from " << c.Start;
      EXPECT_EQ(control.Value->text(), FormatNudge(c.End)) << "spinner " << i << " from " << c.Start;
    }
  }
  EXPECT_EQ(CurrentNudges(), (TPrinterNudges{0, 0, 0, -500}));  // untouched without OK
}

TEST_F(PrintFineTuneTest, HoldingTheDownArrowAt495ForTwoSecondsEndsAt500) {
  SetCurrentNudges({.TopMargin = 495});
  TPrintFineTune dialog;
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  TTimerSpeedButton* down = dialog.TopMarginSpinner->DownButton();
  QTest::mousePress(down, Qt::LeftButton);
  FClock.Advance(2000);
  QTest::mouseRelease(down, Qt::LeftButton);
  EXPECT_EQ(dialog.WorkingValues().TopMargin, 500);
  EXPECT_EQ(dialog.lTopMarginNudge->text(), "Increase by 500/1000\"");
}

TEST_F(PrintFineTuneTest, UpArrowKeyOnAFocusedSpinnerDecreases) {
  TPrintFineTune dialog;
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  dialog.LeftMarginSpinner->setFocus();
  QTest::keyClick(dialog.LeftMarginSpinner, Qt::Key_Up);
  EXPECT_EQ(dialog.LLeftMarginNudge->text(), "Decrease by 1/1000\"");
  QTest::keyClick(dialog.LeftMarginSpinner, Qt::Key_Down);
  QTest::keyClick(dialog.LeftMarginSpinner, Qt::Key_Down);
  EXPECT_EQ(dialog.LLeftMarginNudge->text(), "Increase by 1/1000\"");
  // Enter still answers the default button.
  QTest::keyClick(dialog.LeftMarginSpinner, Qt::Key_Return);
  EXPECT_EQ(dialog.result(), TPrintFineTune::ResultOk);
  EXPECT_EQ(LeftMarginNudge, 1);
}

TEST_F(PrintFineTuneTest, OkWritesTheNudgesCancelAndDefaultDoNot) {
  const TPrinterNudges stored{7, -3, 2, -1};
  SetCurrentNudges(stored);
  {
    TPrintFineTune dialog;
    EXPECT_EQ(dialog.lTopMarginNudge->text(), "Increase by 7/1000\"");
    dialog.DefaultButton->click();
    EXPECT_EQ(dialog.WorkingValues(), TPrinterNudges{});
    EXPECT_EQ(dialog.LHorizontalSpacing->text(), "None");
    dialog.Cancelbutton->click();
    EXPECT_EQ(dialog.result(), TPrintFineTune::ResultCancel);
    EXPECT_EQ(CurrentNudges(), stored);
  }
  {
    TPrintFineTune dialog;
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), TPrintFineTune::ResultCancel);
    EXPECT_EQ(CurrentNudges(), stored);
  }
  TScopedScriptedDialogs dialogs;
  dialogs->QueueExec([](QDialog& d) {
    auto& dialog = dynamic_cast<TPrintFineTune&>(d);
    dialog.DefaultButton->click();
    dialog.VerticalSpacingSpinner->UpButton()->click();
    dialog.OKButton->click();
    return dialog.result();
  });
  EXPECT_TRUE(TPrintFineTune::EditNudges());
  EXPECT_EQ(CurrentNudges(), (TPrinterNudges{0, 0, -1, 0}));
  EXPECT_FALSE(TPrintFineTune::EditNudges());  // unanswered: cancelled
  EXPECT_EQ(CurrentNudges(), (TPrinterNudges{0, 0, -1, 0}));
}

TEST_F(PrintFineTuneTest, StoredValuesBeyondTheLimitsStartAtTheLimit) {
  SetCurrentNudges({.TopMargin = 700, .HorizontalSpacing = -2000});
  TPrintFineTune dialog;
  EXPECT_EQ(dialog.lTopMarginNudge->text(), "Increase by 500/1000\"");
  EXPECT_EQ(dialog.LHorizontalSpacing->text(), "Decrease by 500/1000\"");
  dialog.TopMarginSpinner->UpButton()->click();
  EXPECT_EQ(dialog.lTopMarginNudge->text(), "Increase by 499/1000\"");
  dialog.Cancelbutton->click();
  EXPECT_EQ(TopMarginNudge, 700);
}

TEST_F(PrintFineTuneTest, EveryTextFitsItsPlace) {
  SetCurrentNudges({-500, -500, -500, -500});
  TPrintFineTune dialog;
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  for (const TNudgeControl& c : Controls(dialog)) {
    EXPECT_LE(c.Value->fontMetrics().horizontalAdvance(c.Value->text()), c.Value->width());
    EXPECT_EQ(c.Spinner->size(), QSize(23, 39));
  }
  for (QLabel* label : dialog.findChildren<QLabel*>())
    if (label->wordWrap()) {
      EXPECT_LE(label->heightForWidth(label->width()), label->height()) << label->text().toStdString();
    }
  printingtest::SaveScreenshot(dialog, "PrintFineTune");
}

TEST_F(PrintFineTuneTest, HelpOpensTopic1003) {
  TPrintFineTune dialog;
  EXPECT_EQ(printingtest::HelpAnchorOpenedBy([&] { dialog.Helpbutton->click(); }), "1003");
}

}  // namespace
