#include "printing/PagePrinter.h"

#include <QPageSize>
#include <QPagedPaintDevice>
#include <algorithm>

#include "richtext/gui/RtfTextPaint.h"

TPrintRun TPrintRun::FromSheet(const TLabelSheet& sheet, int copies) {
  TPrintRun run;
  run.Flags = sheet.PrintFlags();
  run.Nudges = {sheet.TopMarginNudgeThousandthInches, sheet.LeftMarginNudgeThousandthInches,
                sheet.VerticalSpacingThousandthInches, sheet.HorizontalSpacingThousandthInches};
  run.Copies = copies;
  return run;
}

TPrintRun TPrintRun::AllLabels(const TPrinterNudges& nudges) {
  TPrintRun run;
  for (bool& flag : run.Flags) flag = true;
  run.Nudges = nudges;
  return run;
}

QPageLayout SheetPageLayout(const TLabelLayoutRecord& layout) {
  enum : int { Letter = 0, A4 = 1, LetterLandscape = 2, A4Landscape = 3 };
  QPageSize size;
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  switch (layout.PaperSize) {
    case Letter:
    case LetterLandscape:
      size = QPageSize(QPageSize::Letter);
      break;
    case A4:
    case A4Landscape:
      size = QPageSize(QPageSize::A4);
      break;
    default: {
      // A paper of its own: the page size, named after a standard one when it is one.
      const int shortSide = std::min(layout.PageWidth, layout.PageHeight);
      const int longSide = std::max(layout.PageWidth, layout.PageHeight);
      size = shortSide > 0 ? QPageSize(QSizeF(shortSide / 1000.0, longSide / 1000.0), QPageSize::Inch)
                           : QPageSize(QPageSize::Letter);
    }
  }
  if (layout.PaperSize == LetterLandscape || layout.PaperSize == A4Landscape ||
      layout.PageWidth > layout.PageHeight)
    orientation = QPageLayout::Landscape;
  QPageLayout page(size, orientation, QMarginsF());
  page.setMode(QPageLayout::FullPageMode);
  return page;
}

namespace {

// A label that prints: selected and not empty.
bool PrintsLabel(const TLabelSheet& sheet, const TPrintRun& run, int n) {
  if (!TPrintFlags::InRange(n) || !run.Flags[n]) return false;
  const TLabelDocument* text = sheet.CellText(n);
  return text && !text->IsEmpty();
}

}  // namespace

TPagePrinter::TPagePrinter(QPagedPaintDevice& device, TDevicePair physicalOffset)
    : FDevice(device), FPhysicalOffset(physicalOffset) {
  if (!FPainter.begin(&FDevice)) throw EPrintError("The printer could not start the print job.");
}

TPagePrinter::~TPagePrinter() {
  if (FPainter.isActive()) FPainter.end();
}

void TPagePrinter::StartPage() {
  if (FPageCount > 0 && !FDevice.newPage()) throw EPrintError("The printer could not start a new page.");
  ++FPageCount;
}

void TPagePrinter::PrintPage(const TLabelSheet& sheet, const TPrintRun& run) {
  const TDevicePair pixelsPerInch{FDevice.logicalDpiX(), FDevice.logicalDpiY()};
  const TPrinterCells cells =
      ComputePrinterCells(sheet.LayoutDescription(), run.Nudges, pixelsPerInch, FPhysicalOffset);
  for (int copy = 1; copy <= run.Copies; ++copy) {
    StartPage();
    for (int n = 1; n <= sheet.LabelsPerPage(); ++n) {
      if (!PrintsLabel(sheet, run, n)) continue;
      const TCellRect& r = cells[n].rFree;
      FRenderer.Render(sheet, n, FPainter, QRect(r.Left, r.Top, r.Right - r.Left + 1, r.Bottom - r.Top + 1),
                       100, psTransparent);
    }
  }
}

void TPagePrinter::Finish() {
  if (FPainter.isActive() && !FPainter.end())
    throw EPrintError("The printing system could not finish the print job.");
}
