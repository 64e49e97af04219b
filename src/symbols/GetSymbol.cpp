#include "symbols/GetSymbol.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <string>

#include "platform/AppRoutines.h"
#include "platform/DialogFont.h"
#include "platform/DialogService.h"
#include "richtext/MulDiv.h"
#include "richtext/gui/RichText.h"
#include "symbols/RptSpeedButton.h"
#include "symbols/SymbolFonts.h"

namespace {

constexpr int kClientWidth = 491;
constexpr int kClientHeight = 284;
constexpr int kTopPanelHeight = 37;
constexpr int kBottomPanelHeight = 43;
constexpr int kGridBorder = 5;
constexpr int kStartColumns = 8;

// A letter A with a mark beside it: smaller, larger or the default size.
enum class TSizeGlyph { Smaller, Larger, Default };

QIcon SizeGlyph(TSizeGlyph kind) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QColor ink(40, 40, 40);
  QFont letter(QStringLiteral("Arial"));
  letter.setBold(true);
  letter.setPixelSize(kind == TSizeGlyph::Smaller ? 9 : kind == TSizeGlyph::Larger ? 15 : 12);
  p.setFont(letter);
  p.setPen(ink);
  p.drawText(QRect(0, 0, 11, 16), Qt::AlignCenter, QStringLiteral("A"));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 110, 200));
  QPolygonF mark;
  if (kind == TSizeGlyph::Smaller)
    mark << QPointF(10.5, 7) << QPointF(15.5, 7) << QPointF(13, 11);
  else if (kind == TSizeGlyph::Larger)
    mark << QPointF(10.5, 10) << QPointF(15.5, 10) << QPointF(13, 5);
  if (!mark.isEmpty()) {
    p.drawPolygon(mark);
  } else {
    p.drawRect(QRectF(11, 6, 4.5, 1.5));
    p.drawRect(QRectF(11, 9.5, 4.5, 1.5));
  }
  return QIcon(pixmap);
}

QPushButton* MakeBarButton(QWidget* parent, const QString& caption, const QString& hint, int left) {
  auto* button = new QPushButton(caption, parent);
  button->setToolTip(hint);
  button->setGeometry(left, 9, 75, 25);
  return button;
}

// The keystroke that types a character code of 32 to 255.
QString KeystrokeText(int code) {
  if (code == 32) return QStringLiteral("Keystroke: Spacebar");
  if (code >= 33 && code <= 126) return QStringLiteral("Keystroke: ") + QChar(char16_t(code));
  return QStringLiteral("Keystroke: Alt+0") + QString::number(code);
}

// The grid's columns for a font size in points; sizes outside 6..72 keep
// the current number.
int ColumnsForSize(int points, int current) {
  if (points >= 6 && points <= 10) return 14;
  if (points >= 11 && points <= 20) return 10;
  if (points >= 21 && points <= 30) return 8;
  if (points >= 31 && points <= 40) return 6;
  if (points >= 41 && points <= 50) return 4;
  if (points >= 51 && points <= 60) return 3;
  if (points >= 61 && points <= 72) return 2;
  return current;
}

}  // namespace

// ---------------------------------------------------------------------------

TSymbolListBox::TSymbolListBox(QWidget* parent) : QListWidget(parent) {
  setViewMode(QListView::ListMode);
  setFlow(QListView::TopToBottom);
  setWrapping(true);
  setResizeMode(QListView::Adjust);
  setUniformItemSizes(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void TSymbolListBox::SetColumns(int columns) {
  if (columns < 1 || columns == FColumns) return;
  FColumns = columns;
  UpdateGrid();
}

void TSymbolListBox::resizeEvent(QResizeEvent* event) {
  QListWidget::resizeEvent(event);
  UpdateGrid();
}

void TSymbolListBox::changeEvent(QEvent* event) {
  QListWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) UpdateGrid();
}

void TSymbolListBox::UpdateGrid() {
  // Each column takes an equal share of the width; a row is one line of the font.
  setGridSize(QSize(std::max(1, viewport()->width() / FColumns), QFontMetrics(font()).height()));
  if (currentItem()) scrollToItem(currentItem());
}

// ---------------------------------------------------------------------------

TGetSymbol::TGetSymbol(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("GetSymbol"));
  setWindowTitle(QStringLiteral("Symbol Selector"));
  setFont(DialogFont(*this));
  setFixedSize(kClientWidth, kClientHeight);

  auto* top = new QWidget(this);
  top->setGeometry(0, 0, kClientWidth, kTopPanelHeight);
  Label1 = new QLabel(QStringLiteral("&Font"), top);
  Label1->setGeometry(8, 11, 28, 16);
  SymbolSets = new QComboBox(top);
  SymbolSets->setObjectName(QStringLiteral("SymbolSets"));
  SymbolSets->setGeometry(38, 8, 170, 22);
  SymbolSets->setToolTip(QStringLiteral("Select a symbol font set"));
  Label1->setBuddy(SymbolSets);
  RptSpeedButton1 = new TRptSpeedButton(top);
  RptSpeedButton1->setObjectName(QStringLiteral("RptSpeedButton1"));
  RptSpeedButton1->setGeometry(216, 7, 24, 24);
  RptSpeedButton1->setIcon(SizeGlyph(TSizeGlyph::Smaller));
  RptSpeedButton1->setToolTip(QStringLiteral("Make the display font smaller"));
  RptSpeedButton2 = new TRptSpeedButton(top);
  RptSpeedButton2->setObjectName(QStringLiteral("RptSpeedButton2"));
  RptSpeedButton2->setGeometry(241, 7, 24, 24);
  RptSpeedButton2->setIcon(SizeGlyph(TSizeGlyph::Larger));
  RptSpeedButton2->setToolTip(QStringLiteral("Make the display font larger"));
  PSpeedButton1 = new TPSpeedButton(top);
  PSpeedButton1->setObjectName(QStringLiteral("PSpeedButton1"));
  PSpeedButton1->setGeometry(266, 7, 24, 24);
  PSpeedButton1->setIcon(SizeGlyph(TSizeGlyph::Default));
  PSpeedButton1->setToolTip(QStringLiteral("Set the display font to its default size"));
  Keystroke = new QLabel(top);
  Keystroke->setObjectName(QStringLiteral("Keystroke"));
  Keystroke->setGeometry(304, 11, 180, 16);
  Keystroke->setToolTip(QStringLiteral("This is the keystroke for the current character"));

  // The staging editor builds the rich text; nobody sees or types into it.
  WPRichText1 = new TWPRichText(this);
  WPRichText1->setObjectName(QStringLiteral("WPRichText1"));
  WPRichText1->hide();
  WPRichText1->SetReadOnly(true);
  WPRichText1->SetCaretDisabled(true);

  SymbolList = new TSymbolListBox(this);
  SymbolList->setObjectName(QStringLiteral("SymbolList"));
  SymbolList->setGeometry(kGridBorder, kTopPanelHeight + kGridBorder, kClientWidth - 2 * kGridBorder,
                          kClientHeight - kTopPanelHeight - kBottomPanelHeight - 2 * kGridBorder);
  SymbolList->SetColumns(kStartColumns);
  for (int code = FirstCode; code < FirstCode + CodeCount; ++code) {
    auto* item = new QListWidgetItem(QString(QChar(char16_t(code))), SymbolList);
    item->setTextAlignment(Qt::AlignCenter);
  }

  auto* bottom = new QFrame(this);
  bottom->setGeometry(0, kClientHeight - kBottomPanelHeight, kClientWidth, kBottomPanelHeight);
  CopyCharButton = MakeBarButton(bottom, QStringLiteral("Ok"),
                                 QStringLiteral("Copy the selected symbol to the label"), 245);
  CopyCharButton->setObjectName(QStringLiteral("CopyCharButton"));
  CopyCharButton->setDefault(true);
  OKButton = MakeBarButton(bottom, QStringLiteral("Cancel"), QString(), 326);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  Helpbutton = MakeBarButton(bottom, QStringLiteral("&Help"), QString(), 407);
  Helpbutton->setObjectName(QStringLiteral("Helpbutton"));

  connect(SymbolSets, &QComboBox::activated, this, [this] { SymbolSetsClick(); });
  connect(SymbolList, &QListWidget::currentRowChanged, this, [this] { SymbolListClick(); });
  connect(SymbolList, &QListWidget::itemDoubleClicked, this, [this] { CopyCharButtonClick(); });
  connect(RptSpeedButton1, &QToolButton::clicked, this, [this] { RptSpeedButton1Click(); });
  connect(RptSpeedButton2, &QToolButton::clicked, this, [this] { RptSpeedButton2Click(); });
  connect(PSpeedButton1, &QToolButton::clicked, this, [this] { PSpeedButton1Click(); });
  connect(CopyCharButton, &QPushButton::clicked, this, [this] { CopyCharButtonClick(); });
  connect(OKButton, &QPushButton::clicked, this, [this] { reject(); });
  connect(Helpbutton, &QPushButton::clicked, this, [this] { HelpbuttonClick(); });
  setTabOrder(SymbolSets, SymbolList);
  setTabOrder(SymbolList, CopyCharButton);
  setTabOrder(CopyCharButton, OKButton);
  setTabOrder(OKButton, Helpbutton);

  LoadFontsList();
}

TGetSymbol::~TGetSymbol() = default;

int TGetSymbol::ShowModal() {
  // Checked at every use, so that each attempt says why no symbol comes.
  if (SymbolSets->count() == 0) {
    ShowMessage(QStringLiteral("No Symbol fonts installed"));
    return ResultCancel;
  }
  return Dialogs().Exec(*this);
}

void TGetSymbol::LoadFontsList() {
  SymbolSets->clear();
  const QStringList names = SymbolFontNames(InstalledFontFacts());
  SymbolSets->addItems(names);
  if (names.isEmpty()) return;
  // The grid is drawn in Wingdings where there is one, else in the first symbol font.
  const int wingdings = SymbolSets->findText(QStringLiteral("Wingdings"), Qt::MatchFixedString);
  SymbolSets->setCurrentIndex(wingdings >= 0 ? wingdings : 0);
  SetSymbolFont(SymbolSets->currentText(), FSymbolFontSize);
  SymbolList->setCurrentRow(0);
}

void TGetSymbol::FormActivate() { SymbolListClick(); }

void TGetSymbol::reject() { done(ResultCancel); }

void TGetSymbol::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormActivate();
}

void TGetSymbol::SymbolSetsClick() { SetSymbolFont(SymbolSets->currentText(), FSymbolFontSize); }

void TGetSymbol::SetSymbolFont(const QString& name, int points) {
  FSymbolFontName = name;
  FSymbolFontSize = points;
  QFont font(name);
  const QScreen* display = screen();
  const int ppi = display ? qRound(display->logicalDotsPerInchY()) : 96;
  font.setPixelSize(std::max(1, MulDiv(points, ppi > 0 ? ppi : 96, 72)));
  SymbolList->setFont(font);
}

void TGetSymbol::SymbolListClick() {
  const int row = SymbolList->currentRow();
  if (row < 0 || FSymbolFontName.isEmpty()) return;
  const int code = FirstCode + row;
  WPRichText1->SetReadOnly(false);
  WPRichText1->Clear();
  TAttr attr = WPRichText1->GetWritingAttributes();
  const int slot = WPRichText1->FontNumber(FSymbolFontName.toStdString());
  if (slot < TTextHeader::kFontSlots) attr.FontIndex = static_cast<std::uint8_t>(slot);
  attr.Colors = 0;
  attr.Size = static_cast<std::uint8_t>(FSymbolFontSize);
  WPRichText1->SetWritingAttributes(attr);
  Keystroke->setText(KeystrokeText(code));
  TWPRTFTextInput& document = *WPRichText1->RtfText();
  document.InputCharacters(std::string(1, static_cast<char>(code)));
  document.ReformatAll();
  WPRichText1->SetReadOnly(true);
}

void TGetSymbol::CopyCharButtonClick() {
  WPRichText1->SelectAll();
  WPRichText1->CopyToClipboard();
  WPRichText1->RtfText()->ReformatAll();
  done(ResultOk);
}

void TGetSymbol::SizeChanged(int points) {
  SetSymbolFont(FSymbolFontName, points);
  SymbolList->SetColumns(ColumnsForSize(points, SymbolList->Columns()));
  SymbolListClick();
}

void TGetSymbol::RptSpeedButton1Click() {
  SizeChanged(FSymbolFontSize <= SmallestSize ? FSymbolFontSize : FSymbolFontSize - 1);
}

void TGetSymbol::RptSpeedButton2Click() {
  SizeChanged(FSymbolFontSize >= LargestSize ? FSymbolFontSize : FSymbolFontSize + 1);
}

void TGetSymbol::PSpeedButton1Click() { SizeChanged(DefaultSize); }

void TGetSymbol::HelpbuttonClick() { ShowHelpContext(HelpTopic); }
