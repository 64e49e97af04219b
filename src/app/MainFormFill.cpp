// File > Fill Labels from List...: the dialog chooses, the sheet is filled
// in one go, and what did not go in whole is reported.
#include <QClipboard>
#include <QGuiApplication>
#include <exception>

#include "app/FillFromList.h"
#include "app/MainForm.h"
#include "platform/AppGlobals.h"
#include "platform/AppRoutines.h"
#include "platform/DialogService.h"

namespace {

const QString kFillCaption = QStringLiteral("Fill Labels from List");

}  // namespace

void TMainForm::mnuFillFromListClick() {
  if (PageOfLabelsPanel->isHidden()) return;
  // The label being edited is where a fill starts, unless the user says otherwise.
  const int start = FEditing && FCurrentCell > 0 ? FCurrentCell : 1;
  const TEditPlace place = EditorPlace();
  CloseEditor();
  TLabelSheet& sheet = PageOfLabelsPanel->Sheet();
  TFillFromList dialog(sheet, start, this);
  dialog.adjustSize();  // centred at the size it shows with
  CenterForm(dialog);
  if (Dialogs().Exec(dialog) != QDialog::Accepted) return;

  TFillResult result;
  const std::vector<int>& cells = dialog.Plan().Labels;
  bool stepBegun = false;
  BeginBusyCursor();
  try {
    // One undo step for the whole fill.
    result = FillSheet(sheet, dialog.List().Entries, dialog.Plan(), DefaultEditorFont(),
                       PageOfLabelsPanel->PixelsPerInch(), [&] {
                         History().BeginStep(cells, place);
                         stepBegun = true;
                       });
    History().EndStep(place);
    History().EndTyping();
  } catch (const std::exception& error) {
    // The texts are made and fitted before any label changes.
    if (stepBegun) {
      History().EndStep(place);
      History().EndTyping();
    }
    EndBusyCursor();
    ShowAppMessageBox(QStringLiteral("Unable to fill the labels.\r") + QString::fromLocal8Bit(error.what()),
                      GlobalApplicationName, mbOK | mbIconError);
    return;
  }
  SetModified(true);
  PageOfLabelsPanel->update();
  UpdateCommands();
  EndBusyCursor();

  const QString cut = CutReport(result.CutLabels);
  if (result.Beyond.empty()) {
    if (!cut.isEmpty()) ShowInformation(cut);
    return;
  }
  const auto beyond = static_cast<int>(result.Beyond.size());
  QString question =
      beyond == 1
          ? QStringLiteral("1 entry did not fit on this sheet. Copy it to the clipboard?")
          : QStringLiteral("%1 entries did not fit on this sheet. Copy them to the clipboard?").arg(beyond);
  if (!cut.isEmpty()) question = cut + QStringLiteral(".\r") + question;
  if (ConfirmYesNo(question, kFillCaption))
    QGuiApplication::clipboard()->setText(EntriesAsText(result.Beyond));
}
