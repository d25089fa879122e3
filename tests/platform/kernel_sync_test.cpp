#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "kernel/handles.h"
#include "kernel/sync.h"
#include "kernel/threads.h"

namespace {

constexpr DWORD kGenerousMs = 20000;  // bounded, far beyond any real wait

DWORD SetAfterStart(LPVOID event) {
  SetEvent(static_cast<HANDLE>(event));
  return 0;
}

struct Counter {
  CRITICAL_SECTION section;
  int value;
};

DWORD AddThousand(LPVOID parameter) {
  Counter* counter = static_cast<Counter*>(parameter);
  for (int i = 0; i < 1000; ++i) {
    EnterCriticalSection(&counter->section);
    const int seen = counter->value;
    counter->value = seen + 1;
    LeaveCriticalSection(&counter->section);
  }
  return 0;
}

}  // namespace

TEST(KernelEvents, ManualResetStaysSignalledUntilReset) {
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(event, 20), WAIT_TIMEOUT);
  EXPECT_TRUE(SetEvent(event));
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, INFINITE), WAIT_OBJECT_0);
  EXPECT_TRUE(ResetEvent(event));
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  EXPECT_TRUE(CloseHandle(event));
}

TEST(KernelEvents, AutoResetReleasesOneWaitAndStartsSignalledWhenAsked) {
  HANDLE event = CreateEventA(nullptr, FALSE, TRUE, nullptr);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  SetEvent(event);
  EXPECT_EQ(WaitForSingleObject(event, kGenerousMs), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  CloseHandle(event);
  EXPECT_EQ(CreateEventA(nullptr, TRUE, FALSE, "named"), nullptr);
  EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
  EXPECT_FALSE(SetEvent(nullptr));
}

TEST(KernelThreads, RunSignalTheirHandleAndHaveDistinctIds) {
  HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, SetAfterStart, started, 0, &id);
  ASSERT_NE(thread, nullptr);
  EXPECT_NE(id, 0u);
  EXPECT_NE(id, GetCurrentThreadId());
  EXPECT_EQ(GetCurrentThreadId(), GetCurrentThreadId());
  EXPECT_EQ(WaitForSingleObject(started, kGenerousMs), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(thread, kGenerousMs), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);  // stays signalled
  CloseHandle(thread);
  CloseHandle(started);

  DWORD other = 0;
  std::thread([&other] { other = GetCurrentThreadId(); }).join();
  EXPECT_NE(other, GetCurrentThreadId());
  EXPECT_NE(other, 0xFFFFFFFFu);
  EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
}

TEST(KernelThreads, HandleMayBeClosedWhileTheThreadRuns) {
  HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  struct Pair {
    HANDLE go;
    HANDLE done;
  } pair{go, done};
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID parameter) -> DWORD {
        Pair* events = static_cast<Pair*>(parameter);
        WaitForSingleObject(events->go, INFINITE);
        SetEvent(events->done);
        return 0;
      },
      &pair, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  CloseHandle(thread);
  SetEvent(go);
  EXPECT_EQ(WaitForSingleObject(done, kGenerousMs), WAIT_OBJECT_0);
  Sleep(0);
  Sleep(1);
  CloseHandle(go);
  CloseHandle(done);
}

TEST(KernelCriticalSection, KeepsThreadsApart) {
  Counter counter;
  counter.value = 0;
  InitializeCriticalSection(&counter.section);
  std::vector<HANDLE> threads;
  for (int i = 0; i < 4; ++i) threads.push_back(CreateThread(nullptr, 0, AddThousand, &counter, 0, nullptr));
  for (HANDLE thread : threads) {
    EXPECT_EQ(WaitForSingleObject(thread, kGenerousMs), WAIT_OBJECT_0);
    CloseHandle(thread);
  }
  EXPECT_EQ(counter.value, 4000);
  DeleteCriticalSection(&counter.section);
}
