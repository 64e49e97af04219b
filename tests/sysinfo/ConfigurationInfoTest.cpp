#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/ScriptedDialogService.h"
#include "sysinfo/ConfigurationInfo.h"

namespace {

// Copy to Clipboard copies the whole report, says so, and leaves the
// selection in the visible box as it was.
TEST(ConfigurationInfo, CopyToClipboardCopiesTheWholeReport) {
  TScopedScriptedDialogs dialogs;
  dialogs->QueueMessageResult(idOK);
  TReportPreferences preferences;
  preferences.FileName = "KLXFF.ini";
  preferences.FontName = "Arial";
  TConfigurationInfo dialog(preferences);
  EXPECT_EQ(dialog.windowTitle(), "Configuration Information");
  const QStringList lines = dialog.ReportLines();
  ASSERT_GT(lines.size(), 20);
  EXPECT_EQ(lines[lines.size() - 6], "[KLXFF.ini]");

  QTextCursor partial = dialog.Memo1->textCursor();
  partial.setPosition(3);
  partial.setPosition(9, QTextCursor::KeepAnchor);
  dialog.Memo1->setTextCursor(partial);
  QApplication::clipboard()->clear();
  dialog.Button1->click();

  EXPECT_EQ(QApplication::clipboard()->text().split('\n'), lines);
  ASSERT_EQ(dialogs->Requests().size(), 1u);
  EXPECT_EQ(dialogs->Requests()[0].Text, "Information copied to Windows clipboard");
  EXPECT_EQ(dialogs->Requests()[0].Caption, "Configuration Information");
  EXPECT_EQ(dialogs->Requests()[0].Flags, mbOK | mbIconInformation);
  EXPECT_EQ(dialog.Memo1->textCursor().selectionStart(), 3);
  EXPECT_EQ(dialog.Memo1->textCursor().selectionEnd(), 9);

  dialog.Button2->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
