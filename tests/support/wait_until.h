// Bounded waiting for another thread's progress: polls until the condition holds or
// the time limit passes (a generous limit, so slow machines do not fail).
// (No <chrono> here: its C++20 unit suffixes do not compile to Shift-JIS.)
#pragma once

#include <time.h>

template <typename Condition>
bool WaitUntil(Condition condition, long limitMilliseconds = 20000) {
  const timespec pause = {0, 1000000};
  for (long waited = 0; !condition(); ++waited) {
    if (waited >= limitMilliseconds) return false;
    nanosleep(&pause, nullptr);
  }
  return true;
}
