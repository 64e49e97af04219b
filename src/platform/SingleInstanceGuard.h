#pragma once
// Keeps one copy of the program per user. The first copy listens on a local
// socket named after the program file and the user; a later copy finds it
// there, asks it to come forward (handing over the file it was started with)
// and ends. Only copies of this program ever connect to that name, so no
// other program's window is touched.
//
// Usage (main):
//   TSingleInstanceGuard guard(TSingleInstanceGuard::DefaultServerName());
//   if (!guard.StartOrHandOver(path)) return 0;   // another copy runs, came forward, got path
//   QObject::connect(&guard, &TSingleInstanceGuard::ComeForwardRequested, ...);
//   QObject::connect(&guard, &TSingleInstanceGuard::OpenFileRequested, ...);
#include <QObject>
#include <QString>

class QLocalServer;

class TSingleInstanceGuard : public QObject {
  Q_OBJECT
 public:
  explicit TSingleInstanceGuard(QString serverName, QObject* parent = nullptr);
  ~TSingleInstanceGuard() override;

  // Program file name (without directory) and the user's id.
  static QString DefaultServerName();
  static QString ServerNameFor(const QString& programFileName, const QString& user);

  // When another copy listens, sends it the request (to come forward, and to
  // open fileToOpen when that is not empty) and returns true, after its
  // answer or after a short wait when it does not answer.
  bool AskRunningInstanceToComeForward(const QString& fileToOpen = QString());
  // Starts listening (taking over a name left behind by a copy that crashed).
  bool Listen();
  // The whole start-up check: true when this copy is the one to run (it now
  // listens, or could not listen and runs unguarded); false when another
  // copy runs and has been asked to come forward.
  bool StartOrHandOver(const QString& fileToOpen = QString());

  QString ServerName() const { return FServerName; }
  int RequestsReceived() const { return FRequestsReceived; }

  // Request lines a second copy sends; the first answers with the number of
  // requests it has handled, so the exchange can be checked from outside.
  static constexpr const char* kComeForward = "come-forward\n";
  // Followed by the path, percent-encoded UTF-8, and a line break.
  static constexpr const char* kOpenFile = "open ";
  static QByteArray OpenFileRequest(const QString& path);

 signals:
  void ComeForwardRequested();
  // Comes after ComeForwardRequested.
  void OpenFileRequested(const QString& path);

 private:
  void HandleConnection();
  bool ListenOnce();

  QString FServerName;
  QLocalServer* FServer = nullptr;
  int FRequestsReceived = 0;
};
