#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <csignal>
#include <functional>

#include "app/MainForm.h"
#include "common/TestSupport.h"
#include "labelpage/LabelLayout.h"
#include "labelpage/LabelPageFile.h"
#include "labelpage/LabelPageTestSupport.h"
#include "labelpage/SelectLayout.h"
#include "platform/AppGlobals.h"
#include "platform/AppRoutines.h"
#include "platform/ScriptedDialogService.h"
#include "richtext/Progress.h"

// Reaches the main window's document state and routines.
class TDocumentLifecycleTestAccess {
 public:
  explicit TDocumentLifecycleTestAccess(TMainForm& form) : F(form) {}
  QString FileName() const { return F.FFileName; }
  bool Modified() const { return F.FModified; }
  int CurrentCell() const { return F.FCurrentCell; }
  bool Starting() const { return F.FStarting; }
  bool EditorOpen() const { return !F.WPRichText1->isHidden(); }
  bool SaveButtonShown() const { return !F.Savebutton->isHidden(); }
  bool CancelButtonShown() const { return !F.CancelButton->isHidden(); }
  void ClickSaveButton() { F.Savebutton->click(); }
  void ClickCancelButton() { F.CancelButton->click(); }
  // What the label editor does on a change.
  void MarkModified() { F.SetModified(true); }
  // The label editor, open over label 1 of a new page, would write its own
  // text back over a label changed behind its back.
  void CloseEditor() { F.CloseEditor(); }
  void OpenFile(const QString& path) { F.OpenPageOfLabelsFile(path); }
  bool SaveFile(const QString& path) { return F.SavePageOfLabelsFile(path); }
  void ChooseRecentFile(const QString& path) { F.MRUItemClick(path); }
  QString DefaultFileName() const { return F.DefaultFileName(); }
  void SetFileName(const QString& path) { F.FFileName = path; }

 private:
  TMainForm& F;
};

namespace {

using labelpagetest::GridLayout;
using labelpagetest::PutText;
using labelpagetest::TextOf;
using testsupport::FolderEntries;
using testsupport::ReadAll;
using testsupport::TFileSizeLimit;
using testsupport::TWithoutFolderOverride;
using testsupport::WriteAll;
using TAccess = TDocumentLifecycleTestAccess;

const QString Title = QStringLiteral("Tabwright for File Folders");

// Hidden files, as a save's temporary file would be.
QStringList HiddenEntries(const QString& folder) {
  return FolderEntries(folder).filter(QRegularExpression(QStringLiteral("^\\.")));
}

class DocumentLifecycle : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FDir.isValid());
    FProgram = FDir.path() + QStringLiteral("/");
    SetApplicationDirectoryOverride(FProgram);
    SetPrinterQueryOverride(TPrinterQuery{{"Labels"}, "Labels"});
    SaveLLOFile(QFile::encodeName(FProgram + "KLXFF.LLO").toStdString(),
                {GridLayout(3, 10, "Thirty"), GridLayout(2, 2, "Four"), GridLayout(1, 1, "One")});
    FForm = std::make_unique<TMainForm>();
    FForm->FormActivate();
    ASSERT_FALSE(Access().Starting());
  }
  void TearDown() override {
    FForm.reset();
    SetPrinterQueryOverride(std::nullopt);
    SetApplicationDirectoryOverride({});
  }

  TMainForm& Form() { return *FForm; }
  TAccess Access() { return TAccess(*FForm); }
  TKLXPagePanel& Panel() { return *FForm->PageOfLabelsPanel; }
  QAction* Action(const char* name) { return FForm->findChild<QAction*>(QLatin1String(name)); }
  void Trigger(const char* name) {
    QAction* action = Action(name);
    ASSERT_NE(action, nullptr) << name;
    ASSERT_TRUE(action->isEnabled()) << name;
    action->trigger();
  }
  bool PageShown() { return !Panel().isHidden(); }

  // Answers the Select Layout dialog with the named layout.
  void QueueLayout(const QString& name) {
    FDialogs->QueueExec([name](QDialog& d) {
      auto& dialog = dynamic_cast<TSelectLayout&>(d);
      const auto found = dialog.LayoutList->findItems(name, Qt::MatchExactly);
      if (!found.isEmpty()) dialog.LayoutList->setCurrentItem(found.first());
      dialog.okbutton->click();
      return dialog.result();
    });
  }

  // New through the menu, with the named layout.
  void NewPage(const QString& layout) {
    QueueLayout(layout);
    Trigger("New1");
  }

  // Label n's text, as the user would type it.
  void Type(int n, const std::string& text) {
    Access().CloseEditor();
    PutText(Panel().Storage(n)->RtfText(), text);
    Access().MarkModified();
  }
  std::string Text(int n) { return TextOf(Panel().Storage(n)->RtfText()); }

  // A named page saved at path with the given texts in its first labels.
  void SavedPage(const QString& path, const QString& layout, std::initializer_list<std::string> texts) {
    NewPage(layout);
    int n = 1;
    for (const std::string& text : texts) Type(n++, text);
    ASSERT_TRUE(Access().SaveFile(path));
  }

  const TDialogRequest& LastRequest() { return FDialogs->Requests().back(); }
  QString LastMessage() {
    const QStringList texts = FDialogs->MessageTexts();
    return texts.isEmpty() ? QString() : texts.back();
  }

  QTemporaryDir FDir;
  QString FProgram;
  TScopedScriptedDialogs FDialogs;
  std::unique_ptr<TMainForm> FForm;
};

TEST_F(DocumentLifecycle, NewSaveAsModifyRevertAndOpenFilesThatAreGone) {
  WriteAll(FProgram + "LF000000.KLX", "taken");

  // New: an empty unnamed page of the chosen layout.
  NewPage("Thirty");
  ASSERT_TRUE(PageShown());
  EXPECT_EQ(Panel().LabelsPerPage(), 30);
  EXPECT_EQ(Panel().LayoutDescription().LayoutName, "Thirty");
  EXPECT_EQ(Access().FileName(), "");
  EXPECT_FALSE(Access().Modified());
  EXPECT_EQ(Access().CurrentCell(), 1);
  EXPECT_EQ(Panel().SelectedCell(), 1);
  EXPECT_EQ(Form().windowTitle(), Title + "     [100%]");
  EXPECT_FALSE(Action("mnuSave")->isEnabled());
  EXPECT_TRUE(Action("mnuSaveAs")->isEnabled());

  // The first change shows the green button, which acts as Save As here.
  Type(1, "Hello");
  EXPECT_TRUE(Access().SaveButtonShown());
  EXPECT_FALSE(Access().CancelButtonShown());
  const QString path = FProgram + "sheet.KLXA";
  FDialogs->QueueFileName(FProgram + "sheet.TXT");
  FDialogs->QueueMessageResult(idOK);
  FDialogs->QueueFileName(path);
  Access().ClickSaveButton();
  ASSERT_TRUE(FDialogs->Unexpected().empty());
  ASSERT_EQ(FDialogs->Requests().size(), 4u);  // layout dialog, save, message, save
  const TFileDialogOptions& first = FDialogs->Requests()[1].File;
  EXPECT_EQ(first.Title, "Save Label Page File");
  EXPECT_EQ(first.InitialDir, FProgram);
  EXPECT_EQ(first.DefaultExt, "KLX");
  EXPECT_EQ(first.Filter, "Label Page File|*.KLX");
  EXPECT_EQ(QtFilterFromPairs(first.Filter), "Label Page File (*.KLX)");
  EXPECT_EQ(first.FileName, FProgram + "LF000001.KLX");
  EXPECT_TRUE(first.OverwritePrompt);
  EXPECT_EQ(FDialogs->Requests()[2].Text, "File extension must be: KLX");
  EXPECT_EQ(FDialogs->Requests()[2].Caption, "Information");
  EXPECT_EQ(FDialogs->Requests()[3].Kind, TDialogKind::SaveFile);
  EXPECT_FALSE(QFile::exists(FProgram + "sheet.TXT"));

  ASSERT_TRUE(QFile::exists(path));
  EXPECT_EQ(Access().FileName(), path);
  EXPECT_FALSE(Access().Modified());
  EXPECT_FALSE(Access().SaveButtonShown());
  EXPECT_FALSE(Access().EditorOpen());
  EXPECT_EQ(Form().windowTitle(), Title + "   [sheet.KLXA]    [100%]");
  EXPECT_TRUE(Action("mnuSave")->isEnabled());
  EXPECT_TRUE(Action("mnuCancelChanges")->isEnabled());

  // Save As of a named page proposes the bare name, starting in the program folder.
  FDialogs->QueueFileName({});
  Trigger("mnuSaveAs");
  EXPECT_EQ(LastRequest().File.FileName, "sheet.KLXA");
  EXPECT_EQ(LastRequest().File.InitialDir, FProgram);

  // Modify, then Cancel Changes brings the saved page back.
  Type(2, "Changed");
  Type(1, "Also changed");
  EXPECT_TRUE(Access().CancelButtonShown());
  FDialogs->QueueMessageResult(idYes);
  Trigger("mnuCancelChanges");
  EXPECT_EQ(LastRequest().Text, "Cancel all changes?");
  EXPECT_EQ(LastRequest().Caption, "CANCEL");
  EXPECT_EQ(LastRequest().Flags, unsigned(mbYesNo | mbIconQuestion));
  EXPECT_EQ(Text(1), "Hello");
  EXPECT_EQ(Text(2), "");
  EXPECT_FALSE(Access().Modified());
  EXPECT_EQ(Access().FileName(), path);
  EXPECT_TRUE(PageShown());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // A recent file that was deleted: told so, the page stays as it is.
  const QString gone = FProgram + "gone.KLX";
  WriteAll(gone, "x");
  QFile::remove(gone);
  FDialogs->QueueMessageResult(idOK);
  Access().ChooseRecentFile(gone);
  EXPECT_EQ(LastMessage(), "File: " + gone + "\rno longer exists");
  EXPECT_EQ(Access().FileName(), path);
  EXPECT_TRUE(PageShown());

  // Open of a file that has gone: the page goes too.
  FDialogs->QueueFileName(gone);
  FDialogs->QueueMessageResult(idOK);
  Trigger("Open1");
  const TFileDialogOptions& open = FDialogs->Requests()[FDialogs->Requests().size() - 2].File;
  EXPECT_EQ(open.Title, "Open Label Page File");
  EXPECT_EQ(open.InitialDir, FProgram);
  EXPECT_EQ(open.DefaultExt, "KLX");
  EXPECT_EQ(open.Filter, "Label Page File|*.KLX");
  EXPECT_TRUE(open.FileMustExist);
  EXPECT_EQ(LastMessage(), "File " + gone + " no longer exists");
  EXPECT_FALSE(PageShown());
  EXPECT_EQ(Access().FileName(), "");
  EXPECT_FALSE(Action("mnuSaveAs")->isEnabled());
  EXPECT_EQ(Form().windowTitle(), Title + "     [100%]");

  // A recent file that exists opens.
  Access().ChooseRecentFile(path);
  EXPECT_TRUE(PageShown());
  EXPECT_EQ(Access().FileName(), path);
  EXPECT_EQ(Text(1), "Hello");
  EXPECT_TRUE(FDialogs->Unexpected().empty());
}

TEST_F(DocumentLifecycle, DefaultFileNameIsTheFirstFreeOne) {
  EXPECT_EQ(Access().DefaultFileName(), FProgram + "LF000000.KLX");
  WriteAll(FProgram + "LF000000.KLX", "");
  QDir().mkdir(FProgram + "LF000001.KLX");  // a folder of that name takes the name too
  WriteAll(FProgram + "LF000003.KLX", "");
  EXPECT_EQ(Access().DefaultFileName(), FProgram + "LF000002.KLX");
}

TEST_F(DocumentLifecycle, SaveChangesAnsweredYesAndNoBeforeNew) {
  const QString path = FProgram + "kept.KLX";
  SavedPage(path, "Four", {"Saved"});
  const QByteArray saved = ReadAll(path);

  // No: the changes are dropped with the old page.
  Type(1, "Dropped");
  QueueLayout("Thirty");
  FDialogs->QueueMessageResult(idNo);
  Trigger("New1");
  EXPECT_EQ(FDialogs->Requests().back().Text, "Save changes?");
  EXPECT_EQ(FDialogs->Requests().back().Caption, "Save");
  EXPECT_EQ(ReadAll(path), saved);
  EXPECT_EQ(Panel().LabelsPerPage(), 30);
  EXPECT_EQ(Text(1), "");
  EXPECT_EQ(Access().FileName(), "");
  EXPECT_FALSE(Access().Modified());

  // Yes on an unnamed page: Save As first, then the new page.
  Type(3, "Third");
  const QString named = FProgram + "named.KLX";
  QueueLayout("Four");
  FDialogs->QueueMessageResult(idYes);
  FDialogs->QueueFileName(named);
  Trigger("New1");
  ASSERT_TRUE(FDialogs->Unexpected().empty());
  EXPECT_EQ(Panel().LabelsPerPage(), 4);
  EXPECT_EQ(Access().FileName(), "");
  EXPECT_FALSE(Access().Modified());
  Access().OpenFile(named);
  EXPECT_EQ(Panel().LabelsPerPage(), 30);
  EXPECT_EQ(Text(3), "Third");

  // Yes on a named page: saved under its name, no dialog.
  Type(3, "Third, again");
  QueueLayout("One");
  FDialogs->QueueMessageResult(idYes);
  Trigger("New1");
  ASSERT_TRUE(FDialogs->Unexpected().empty());
  EXPECT_EQ(Panel().LabelsPerPage(), 1);
  Access().OpenFile(named);
  EXPECT_EQ(Text(3), "Third, again");

  // Cancelling the layout dialog asks nothing and changes nothing.
  Type(1, "Unsaved");
  FDialogs->QueueExecResult(TSelectLayout::ResultCancel);
  const std::size_t asked = FDialogs->Requests().size();
  Trigger("New1");
  EXPECT_EQ(FDialogs->Requests().size(), asked + 1);
  EXPECT_TRUE(Access().Modified());
  EXPECT_EQ(Access().FileName(), named);
}

// "No" to "Save changes?" leaves the page modified: when the asking command
// then changes nothing, the changes are still offered for saving.
TEST_F(DocumentLifecycle, SaveChangesAnsweredNoKeepsTheChangesMarked) {
  const QString path = FProgram + "marked.KLX";
  SavedPage(path, "Four", {"Saved"});
  Type(1, "Unsaved");

  FDialogs->QueueMessageResult(idNo);
  FDialogs->QueueFileName({});
  Trigger("Open1");
  ASSERT_TRUE(FDialogs->Unexpected().empty());
  EXPECT_TRUE(Access().Modified());
  EXPECT_TRUE(Access().SaveButtonShown());
  EXPECT_TRUE(Access().CancelButtonShown());
  EXPECT_EQ(Text(1), "Unsaved");

  const QString gone = FProgram + "gone.KLX";
  FDialogs->QueueMessageResult(idNo);
  FDialogs->QueueMessageResult(idOK);
  Access().ChooseRecentFile(gone);
  ASSERT_TRUE(FDialogs->Unexpected().empty());
  EXPECT_EQ(LastMessage(), "File: " + gone + "\rno longer exists");
  EXPECT_TRUE(Access().Modified());
  EXPECT_EQ(Access().FileName(), path);

  // So closing asks again.
  FDialogs->QueueMessageResult(idNo);
  const std::size_t asked = FDialogs->Requests().size();
  Form().close();
  ASSERT_EQ(FDialogs->Requests().size(), asked + 1);
  EXPECT_EQ(LastRequest().Text, "Save changes?");
}

TEST_F(DocumentLifecycle, SaveAndCancelButtonsFollowTheModifiedFlagAndTheName) {
  EXPECT_FALSE(Access().SaveButtonShown());
  EXPECT_FALSE(Access().CancelButtonShown());
  NewPage("Four");
  EXPECT_FALSE(Access().SaveButtonShown());
  Type(1, "A");
  EXPECT_TRUE(Access().SaveButtonShown());
  EXPECT_FALSE(Access().CancelButtonShown());

  const QString path = FProgram + "buttons.KLX";
  ASSERT_TRUE(Access().SaveFile(path));
  EXPECT_FALSE(Access().SaveButtonShown());
  EXPECT_FALSE(Access().CancelButtonShown());

  // Named and modified: both buttons; "&Save" saves under the name, asking
  // nothing, and opens the label that was open again.
  Panel().OpenCell(3);
  Type(2, "B");
  EXPECT_TRUE(Access().SaveButtonShown());
  EXPECT_TRUE(Access().CancelButtonShown());
  const std::size_t asked = FDialogs->Requests().size();
  Access().ClickSaveButton();
  EXPECT_EQ(FDialogs->Requests().size(), asked);
  EXPECT_FALSE(Access().SaveButtonShown());
  EXPECT_FALSE(Access().Modified());
  EXPECT_EQ(Access().CurrentCell(), 3);
  EXPECT_EQ(Panel().SelectedCell(), 3);
  Access().OpenFile(path);
  EXPECT_EQ(Text(2), "B");

  // "&Cancel": No keeps the changes, Yes goes back to the file.
  Type(2, "C");
  FDialogs->QueueMessageResult(idNo);
  Access().ClickCancelButton();
  EXPECT_EQ(Text(2), "C");
  EXPECT_TRUE(Access().Modified());
  FDialogs->QueueMessageResult(idYes);
  Access().ClickCancelButton();
  EXPECT_EQ(FDialogs->Requests().back().Text, "Cancel all changes?");
  EXPECT_EQ(FDialogs->Requests().back().Caption, "CANCEL");
  EXPECT_EQ(Text(2), "B");
  EXPECT_FALSE(Access().Modified());
  EXPECT_FALSE(Access().SaveButtonShown());
  EXPECT_FALSE(Access().CancelButtonShown());
  EXPECT_TRUE(FDialogs->Unexpected().empty());
}

TEST_F(DocumentLifecycle, SaveIntoAFolderThatTakesNoFilesIsReported) {
  const QString folder = FProgram + "locked";
  ASSERT_TRUE(QDir().mkdir(folder));
  const QString path = folder + "/sheet.KLX";
  SavedPage(path, "Four", {"Good"});
  const QByteArray good = ReadAll(path);
  Type(1, "Newer");
  ASSERT_EQ(chmod(QFile::encodeName(folder).constData(), 0555), 0);
  {
    TWithoutFolderOverride asAUser;
    Trigger("mnuSave");
  }
  chmod(QFile::encodeName(folder).constData(), 0755);
  EXPECT_EQ(LastMessage(), "Unable to save " + path + ".\rPermission denied");
  EXPECT_EQ(LastRequest().Caption, "Information");
  EXPECT_FALSE(LastRequest().BusyCursor);
  EXPECT_EQ(ReadAll(path), good);
  EXPECT_EQ(FolderEntries(folder), QStringList{"sheet.KLX"});
  EXPECT_EQ(Access().FileName(), path);
  EXPECT_TRUE(Access().Modified());
  EXPECT_TRUE(Access().SaveButtonShown());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // The same page's folder removed altogether.
  QDir(folder).removeRecursively();
  Trigger("mnuSave");
  EXPECT_EQ(LastMessage(), "Unable to save " + path + ".\rNo such file or directory");
  EXPECT_EQ(Access().FileName(), path);
  EXPECT_TRUE(Access().Modified());
}

TEST_F(DocumentLifecycle, SaveAsOntoAFolderIsReportedAndTheFolderKept) {
  NewPage("Four");
  Type(1, "Text");
  const QString folder = FProgram + "folder.KLX";
  ASSERT_TRUE(QDir().mkdir(folder));
  WriteAll(folder + "/inside", "kept");
  FDialogs->QueueFileName(folder);
  Trigger("mnuSaveAs");
  EXPECT_EQ(LastMessage(), "Unable to save " + folder + ".\rIs a directory");
  EXPECT_EQ(FolderEntries(folder), QStringList{"inside"});
  EXPECT_EQ(ReadAll(folder + "/inside"), "kept");
  EXPECT_EQ(Access().FileName(), "");
  EXPECT_TRUE(Access().Modified());
  EXPECT_FALSE(Action("mnuSave")->isEnabled());
  EXPECT_EQ(HiddenEntries(FProgram), QStringList());
}

TEST_F(DocumentLifecycle, FullDiskKeepsTheOldFileAndIsReported) {
  const QString path = FProgram + "full.KLX";
  SavedPage(path, "Thirty", {"Old"});
  const QByteArray good = ReadAll(path);
  for (int n = 1; n <= 30; ++n) Type(n, "A longer text for label " + std::to_string(n));
  {
    TFileSizeLimit limit(static_cast<rlim_t>(good.size()));
    FDialogs->QueueMessageResult(idOK);
    Trigger("mnuSave");
  }
  EXPECT_EQ(LastMessage(), "Unable to save " + path + ".\rFile too large");
  EXPECT_EQ(ReadAll(path), good);
  EXPECT_EQ(HiddenEntries(FProgram), QStringList());
  EXPECT_EQ(Access().FileName(), path);
  EXPECT_TRUE(Access().Modified());

  // Through the save prompt too: the user hears of it, and the command stops
  // so that the unsaved page is not thrown away.
  {
    TFileSizeLimit limit(static_cast<rlim_t>(good.size()));
    QueueLayout("Four");
    FDialogs->QueueMessageResult(idYes);
    FDialogs->QueueMessageResult(idOK);
    Trigger("New1");
  }
  EXPECT_EQ(LastMessage(), "Unable to save " + path + ".\rFile too large");
  EXPECT_EQ(ReadAll(path), good);
  EXPECT_EQ(Panel().LabelsPerPage(), 30);
  EXPECT_TRUE(Access().Modified());
  EXPECT_EQ(Access().FileName(), path);
  EXPECT_TRUE(FDialogs->Unexpected().empty());

  // Save As cancelled behind the prompt keeps the page as well.
  Access().SetFileName("");
  QueueLayout("Four");
  FDialogs->QueueMessageResult(idYes);
  FDialogs->QueueFileName("");
  Trigger("New1");
  EXPECT_EQ(Panel().LabelsPerPage(), 30);
  EXPECT_TRUE(Access().Modified());
  EXPECT_TRUE(FDialogs->Unexpected().empty());
}

TEST_F(DocumentLifecycle, FilesThatCannotBeOpenedLeaveNoPageAndNewStillWorks) {
  const QString good = FProgram + "good.KLX";
  SavedPage(good, "Four", {"One", "Two", "Three", "Four"});
  const QByteArray bytes = ReadAll(good);

  QByteArray corrupted = bytes;
  const int signature = corrupted.indexOf("TPF0");
  ASSERT_GT(signature, 0);
  corrupted[signature + 3] = 'X';
  const struct {
    const char* Name;
    QByteArray Bytes;
  } cases[] = {
      {"other kind.KLX", "This is a plain text file.\n"},
      {"truncated.KLX", bytes.left(bytes.size() - 20)},
      {"corrupted.KLX", corrupted},
      {"empty.KLX", QByteArray()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const QString path = FProgram + c.Name;
    WriteAll(path, c.Bytes);
    Access().OpenFile(good);
    Type(1, "Changed");
    FDialogs->QueueMessageResult(idNo);
    FDialogs->QueueFileName(path);
    FDialogs->QueueMessageResult(idOK);
    Trigger("Open1");
    EXPECT_EQ(LastMessage(),
              "Unable to open " + path + ". Possibly \rcorrupted, possibly not a File Folder Label file");
    EXPECT_EQ(LastRequest().Caption, "Information");
    EXPECT_FALSE(LastRequest().BusyCursor);  // the message does not sit under the hourglass
    EXPECT_FALSE(PageShown());
    EXPECT_EQ(Access().FileName(), "");
    EXPECT_FALSE(Access().Modified());
    EXPECT_FALSE(Access().SaveButtonShown());
    EXPECT_FALSE(Access().Starting());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(Form().windowTitle(), Title + "     [100%]");
    // The panel still holds a whole sheet, and the program goes on.
    for (int n = 1; n <= Panel().LabelsPerPage(); ++n) ASSERT_NE(Panel().Storage(n), nullptr);
    NewPage("Thirty");
    EXPECT_TRUE(PageShown());
    EXPECT_EQ(Panel().LabelsPerPage(), 30);
    for (int n = 1; n <= 30; ++n) EXPECT_EQ(Text(n), "") << n;
  }
  EXPECT_TRUE(FDialogs->Unexpected().empty());

  // A folder with a label page name is no file to open.
  QDir().mkdir(FProgram + "folder.KLX");
  Access().OpenFile(FProgram + "folder.KLX");
  EXPECT_EQ(LastMessage(), "File " + FProgram + "folder.KLX no longer exists");
  EXPECT_FALSE(PageShown());
}

TEST_F(DocumentLifecycle, OpenChecksTheExtensionAndCancelDoesNothing) {
  const QString good = FProgram + "good.KLX";
  SavedPage(good, "Four", {"Text"});
  const QString lower = FProgram + "lower.klx";
  QFile::copy(good, lower);
  const QString wide = FProgram + "wide.KLXA";
  QFile::copy(good, wide);

  FDialogs->QueueFileName(wide);
  Trigger("Open1");
  EXPECT_EQ(LastMessage(), "Must be a Label Page File (*.KLX)");
  EXPECT_EQ(Access().FileName(), good);
  EXPECT_TRUE(PageShown());

  FDialogs->QueueFileName(lower);
  Trigger("Open1");
  EXPECT_EQ(Access().FileName(), lower);
  EXPECT_EQ(Text(1), "Text");

  // Cancelled with no page: no message, no page.
  Access().OpenFile(FProgram + "missing.KLX");
  const std::size_t asked = FDialogs->Requests().size();
  FDialogs->QueueFileName({});
  Trigger("Open1");
  EXPECT_EQ(FDialogs->Requests().size(), asked + 1);
  EXPECT_FALSE(PageShown());
}

TEST_F(DocumentLifecycle, CancelChangesOfAPageWhoseFileHasGone) {
  const QString path = FProgram + "vanishing.KLX";
  SavedPage(path, "Four", {"Text"});
  Type(1, "Edited");
  QFile::remove(path);
  FDialogs->QueueMessageResult(idYes);
  Trigger("mnuCancelChanges");
  EXPECT_EQ(LastMessage(), "File " + path + " no longer exists");
  EXPECT_FALSE(LastRequest().BusyCursor);
  EXPECT_FALSE(PageShown());
  EXPECT_EQ(Access().FileName(), "");
  EXPECT_FALSE(Access().Modified());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(DocumentLifecycle, ChangeLayoutKeepsTheFirstLabelsAndForgetsTheName) {
  const QString path = FProgram + "thirty.KLX";
  SavedPage(path, "Thirty", {});
  for (int n = 1; n <= 30; ++n) PutText(Panel().Storage(n)->RtfText(), "L" + std::to_string(n));
  ASSERT_TRUE(Access().SaveFile(path));

  QueueLayout("Four");
  Trigger("mnuChangeLayout");
  ASSERT_TRUE(FDialogs->Unexpected().empty());  // unmodified: no question
  EXPECT_EQ(Panel().LabelsPerPage(), 4);
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(Text(n), "L" + std::to_string(n));
  EXPECT_TRUE(Access().Modified());
  EXPECT_EQ(Access().FileName(), "");
  EXPECT_FALSE(Access().EditorOpen());
  EXPECT_TRUE(PageShown());
  EXPECT_EQ(Form().windowTitle(), Title + "     [100%]");
  EXPECT_FALSE(Action("mnuSave")->isEnabled());
  EXPECT_TRUE(Access().SaveButtonShown());
  EXPECT_FALSE(Access().CancelButtonShown());

  // Back to the larger layout: the labels that went stay empty. Modified, so
  // the user is asked first.
  QueueLayout("Thirty");
  FDialogs->QueueMessageResult(idNo);
  Trigger("mnuChangeLayout");
  EXPECT_EQ(FDialogs->MessageTexts().back(), "Save changes?");
  EXPECT_EQ(Panel().LabelsPerPage(), 30);
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(Text(n), "L" + std::to_string(n));
  for (int n = 5; n <= 30; ++n) EXPECT_EQ(Text(n), "") << n;
  EXPECT_TRUE(Access().Modified());

  // The file itself is untouched.
  Access().OpenFile(path);
  EXPECT_EQ(Text(30), "L30");
  EXPECT_TRUE(FDialogs->Unexpected().empty());
}

TEST_F(DocumentLifecycle, CancelInTheLayoutDialogChangesNothing) {
  const QString path = FProgram + "four.KLX";
  SavedPage(path, "Four", {"One"});
  FDialogs->QueueExecResult(TSelectLayout::ResultCancel);
  Trigger("mnuChangeLayout");
  EXPECT_EQ(FDialogs->Requests().back().DialogClass, "TSelectLayout");
  EXPECT_EQ(Panel().LabelsPerPage(), 4);
  EXPECT_FALSE(Access().Modified());
  EXPECT_EQ(Access().FileName(), path);
  EXPECT_EQ(Text(1), "One");
  EXPECT_EQ(Form().windowTitle(), Title + "   [four.KLX]    [100%]");
}

TEST_F(DocumentLifecycle, LayoutInfoNamesTheLayoutStoredInTheFile) {
  TLabelSheet sheet;
  sheet.Reset(GridLayout(2, 3, "Mystery \xE9"));
  const QString path = FProgram + "mystery.KLX";
  TLabelPageFile::Save(QFile::encodeName(path).toStdString(), sheet);
  Access().OpenFile(path);
  ASSERT_TRUE(PageShown());
  Trigger("mnuLayoutInfo");
  EXPECT_EQ(LastMessage(), QString::fromUtf8("Current layout is: \r\rMystery \u00E9"));
  EXPECT_EQ(LastRequest().Caption, "Information");
  EXPECT_EQ(LastRequest().Flags, unsigned(mbOK | mbIconInformation));
}

// The progress hook of the rich text engine runs inside every label's read
// and write; it notes whether the hourglass was up at that moment.
bool GBusyDuringWork = false;
int GProgressCalls = 0;
void NoteCursor(std::intptr_t, int) {
  ++GProgressCalls;
  const QCursor* cursor = QApplication::overrideCursor();
  GBusyDuringWork = GBusyDuringWork || (cursor && cursor->shape() == Qt::WaitCursor);
}

TEST_F(DocumentLifecycle, BusyCursorWhileOpeningAndSaving) {
  NewPage("Four");
  Type(1, "Busy");
  const QString path = FProgram + "busy.KLX";
  TWPProgress::SetHook(&NoteCursor, 0);
  GBusyDuringWork = false;
  GProgressCalls = 0;
  const bool saved = Access().SaveFile(path);
  const bool busyWhileSaving = GBusyDuringWork;
  const int savingCalls = GProgressCalls;
  GBusyDuringWork = false;
  GProgressCalls = 0;
  Access().OpenFile(path);
  TWPProgress::SetHook(nullptr, 0);
  EXPECT_TRUE(saved);
  if (savingCalls > 0) {
    EXPECT_TRUE(busyWhileSaving);
  }
  ASSERT_GT(GProgressCalls, 0);
  EXPECT_TRUE(GBusyDuringWork);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// An activation that arrives while a file is being opened (the window system
// may deliver one whenever pending messages run) repeats no start-up work.
void ActivateDuringOpen(std::intptr_t form, int) {
  auto& mainForm = *reinterpret_cast<TMainForm*>(form);
  mainForm.FormActivate();
  GBusyDuringWork = GBusyDuringWork || !TAccess(mainForm).Starting();  // start-up ran and ended
  ++GProgressCalls;
}

TEST_F(DocumentLifecycle, ActivationWhileOpeningRepeatsNoStartUpWork) {
  const QString path = FProgram + "activated.KLX";
  SavedPage(path, "Four", {"Text"});
  const int layouts = Panel().LayoutCount();
  GBusyDuringWork = false;
  GProgressCalls = 0;
  TWPProgress::SetHook(&ActivateDuringOpen, reinterpret_cast<std::intptr_t>(&Form()));
  Access().OpenFile(path);
  TWPProgress::SetHook(nullptr, 0);
  ASSERT_GT(GProgressCalls, 0);
  EXPECT_FALSE(GBusyDuringWork);
  EXPECT_EQ(Panel().LayoutCount(), layouts);
  EXPECT_EQ(Access().FileName(), path);
  EXPECT_FALSE(Access().Starting());
}

// A page that was scrolled to its far corner: the next page, new or opened,
// shows its top-left corner.
TEST_F(DocumentLifecycle, NewAndOpenShowThePageFromItsTopLeftCorner) {
  const QString path = FProgram + "scrolled.KLX";
  SavedPage(path, "Thirty", {"Text"});
  Form().resize(400, 300);
  Form().show();
  QCoreApplication::processEvents();
  auto* view = Form().findChild<QScrollArea*>(QStringLiteral("ScrollBox2"));
  ASSERT_NE(view, nullptr);
  const auto scrollToTheFarCorner = [view] {
    ASSERT_GT(view->horizontalScrollBar()->maximum(), 0);
    ASSERT_GT(view->verticalScrollBar()->maximum(), 0);
    view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
  };
  const std::function<void()> commands[] = {
      [&] { Access().OpenFile(path); },
      [&] { NewPage("Thirty"); },
  };
  for (const auto& command : commands) {
    scrollToTheFarCorner();
    command();
    EXPECT_EQ(view->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(view->verticalScrollBar()->value(), 0);
  }
  EXPECT_TRUE(FDialogs->Unexpected().empty());
}

}  // namespace
