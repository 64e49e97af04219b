#pragma once
// A sheet on a printer of the printing system.
//
// Usage (Print Page):
//   QPrinter printer(QPrinter::HighResolution);
//   PrepareSheetPrinter(printer, sheet.LayoutDescription());  // before the print dialog
//   PrintSheet(printer, sheet, TPrintRun::FromSheet(sheet, copies));
#include <QPrinter>

#include "printing/PagePrinter.h"

// The sheet's paper (the print dialog may still change it), addressed from
// the paper's corner.
void PrepareSheetPrinter(QPrinter& printer, const TLabelLayoutRecord& layout);
// Where the printer's origin lies on the paper, in printer pixels: 0 on a
// printer addressed from the paper's corner.
TDevicePair PhysicalOffsetOf(const QPrinter& printer);
// Prints the run. The device's own copy count is reset to one first: the
// program prints every copy as a page of its own, and a driver that honoured
// the count as well would multiply them. Raises EPrintError, also when the
// printing system refuses the finished job (a queue not accepting jobs, a
// printing service gone away).
void PrintSheet(QPrinter& printer, const TLabelSheet& sheet, const TPrintRun& run);
