// Start-up: the single-instance guard first (a second copy asks the running
// one to come forward, hands over the file it was given, and ends at once,
// without a window), then the global strings, the main window and the
// message loop.
//
//   tabwright [SHEET.KLX]
#include <QFileInfo>

#include "app/Glyphs.h"
#include "app/MainForm.h"
#include "platform/AppGlobals.h"
#include "platform/AppRoutines.h"
#include "platform/Application.h"
#include "platform/SingleInstanceGuard.h"

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  // The path is made absolute here: the copy it may be handed to runs elsewhere.
  const QStringList arguments = QApplication::arguments();
  const QString fileToOpen = arguments.size() > 1 ? QFileInfo(arguments[1]).absoluteFilePath() : QString();
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
