#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "app/FillFromList.h"
#include "app/MainForm.h"
#include "common/TestSupport.h"
#include "labelpage/LabelPageTestSupport.h"
#include "platform/AppRoutines.h"
#include "platform/ScriptedDialogService.h"

namespace {

using labelpagetest::FileFolderSheet;
using labelpagetest::PutText;
using labelpagetest::TextOf;

QString Numbered(const QString& stem, int from, int to) {
  QStringList lines;
  for (int i = from; i <= to; ++i) lines << stem + QString::number(i);
  return lines.join('\n');
}

class FillFromListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FDir.isValid());
    FSheet.Reset(FileFolderSheet());
    PutText(FSheet.Storage(6)->RtfText(), "Six");
    PutText(FSheet.Storage(9)->RtfText(), "Nine");
  }
  QString File(const QString& name, const QByteArray& bytes) {
    const QString path = FDir.filePath(name);
    testsupport::WriteAll(path, bytes);
    return path;
  }

  QTemporaryDir FDir;
  TLabelSheet FSheet;
  TScopedScriptedDialogs FDialogs;
};

TEST_F(FillFromListTest, SummaryFollowsEveryChange) {
  FSheet.Reset(FileFolderSheet());
  for (int n : {28, 29, 30}) PutText(FSheet.Storage(n)->RtfText(), "Taken");
  TFillFromList dialog(FSheet, 5, nullptr);
  QPushButton* ok = dialog.Buttons->button(QDialogButtonBox::Ok);
  EXPECT_EQ(dialog.StartBox->value(), 5);
  EXPECT_EQ(dialog.StartBox->maximum(), 30);
  EXPECT_EQ(dialog.Summary->text(), "The list holds no entries");
  EXPECT_FALSE(ok->isEnabled());

  dialog.ListBox->setPlainText(Numbered("Client ", 1, 25));
  EXPECT_EQ(dialog.Summary->text(),
            "23 labels will be filled, labels 5 to 27; 2 entries do not fit on this sheet");
  EXPECT_TRUE(ok->isEnabled());
  dialog.ReplaceCheck->setChecked(true);
  EXPECT_EQ(dialog.Summary->text(), "25 labels will be filled, labels 5 to 29");
  dialog.StartBox->setValue(1);
  EXPECT_EQ(dialog.Summary->text(), "25 labels will be filled, labels 1 to 25");

  dialog.ListBox->setPlainText("Taxes\n2026\n\nInvoices\n\xCE\xA9mega");
  EXPECT_EQ(dialog.Summary->text(),
            "4 labels will be filled, labels 1 to 4\n"
            "1 character is not in the Windows-1252 character set and becomes \"?\"");
  dialog.BlankLineSeparated->setChecked(true);
  EXPECT_TRUE(dialog.Summary->text().startsWith("2 labels will be filled, labels 1 to 2"));
  EXPECT_EQ(dialog.List().Entries, (std::vector<std::string>{"Taxes\n2026", "Invoices\n?mega"}));

  dialog.ListBox->setPlainText("a,\"b\nc");
  dialog.CsvCheck->setChecked(true);
  EXPECT_FALSE(dialog.BlankLineSeparated->isEnabled());
  EXPECT_EQ(dialog.Summary->text(), "Unbalanced quotes in line 1");
  EXPECT_FALSE(ok->isEnabled());
}

// The dialog opens in the list box, where Enter starts a new line rather
// than asking for a file.
TEST_F(FillFromListTest, TypingStartsInTheListBox) {
  TFillFromList dialog(FSheet, 1, nullptr);
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_EQ(QApplication::focusWidget(), dialog.ListBox);
  QTest::keyClicks(dialog.ListBox, "Alpha");
  QTest::keyClick(dialog.ListBox, Qt::Key_Return);
  QTest::keyClicks(dialog.ListBox, "Beta");
  EXPECT_EQ(dialog.ListBox->toPlainText(), "Alpha\nBeta");
  EXPECT_TRUE(FDialogs->Requests().empty());
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(FillFromListTest, CsvFileShowsItsColumnsAndHeading) {
  TFillFromList dialog(FSheet, 1, nullptr);
  dialog.LoadFile(
      File("clients.csv", "\xEF\xBB\xBFId,Client,Folder\n1,\"Smith, Jane\",Taxes\n2,Baker,Invoices\n"));
  EXPECT_TRUE(dialog.CsvCheck->isChecked());
  ASSERT_EQ(dialog.ColumnBox->count(), 3);
  EXPECT_EQ(dialog.ColumnBox->itemText(1), "2: Client");
  EXPECT_EQ(dialog.Summary->text(), "3 labels will be filled, labels 1 to 3");
  dialog.ColumnBox->setCurrentIndex(2);
  dialog.HeadingCheck->setChecked(true);
  EXPECT_EQ(dialog.List().Entries, (std::vector<std::string>{"Taxes", "Invoices"}));
  EXPECT_EQ(dialog.Plan().Labels, (std::vector<int>{1, 2}));

  // A text file is text again; a file that is no list changes nothing.
  dialog.LoadFile(File("names.txt", "Alpha\nBeta\n"));
  EXPECT_FALSE(dialog.CsvCheck->isChecked());
  EXPECT_EQ(dialog.ListBox->toPlainText(), "Alpha\nBeta\n");
  const QString binary = File("picture.txt", QByteArray("\x89PNG\r\n\x1A\n\0\0", 10));
  dialog.LoadFile(binary);
  EXPECT_EQ(FDialogs->MessageTexts(), QStringList{binary + " is not a text file"});
  EXPECT_EQ(dialog.ListBox->toPlainText(), "Alpha\nBeta\n");
}

// The command on the main window.
class FillCommandTest : public FillFromListTest {
 protected:
  void SetUp() override {
    FillFromListTest::SetUp();
    SetApplicationDirectoryOverride(FDir.path());
    FForm = std::make_unique<TMainForm>();
    TKLXPagePanel& panel = *FForm->PageOfLabelsPanel;
    panel.AddLayout(FileFolderSheet("Folders"));
    panel.SetLayout("Folders", false);
    panel.show();
    FForm->UpdateCommands();
  }
  void TearDown() override {
    FForm.reset();
    SetApplicationDirectoryOverride({});
  }
  TLabelSheet& Sheet() { return FForm->PageOfLabelsPanel->Sheet(); }
  bool Modified() { return !FForm->findChild<QPushButton*>("Savebutton")->isHidden(); }
  // Answers the dialog with the text and OK.
  void QueueList(const QString& text) {
    FDialogs->QueueExec([text](QDialog& d) {
      auto& dialog = dynamic_cast<TFillFromList&>(d);
      dialog.ListBox->setPlainText(text);
      dialog.Buttons->button(QDialogButtonBox::Ok)->click();
      return dialog.result();
    });
  }
  void Fill() {
    QAction* command = FForm->findChild<QAction*>("mnuFillFromList");
    ASSERT_TRUE(command->isEnabled());
    command->trigger();
  }

  std::unique_ptr<TMainForm> FForm;
};

TEST_F(FillCommandTest, FillsTheSheetAndOffersWhatDidNotFit) {
  PutText(Sheet().Storage(3)->RtfText(), "Three");
  QueueList(Numbered("Folder ", 1, 31));
  FDialogs->QueueMessageResult(idYes);
  Fill();
  EXPECT_EQ(TextOf(*Sheet().CellText(1)), "Folder 1");
  EXPECT_EQ(TextOf(*Sheet().CellText(3)), "Three");
  EXPECT_EQ(TextOf(*Sheet().CellText(4)), "Folder 3");
  EXPECT_EQ(TextOf(*Sheet().CellText(30)), "Folder 29");
  EXPECT_TRUE(Modified());
  EXPECT_EQ(FDialogs->MessageTexts(),
            QStringList{"2 entries did not fit on this sheet. Copy them to the clipboard?"});
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "Folder 30\nFolder 31\n");
  EXPECT_TRUE(FDialogs->Unexpected().empty());
}

TEST_F(FillCommandTest, ReportsLabelsCutToFitAndChangesNothingOnCancel) {
  FDialogs->QueueExecResult(QDialog::Rejected);
  Fill();
  EXPECT_TRUE(Sheet().CellText(1)->IsEmpty());
  EXPECT_FALSE(Modified());

  FDialogs->QueueExec([](QDialog& d) {
    auto& dialog = dynamic_cast<TFillFromList&>(d);
    dialog.ListBox->setPlainText("One\n\nA\nB\nC\nD\nE\nF\nG\n\nThree\n\nP\nQ\nR\nS\nT\nU");
    dialog.BlankLineSeparated->setChecked(true);
    dialog.Buttons->button(QDialogButtonBox::Ok)->click();
    return dialog.result();
  });
  FDialogs->QueueMessageResult(idOK);
  Fill();
  EXPECT_EQ(FDialogs->MessageTexts(), QStringList{"Labels 2 and 4 were cut to fit"});
  EXPECT_EQ(TextOf(*Sheet().CellText(3)), "Three");
  EXPECT_TRUE(TextOf(*Sheet().CellText(2)).starts_with("ABC"));
  EXPECT_TRUE(Modified());
  EXPECT_TRUE(FDialogs->Unexpected().empty());
}

TEST_F(FillCommandTest, IsOneUndoStepAndStartsAtTheEditedLabel) {
  PutText(Sheet().Storage(3)->RtfText(), "Three");
  FForm->PageOfLabelsPanel->OpenCell(2);
  int proposed = 0;
  FDialogs->QueueExec([&proposed](QDialog& d) {
    auto& dialog = dynamic_cast<TFillFromList&>(d);
    proposed = dialog.StartBox->value();
    dialog.StartBox->setValue(1);
    dialog.ReplaceCheck->setChecked(true);
    dialog.ListBox->setPlainText("A\nB\nC\nD");
    dialog.Buttons->button(QDialogButtonBox::Ok)->click();
    return dialog.result();
  });
  Fill();
  EXPECT_EQ(proposed, 2);
  auto texts = [this] {
    std::vector<std::string> all;
    for (int n = 1; n <= 5; ++n) all.push_back(TextOf(*Sheet().CellText(n)));
    return all;
  };
  EXPECT_EQ(texts(), (std::vector<std::string>{"A", "B", "C", "D", ""}));
  FForm->findChild<QAction*>("Undo1")->trigger();
  EXPECT_EQ(texts(), (std::vector<std::string>{"", "", "Three", "", ""}));
  EXPECT_FALSE(Modified());
  FForm->findChild<QAction*>("Redo1")->trigger();
  EXPECT_EQ(texts(), (std::vector<std::string>{"A", "B", "C", "D", ""}));
  EXPECT_TRUE(Modified());
}

}  // namespace
