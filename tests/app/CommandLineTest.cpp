#include <gtest/gtest.h>
#include <unistd.h>

#include <QProcess>
#include <QTemporaryDir>

#include "app/CommandLine.h"
#include "common/TestSupport.h"
#include "labelpage/LabelPageFile.h"
#include "labelpage/LabelPageTestSupport.h"
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

TEST(CommandLine, ParsesTheFillLine) {
  const TCommandLine fill =
      ParseCommandLine({"--new", "Thirty labels", "--fill", "names.csv", "--column", "3", "--heading",
                        "--start", "5", "--save", "a.KLX", "--export-pdf", "a.pdf"});
  EXPECT_EQ(fill.Error, "");
  EXPECT_EQ(fill.Mode, TMode::Batch);
  EXPECT_EQ(fill.NewLayout, "Thirty labels");
  EXPECT_EQ(fill.ListFile, "names.csv");
  EXPECT_EQ(fill.Column, 3);
  EXPECT_TRUE(fill.Heading);
  EXPECT_EQ(fill.Start, 5);
  EXPECT_EQ(fill.SaveFile, "a.KLX");
  EXPECT_EQ(fill.PdfFile, "a.pdf");
  EXPECT_TRUE(fill.ListIsCsv());
  EXPECT_TRUE(
      ParseCommandLine({"--new", "L", "--fill", "n.txt", "--heading", "--save", "a.KLX"}).ListIsCsv());
  EXPECT_FALSE(ParseCommandLine({"--new", "L", "--fill", "n.txt", "--save", "a.KLX"}).ListIsCsv());

  const std::pair<QStringList, QString> mistakes[] = {
      {{"--new", "L", "--fill", "n.txt"}, "--new needs --save SHEET.KLX or --export-pdf OUT.pdf"},
      {{"--fill", "n.txt", "--save", "a.KLX"}, "--fill needs --new \"LAYOUT NAME\""},
      {{"--export-pdf", "s.KLX", "a.pdf", "--start", "2"}, "--start needs --fill LIST"},
      {{"--new", "L", "--column", "2", "--save", "a.KLX"}, "--column needs --fill LIST"},
      {{"--new", "L", "--fill", "n.txt", "--column", "0", "--save", "a.KLX"},
       "--column takes a number from 1"},
      {{"--new", "L", "--fill", "n.txt", "--start", "x", "--save", "a.KLX"}, "--start takes a number from 1"},
      {{"--new", "--fill", "n.txt", "--save", "a.KLX"}, "--new takes LAYOUT NAME"},
      {{"--new", "L", "--new", "M"}, "--new is given twice"},
      {{"--new", "L", "--export-pdf", "s.KLX", "a.pdf"}, "--new makes the sheet; no sheet file is read"},
      {{"--new", "L", "--fill", "n.csv", "--blank-line-separates", "--save", "a.KLX"},
       "--blank-line-separates does not apply to a CSV list"},
  };
  for (const auto& [arguments, error] : mistakes)
    EXPECT_EQ(ParseCommandLine(arguments).Error, error) << arguments.join(' ').toStdString();

  EXPECT_EQ(NumberedSheetFile("/a/b.c/sheet.KLX", 0), "/a/b.c/sheet.KLX");
  EXPECT_EQ(NumberedSheetFile("/a/b.c/sheet.KLX", 1), "/a/b.c/sheet-2.KLX");
  EXPECT_EQ(NumberedSheetFile("/a/b.c/sheet", 2), "/a/b.c/sheet-3");
}

// The program run as a user runs it from a terminal with no display at all.
class CommandLineExport : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(FDir.isValid()); }

  int Run(const QStringList& arguments) {
    return RunProgram(testsupport::BinDir() + "/tabwright", arguments);
  }
  int RunProgram(const QString& program, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
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

// The program in a folder of its own, beside the layout file, so that its
// preferences (default font, nudges) are the defaults.
class CommandLineFill : public CommandLineExport {
 protected:
  static constexpr const char* kLayout = "File folder 3-7/16 x 2/3 in, 30 per sheet, Letter, plain";

  void SetUp() override {
    CommandLineExport::SetUp();
    ASSERT_TRUE(FProgram.isValid());
    // A hard link where the folders share a file system, else a copy.
    for (const char* file : {"tabwright", "KLXFF.LLO"}) {
      const QString from = testsupport::BinDir() + "/" + file;
      const QString to = FProgram.filePath(file);
      ASSERT_TRUE(::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 ||
                  QFile::copy(from, to));
    }
  }
  int Fill(const QStringList& arguments) { return RunProgram(FProgram.filePath("tabwright"), arguments); }
  QString List(const QString& name, const QByteArray& bytes) {
    const QString path = FDir.filePath(name);
    testsupport::WriteAll(path, bytes);
    return path;
  }

  QTemporaryDir FProgram;
};

TEST_F(CommandLineFill, SeventyFiveEntriesMakeThreePagesWithEachNameInItsLabel) {
  QByteArray names;
  for (int i = 1; i <= 75; ++i) names += "Name" + QByteArray::number(i) + "\n";
  const QString pdf = FDir.filePath("names.pdf");
  ASSERT_EQ(Fill({"--new", kLayout, "--fill", List("names.txt", names), "--export-pdf", pdf}), 0)
      << FErrors.toStdString();
  EXPECT_EQ(FErrors, "");
  const pdftest::TPdfText text = pdftest::ReadPdfText(pdf);
  ASSERT_EQ(text.Pages, 3);
  EXPECT_EQ(text.TextsOnPage(3).size(), 15);
  const TLabelLayoutRecord layout = labelpagetest::FileFolderSheet();
  const double point = 72.0 / 1000;
  for (int i = 1; i <= 75; ++i) {
    const int page = (i - 1) / 30 + 1;
    const int n = (i - 1) % 30;
    const pdftest::TPdfWord* word = text.Find("Name" + QString::number(i), page);
    ASSERT_NE(word, nullptr) << i;
    const double left = (layout.LeftMargin + n % 2 * layout.HorizontalPitch) * point;
    const double top = (layout.TopMargin + n / 2 * layout.VerticalPitch) * point;
    EXPECT_GT(word->XMin, left) << i;
    EXPECT_LT(word->XMax, left + layout.LabelWidth * point) << i;
    EXPECT_GT(word->YMin, top) << i;
    EXPECT_LT(word->YMax, top + layout.LabelHeight * point) << i;
  }
}

TEST_F(CommandLineFill, SavesOneSheetFileForEverySheet) {
  QByteArray csv = "Id,Folder\n";
  for (int i = 1; i <= 40; ++i) csv += QByteArray::number(i) + ",\"Folder " + QByteArray::number(i) + "\"\n";
  const QString sheet = FDir.filePath("folders.KLX");
  ASSERT_EQ(Fill({"--new", kLayout, "--fill", List("folders.csv", csv), "--column", "2", "--heading",
                  "--start", "21", "--save", sheet}),
            0)
      << FErrors.toStdString();
  TLabelSheet first;
  TLabelPageFile::Load(sheet.toStdString(), first);
  EXPECT_TRUE(first.CellText(20)->IsEmpty());
  EXPECT_EQ(labelpagetest::TextOf(*first.CellText(21)), "Folder 1");
  TLabelSheet second;
  TLabelPageFile::Load(FDir.filePath("folders-2.KLX").toStdString(), second);
  EXPECT_EQ(labelpagetest::TextOf(*second.CellText(1)), "Folder 11");
  EXPECT_EQ(labelpagetest::TextOf(*second.CellText(30)), "Folder 40");
  EXPECT_FALSE(QFile::exists(FDir.filePath("folders-3.KLX")));
}

TEST_F(CommandLineFill, BadInputGivesOneLineAndANonZeroExit) {
  const QString names = List("names.txt", "Alpha\nBeta\n");
  const QString csv = List("bad.csv", "a,b\nc,\"d\ne,f\n");
  const QString empty = List("empty.txt", " \n\n");
  const QString binary = List("binary.txt", QByteArray("\x7F"
                                                       "ELF\x02\x01\x01\0\0\0",
                                                       10));
  const QString out = FDir.filePath("out.pdf");
  struct TCase {
    QStringList Arguments;
    QString Error;
  };
  const TCase cases[] = {
      {{"--new", "Nope", "--fill", names, "--export-pdf", out},
       "tabwright: There is no layout named \"Nope\"."},
      {{"--new", kLayout, "--fill", csv, "--export-pdf", out},
       "tabwright: " + csv + ": Unbalanced quotes in line 2"},
      {{"--new", kLayout, "--fill", FDir.filePath("none.txt"), "--export-pdf", out},
       "tabwright: Unable to read " + FDir.filePath("none.txt") + ": No such file or directory"},
      {{"--new", kLayout, "--fill", binary, "--export-pdf", out},
       "tabwright: " + binary + " is not a text file"},
      {{"--new", kLayout, "--fill", csv, "--column", "3", "--export-pdf", out},
       "tabwright: " + csv + ": Unbalanced quotes in line 2"},
      {{"--new", kLayout, "--fill", List("two.csv", "a,b\nc,d\n"), "--column", "3", "--export-pdf", out},
       "tabwright: " + FDir.filePath("two.csv") + ": Column 3 is out of range; the list has 2 columns"},
      {{"--new", kLayout, "--fill", empty, "--export-pdf", out},
       "tabwright: Nothing to fill: " + empty + " holds no entries"},
      {{"--new", kLayout, "--fill", names, "--start", "31", "--export-pdf", out},
       "tabwright: --start 31 is out of range; the layout has 30 labels"},
      {{"--new", kLayout, "--fill", names, "--export-pdf", names},
       "tabwright: The PDF would replace the list " + names},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(Fill(c.Arguments), 1) << c.Error.toStdString();
    EXPECT_TRUE(FErrors.startsWith(c.Error)) << FErrors.toStdString();
    EXPECT_EQ(FErrors.count('\n'), 1) << FErrors.toStdString();
    EXPECT_FALSE(QFile::exists(out));
  }
  // The unknown name comes with the names there are.
  Fill({"--new", "Nope", "--fill", names, "--export-pdf", out});
  EXPECT_TRUE(FErrors.contains("The layouts are: \"" + QString(kLayout) + "\", ")) << FErrors.toStdString();
  EXPECT_EQ(testsupport::ReadAll(names), "Alpha\nBeta\n");
}

}  // namespace
