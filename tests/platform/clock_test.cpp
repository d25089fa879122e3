#include <gtest/gtest.h>

#include "kernel/clock.h"
#include "testing.h"
#include "winmm/time.h"

TEST(Clock, RealTimersAreMonotonicAndReadTheSameClock) {
  LARGE_INTEGER frequency;
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  EXPECT_EQ(frequency.QuadPart, 1000000);
  LARGE_INTEGER first;
  LARGE_INTEGER second;
  QueryPerformanceCounter(&first);
  const DWORD milliseconds = timeGetTime();
  QueryPerformanceCounter(&second);
  EXPECT_LE(first.QuadPart, second.QuadPart);
  EXPECT_LE(static_cast<DWORD>(milliseconds - static_cast<DWORD>(first.QuadPart / 1000)), 1000u);
}

TEST(Clock, VirtualClockAdvancesByItsStepOnEveryRead) {
  TestClockStart(5000000, 1000);
  EXPECT_EQ(timeGetTime(), 5000u);
  EXPECT_EQ(timeGetTime(), 5001u);
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  EXPECT_EQ(count.QuadPart, 5002000);

  // A busy-wait for 17 ms ends after 17 further reads.
  const DWORD start = timeGetTime();
  int reads = 0;
  while (static_cast<int>(timeGetTime() - start) < 17) ++reads;
  EXPECT_EQ(reads, 16);

  TestClockSetStep(0);
  TestClockSet(0xFFFFFFFFull * 1000);
  EXPECT_EQ(timeGetTime(), 0xFFFFFFFFu);
  TestClockSet(0x100000000ull * 1000 + 5000);
  EXPECT_EQ(timeGetTime(), 5u);  // wraps like the real timer
  TestClockStop();
}

TEST(Clock, TimerCapsPeriodsAndLocalTime) {
  TIMECAPS caps;
  ASSERT_EQ(timeGetDevCaps(&caps, sizeof caps), TIMERR_NOERROR);
  EXPECT_EQ(caps.wPeriodMin, 1u);
  EXPECT_EQ(timeBeginPeriod(caps.wPeriodMin), TIMERR_NOERROR);
  EXPECT_EQ(timeEndPeriod(caps.wPeriodMin), TIMERR_NOERROR);
  EXPECT_EQ(timeBeginPeriod(0), TIMERR_NOCANDO);
  EXPECT_EQ(timeGetDevCaps(nullptr, sizeof caps), TIMERR_NOCANDO);

  SYSTEMTIME now;
  GetLocalTime(&now);
  EXPECT_GE(now.wYear, 2024);
  EXPECT_GE(now.wMonth, 1);
  EXPECT_LE(now.wMonth, 12);
  EXPECT_LE(now.wHour, 23);
  EXPECT_LE(now.wMilliseconds, 999);
}
