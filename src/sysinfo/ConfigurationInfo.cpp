#include "sysinfo/ConfigurationInfo.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/AppRoutines.h"
#include "platform/DialogFont.h"
#include "platform/DialogService.h"

namespace {

constexpr int kClientWidth = 420;
constexpr int kClientHeight = 373;
constexpr int kTabColumns = 8;

const char* const kIntroduction =
    "If you are sending a message to Orvane Technical Support, the following information can be very "
    "helpful.\n\nPress the Copy to Clipboard button below to copy this information to the Windows clipboard. "
    " "
    "You may then use the Paste command  (or CTRL+V) to paste the information into your email program or "
    "word processor.\n\n";

}  // namespace

TConfigurationInfo::TConfigurationInfo(const TReportPreferences& preferences, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("ConfigurationInfo"));
  setWindowTitle(QStringLiteral("Configuration Information"));
  setFont(DialogFont(*this));
  setFixedSize(kClientWidth, kClientHeight);

  Label1 = new QLabel(QString::fromLatin1(kIntroduction), this);
  Label1->setWordWrap(true);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label1->setGeometry(8, 8, kClientWidth - 16, 96);

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setGeometry(8, 108, kClientWidth - 16, 218);
  QFont fixed(QStringLiteral("Courier New"), 8);
  fixed.setStyleHint(QFont::TypeWriter);
  Memo1->setFont(fixed);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setTabChangesFocus(false);
  // A tab every eight characters, so that the padded labels line up their values.
  Memo1->setTabStopDistance(QFontMetricsF(Memo1->font()).horizontalAdvance(QLatin1Char(' ')) * kTabColumns);

  Button1 = new QPushButton(QStringLiteral("Copy to Clipboard"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(112, 336, 113, 25);
  Button2 = new QPushButton(QStringLiteral("OK"), this);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->setGeometry(233, 336, 75, 25);
  Button2->setDefault(true);

  HiddenPanel = new QWidget(this);
  HiddenPanel->hide();
  CopyPasteMemo = new QPlainTextEdit(HiddenPanel);
  CopyPasteMemo->setLineWrapMode(QPlainTextEdit::NoWrap);

  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

  SetReport(ConfigurationReport(ReadSystemFacts(this), preferences, QLocale()));
}

void TConfigurationInfo::ShowReport(const TReportPreferences& preferences, QWidget* parent) {
  TConfigurationInfo dialog(preferences, parent ? parent : ApplicationMainForm());
  CenterForm(dialog);
  Dialogs().Exec(dialog);
}

void TConfigurationInfo::SetReport(const QStringList& lines) { Memo1->setPlainText(lines.join('\n')); }

QStringList TConfigurationInfo::ReportLines() const { return Memo1->toPlainText().split('\n'); }

void TConfigurationInfo::FormActivate() {
  QTextCursor start = Memo1->textCursor();
  start.movePosition(QTextCursor::Start);
  Memo1->setTextCursor(start);
  Memo1->ensureCursorVisible();
}

void TConfigurationInfo::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormActivate();
}

void TConfigurationInfo::Button1Click() {
  // The copy goes through a box of its own, so the visible selection stays.
  CopyPasteMemo->clear();
  CopyPasteMemo->setPlainText(Memo1->toPlainText());
  CopyPasteMemo->selectAll();
  CopyPasteMemo->copy();
  ShowAppMessageBox(QStringLiteral("Information copied to Windows clipboard"),
                    QStringLiteral("Configuration Information"), mbOK | mbIconInformation);
}

void TConfigurationInfo::Button2Click() { accept(); }
