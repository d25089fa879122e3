// Time of the kernel stand-in: the performance counter (monotonic, counting
// microseconds) and the local date and time.
#pragma once

#include <cstdint>

#include "kernel/win_types.h"

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
void GetLocalTime(SYSTEMTIME* time);

// Microseconds on the one clock behind the performance counter and timeGetTime:
// the monotonic system clock, or the tests' virtual clock while it is on.
std::uint64_t ReadClockMicroseconds();
// The same clock read without moving the tests' virtual clock on: for stand-in threads
// that watch the time while the program's own reads drive it.
std::uint64_t PeekClockMicroseconds();
// True while the tests' virtual clock stands in for the system clock (waits for a
// moment on it cannot be timed by the system clock).
bool ClockIsVirtual();
// Lets `milliseconds` pass on that clock: a sleep of the calling thread, or, under the
// virtual clock, a step of the clock with no wait at all.
void SleepOnClock(DWORD milliseconds);
