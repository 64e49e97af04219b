#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "app/CommandLine.h"
#include "common/TestSupport.h"
#include "labelpage/LabelPageFile.h"
#include "printing/PdfTestSupport.h"

namespace {

using TMode = TCommandLine::TMode;

struct TLineCase {
  QStringList Arguments;
  TMode Mode;
  QString SheetFile;
  QString PdfFile;
  QString Error;
};

TEST(CommandLine, ParsesWindowAndBatchLines) {
  const TLineCase cases[] = {
      {{}, TMode::Window, "", "", ""},
      {{"a.KLX"}, TMode::Window, "a.KLX", "", ""},
      {{"--unknown", "a.KLX"}, TMode::Window, "a.KLX", "", ""},  // the toolkit's, perhaps
      {{"--export-pdf", "a.KLX", "a.pdf"}, TMode::Batch, "a.KLX", "a.pdf", ""},
      {{"a.KLX", "--export-pdf", "a.pdf"}, TMode::Batch, "a.KLX", "a.pdf", ""},
      {{"--help", "a.KLX"}, TMode::Help, "", "", ""},
      {{"--export-pdf", "a.pdf"}, TMode::Batch, "", "a.pdf", "no sheet given"},
      {{"--export-pdf"}, TMode::Batch, "", "", "--export-pdf takes [SHEET.KLX] OUT.pdf"},
      {{"--export-pdf", "a.KLX", "b.KLX", "a.pdf"},
       TMode::Batch,
       "",
       "",
       "--export-pdf takes [SHEET.KLX] OUT.pdf"},
      {{"a.KLX", "--export-pdf", "b.KLX", "a.pdf"}, TMode::Batch, "", "a.pdf", "more than one sheet given"},
      {{"--export-pdf", "a.KLX", "a.pdf", "--export-pdf", "b.pdf"},
       TMode::Batch,
       "a.KLX",
       "a.pdf",
       "--export-pdf is given twice"},
      {{"--export-pdf", "a.KLX", "a.pdf", "--fast"}, TMode::Batch, "", "a.pdf", "unknown option --fast"},
  };
  for (const TLineCase& c : cases) {
    const TCommandLine command = ParseCommandLine(c.Arguments);
    const QString line = c.Arguments.join(' ');
    EXPECT_EQ(command.Mode, c.Mode) << line.toStdString();
    EXPECT_EQ(command.Error, c.Error) << line.toStdString();
    if (c.Error.isEmpty()) {
      EXPECT_EQ(command.SheetFile, c.SheetFile) << line.toStdString();
    }
    EXPECT_EQ(command.PdfFile, c.PdfFile) << line.toStdString();
  }
}

// The program run as a user runs it from a terminal with no display at all.
class CommandLineExport : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(FDir.isValid()); }

  int Run(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
    process.setProcessEnvironment(environment);
    process.start(testsupport::BinDir() + "/tabwright", arguments);
    if (!process.waitForFinished(120000)) return -1;
    FErrors = QString::fromLocal8Bit(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }

  QTemporaryDir FDir;
  QString FErrors;
};

TEST_F(CommandLineExport, WritesTheSheetTheProgramSaved) {
  TLabelSheet sheet;
  pdftest::FillNumberedSheet(sheet);
  const QString path = FDir.filePath("folders.KLX");
  TLabelPageFile::Save(path.toStdString(), sheet);
  const QString pdf = FDir.filePath("folders.pdf");
  ASSERT_EQ(Run({"--export-pdf", path, pdf}), 0) << FErrors.toStdString();
  EXPECT_EQ(FErrors, "");
  const pdftest::TPdfText text = pdftest::ReadPdfText(pdf);
  ASSERT_EQ(text.Pages, 1);
  EXPECT_EQ(text.TextsOnPage(1).size(), 30);
  EXPECT_NE(text.Find("L30"), nullptr);
}

TEST_F(CommandLineExport, ReportsWhatCouldNotBeDone) {
  TLabelSheet sheet;
  pdftest::FillNumberedSheet(sheet);
  const QString damaged = FDir.filePath("damaged.KLX");
  TLabelPageFile::Save(damaged.toStdString(), sheet);
  QByteArray bytes = testsupport::ReadAll(damaged);
  bytes.truncate(bytes.size() / 2);
  testsupport::WriteAll(damaged, bytes);

  EXPECT_EQ(Run({"--export-pdf", damaged, FDir.filePath("damaged.pdf")}), 1);
  EXPECT_EQ(FErrors, "tabwright: Unable to open " + damaged +
                         " (Stream read error). Possibly corrupted, possibly not a File Folder Label file\n");
  EXPECT_FALSE(QFile::exists(FDir.filePath("damaged.pdf")));

  EXPECT_EQ(Run({"--export-pdf", FDir.filePath("none.KLX"), FDir.filePath("none.pdf")}), 1);
  EXPECT_EQ(FErrors, "tabwright: File " + FDir.filePath("none.KLX") + " does not exist\n");

  const QString whole = FDir.filePath("whole.KLX");
  TLabelPageFile::Save(whole.toStdString(), sheet);
  EXPECT_EQ(Run({"--export-pdf", whole, FDir.filePath("missing/whole.pdf")}), 1);
  EXPECT_EQ(FErrors, "tabwright: Unable to export the page to PDF. Cannot create file " +
                         FDir.filePath("missing/whole.pdf") + ": No such file or directory\n");

  EXPECT_EQ(Run({"--export-pdf", whole, whole}), 1);
  EXPECT_EQ(FErrors, "tabwright: The PDF would replace the sheet " + whole + "\n");
  EXPECT_EQ(testsupport::ReadAll(whole).left(2), QByteArray("\x01\x02"));

  EXPECT_EQ(Run({"--export-pdf", whole}), 2);
  EXPECT_TRUE(FErrors.startsWith("tabwright: no sheet given\nUsage: tabwright")) << FErrors.toStdString();
}

}  // namespace
