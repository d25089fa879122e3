// WinMM timing of the stand-in: the millisecond timer reads the same clock as the
// performance counter (so the tests' virtual clock drives both). Periods are
// accepted between 1 and 1000 ms; the timer always has 1 ms resolution.
#pragma once

#include "kernel/win_types.h"

typedef UINT MMRESULT;

#define TIMERR_NOERROR 0u
#define TIMERR_NOCANDO 97u

struct TIMECAPS {
  UINT wPeriodMin;
  UINT wPeriodMax;
};
typedef TIMECAPS* LPTIMECAPS;

DWORD timeGetTime();
MMRESULT timeGetDevCaps(LPTIMECAPS caps, UINT sizeOfCaps);
MMRESULT timeBeginPeriod(UINT period);
MMRESULT timeEndPeriod(UINT period);
