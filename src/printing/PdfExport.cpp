#include "printing/PdfExport.h"

#include <QFile>
#include <QPdfWriter>

#include "labelpage/LabelPageFile.h"

namespace {

// "Cannot create file PATH: No such file or directory", "Stream write error: File too large".
EPrintError FileError(const EFileSaveError& error) {
  std::string message = error.what();
  if (!error.Reason().empty()) message += ": " + error.Reason();
  return EPrintError(message);
}

}  // namespace

TPdfExport::TPdfExport(const QString& path, const QString& title) {
  try {
    FFile = std::make_unique<TSafeFileStream>(QFile::encodeName(path).toStdString());
  } catch (const EFileSaveError& error) {
    throw FileError(error);
  }
  FBuffer.open(QIODevice::WriteOnly);
  FWriter = std::make_unique<QPdfWriter>(&FBuffer);
  FWriter->setResolution(PixelsPerInch);
  FWriter->setTitle(title);
  FWriter->setCreator(QStringLiteral("Tabwright for File Folders"));
}

// The page printer ends its painter on the writer before the writer goes; an
// unfinished file goes with its temporary file.
TPdfExport::~TPdfExport() = default;

void TPdfExport::AddSheet(const TLabelSheet& sheet, const TPrinterNudges& nudges) {
  // Each page takes the paper of its sheet.
  FWriter->setPageLayout(SheetPageLayout(sheet.LayoutDescription()));
  if (!FPrinter) FPrinter = std::make_unique<TPagePrinter>(*FWriter, TDevicePair{0, 0});
  FPrinter->PrintPage(sheet, TPrintRun::AllLabels(nudges));
}

void TPdfExport::Finish() {
  if (FPrinter) FPrinter->Finish();
  FPrinter.reset();
  FWriter.reset();
  const QByteArray& bytes = FBuffer.data();
  const auto size = static_cast<std::size_t>(bytes.size());
  try {
    if (FFile->Write(bytes.constData(), size) != size)
      throw EFileSaveError("Stream write error", FFile->LastError());
    FFile->Commit();
  } catch (const EFileSaveError& error) {
    throw FileError(error);
  }
}

void ExportPageToPdf(const TLabelSheet& sheet, const QString& path, const TPrinterNudges& nudges,
                     const QString& title) {
  TPdfExport pdf(path, title);
  pdf.AddSheet(sheet, nudges);
  pdf.Finish();
}
