#include "core/library_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "../support/wait_until.h"

namespace {

// Order in which threads got the lock; appended while holding it.
struct Arrivals {
  std::vector<int> order;
  void Note(int who) { order.push_back(who); }
};

// Starts a thread that takes the lock once, notes itself and releases, and waits
// until it stands in the queue (so arrival order is the start order).
std::thread QueueTaker(Arrivals& arrivals, int who, int expectedWaiters) {
  std::thread taker([&arrivals, who] {
    AcquireLibraryLock();
    arrivals.Note(who);
    ReleaseLibraryLock();
  });
  EXPECT_TRUE(WaitUntil([expectedWaiters] { return LibraryLockWaiterCount() == expectedWaiters; }));
  return taker;
}

std::atomic<int> pumpQuit{0};
std::atomic<int> pumpQuitQuestions{0};
int PumpQuitRequested() {
  pumpQuitQuestions.fetch_add(1);
  return pumpQuit.load();
}

}  // namespace

TEST(LibraryLock, TenNestedAcquisitionsNeedTenReleases) {
  for (int i = 0; i < 10; ++i) AcquireLibraryLock();
  std::atomic<bool> otherRan{false};
  std::thread other([&] {
    AcquireLibraryLock();
    otherRan = true;
    ReleaseLibraryLock();
  });
  ASSERT_TRUE(WaitUntil([] { return LibraryLockWaiterCount() == 1; }));
  for (int i = 0; i < 9; ++i) ReleaseLibraryLock();
  EXPECT_FALSE(otherRan.load());
  EXPECT_EQ(LibraryLockWaiterCount(), 1);
  ReleaseLibraryLock();
  EXPECT_TRUE(WaitUntil([&] { return otherRan.load(); }));
  other.join();
  EXPECT_EQ(LibraryLockWaiterCount(), 0);
}

TEST(LibraryLock, PassesInArrivalOrderEvenWhenTheReleaserAsksAgainAtOnce) {
  Arrivals arrivals;
  AcquireLibraryLock();
  std::vector<std::thread> takers;
  for (int who = 1; who <= 4; ++who) takers.push_back(QueueTaker(arrivals, who, who));
  ReleaseLibraryLock();
  AcquireLibraryLock();  // must queue behind the four
  arrivals.Note(0);
  ReleaseLibraryLock();
  for (std::thread& taker : takers) taker.join();
  EXPECT_EQ(arrivals.order, (std::vector<int>{1, 2, 3, 4, 0}));
}

TEST(LibraryLock, ReleaseWithAnEmptyQueueWakesNobody) {
  AcquireLibraryLock();
  ReleaseLibraryLock();
  const unsigned before = LibraryLockWakeUpsSent();
  for (int i = 0; i < 5; ++i) {
    AcquireLibraryLock();
    AcquireLibraryLock();
    ReleaseLibraryLock();
    ReleaseLibraryLock();
  }
  EXPECT_EQ(LibraryLockWakeUpsSent(), before);

  Arrivals arrivals;
  AcquireLibraryLock();
  std::thread taker = QueueTaker(arrivals, 1, 1);
  ReleaseLibraryLock();
  taker.join();
  EXPECT_EQ(LibraryLockWakeUpsSent(), before + 1);
}

TEST(LibraryLock, ManyThreadsNeverOverlap) {
  constexpr int kThreads = 6;
  constexpr int kRounds = 300;
  int shared = 0;  // unguarded except by the lock
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([&shared] {
      for (int i = 0; i < kRounds; ++i) {
        AcquireLibraryLock();
        AcquireLibraryLock();
        const int seen = shared;
        std::this_thread::yield();
        shared = seen + 1;
        ReleaseLibraryLock();
        ReleaseLibraryLock();
      }
    });
  }
  for (std::thread& worker : workers) worker.join();
  EXPECT_EQ(shared, kThreads * kRounds);
}

TEST(LibraryLock, PumpWaiterWokenWhileBusyKeepsItsOneEntry) {
  pumpQuit = 0;
  pumpQuitQuestions = 0;
  AcquireLibraryLock();
  std::atomic<int> got{-1};
  std::thread pump([&] {
    got = AcquireLibraryLockForPump(PumpQuitRequested);
    if (got == 1) ReleaseLibraryLockForPump();
  });
  // The second question comes after a whole 1000 ms slice ended with the lock busy.
  ASSERT_TRUE(WaitUntil([] { return pumpQuitQuestions.load() >= 2; }));
  EXPECT_EQ(LibraryLockWaiterCount(), 1);
  ReleaseLibraryLock();
  pump.join();
  EXPECT_EQ(got.load(), 1);
  EXPECT_EQ(LibraryLockWaiterCount(), 0);
}

TEST(LibraryLock, PumpWaiterGivesUpOnQuitAndLeavesTheOthersInOrder) {
  pumpQuit = 0;
  pumpQuitQuestions = 0;
  Arrivals arrivals;
  AcquireLibraryLock();
  std::thread first = QueueTaker(arrivals, 1, 1);
  std::atomic<int> got{-1};
  std::thread pump([&] { got = AcquireLibraryLockForPump(PumpQuitRequested); });
  ASSERT_TRUE(WaitUntil([] { return LibraryLockWaiterCount() == 2; }));
  std::thread third = QueueTaker(arrivals, 3, 3);

  pumpQuit = 1;
  ASSERT_TRUE(WaitUntil([] { return LibraryLockWaiterCount() == 2; }));  // left from the middle
  pump.join();
  EXPECT_EQ(got.load(), 0);
  ReleaseLibraryLock();
  first.join();
  third.join();
  EXPECT_EQ(arrivals.order, (std::vector<int>{1, 3}));
  LeaveLibraryLockQueue();  // nothing to leave: harmless
  EXPECT_EQ(LibraryLockWaiterCount(), 0);
  pumpQuit = 0;
}

TEST(LibraryLock, WakingEveryWaiterLetsThePumpQuitAndKeepsTheOthersQueued) {
  pumpQuit = 0;
  Arrivals arrivals;
  AcquireLibraryLock();
  std::thread first = QueueTaker(arrivals, 1, 1);
  std::atomic<int> got{-1};
  std::thread pump([&] { got = AcquireLibraryLockForPump(PumpQuitRequested); });
  ASSERT_TRUE(WaitUntil([] { return LibraryLockWaiterCount() == 2; }));

  pumpQuit = 1;
  const unsigned sentBefore = LibraryLockWakeUpsSent();
  WakeLibraryLockWaiters();
  EXPECT_EQ(LibraryLockWakeUpsSent(), sentBefore + 2);
  pump.join();
  EXPECT_EQ(got.load(), 0);
  EXPECT_EQ(LibraryLockWaiterCount(), 1);  // the other waiter still stands in line
  ReleaseLibraryLock();
  first.join();
  EXPECT_EQ(arrivals.order, (std::vector<int>{1}));
  pumpQuit = 0;
}

TEST(LibraryLock, PumpHoldsAndReleasesLikeAnyOtherThread) {
  pumpQuit = 0;
  ASSERT_EQ(AcquireLibraryLockForPump(PumpQuitRequested), 1);
  ASSERT_EQ(AcquireLibraryLockForPump(PumpQuitRequested), 1);
  Arrivals arrivals;
  std::thread taker = QueueTaker(arrivals, 1, 1);
  ReleaseLibraryLockForPump();
  EXPECT_TRUE(arrivals.order.empty());
  ReleaseLibraryLockForPump();
  taker.join();
  EXPECT_EQ(arrivals.order, (std::vector<int>{1}));
}

TEST(LibraryLock, IsCreatedAfreshAfterDestruction) {
  AcquireLibraryLock();
  ReleaseLibraryLock();
  DestroyLibraryLock();
  DestroyLibraryLock();  // twice is harmless
  ReleaseLibraryLock();  // not held: ignored
  Arrivals arrivals;
  AcquireLibraryLock();
  std::thread taker = QueueTaker(arrivals, 1, 1);
  ReleaseLibraryLock();
  taker.join();
  EXPECT_EQ(arrivals.order, (std::vector<int>{1}));
}
