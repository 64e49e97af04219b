#pragma once
// Export to PDF: sheets printed through the page printer into a PDF file at
// 1200 pixels per inch, with no unprintable margin: every non-empty label,
// at the places the nudges give, one page per sheet. The file appears
// whole or not at all: the PDF is made in memory, written beside the target
// and renamed into place when complete (as a label page file is saved), so
// a failure never leaves half a PDF or spoils the file it was to replace.
//
// Usage:
//   ExportPageToPdf(sheet, "/home/me/folders.pdf", CurrentNudges(), "folders.KLX");
// or, several sheets into one file:
//   TPdfExport pdf(path, title);
//   pdf.AddSheet(sheet1, nudges); pdf.AddSheet(sheet2, nudges);
//   pdf.Finish();
#include <QBuffer>
#include <QString>
#include <memory>

#include "labelpage/LabelSheet.h"
#include "printing/PagePrinter.h"

class QPdfWriter;
class TSafeFileStream;

class TPdfExport {
 public:
  static constexpr int PixelsPerInch = 1200;

  // Opens the file; raises EPrintError "Cannot create file PATH: REASON".
  TPdfExport(const QString& path, const QString& title);
  ~TPdfExport();
  TPdfExport(const TPdfExport&) = delete;
  TPdfExport& operator=(const TPdfExport&) = delete;

  // One page: every non-empty label of the sheet, on the sheet's paper.
  void AddSheet(const TLabelSheet& sheet, const TPrinterNudges& nudges);
  // Completes the file and puts it in place; raises EPrintError ("Stream
  // write error: REASON" when the disk refuses). Without it, nothing is
  // written.
  void Finish();

 private:
  // Declared in the order they must be made; they go in reverse.
  std::unique_ptr<TSafeFileStream> FFile;
  QBuffer FBuffer;
  std::unique_ptr<QPdfWriter> FWriter;
  std::unique_ptr<TPagePrinter> FPrinter;
};

// One sheet into a PDF file, as TPdfExport does.
void ExportPageToPdf(const TLabelSheet& sheet, const QString& path, const TPrinterNudges& nudges,
                     const QString& title);
