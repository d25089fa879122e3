#include "winmm/time.h"

#include "kernel/clock.h"

namespace {

constexpr UINT kPeriodMin = 1;
constexpr UINT kPeriodMax = 1000;

MMRESULT CheckPeriod(UINT period) {
  return (period >= kPeriodMin && period <= kPeriodMax) ? TIMERR_NOERROR : TIMERR_NOCANDO;
}

}  // namespace

DWORD timeGetTime() { return static_cast<DWORD>(ReadClockMicroseconds() / 1000); }

MMRESULT timeGetDevCaps(LPTIMECAPS caps, UINT sizeOfCaps) {
  if (caps == nullptr || sizeOfCaps < sizeof(TIMECAPS)) return TIMERR_NOCANDO;
  caps->wPeriodMin = kPeriodMin;
  caps->wPeriodMax = kPeriodMax;
  return TIMERR_NOERROR;
}

MMRESULT timeBeginPeriod(UINT period) { return CheckPeriod(period); }
MMRESULT timeEndPeriod(UINT period) { return CheckPeriod(period); }
