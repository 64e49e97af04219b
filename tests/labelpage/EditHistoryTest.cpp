#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "labelpage/EditHistory.h"
#include "labelpage/LabelPageTestSupport.h"
#include "labelpage/LabelSheet.h"

namespace {

using labelpagetest::GridLayout;
using labelpagetest::PutText;
using labelpagetest::TextOf;

class EditHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FSheet.Reset(GridLayout(2, 2));
    History().Clock = [this] { return FNow; };
    History().Clear(true);
  }
  TEditHistory& History() { return FSheet.History(); }

  // One user action: label n gets text, the caret moving from 0 to its end.
  void Change(int n, const std::string& text, bool typed = false) {
    History().BeginStep({n}, {n, 0}, typed);
    PutText(FSheet.Storage(n)->RtfText(), text);
    History().EndStep({n, static_cast<int>(text.size())});
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (int n = 1; n <= FSheet.LabelsPerPage(); ++n) texts.push_back(TextOf(FSheet.Storage(n)->RtfText()));
    return texts;
  }

  TLabelSheet FSheet;
  std::int64_t FNow = 0;
};

TEST_F(EditHistoryTest, UndoAndRedoRestoreEveryLabelOfAStepAndTheCaret) {
  Change(1, "one");
  // A step over several labels, as copy to all makes one.
  History().BeginStep({2, 3, 4}, {1, 3});
  for (int n : {2, 3, 4}) PutText(FSheet.Storage(n)->RtfText(), "one");
  History().EndStep({1, 2});
  EXPECT_EQ(Texts(), (std::vector<std::string>{"one", "one", "one", "one"}));

  EXPECT_EQ(History().Undo(), (TEditPlace{1, 3}));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"one", "", "", ""}));
  EXPECT_EQ(History().Undo(), (TEditPlace{1, 0}));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"", "", "", ""}));
  EXPECT_FALSE(History().CanUndo());
  EXPECT_EQ(History().Undo(), std::nullopt);

  EXPECT_EQ(History().Redo(), (TEditPlace{1, 3}));
  EXPECT_EQ(History().Redo(), (TEditPlace{1, 2}));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"one", "one", "one", "one"}));
  EXPECT_EQ(History().Redo(), std::nullopt);

  // A new action after an undo forgets what could be redone.
  History().Undo();
  Change(4, "four");
  EXPECT_FALSE(History().CanRedo());
  History().Undo();
  EXPECT_EQ(Texts(), (std::vector<std::string>{"one", "", "", ""}));
}

TEST_F(EditHistoryTest, ARunOfTypingInOneLabelIsOneStep) {
  struct TCase {
    const char* What;
    int SecondLabel;
    bool SecondTyped;
    std::int64_t Pause;
    bool EndTypingBetween;
    int Steps;
  };
  const TCase cases[] = {
      {"typing on", 1, true, 999, false, 1},        {"a pause of a second", 1, true, 1000, false, 2},
      {"another label", 2, true, 0, false, 2},      {"a change that is not typing", 1, false, 0, false, 2},
      {"a move ends the run", 1, true, 0, true, 2},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    History().Clear(true);
    for (int n = 1; n <= 2; ++n) PutText(FSheet.Storage(n)->RtfText(), "");
    Change(1, "a", true);
    FNow += c.Pause;
    if (c.EndTypingBetween) History().EndTyping();
    Change(c.SecondLabel, c.SecondLabel == 1 ? "ab" : "b", c.SecondTyped);
    EXPECT_EQ(History().StepCount(), c.Steps);
    while (History().CanUndo()) History().Undo();
    EXPECT_EQ(TextOf(FSheet.Storage(1)->RtfText()), "");
    EXPECT_EQ(TextOf(FSheet.Storage(2)->RtfText()), "");
    // Redoing the whole run brings back its last keystroke.
    while (History().CanRedo()) History().Redo();
    EXPECT_EQ(TextOf(FSheet.Storage(c.SecondLabel)->RtfText()), c.SecondLabel == 1 ? "ab" : "b");
  }
}

TEST_F(EditHistoryTest, TheSavedStateIsKnownWhileItCanBeReached) {
  EXPECT_TRUE(History().AtSavedState());
  Change(1, "a", true);
  EXPECT_FALSE(History().AtSavedState());
  History().Undo();
  EXPECT_TRUE(History().AtSavedState());
  History().Redo();
  History().MarkSaved();
  EXPECT_TRUE(History().AtSavedState());
  // Typing on after a save starts a step of its own.
  Change(1, "ab", true);
  History().Undo();
  EXPECT_TRUE(History().AtSavedState());
  EXPECT_EQ(TextOf(FSheet.Storage(1)->RtfText()), "a");
  History().Undo();
  EXPECT_FALSE(History().AtSavedState());
  // A new action where the saved state could only be redone loses it.
  Change(2, "b");
  while (History().CanUndo()) History().Undo();
  EXPECT_FALSE(History().AtSavedState());

  History().Clear(false);
  EXPECT_FALSE(History().AtSavedState());
  Change(1, "c");
  History().Undo();
  EXPECT_FALSE(History().AtSavedState());
}

TEST_F(EditHistoryTest, KeepsTheLastHundredSteps) {
  for (int i = 1; i <= TEditHistory::MaxSteps + 5; ++i) Change(1, std::to_string(i));
  EXPECT_EQ(History().StepCount(), TEditHistory::MaxSteps);
  int undone = 0;
  while (History().Undo()) ++undone;
  EXPECT_EQ(undone, TEditHistory::MaxSteps);
  EXPECT_EQ(TextOf(FSheet.Storage(1)->RtfText()), "5");
  // The empty sheet of the start, the saved one, is out of reach.
  EXPECT_FALSE(History().AtSavedState());
}

}  // namespace
