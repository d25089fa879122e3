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
