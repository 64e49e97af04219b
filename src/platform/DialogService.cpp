#include "platform/DialogService.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/AppRoutines.h"

namespace {

std::unique_ptr<TDialogService>& CurrentService() {
  static std::unique_ptr<TDialogService> service;
  return service;
}

QWidget* DialogParent() {
  if (QWidget* active = QApplication::activeWindow()) return active;
  return ApplicationMainForm();
}

// Message texts use the classic "\r\n" and "\r" line breaks.
QString DisplayText(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

QMessageBox::Icon IconOf(unsigned flags) {
  switch (flags & 0xF0) {
    case mbIconError:
      return QMessageBox::Critical;
    case mbIconQuestion:
      return QMessageBox::Question;
    case mbIconWarning:
      return QMessageBox::Warning;
    case mbIconInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// The program's message box. A Yes/No question has no Cancel, so only its
// buttons answer it: Qt would take Escape and the window's close button as
// No, and "Save changes?" would throw the changes away on a stray key.
class TMessageBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;
  bool OnlyButtonsAnswer = false;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (OnlyButtonsAnswer && event->matches(QKeySequence::Cancel)) return;
    QMessageBox::keyPressEvent(event);
  }
  void closeEvent(QCloseEvent* event) override {
    if (OnlyButtonsAnswer && !clickedButton()) {
      event->ignore();
      return;
    }
    QMessageBox::closeEvent(event);
  }
};

// The sixteen colours a default font may take, as the font dialog offers them.
const QColor kFontColors[] = {
    QColor(0, 0, 0),       QColor(128, 0, 0),   QColor(0, 128, 0),   QColor(128, 128, 0),
    QColor(0, 0, 128),     QColor(128, 0, 128), QColor(0, 128, 128), QColor(128, 128, 128),
    QColor(192, 192, 192), QColor(255, 0, 0),   QColor(0, 255, 0),   QColor(255, 255, 0),
    QColor(0, 0, 255),     QColor(255, 0, 255), QColor(0, 255, 255), QColor(255, 255, 255),
};

// Qt's font dialog has no colour; this one embeds it beside a colour list.
class TFontColorDialog : public QDialog {
 public:
  TFontColorDialog(const QFont& font, const QColor& color, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Font"));
    FFontDialog = new QFontDialog(font, this);
    FFontDialog->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    FFontDialog->setWindowFlags(Qt::Widget);
    FColors = new QComboBox(this);
    int current = -1;
    for (const QColor& c : kFontColors) {
      QPixmap swatch(24, 12);
      swatch.fill(c);
      FColors->addItem(QIcon(swatch), c.name(), c);
      if (c.rgb() == color.rgb()) current = FColors->count() - 1;
    }
    if (current < 0) {  // a colour of its own keeps its place in the list
      QPixmap swatch(24, 12);
      swatch.fill(color);
      FColors->addItem(QIcon(swatch), color.name(), color);
      current = FColors->count() - 1;
    }
    FColors->setCurrentIndex(current);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(new QLabel(QStringLiteral("Colo&r:"), this));
    colorRow->addWidget(FColors, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FFontDialog);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
  }
  QFont SelectedFont() const { return FFontDialog->currentFont(); }
  QColor SelectedColor() const { return FColors->currentData().value<QColor>(); }

 private:
  QFontDialog* FFontDialog;
  QComboBox* FColors;
};

QFileDialog* MakeFileDialog(const TFileDialogOptions& o, QFileDialog::AcceptMode mode) {
  auto* dialog = new QFileDialog(DialogParent(), o.Title, o.InitialDir, QtFilterFromPairs(o.Filter));
  dialog->setAcceptMode(mode);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setDefaultSuffix(o.DefaultExt);
  if (mode == QFileDialog::AcceptSave) {
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !o.OverwritePrompt);
  } else {
    dialog->setFileMode(o.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  }
  if (!o.FileName.isEmpty()) dialog->selectFile(o.FileName);
  return dialog;
}

QString RunFileDialog(const TFileDialogOptions& o, QFileDialog::AcceptMode mode) {
  std::unique_ptr<QFileDialog> dialog(MakeFileDialog(o, mode));
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
  return dialog->selectedFiles().first();
}

}  // namespace

QString QtFilterFromPairs(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList entries;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    entries << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return entries.join(QStringLiteral(";;"));
}

TDialogService& Dialogs() {
  auto& service = CurrentService();
  if (!service) service = std::make_unique<TQtDialogService>();
  return *service;
}

std::unique_ptr<TDialogService> SetDialogService(std::unique_ptr<TDialogService> service) {
  auto previous = std::move(CurrentService());
  CurrentService() = std::move(service);
  return previous;
}

int TQtDialogService::MessageBox(const QString& text, const QString& caption, unsigned flags) {
  TMessageBox box(IconOf(flags), caption, DisplayText(text), QMessageBox::NoButton, DialogParent());
  box.OnlyButtonsAnswer = (flags & 0x0F) == mbYesNo;
  switch (flags & 0x0F) {
    case mbOKCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case mbYesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
    case mbYesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    default:
      box.setStandardButtons(QMessageBox::Ok);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return idYes;
    case QMessageBox::No:
      return idNo;
    case QMessageBox::Ok:
      return idOK;
    default:
      return idCancel;
  }
}

QString TQtDialogService::OpenFileName(const TFileDialogOptions& options) {
  return RunFileDialog(options, QFileDialog::AcceptOpen);
}

QString TQtDialogService::SaveFileName(const TFileDialogOptions& options) {
  return RunFileDialog(options, QFileDialog::AcceptSave);
}

bool TQtDialogService::ChooseFont(QFont& font, QColor& color) {
  TFontColorDialog dialog(font, color, DialogParent());
  if (dialog.exec() != QDialog::Accepted) return false;
  font = dialog.SelectedFont();
  color = dialog.SelectedColor();
  return true;
}

bool TQtDialogService::PrintDialog(QPrinter& printer) {
  QPrintDialog dialog(&printer, DialogParent());
  dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  return dialog.exec() == QDialog::Accepted;
}

bool TQtDialogService::PrinterSetupDialog(QPrinter& printer) {
  QPageSetupDialog dialog(&printer, DialogParent());
  return dialog.exec() == QDialog::Accepted;
}

int TQtDialogService::Exec(QDialog& dialog) { return dialog.exec(); }
