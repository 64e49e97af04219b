#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <functional>

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

// A search that finds nothing leaves the reader where they were; its note
// goes with the next page, however the reader gets there.
TEST_F(HelpWindowTest, FailedSearchKeepsThePlaceAndItsNoteGoesWithTheNextPage) {
  const std::function<void(THelpWindow&)> navigations[] = {
      [](THelpWindow&) { ShowHelpContents(); },
      [](THelpWindow&) { ShowHelpOnHelp(); },
      [](THelpWindow&) { ShowHelpContext(1015); },
      [](THelpWindow& help) { help.Browser()->backward(); },
  };
  for (const auto& navigate : navigations) {
    ShowHelpContext(1002);
    ShowHelpContext(1003);
    THelpWindow* help = OpenWindow();
    ASSERT_NE(help, nullptr);
    const int place = help->Browser()->verticalScrollBar()->value();
    ASSERT_GT(place, 0);
    EXPECT_FALSE(help->FindText("xylophone"));
    EXPECT_EQ(help->CurrentAnchor(), "1003");
    EXPECT_EQ(help->Browser()->verticalScrollBar()->value(), place);
    EXPECT_TRUE(help->SearchNote()->isVisible());
    navigate(*help);
    EXPECT_FALSE(help->SearchNote()->isVisible()) << help->CurrentAnchor().toStdString();
  }
}

TEST_F(HelpWindowTest, HelpOnHelpIsAPageThatBackAndForwardPassThrough) {
  ShowHelpContents();
  ShowHelpContext(1001);
  ShowHelpOnHelp();
  THelpWindow* help = OpenWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->Browser()->toPlainText().contains("Using Help"));
  help->Browser()->backward();
  EXPECT_EQ(help->CurrentAnchor(), "1001");
  EXPECT_TRUE(help->Browser()->toPlainText().contains("Choosing a label layout"));
  help->Browser()->forward();
  EXPECT_EQ(help->CurrentAnchor(), "helponhelp");
  ShowHelpContext(1004);
  help->Browser()->backward();
  EXPECT_EQ(help->CurrentAnchor(), "helponhelp");
}

// Help asked for from a modal dialog: the help window takes clicks, as the
// window system delivers them, while the dialog stays open behind it.
TEST_F(HelpWindowTest, HelpFromAModalDialogIsUsableAndTheDialogStaysOpen) {
  QDialog dialog;
  QString anchorAfterClick;
  bool helpActive = false, dialogOpenAfterHelp = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (QApplication::activeModalWidget() != &dialog) return;
    poll.stop();
    ShowHelpContext(1001);
    QCoreApplication::processEvents();
    THelpWindow* help = OpenWindow();
    if (help) {
      helpActive = QApplication::activeWindow() == help;
      QPushButton* contents = nullptr;
      for (QPushButton* button : help->findChildren<QPushButton*>())
        if (button->text() == "&Contents") contents = button;
      QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {},
                        contents->mapTo(help, contents->rect().center()));
      anchorAfterClick = help->CurrentAnchor();
      help->close();
    }
    dialogOpenAfterHelp = dialog.isVisible();
    dialog.reject();
  });
  poll.start(10);
  dialog.exec();
  EXPECT_EQ(anchorAfterClick, "contents");
  EXPECT_TRUE(helpActive);
  EXPECT_TRUE(dialogOpenAfterHelp);
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
