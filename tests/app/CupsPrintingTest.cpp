// Printing end to end on a real printing system: a cupsd of the test's own
// (configuration, socket, spool and logs in a temporary folder) with a
// cups-pdf queue as its default printer. The program finds it through libcups,
// which CUPS_SERVER points at the private socket. Runs as root only: cupsd
// runs its backends as root, and cups-pdf writes into the job owner's folder.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QToolButton>

#include "app/MainForm.h"
#include "common/TestSupport.h"
#include "labelpage/LabelPageFile.h"
#include "platform/AppRoutines.h"
#include "platform/ScriptedDialogService.h"
#include "printing/LabelPrintPrep.h"
#include "printing/PdfTestSupport.h"
#include "printing/PrinterCells.h"

namespace {

constexpr int kJobWaitMs = 120000;

// A CUPS program: on the path, or in the administrator's folders a user's
// path may lack (cupsd, lpadmin and cupsreject live in /usr/sbin).
QString CupsProgram(const QString& name) {
  const QString onPath = QStandardPaths::findExecutable(name);
  return onPath.isEmpty() ? QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/local/sbin"}) : onPath;
}

// Output of a CUPS command run against the private daemon; its exit code in status.
QString RunCupsTool(const QString& tool, const QStringList& arguments, int* status = nullptr) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(CupsProgram(tool), arguments);
  const bool finished = process.waitForFinished(60000);
  if (status) *status = finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  return QString::fromLocal8Bit(process.readAll());
}

// Where cups-pdf puts a job of this process's user: the "Out" of its
// configuration, ${HOME}/PDF unless the system says otherwise.
QString CupsPdfOutputFolder() {
  QString out = QStringLiteral("${HOME}/PDF");
  QFile config(QStringLiteral("/etc/cups/cups-pdf.conf"));
  if (config.open(QIODevice::ReadOnly))
    for (const QByteArray& line : config.readAll().split('\n'))
      if (line.startsWith("Out ")) out = QString::fromLocal8Bit(line.mid(4).trimmed());
  const passwd* user = getpwuid(getuid());
  out.replace(QStringLiteral("${HOME}"), QString::fromLocal8Bit(user ? user->pw_dir : "/root"));
  out.replace(QStringLiteral("${USER}"), QString::fromLocal8Bit(user ? user->pw_name : "root"));
  return out;
}

class TPrivateCups {
 public:
  static constexpr const char* QueueName = "TabwrightPdf";

  ~TPrivateCups() { Stop(); }

  // Starts the daemon and adds the queue; false with the reason in why.
  bool Start(QString& why) {
    if (!FRoot.isValid()) return why = "no temporary folder", false;
    // The filters run as the daemon's own user and must reach its folders.
    QFile::setPermissions(FRoot.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                            QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                            QFileDevice::ExeOther);
    for (const char* folder : {"etc", "spool/tmp", "cache", "state", "log", "run"})
      QDir(FRoot.path()).mkpath(folder);
    const QString root = FRoot.path();
    testsupport::WriteAll(Path("etc/cupsd.conf"),
                          ("Listen " + Socket() +
                           "\nLogLevel info\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                           "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                           "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                              .toLocal8Bit());
    testsupport::WriteAll(
        Path("etc/cups-files.conf"),
        ("ServerRoot " + root + "/etc\nRequestRoot " + root + "/spool\nTempDir " + root +
         "/spool/tmp\nCacheDir " + root + "/cache\nStateDir " + root + "/state\nErrorLog " + root +
         "/log/error_log\nAccessLog " + root + "/log/access_log\nPageLog " + root + "/log/page_log\n")
            .toLocal8Bit());
    FDaemon.setProcessChannelMode(QProcess::MergedChannels);
    FDaemon.start(CupsProgram(QStringLiteral("cupsd")),
                  {"-f", "-c", Path("etc/cupsd.conf"), "-s", Path("etc/cups-files.conf")});
    if (!FDaemon.waitForStarted(30000)) return why = "cupsd does not start: " + FDaemon.errorString(), false;
    qputenv("CUPS_SERVER", Socket().toLocal8Bit());
    QElapsedTimer waited;
    waited.start();
    while (!RunCupsTool("lpstat", {"-r"}).contains("scheduler is running")) {
      if (FDaemon.state() == QProcess::NotRunning || waited.elapsed() > 30000)
        return why = "cupsd did not come up: " + QString::fromLocal8Bit(FDaemon.readAll()) + ErrorLog(),
               false;
      QThread::msleep(100);
    }
    int status = 0;
    const QString added = RunCupsTool(
        "lpadmin",
        {"-p", QueueName, "-E", "-v", "cups-pdf:/", "-P", "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"},
        &status);
    if (status != 0) return why = "lpadmin cannot add the cups-pdf queue: " + added, false;
    RunCupsTool("lpadmin", {"-d", QueueName}, &status);
    if (status != 0) return why = "lpadmin cannot make the queue the default", false;
    return true;
  }

  void Stop() {
    if (FDaemon.state() == QProcess::NotRunning) return;
    FDaemon.terminate();
    if (!FDaemon.waitForFinished(30000)) {
      FDaemon.kill();
      FDaemon.waitForFinished(30000);
    }
  }

  // Waits until no job is left unfinished; false when that takes too long.
  bool WaitForJobs() {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kJobWaitMs) {
      int status = 0;
      const QString pending = RunCupsTool("lpstat", {"-W", "not-completed", "-o"}, &status);
      if (status == 0 && pending.trimmed().isEmpty()) return true;
      QThread::msleep(250);
    }
    return false;
  }

  // The end of the daemon's log, to tell why something failed.
  QString ErrorLog() const {
    QFile log(Path("log/error_log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll().right(4000)) : QString();
  }

 private:
  QString Path(const QString& relative) const { return FRoot.filePath(relative); }
  QString Socket() const { return Path("run/cups.sock"); }

  QTemporaryDir FRoot;
  QProcess FDaemon;
};

class CupsPrintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "the private cupsd of this test needs root (CI runs it as root)";
    ASSERT_TRUE(FDir.isValid());
    // Only the private daemon may answer: no printer named by the environment.
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    QString why;
    ASSERT_TRUE(FCups.Start(why)) << why.toStdString();
    SetApplicationDirectoryOverride(FDir.path());
  }
  void TearDown() override {
    FForm.reset();
    SetApplicationDirectoryOverride({});
    for (const QString& file : FPrinted) QFile::remove(file);
    // The output folder goes again when this test made it and left it empty.
    if (!FOutputFolderExisted) QDir().rmdir(CupsPdfOutputFolder());
  }

  // Printed files of this test's job in the cups-pdf output folder.
  QStringList PrintedFiles(const QString& title) const {
    QStringList files;
    const QDir folder(CupsPdfOutputFolder());
    for (const QString& name : folder.entryList({title + "*.pdf"}, QDir::Files))
      files << folder.filePath(name);
    return files;
  }

  QTemporaryDir FDir;
  TPrivateCups FCups;
  TScopedScriptedDialogs FDialogs;
  std::unique_ptr<TMainForm> FForm;
  QStringList FPrinted;
  bool FOutputFolderExisted = QDir(CupsPdfOutputFolder()).exists();
};

// Three copies of a sheet with labels 3 and 8 left out reach the printer as
// one job of three pages, each holding the other 28 labels at their places.
// A job the queue refuses is reported. Once the printing system is gone,
// Print Setup finds no printer and Print Page is disabled.
TEST_F(CupsPrintingTest, PrintsCopiesOfTheChosenLabelsOnTheDefaultPrinter) {
  SaveLLOFile(FDir.filePath("KLXFF.LLO").toStdString(), {labelpagetest::FileFolderSheet()});
  const QString title = QStringLiteral("tabwright-cups-%1").arg(QCoreApplication::applicationPid());
  const QString sheetPath = FDir.filePath(title + ".KLX");
  TLabelSheet sheet;
  pdftest::FillNumberedSheet(sheet);
  TLabelPageFile::Save(sheetPath.toStdString(), sheet);

  FForm = std::make_unique<TMainForm>();
  FForm->SetStartUpFile(sheetPath);
  FForm->FormActivate();
  EXPECT_TRUE(PrinterAvailable(false));
  auto* printPage = FForm->findChild<QAction*>("mnuPrintPage");
  ASSERT_TRUE(printPage && printPage->isEnabled())
      << "no printer seen through " << qgetenv("CUPS_SERVER").data();

  FDialogs->QueueExec([this](QDialog& d) {
    auto& dialog = dynamic_cast<TLabelPrintPrep&>(d);
    for (int label : {3, 8}) {
      const TCellRect r = dialog.LabelRect(label - 1);
      dialog.FormMouseDown(Qt::LeftButton, QPoint(r.Left + 1, r.Top + 1));
    }
    FDialogs->QueuePrint(true, [](QPrinter& printer) { printer.setCopyCount(3); });
    dialog.BitBtn2->click();
    dialog.BitBtn1->click();
    return dialog.result();
  });
  printPage->trigger();
  EXPECT_TRUE(FDialogs->MessageTexts().isEmpty()) << FDialogs->MessageTexts().join('\n').toStdString();
  ASSERT_TRUE(FCups.WaitForJobs()) << FCups.ErrorLog().toStdString();

  FPrinted = PrintedFiles(title);
  ASSERT_EQ(FPrinted.size(), 1) << "in " << CupsPdfOutputFolder().toStdString() << "\n"
                                << FCups.ErrorLog().toStdString();
  // With TABWRIGHT_SCREENSHOTS naming a folder, a person may look at the pages too.
  if (const QString folder = qEnvironmentVariable("TABWRIGHT_SCREENSHOTS"); !folder.isEmpty())
    QFile::copy(FPrinted[0], folder + "/cups-pdf-job.pdf");
  // The glyphs come back through PostScript without their character codes:
  // each word is told by where it lies, in the text area of which label.
  const pdftest::TPdfText pdf = pdftest::ReadPdfText(FPrinted[0]);
  ASSERT_EQ(pdf.Pages, 3);
  const TPrinterCells cells = ComputePrinterCells(labelpagetest::FileFolderSheet(), {}, {72, 72}, {0, 0});
  for (int page = 1; page <= 3; ++page) {
    QList<int> labels;
    for (const pdftest::TPdfWord& word : pdf.Words) {
      if (word.Page != page) continue;
      for (int n = 1; n <= 30; ++n) {
        const TCellRect& r = cells[n].rFree;
        if (word.XMin >= r.Left - 2 && word.XMin < r.Right && word.YMin >= r.Top - 2 && word.YMin < r.Bottom)
          labels << n;
      }
    }
    QList<int> expected;
    for (int n = 1; n <= 30; ++n)
      if (n != 3 && n != 8) expected << n;
    EXPECT_EQ(labels, expected) << "page " << page;
  }

  // A queue that takes no more jobs: the user learns that nothing printed, and why.
  RunCupsTool("cupsreject", {TPrivateCups::QueueName});
  FDialogs->QueueExec([this](QDialog& d) {
    auto& dialog = dynamic_cast<TLabelPrintPrep&>(d);
    FDialogs->QueueMessageResult(idOK);
    dialog.BitBtn1->click();
    return dialog.result();
  });
  printPage->trigger();
  const QString refused = FDialogs->MessageTexts().value(0);
  EXPECT_TRUE(refused.startsWith("Unable to print the page.\rThe printing system did not accept the job: ") &&
              refused.contains("not accepting jobs"))
      << refused.toStdString();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  FCups.Stop();
  FDialogs->QueuePrinterSetup(true);
  FForm->findChild<QAction*>("mnuPrintSetup")->trigger();
  EXPECT_FALSE(PrinterAvailable(false));
  EXPECT_FALSE(printPage->isEnabled());
  EXPECT_FALSE(FForm->findChild<QToolButton*>("Printbutton")->isEnabled());
  EXPECT_TRUE(FDialogs->Unexpected().empty());
}

}  // namespace
