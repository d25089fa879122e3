// Inside the kernel stand-in: the objects WaitForSingleObject accepts. A waitable
// object is signalled or not; waits block on its condition variable.
#pragma once

#include <condition_variable>
#include <mutex>

#include "kernel/kernel_object.h"

struct WaitableObject : KernelObject {
  WaitableObject(Kind objectKind, bool manualResetMode, bool initiallySignalled)
      : KernelObject(objectKind), manualReset(manualResetMode), signalled(initiallySignalled) {}

  // Notifies while holding the lock: a woken waiter may close the last handle and free
  // the object as soon as it returns, so nothing here may touch the object after the
  // unlock.
  void Signal() {
    std::lock_guard<std::mutex> guard(mutex);
    signalled = true;
    if (manualReset) {
      changed.notify_all();
    } else {
      changed.notify_one();
    }
  }

  void Reset() {
    std::lock_guard<std::mutex> guard(mutex);
    signalled = false;
  }

  std::mutex mutex;
  std::condition_variable changed;
  const bool manualReset;
  bool signalled;
};
