#pragma once
// The program's application object. A failure that no command caught (an
// exception leaving an event handler) is shown in the program's error display
// and the program goes on, instead of ending.
#include <QApplication>

class TApplication : public QApplication {
  Q_OBJECT
 public:
  TApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};
