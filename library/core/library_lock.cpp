#include "core/library_lock.h"

#include <atomic>
#include <mutex>

#include "kernel/handles.h"
#include "kernel/sync.h"
#include "kernel/threads.h"

namespace {

constexpr DWORD kNoOwner = 0xFFFFFFFFu;
constexpr DWORD kPumpWaitSliceMs = 1000;
constexpr DWORD kFullQueuePollMs = 1;

struct WaiterEntry {
  DWORD threadId;
  HANDLE wakeUp;  // manual-reset; moves with its entry, so a waiter keeps its own
};

struct LibraryLock {
  CRITICAL_SECTION guard;  // held for a few instructions, never while a worker runs
  DWORD depth;
  DWORD busy;
  DWORD owner;
  WaiterEntry queue[kLibraryLockQueueSize];
  int waiterCount;
};

LibraryLock libraryLock;
std::atomic<int> lockCreated{0};
std::mutex creationGuard;  // only for creating and destroying the lock itself
std::atomic<unsigned> wakeUpsSent{0};

void EnsureCreated() {
  if (lockCreated.load(std::memory_order_acquire)) return;
  std::lock_guard<std::mutex> creating(creationGuard);
  if (lockCreated.load(std::memory_order_relaxed)) return;
  for (WaiterEntry& entry : libraryLock.queue) {
    entry.threadId = 0;
    entry.wakeUp = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  }
  InitializeCriticalSection(&libraryLock.guard);
  libraryLock.depth = 0;
  libraryLock.busy = 0;
  libraryLock.owner = 0;
  libraryLock.waiterCount = 0;
  lockCreated.store(1, std::memory_order_release);
}

// The rest below runs inside the guard.

int FindWaiter(DWORD threadId) {
  for (int i = 0; i < libraryLock.waiterCount; ++i) {
    if (libraryLock.queue[i].threadId == threadId) return i;
  }
  return -1;
}

// Later entries move down with their events; the removed event goes to the freed tail.
void RemoveWaiter(int index) {
  WaiterEntry* queue = libraryLock.queue;
  const HANDLE freed = queue[index].wakeUp;
  for (int i = index; i + 1 < libraryLock.waiterCount; ++i) queue[i] = queue[i + 1];
  libraryLock.waiterCount -= 1;
  queue[libraryLock.waiterCount] = {0, freed};
}

// Takes the lock when the caller may have it now: a re-entry, a free lock with an
// empty queue, or a free lock whose queue head is the caller.
bool TryTake(DWORD threadId) {
  if (libraryLock.busy) {
    if (libraryLock.owner != threadId) return false;
  } else if (libraryLock.waiterCount > 0) {
    if (libraryLock.queue[0].threadId != threadId) return false;
    RemoveWaiter(0);
  }
  libraryLock.depth += 1;
  libraryLock.busy = 1;
  libraryLock.owner = threadId;
  return true;
}

// Leaves the queue; the wake-up to send afterwards when the caller stood at the head
// of a free lock and others still wait.
HANDLE LeaveQueue(DWORD threadId) {
  const int index = FindWaiter(threadId);
  if (index < 0) return nullptr;
  RemoveWaiter(index);
  if (index == 0 && !libraryLock.busy && libraryLock.waiterCount > 0) return libraryLock.queue[0].wakeUp;
  return nullptr;
}

void SendWakeUp(HANDLE wakeUp) {
  if (wakeUp == nullptr) return;
  wakeUpsSent.fetch_add(1, std::memory_order_relaxed);
  SetEvent(wakeUp);
}

// Returns false only when quitRequested is given and asked to give up.
bool Acquire(int (*quitRequested)()) {
  EnsureCreated();
  const DWORD threadId = GetCurrentThreadId();
  const DWORD slice = quitRequested != nullptr ? kPumpWaitSliceMs : INFINITE;
  HANDLE ownWakeUp = nullptr;  // set once the caller stands in the queue
  EnterCriticalSection(&libraryLock.guard);
  while (!TryTake(threadId)) {
    if (quitRequested != nullptr && quitRequested()) {
      const HANDLE next = LeaveQueue(threadId);
      LeaveCriticalSection(&libraryLock.guard);
      SendWakeUp(next);
      return false;
    }
    if (ownWakeUp == nullptr) {
      if (libraryLock.waiterCount == kLibraryLockQueueSize) {
        LeaveCriticalSection(&libraryLock.guard);
        Sleep(kFullQueuePollMs);
        EnterCriticalSection(&libraryLock.guard);
        continue;
      }
      WaiterEntry& entry = libraryLock.queue[libraryLock.waiterCount++];
      entry.threadId = threadId;
      ownWakeUp = entry.wakeUp;
      ResetEvent(ownWakeUp);  // a late wake-up meant for an earlier user of the slot
    }
    // A waiter woken while it cannot take the lock keeps its entry and waits again.
    LeaveCriticalSection(&libraryLock.guard);
    WaitForSingleObject(ownWakeUp, slice);
    ResetEvent(ownWakeUp);
    EnterCriticalSection(&libraryLock.guard);
  }
  LeaveCriticalSection(&libraryLock.guard);
  return true;
}

void Release(bool yieldToWoken) {
  if (!lockCreated.load(std::memory_order_acquire)) return;
  const DWORD threadId = GetCurrentThreadId();
  HANDLE next = nullptr;
  EnterCriticalSection(&libraryLock.guard);
  if (libraryLock.depth == 0 || libraryLock.owner != threadId) {
    LeaveCriticalSection(&libraryLock.guard);
    return;
  }
  if (libraryLock.depth == 1) {
    libraryLock.busy = 0;
    libraryLock.owner = kNoOwner;
    if (libraryLock.waiterCount > 0) next = libraryLock.queue[0].wakeUp;
  }
  libraryLock.depth -= 1;
  LeaveCriticalSection(&libraryLock.guard);
  if (next == nullptr) return;
  SendWakeUp(next);
  if (yieldToWoken) Sleep(0);
}

}  // namespace

void AcquireLibraryLock() { Acquire(nullptr); }
void ReleaseLibraryLock() { Release(true); }
int AcquireLibraryLockForPump(int (*quitRequested)()) { return Acquire(quitRequested) ? 1 : 0; }

void WakeLibraryLockWaiters() {
  if (!lockCreated.load(std::memory_order_acquire)) return;
  EnterCriticalSection(&libraryLock.guard);
  for (int i = 0; i < libraryLock.waiterCount; ++i) SendWakeUp(libraryLock.queue[i].wakeUp);
  LeaveCriticalSection(&libraryLock.guard);
}
void ReleaseLibraryLockForPump() { Release(false); }

void LeaveLibraryLockQueue() {
  if (!lockCreated.load(std::memory_order_acquire)) return;
  EnterCriticalSection(&libraryLock.guard);
  const HANDLE next = LeaveQueue(GetCurrentThreadId());
  LeaveCriticalSection(&libraryLock.guard);
  SendWakeUp(next);
}

void DestroyLibraryLock() {
  std::lock_guard<std::mutex> destroying(creationGuard);
  if (!lockCreated.load(std::memory_order_relaxed)) return;
  lockCreated.store(0, std::memory_order_release);
  for (WaiterEntry& entry : libraryLock.queue) {
    CloseHandle(entry.wakeUp);
    entry.wakeUp = nullptr;
  }
  DeleteCriticalSection(&libraryLock.guard);
}

int LibraryLockWaiterCount() {
  if (!lockCreated.load(std::memory_order_acquire)) return 0;
  EnterCriticalSection(&libraryLock.guard);
  const int count = libraryLock.waiterCount;
  LeaveCriticalSection(&libraryLock.guard);
  return count;
}

unsigned LibraryLockWakeUpsSent() { return wakeUpsSent.load(std::memory_order_relaxed); }
