#include "printing/LabelPrintPrep.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <algorithm>
#include <limits>

#include "platform/AppRoutines.h"
#include "platform/DialogFont.h"
#include "platform/DialogService.h"
#include "printing/PaintBox.h"
#include "printing/SheetPrinter.h"

namespace {

// The designed size of the page panel and the dialog around it.
constexpr int kPanelLeft = 69;
constexpr int kPanelTop = 3;
constexpr int kPanelWidth = 204;
constexpr int kPanelHeight = 294;
constexpr int kPageLabelHeight = 17;
constexpr int kPageBottomHeight = 29;
constexpr int kDialogWidth = kPanelLeft + kPanelWidth + kPanelLeft;
constexpr int kBarGap = 6;
constexpr int kBarHeight = 43;
// Where the page lies inside the paint box.
constexpr int kPageOffset = 10;
// The letter page up to which the designed panel holds the miniature.
constexpr std::int32_t kDesignedPageWidth = 8500;
constexpr std::int32_t kDesignedPageHeight = 11000;

const QColor kSelectedColor(0xFF, 0x80, 0x80);

int ClampToInt(long double value) {
  constexpr long double limit = std::numeric_limits<int>::max();
  if (!(value < limit)) return std::numeric_limits<int>::max();
  if (!(value > -limit)) return -std::numeric_limits<int>::max();
  return static_cast<int>(value);
}

// The platform's rectangle drawing: outline and fill, right and bottom edges
// outside.
void DrawRectangle(QPainter& canvas, const TCellRect& r) {
  canvas.drawRect(QRect(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1));
}

QPushButton* MakeBarButton(QWidget* parent, const QString& caption, const QString& hint, int left) {
  auto* button = new QPushButton(caption, parent);
  button->setToolTip(hint);
  button->setGeometry(left, 9, 75, 25);
  return button;
}

QToolButton* MakeFlatButton(QWidget* parent, const QString& caption, const QString& hint) {
  auto* button = new QToolButton(parent);
  button->setText(caption);
  button->setToolTip(hint);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::TabFocus);
  return button;
}

}  // namespace

TLabelPrintPrep::TLabelPrintPrep(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("LabelPrintPrep"));
  setWindowTitle(QStringLiteral("Labels Print"));
  setFont(DialogFont(*this));

  PagePanel = new QFrame(this);
  PagePanel->setGeometry(kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight);

  PageLabel = new QLabel(QStringLiteral(" Select Labels To Print"), PagePanel);
  QFont bold = font();
  bold.setBold(true);
  PageLabel->setFont(bold);
  PageLabel->setAutoFillBackground(true);
  PageLabel->setBackgroundRole(QPalette::Highlight);
  PageLabel->setForegroundRole(QPalette::HighlightedText);

  PaintBox1 = new TPaintBox(PagePanel);
  PaintBox1->setToolTip(QStringLiteral("Click here to select/unselect labels to print"));
  PaintBox1->OnPaint = [this](QPainter& canvas) { PaintBox1Paint(canvas); };
  PaintBox1->OnMouseDown = [this](Qt::MouseButton button, QPoint at) { PaintBox1MouseDown(button, at); };

  PageBottomPanel = new QFrame(PagePanel);
  SelectAll =
      MakeFlatButton(PageBottomPanel, QStringLiteral("&All"), QStringLiteral("Click to select all labels"));
  Selectnone =
      MakeFlatButton(PageBottomPanel, QStringLiteral("&None"), QStringLiteral("Click to select no labels"));

  BottomBar = new QFrame(this);
  BottomBar->setFrameShape(QFrame::Panel);
  BottomBar->setFrameShadow(QFrame::Raised);
  BitBtn1 = MakeBarButton(BottomBar, QStringLiteral("&Print"), QStringLiteral("Click to print"), 9);
  BitBtn1->setDefault(true);
  BitBtn2 = MakeBarButton(
      BottomBar, QStringLiteral("&Setup"),
      QStringLiteral("Click to set up the printer, and select the number of copies to print"), 92);
  BitBtn3 = MakeBarButton(BottomBar, QStringLiteral("&Cancel"), QStringLiteral("Click to cancel"), 175);
  Helpbutton = MakeBarButton(BottomBar, QStringLiteral("&Help"), QString(), 258);

  connect(SelectAll, &QToolButton::clicked, this, [this] { SelectAllClick(); });
  connect(Selectnone, &QToolButton::clicked, this, [this] { SelectnoneClick(); });
  connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
  connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
  connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
  connect(Helpbutton, &QPushButton::clicked, this, [this] { HelpbuttonClick(); });

  FitToPagePanel();
  FormCreate();
}

TLabelPrintPrep::~TLabelPrintPrep() = default;

std::optional<TLabelPrintChoice> TLabelPrintPrep::ChooseLabels(const TLabelLayoutRecord& layout,
                                                               QWidget* parent) {
  TLabelPrintPrep dialog(parent ? parent : ApplicationMainForm());
  dialog.AssignLayout(layout);
  dialog.FormActivate();  // sized for the sheet before it is centred
  CenterForm(dialog);
  if (Dialogs().Exec(dialog) != ResultPrint) return std::nullopt;
  return dialog.TakeChoice();
}

void TLabelPrintPrep::AssignLayout(const TLabelLayoutRecord& layout) {
  FLayout = layout;
  LabelHeight = layout.LabelHeight;
  LabelWidth = layout.LabelWidth;
  NumberAcross = layout.NumberAcross;
  NumberDown = layout.NumberDown;
  TopMargin = layout.TopMargin;
  LeftMargin = layout.LeftMargin;
  HorizontalPitch = layout.HorizontalPitch;
  VerticalPitch = layout.VerticalPitch;
  PageWidth = layout.PageWidth;
  PageHeight = layout.PageHeight;
  HorizontalCenterGap = layout.HorizontalCenterGap;
  VerticalCenterGap = layout.VerticalCenterGap;
}

long double TLabelPrintPrep::Scaled(long double v) const { return v * 0.0002L * FPPI; }

int TLabelPrintPrep::S(long double v) const { return ClampToInt(Scaled(v)); }

QPrinter& TLabelPrintPrep::PrintDialog1() {
  if (!FPrinter) {
    FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    FPrinter->setCopyCount(1);
    PrepareSheetPrinter(*FPrinter, FLayout);
  }
  return *FPrinter;
}

TLabelPrintChoice TLabelPrintPrep::TakeChoice() {
  TLabelPrintChoice choice;
  choice.Flags = FSelection;
  choice.Copies = FCopies;
  if (FPrinterChosen) choice.Printer = std::move(FPrinter);
  return choice;
}

void TLabelPrintPrep::FormCreate() {
  const QScreen* screen = this->screen();
  const int ppi = screen ? qRound(screen->logicalDotsPerInchX()) : 96;
  FPPI = ppi > 0 ? ppi : 96;
  FSelection.fill(true);
}

void TLabelPrintPrep::FormActivate() {
  QSize panel = PagePanel->size();
  if (PageWidth > kDesignedPageWidth) panel.setWidth(S(PageWidth) + 2 * kPageOffset);
  if (PageHeight > kDesignedPageHeight)
    panel.setHeight(S(PageHeight) + 2 * kPageOffset + PageLabel->height() + PageBottomPanel->height());
  PagePanel->resize(panel);
  FitToPagePanel();
  DetermineRectangles();
}

void TLabelPrintPrep::FitToPagePanel() {
  const int w = PagePanel->width();
  const int h = PagePanel->height();
  PageLabel->setGeometry(0, 0, w, kPageLabelHeight);
  PaintBox1->setGeometry(0, kPageLabelHeight, w, h - kPageLabelHeight - kPageBottomHeight);
  PageBottomPanel->setGeometry(0, h - kPageBottomHeight, w, kPageBottomHeight);
  SelectAll->setGeometry(8, 4, 60, 21);
  Selectnone->setGeometry(w - 68, 4, 60, 21);

  // The panel stays centred; the dialog grows with a panel that outgrows it.
  const int dialogWidth = std::max(kDialogWidth, w + 2 * kPanelLeft);
  PagePanel->move((dialogWidth - w) / 2, kPanelTop);
  const int barTop = kPanelTop + h + kBarGap;
  BottomBar->setGeometry(0, barTop, dialogWidth, kBarHeight);
  const int buttonsLeft = (dialogWidth - kDialogWidth) / 2;
  int left = buttonsLeft + 9;
  for (QPushButton* button : {BitBtn1, BitBtn2, BitBtn3, Helpbutton}) {
    button->move(left, button->y());
    left += 83;
  }
  setFixedSize(dialogWidth, barTop + kBarHeight);
}

int TLabelPrintPrep::LabelCount() const {
  const std::int64_t count = std::int64_t{NumberAcross} * NumberDown;
  return static_cast<int>(std::clamp<std::int64_t>(count, 0, FlagCount));
}

void TLabelPrintPrep::DetermineRectangles() {
  const std::int64_t left = std::int64_t{S(LeftMargin)} + kPageOffset;
  const std::int64_t top = std::int64_t{S(TopMargin)} + kPageOffset;
  const int pitchX = S(HorizontalPitch), pitchY = S(VerticalPitch);
  const int gapX = S(HorizontalCenterGap), gapY = S(VerticalCenterGap);
  const int w = S(LabelWidth), h = S(LabelHeight);
  for (int r = 0; r < NumberDown; ++r) {
    for (int c = 0; c < NumberAcross; ++c) {
      const std::int64_t k = std::int64_t{r} * NumberAcross + c;
      if (k >= FlagCount) return;
      std::int64_t x = left + std::int64_t{c} * pitchX;
      if (c + 1 > NumberAcross / 2 && HorizontalCenterGap > 0) x += gapX;
      std::int64_t y = top + std::int64_t{r} * pitchY;
      if (r + 1 > NumberDown / 2 && VerticalCenterGap > 0) y += gapY;
      FLabelRects[static_cast<std::size_t>(k)] = {ClampToInt(x), ClampToInt(y), ClampToInt(x + w),
                                                  ClampToInt(y + h)};
    }
  }
}

void TLabelPrintPrep::PaintBox1Paint(QPainter& canvas) {
  canvas.setPen(QPen(Qt::black, 1));
  canvas.setBrush(Qt::white);
  DrawRectangle(canvas, {kPageOffset, kPageOffset, S(PageWidth) + kPageOffset, S(PageHeight) + kPageOffset});
  for (int k = 0; k < LabelCount(); ++k)
    FillLabelRect(canvas, FLabelRects[static_cast<std::size_t>(k)], FSelection[static_cast<std::size_t>(k)]);
}

void TLabelPrintPrep::FillLabelRect(QPainter& canvas, const TCellRect& rect, bool selected) {
  canvas.setBrush(selected ? kSelectedColor : QColor(Qt::white));
  DrawRectangle(canvas, rect);
}

void TLabelPrintPrep::PaintBox1MouseDown(Qt::MouseButton button, QPoint position) {
  FormMouseDown(button, position);
}

void TLabelPrintPrep::FormMouseDown(Qt::MouseButton, QPoint position) {
  for (int r = 0; r < NumberDown; ++r) {
    for (int c = 0; c < NumberAcross; ++c) {
      const std::int64_t k = std::int64_t{r} * NumberAcross + c;
      if (k >= FlagCount) return;
      if (!FLabelRects[static_cast<std::size_t>(k)].Contains(position.x(), position.y())) continue;
      FSelection[static_cast<std::size_t>(k)] = !FSelection[static_cast<std::size_t>(k)];
      RedrawLabel(static_cast<int>(k));
      break;  // the first hit of a row; the next row may hold another
    }
  }
}

void TLabelPrintPrep::RedrawLabel(int k) {
  const TCellRect& r = FLabelRects[static_cast<std::size_t>(k)];
  PaintBox1->update(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top));
}

void TLabelPrintPrep::SetAll(bool selected) {
  for (int k = 0; k < LabelCount(); ++k) {
    FSelection[static_cast<std::size_t>(k)] = selected;
    RedrawLabel(k);
  }
}

void TLabelPrintPrep::SelectAllClick() { SetAll(true); }

void TLabelPrintPrep::SelectnoneClick() { SetAll(false); }

bool TLabelPrintPrep::AnyChecked() const {
  return std::any_of(FSelection.begin(), FSelection.begin() + LabelCount(), [](bool b) { return b; });
}

void TLabelPrintPrep::BitBtn1Click() {
  if (AnyChecked())
    done(ResultPrint);
  else
    ShowInformation(QStringLiteral("Need at least one label selected"));
}

void TLabelPrintPrep::BitBtn2Click() {
  QPrinter& printer = PrintDialog1();
  if (!Dialogs().PrintDialog(printer)) return;
  FCopies = printer.copyCount();
  FPrinterChosen = true;
}

void TLabelPrintPrep::BitBtn3Click() { done(ResultCancel); }

void TLabelPrintPrep::HelpbuttonClick() { ShowHelpContext(HelpTopic); }

void TLabelPrintPrep::reject() { done(ResultCancel); }

void TLabelPrintPrep::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormActivate();
}
