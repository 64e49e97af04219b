#include "labelpage/SelectLayout.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "labelpage/KLXPagePanel.h"
#include "platform/AppRoutines.h"
#include "platform/DialogFont.h"
#include "platform/DialogService.h"
#include "richtext/gui/AnsiCodec.h"

namespace {

QString FromAnsi(const std::string& text) {
  return wpansi::ToQString(text.data(), static_cast<int>(text.size()));
}

}  // namespace

TSelectLayout::TSelectLayout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle(QStringLiteral("Select Layout"));
  setFont(DialogFont(*this));
  setFixedSize(542, 349);

  Label1 = new QLabel(QStringLiteral("Available Layouts"), this);
  Label1->setGeometry(16, 8, 510, 16);

  LayoutList = new QListWidget(this);
  LayoutList->setGeometry(16, 24, 510, 145);
  LayoutList->setToolTip(QStringLiteral("Select a layout from this list"));
  QPalette black = LayoutList->palette();
  black.setColor(QPalette::Text, Qt::black);
  LayoutList->setPalette(black);
  LayoutList->setSelectionMode(QAbstractItemView::SingleSelection);

  Label2 = new QLabel(QStringLiteral("Description"), this);
  Label2->setGeometry(16, 177, 509, 16);

  // Two columns: the lines run down the first column, then on in the second.
  ListBox1 = new QListWidget(this);
  ListBox1->setGeometry(16, 193, 509, 96);
  ListBox1->setToolTip(QStringLiteral("This is a description of the selected layout"));
  ListBox1->setFlow(QListView::TopToBottom);
  ListBox1->setWrapping(true);
  ListBox1->setResizeMode(QListView::Adjust);
  // Seven lines fit in the first column; a scroll bar would take the room of
  // the last one and push it into the second column.
  ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ListBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ListBox1->setGridSize(QSize((509 - 2 * ListBox1->frameWidth()) / 2, ListBox1->fontMetrics().height()));
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);

  BottomBar = new QFrame(this);
  BottomBar->setGeometry(0, 300, 542, 49);
  BottomBar->setFrameShape(QFrame::Panel);
  BottomBar->setFrameShadow(QFrame::Raised);

  okbutton = new QPushButton(QStringLiteral("Ok"), BottomBar);
  okbutton->setGeometry(276, 12, 75, 25);
  okbutton->setDefault(true);
  CancelButton = new QPushButton(QStringLiteral("Cancel"), BottomBar);
  CancelButton->setGeometry(361, 12, 75, 25);
  Helpbutton = new QPushButton(QStringLiteral("Help"), BottomBar);
  Helpbutton->setGeometry(446, 12, 75, 25);

  // The description follows the selection however it moves (mouse or keys).
  connect(LayoutList, &QListWidget::currentRowChanged, this, [this] { LayoutListClick(); });
  connect(okbutton, &QPushButton::clicked, this, [this] { okbuttonClick(); });
  connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
  connect(Helpbutton, &QPushButton::clicked, this, [this] { HelpbuttonClick(); });

  FormCreate();
}

std::string TSelectLayout::ChooseLayout(TKLXPagePanel& panel, QWidget* parent) {
  TSelectLayout dialog(parent ? parent : ApplicationMainForm());
  CenterForm(dialog);
  dialog.SetPagePanel(&panel);
  dialog.FillLayouts();
  if (Dialogs().Exec(dialog) != ResultOk) return {};
  return dialog.SelectedLayoutName();
}

void TSelectLayout::FillLayouts() {
  FLayoutNames.clear();
  LayoutList->clear();
  if (FPagePanel) FPagePanel->FillLayoutNames(FLayoutNames);
  for (const std::string& name : FLayoutNames) LayoutList->addItem(FromAnsi(name));
  FormCreate();
}

std::string TSelectLayout::SelectedLayoutName() const {
  const int row = LayoutList->currentRow();
  if (row < 0 || row >= static_cast<int>(FLayoutNames.size())) return {};
  return FLayoutNames[static_cast<std::size_t>(row)];
}

void TSelectLayout::FormCreate() {
  // An empty table leaves the list without a selection.
  if (LayoutList->count() > 0) LayoutList->setCurrentRow(0);
}

void TSelectLayout::FormActivate() { LayoutListClick(); }

void TSelectLayout::LayoutListClick() {
  const std::string name = SelectedLayoutName();
  if (name.empty() || !FPagePanel) return;
  QStringList lines;
  for (int i = 0; i < ListBox1->count(); ++i) lines << ListBox1->item(i)->text();
  FPagePanel->DescribeLayout(name, lines);
  ListBox1->clear();
  ListBox1->addItems(lines);
}

void TSelectLayout::okbuttonClick() { done(ResultOk); }

void TSelectLayout::CancelButtonClick() { done(ResultCancel); }

void TSelectLayout::HelpbuttonClick() { ShowHelpContext(HelpTopic); }

void TSelectLayout::reject() { done(ResultCancel); }

void TSelectLayout::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormActivate();
}
