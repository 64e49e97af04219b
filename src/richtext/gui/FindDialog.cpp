#include "richtext/gui/FindDialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/DialogFont.h"
#include "richtext/gui/TextFinder.h"

namespace {

QPointer<TWPFindDialog> gFindDialog;
QPointer<TWPFindDialog> gReplaceDialog;

// Widgets must go before the application object does.
void DeleteFindDialogs() {
  delete gFindDialog;
  delete gReplaceDialog;
}

TWPFindDialog& Make(QPointer<TWPFindDialog>& slot, TWPFindDialog::TKind kind) {
  if (!slot) {
    static const bool registered = (qAddPostRoutine(DeleteFindDialogs), true);
    (void)registered;
    slot = new TWPFindDialog(kind);
  }
  return *slot;
}

}  // namespace

TWPFindDialog::TWPFindDialog(TKind kind, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      FKind(kind) {
  const bool replace = kind == fdReplace;
  setObjectName(replace ? QStringLiteral("ReplaceDialog") : QStringLiteral("FindDialog"));
  setWindowTitle(replace ? QStringLiteral("Replace") : QStringLiteral("Find"));
  setFont(DialogFont(*this));

  auto* fields = new QGridLayout;
  FindEdit = new QLineEdit(this);
  FindEdit->setObjectName(QStringLiteral("FindEdit"));
  FindEdit->setMaxLength(TWPTextFinder::kMaxSearchText);
  FindEdit->setMinimumWidth(200);
  auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
  findLabel->setBuddy(FindEdit);
  fields->addWidget(findLabel, 0, 0);
  fields->addWidget(FindEdit, 0, 1);
  if (replace) {
    ReplaceEdit = new QLineEdit(this);
    ReplaceEdit->setObjectName(QStringLiteral("ReplaceEdit"));
    ReplaceEdit->setMaxLength(TWPTextFinder::kMaxSearchText);
    auto* replaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
    replaceLabel->setBuddy(ReplaceEdit);
    fields->addWidget(replaceLabel, 1, 0);
    fields->addWidget(ReplaceEdit, 1, 1);
  }

  WholeWordBox = new QCheckBox(QStringLiteral("Match &whole word only"), this);
  WholeWordBox->setObjectName(QStringLiteral("WholeWordBox"));
  MatchCaseBox = new QCheckBox(QStringLiteral("Match &case"), this);
  MatchCaseBox->setObjectName(QStringLiteral("MatchCaseBox"));
  auto* boxes = new QVBoxLayout;
  boxes->addWidget(WholeWordBox);
  boxes->addWidget(MatchCaseBox);
  auto* options = new QHBoxLayout;
  options->addLayout(boxes);
  if (!replace) {
    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    UpButton = new QRadioButton(QStringLiteral("&Up"), direction);
    UpButton->setObjectName(QStringLiteral("UpButton"));
    DownButton = new QRadioButton(QStringLiteral("&Down"), direction);
    DownButton->setObjectName(QStringLiteral("DownButton"));
    DownButton->setChecked(true);
    auto* row = new QHBoxLayout(direction);
    row->addWidget(UpButton);
    row->addWidget(DownButton);
    options->addWidget(direction);
  }
  auto* left = new QVBoxLayout;
  left->addLayout(fields);
  left->addLayout(options);
  left->addStretch();

  auto* buttons = new QVBoxLayout;
  auto addButton = [&](const QString& caption, const QString& name) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    buttons->addWidget(button);
    return button;
  };
  FindNextButton = addButton(QStringLiteral("&Find Next"), QStringLiteral("FindNextButton"));
  FindNextButton->setDefault(true);
  if (replace) {
    ReplaceButton = addButton(QStringLiteral("&Replace"), QStringLiteral("ReplaceButton"));
    ReplaceAllButton = addButton(QStringLiteral("Replace &All"), QStringLiteral("ReplaceAllButton"));
  }
  CancelButton = addButton(QStringLiteral("Cancel"), QStringLiteral("CancelButton"));
  buttons->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(FindEdit, &QLineEdit::textChanged, this, [this] { EnableButtons(); });
  connect(FindNextButton, &QPushButton::clicked, this, [this] {
    if (FOnFind) FOnFind();
  });
  if (replace) {
    connect(ReplaceButton, &QPushButton::clicked, this, [this] {
      if (FOnReplace) FOnReplace(false);
    });
    connect(ReplaceAllButton, &QPushButton::clicked, this, [this] {
      if (FOnReplace) FOnReplace(true);
    });
  }
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  EnableButtons();
}

void TWPFindDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FindEdit->setFocus();
  FindEdit->selectAll();
}

void TWPFindDialog::EnableButtons() {
  // Nothing to look for: nothing to press but Cancel.
  const bool any = !FindEdit->text().isEmpty();
  for (QPushButton* button : {FindNextButton, ReplaceButton, ReplaceAllButton})
    if (button) button->setEnabled(any);
}

QString TWPFindDialog::FindText() const { return FindEdit->text(); }

void TWPFindDialog::SetFindText(const QString& text) { FindEdit->setText(text); }

QString TWPFindDialog::ReplaceText() const { return ReplaceEdit ? ReplaceEdit->text() : QString(); }

void TWPFindDialog::SetReplaceText(const QString& text) {
  if (ReplaceEdit) ReplaceEdit->setText(text);
}

TWPFindDialog::TOptions TWPFindDialog::Options() const {
  TOptions options;
  options.Down = !UpButton || !UpButton->isChecked();
  options.WholeWord = WholeWordBox->isChecked();
  options.MatchCase = MatchCaseBox->isChecked();
  return options;
}

void TWPFindDialog::SetOptions(const TOptions& options) {
  if (UpButton) {
    UpButton->setChecked(!options.Down);
    DownButton->setChecked(options.Down);
  }
  WholeWordBox->setChecked(options.WholeWord);
  MatchCaseBox->setChecked(options.MatchCase);
}

void TWPFindDialog::Wire(const void* editor, TFindEvent onFind, TReplaceEvent onReplace) {
  FWiredTo = editor;
  FOnFind = std::move(onFind);
  FOnReplace = std::move(onReplace);
}

void TWPFindDialog::Unwire(const void* editor) {
  if (editor != FWiredTo) return;
  FWiredTo = nullptr;
  FOnFind = nullptr;
  FOnReplace = nullptr;
}

TWPFindDialog& ApplicationFindDialog() { return Make(gFindDialog, TWPFindDialog::fdFind); }

TWPFindDialog& ApplicationReplaceDialog() { return Make(gReplaceDialog, TWPFindDialog::fdReplace); }

void UnwireFindDialogs(const void* editor) {
  for (TWPFindDialog* dialog : {gFindDialog.data(), gReplaceDialog.data()})
    if (dialog) dialog->Unwire(editor);
}
