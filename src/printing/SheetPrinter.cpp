#include "printing/SheetPrinter.h"

#include <cups/cups.h>

#include <string>

namespace {

// Qt hands the finished job to CUPS and keeps CUPS's answer to itself; libcups
// keeps it for this thread until its next request, so it is read right after.
void CheckJobAccepted(const QPrinter& printer) {
  if (printer.outputFormat() != QPrinter::NativeFormat) return;
  if (cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE)
    throw EPrintError(std::string("The printing system did not accept the job: ") + cupsLastErrorString());
}

}  // namespace

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
  CheckJobAccepted(printer);
}
