#include "printing/PrintFineTune.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "platform/AppRoutines.h"
#include "platform/DialogFont.h"
#include "platform/DialogService.h"
#include "printing/SpinButton.h"

namespace {

constexpr int kPanelWidth = 228;
constexpr int kPanelHeight = 138;
constexpr int kValueFontPixels = 16;

QString SpinnerHint(const char* what) {
  // A tool tip breaks its lines at '\n'.
  return QStringLiteral("Click here to increase (down arrow) or decrease\n(up arrow) ") + QLatin1String(what);
}

QPushButton* MakeBarButton(QWidget* parent, const QString& caption, const QString& hint, int left) {
  auto* button = new QPushButton(caption, parent);
  button->setToolTip(hint);
  button->setGeometry(left, 12, 75, 25);
  return button;
}

}  // namespace

QString FormatNudge(std::int32_t value) {
  const std::int32_t v = std::clamp(value, -TPrintFineTune::NudgeLimit, TPrintFineTune::NudgeLimit);
  if (v == 0) return QStringLiteral("None");
  const QString amount = QString::number(v < 0 ? -v : v) + QStringLiteral("/1000\"");
  return (v < 0 ? QStringLiteral("Decrease by ") : QStringLiteral("Increase by ")) + amount;
}

TPrintFineTune::TPrintFineTune(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("PrintFineTune"));
  setWindowTitle(QStringLiteral("Printer Fine-Tuning"));
  setFont(DialogFont(*this));
  setFixedSize(480, 347);

  TopMarginSpinner =
      AddNudgePanel(QRect(8, 8, kPanelWidth, kPanelHeight), QStringLiteral("Top Margin nudge"),
                    lTopMarginNudge, SpinnerHint("the Top Margin nudge"),
                    QStringLiteral("Increase or decrease to adjust where vertical printing starts. "));
  LeftMarginSpinner =
      AddNudgePanel(QRect(244, 8, kPanelWidth, kPanelHeight), QStringLiteral("Left Margin nudge"),
                    LLeftMarginNudge, SpinnerHint("the Left Margin nudge"),
                    QStringLiteral("Increase or decrease to adjust where horizontal printing starts. "));
  VerticalSpacingSpinner = AddNudgePanel(
      QRect(8, 154, kPanelWidth, kPanelHeight), QStringLiteral("Vertical Spacing"), LVerticalSpacing,
      SpinnerHint("the vertical spacing between labels"),
      QStringLiteral(
          "Increase or decrease to adjust vertical spacing between labels.( You may need to adjust "
          "this if printing \"creeps\" between the top and bottom labels.)"));
  HorizontalSpacingSpinner =
      AddNudgePanel(QRect(244, 154, kPanelWidth, kPanelHeight), QStringLiteral("Horizontal Spacing"),
                    LHorizontalSpacing, SpinnerHint("the horizontal spacing between labels"),
                    QStringLiteral("Increase or decrease to adjust horizontal spacing between labels "));

  BottomBar = new QFrame(this);
  BottomBar->setGeometry(0, 298, 480, 49);
  BottomBar->setFrameShape(QFrame::Panel);
  BottomBar->setFrameShadow(QFrame::Raised);
  OKButton = MakeBarButton(BottomBar, QStringLiteral("Ok"), QStringLiteral("Click to save changes"), 154);
  OKButton->setDefault(true);
  Cancelbutton =
      MakeBarButton(BottomBar, QStringLiteral("Cancel"), QStringLiteral("Click to cancel changes"), 235);
  DefaultButton = MakeBarButton(BottomBar, QStringLiteral("Default"),
                                QStringLiteral("Click to revert to defaults (no adjustments)"), 316);
  Helpbutton = MakeBarButton(BottomBar, QStringLiteral("Help"), QString(), 397);

  TopMarginSpinner->OnDownClick = [this](QObject*) { TopMarginSpinnerDownClick(); };
  TopMarginSpinner->OnUpClick = [this](QObject*) { TopMarginSpinnerUpClick(); };
  LeftMarginSpinner->OnDownClick = [this](QObject*) { LeftMarginSpinnerDownClick(); };
  LeftMarginSpinner->OnUpClick = [this](QObject*) { LeftMarginSpinnerUpClick(); };
  VerticalSpacingSpinner->OnDownClick = [this](QObject*) { VerticalSpacingSpinnerDownClick(); };
  VerticalSpacingSpinner->OnUpClick = [this](QObject*) { VerticalSpacingSpinnerUpClick(); };
  HorizontalSpacingSpinner->OnDownClick = [this](QObject*) { HorizontalSpacingSpinnerDownClick(); };
  HorizontalSpacingSpinner->OnUpClick = [this](QObject*) { HorizontalSpacingSpinnerUpClick(); };
  connect(OKButton, &QPushButton::clicked, this, [this] { OKButtonClick(); });
  connect(Cancelbutton, &QPushButton::clicked, this, [this] { CancelbuttonClick(); });
  connect(DefaultButton, &QPushButton::clicked, this, [this] { DefaultButtonClick(); });
  connect(Helpbutton, &QPushButton::clicked, this, [this] { HelpbuttonClick(); });

  setTabOrder(TopMarginSpinner, LeftMarginSpinner);
  setTabOrder(LeftMarginSpinner, VerticalSpacingSpinner);
  setTabOrder(VerticalSpacingSpinner, HorizontalSpacingSpinner);
  setTabOrder(HorizontalSpacingSpinner, OKButton);
  FormCreate();
}

TSpinButton* TPrintFineTune::AddNudgePanel(QRect geometry, const QString& title, QLabel*& value,
                                           const QString& hint, const QString& explanation) {
  auto* panel = new QFrame(this);
  panel->setGeometry(geometry);
  panel->setFrameShape(QFrame::Box);
  panel->setFrameShadow(QFrame::Sunken);
  const int inner = geometry.width() - 4;

  auto* caption = new QLabel(title, panel);
  caption->setGeometry(2, 2, inner, 18);
  caption->setAlignment(Qt::AlignCenter);
  caption->setAutoFillBackground(true);
  caption->setBackgroundRole(QPalette::Highlight);
  caption->setForegroundRole(QPalette::HighlightedText);

  auto* spinner = new TSpinButton(panel);
  spinner->setGeometry(10, 30, 23, 39);
  spinner->setToolTip(hint);

  value = new QLabel(panel);
  QFont big(QStringLiteral("Arial"));
  big.setPixelSize(kValueFontPixels);
  big.setBold(true);
  value->setFont(big);
  value->setGeometry(40, 30, geometry.width() - 46, 39);
  value->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);

  auto* text = new QLabel(explanation, panel);
  text->setWordWrap(true);
  text->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  text->setGeometry(10, 76, geometry.width() - 20, geometry.height() - 80);
  return spinner;
}

bool TPrintFineTune::EditNudges(QWidget* parent) {
  TPrintFineTune dialog(parent ? parent : ApplicationMainForm());
  CenterForm(dialog);
  return Dialogs().Exec(dialog) == ResultOk;
}

void TPrintFineTune::FormCreate() {
  // A value from an edited preferences file beyond the limits starts at the
  // limit, as it is shown; the nudge itself changes only through OK.
  const auto inRange = [](std::int32_t v) { return std::clamp(v, -NudgeLimit, NudgeLimit); };
  const TPrinterNudges current = CurrentNudges();
  FValues = {inRange(current.TopMargin), inRange(current.LeftMargin), inRange(current.VerticalSpacing),
             inRange(current.HorizontalSpacing)};
  ShowValues();
}

void TPrintFineTune::FormActivate() { ShowValues(); }

void TPrintFineTune::ShowValues() {
  lTopMarginNudge->setText(FormatNudge(FValues.TopMargin));
  LLeftMarginNudge->setText(FormatNudge(FValues.LeftMargin));
  LVerticalSpacing->setText(FormatNudge(FValues.VerticalSpacing));
  LHorizontalSpacing->setText(FormatNudge(FValues.HorizontalSpacing));
}

void TPrintFineTune::Increase(std::int32_t& value) {
  if (value < NudgeLimit) ++value;
  ShowValues();
}

void TPrintFineTune::Decrease(std::int32_t& value) {
  if (value >= -NudgeLimit + 1) --value;
  ShowValues();
}

void TPrintFineTune::TopMarginSpinnerDownClick() { Increase(FValues.TopMargin); }
void TPrintFineTune::TopMarginSpinnerUpClick() { Decrease(FValues.TopMargin); }
void TPrintFineTune::LeftMarginSpinnerDownClick() { Increase(FValues.LeftMargin); }
void TPrintFineTune::LeftMarginSpinnerUpClick() { Decrease(FValues.LeftMargin); }
void TPrintFineTune::VerticalSpacingSpinnerDownClick() { Increase(FValues.VerticalSpacing); }
void TPrintFineTune::VerticalSpacingSpinnerUpClick() { Decrease(FValues.VerticalSpacing); }
void TPrintFineTune::HorizontalSpacingSpinnerDownClick() { Increase(FValues.HorizontalSpacing); }
void TPrintFineTune::HorizontalSpacingSpinnerUpClick() { Decrease(FValues.HorizontalSpacing); }

void TPrintFineTune::OKButtonClick() {
  SetCurrentNudges(FValues);
  done(ResultOk);
}

void TPrintFineTune::CancelbuttonClick() { done(ResultCancel); }

void TPrintFineTune::DefaultButtonClick() {
  FValues = {};
  ShowValues();
}

void TPrintFineTune::HelpbuttonClick() { ShowHelpContext(HelpTopic); }

void TPrintFineTune::reject() { done(ResultCancel); }

void TPrintFineTune::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormActivate();
}
