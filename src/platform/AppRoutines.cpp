#include "platform/AppRoutines.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QMargins>
#include <QPointer>
#include <QPrinterInfo>
#include <QProxyStyle>
#include <QScreen>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTemporaryFile>
#include <QWidget>

#include "platform/AppGlobals.h"
#include "platform/DialogService.h"

namespace {

QString& DirectoryOverride() {
  static QString directory;
  return directory;
}

std::optional<TPrinterQuery>& PrinterQueryOverride() {
  static std::optional<TPrinterQuery> query;
  return query;
}

QPointer<QWidget>& MainForm() {
  static QPointer<QWidget> form;
  return form;
}

QString WithTrailingSlash(QString directory) {
  if (!directory.endsWith(QLatin1Char('/'))) directory += QLatin1Char('/');
  return directory;
}

// Swallows tool-tip events while hints are switched off.
class THintSwitch : public QObject {
 public:
  bool Show = true;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!Show && event->type() == QEvent::ToolTip) return true;
    return QObject::eventFilter(watched, event);
  }
};

THintSwitch& HintSwitch() {
  static THintSwitch* hintSwitch = nullptr;
  if (!hintSwitch) {
    hintSwitch = new THintSwitch;
    hintSwitch->setParent(qApp);  // goes with the application
    qApp->installEventFilter(hintSwitch);
  }
  return *hintSwitch;
}

// The hint pause is a style hint in Qt; a thin proxy over the current style.
class THintPauseStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int Pause = 700;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return Pause;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

// How far a top-level widget's frame reaches beyond its client area; zero
// until the window system has framed it.
QMargins FrameMargins(const QWidget& widget) {
  const QRect frame = widget.frameGeometry(), client = widget.geometry();
  return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
          frame.bottom() - client.bottom()};
}

// A form's frame is known only once it is on the screen and framed. Until
// then it is taken to be framed like the main window; when the real frame
// turns out otherwise the form is centred again, once, before the user can
// move it. Without any frame (no window manager) the guess stands.
class TCentreOnceFramed : public QObject {
 public:
  TCentreOnceFramed(QWidget& form, const QRect& over, const QSize& centredOn)
      : QObject(&form), FOver(over), FCentredOn(centredOn) {
    setObjectName(QStringLiteral("CentreOnceFramed"));
    form.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    auto* form = static_cast<QWidget*>(watched);
    if ((type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize) && form->isVisible() &&
        !FrameMargins(*form).isNull()) {
      const QSize frame = form->frameGeometry().size();
      if (frame != FCentredOn) form->move(CenteredPosition(frame, FOver));
      form->removeEventFilter(this);
      deleteLater();
    }
    return false;
  }

 private:
  QRect FOver;
  QSize FCentredOn;
};

}  // namespace

QString ApplicationDirectory() {
  if (!DirectoryOverride().isEmpty()) return WithTrailingSlash(DirectoryOverride());
  return WithTrailingSlash(QCoreApplication::applicationDirPath());
}

void SetApplicationDirectoryOverride(const QString& directory) { DirectoryOverride() = directory; }

QString PreferencesFileName() {
  if (GlobalApplicationPrefix.isEmpty()) {
    ShowMessage(QStringLiteral("Application Prefix not set"));
    return {};
  }
  QString folder = ApplicationDirectory();
  if (!FolderTakesNewFiles(folder)) {
    folder = WithTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    QDir().mkpath(folder);
  }
  return folder + GlobalApplicationPrefix + QStringLiteral(".ini");
}

bool ReportMissingPrefix(const char* routine) {
  if (!GlobalApplicationPrefix.isEmpty()) return false;
  ShowMessage(QStringLiteral("Application Prefix not set for ") + QLatin1String(routine));
  return true;
}

QString DocumentsDirectory() {
  if (FolderTakesNewFiles(ApplicationDirectory())) return ApplicationDirectory();
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return WithTrailingSlash(QFileInfo(documents).isDir() ? documents : QDir::homePath());
}

bool FolderTakesNewFiles(const QString& folder) {
  // Asking the system to create a file is the one test that knows about
  // read-only mounts, access lists and privileges alike.
  QTemporaryFile probe(WithTrailingSlash(folder) + QStringLiteral(".probe-XXXXXX"));
  return probe.open();
}

int ShowAppMessageBox(const QString& text, const QString& caption, unsigned flags) {
  return Dialogs().MessageBox(text, caption, flags);
}

bool ConfirmYesNo(const QString& text, const QString& caption) {
  return ShowAppMessageBox(text, caption, mbYesNo | mbIconQuestion) == idYes;
}

void ShowInformation(const QString& text) {
  ShowAppMessageBox(text, QStringLiteral("Information"), mbOK | mbIconInformation);
}

void ShowMessage(const QString& text) { ShowAppMessageBox(text, GlobalApplicationName, mbOK); }

void ShowException(const std::exception& error) {
  ShowAppMessageBox(QString::fromLocal8Bit(error.what()), GlobalApplicationName, mbOK | mbIconError);
}

void BeginBusyCursor() {
  if (QApplication::overrideCursor())
    QApplication::changeOverrideCursor(Qt::WaitCursor);
  else
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void EndBusyCursor() {
  while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

static TPrinterQuery AskPrintingSystem() {
  if (PrinterQueryOverride()) return *PrinterQueryOverride();
  return {QPrinterInfo::availablePrinterNames(), QPrinterInfo::defaultPrinterName()};
}

bool HasDefaultPrinter() { return !AskPrintingSystem().DefaultPrinter.isEmpty(); }

bool PrinterAvailable(bool showMessages) {
  if (AskPrintingSystem().Printers.isEmpty()) {
    if (showMessages)
      ShowInformation(
          QStringLiteral("There are no installed printers.\r\nUnable to perform printer related operations"));
    return false;
  }
  if (!HasDefaultPrinter()) {
    if (showMessages)
      ShowInformation(QStringLiteral(
          "There is no default printer selected.\r\nUnable to perform printer related operations"));
    return false;
  }
  return true;
}

void SetPrinterQueryOverride(std::optional<TPrinterQuery> query) {
  PrinterQueryOverride() = std::move(query);
}

void SetApplicationMainForm(QWidget* form) { MainForm() = form; }

QWidget* ApplicationMainForm() { return MainForm().data(); }

QPoint CenteredPosition(const QSize& formSize, const QRect& over) {
  // C++ integer division truncates toward zero, as the placement rule wants.
  return {over.left() + (over.width() - formSize.width()) / 2,
          over.top() + (over.height() - formSize.height()) / 2};
}

void CenterForm(QWidget& form) {
  QWidget* main = ApplicationMainForm();
  const bool isMainClass =
      main && qstrcmp(form.metaObject()->className(), main->metaObject()->className()) == 0;
  QRect over;
  if (!main || isMainClass || main->isMaximized()) {
    QScreen* screen = form.screen() ? form.screen() : QGuiApplication::primaryScreen();
    if (screen) over = screen->geometry();
  } else {
    over = main->frameGeometry();
  }
  if (!over.isNull()) {
    const bool framed = form.isVisible();
    const QMargins likeMain = main && main != &form && main->isVisible() ? FrameMargins(*main) : QMargins();
    const QSize size = framed ? form.frameGeometry().size() : form.size().grownBy(likeMain);
    form.move(CenteredPosition(size, over));
    delete form.findChild<QObject*>(QStringLiteral("CentreOnceFramed"), Qt::FindDirectChildrenOnly);
    if (!framed) new TCentreOnceFramed(form, over, size);
  }
  if (form.windowFlags() & Qt::WindowMaximizeButtonHint)
    form.setWindowFlags(form.windowFlags() | Qt::WindowSystemMenuHint);
}

void SetApplicationShowHint(bool show) { HintSwitch().Show = show; }

bool ApplicationShowHint() { return HintSwitch().Show; }

void SetApplicationHintPause(int milliseconds) {
  auto* style = dynamic_cast<THintPauseStyle*>(QApplication::style());
  if (!style) {
    style = new THintPauseStyle(QStyleFactory::create(QApplication::style()->name()));
    QApplication::setStyle(style);  // the application owns it
  }
  style->Pause = milliseconds;
}
