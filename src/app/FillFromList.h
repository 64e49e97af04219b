#pragma once
// The "Fill Labels from List" dialog: a box to paste a list into or load a
// .txt or .csv file into, how the list divides into labels (lines, blocks
// separated by blank lines, or one column of CSV, with or without a heading
// row), the label to start at and whether labels that hold text are
// replaced, and a summary of what OK will do that follows every change.
// The dialog only chooses; the main window fills the sheet.
//
// Usage (File > Fill Labels from List...):
//   TFillFromList dialog(sheet, startLabel, this);
//   if (Dialogs().Exec(dialog) != QDialog::Accepted) return;
//   FillSheet(sheet, dialog.List().Entries, dialog.Plan(), font);
// A test answers it through the scripted dialog service:
//   dialogs->QueueExec([](QDialog& d) {
//     auto& dialog = static_cast<TFillFromList&>(d);
//     dialog.ListBox->setPlainText("Alpha\nBeta");
//     return dialog.Buttons->button(QDialogButtonBox::Ok)->click(), dialog.result();
//   });
#include <QDialog>
#include <QTimer>

#include "labelpage/LabelSheet.h"
#include "listfill/LabelList.h"
#include "listfill/SheetFill.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

class TFillFromList : public QDialog {
  Q_OBJECT

 public:
  // Text longer than this is read again only after typing pauses.
  static constexpr int kImmediateUpdateLength = 200000;
  static constexpr int kTypingPauseMs = 300;

  // sheet tells which labels hold text; start is the label proposed first.
  TFillFromList(const TLabelSheet& sheet, int start, QWidget* parent = nullptr);

  // The entries and the plan as the controls stand now.
  const TLabelList& List();
  const TFillPlan& Plan();
  TListOptions Options() const;

  // What "Load File..." does with the file the user chose; a file that
  // cannot be read is reported and changes nothing.
  void LoadFile(const QString& path);
  // Reads the list again and shows the summary (the controls' changes do it).
  void UpdateSummary();

  QPlainTextEdit* ListBox = nullptr;
  QPushButton* LoadFileButton = nullptr;
  QCheckBox* CsvCheck = nullptr;
  QComboBox* ColumnBox = nullptr;
  QCheckBox* HeadingCheck = nullptr;
  QRadioButton* OneLabelPerLine = nullptr;
  QRadioButton* BlankLineSeparated = nullptr;
  QSpinBox* StartBox = nullptr;
  QCheckBox* ReplaceCheck = nullptr;
  QLabel* Summary = nullptr;
  QDialogButtonBox* Buttons = nullptr;

 private:
  void LoadFileClick();
  void ListChanged();
  // The column chooser shows the first row of the CSV text.
  void UpdateColumns(const std::vector<QStringList>& rows);
  void EnableModeControls();

  const TLabelSheet& FSheet;
  TLabelList FList;
  TFillPlan FPlan;
  bool FStale = true;
  QTimer FTypingPause;
};
