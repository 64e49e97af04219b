#include <gtest/gtest.h>

#include <QFile>
#include <QPdfWriter>
#include <QTemporaryDir>

#include "common/TestSupport.h"
#include "printing/PagePrinter.h"
#include "printing/PdfExport.h"
#include "printing/PdfTestSupport.h"

namespace {

using labelpagetest::FileFolderSheet;
using pdftest::FillNumberedSheet;
using pdftest::ReadPdfText;
using pdftest::TPdfText;

// One printer pixel of the export, in points.
constexpr double kPixel = 72.0 / TPdfExport::PixelsPerInch;
// Thousandths of an inch in points.
constexpr double Points(double thousandths) { return thousandths * 0.072; }

class PagePrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FDir.isValid());
    FillNumberedSheet(FSheet);
  }
  TPdfText Export(const TPrinterNudges& nudges, const QString& name = QStringLiteral("sheet.pdf")) {
    const QString path = FDir.filePath(name);
    ExportPageToPdf(FSheet, path, nudges, QStringLiteral("Sheet"));
    return ReadPdfText(path);
  }

  QTemporaryDir FDir;
  TLabelSheet FSheet;
};

// The first label's text starts at the layout's place for it: the sheet's
// margins plus the label's text inset, to within one printer pixel.
TEST_F(PagePrinterTest, ExportedTextStartsAtTheLayoutsPlace) {
  const TPdfText pdf = Export({});
  ASSERT_EQ(pdf.Pages, 1);
  EXPECT_NEAR(pdf.PageWidth, 612, 0.01);  // Letter
  EXPECT_NEAR(pdf.PageHeight, 792, 0.01);
  const TLabelLayoutRecord layout = FileFolderSheet();
  const pdftest::TPdfWord* first = pdf.Find("L1");
  ASSERT_NE(first, nullptr);
  EXPECT_NEAR(first->XMin, Points(layout.LeftMargin + layout.TextLeft), kPixel);
  EXPECT_NEAR(first->YMin, Points(layout.TopMargin + layout.TextTop), kPixel);
}

struct TNudgeCase {
  const char* Name;
  TPrinterNudges Nudges;
  int Label;
  int Right;  // thousandths the label's text moves
  int Down;
};

// Each nudge moves a label's text by what it adds, in thousandths, to within
// one printer pixel: the margins move every label, the spacings every later
// row or column once per pitch.
TEST_F(PagePrinterTest, NudgesMoveThePrintedText) {
  const TNudgeCase cases[] = {
      {"top margin +10, first label", {.TopMargin = 10}, 1, 0, 10},
      {"top margin +10, last label", {.TopMargin = 10}, 30, 0, 10},
      {"vertical spacing -2, first row", {.VerticalSpacing = -2}, 1, 0, 0},
      {"vertical spacing -2, last of 15 rows", {.VerticalSpacing = -2}, 29, 0, -28},
      {"left margin -25", {.LeftMargin = -25}, 29, -25, 0},
      {"horizontal spacing +7, right column", {.HorizontalSpacing = 7}, 30, 7, 0},
  };
  const TPdfText plain = Export({});
  for (const TNudgeCase& c : cases) {
    const TPdfText nudged = Export(c.Nudges, QStringLiteral("nudged.pdf"));
    const QString text = QStringLiteral("L%1").arg(c.Label);
    const pdftest::TPdfWord* before = plain.Find(text);
    const pdftest::TPdfWord* after = nudged.Find(text);
    ASSERT_TRUE(before && after) << c.Name;
    EXPECT_NEAR(after->XMin - before->XMin, Points(c.Right), kPixel) << c.Name;
    EXPECT_NEAR(after->YMin - before->YMin, Points(c.Down), kPixel) << c.Name;
  }
}

// Three copies are three pages alike; a label deselected for the run or
// empty prints nothing, and nothing but the labels' text is printed.
TEST_F(PagePrinterTest, EachCopyIsAPageOfTheSelectedLabelsText) {
  ASSERT_TRUE(FSheet.ClearCell(5));
  TPrintRun run = TPrintRun::AllLabels({});
  run.Flags[7] = false;
  run.Flags[12] = false;
  run.Copies = 3;
  const QString path = FDir.filePath("copies.pdf");
  {
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setPageLayout(SheetPageLayout(FSheet.LayoutDescription()));
    TPagePrinter printer(writer, {0, 0});
    printer.PrintPage(FSheet, run);
    printer.Finish();
    EXPECT_EQ(printer.PageCount(), 3);
  }
  const TPdfText pdf = ReadPdfText(path);
  ASSERT_EQ(pdf.Pages, 3);
  QStringList expected;
  for (int n = 1; n <= 30; ++n)
    if (n != 5 && n != 7 && n != 12) expected << QStringLiteral("L%1").arg(n);
  for (int page = 1; page <= 3; ++page) EXPECT_EQ(pdf.TextsOnPage(page), expected) << page;

  // Every dark pixel lies in a label's text area: no outlines, stripes or
  // backgrounds reach the paper.
  constexpr int ppi = 50;
  const QImage image = pdftest::RenderPdfPage(path, 2, ppi);
  ASSERT_FALSE(image.isNull());
  const TPrinterCells cells = ComputePrinterCells(FSheet.LayoutDescription(), {}, {ppi, ppi}, {0, 0});
  int dark = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) > 160) continue;
      ++dark;
      bool inTextArea = false;
      for (int n = 1; n <= 30 && !inTextArea; ++n) {
        const TCellRect& r = cells[n].rFree;
        inTextArea = x >= r.Left - 1 && x <= r.Right + 1 && y >= r.Top - 1 && y <= r.Bottom + 1;
      }
      ASSERT_TRUE(inTextArea) << x << "," << y;
    }
  EXPECT_GT(dark, 0);
}

struct TPaperCase {
  int PaperSize;
  int PageWidth, PageHeight;
  QSizeF Points;  // width x height as printed
};

TEST(SheetPageLayout, PaperOfTheLayout) {
  const TPaperCase cases[] = {
      {0, 8500, 11000, {612, 792}},   // Letter
      {1, 8268, 11693, {595, 842}},   // A4
      {2, 11000, 8500, {792, 612}},   // Letter landscape
      {3, 11693, 8268, {842, 595}},   // A4 landscape
      {7, 8500, 14000, {612, 1008}},  // no code of its own: the page size (Legal)
      {7, 14000, 8500, {1008, 612}},  // ... lying on its side
      {7, 0, 0, {612, 792}},          // no page size at all: Letter
  };
  for (const TPaperCase& c : cases) {
    TLabelLayoutRecord layout = FileFolderSheet();
    layout.PaperSize = c.PaperSize;
    layout.PageWidth = c.PageWidth;
    layout.PageHeight = c.PageHeight;
    const QPageLayout page = SheetPageLayout(layout);
    EXPECT_EQ(page.fullRectPoints().size(), c.Points.toSize()) << c.PaperSize << " " << c.PageWidth;
    EXPECT_EQ(page.paintRectPoints(), page.fullRectPoints()) << "the whole sheet is printable";
  }
}

// A PDF that cannot be written is reported, and never leaves half a file or
// spoils the one it was to replace.
TEST_F(PagePrinterTest, ExportFailuresAreReportedAndLeaveNoHalfFile) {
  try {
    ExportPageToPdf(FSheet, FDir.filePath("missing/sheet.pdf"), {}, "Sheet");
    ADD_FAILURE() << "no error for a missing folder";
  } catch (const EPrintError& error) {
    EXPECT_EQ(QString(error.what()),
              "Cannot create file " + FDir.filePath("missing/sheet.pdf") + ": No such file or directory");
  }

  const QString path = FDir.filePath("kept.pdf");
  testsupport::WriteAll(path, "previous");
  try {
    testsupport::TFileSizeLimit full(2000);  // a disk that fills up part-way
    ExportPageToPdf(FSheet, path, {}, "Sheet");
    ADD_FAILURE() << "no error for a full disk";
  } catch (const EPrintError& error) {
    EXPECT_EQ(QString(error.what()), "Stream write error: File too large");
  }
  EXPECT_EQ(testsupport::ReadAll(path), "previous");
  EXPECT_EQ(testsupport::FolderEntries(FDir.path()), QStringList{"kept.pdf"});
}

}  // namespace
