#include "game_library.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "../support/scratch_directory.h"
#include "../support/wait_until.h"
#include "core/library_lock.h"
#include "core/log.h"
#include "testing.h"

TEST(EntryPoints, GetMillisecondsReadsTheTimerUnderTheLock) {
  TestClockStart(1234567, 0);
  EXPECT_EQ(GetMilliseconds(), 1234u);
  TestClockSetStep(1000);
  EXPECT_EQ(GetMilliseconds(), 1234u);
  EXPECT_EQ(GetMilliseconds(), 1235u);
  TestClockStop();

  // While another thread holds the lock, the call waits for it.
  AcquireLibraryLock();
  std::atomic<bool> done{false};
  std::thread reader([&] {
    GetMilliseconds();
    done = true;
  });
  ASSERT_TRUE(WaitUntil([] { return LibraryLockWaiterCount() == 1; }));
  EXPECT_FALSE(done.load());
  ReleaseLibraryLock();
  reader.join();
  EXPECT_TRUE(done.load());
}

TEST(EntryPoints, DrawFormattedTextBoundsItsText) {
  const std::string huge(5000, 'x');
  EXPECT_EQ(DrawFormattedText(0, 0, 0xFFFFFFu, "%s%d", huge.c_str(), 5), -1);  // no overrun
}

TEST(EntryPoints, EndLibraryDestroysTheLockAndTheNextCallMakesItAgain) {
  EXPECT_EQ(EndLibrary(), 0);  // a shut-down without a start finds nothing to do
  EXPECT_EQ(SeedRandom(7), 0);
  EXPECT_GE(RandomInRange(10), 0);
  EXPECT_EQ(LibraryLockWaiterCount(), 0);
}
