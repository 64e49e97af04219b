// Two real copies of the program: the second asks the first to come forward
// and ends at once with status 0.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "common/TestSupport.h"
#include "platform/SingleInstanceGuard.h"

namespace {

// Ends a started copy however the test leaves, and removes the socket file
// that a killed copy leaves behind.
struct TRunningCopy {
  QProcess Process;
  QString ServerName;
  ~TRunningCopy() {
    if (Process.state() != QProcess::NotRunning) {
      Process.kill();
      Process.waitForFinished(5000);
      if (!ServerName.isEmpty()) QLocalServer::removeServer(ServerName);
    }
  }
};

// Connects without asking anything; true once the copy listens.
bool WaitUntilListening(const QString& serverName, QProcess& process, int milliseconds) {
  QDeadlineTimer deadline(milliseconds);
  while (!deadline.hasExpired() && process.state() == QProcess::Running) {
    QLocalSocket probe;
    probe.connectToServer(serverName);
    if (probe.waitForConnected(200)) return true;
    QThread::msleep(100);
  }
  return false;
}

// Sends the come-forward request and returns the first copy's answer.
QByteArray AskToComeForward(const QString& serverName) {
  QLocalSocket socket;
  socket.connectToServer(serverName);
  if (!socket.waitForConnected(3000)) return {};
  socket.write(TSingleInstanceGuard::kComeForward);
  socket.waitForBytesWritten(3000);
  if (!socket.waitForReadyRead(5000)) return {};
  return socket.readLine().trimmed();
}

TEST(SingleInstance, SecondCopyBringsTheFirstForwardAndEnds) {
  const QString built = testsupport::BinDir() + "/tabwright";
  ASSERT_TRUE(QFileInfo::exists(built)) << "build the tabwright target first";
  // The program is run from a copy in a folder of its own, under a name of
  // its own: the test writes nothing beside the build and meets no copy the
  // developer happens to be running.
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString programName = QString("tabwright_test%1").arg(::getpid());
  const QString program = dir.filePath(programName);
  ASSERT_TRUE(QFile::copy(built, program));
  QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
  QFile::copy(testsupport::BinDir() + "/KLXFF.LLO", dir.filePath("KLXFF.LLO"));
  const QString serverName = TSingleInstanceGuard::ServerNameFor(programName, QString::number(::getuid()));

  TRunningCopy first;
  first.ServerName = serverName;
  first.Process.setProcessChannelMode(QProcess::ForwardedChannels);
  first.Process.start(program, {});
  ASSERT_TRUE(first.Process.waitForStarted(10000));
  ASSERT_TRUE(WaitUntilListening(serverName, first.Process, 60000)) << "the first copy never listened";

  TRunningCopy second;
  second.Process.start(program, {});
  ASSERT_TRUE(second.Process.waitForStarted(10000));
  ASSERT_TRUE(second.Process.waitForFinished(30000)) << "the second copy did not end";
  EXPECT_EQ(second.Process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.Process.exitCode(), 0);

  // The first copy still runs and has had one request: ours is the second.
  EXPECT_EQ(first.Process.state(), QProcess::Running);
  EXPECT_EQ(AskToComeForward(serverName), "2");
}

}  // namespace
