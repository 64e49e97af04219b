#include "app/FillFromList.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/AppGlobals.h"
#include "platform/AppRoutines.h"
#include "platform/DialogService.h"

namespace {

// A column as the chooser shows it: its number and the first row's text.
QString ColumnCaption(int column, const QString& first) {
  QString text = first.simplified();
  if (text.size() > 30) text = text.left(29) + QChar(0x2026);
  return QStringLiteral("%1: %2").arg(column).arg(text);
}

}  // namespace

TFillFromList::TFillFromList(const TLabelSheet& sheet, int start, QWidget* parent)
    : QDialog(parent), FSheet(sheet) {
  setObjectName(QStringLiteral("FillFromList"));
  setWindowTitle(QStringLiteral("Fill Labels from List"));

  auto* prompt = new QLabel(QStringLiteral("&Paste the list here, or load a file:"), this);
  LoadFileButton = new QPushButton(QStringLiteral("&Load File..."), this);
  LoadFileButton->setObjectName(QStringLiteral("LoadFileButton"));
  // Enter in the dialog means OK, never "load another file".
  LoadFileButton->setAutoDefault(false);
  ListBox = new QPlainTextEdit(this);
  ListBox->setObjectName(QStringLiteral("ListBox"));
  ListBox->setLineWrapMode(QPlainTextEdit::NoWrap);
  ListBox->setTabChangesFocus(true);
  ListBox->setMinimumSize(420, 200);
  prompt->setBuddy(ListBox);

  auto* division = new QGroupBox(QStringLiteral("Labels in the list"), this);
  OneLabelPerLine = new QRadioButton(QStringLiteral("&One label per line"), division);
  OneLabelPerLine->setObjectName(QStringLiteral("OneLabelPerLine"));
  BlankLineSeparated = new QRadioButton(QStringLiteral("Labels separated by a &blank line"), division);
  BlankLineSeparated->setObjectName(QStringLiteral("BlankLineSeparated"));
  OneLabelPerLine->setChecked(true);
  CsvCheck = new QCheckBox(QStringLiteral("Comma-separated &values (CSV), column:"), division);
  CsvCheck->setObjectName(QStringLiteral("CsvCheck"));
  ColumnBox = new QComboBox(division);
  ColumnBox->setObjectName(QStringLiteral("ColumnBox"));
  ColumnBox->setMinimumContentsLength(24);
  ColumnBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  HeadingCheck = new QCheckBox(QStringLiteral("First row is a &heading"), division);
  HeadingCheck->setObjectName(QStringLiteral("HeadingCheck"));
  auto* divisionGrid = new QGridLayout(division);
  divisionGrid->addWidget(OneLabelPerLine, 0, 0, 1, 2);
  divisionGrid->addWidget(BlankLineSeparated, 1, 0, 1, 2);
  divisionGrid->addWidget(CsvCheck, 2, 0);
  divisionGrid->addWidget(ColumnBox, 2, 1);
  divisionGrid->addWidget(HeadingCheck, 3, 0, 1, 2);

  auto* startLabel = new QLabel(QStringLiteral("&Start at label"), this);
  StartBox = new QSpinBox(this);
  StartBox->setObjectName(QStringLiteral("StartBox"));
  StartBox->setRange(1, std::max(sheet.LabelsPerPage(), 1));
  StartBox->setValue(std::clamp(start, 1, StartBox->maximum()));
  startLabel->setBuddy(StartBox);
  ReplaceCheck = new QCheckBox(QStringLiteral("&Replace labels that already hold text"), this);
  ReplaceCheck->setObjectName(QStringLiteral("ReplaceCheck"));

  Summary = new QLabel(this);
  Summary->setObjectName(QStringLiteral("Summary"));
  Summary->setWordWrap(true);
  Summary->setMinimumHeight(2 * Summary->fontMetrics().height());
  Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

  auto* top = new QHBoxLayout;
  top->addWidget(prompt, 1);
  top->addWidget(LoadFileButton);
  auto* startRow = new QHBoxLayout;
  startRow->addWidget(startLabel);
  startRow->addWidget(StartBox);
  startRow->addSpacing(16);
  startRow->addWidget(ReplaceCheck);
  startRow->addStretch(1);
  auto* column = new QVBoxLayout(this);
  column->addLayout(top);
  column->addWidget(ListBox, 1);
  column->addWidget(division);
  column->addLayout(startRow);
  column->addWidget(Summary);
  column->addWidget(Buttons);

  FTypingPause.setSingleShot(true);
  FTypingPause.setInterval(kTypingPauseMs);
  connect(&FTypingPause, &QTimer::timeout, this, &TFillFromList::UpdateSummary);
  connect(ListBox, &QPlainTextEdit::textChanged, this, &TFillFromList::ListChanged);
  connect(LoadFileButton, &QPushButton::clicked, this, &TFillFromList::LoadFileClick);
  auto optionChanged = [this] {
    EnableModeControls();
    UpdateSummary();
  };
  connect(OneLabelPerLine, &QRadioButton::toggled, this, optionChanged);
  connect(CsvCheck, &QCheckBox::toggled, this, optionChanged);
  connect(HeadingCheck, &QCheckBox::toggled, this, optionChanged);
  connect(ColumnBox, &QComboBox::currentIndexChanged, this, optionChanged);
  connect(ReplaceCheck, &QCheckBox::toggled, this, optionChanged);
  connect(StartBox, &QSpinBox::valueChanged, this, optionChanged);
  connect(Buttons, &QDialogButtonBox::accepted, this, [this] {
    UpdateSummary();  // text typed a moment ago counts
    if (!FPlan.Labels.empty()) accept();
  });
  connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  EnableModeControls();
  UpdateSummary();
  // The list is what the user came to give.
  ListBox->setFocus();
}

TListOptions TFillFromList::Options() const {
  TListOptions options;
  options.Csv = CsvCheck->isChecked();
  options.Column = ColumnBox->currentIndex() + 1;
  options.Heading = HeadingCheck->isChecked();
  options.BlankLineSeparates = BlankLineSeparated->isChecked();
  return options;
}

const TLabelList& TFillFromList::List() {
  if (FStale) UpdateSummary();
  return FList;
}

const TFillPlan& TFillFromList::Plan() {
  if (FStale) UpdateSummary();
  return FPlan;
}

void TFillFromList::EnableModeControls() {
  const bool csv = CsvCheck->isChecked();
  OneLabelPerLine->setEnabled(!csv);
  BlankLineSeparated->setEnabled(!csv);
  ColumnBox->setEnabled(csv);
  HeadingCheck->setEnabled(csv);
}

void TFillFromList::ListChanged() {
  FStale = true;
  if (ListBox->document()->characterCount() <= kImmediateUpdateLength)
    UpdateSummary();
  else
    FTypingPause.start();
}

void TFillFromList::UpdateColumns(const std::vector<QStringList>& rows) {
  const QStringList first = rows.empty() ? QStringList() : rows.front();
  const int count = std::max(CsvColumnCount(rows), 1);
  QStringList captions;
  for (int c = 0; c < count; ++c) captions << ColumnCaption(c + 1, first.value(c));
  QStringList shown;
  for (int i = 0; i < ColumnBox->count(); ++i) shown << ColumnBox->itemText(i);
  if (captions == shown) return;
  const int current = std::max(ColumnBox->currentIndex(), 0);
  const QSignalBlocker quiet(ColumnBox);
  ColumnBox->clear();
  ColumnBox->addItems(captions);
  ColumnBox->setCurrentIndex(std::min(current, count - 1));
}

void TFillFromList::UpdateSummary() {
  FTypingPause.stop();
  FStale = false;
  FList = TLabelList();
  QString summary;
  try {
    const TListOptions options = Options();
    const QString text = ListBox->toPlainText();
    if (options.Csv) {
      const std::vector<QStringList> rows = ParseCsv(text);
      UpdateColumns(rows);
      FList = EntriesFromCsv(rows, ColumnBox->currentIndex() + 1, options.Heading);
    } else {
      FList = MakeLabelList(text, options);
    }
    FPlan = PlanFill(FSheet, static_cast<int>(FList.Entries.size()), StartBox->value(),
                     ReplaceCheck->isChecked());
    summary = FillSummary(FPlan, FList.Unconvertible);
  } catch (const EListError& error) {
    FPlan = TFillPlan();
    summary = QString::fromUtf8(error.what());
  }
  Summary->setText(summary);
  Buttons->button(QDialogButtonBox::Ok)->setEnabled(!FPlan.Labels.empty());
}

void TFillFromList::LoadFile(const QString& path) {
  QString text;
  BeginBusyCursor();
  try {
    text = ReadListFile(path);
  } catch (const EListError& error) {
    EndBusyCursor();
    ShowAppMessageBox(QString::fromUtf8(error.what()), GlobalApplicationName, mbOK | mbIconError);
    return;
  }
  {
    // One summary for the new text and mode, not one per step.
    const QSignalBlocker quietCsv(CsvCheck);
    const QSignalBlocker quietList(ListBox);
    CsvCheck->setChecked(IsCsvFileName(path));
    ListBox->setPlainText(text);
  }
  EnableModeControls();
  UpdateSummary();
  EndBusyCursor();
}

void TFillFromList::LoadFileClick() {
  TFileDialogOptions options;
  options.Title = QStringLiteral("Load List");
  options.Filter = QStringLiteral("Lists|*.txt;*.csv|Text File|*.txt|CSV File|*.csv|All Files|*");
  options.FileMustExist = true;
  const QString path = Dialogs().OpenFileName(options);
  if (!path.isEmpty()) LoadFile(path);
}
