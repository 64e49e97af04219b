// Label editing: the editor laid over the label being edited, every change
// copied back into the label at once (or taken back with a beep when the
// text no longer fits), copying a label to the next or to all, clearing,
// the default editor font, zooming, symbol insertion, and undo and redo.
#include <QApplication>
#include <cmath>
#include <exception>
#include <utility>

#include "app/MainForm.h"
#include "platform/AppRoutines.h"
#include "platform/DialogService.h"
#include "richtext/Fingerprint.h"
#include "symbols/GetSymbol.h"

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kLowestZoom = 60;
constexpr int kHighestZoom = 100;
constexpr int kZoomStep = 10;
// Control codes of the editor's typed characters.
constexpr char kCtrlA = 1;
constexpr char kBackspace = 8;
constexpr char kEnter = 13;

// Pixels of the screen as twips, rounded to the nearest.
int PixelsToTwips(int pixels, int pixelsPerInch) {
  return static_cast<int>(std::lround(static_cast<double>(pixels) * kTwipsPerInch / pixelsPerInch));
}

// Resets a flag on every way out of a scope.
class TFlagGuard {
 public:
  explicit TFlagGuard(bool& flag) : FFlag(flag) { FFlag = true; }
  ~TFlagGuard() { FFlag = false; }
  TFlagGuard(const TFlagGuard&) = delete;
  TFlagGuard& operator=(const TFlagGuard&) = delete;

 private:
  bool& FFlag;
};

}  // namespace

void TMainForm::PageOfLabelsPanelClickedInCellEvent(QWidget*, TCellRect, TCellRect rFree, int iNumber,
                                                    std::unique_ptr<TWPRtfStorage>& rtfstorage) {
  FCurrentCell = iNumber;
  PageOfLabelsPanel->SetSelectedCell(iNumber);
  FEditorReady = false;
  CloseEditor();
  History().EndTyping();  // a move to another label ends a run of typing
  if (!rtfstorage) return;
  FEditedStorage = rtfstorage.get();
  FEditing = true;

  const int w = rFree.Right - rFree.Left + 1;
  const int h = rFree.Bottom - rFree.Top + 1;
  const int ppi = PageOfLabelsPanel->PixelsPerInch();
  WPRichText1->SetIndents(0, 0, 0);
  WPRichText1->SetZooming(PageOfLabelsPanel->Magnification());
  WPRichText1->SetRtfText(FEditedStorage->RtfText());
  // After the copy, which brings the label's own page block along: the
  // editor's page is the label's text area.
  WPRichText1->SetPageSizeAndMargins(0, 0, PixelsToTwips(h, ppi), PixelsToTwips(w, ppi), 0, 0);
  WPRichText1->setGeometry(rFree.Left + PageOfLabelsPanel->x() + 1, rFree.Top + PageOfLabelsPanel->y() + 1, w,
                           h);
  WPRichText1->show();
  WPRichText1->raise();
  WPRichText1->setFocus();
  WPRichText1->SetCaretPosition(0);
  FSavedCaretPos = 0;
  FSavedAttributes = WPRichText1->GetWritingAttributes();
  FEditorReady = true;
  UpdateCommands();
}

void TMainForm::CommitEditor() {
  if (FEditing && FEditedStorage) FEditedStorage->RtfText().Assign(*WPRichText1->RtfText());
}

void TMainForm::CloseEditor() {
  if (!FEditing || !FEditedStorage) return;
  CommitEditor();
  WPRichText1->hide();
  FEditing = false;
  // The storage may go with the sheet (New, Open): nothing may reach it now.
  FEditedStorage = nullptr;
  WPToolBar1->setEnabled(false);
}

TEditPlace TMainForm::EditorPlace() const {
  return {FCurrentCell, FEditing ? WPRichText1->GetCaretPosition() : FSavedCaretPos};
}

void TMainForm::KeepEditorStateBeforeInput() {
  FTypedKeystroke = false;
  if (!FEditing || FInChange) return;
  FSavedCaretPos = WPRichText1->GetCaretPosition();
  FSavedAttributes = WPRichText1->GetWritingAttributes();
}

void TMainForm::WPRichText1Change() {
  if (!FEditorReady || FInChange || !FEditing || !FEditedStorage) return;
  TFlagGuard guard(FInChange);
  const bool typed = std::exchange(FTypedKeystroke, false);
  TWPRTFTextIo& stored = FEditedStorage->RtfText();
  if (WPRichText1->DocumentHeight() > WPRichText1->height()) {
    // The text no longer fits the label: back to the last state that did.
    WPRichText1->SetRtfText(stored);
    WPRichText1->SetCaretPosition(FSavedCaretPos);
    WPRichText1->SetWritingAttributes(FSavedAttributes);
    if (FBeep)
      FBeep();
    else
      QApplication::beep();
    return;
  }
  // A change of the writing attributes alone leaves the label as it was,
  // but still ends a run of typing.
  if (ContentFingerprint(*WPRichText1->RtfText()) != ContentFingerprint(stored)) {
    History().BeginStep({FCurrentCell}, {FCurrentCell, FSavedCaretPos}, typed);
    stored.Assign(*WPRichText1->RtfText());
    History().EndStep(EditorPlace());
    SetModified(true);
  } else if (!typed) {
    History().EndTyping();
  }
  FSavedCaretPos = WPRichText1->GetCaretPosition();
  FSavedAttributes = WPRichText1->GetWritingAttributes();
}

void TMainForm::WPRichText1Click() {
  FSavedCaretPos = WPRichText1->GetCaretPosition();
  FSavedAttributes = WPRichText1->GetWritingAttributes();
}

void TMainForm::WPRichText1KeyPress(char& key) {
  if (key == kCtrlA) {
    WPRichText1->SelectAll();
    key = 0;
    return;
  }
  FTypedKeystroke = static_cast<unsigned char>(key) >= 32 || key == kBackspace || key == kEnter;
}

void TMainForm::WPRichText1KeyDown(int& key, Qt::KeyboardModifiers shift) {
  if (key == Qt::Key_Delete && !(shift & (Qt::ControlModifier | Qt::ShiftModifier))) FTypedKeystroke = true;
}

void TMainForm::WPRichText1Enter() {
  WPToolBar1->setEnabled(true);
  const TWPRTFTextInput& document = *WPRichText1->RtfText();
  const bool empty = !document.FirstParagraph ||
                     (!document.FirstParagraph->Next && document.FirstParagraph->TextLength() == 0);
  if (empty) SetDefaultFontNow();
}

void TMainForm::SetDefaultFontNow() {
  TAttr attr = WPRichText1->GetWritingAttributes();
  ApplyDefaultFont(attr, WPRichText1->RtfText()->Header, DefaultEditorFont());
  WPRichText1->SetWritingAttributes(attr);
}

template <typename Change>
void TMainForm::ChangeCells(const std::vector<int>& cells, Change change) {
  History().BeginStep(cells, EditorPlace());
  change();
  History().EndStep(EditorPlace());
  History().EndTyping();
  SetModified(true);
}

void TMainForm::CopyEditorInto(int cell) {
  if (const std::unique_ptr<TWPRtfStorage>& storage = PageOfLabelsPanel->Storage(cell))
    storage->SetRtfText(*WPRichText1->RtfText());
}

void TMainForm::ReplicateOnebuttonClick() {
  if (!FEditing || FCurrentCell >= PageOfLabelsPanel->LabelsPerPage()) return;
  CommitEditor();
  const int next = FCurrentCell + 1;
  ChangeCells({next}, [&] { CopyEditorInto(next); });
  PageOfLabelsPanel->update();
  WPRichText1->setFocus();
  UpdateCommands();
}

void TMainForm::CopyContentstoNextLabel1Click() { ReplicateOnebuttonClick(); }
void TMainForm::CopyContentstoAllLabels1Click() { ReplicateAllbuttonClick(); }

void TMainForm::ReplicateAllbuttonClick() {
  if (!FEditing) return;
  CommitEditor();
  // After the current label to the last, then from the first.
  std::vector<int> cells;
  for (int n = FCurrentCell + 1; n <= PageOfLabelsPanel->LabelsPerPage(); ++n) cells.push_back(n);
  for (int n = 1; n < FCurrentCell; ++n) cells.push_back(n);
  ChangeCells(cells, [&] {
    for (int n : cells) CopyEditorInto(n);
  });
  PageOfLabelsPanel->update();
  WPRichText1->setFocus();
  UpdateCommands();
}

void TMainForm::Clear1Click() {
  if (!FEditing) return;
  ChangeCells({FCurrentCell}, [&] {
    WPRichText1->Clear();
    CommitEditor();
  });
  FSavedCaretPos = 0;
  FSavedAttributes = WPRichText1->GetWritingAttributes();
  UpdateCommands();
}

void TMainForm::mnuClearAllCellContentsClick() {
  if (!ConfirmYesNo(QStringLiteral("Clear all contents?"), QStringLiteral("CANCEL"))) return;
  const TEditPlace place = EditorPlace();
  CloseEditor();
  std::vector<int> cells;
  for (int n = 1; n <= PageOfLabelsPanel->LabelsPerPage(); ++n) cells.push_back(n);
  History().BeginStep(cells, place);
  // The sheet's own clearing keeps the labels' rectangles, so that an undo
  // can open the editor over one before the next repaint.
  PageOfLabelsPanel->Sheet().ClearAllCells();
  History().EndStep(place);
  History().EndTyping();
  PageOfLabelsPanel->update();
  SetModified(true);
  UpdateCommands();
}

void TMainForm::DefaultEditorFont1Click() {
  LoadPreferences();
  if (Dialogs().ChooseFont(DefaultFontdialog.Font, DefaultFontdialog.Color)) SavePreferences();
  SetDefaultFontNow();
}

void TMainForm::ZoomPlusButtonClick() {
  if (PageOfLabelsPanel->isHidden() || PageOfLabelsPanel->Magnification() == kHighestZoom) return;
  CloseEditor();
  QCoreApplication::processEvents();
  if (PageOfLabelsPanel->Magnification() < kHighestZoom)
    PageOfLabelsPanel->SetMagnification(PageOfLabelsPanel->Magnification() + kZoomStep);
  UpdateCaption();
  QCoreApplication::processEvents();
  PageOfLabelsPanel->OpenCell(FCurrentCell);
}

void TMainForm::ZoomMinusButtonClick() {
  if (PageOfLabelsPanel->isHidden() || PageOfLabelsPanel->Magnification() == kLowestZoom) return;
  CloseEditor();
  QCoreApplication::processEvents();
  if (PageOfLabelsPanel->Magnification() > kLowestZoom)
    PageOfLabelsPanel->SetMagnification(PageOfLabelsPanel->Magnification() - kZoomStep);
  QCoreApplication::processEvents();
  PageOfLabelsPanel->OpenCell(FCurrentCell);
  UpdateCaption();
}

void TMainForm::GetSymbolbuttonClick() {
  // Made once, with the hourglass while the fonts are looked at, and kept
  // with its font, size and selection for every later use.
  if (!FSymbolForm) {
    BeginBusyCursor();
    try {
      FSymbolForm = new TGetSymbol(this);
      CenterForm(*FSymbolForm);
    } catch (...) {
      EndBusyCursor();
      throw;
    }
    EndBusyCursor();
  }
  if (FSymbolForm->ShowModal() != TGetSymbol::ResultOk || !FEditing) return;
  // The clipboard now holds the symbol as rich text in its font and size.
  // The paste is a step of its own; one that does not fit is taken back.
  KeepEditorStateBeforeInput();
  History().EndTyping();
  WPRichText1->setFocus();
  WPRichText1->PasteFromClipboard();
  WPRichText1Change();
}

void TMainForm::ReopenEditorAt(TEditPlace place) {
  FCurrentCell = place.Cell;
  PageOfLabelsPanel->OpenCell(place.Cell);
  if (!FEditing) return;
  WPRichText1->SetCaretPosition(std::max(place.CaretPosition, 0));
  FSavedCaretPos = WPRichText1->GetCaretPosition();
  FSavedAttributes = WPRichText1->GetWritingAttributes();
}

void TMainForm::Undo1Click() {
  if (PageOfLabelsPanel->isHidden() || !History().CanUndo()) return;
  CloseEditor();
  if (const std::optional<TEditPlace> place = History().Undo()) ReopenEditorAt(*place);
  PageOfLabelsPanel->update();
  SetModified(!History().AtSavedState());
  UpdateCommands();
}

void TMainForm::Redo1Click() {
  if (PageOfLabelsPanel->isHidden() || !History().CanRedo()) return;
  CloseEditor();
  if (const std::optional<TEditPlace> place = History().Redo()) ReopenEditorAt(*place);
  PageOfLabelsPanel->update();
  SetModified(!History().AtSavedState());
  UpdateCommands();
}
