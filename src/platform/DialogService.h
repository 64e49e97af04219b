#pragma once
// Every modal window the program shows goes through one TDialogService:
// message boxes, the standard file, font, print and printer-setup dialogs and
// our own QDialogs. The program uses TQtDialogService; a test installs a
// TScriptedDialogService (ScriptedDialogService.h) so that nothing blocks.
//
// Usage:
//   if (Dialogs().MessageBox(text, caption, mbYesNo | mbIconQuestion) == idYes) ...
//   TFileDialogOptions o; o.Title = "Open File"; o.Filter = "Saved Label File|*.KLX";
//   const QString path = Dialogs().OpenFileName(o);       // empty when cancelled
//   TSelectLayout dialog(...); if (Dialogs().Exec(dialog) == 1) ...
#include <QColor>
#include <QFont>
#include <QString>
#include <memory>

class QDialog;
class QPrinter;

// Message box flags and button codes, with the classic values so that the
// numbers read the same everywhere.
enum : unsigned {
  mbOK = 0x00,
  mbOKCancel = 0x01,
  mbYesNoCancel = 0x03,
  mbYesNo = 0x04,
  mbIconError = 0x10,
  mbIconQuestion = 0x20,
  mbIconWarning = 0x30,
  mbIconInformation = 0x40,
};
enum : int { idOK = 1, idCancel = 2, idYes = 6, idNo = 7 };

struct TFileDialogOptions {
  QString Title;
  QString InitialDir;
  QString FileName;              // proposed name (may be a bare name or a full path)
  QString DefaultExt;            // without dot, appended when the user types none
  QString Filter;                // "Description|*.EXT" pairs separated by '|'
  bool OverwritePrompt = false;  // save: ask before replacing a file
  bool FileMustExist = false;    // open: only existing files
};

// Converts "Desc|*.a|Other|*.b" into the "Desc (*.a);;Other (*.b)" form of Qt.
QString QtFilterFromPairs(const QString& filter);

class TDialogService {
 public:
  virtual ~TDialogService() = default;
  // flags: one button set | one icon; returns idOK, idCancel, idYes or idNo.
  virtual int MessageBox(const QString& text, const QString& caption, unsigned flags) = 0;
  // Returns the chosen path, or an empty string when cancelled.
  virtual QString OpenFileName(const TFileDialogOptions& options) = 0;
  virtual QString SaveFileName(const TFileDialogOptions& options) = 0;
  // Font dialog with a colour choice; on OK updates font and color, returns true.
  virtual bool ChooseFont(QFont& font, QColor& color) = 0;
  // Print dialog (printer choice, copies); true on OK, printer updated.
  virtual bool PrintDialog(QPrinter& printer) = 0;
  // Printer setup (page) dialog; true on OK.
  virtual bool PrinterSetupDialog(QPrinter& printer) = 0;
  // Shows one of our own dialogs modally and returns its result code.
  virtual int Exec(QDialog& dialog) = 0;
};

// The service in use; a TQtDialogService unless a test installed another.
TDialogService& Dialogs();
// Installs a service (nullptr restores the Qt one); returns the previous one.
std::unique_ptr<TDialogService> SetDialogService(std::unique_ptr<TDialogService> service);

class TQtDialogService : public TDialogService {
 public:
  int MessageBox(const QString& text, const QString& caption, unsigned flags) override;
  QString OpenFileName(const TFileDialogOptions& options) override;
  QString SaveFileName(const TFileDialogOptions& options) override;
  bool ChooseFont(QFont& font, QColor& color) override;
  bool PrintDialog(QPrinter& printer) override;
  bool PrinterSetupDialog(QPrinter& printer) override;
  int Exec(QDialog& dialog) override;
};
