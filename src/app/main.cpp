// Start-up. Work asked for on the command line (see CommandLine.h) runs
// without a window and without the single-instance guard. Otherwise the
// guard comes first (a second copy asks the running one to come forward,
// hands over the file it was given, and ends at once, without a window),
// then the global strings, the main window and the message loop.
//
//   tabwright [SHEET.KLX]
//   tabwright --export-pdf SHEET.KLX OUT.pdf
#include <QFileInfo>

#include "app/CommandLine.h"
#include "app/Glyphs.h"
#include "app/MainForm.h"
#include "platform/AppGlobals.h"
#include "platform/AppRoutines.h"
#include "platform/Application.h"
#include "platform/SingleInstanceGuard.h"

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const TCommandLine command = ParseCommandLine(arguments);
  if (command.WithoutWindow()) return RunWithoutWindow(argc, argv, command);

  TApplication app(argc, argv);
  // Read again once the toolkit took its own options off the line. The path
  // is made absolute here: the copy it may be handed to runs elsewhere.
  const QString sheet = ParseCommandLine(QApplication::arguments().mid(1)).SheetFile;
  const QString fileToOpen = sheet.isEmpty() ? QString() : QFileInfo(sheet).absoluteFilePath();
  TSingleInstanceGuard guard(TSingleInstanceGuard::DefaultServerName());
  if (!guard.StartOrHandOver(fileToOpen)) return 0;

  AssignGlobalApplicationStrings();
  QApplication::setApplicationName(GlobalApplicationName);
  QApplication::setDesktopFileName(QStringLiteral("tabwright"));
  QApplication::setWindowIcon(ProgramIcon());

  int status = 0;
  {
    TMainForm form;
    form.SetStartUpFile(fileToOpen);
    QObject::connect(&guard, &TSingleInstanceGuard::ComeForwardRequested, &form, &TMainForm::ComeForward);
    // Queued: the file is opened from the message loop, not inside the socket's handler.
    QObject::connect(&guard, &TSingleInstanceGuard::OpenFileRequested, &form,
                     &TMainForm::OpenFileFromOtherCopy, Qt::QueuedConnection);
    form.show();
    // Start-up work runs on the first activation; ask for it, since without a
    // window manager nobody else gives the new window the focus.
    form.activateWindow();
    status = app.exec();
  }
  CloseHelpWindow();
  return status;
}
