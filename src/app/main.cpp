// Start-up: the single-instance guard first (a second copy asks the running
// one to come forward and ends at once, without a window), then the global
// strings, the main window and the message loop.
#include <QApplication>

#include "app/Glyphs.h"
#include "app/MainForm.h"
#include "platform/AppGlobals.h"
#include "platform/AppRoutines.h"
#include "platform/SingleInstanceGuard.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  TSingleInstanceGuard guard(TSingleInstanceGuard::DefaultServerName());
  if (!guard.StartOrHandOver()) return 0;

  AssignGlobalApplicationStrings();
  QApplication::setApplicationName(GlobalApplicationName);
  QApplication::setWindowIcon(ProgramIcon());

  int status = 0;
  {
    TMainForm form;
    QObject::connect(&guard, &TSingleInstanceGuard::ComeForwardRequested, &form, &TMainForm::ComeForward);
    form.show();
    // Start-up work runs on the first activation; ask for it, since without a
    // window manager nobody else gives the new window the focus.
    form.activateWindow();
    status = app.exec();
  }
  CloseHelpWindow();
  return status;
}
