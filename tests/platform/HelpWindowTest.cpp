#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextBrowser>

#include "common/TestSupport.h"
#include "platform/AppRoutines.h"
#include "platform/HelpWindow.h"
#include "platform/ScriptedDialogService.h"

namespace {

QString HelpSource() { return QStringLiteral(TABWRIGHT_SOURCE_DIR "/data/help/KLX.html"); }

THelpWindow* OpenWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* help = qobject_cast<THelpWindow*>(w)) return help;
  return nullptr;
}

class HelpWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { SetApplicationHelpFile(HelpSource()); }
  void TearDown() override {
    CloseHelpWindow();
    SetApplicationHelpFile({});
  }
};

TEST_F(HelpWindowTest, EveryTopicTheProgramCallsHasAnAnchor) {
  const QByteArray html = testsupport::ReadAll(HelpSource());
  for (const char* topic : {"contents", "1001", "1002", "1003", "1004", "911", "1015"})
    EXPECT_TRUE(html.contains(QByteArray("<a name=\"") + topic + "\">")) << topic;
}

TEST_F(HelpWindowTest, TopicsOpenByNumber) {
  ShowHelpContext(1003);
  THelpWindow* help = OpenWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->CurrentAnchor(), "1003");
  EXPECT_TRUE(help->Browser()->toPlainText().contains("Printer fine tuning"));
  // The topic is scrolled into view, well below the contents.
  const int atFineTuning = help->Browser()->verticalScrollBar()->value();
  EXPECT_GT(atFineTuning, 0);
  EXPECT_FALSE(help->Browser()->isBackwardAvailable());
  ApplicationHelpContext(1015);
  EXPECT_TRUE(help->Browser()->isBackwardAvailable());
  EXPECT_EQ(help->CurrentAnchor(), "1015");
  EXPECT_GT(help->Browser()->verticalScrollBar()->value(), atFineTuning);
  ShowHelpContents();
  EXPECT_EQ(help->CurrentAnchor(), "contents");
  EXPECT_LT(help->Browser()->verticalScrollBar()->value(), atFineTuning);
}

TEST_F(HelpWindowTest, SearchFindsTextAndSaysWhenThereIsNone) {
  ShowHelpSearch();
  THelpWindow* help = OpenWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->FindText("creeps"));
  EXPECT_EQ(help->Browser()->textCursor().selectedText(), "creeps");
  EXPECT_TRUE(help->FindText("Alt+0169"));
  EXPECT_TRUE(help->FindText("creeps"));  // wraps to the top again
  EXPECT_FALSE(help->FindText("xylophone"));
}

TEST_F(HelpWindowTest, HelpOnHelpExplainsTheViewer) {
  ShowHelpOnHelp();
  THelpWindow* help = OpenWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->Browser()->toPlainText().contains("Using Help"));
  ShowHelpContext(1001);  // back to the help file afterwards
  EXPECT_TRUE(help->Browser()->toPlainText().contains("Choosing a label layout"));
}

TEST_F(HelpWindowTest, NoHelpFileSetTellsTheUser) {
  SetApplicationHelpFile({});
  TScopedScriptedDialogs dialogs;
  for (int i = 0; i < 4; ++i) dialogs->QueueMessageResult(idOK);
  ShowHelpContext(1001);
  ShowHelpContents();
  ShowHelpOnHelp();
  ShowHelpSearch();
  ApplicationHelpContext(911);  // the direct call has no such test and shows nothing
  EXPECT_EQ(dialogs->MessageTexts(), QStringList(4, "Application Helpfile not set"));
  EXPECT_EQ(OpenWindow(), nullptr);
}

TEST_F(HelpWindowTest, MissingHelpFileSaysSoInTheWindow) {
  SetApplicationHelpFile("/nonexistent/KLX.HLP");
  ShowHelpContext(1001);
  THelpWindow* help = OpenWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->Browser()->toPlainText().contains("cannot be found"));
}

}  // namespace
