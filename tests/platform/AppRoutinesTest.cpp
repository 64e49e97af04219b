#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "common/TestSupport.h"
#include "platform/AppGlobals.h"
#include "platform/AppRoutines.h"
#include "platform/ScriptedDialogService.h"

namespace {

TEST(ApplicationDirectory, IsTheProgramFolderWithTrailingSlash) {
  SetApplicationDirectoryOverride({});
  EXPECT_EQ(ApplicationDirectory(), QCoreApplication::applicationDirPath() + "/");
}

TEST(ApplicationDirectory, OverrideGetsTrailingSlashOnce) {
  SetApplicationDirectoryOverride("/tmp/somewhere");
  EXPECT_EQ(ApplicationDirectory(), "/tmp/somewhere/");
  SetApplicationDirectoryOverride("/tmp/other/");
  EXPECT_EQ(ApplicationDirectory(), "/tmp/other/");
  SetApplicationDirectoryOverride({});
}

TEST(PreferencesFileName, BesideTheProgramOrInTheUserFoldersWhenThatTakesNoFiles) {
  QTemporaryDir program, home;
  ASSERT_TRUE(program.isValid() && home.isValid());
  const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
  SetApplicationDirectoryOverride(program.path());
  TScopedScriptedDialogs dialogs;

  // A program folder that takes files keeps everything beside the program.
  EXPECT_EQ(PreferencesFileName(), program.filePath("KLXFF.ini"));
  EXPECT_EQ(DocumentsDirectory(), program.path() + "/");
  EXPECT_TRUE(testsupport::FolderEntries(program.path()).isEmpty());  // the probe is gone

  // An installed copy: configuration and documents go to the user's folders.
  QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
  {
    testsupport::TWithoutFolderOverride asAUser;
    const QString ini = PreferencesFileName();
    EXPECT_TRUE(ini.startsWith(home.filePath("config") + "/")) << ini.toStdString();
    EXPECT_TRUE(ini.endsWith("/KLXFF.ini"));
    EXPECT_TRUE(QFileInfo(ini).absoluteDir().exists());
    const QString documents = DocumentsDirectory();
    EXPECT_NE(documents, program.path() + "/");
    EXPECT_TRUE(QFileInfo(documents).isDir());
  }
  QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_TRUE(dialogs->Requests().empty());
  SetApplicationDirectoryOverride({});
  if (oldConfig.isNull())
    qunsetenv("XDG_CONFIG_HOME");
  else
    qputenv("XDG_CONFIG_HOME", oldConfig);
}

TEST(PreferencesFileName, EmptyPrefixTellsAndGivesEmptyName) {
  TScopedScriptedDialogs dialogs;
  dialogs->QueueMessageResult(idOK);
  GlobalApplicationPrefix.clear();
  const QString name = PreferencesFileName();
  AssignGlobalApplicationStrings();
  EXPECT_TRUE(name.isEmpty());
  ASSERT_EQ(dialogs->Requests().size(), 1u);
  EXPECT_EQ(dialogs->Requests()[0].Text, "Application Prefix not set");
  EXPECT_EQ(dialogs->Requests()[0].Flags, unsigned(mbOK));
}

TEST(MessageRoutines, ConfirmYesNoAsksWithQuestionIcon) {
  TScopedScriptedDialogs dialogs;
  dialogs->QueueMessageResult(idYes);
  dialogs->QueueMessageResult(idNo);
  EXPECT_TRUE(ConfirmYesNo("Save changes?", "Save"));
  EXPECT_FALSE(ConfirmYesNo("Save changes?", "Save"));
  ASSERT_EQ(dialogs->Requests().size(), 2u);
  EXPECT_EQ(dialogs->Requests()[0].Caption, "Save");
  EXPECT_EQ(dialogs->Requests()[0].Flags, unsigned(mbYesNo | mbIconQuestion));
}

// The real message box: Escape and the window's close button leave a Yes/No
// question open, unanswered; only Yes or No ends it.
TEST(MessageRoutines, OnlyYesOrNoAnswersAYesNoQuestion) {
  for (const bool answerYes : {true, false}) {
    SCOPED_TRACE(answerYes);
    bool openAfterEscape = false, openAfterClose = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      QPointer<QMessageBox> box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      poll.stop();
      QTest::keyClick(box->focusWidget() ? box->focusWidget() : box.data(), Qt::Key_Escape);
      openAfterEscape = box && box->isVisible();
      if (box) box->close();
      openAfterClose = box && box->isVisible();
      if (box && box->isVisible()) box->button(answerYes ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    poll.start(10);
    EXPECT_EQ(ConfirmYesNo("Save changes?", "Save"), answerYes);
    EXPECT_TRUE(openAfterEscape);
    EXPECT_TRUE(openAfterClose);
  }
}

TEST(MessageRoutines, ShowInformationUsesInformationCaptionAndIcon) {
  TScopedScriptedDialogs dialogs;
  dialogs->QueueMessageResult(idOK);
  ShowInformation("Current layout is: \r\rX");
  ASSERT_EQ(dialogs->Requests().size(), 1u);
  EXPECT_EQ(dialogs->Requests()[0].Text, "Current layout is: \r\rX");
  EXPECT_EQ(dialogs->Requests()[0].Caption, "Information");
  EXPECT_EQ(dialogs->Requests()[0].Flags, unsigned(mbOK | mbIconInformation));
}

TEST(BusyCursor, EndRestoresDefaultAfterNestedBegins) {
  BeginBusyCursor();
  BeginBusyCursor();
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  EndBusyCursor();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EndBusyCursor();  // a second end is harmless
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

class PrinterAvailableTest : public ::testing::Test {
 protected:
  void TearDown() override { SetPrinterQueryOverride(std::nullopt); }
  TScopedScriptedDialogs dialogs;
};

TEST_F(PrinterAvailableTest, NoPrintersAtAll) {
  SetPrinterQueryOverride(TPrinterQuery{});
  EXPECT_FALSE(PrinterAvailable(false));
  EXPECT_TRUE(dialogs->Requests().empty());
  dialogs->QueueMessageResult(idOK);
  EXPECT_FALSE(PrinterAvailable(true));
  EXPECT_EQ(dialogs->MessageTexts(),
            QStringList{"There are no installed printers.\r\nUnable to perform printer related operations"});
  EXPECT_EQ(dialogs->Requests()[0].Caption, "Information");
}

TEST_F(PrinterAvailableTest, PrintersButNoDefault) {
  SetPrinterQueryOverride(TPrinterQuery{{"Office"}, {}});
  EXPECT_FALSE(HasDefaultPrinter());
  EXPECT_FALSE(PrinterAvailable(false));
  dialogs->QueueMessageResult(idOK);
  EXPECT_FALSE(PrinterAvailable(true));
  EXPECT_EQ(
      dialogs->MessageTexts(),
      QStringList{"There is no default printer selected.\r\nUnable to perform printer related operations"});
}

TEST_F(PrinterAvailableTest, DefaultPrinterPresent) {
  SetPrinterQueryOverride(TPrinterQuery{{"Office", "Labels"}, "Labels"});
  EXPECT_TRUE(HasDefaultPrinter());
  EXPECT_TRUE(PrinterAvailable(true));
  EXPECT_TRUE(dialogs->Requests().empty());
}

TEST(CenterForm, Arithmetic) {
  // (main width - form width) div 2, truncating toward zero also when negative.
  EXPECT_EQ(CenteredPosition(QSize(200, 100), QRect(100, 50, 621, 451)), QPoint(310, 225));
  EXPECT_EQ(CenteredPosition(QSize(300, 200), QRect(0, 0, 301, 201)), QPoint(0, 0));
  EXPECT_EQ(CenteredPosition(QSize(305, 207), QRect(10, 20, 300, 200)), QPoint(8, 17));
  EXPECT_EQ(CenteredPosition(QSize(100, 100), QRect(-40, -10, 200, 100)), QPoint(10, -10));
}

class TCenterTestMain : public QMainWindow {
  Q_OBJECT
};

// Where the dialog's frame ends up once it is on the screen: over the main
// window's frame, also when that frame differs from the dialog's (a main
// window without one), and on the screen while the main window is maximised.
TEST(CenterForm, ShownDialogFrameIsCentred) {
  enum { Framed, Frameless, Maximised };
  for (const int mainWindow : {Framed, Frameless, Maximised}) {
    SCOPED_TRACE(mainWindow);
    TCenterTestMain main;
    if (mainWindow == Frameless) main.setWindowFlag(Qt::FramelessWindowHint);
    main.setGeometry(100, 80, 620, 450);
    if (mainWindow == Maximised) main.setWindowState(Qt::WindowMaximized);
    main.show();
    QCoreApplication::processEvents();
    SetApplicationMainForm(&main);
    QDialog dialog(&main);
    dialog.resize(200, 150);
    CenterForm(dialog);
    dialog.show();
    QCoreApplication::processEvents();
    const QRect over = mainWindow == Maximised ? dialog.screen()->geometry() : main.frameGeometry();
    EXPECT_NE(dialog.frameGeometry().size(), dialog.size());
    EXPECT_EQ(dialog.frameGeometry().topLeft(), CenteredPosition(dialog.frameGeometry().size(), over));
    SetApplicationMainForm(nullptr);
  }
}

TEST(CenterForm, MainWindowClassIsCentredOnScreen) {
  TCenterTestMain main;
  main.setGeometry(0, 0, 620, 450);
  SetApplicationMainForm(&main);
  TCenterTestMain other;
  other.resize(300, 200);
  other.setWindowFlags(other.windowFlags() | Qt::WindowMaximizeButtonHint);
  CenterForm(other);
  EXPECT_EQ(other.pos(), CenteredPosition(other.frameGeometry().size(), other.screen()->geometry()));
  EXPECT_TRUE(other.windowFlags() & Qt::WindowSystemMenuHint);
  SetApplicationMainForm(nullptr);
}

TEST(Hints, SwitchOnAndOff) {
  SetApplicationShowHint(false);
  EXPECT_FALSE(ApplicationShowHint());
  SetApplicationShowHint(true);
  EXPECT_TRUE(ApplicationShowHint());
  SetApplicationHintPause(1200);
  EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 1200);
}

}  // namespace

#include "AppRoutinesTest.moc"
