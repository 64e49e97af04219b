#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include "platform/SingleInstanceGuard.h"

namespace {

QString UniqueName() {
  return TSingleInstanceGuard::ServerNameFor("guardtest",
                                             QString::number(QCoreApplication::applicationPid()));
}

TEST(SingleInstanceGuard, NameIsProgramAndUserInSafeCharacters) {
  EXPECT_EQ(TSingleInstanceGuard::ServerNameFor("tabwright", "1000"), "tabwright-1000");
  EXPECT_EQ(TSingleInstanceGuard::ServerNameFor("tab wright/x", "1000"), "tab_wright_x-1000");
}

TEST(SingleInstanceGuard, NobodyListeningMeansFirstCopy) {
  TSingleInstanceGuard guard(UniqueName());
  EXPECT_FALSE(guard.AskRunningInstanceToComeForward());
}

// The second copy's request runs in a thread, because the first copy answers
// from this thread's event loop.
TEST(SingleInstanceGuard, SecondCopyReachesTheFirst) {
  TSingleInstanceGuard first(UniqueName());
  ASSERT_TRUE(first.Listen());
  int signals_ = 0;
  QObject::connect(&first, &TSingleInstanceGuard::ComeForwardRequested, [&] { ++signals_; });

  bool reached = false;
  QThread* second = QThread::create([&] {
    TSingleInstanceGuard guard(UniqueName());
    reached = guard.AskRunningInstanceToComeForward();
  });
  second->start();
  QElapsedTimer clock;
  clock.start();
  while (!second->isFinished() && clock.elapsed() < 10000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  second->wait(5000);
  delete second;
  EXPECT_TRUE(reached);
  EXPECT_EQ(signals_, 1);
  EXPECT_EQ(first.RequestsReceived(), 1);
}

TEST(SingleInstanceGuard, TakesOverANameLeftBehind) {
  // A copy that crashed leaves its socket file; nobody answers on it.
  const QString name = UniqueName() + "-stale";
  const QString path = QDir::tempPath() + "/" + name;
  {
    QFile leftover(path);
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
  }
  TSingleInstanceGuard guard(name);
  EXPECT_FALSE(guard.AskRunningInstanceToComeForward());
  EXPECT_TRUE(guard.Listen());
}

}  // namespace
