#include "platform/SingleInstanceGuard.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
constexpr int kConnectTimeoutMs = 1000;
constexpr int kAnswerTimeoutMs = 3000;
}  // namespace

TSingleInstanceGuard::TSingleInstanceGuard(QString serverName, QObject* parent)
    : QObject(parent), FServerName(std::move(serverName)) {}

TSingleInstanceGuard::~TSingleInstanceGuard() = default;

QString TSingleInstanceGuard::DefaultServerName() {
  return ServerNameFor(QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                       QString::number(::getuid()));
}

QString TSingleInstanceGuard::ServerNameFor(const QString& programFileName, const QString& user) {
  QString name = programFileName + QLatin1Char('-') + user;
  // Socket names become file names: keep them to safe characters.
  for (QChar& c : name)
    if (!c.isLetterOrNumber() && c != QLatin1Char('-') && c != QLatin1Char('_') && c != QLatin1Char('.'))
      c = QLatin1Char('_');
  return name;
}

QByteArray TSingleInstanceGuard::OpenFileRequest(const QString& path) {
  return kOpenFile + path.toUtf8().toPercentEncoding() + '\n';
}

bool TSingleInstanceGuard::AskRunningInstanceToComeForward(const QString& fileToOpen) {
  QLocalSocket socket;
  socket.connectToServer(FServerName);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  socket.write(fileToOpen.isEmpty() ? QByteArray(kComeForward) : OpenFileRequest(fileToOpen));
  socket.waitForBytesWritten(kAnswerTimeoutMs);
  // The answer only tells that the request arrived; a copy too busy to answer
  // still got it, and this copy ends either way.
  socket.waitForReadyRead(kAnswerTimeoutMs);
  socket.disconnectFromServer();
  return true;
}

bool TSingleInstanceGuard::ListenOnce() {
  if (!FServer) {
    FServer = new QLocalServer(this);
    FServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(FServer, &QLocalServer::newConnection, this, &TSingleInstanceGuard::HandleConnection);
  }
  return FServer->listen(FServerName);
}

bool TSingleInstanceGuard::Listen() {
  if (ListenOnce()) return true;
  // Nobody answered on the name a moment ago, so it was left by a copy that
  // ended without cleaning up.
  QLocalServer::removeServer(FServerName);
  return ListenOnce();
}

bool TSingleInstanceGuard::StartOrHandOver(const QString& fileToOpen) {
  if (AskRunningInstanceToComeForward(fileToOpen)) return false;
  if (ListenOnce()) return true;
  // The name is taken: by a copy that started a moment ago (it answers now)
  // or by the socket file of one that crashed (nobody answers).
  if (AskRunningInstanceToComeForward(fileToOpen)) return false;
  QLocalServer::removeServer(FServerName);
  ListenOnce();
  return true;
}

void TSingleInstanceGuard::HandleConnection() {
  while (QLocalSocket* socket = FServer->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      while (socket->canReadLine()) {
        const QByteArray line = socket->readLine();
        const bool opens = line.startsWith(kOpenFile) && line.endsWith('\n');
        if (line != QByteArray(kComeForward) && !opens) continue;
        ++FRequestsReceived;
        // The answer goes first: the other copy need not wait while this one
        // opens the file and perhaps asks the user about the current page.
        socket->write(QByteArray::number(FRequestsReceived) + '\n');
        socket->flush();
        emit ComeForwardRequested();
        if (opens) {
          const QByteArray encoded = line.mid(qstrlen(kOpenFile)).chopped(1);
          const QString path = QString::fromUtf8(QByteArray::fromPercentEncoding(encoded));
          if (!path.isEmpty()) emit OpenFileRequested(path);
        }
      }
    });
  }
}
