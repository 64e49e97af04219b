#pragma once
// The shared application routines every part of the program calls: program
// directory, preferences file name, message boxes, busy cursor, printer
// presence, help and the centring of dialogs.
//
// Usage:
//   const QString ini = PreferencesFileName();          // ".../KLXFF.ini"
//   if (ConfirmYesNo("Save changes?", "Save")) ...
//   ShowInformation("File " + path + " no longer exists");
//   BeginBusyCursor(); ...; EndBusyCursor();
//   if (PrinterAvailable(false)) ...
//   ShowHelpContext(1001);
//   CenterForm(dialog); Dialogs().Exec(dialog);
// Message boxes go through Dialogs() (DialogService.h), so tests script them.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <exception>
#include <optional>

class QWidget;

// Directory of the running program with a trailing '/'.
QString ApplicationDirectory();
// Tests point the program directory elsewhere; an empty string ends that.
void SetApplicationDirectoryOverride(const QString& directory);

// ApplicationDirectory + GlobalApplicationPrefix + ".ini"; with an empty
// prefix shows "Application Prefix not set" and returns "". When the program
// directory takes no new files (an installed copy), the file lives in the
// user's configuration folder instead.
QString PreferencesFileName();
// With an empty prefix shows "Application Prefix not set for " + routine and
// returns true.
bool ReportMissingPrefix(const char* routine);
// Where new label page files are proposed: the program directory, or the
// user's documents folder when the program directory takes no new files.
QString DocumentsDirectory();
// True when a new file can be created in the folder.
bool FolderTakesNewFiles(const QString& folder);

int ShowAppMessageBox(const QString& text, const QString& caption, unsigned flags);
// Yes/No box with the question icon; true for Yes.
bool ConfirmYesNo(const QString& text, const QString& caption);
// OK box, information icon, caption "Information".
void ShowInformation(const QString& text);
// A plain message: OK box captioned with the program's name, no icon.
void ShowMessage(const QString& text);
// The program's error display for a failure no command handled itself.
void ShowException(const std::exception& error);

// Hourglass on; EndBusyCursor puts the default cursor back however many
// BeginBusyCursor calls came before.
void BeginBusyCursor();
void EndBusyCursor();

// Printers as the printing system lists them, and its default printer.
bool HasDefaultPrinter();
// False when no printer or no default printer is known; with showMessages the
// user is told why.
bool PrinterAvailable(bool showMessages);
// Tests replace the printer list and the default printer the system reports;
// std::nullopt goes back to asking the printing system.
struct TPrinterQuery {
  QStringList Printers;
  QString DefaultPrinter;
};
void SetPrinterQueryOverride(std::optional<TPrinterQuery> query);

// The main window, as CenterForm and the message boxes need it.
void SetApplicationMainForm(QWidget* form);
QWidget* ApplicationMainForm();

// Centres a dialog over the main window (or on the screen, for the main window
// itself and while the main window is maximised).
void CenterForm(QWidget& form);
// The arithmetic of CenterForm: the top-left corner that centres a form of
// size formSize over the rectangle over (integer division toward zero).
QPoint CenteredPosition(const QSize& formSize, const QRect& over);

// Hints (tool tips): shown or not for the whole program, after a pause.
void SetApplicationShowHint(bool show);
bool ApplicationShowHint();
void SetApplicationHintPause(int milliseconds);

// Help. The help file is an HTML document with one anchor per topic number.
void SetApplicationHelpFile(const QString& path);
QString ApplicationHelpFile();
// Each shows "Application Helpfile not set" when no help file is set.
void ShowHelpContext(int topic);
void ShowHelpContents();
void ShowHelpOnHelp();
void ShowHelpSearch();
// A topic straight from the application's help, without the help-file test.
void ApplicationHelpContext(int topic);
// Closes the help window (at program end, and in tests).
void CloseHelpWindow();
