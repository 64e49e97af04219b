#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/Eyes.h"
#include "app/MainForm.h"
#include "app/Splash.h"
#include "common/TestSupport.h"
#include "labelpage/LabelLayout.h"
#include "labelpage/LabelPageTestSupport.h"
#include "platform/AppGlobals.h"
#include "platform/AppRoutines.h"
#include "platform/HelpWindow.h"
#include "platform/ScriptedDialogService.h"
#include "printing/LabelPrintPrep.h"
#include "printing/PdfTestSupport.h"
#include "printing/PrintFineTune.h"
#include "printing/SpinButton.h"
#include "printing/TimerSpeedButton.h"
#include "symbols/GetSymbol.h"
#include "symbols/RptSpeedButton.h"
#include "sysinfo/ConfigurationInfo.h"

// Reaches the main window's private state, as the tests need it.
class TMainFormTestAccess {
 public:
  explicit TMainFormTestAccess(TMainForm& form) : F(form) {}
  void SetFileName(const QString& name) { F.FFileName = name; }
  void SetPrinterAvailable(bool value) { F.FPrinterAvailable = value; }
  bool Starting() const { return F.FStarting; }
  bool Modified() const { return F.FModified; }
  int CurrentCell() const { return F.FCurrentCell; }
  QWidget* Editor() const { return F.WPRichText1; }
  QWidget* ToolBar() const { return F.WPToolBar1; }
  void GetSymbol() { F.GetSymbolbuttonClick(); }

 private:
  TMainForm& F;
};

namespace {

TLabelLayoutRecord TestLayout(const std::string& name, int across, int down) {
  return labelpagetest::GridLayout(across, down, name);
}

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FDir.isValid());
    SetApplicationDirectoryOverride(FDir.path());
    SetPrinterQueryOverride(TPrinterQuery{{"Labels"}, "Labels"});
    QFile::copy(QStringLiteral(TABWRIGHT_SOURCE_DIR "/data/help/KLX.html"), FDir.filePath("KLX.HLP"));
  }
  void TearDown() override {
    FForm.reset();
    CloseHelpWindow();
    SetPrinterQueryOverride(std::nullopt);
    SetApplicationDirectoryOverride({});
  }

  void WriteLayoutFile(int count) {
    std::vector<TLabelLayoutRecord> layouts;
    for (int i = 1; i <= count; ++i) layouts.push_back(TestLayout("Layout " + std::to_string(i), 2, 15));
    SaveLLOFile(QFile::encodeName(FDir.filePath("KLXFF.LLO")).toStdString(), layouts);
  }

  TMainForm& Form() {
    if (!FForm) FForm = std::make_unique<TMainForm>();
    return *FForm;
  }
  // A started window: layout file read, start-up work done.
  TMainForm& StartedForm() {
    WriteLayoutFile(3);
    Form().FormActivate();
    EXPECT_FALSE(TMainFormTestAccess(Form()).Starting());
    return Form();
  }
  // A sheet on screen, as New leaves it.
  void ShowPage(TMainForm& form) {
    form.PageOfLabelsPanel->AddLayout(TestLayout("Folder", 2, 15));
    form.PageOfLabelsPanel->SetLayout("Folder", false);
    form.PageOfLabelsPanel->show();
  }
  template <typename T = QAction>
  T* Find(const char* name) {
    T* child = Form().findChild<T*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  bool Enabled(const char* name) {
    if (auto* action = Form().findChild<QAction*>(QLatin1String(name))) return action->isEnabled();
    return Find<QWidget>(name)->isEnabled();
  }

  QTemporaryDir FDir;
  TScopedScriptedDialogs FDialogs;
  std::unique_ptr<TMainForm> FForm;
};

const char* const kPageCommands[] = {
    "mnuSaveAs",       "mnuLayoutInfo",  "mnuPrintSetup", "mnuChangeLayout", "mnuClearAllCellContents",
    "ZoomMinusButton", "ZoomPlusButton", "mnuExportPdf",  "mnuFillFromList"};
const char* const kEditorCommands[] = {"ReplicateOnebutton", "ReplicateAllbutton", "GetSymbolbutton"};
const char* const kAlwaysEnabled[] = {"New1",
                                      "Open1",
                                      "DefaultEditorFont1",
                                      "mnuPrinterFindtuning",
                                      "Exit1",
                                      "Contents1",
                                      "SearchforHelpOn1",
                                      "HelponHelp1",
                                      "ConfigurationInformation1",
                                      "TechnicalSupport1",
                                      "About1",
                                      "VisitOurInternetWebsite1",
                                      "mnuShowHint",
                                      "FrequentlyAskedQuestions1",
                                      "Clear1",
                                      "CopyContentstoNextLabel1",
                                      "CopyContentstoAllLabels1"};

TEST_F(MainFormTest, MenusHaveEveryItemCaptionAndShortcut) {
  struct TItem {
    const char* Name;
    const char* Caption;
  };
  const TItem file[] = {{"New1", "&New "},
                        {"Open1", "&Open"},
                        {"mnuChangeLayout", "Change Layout"},
                        {"mnuLayoutInfo", "Layout Info"},
                        {"N3", ""},
                        {"mnuSave", "&Save "},
                        {"mnuSaveAs", "Save &As..."},
                        {"N1", ""},
                        {"mnuCancelChanges", "&Cancel Changes"},
                        {"mnuClearAllCellContents", "Clear &All Cell Contents"},
                        {"mnuFillFromList", "&Fill Labels from List..."},
                        {"DefaultEditorFont1", "&Default Editor Font"},
                        {"N5", ""},
                        {"mnuPrintPage", "P&rint Page"},
                        {"mnuPrintSetup", "Print Set&up"},
                        {"mnuPrinterFindtuning", "Printer Fine Tuning"},
                        {"mnuExportPdf", "&Export Page to PDF..."},
                        {"N2", ""},
                        {"Exit1", "E&xit"}};
  const TItem help[] = {{"Contents1", "&Contents"},
                        {"SearchforHelpOn1", "Search for Help On..."},
                        {"HelponHelp1", "Help on Help"},
                        {"ConfigurationInformation1", "Configuration Information"},
                        {"TechnicalSupport1", "Technical Support"},
                        {"About1", "&About"},
                        {"N4", ""},
                        {"VisitOurInternetWebsite1", "Visit Our Internet Website"},
                        {"mnuShowHint", "&Show Hints"},
                        {"FrequentlyAskedQuestions1", "Frequently Asked Questions"}};
  const TItem popup[] = {{"Undo1", "Undo"},
                         {"Redo1", "Redo"},
                         {"N6", ""},
                         {"Clear1", "Clear Contents"},
                         {"CopyContentstoNextLabel1", "Copy Contents to Next Label"},
                         {"CopyContentstoAllLabels1", "Copy Contents to All Labels"}};
  auto check = [](QMenu* menu, const auto& items) {
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), qsizetype(std::size(items)));
    for (qsizetype i = 0; i < actions.size(); ++i) {
      EXPECT_EQ(actions[i]->objectName(), items[i].Name);
      EXPECT_EQ(actions[i]->text(), items[i].Caption) << items[i].Name;
      EXPECT_EQ(actions[i]->isSeparator(), items[i].Caption[0] == 0) << items[i].Name;
      if (qstrcmp(items[i].Name, "mnuSave") != 0) {
        EXPECT_TRUE(actions[i]->shortcut().isEmpty()) << items[i].Name;
      }
    }
  };
  const QList<QAction*> menus = Form().menuBar()->actions();
  ASSERT_EQ(menus.size(), 2);
  EXPECT_EQ(menus[0]->text(), "&File");
  EXPECT_EQ(menus[1]->text(), "&Help");
  check(menus[0]->menu(), file);
  check(menus[1]->menu(), help);
  check(Find<QMenu>("WPPopupMenu"), popup);
  EXPECT_EQ(Find("mnuSave")->shortcut(), QKeySequence("Ctrl+S"));
  EXPECT_TRUE(Find("mnuShowHint")->isChecked());
}

TEST_F(MainFormTest, ButtonRowLayoutAndHints) {
  struct TButton {
    const char* Name;
    const char* Hint;
    int Left;
  };
  const TButton buttons[] = {{"ZoomPlusButton", "Zoom In", 9},
                             {"ZoomMinusButton", "Zoom Out", 33},
                             {"Printbutton", "Print the page", 61},
                             {"ReplicateOnebutton", "Clone current label to next label", 88},
                             {"ReplicateAllbutton", "Clone current label to all labels", 112},
                             {"GetSymbolbutton", "Insert a Symbol into the selected label", 143}};
  EXPECT_EQ(Form().size(), QSize(620, 450));
  EXPECT_EQ(Find<QWidget>("Panel3")->height(), 27);
  for (const auto& b : buttons) {
    auto* button = Find<QToolButton>(b.Name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->toolTip(), b.Hint);
    EXPECT_EQ(button->geometry(), QRect(b.Left, 3, 21, 20)) << b.Name;
    EXPECT_FALSE(button->icon().isNull());
  }
  auto* save = Find<QPushButton>("Savebutton");
  auto* cancel = Find<QPushButton>("CancelButton");
  EXPECT_EQ(save->text(), "&Save");
  EXPECT_EQ(save->toolTip(), "Save changes to the page");
  EXPECT_EQ(save->palette().color(QPalette::ButtonText), QColor(0, 128, 0));
  EXPECT_EQ(cancel->text(), "&Cancel");
  EXPECT_EQ(cancel->toolTip(), "Cancel all changes");
  EXPECT_EQ(cancel->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
  EXPECT_EQ(save->size(), QSize(49, 20));
  EXPECT_TRUE(save->font().bold());
  EXPECT_TRUE(save->isHidden());
  EXPECT_TRUE(cancel->isHidden());
  EXPECT_EQ(Find<QWidget>("Panel1")->width(), 140);
  // Panel1 follows the right edge of the row.
  Form().resize(800, 500);
  Form().show();
  QCoreApplication::processEvents();
  EXPECT_EQ(Find<QWidget>("Panel1")->geometry().right(), Find<QWidget>("Panel3")->width() - 1);
  EXPECT_EQ(Find<QWidget>("WPToolBar1")->height(), 26);
  EXPECT_FALSE(Find<QWidget>("WPToolBar1")->isEnabled());
  EXPECT_TRUE(Form().PageOfLabelsPanel->isHidden());
  EXPECT_EQ(Form().PageOfLabelsPanel->pos(), QPoint(5, 5));
}

TEST_F(MainFormTest, ToolBarShowsItsControlsLeftToRight) {
  Form().resize(800, 500);
  Form().show();
  QCoreApplication::processEvents();
  auto* bar = Find<TWPToolBar>("WPToolBar1");
  // Each control with the group it belongs to (0 for list boxes) and its hint.
  struct TControl {
    QWidget* Widget;
    int Group;
    const char* Hint;
  };
  const std::vector<TControl> controls = {
      {bar->ListBox(1), 0, ""},
      {bar->ListBox(2), 0, ""},
      {bar->ListBox(3), 0, ""},
      {bar->Button(wpgStatus, 2), wpgStatus, "Bold Font"},
      {bar->Button(wpgStatus, 3), wpgStatus, "Italic Font"},
      {bar->Button(wpgStatus, 4), wpgStatus, "Underlined Font"},
      {bar->Button(wpgAlignment, 1), wpgAlignment, "Left Justify Text"},
      {bar->Button(wpgAlignment, 4), wpgAlignment, "Center Text "},
      {bar->Button(wpgAlignment, 2), wpgAlignment, "Right Justify Text"},
      {bar->Button(wpgEdit, 4), wpgEdit, "Select All"},
      {bar->Button(wpgEdit, 2), wpgEdit, "Cut Text"},
      {bar->Button(wpgEdit, 1), wpgEdit, "Copy Text"},
      {bar->Button(wpgEdit, 3), wpgEdit, "Paste Text"},
  };
  EXPECT_EQ(bar->ButtonCount(), 10);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    ASSERT_NE(controls[i].Widget, nullptr) << i;
    EXPECT_EQ(controls[i].Widget->toolTip(), controls[i].Hint) << i;
    if (i == 0) continue;
    const QWidget* previous = controls[i - 1].Widget;
    const int gap = controls[i].Group == 0 ? 2 : controls[i].Group != controls[i - 1].Group ? 8 : 0;
    EXPECT_EQ(controls[i].Widget->x(), previous->x() + previous->width() + gap) << i;
  }
  EXPECT_EQ(bar->ListBox(2)->itemText(0), " 8");
  EXPECT_EQ(bar->ListBox(2)->itemText(bar->ListBox(2)->count() - 1), " 72");
  EXPECT_EQ(bar->ListBox(3)->count(), 16);
}

TEST_F(MainFormTest, CommandsWithNoPage) {
  TMainForm& form = StartedForm();
  for (const char* name : kPageCommands) EXPECT_FALSE(Enabled(name)) << name;
  for (const char* name : kEditorCommands) EXPECT_FALSE(Enabled(name)) << name;
  for (const char* name : kAlwaysEnabled) EXPECT_TRUE(Enabled(name)) << name;
  EXPECT_FALSE(Enabled("mnuSave"));
  EXPECT_FALSE(Enabled("mnuPrintPage"));
  EXPECT_FALSE(Enabled("Printbutton"));
  EXPECT_FALSE(Enabled("mnuCancelChanges"));
  EXPECT_TRUE(Find<QWidget>("Savebutton")->isHidden());
  EXPECT_TRUE(Find<QWidget>("CancelButton")->isHidden());
  EXPECT_TRUE(form.PageOfLabelsPanel->isHidden());
}

TEST_F(MainFormTest, CommandsWithUnnamedPage) {
  TMainForm& form = StartedForm();
  TMainFormTestAccess access(form);
  ShowPage(form);
  form.UpdateCommands();
  for (const char* name : kPageCommands) EXPECT_TRUE(Enabled(name)) << name;
  for (const char* name : kEditorCommands) EXPECT_FALSE(Enabled(name)) << name;
  EXPECT_FALSE(Enabled("mnuSave"));
  EXPECT_FALSE(Enabled("mnuCancelChanges"));
  EXPECT_TRUE(Enabled("mnuPrintPage"));
  EXPECT_TRUE(Enabled("Printbutton"));

  // The first change shows the green button only: there is no file to go back to.
  form.SetModified(true);
  EXPECT_FALSE(Find<QWidget>("Savebutton")->isHidden());
  EXPECT_TRUE(Find<QWidget>("CancelButton")->isHidden());

  // Without a printer, printing is off and nothing else changes.
  access.SetPrinterAvailable(false);
  form.UpdateCommands();
  EXPECT_FALSE(Enabled("mnuPrintPage"));
  EXPECT_FALSE(Enabled("Printbutton"));
  EXPECT_TRUE(Enabled("mnuSaveAs"));
}

TEST_F(MainFormTest, CommandsWithNamedPageAndOpenEditor) {
  TMainForm& form = StartedForm();
  TMainFormTestAccess access(form);
  ShowPage(form);
  access.SetFileName(FDir.filePath("LF000000.KLX"));
  form.UpdateCommands();
  EXPECT_TRUE(Enabled("mnuSave"));
  EXPECT_TRUE(Enabled("mnuCancelChanges"));
  for (const char* name : kPageCommands) EXPECT_TRUE(Enabled(name)) << name;
  EXPECT_TRUE(Find<QWidget>("Savebutton")->isHidden());
  EXPECT_TRUE(Find<QWidget>("CancelButton")->isHidden());
  form.SetModified(true);
  EXPECT_FALSE(Find<QWidget>("Savebutton")->isHidden());
  EXPECT_FALSE(Find<QWidget>("CancelButton")->isHidden());
  form.SetModified(false);
  EXPECT_TRUE(Find<QWidget>("Savebutton")->isHidden());

  access.Editor()->show();
  form.UpdateCommands();
  EXPECT_TRUE(access.ToolBar()->isEnabled());
  for (const char* name : kEditorCommands) EXPECT_TRUE(Enabled(name)) << name;
  // The editing commands need the page too.
  form.PageOfLabelsPanel->hide();
  form.UpdateCommands();
  EXPECT_FALSE(access.ToolBar()->isEnabled());
  for (const char* name : kEditorCommands) EXPECT_FALSE(Enabled(name)) << name;
  EXPECT_TRUE(Enabled("mnuSave"));  // named, even without a page
}

TEST_F(MainFormTest, SetModifiedActsOnlyOnAChange) {
  TMainForm& form = StartedForm();
  auto* save = Find<QWidget>("Savebutton");
  form.SetModified(true);
  EXPECT_FALSE(save->isHidden());
  save->hide();  // not touched again while the value stays the same
  form.SetModified(true);
  EXPECT_TRUE(save->isHidden());
  form.SetModified(false);
  EXPECT_TRUE(save->isHidden());
  EXPECT_FALSE(TMainFormTestAccess(form).Modified());
}

TEST_F(MainFormTest, CaptionHasExactBlanks) {
  TMainForm& form = StartedForm();
  EXPECT_EQ(form.windowTitle(), "Tabwright for File Folders     [100%]");
  TMainFormTestAccess(form).SetFileName(FDir.filePath("LF000000.KLX"));
  form.UpdateCaption();
  EXPECT_EQ(form.windowTitle(), "Tabwright for File Folders   [LF000000.KLX]    [100%]");
  ShowPage(form);
  form.PageOfLabelsPanel->SetMagnification(80);
  form.UpdateCaption();
  EXPECT_EQ(form.windowTitle(), "Tabwright for File Folders   [LF000000.KLX]    [80%]");
}

TEST_F(MainFormTest, ZoomStepsBetweenSixtyAndHundred) {
  TMainForm& form = StartedForm();
  form.ZoomMinusButtonClick();  // no page: nothing
  EXPECT_EQ(form.PageOfLabelsPanel->Magnification(), 100);
  ShowPage(form);
  form.ZoomPlusButtonClick();
  EXPECT_EQ(form.PageOfLabelsPanel->Magnification(), 100);
  for (int expected : {90, 80, 70, 60, 60}) {
    form.ZoomMinusButtonClick();
    EXPECT_EQ(form.PageOfLabelsPanel->Magnification(), expected);
  }
  EXPECT_TRUE(form.windowTitle().endsWith("[60%]"));
  form.ZoomPlusButtonClick();
  EXPECT_EQ(form.PageOfLabelsPanel->Magnification(), 70);
  EXPECT_TRUE(form.windowTitle().endsWith("[70%]"));
}

TEST_F(MainFormTest, PageKeysZoomOnlyWhileMainWindowIsActive) {
  TMainForm& form = StartedForm();
  ShowPage(form);
  form.show();
  QApplication::setActiveWindow(&form);
  ASSERT_EQ(QApplication::activeWindow(), &form);
  QTest::keyClick(&form, Qt::Key_PageUp);
  EXPECT_EQ(form.PageOfLabelsPanel->Magnification(), 90);
  QTest::keyClick(&form, Qt::Key_PageDown);
  EXPECT_EQ(form.PageOfLabelsPanel->Magnification(), 100);

  // In a dialog the keys keep their meaning.
  QDialog dialog(&form);
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_EQ(QApplication::activeWindow(), &dialog);
  QTest::keyClick(&dialog, Qt::Key_PageUp);
  EXPECT_EQ(form.PageOfLabelsPanel->Magnification(), 100);
  dialog.hide();

  // With no page the keys are swallowed and do nothing.
  QApplication::setActiveWindow(&form);
  ASSERT_EQ(QApplication::activeWindow(), &form);
  form.PageOfLabelsPanel->hide();
  QTest::keyClick(&form, Qt::Key_PageUp);
  EXPECT_EQ(form.PageOfLabelsPanel->Magnification(), 100);
}

TEST_F(MainFormTest, MissingLayoutFileStopsStartUpAndIsRetried) {
  TMainForm& form = Form();
  FDialogs->QueueMessageResult(idOK);
  form.HandleActivation();
  const QString path = FDir.filePath("KLXFF.LLO");
  EXPECT_EQ(FDialogs->MessageTexts(), QStringList{"Cannot open file " + path});
  EXPECT_EQ(FDialogs->Requests()[0].Caption, GlobalApplicationName);
  EXPECT_TRUE(TMainFormTestAccess(form).Starting());
  EXPECT_EQ(form.windowTitle(), GlobalApplicationName);  // the caption was not built yet

  WriteLayoutFile(3);
  form.HandleActivation();
  EXPECT_FALSE(TMainFormTestAccess(form).Starting());
  EXPECT_EQ(form.PageOfLabelsPanel->LayoutCount(), 3);
  EXPECT_EQ(form.windowTitle(), "Tabwright for File Folders     [100%]");
  EXPECT_EQ(FDialogs->Requests().size(), 1u);

  // Later activations do no start-up work.
  form.HandleActivation();
  EXPECT_EQ(form.PageOfLabelsPanel->LayoutCount(), 3);
}

TEST_F(MainFormTest, ActivationRightAfterTheErrorBoxDoesNotRetryAtOnce) {
  // Closing the error box gives the window the focus back; retrying then
  // would only bring the same box up again and again.
  TMainForm& form = Form();
  FDialogs->QueueMessageResult(idOK);
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&form, &activate);
  ASSERT_EQ(FDialogs->MessageTexts().size(), 1);
  QApplication::sendEvent(&form, &activate);
  EXPECT_EQ(FDialogs->MessageTexts().size(), 1);
  EXPECT_TRUE(TMainFormTestAccess(form).Starting());
  // A later activation, once the user comes back, tries again.
  WriteLayoutFile(2);
  QTest::qWait(1100);
  QApplication::sendEvent(&form, &activate);
  EXPECT_FALSE(TMainFormTestAccess(form).Starting());
  EXPECT_EQ(form.PageOfLabelsPanel->LayoutCount(), 2);
}

TEST_F(MainFormTest, CorruptLayoutFileIsReported) {
  struct TCase {
    QByteArray Bytes;
    const char* Message;
  };
  const TCase cases[] = {{QByteArray("\x07\x02\x00\x02\x00\x00", 6), "Invalid property value"},
                         {QByteArray("\x01\x02", 2), "Stream read error"},
                         {QByteArray(), "Stream read error"}};
  for (const TCase& c : cases) {
    testsupport::WriteAll(FDir.filePath("KLXFF.LLO"), c.Bytes);
    TMainForm form;
    FDialogs->QueueMessageResult(idOK);
    form.HandleActivation();
    EXPECT_EQ(FDialogs->MessageTexts().last(), c.Message);
    EXPECT_TRUE(TMainFormTestAccess(form).Starting());
    EXPECT_EQ(form.PageOfLabelsPanel->LayoutCount(), 0);
  }
}

TEST_F(MainFormTest, LayoutTableNeverPassesFifty) {
  WriteLayoutFile(60);
  TMainForm& form = Form();
  form.FormActivate();
  EXPECT_EQ(form.PageOfLabelsPanel->LayoutCount(), 50);
}

TEST_F(MainFormTest, StartUpChecksThePrinterSilently) {
  SetPrinterQueryOverride(TPrinterQuery{});
  TMainForm& form = StartedForm();
  ShowPage(form);
  form.UpdateCommands();
  EXPECT_FALSE(Enabled("mnuPrintPage"));
  EXPECT_TRUE(FDialogs->Requests().empty());
}

TEST_F(MainFormTest, HelpMenuOpensTopics) {
  TMainForm& form = StartedForm();
  EXPECT_EQ(ApplicationHelpFile(), FDir.filePath("KLX.HLP"));
  auto help = [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* window = qobject_cast<THelpWindow*>(w)) return window;
    return static_cast<THelpWindow*>(nullptr);
  };
  Find("TechnicalSupport1")->trigger();
  ASSERT_NE(help(), nullptr);
  EXPECT_EQ(help()->CurrentAnchor(), "1015");
  Find("FrequentlyAskedQuestions1")->trigger();
  EXPECT_EQ(help()->CurrentAnchor(), "911");
  Find("Contents1")->trigger();
  EXPECT_EQ(help()->CurrentAnchor(), "contents");
  Find("HelponHelp1")->trigger();
  EXPECT_EQ(help()->CurrentAnchor(), "helponhelp");
  Find("SearchforHelpOn1")->trigger();
  EXPECT_TRUE(help()->isVisible());
  (void)form;
}

class TUrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> Urls;
 public slots:
  void Open(const QUrl& url) { Urls << url; }
};

TEST_F(MainFormTest, WebsiteOpensInTheBrowser) {
  StartedForm();
  TUrlCatcher catcher;
  QDesktopServices::setUrlHandler("https", &catcher, "Open");
  Find("VisitOurInternetWebsite1")->trigger();
  QDesktopServices::unsetUrlHandler("https");
  ASSERT_EQ(catcher.Urls.size(), 1);
  EXPECT_EQ(catcher.Urls[0], QUrl(TMainForm::ProductWebsite));
}

TEST_F(MainFormTest, ShowHintsToggles) {
  StartedForm();
  QAction* item = Find("mnuShowHint");
  ASSERT_TRUE(item->isChecked());
  item->trigger();
  EXPECT_FALSE(item->isChecked());
  EXPECT_FALSE(ApplicationShowHint());
  item->trigger();
  EXPECT_TRUE(item->isChecked());
  EXPECT_TRUE(ApplicationShowHint());
}

TEST_F(MainFormTest, AboutBoxShowsProductVersionAndEyes) {
  StartedForm();
  bool checked = false;
  FDialogs->QueueExec([&](QDialog& dialog) {
    auto* splash = qobject_cast<TSplashform*>(&dialog);
    EXPECT_NE(splash, nullptr);
    if (!splash) return 2;
    EXPECT_EQ(splash->windowTitle(), "About Tabwright for File Folders");
    EXPECT_EQ(splash->ProductName->text(), "Tabwright for File Folders");
    EXPECT_EQ(splash->Version->text(), "Version 2.8b");
    EXPECT_EQ(splash->Bits->text(), "32-bit version");
    EXPECT_FALSE(splash->Logo->pixmap().isNull());
    EXPECT_EQ(splash->Eyes1->geometry(), QRect(20, 146, 37, 30));
    EXPECT_EQ(splash->Eyes2->geometry(), QRect(401, 7, 26, 20));
    EXPECT_FALSE(splash->windowFlags() & Qt::WindowCloseButtonHint);
    splash->OKButton->click();
    EXPECT_EQ(splash->result(), QDialog::Accepted);
    checked = true;
    return 1;
  });
  Find("About1")->trigger();
  EXPECT_TRUE(checked);
  EXPECT_TRUE(FDialogs->Unexpected().empty());
}

TEST_F(MainFormTest, ClickingALabelSelectsIt) {
  TMainForm& form = StartedForm();
  ShowPage(form);
  form.show();
  QCoreApplication::processEvents();
  form.PageOfLabelsPanel->OpenCell(3);
  EXPECT_EQ(TMainFormTestAccess(form).CurrentCell(), 3);
  EXPECT_EQ(form.PageOfLabelsPanel->SelectedCell(), 3);
}

TEST_F(MainFormTest, ExitClosesWithoutQuestions) {
  TMainForm& form = StartedForm();
  form.show();
  Find("Exit1")->trigger();
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(FDialogs->Requests().empty());
}

TEST_F(MainFormTest, ComeForwardRestoresAMinimisedWindow) {
  TMainForm& form = StartedForm();
  form.show();
  form.showMinimized();
  QCoreApplication::processEvents();
  form.ComeForward();
  EXPECT_FALSE(form.isMinimized());
  EXPECT_TRUE(form.isVisible());
}

TEST_F(MainFormTest, PrinterFineTuningChangesTheNudgesOnlyThroughOk) {
  StartedForm();
  auto answer = [this](bool ok) {
    FDialogs->QueueExec([ok](QDialog& d) {
      auto& dialog = dynamic_cast<TPrintFineTune&>(d);
      dialog.TopMarginSpinner->DownButton()->click();
      dialog.HorizontalSpacingSpinner->UpButton()->click();
      (ok ? dialog.OKButton : dialog.Cancelbutton)->click();
      return dialog.result();
    });
  };
  answer(true);
  Find("mnuPrinterFindtuning")->trigger();
  EXPECT_EQ(CurrentNudges(), (TPrinterNudges{1, 0, 0, -1}));
  answer(false);
  Find("mnuPrinterFindtuning")->trigger();
  EXPECT_EQ(CurrentNudges(), (TPrinterNudges{1, 0, 0, -1}));
  EXPECT_TRUE(FDialogs->Unexpected().empty());
  SetCurrentNudges({});
}

// Print Page: the labels chosen in the dialog, as many copies as chosen in
// its print dialog, on the printer chosen there (here a PDF file), with the
// nudges of the moment.
TEST_F(MainFormTest, PrintPagePrintsTheLabelsAndCopiesOfTheLabelsPrintDialog) {
  TMainForm& form = StartedForm();
  ShowPage(form);
  form.UpdateCommands();
  ASSERT_TRUE(Enabled("mnuPrintPage"));
  for (int n : {1, 4, 6})
    labelpagetest::PutText(form.PageOfLabelsPanel->Storage(n)->RtfText(), "L" + std::to_string(n));
  SetCurrentNudges({.TopMargin = 12, .VerticalSpacing = -2});
  const QString printed = FDir.filePath("printed.pdf");
  FDialogs->QueueExec([this, printed](QDialog& d) {
    auto& dialog = dynamic_cast<TLabelPrintPrep&>(d);
    EXPECT_EQ(dialog.NumberAcross, 2);
    EXPECT_EQ(dialog.NumberDown, 15);
    const TCellRect label4 = dialog.LabelRect(3);
    dialog.FormMouseDown(Qt::LeftButton, QPoint(label4.Left, label4.Top));
    FDialogs->QueuePrint(true, [printed](QPrinter& printer) {
      printer.setOutputFileName(printed);
      printer.setCopyCount(2);
    });
    dialog.BitBtn2->click();
    dialog.BitBtn1->click();
    return dialog.result();
  });
  Find<QToolButton>("Printbutton")->click();
  const auto& flags = form.PageOfLabelsPanel->PrintFlags();
  EXPECT_TRUE(flags[1]);
  EXPECT_FALSE(flags[4]);
  EXPECT_TRUE(flags[30]);
  EXPECT_EQ(form.PageOfLabelsPanel->TopMarginNudgeThousandthInches(), 12);
  EXPECT_EQ(form.PageOfLabelsPanel->VerticalSpacingThousandthInches(), -2);
  const pdftest::TPdfText pdf = pdftest::ReadPdfText(printed);
  ASSERT_EQ(pdf.Pages, 2);
  for (int page : {1, 2}) EXPECT_EQ(pdf.TextsOnPage(page), QStringList({"L1", "L6"})) << page;
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // Cancel changes nothing.
  SetCurrentNudges({});
  FDialogs->QueueExecResult(TLabelPrintPrep::ResultCancel);
  Find("mnuPrintPage")->trigger();
  EXPECT_FALSE(flags[4]);
  EXPECT_EQ(form.PageOfLabelsPanel->TopMarginNudgeThousandthInches(), 12);
  EXPECT_TRUE(FDialogs->Unexpected().empty());
}

// A printer that refuses the job: the user is told, after the hourglass went.
TEST_F(MainFormTest, PrintFailureIsReportedWithoutTheHourglass) {
  TMainForm& form = StartedForm();
  ShowPage(form);
  form.UpdateCommands();
  FDialogs->QueueExec([this](QDialog& d) {
    auto& dialog = dynamic_cast<TLabelPrintPrep&>(d);
    FDialogs->QueuePrint(true, [this](QPrinter& printer) {
      printer.setOutputFileName(FDir.filePath("no such folder/printed.pdf"));
    });
    dialog.BitBtn2->click();
    FDialogs->QueueMessageResult(idOK);
    dialog.BitBtn1->click();
    return dialog.result();
  });
  Find("mnuPrintPage")->trigger();
  ASSERT_EQ(FDialogs->Requests().size(), 3u);
  const TDialogRequest& message = FDialogs->Requests()[2];
  EXPECT_EQ(message.Text, "Unable to print the page.\rThe printer could not start the print job.");
  EXPECT_FALSE(message.BusyCursor);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(FDialogs->Unexpected().empty());
}

// Print Setup looks for a printer again, whatever the dialog's answer.
TEST_F(MainFormTest, PrintSetupChecksForAPrinterAgain) {
  TMainForm& form = StartedForm();
  ShowPage(form);
  form.UpdateCommands();
  ASSERT_TRUE(Enabled("mnuPrintPage"));
  SetPrinterQueryOverride(TPrinterQuery{});
  FDialogs->QueuePrinterSetup(false);
  Find("mnuPrintSetup")->trigger();
  EXPECT_FALSE(Enabled("mnuPrintPage"));
  EXPECT_FALSE(Enabled("Printbutton"));
  SetPrinterQueryOverride(TPrinterQuery{{"Labels"}, "Labels"});
  FDialogs->QueuePrinterSetup(true);
  Find("mnuPrintSetup")->trigger();
  EXPECT_TRUE(Enabled("mnuPrintPage"));
  EXPECT_TRUE(FDialogs->Unexpected().empty());
}

// Export Page to PDF: every non-empty label into the file the user names,
// proposed beside the sheet; a file that cannot be written is reported.
TEST_F(MainFormTest, ExportPageToPdfWritesTheFileTheUserNames) {
  TMainForm& form = StartedForm();
  ShowPage(form);
  form.UpdateCommands();
  TMainFormTestAccess(form).SetFileName(FDir.filePath("folders.KLX"));
  form.PageOfLabelsPanel->PrintFlags()[2] = false;  // the last print run's choice plays no part
  for (int n : {2, 5})
    labelpagetest::PutText(form.PageOfLabelsPanel->Storage(n)->RtfText(), "L" + std::to_string(n));
  const QString path = FDir.filePath("proof.pdf");
  FDialogs->QueueFileName(path);
  Find("mnuExportPdf")->trigger();
  ASSERT_FALSE(FDialogs->Requests().empty());
  const TFileDialogOptions& asked = FDialogs->Requests()[0].File;
  EXPECT_EQ(asked.FileName, "folders.pdf");
  EXPECT_EQ(asked.InitialDir, FDir.path());
  EXPECT_TRUE(asked.OverwritePrompt);
  EXPECT_EQ(pdftest::ReadPdfText(path).TextsOnPage(1), QStringList({"L2", "L5"}));

  FDialogs->QueueFileName(FDir.filePath("missing/proof.pdf"));
  FDialogs->QueueMessageResult(idOK);
  Find("mnuExportPdf")->trigger();
  EXPECT_EQ(FDialogs->MessageTexts().value(0), "Unable to export the page to PDF.\rCannot create file " +
                                                   FDir.filePath("missing/proof.pdf") +
                                                   ": No such file or directory");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(FDialogs->Unexpected().empty());
}

// The symbol picker is made on first use and kept with its size for the next.
TEST_F(MainFormTest, SymbolPickerIsMadeOnceAndKept) {
  TMainForm& form = StartedForm();
  QDialog* first = nullptr;
  FDialogs->QueueExec([&](QDialog& d) {
    first = &d;
    auto* picker = qobject_cast<TGetSymbol*>(&d);
    EXPECT_NE(picker, nullptr);
    if (picker) picker->RptSpeedButton2->click();
    return 2;
  });
  FDialogs->QueueExec([&](QDialog& d) {
    EXPECT_EQ(&d, first);
    EXPECT_EQ(static_cast<TGetSymbol&>(d).SymbolFontSize(), 13);
    return 2;
  });
  TMainFormTestAccess(form).GetSymbol();
  TMainFormTestAccess(form).GetSymbol();
  ASSERT_EQ(FDialogs->Requests().size(), 2u);
  EXPECT_FALSE(FDialogs->Requests()[0].BusyCursor);
  EXPECT_TRUE(FDialogs->Unexpected().empty());
}

// On a first start the report shows the preferences' defaults.
TEST_F(MainFormTest, ConfigurationInformationReportsAFirstStart) {
  StartedForm();
  QStringList lines;
  FDialogs->QueueExec([&](QDialog& d) {
    auto* report = qobject_cast<TConfigurationInfo*>(&d);
    EXPECT_NE(report, nullptr);
    if (report) lines = report->ReportLines();
    return 1;
  });
  Find("ConfigurationInformation1")->trigger();
  ASSERT_GE(lines.size(), 6);
  EXPECT_EQ(lines.mid(lines.size() - 6),
            QStringList({"[KLXFF.ini]", "", "LastZoom:    \t100", "DeFFont      \tArial,10,0,0,0,0",
                         "ShowHint:   :\t1", "Nudges:      \tTop:0,Left:0,Vert:0,Horz:0   {1/1000ths}"}));
  EXPECT_TRUE(FDialogs->Unexpected().empty());
}

}  // namespace

#include "MainFormTest.moc"
