// The preferences file as the main window reads and writes it: preferences,
// window placement and recent files across restarts, and the files that come
// from the command line or from a later copy of the program.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include "app/MRUList.h"
#include "app/MainForm.h"
#include "common/TestSupport.h"
#include "labelpage/LabelLayout.h"
#include "labelpage/LabelPageTestSupport.h"
#include "platform/AppGlobals.h"
#include "platform/AppRoutines.h"
#include "platform/IniFile.h"
#include "platform/ScriptedDialogService.h"
#include "platform/WindowPlacement.h"

class TSettingsTestAccess {
 public:
  explicit TSettingsTestAccess(TMainForm& form) : F(form) {}
  int Zoom() const { return F.FZoom; }
  int ZoomProp() const { return F.FZoomProp; }
  QString FontName() const { return F.FDefaultFontName; }
  int FontSize() const { return F.FDefaultFontSize; }
  QList<bool> FontStyle() const {
    return {F.FDefaultFontBold, F.FDefaultFontItalic, F.FDefaultFontUnderline, F.FDefaultFontStrikeout};
  }
  quint32 FontColor() const { return F.FDefaultFontColor; }
  const QFont& DialogFont() const { return F.DefaultFontdialog.Font; }
  QColor DialogColor() const { return F.DefaultFontdialog.Color; }
  bool ShowHints() const { return F.FShowHints; }
  QString FileName() const { return F.FFileName; }
  bool Modified() const { return F.FModified; }
  void MarkModified() { F.SetModified(true); }
  QMenu* FileMenu() const { return F.FileMenu; }
  QAction* ShowHintItem() const { return F.mnuShowHint; }
  void ChooseDefaultFont() { F.DefaultEditorFont1Click(); }
  void OpenHandedOverFiles() { F.OpenHandedOverFiles(); }

 private:
  TMainForm& F;
};

namespace {

using testsupport::ReadAll;
using testsupport::WriteAll;
using TAccess = TSettingsTestAccess;

// The keys of every section, in file order, as "[Section]" and "Key" lines.
QStringList Outline(const QString& path) {
  QStringList outline;
  for (const QString& line : QString::fromUtf8(ReadAll(path)).split('\n', Qt::SkipEmptyParts))
    outline << (line.startsWith('[') ? line : line.section('=', 0, 0));
  return outline;
}

// The entries of the File menu after "E&xit", where the recent files go.
QStringList RecentItems(QMenu* menu) {
  QStringList items;
  bool afterExit = false;
  for (QAction* action : menu->actions()) {
    if (afterExit) items << (action->isSeparator() ? "-" : action->text());
    afterExit = afterExit || action->text() == "E&xit";
  }
  return items;
}

class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FDir.isValid());
    FProgram = FDir.path() + "/";
    FIni = FProgram + "KLXFF.ini";
    SetApplicationDirectoryOverride(FProgram);
    SetPrinterQueryOverride(TPrinterQuery{{"Labels"}, "Labels"});
    SetPlacementScreenOverride(TPlacementScreen{QSize(1280, 1024), 96});
    SaveLLOFile(QFile::encodeName(FProgram + "KLXFF.LLO").toStdString(), {labelpagetest::GridLayout(2, 2)});
  }
  void TearDown() override {
    FForm.reset();
    SetPlacementScreenOverride(std::nullopt);
    SetPrinterQueryOverride(std::nullopt);
    SetApplicationDirectoryOverride({});
    AssignGlobalApplicationStrings();
  }

  // A fresh window through its start-up work, as a program start gives it.
  TMainForm& Start(const QString& startUpFile = {}) {
    FForm.reset();
    FForm = std::make_unique<TMainForm>();
    FForm->SetStartUpFile(startUpFile);
    FForm->FormActivate();
    return *FForm;
  }
  TMainForm& Restart() {
    FForm->close();
    FForm.reset();
    return Start();
  }
  TAccess Access() { return TAccess(*FForm); }
  // A label page file in the program folder.
  QString Sheet(const QString& name) {
    const QString path = FProgram + name;
    QFile::copy(testsupport::DataFile("labelpage/Example78.KLX"), path);
    return path;
  }

  QTemporaryDir FDir;
  QString FProgram;
  QString FIni;
  TScopedScriptedDialogs FDialogs;
  std::unique_ptr<TMainForm> FForm;
};

TEST_F(Settings, FirstStartIsMaximisedWithDefaultsAndWritesThePlacementAtOnce) {
  TopMarginNudge = LeftMarginNudge = VerticalSpacing = HorizontalSpacing = 7;
  TMainForm& form = Start();
  EXPECT_TRUE(form.isMaximized());
  EXPECT_EQ(Access().Zoom(), 100);
  EXPECT_EQ(form.PageOfLabelsPanel->Magnification(), 100);
  EXPECT_EQ(Access().FontName(), "Arial");
  EXPECT_EQ(Access().FontSize(), 10);
  EXPECT_EQ(Access().FontStyle(), (QList<bool>{false, false, false, false}));
  EXPECT_EQ(Access().FontColor(), 0u);
  EXPECT_EQ(Access().DialogFont().family(), "Arial");
  EXPECT_EQ(Access().DialogFont().pointSize(), 10);
  EXPECT_EQ(Access().DialogColor(), QColor(Qt::black));
  EXPECT_TRUE(Access().ShowHints());
  EXPECT_TRUE(Access().ShowHintItem()->isChecked());
  EXPECT_EQ(QList<int>({TopMarginNudge, LeftMarginNudge, VerticalSpacing, HorizontalSpacing}),
            QList<int>({0, 0, 0, 0}));
  EXPECT_EQ(Outline(FIni),
            (QStringList{"[TMainForm_Placement]", "Left", "Top", "Right", "Bottom", "Maximized"}));
  EXPECT_TRUE(TIniFile(FIni).ReadBool("TMainForm_Placement", "Maximized", false));

  form.close();
  EXPECT_EQ(Outline(FIni).mid(6),
            (QStringList{"[Zooming]", "Main", "Prop", "[Default Font]", "Name", "Size", "Bold", "Italic",
                         "Underline", "Strikeout", "Color", "[Printer]", "TopMarginNudge", "LeftMarginNudge",
                         "VerticalSpacing", "HorizontalSpacing", "[Hints]", "On"}));
  EXPECT_TRUE(FDialogs->Requests().empty());
}

TEST_F(Settings, EverySettingSurvivesARestart) {
  WriteAll(FIni, "[Zooming]\nProp=45\n");
  TMainForm& first = Start();
  first.setWindowState(Qt::WindowNoState);
  first.setGeometry(100, 80, 700, 500);
  first.PageOfLabelsPanel->SetMagnification(70);
  // What the fine-tuning dialog does on OK.
  TopMarginNudge = 12;
  LeftMarginNudge = -7;
  VerticalSpacing = 3;
  HorizontalSpacing = -250;
  first.SavePreferences();
  QFont courier("Courier New", 14);
  courier.setBold(true);
  courier.setItalic(true);
  courier.setUnderline(true);
  courier.setStrikeOut(true);
  FDialogs->QueueFont(courier, QColor(255, 0, 0));
  Access().ChooseDefaultFont();
  EXPECT_EQ(TIniFile(FIni).ReadString("Default Font", "Color", ""), "255");
  Access().ShowHintItem()->trigger();
  EXPECT_EQ(TIniFile(FIni).ReadString("Hints", "On", ""), "0");

  first.close();
  FForm.reset();
  TopMarginNudge = LeftMarginNudge = VerticalSpacing = HorizontalSpacing = 0;
  TMainForm& second = Start();
  EXPECT_FALSE(second.isMaximized());
  EXPECT_EQ(second.geometry(), QRect(100, 80, 700, 500));
  EXPECT_EQ(second.PageOfLabelsPanel->Magnification(), 70);
  EXPECT_EQ(Access().ZoomProp(), 45);
  EXPECT_EQ(QList<int>({TopMarginNudge, LeftMarginNudge, VerticalSpacing, HorizontalSpacing}),
            QList<int>({12, -7, 3, -250}));
  EXPECT_EQ(Access().FontName(), "Courier New");
  EXPECT_EQ(Access().FontSize(), 14);
  EXPECT_EQ(Access().FontStyle(), (QList<bool>{true, true, true, true}));
  EXPECT_EQ(Access().FontColor(), 0x0000FFu);
  EXPECT_TRUE(Access().DialogFont().strikeOut());
  EXPECT_EQ(Access().DialogColor(), QColor(255, 0, 0));
  EXPECT_FALSE(Access().ShowHints());
  EXPECT_FALSE(ApplicationShowHint());
  SetApplicationShowHint(true);
  EXPECT_TRUE(FDialogs->Unexpected().empty());
}

struct TStoredCase {
  const char* Text;
  int Zoom;
  int TopMarginNudge;
  bool Strikeout;
  quint32 Color;
};

TEST_F(Settings, StoredTextIsReadByTheIntegerRules) {
  const TStoredCase cases[] = {
      {"Main=80\nTopMarginNudge=0x10\nStrikeout=1\nColor=255", 80, 16, true, 255},
      {"Main=0X5a\nTopMarginNudge=-30\nStrikeout=0\nColor=0xFF0000", 90, -30, false, 0xFF0000},
      {"Main=eighty\nTopMarginNudge=12abc\nStrikeout=yes\nColor=", 100, 0, false, 0},
      // A zoom the page cannot be shown at starts at 100 %.
      {"Main=0\nTopMarginNudge=1\nStrikeout=2", 100, 1, true, 0},
      {"Main=5000", 100, 0, false, 0},
  };
  for (const auto& c : cases) {
    QString zooming = "[Zooming]\n", printer = "[Printer]\n", font = "[Default Font]\n";
    for (const QString& line : QString(c.Text).split('\n')) {
      const QString key = line.section('=', 0, 0);
      (key == "Main" ? zooming : key == "TopMarginNudge" ? printer : font) += line + "\n";
    }
    WriteAll(FIni, (zooming + printer + font).toUtf8());
    TMainForm& form = Start();
    EXPECT_EQ(form.PageOfLabelsPanel->Magnification(), c.Zoom) << c.Text;
    EXPECT_EQ(TopMarginNudge, c.TopMarginNudge) << c.Text;
    EXPECT_EQ(Access().FontStyle()[3], c.Strikeout) << c.Text;
    EXPECT_EQ(Access().DialogFont().strikeOut(), c.Strikeout) << c.Text;
    EXPECT_EQ(Access().FontColor(), c.Color) << c.Text;
    FForm.reset();
  }
}

TEST_F(Settings, EightyPerCentStepsUpAndDownByTen) {
  WriteAll(FIni, "[Zooming]\nMain=80\n");
  TMainForm& form = Start(Sheet("sheet.KLX"));
  ASSERT_FALSE(form.PageOfLabelsPanel->isHidden());
  EXPECT_TRUE(form.windowTitle().endsWith("[80%]"));
  QList<int> steps;
  for (int i = 0; i < 2; ++i) {
    form.ZoomPlusButtonClick();
    steps << form.PageOfLabelsPanel->Magnification();
  }
  for (int i = 0; i < 4; ++i) {
    form.ZoomMinusButtonClick();
    steps << form.PageOfLabelsPanel->Magnification();
  }
  EXPECT_EQ(steps, (QList<int>{90, 100, 90, 80, 70, 60}));
}

TEST_F(Settings, PlacementFitsTheScreenAndEachResolutionKeepsItsOwn) {
  WriteAll(FIni, "[TMainForm_Placement]\nLeft=300\nTop=200\nRight=1300\nBottom=900\nMaximized=0\n");
  SetPlacementScreenOverride(TPlacementScreen{QSize(1024, 768), 96});
  TMainForm& form = Start();
  EXPECT_FALSE(form.isMaximized());
  EXPECT_EQ(form.geometry(), QRect(24, 68, 1000, 700));
  const TIniFile ini(FIni);
  EXPECT_EQ(ini.ReadInteger("TMainForm_Placement", "Left", 0), 24);
  EXPECT_EQ(ini.ReadInteger("TMainForm_Placement", "Bottom", 0), 768);

  // The same installation on a screen of 120 pixels per inch starts maximised
  // there, and the placement for 96 stays as it was.
  FForm.reset();
  SetPlacementScreenOverride(TPlacementScreen{QSize(1024, 768), 120});
  EXPECT_TRUE(Start().isMaximized());
  EXPECT_TRUE(ini.ReadBool("TMainForm_Placement120", "Maximized", false));
  EXPECT_EQ(ini.ReadInteger("TMainForm_Placement", "Right", 0), 1024);
}

TEST_F(Settings, EmptyProductCodeIsReportedByEveryRoutineAndNothingIsWritten) {
  GlobalApplicationPrefix.clear();
  for (int i = 0; i < 11; ++i) FDialogs->QueueMessageResult(idOK);
  Start().close();
  const QString notSet = "Application Prefix not set";
  EXPECT_EQ(
      FDialogs->MessageTexts(),
      (QStringList{// Creation: preferences, then the recent-files list's file name.
                   notSet, notSet + " for LoadPreferences", notSet,
                   // First activation: placement, preferences.
                   notSet, notSet + " for LoadWindowPlacement", notSet, notSet + " for LoadPreferences",
                   // Closing: preferences, placement.
                   notSet, notSet + " for SavePreferences", notSet, notSet + " for SaveWindowPlacement"}));
  EXPECT_EQ(Access().FontName(), "Arial");
  FForm.reset();
  EXPECT_FALSE(QFile::exists(FIni));
}

TEST_F(Settings, RecentFilesFollowTheFileMenuAndTheNewestReopensAtStart) {
  const QString older = Sheet("older.KLX");
  const QString newer = Sheet("newer.KLX");
  TMainForm& form = Start();
  EXPECT_EQ(RecentItems(Access().FileMenu()), QStringList{});
  FDialogs->QueueFileName(older);
  form.findChild<QAction*>("Open1")->trigger();
  FDialogs->QueueFileName(newer);
  form.findChild<QAction*>("Open1")->trigger();
  EXPECT_EQ(RecentItems(Access().FileMenu()), (QStringList{"-", "&1 " + newer, "&2 " + older}));
  EXPECT_EQ(TIniFile(FIni).ReadSectionValues("MRU"), (QStringList{"F0=" + newer, "F1=" + older}));

  TMainForm& second = Restart();
  EXPECT_EQ(Access().FileName(), newer);
  EXPECT_FALSE(second.PageOfLabelsPanel->isHidden());

  // The newest one gone: the window starts without a page and says nothing.
  QFile::remove(newer);
  TMainForm& third = Restart();
  EXPECT_EQ(Access().FileName(), "");
  EXPECT_TRUE(third.PageOfLabelsPanel->isHidden());
  EXPECT_EQ(FDialogs->Requests().size(), 2u);  // the two Open dialogs

  // Chosen from the menu, it is reported and does not come back.
  FDialogs->QueueMessageResult(idOK);
  for (QAction* action : Access().FileMenu()->actions())
    if (action->text() == "&1 " + newer) action->trigger();
  EXPECT_EQ(FDialogs->MessageTexts().last(), "File: " + newer + "\rno longer exists");
  EXPECT_EQ(RecentItems(Access().FileMenu()), (QStringList{"-", "&1 " + older}));
  FForm.reset();  // the list saves itself as it goes
  EXPECT_EQ(TIniFile(FIni).ReadSectionValues("MRU"), QStringList{"F0=" + older});
}

TEST_F(Settings, APreferencesFileThatTakesNoWritesLeavesPagesOpenAndTheWindowClosing) {
  const QString sheet = Sheet("sheet.KLX");
  TMainForm& form = Start();
  QFile::setPermissions(FIni, QFile::ReadOwner);
  testsupport::TWithoutFolderOverride asAUser;
  const QString refused = "Unable to write to " + FIni;
  FDialogs->QueueFileName(sheet);
  FDialogs->QueueMessageResult(idOK);
  form.findChild<QAction*>("Open1")->trigger();
  EXPECT_EQ(FDialogs->MessageTexts(), QStringList{refused});
  EXPECT_EQ(Access().FileName(), sheet);
  EXPECT_FALSE(form.PageOfLabelsPanel->isHidden());

  form.show();
  form.PageOfLabelsPanel->SetMagnification(60);  // something to write
  FDialogs->QueueMessageResult(idOK);
  FDialogs->QueueMessageResult(idOK);
  form.close();
  EXPECT_FALSE(form.isVisible());
  FForm.reset();  // the recent-files list tries once more
  EXPECT_EQ(FDialogs->MessageTexts(), (QStringList{refused, refused, refused}));
  QFile::setPermissions(FIni, QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(Settings, FilesFromTheCommandLineAndFromALaterCopy) {
  const QString recent = Sheet("recent.KLX");
  const QString given = Sheet("given.KLX");
  WriteAll(FIni, ("[MRU]\nF0=" + recent + "\n").toUtf8());
  Start(given);
  EXPECT_EQ(Access().FileName(), given);
  FForm.reset();

  // Through the open path: the wrong kind of name is refused with its message.
  FDialogs->QueueMessageResult(idOK);
  Start(FProgram + "notes.txt");
  EXPECT_EQ(FDialogs->MessageTexts().last(), "Must be a Label Page File (*.KLX)");
  EXPECT_EQ(Access().FileName(), "");

  // A later copy hands over a file while the page has changes: one that does
  // not exist is refused and the page stays; one that does asks about saving first.
  FDialogs->QueueFileName(recent);
  FForm->findChild<QAction*>("Open1")->trigger();
  Access().MarkModified();
  FDialogs->QueueMessageResult(idOK);
  FForm->OpenFileFromOtherCopy(FProgram + "missing.KLX");
  EXPECT_EQ(FDialogs->MessageTexts().last(), "File " + FProgram + "missing.KLX no longer exists");
  EXPECT_EQ(Access().FileName(), recent);
  EXPECT_TRUE(Access().Modified());
  FDialogs->QueueMessageResult(idNo);
  FForm->OpenFileFromOtherCopy(given);
  EXPECT_EQ(FDialogs->MessageTexts().last(), "Save changes?");
  EXPECT_EQ(Access().FileName(), given);
  EXPECT_FALSE(Access().Modified());
  FForm.reset();

  // One that comes while the window is still starting waits for the start-up.
  FForm = std::make_unique<TMainForm>();
  FForm->OpenFileFromOtherCopy(recent);
  EXPECT_EQ(Access().FileName(), "");
  FForm->FormActivate();
  Access().OpenHandedOverFiles();
  EXPECT_EQ(Access().FileName(), recent);
  EXPECT_TRUE(FDialogs->Unexpected().empty());
}

}  // namespace
