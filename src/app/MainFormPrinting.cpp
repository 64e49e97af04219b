// Printing commands of the main window: Print Page (menu and button), Print
// Setup, Printer Fine Tuning and Export Page to PDF.
#include <QFileInfo>
#include <QPrinter>
#include <exception>
#include <memory>
#include <optional>

#include "app/MainForm.h"
#include "platform/AppGlobals.h"
#include "platform/AppRoutines.h"
#include "platform/DialogService.h"
#include "printing/LabelPrintPrep.h"
#include "printing/PdfExport.h"
#include "printing/PrintFineTune.h"
#include "printing/PrinterNudges.h"
#include "printing/SheetPrinter.h"

namespace {

// A failure the printing system or the file system reported, for the user.
void ReportFailure(const QString& what, const std::exception& error) {
  ShowAppMessageBox(what + QStringLiteral("\r") + QString::fromLocal8Bit(error.what()), GlobalApplicationName,
                    mbOK | mbIconError);
}

}  // namespace

QString TMainForm::DocumentTitle() const {
  return FFileName.isEmpty() ? GlobalApplicationName : QFileInfo(FFileName).fileName();
}

void TMainForm::mnuPrintPageClick() {
  FPrinterAvailable = PrinterAvailable(false);
  std::optional<TLabelPrintChoice> choice =
      TLabelPrintPrep::ChooseLabels(PageOfLabelsPanel->LayoutDescription(), this);
  if (choice) {
    for (int k = 0; k < TLabelPrintChoice::FlagCount; ++k)
      PageOfLabelsPanel->PrintFlags()[k + 1] = choice->Flags[k];
  }
  if (choice && choice->Copies >= 1) {
    BeginBusyCursor();
    const TPrinterNudges nudges = CurrentNudges();
    PageOfLabelsPanel->SetTopMarginNudgeThousandthInches(nudges.TopMargin);
    PageOfLabelsPanel->SetLeftMarginNudgeThousandthInches(nudges.LeftMargin);
    PageOfLabelsPanel->SetVerticalSpacingThousandthInches(nudges.VerticalSpacing);
    PageOfLabelsPanel->SetHorizontalSpacingThousandthInches(nudges.HorizontalSpacing);
    try {
      // Without a choice in the print dialog the default printer prints.
      std::unique_ptr<QPrinter> printer = std::move(choice->Printer);
      if (!printer) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        PrepareSheetPrinter(*printer, PageOfLabelsPanel->LayoutDescription());
      }
      printer->setDocName(DocumentTitle());
      const TLabelSheet& sheet = PageOfLabelsPanel->Sheet();
      PrintSheet(*printer, sheet, TPrintRun::FromSheet(sheet, choice->Copies));
      EndBusyCursor();
    } catch (const std::exception& error) {
      // The hourglass goes before the message, not over it.
      EndBusyCursor();
      ReportFailure(QStringLiteral("Unable to print the page."), error);
    }
  }
  UpdateCommands();
}

void TMainForm::PrintbuttonClick() { mnuPrintPageClick(); }

void TMainForm::mnuPrintSetupClick() {
  QPrinter printer(QPrinter::HighResolution);
  PrepareSheetPrinter(printer, PageOfLabelsPanel->LayoutDescription());
  Dialogs().PrinterSetupDialog(printer);
  // Whatever the answer: the user may have come here after adding a printer.
  FPrinterAvailable = PrinterAvailable(false);
  UpdateCommands();
}

void TMainForm::mnuPrinterFindtuningClick() {
  // OK has written the nudges into the globals; SavePreferences stores them
  // in the preferences file.
  if (TPrintFineTune::EditNudges(this)) SavePreferences();
}

void TMainForm::mnuExportPdfClick() {
  TFileDialogOptions options;
  options.Title = QStringLiteral("Export Page to PDF");
  options.Filter = QStringLiteral("PDF File|*.pdf");
  options.DefaultExt = QStringLiteral("pdf");
  options.OverwritePrompt = true;
  if (FFileName.isEmpty()) {
    options.InitialDir = DocumentsDirectory();
    options.FileName = QStringLiteral("Labels.pdf");
  } else {
    const QFileInfo sheet(FFileName);
    options.InitialDir = sheet.absolutePath();
    options.FileName = sheet.completeBaseName() + QStringLiteral(".pdf");
  }
  const QString path = Dialogs().SaveFileName(options);
  if (path.isEmpty()) return;
  BeginBusyCursor();
  try {
    ExportPageToPdf(PageOfLabelsPanel->Sheet(), path, CurrentNudges(), DocumentTitle());
    EndBusyCursor();
  } catch (const std::exception& error) {
    EndBusyCursor();
    ReportFailure(QStringLiteral("Unable to export the page to PDF."), error);
  }
}
