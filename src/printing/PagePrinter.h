#pragma once
// Printing a sheet: the text of the chosen labels, and nothing else (the
// stock carries the outlines), at the places the layout and the nudges give,
// on any paged device: a printer or a PDF writer. Every copy is a page of its
// own; each label is laid out again at the device's resolution and painted at
// 100 % through the one label renderer, with no backgrounds.
//
// Usage:
//   TPagePrinter printer(device, physicalOffset);  // begins the job
//   printer.PrintPage(sheet, TPrintRun::FromSheet(sheet, copies));
//   printer.Finish();                               // ends it; raises on failure
#include <QPageLayout>
#include <QPainter>
#include <stdexcept>

#include "labelpage/LabelRenderer.h"
#include "labelpage/LabelSheet.h"
#include "printing/PrinterCells.h"
#include "printing/PrinterNudges.h"

class QPagedPaintDevice;

// A failure of the printing system; what() is a sentence for the user.
class EPrintError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What one print run prints.
struct TPrintRun {
  TPrintFlags Flags{};  // label n prints when Flags[n] is set
  TPrinterNudges Nudges{};
  int Copies = 1;

  // The page panel's run: the sheet's print flags and nudges.
  static TPrintRun FromSheet(const TLabelSheet& sheet, int copies);
  // Every label of the sheet, one page.
  static TPrintRun AllLabels(const TPrinterNudges& nudges);
};

// The paper of the layout (its PaperSize code, else its page size), the
// whole sheet printable.
QPageLayout SheetPageLayout(const TLabelLayoutRecord& layout);

class TPagePrinter {
 public:
  // Begins the job on device, whose origin lies physicalOffset device pixels
  // from the paper's corner. Raises EPrintError when the device refuses.
  TPagePrinter(QPagedPaintDevice& device, TDevicePair physicalOffset);
  // A job not finished is ended as it stands.
  ~TPagePrinter();
  TPagePrinter(const TPagePrinter&) = delete;
  TPagePrinter& operator=(const TPagePrinter&) = delete;

  // run.Copies pages of the sheet, each after a new page unless it is the
  // job's first. Raises EPrintError, or the engine's error for a label whose
  // text cannot be laid out.
  void PrintPage(const TLabelSheet& sheet, const TPrintRun& run);
  // Ends the job; raises EPrintError when the device reports a failure.
  void Finish();
  int PageCount() const { return FPageCount; }

 private:
  void StartPage();

  QPagedPaintDevice& FDevice;
  TDevicePair FPhysicalOffset;
  QPainter FPainter;
  TLabelRenderer FRenderer;
  int FPageCount = 0;
};
