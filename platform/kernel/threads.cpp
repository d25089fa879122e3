#include "kernel/threads.h"

#include <atomic>
#include <chrono>
#include <system_error>
#include <thread>

#include "kernel/waitable.h"

namespace {

struct ThreadObject : WaitableObject {
  static constexpr Kind kKind = Kind::kThread;
  ThreadObject() : WaitableObject(kKind, true, false) {}
};

std::atomic<DWORD> nextThreadId{1};
thread_local DWORD currentThreadId = 0;

DWORD TakeThreadId() { return nextThreadId.fetch_add(1, std::memory_order_relaxed); }

}  // namespace

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE startAddress, LPVOID parameter,
                    DWORD creationFlags, LPDWORD threadId) {
  if (startAddress == nullptr || creationFlags != 0) return nullptr;
  ThreadObject* thread = new ThreadObject;
  const DWORD id = TakeThreadId();
  thread->AddRef();  // the running thread's own reference
  try {
    std::thread([thread, id, startAddress, parameter] {
      currentThreadId = id;
      startAddress(parameter);
      thread->Signal();
      thread->Release();
    }).detach();
  } catch (const std::system_error&) {
    thread->Release();
    thread->Release();
    return nullptr;
  }
  if (threadId != nullptr) *threadId = id;
  return thread;
}

DWORD GetCurrentThreadId() {
  if (currentThreadId == 0) currentThreadId = TakeThreadId();
  return currentThreadId;
}

void Sleep(DWORD milliseconds) {
  if (milliseconds == 0) {
    std::this_thread::yield();
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
}
