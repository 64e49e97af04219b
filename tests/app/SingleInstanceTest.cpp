// Two real copies of the program: the second asks the first to come forward
// (handing over the file it was given) and ends at once with status 0.
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
#include "platform/IniFile.h"
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

// The program is run from a copy in a folder of its own, under a name of its
// own: the test writes nothing beside the build and meets no copy the
// developer happens to be running.
class SingleInstance : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString built = testsupport::BinDir() + "/tabwright";
    ASSERT_TRUE(QFileInfo::exists(built)) << "build the tabwright target first";
    ASSERT_TRUE(FDir.isValid());
    const QString programName = QString("tabwright_test%1").arg(::getpid());
    FProgram = FDir.filePath(programName);
    ASSERT_TRUE(QFile::copy(built, FProgram));
    QFile::setPermissions(FProgram, QFile::permissions(FProgram) | QFile::ExeOwner);
    QFile::copy(testsupport::BinDir() + "/KLXFF.LLO", FDir.filePath("KLXFF.LLO"));
    FServerName = TSingleInstanceGuard::ServerNameFor(programName, QString::number(::getuid()));
  }

  void StartFirstCopy() {
    FFirst.ServerName = FServerName;
    FFirst.Process.setProcessChannelMode(QProcess::ForwardedChannels);
    FFirst.Process.setWorkingDirectory(FDir.path());
    FFirst.Process.start(FProgram, {});
    ASSERT_TRUE(FFirst.Process.waitForStarted(10000));
    ASSERT_TRUE(WaitUntilListening(FServerName, FFirst.Process, 60000)) << "the first copy never listened";
  }

  // Runs a second copy to its end; it must end at once and well.
  void RunSecondCopy(const QStringList& arguments) {
    TRunningCopy second;
    second.Process.setWorkingDirectory(FDir.path());
    second.Process.start(FProgram, arguments);
    ASSERT_TRUE(second.Process.waitForStarted(10000));
    ASSERT_TRUE(second.Process.waitForFinished(30000)) << "the second copy did not end";
    EXPECT_EQ(second.Process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.Process.exitCode(), 0);
  }

  QTemporaryDir FDir;
  QString FProgram;
  QString FServerName;
  TRunningCopy FFirst;
};

TEST_F(SingleInstance, SecondCopyBringsTheFirstForwardAndEnds) {
  StartFirstCopy();
  RunSecondCopy({});
  // The first copy still runs and has had one request: ours is the second.
  EXPECT_EQ(FFirst.Process.state(), QProcess::Running);
  EXPECT_EQ(AskToComeForward(FServerName), "2");
}

TEST_F(SingleInstance, SecondCopyHandsItsFileToTheFirst) {
  const QString sheet = FDir.filePath("sheet.KLX");
  ASSERT_TRUE(QFile::copy(testsupport::DataFile("labelpage/Example78.KLX"), sheet));
  StartFirstCopy();
  RunSecondCopy({"sheet.KLX"});  // a name relative to the second copy's folder

  // The first copy opened it: the sheet is now its most recent file.
  const TIniFile preferences(FDir.filePath("KLXFF.ini"));
  QDeadlineTimer deadline(60000);
  while (preferences.ReadString("MRU", "F0", "") != sheet && !deadline.hasExpired()) QThread::msleep(100);
  EXPECT_EQ(preferences.ReadString("MRU", "F0", ""), sheet);
  EXPECT_EQ(FFirst.Process.state(), QProcess::Running);
}

}  // namespace
