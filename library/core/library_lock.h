// The library lock: keeps the game thread, the message-pump thread and any other
// thread from running library code at the same time. Re-entrant for its holder; it
// passes between threads in strict arrival order (a waiter queue of 4096 entries,
// each waiter blocked on its own wake-up event). Created on first use; destroyed by
// the shut-down, and created afresh by the next use.
#pragma once

constexpr int kLibraryLockQueueSize = 4096;

// Blocks until the calling thread holds the lock.
void AcquireLibraryLock();
// Undoes one acquisition; the last one hands the lock to the head of the queue and
// yields the processor to it.
void ReleaseLibraryLock();

// The message-pump thread's variant: waits in 1000 ms slices and gives up, leaving
// the queue, once `quitRequested` returns non-zero (asked before every wait). The
// callback runs inside the lock's guard: it may only read a flag. Returns 1 when the
// lock is held, 0 when it gave up.
int AcquireLibraryLockForPump(int (*quitRequested)());
// Release without yielding the processor.
void ReleaseLibraryLockForPump();
// Wakes every waiter to look again: one that cannot take the lock keeps its place and
// waits on, and the pump's variant asks its quit question at once.
void WakeLibraryLockWaiters();
// Removes the calling thread's entry from wherever it stands in the queue (nothing
// when it has none); a new head is woken when the lock is free.
void LeaveLibraryLockQueue();

// Closes the wake-up events and the guard. Waiting threads must be gone.
void DestroyLibraryLock();

// For tests: threads waiting now, and wake-ups sent so far.
int LibraryLockWaiterCount();
unsigned LibraryLockWakeUpsSent();
