#include "printing/SheetPrinter.h"

void PrepareSheetPrinter(QPrinter& printer, const TLabelLayoutRecord& layout) {
  printer.setFullPage(true);
  const QPageLayout page = SheetPageLayout(layout);
  printer.setPageOrientation(page.orientation());
  printer.setPageSize(page.pageSize());
}

TDevicePair PhysicalOffsetOf(const QPrinter& printer) {
  const QRect paint = printer.pageLayout().paintRectPixels(printer.resolution());
  return {paint.left(), paint.top()};
}

void PrintSheet(QPrinter& printer, const TLabelSheet& sheet, const TPrintRun& run) {
  printer.setCopyCount(1);
  printer.setFullPage(true);
  TPagePrinter pages(printer, PhysicalOffsetOf(printer));
  try {
    pages.PrintPage(sheet, run);
  } catch (...) {
    // Where the printing system can, the pages so far are not printed.
    printer.abort();
    throw;
  }
  pages.Finish();
  if (printer.printerState() == QPrinter::Error)
    throw EPrintError("The printing system could not finish the print job.");
}
