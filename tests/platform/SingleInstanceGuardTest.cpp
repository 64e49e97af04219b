#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <functional>

#include "platform/SingleInstanceGuard.h"

namespace {

QString UniqueName(const char* suffix) {
  return TSingleInstanceGuard::ServerNameFor("guardtest",
                                             QString::number(QCoreApplication::applicationPid())) +
         suffix;
}

// Runs what a second copy does in a thread, while this thread's event loop
// lets the first copy answer.
void AsSecondCopy(const std::function<void()>& work) {
  QThread* second = QThread::create(work);
  second->start();
  QElapsedTimer clock;
  clock.start();
  while (!second->isFinished() && clock.elapsed() < 10000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  second->wait(5000);
  delete second;
}

TEST(SingleInstanceGuard, NameIsProgramAndUserInSafeCharacters) {
  EXPECT_EQ(TSingleInstanceGuard::ServerNameFor("tabwright", "1000"), "tabwright-1000");
  EXPECT_EQ(TSingleInstanceGuard::ServerNameFor("tab wright/x", "1000"), "tab_wright_x-1000");
}

TEST(SingleInstanceGuard, NobodyListeningMeansFirstCopy) {
  TSingleInstanceGuard guard(UniqueName("-alone"));
  EXPECT_FALSE(guard.AskRunningInstanceToComeForward());
  EXPECT_TRUE(guard.StartOrHandOver());
}

TEST(SingleInstanceGuard, SecondCopyReachesTheFirst) {
  TSingleInstanceGuard first(UniqueName("-pair"));
  ASSERT_TRUE(first.StartOrHandOver());
  int requests = 0;
  QObject::connect(&first, &TSingleInstanceGuard::ComeForwardRequested, [&] { ++requests; });

  bool secondRuns = true;
  AsSecondCopy([&] {
    TSingleInstanceGuard guard(UniqueName("-pair"));
    secondRuns = guard.StartOrHandOver();
  });
  EXPECT_FALSE(secondRuns);
  EXPECT_EQ(requests, 1);
  EXPECT_EQ(first.RequestsReceived(), 1);
}

TEST(SingleInstanceGuard, TakesOverANameLeftBehind) {
  // A copy that crashed leaves its socket file; nobody answers on it.
  const QString name = UniqueName("-stale");
  {
    QFile leftover(QDir::tempPath() + "/" + name);
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
  }
  TSingleInstanceGuard guard(name);
  ASSERT_TRUE(guard.StartOrHandOver());
  // The name now leads to this copy.
  bool secondRuns = true;
  AsSecondCopy([&] { secondRuns = TSingleInstanceGuard(name).StartOrHandOver(); });
  EXPECT_FALSE(secondRuns);
  EXPECT_EQ(guard.RequestsReceived(), 1);
}

}  // namespace
