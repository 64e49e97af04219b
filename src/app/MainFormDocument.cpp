// The life of a label page: New, Open, a recent file, Save, Save As, the
// "&Save" and "&Cancel" buttons, Cancel Changes, the save prompt, and the
// layout commands Change Layout and Layout Info.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <exception>
#include <string>

#include "app/MainForm.h"
#include "labelpage/LabelPageFile.h"
#include "labelpage/SelectLayout.h"
#include "platform/AppGlobals.h"
#include "platform/AppRoutines.h"
#include "platform/DialogService.h"
#include "richtext/gui/AnsiCodec.h"

namespace {

std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString LabelPageFilter() { return GlobalFileTypeName + QStringLiteral("|*.") + GlobalFileExtension; }

// The extension from the file name's last dot, dot included ("" without one).
QString ExtensionOf(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  const int dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? QString() : name.mid(dot);
}

// Open takes a name whose whole extension is ".KLX" in any case.
bool IsOpenableName(const QString& path) {
  return ExtensionOf(path).toUpper() == QLatin1Char('.') + GlobalFileExtension;
}

// Save As looks only at the first three characters after the dot, so
// "sheet.klxa" passes.
bool IsSavableName(const QString& path) {
  return ExtensionOf(path).mid(1, 3).toUpper() == GlobalFileExtension;
}

// What the system said about a failure, for the user.
QString ReasonOf(const std::exception& error) {
  if (const auto* saveError = dynamic_cast<const EFileSaveError*>(&error))
    if (!saveError->Reason().empty()) return QString::fromLocal8Bit(saveError->Reason().c_str());
  return QString::fromLocal8Bit(error.what());
}

// A page just created or opened is shown from its top-left corner, wherever
// the previous one was scrolled to.
void ScrollToTopLeft(QScrollArea& view) {
  view.horizontalScrollBar()->setValue(0);
  view.verticalScrollBar()->setValue(0);
}

}  // namespace

bool TMainForm::CheckSaveNeeded() {
  CloseEditor();
  if (FModified && ConfirmYesNo(QStringLiteral("Save changes?"), QStringLiteral("Save"))) {
    if (FFileName.isEmpty())
      mnuSaveAsClick();
    else
      SavePageOfLabelsFile(FFileName);
    // Changes the user wanted kept that did not reach a file are never
    // thrown away: the command that asked stops and the page stays.
    if (FModified) return false;
    SetModified(false);
  }
  // Answered No: the page keeps its changes until the asking command replaces it.
  return true;
}

void TMainForm::New1Click() {
  const std::string layoutName = TSelectLayout::ChooseLayout(*PageOfLabelsPanel, this);
  if (layoutName.empty() || !CheckSaveNeeded()) return;
  BeginBusyCursor();
  CloseEditor();
  EndBusyCursor();
  SetModified(false);
  FFileName.clear();
  PageOfLabelsPanel->ClearAllCells();
  PageOfLabelsPanel->SetLayout(layoutName, false);
  History().Clear(true);
  PageOfLabelsPanel->show();
  ScrollToTopLeft(*ScrollBox2);
  FCurrentCell = 1;
  PageOfLabelsPanel->SetSelectedCell(1);
  PageOfLabelsPanel->update();
  QCoreApplication::processEvents();
  PageOfLabelsPanel->OpenCell(1);
  UpdateCommands();
  UpdateCaption();
}

void TMainForm::Open1Click() {
  CloseEditor();
  if (!CheckSaveNeeded()) return;
  TFileDialogOptions options;
  options.Title = QStringLiteral("Open ") + GlobalFileTypeName;
  options.InitialDir = DocumentsDirectory();
  options.DefaultExt = GlobalFileExtension;
  options.Filter = LabelPageFilter();
  options.FileMustExist = true;
  const QString path = Dialogs().OpenFileName(options);
  if (path.isEmpty()) {
    if (!PageOfLabelsPanel->isHidden()) {
      try {
        PageOfLabelsPanel->OpenCell(FCurrentCell);
      } catch (const std::exception&) {
        // The editor simply stays closed.
      }
    }
    return;
  }
  OpenChosenFile(path);
}

bool TMainForm::AcceptOpenName(const QString& path) {
  if (IsOpenableName(path)) return true;
  ShowInformation(QStringLiteral("Must be a ") + GlobalFileTypeName + QStringLiteral(" (*.") +
                  GlobalFileExtension + QLatin1Char(')'));
  return false;
}

void TMainForm::OpenChosenFile(const QString& path) {
  if (AcceptOpenName(path)) OpenPageOfLabelsFile(path);
}

void TMainForm::MRUItemClick(const QString& fileName) {
  const QString path = fileName;  // the menu item may go while the page changes
  if (!CheckSaveNeeded()) return;
  if (QFileInfo(path).isFile())
    OpenPageOfLabelsFile(path);
  else
    ShowInformation(QStringLiteral("File: ") + path + QStringLiteral("\rno longer exists"));
}

void TMainForm::OpenPageOfLabelsFile(QString path) {
  FStarting = true;
  FOpeningFile = true;
  FFileName.clear();
  CloseEditor();
  // A directory, device or pipe is no label page file; only a regular file is read.
  if (QFileInfo(path).isFile()) {
    try {
      BeginBusyCursor();
      PageOfLabelsPanel->ClearAllCells();
      PageOfLabelsPanel->LoadFromFile(NativePath(path));
      EndBusyCursor();
      FFileName = path;
      RecentFileUsed(path);
    } catch (const std::exception&) {
      FFileName.clear();
      // The hourglass goes before the message, not over it.
      EndBusyCursor();
      ShowInformation(QStringLiteral("Unable to open ") + path + QStringLiteral(". Possibly ") +
                      QStringLiteral("\rcorrupted, possibly not a File Folder Label file"));
    }
  } else {
    EndBusyCursor();  // Cancel Changes may have put it up
    ShowInformation(QStringLiteral("File ") + path + QStringLiteral(" no longer exists"));
  }
  // Whatever was read, there is nothing to undo in it.
  History().Clear(true);
  QCoreApplication::processEvents();
  FOpeningFile = false;
  FStarting = false;
  UpdateCommands();
  const bool named = !FFileName.isEmpty();
  PageOfLabelsPanel->setVisible(named);
  if (named) {
    ScrollToTopLeft(*ScrollBox2);
    FCurrentCell = 1;
    PageOfLabelsPanel->SetSelectedCell(1);
    PageOfLabelsPanel->update();
    QCoreApplication::processEvents();
    PageOfLabelsPanel->OpenCell(1);
  }
  SetModified(false);
  UpdateCommands();
  EndBusyCursor();
  UpdateCaption();
}

bool TMainForm::SavePageOfLabelsFile(QString path) {
  bool saved = false;
  try {
    BeginBusyCursor();
    CloseEditor();
    PageOfLabelsPanel->SaveToFile(NativePath(path));
    EndBusyCursor();
    FFileName = path;
    History().MarkSaved();
    SetModified(false);
    saved = true;
  } catch (const std::exception& error) {
    // File name and modified flag stay; the user learns that the page was
    // not saved, and why.
    EndBusyCursor();
    ShowInformation(QStringLiteral("Unable to save ") + path + QStringLiteral(".\r") + ReasonOf(error));
  }
  QCoreApplication::processEvents();
  UpdateCommands();
  UpdateCaption();
  return saved;
}

QString TMainForm::DefaultFileName() const {
  const QString folder = DocumentsDirectory();
  for (qint64 n = 0;; ++n) {
    const QString path = folder + QStringLiteral("LF") +
                         QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0')) + QLatin1Char('.') +
                         GlobalFileExtension;
    if (!QFileInfo::exists(path)) return path;
  }
}

void TMainForm::mnuSaveClick() {
  // Saving closes the editor; it comes back on the same label with its
  // caret and writing attributes.
  if (FEditing) {
    FSavedCaretPos = WPRichText1->GetCaretPosition();
    FSavedAttributes = WPRichText1->GetWritingAttributes();
  }
  const int caret = FSavedCaretPos;
  const TAttr attributes = FSavedAttributes;
  const bool saved = !FFileName.isEmpty() && SavePageOfLabelsFile(FFileName);
  PageOfLabelsPanel->OpenCell(FCurrentCell);
  if (FEditing) {
    WPRichText1->SetCaretPosition(std::max(caret, 0));
    WPRichText1->SetWritingAttributes(attributes);
    FSavedCaretPos = WPRichText1->GetCaretPosition();
    FSavedAttributes = attributes;
  }
  if (saved) {
    History().MarkSaved();
    SetModified(false);
  }
}

void TMainForm::mnuSaveAsClick() {
  // Asked again after a name with the wrong extension.
  for (;;) {
    TFileDialogOptions options;
    options.Title = QStringLiteral("Save ") + GlobalFileTypeName;
    options.InitialDir = DocumentsDirectory();
    options.DefaultExt = GlobalFileExtension;
    options.Filter = LabelPageFilter();
    options.FileName = FFileName.isEmpty() ? DefaultFileName() : QFileInfo(FFileName).fileName();
    options.OverwritePrompt = true;
    const QString path = Dialogs().SaveFileName(options);
    if (path.isEmpty()) {
      UpdateCommands();
      return;
    }
    if (!IsSavableName(path)) {
      ShowInformation(QStringLiteral("File extension must be: ") + GlobalFileExtension);
      continue;
    }
    if (SavePageOfLabelsFile(path)) {
      SetModified(false);
      RecentFileUsed(path);
    }
    UpdateCommands();
    return;
  }
}

void TMainForm::SavebuttonClick() {
  if (mnuSave->isEnabled())
    mnuSaveClick();
  else
    mnuSaveAsClick();
}

void TMainForm::CancelButtonClick() {
  if (!ConfirmYesNo(QStringLiteral("Cancel all changes?"), QStringLiteral("CANCEL"))) return;
  if (!FFileName.isEmpty()) OpenPageOfLabelsFile(FFileName);
  SetModified(false);
}

void TMainForm::mnuCancelChangesClick() {
  if (!ConfirmYesNo(QStringLiteral("Cancel all changes?"), QStringLiteral("CANCEL"))) return;
  BeginBusyCursor();
  if (!FFileName.isEmpty()) OpenPageOfLabelsFile(FFileName);
  SetModified(false);
  EndBusyCursor();
}

void TMainForm::mnuChangeLayoutClick() {
  const std::string layoutName = TSelectLayout::ChooseLayout(*PageOfLabelsPanel, this);
  if (layoutName.empty() || !CheckSaveNeeded()) return;
  BeginBusyCursor();
  CloseEditor();
  EndBusyCursor();
  // The sheet is a new one now: the next save asks for a name.
  SetModified(true);
  FFileName.clear();
  PageOfLabelsPanel->SetLayout(layoutName, true);
  // Undo stops at the new layout, and no undo makes the sheet a saved one.
  History().Clear(false);
  PageOfLabelsPanel->show();
  PageOfLabelsPanel->update();
  UpdateCommands();
  UpdateCaption();
}

void TMainForm::mnuLayoutInfoClick() {
  const std::string& name = PageOfLabelsPanel->LayoutDescription().LayoutName;
  ShowInformation(QStringLiteral("Current layout is: \r\r") +
                  wpansi::ToQString(name.data(), static_cast<int>(name.size())));
}
