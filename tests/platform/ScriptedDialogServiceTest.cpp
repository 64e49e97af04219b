#include <gtest/gtest.h>

#include <QDialog>
#include <QPrinter>

#include "platform/AppRoutines.h"
#include "platform/ScriptedDialogService.h"

namespace {

TEST(ScriptedDialogs, AnswersInOrderAndRecordsRequests) {
  TScopedScriptedDialogs dialogs;
  dialogs->QueueMessageResult(idYes);
  dialogs->QueueFileName("/tmp/page.KLX");
  dialogs->QueueFont(QFont("Liberation Serif", 14), QColor(255, 0, 0));

  EXPECT_EQ(Dialogs().MessageBox("Save changes?", "Save", mbYesNo | mbIconQuestion), idYes);
  TFileDialogOptions open;
  open.Title = "Open Label Page File";
  open.Filter = "Label Page File|*.KLX";
  EXPECT_EQ(Dialogs().OpenFileName(open), "/tmp/page.KLX");
  QFont font("Arial", 10);
  QColor color(Qt::black);
  EXPECT_TRUE(Dialogs().ChooseFont(font, color));
  EXPECT_EQ(font.family(), "Liberation Serif");
  EXPECT_EQ(color, QColor(255, 0, 0));

  ASSERT_EQ(dialogs->Requests().size(), 3u);
  EXPECT_EQ(dialogs->Requests()[1].Kind, TDialogKind::OpenFile);
  EXPECT_EQ(dialogs->Requests()[1].File.Filter, "Label Page File|*.KLX");
  EXPECT_EQ(dialogs->Requests()[1].Caption, "Open Label Page File");
  EXPECT_TRUE(dialogs->Unexpected().empty());
  EXPECT_EQ(dialogs->Pending(), 0u);
}

TEST(ScriptedDialogs, UnscriptedRequestsCancelAndAreReported) {
  TScopedScriptedDialogs dialogs;
  EXPECT_EQ(Dialogs().MessageBox("Q?", "C", mbYesNo), idNo);
  EXPECT_EQ(Dialogs().MessageBox("Note", "C", mbOK), idOK);
  EXPECT_TRUE(Dialogs().SaveFileName({}).isEmpty());
  QFont font;
  QColor color;
  EXPECT_FALSE(Dialogs().ChooseFont(font, color));
  QDialog dialog;
  EXPECT_EQ(Dialogs().Exec(dialog), idCancel);
  EXPECT_EQ(dialogs->Unexpected().size(), 5u);
}

TEST(ScriptedDialogs, AnswerOfTheWrongKindIsNotConsumed) {
  TScopedScriptedDialogs dialogs;
  dialogs->QueueFileName("/tmp/a.KLX");
  EXPECT_EQ(Dialogs().MessageBox("Q?", "C", mbYesNo), idNo);
  EXPECT_EQ(dialogs->Unexpected().size(), 1u);
  EXPECT_EQ(dialogs->Pending(), 1u);
  EXPECT_EQ(Dialogs().SaveFileName({}), "/tmp/a.KLX");  // open and save answers are interchangeable
}

TEST(ScriptedDialogs, ExecRunsTheScriptOnTheDialog) {
  TScopedScriptedDialogs dialogs;
  dialogs->QueueExec([](QDialog& d) {
    d.setProperty("touched", true);
    return 99;
  });
  dialogs->QueueExecResult(1);
  QDialog dialog;
  dialog.setWindowTitle("Select Layout");
  EXPECT_EQ(Dialogs().Exec(dialog), 99);
  EXPECT_TRUE(dialog.property("touched").toBool());
  EXPECT_EQ(Dialogs().Exec(dialog), 1);
  EXPECT_EQ(dialogs->Requests()[0].Caption, "Select Layout");
  EXPECT_EQ(dialogs->Requests()[0].DialogClass, "QDialog");
}

TEST(ScriptedDialogs, PrintDialogCanAdjustThePrinter) {
  TScopedScriptedDialogs dialogs;
  dialogs->QueuePrint(true, [](QPrinter& p) { p.setCopyCount(3); });
  dialogs->QueuePrinterSetup(false);
  QPrinter printer;
  EXPECT_TRUE(Dialogs().PrintDialog(printer));
  EXPECT_EQ(printer.copyCount(), 3);
  EXPECT_FALSE(Dialogs().PrinterSetupDialog(printer));
}

TEST(ScriptedDialogs, ScopeRestoresThePreviousService) {
  TDialogService* before = &Dialogs();
  {
    TScopedScriptedDialogs dialogs;
    EXPECT_EQ(&Dialogs(), &*dialogs);
  }
  EXPECT_EQ(&Dialogs(), before);
}

TEST(QtFilter, PairsBecomeQtFilters) {
  EXPECT_EQ(QtFilterFromPairs("Saved Label File|*.KLX"), "Saved Label File (*.KLX)");
  EXPECT_EQ(QtFilterFromPairs("Text|*.txt;*.asc|All|*.*"), "Text (*.txt *.asc);;All (*.*)");
  EXPECT_EQ(QtFilterFromPairs(""), "");
}

}  // namespace
