// The two timing tests of every screen-mode change: which copy between surfaces is
// faster (BltFast or GDI BitBlt), and how long one frame of the display lasts.
#include "core/log.h"
#include "core/main_window.h"
#include "gdi/gdi.h"
#include "graphics/screen_mode.h"
#include "winmm/time.h"

namespace {

// Every wait on the display's blank gives up after this long: a display whose blank
// never changes makes the frame time unknown instead of hanging the mode change.
constexpr DWORD kPollLimitMs = 100;
constexpr int kMaxSamples = 20;
constexpr int kRounds = 5;

bool InBlank() {
  BOOL inBlank = FALSE;
  GetDirectDrawObject()->GetVerticalBlankStatus(&inBlank);
  return inBlank != FALSE;
}

DWORD ScanLine() {
  DWORD line = 0;
  GetDirectDrawObject()->GetScanLine(&line);
  return line;
}

// Polls until the blank state is `wanted`; false after the time limit.
bool PollBlank(bool wanted) {
  const DWORD start = timeGetTime();
  while (InBlank() != wanted) {
    if (timeGetTime() - start > kPollLimitMs) return false;
  }
  return true;
}

// Waits until inside a blank (or the raster went back to the top), then until out of it.
bool SynchroniseOnce() {
  const DWORD start = timeGetTime();
  const DWORD first = ScanLine();
  while (!InBlank() && ScanLine() >= first) {
    if (timeGetTime() - start > kPollLimitMs) return false;
  }
  return PollBlank(false);
}

// The end of the current blank and the start of the next one.
bool WaitNextBlankStart() { return PollBlank(false) && PollBlank(true); }

double TimeCopies(const RECT& area, int method) {
  const std::int64_t start = GetMicroseconds(0);
  for (int i = 0; i < 8; ++i) {
    if (method == 0) {
      RECT source = area;
      ScreenSurfaces.work->BltFast(0, 0, ScreenSurfaces.primary, &source, 0);
    } else {
      HDC primaryDc = nullptr;
      HDC workDc = nullptr;
      if (ScreenSurfaces.primary->GetDC(&primaryDc) != DD_OK) continue;
      if (ScreenSurfaces.work->GetDC(&workDc) == DD_OK) {
        BitBlt(workDc, 0, 0, area.right, area.bottom, primaryDc, 0, 0, SRCCOPY);
        ScreenSurfaces.work->ReleaseDC(workDc);
      }
      ScreenSurfaces.primary->ReleaseDC(primaryDc);
    }
  }
  return static_cast<double>(GetMicroseconds(0) - start);
}

}  // namespace

int ChooseBlitMethod() {
  int width = 0;
  int height = 0;
  GetScreenModeSizeBody(&width, &height);
  const RECT area{0, 0, width, height};
  const double bltFast = TimeCopies(area, 0);
  const double bitBlt = TimeCopies(area, 1);
  RenderModeFlags.blitMethod = bltFast >= bitBlt ? 1 : 0;
  LogPrintf("サーフェス間転送には %s を使用します", RenderModeFlags.blitMethod ? "BitBlt" : "BltFast");
  LogPrintf("BitBlt:%.0lfμs   BltFast:%.0lfμs", bitBlt, bltFast);
  return 0;
}

int MeasureFrameTime() {
  VBlankTiming.refreshRate = -1;
  HDC windowDc = GetDC(GetMainWindow());
  VBlankTiming.refreshRate = GetDeviceCaps(windowDc, VREFRESH);
  ReleaseDC(GetMainWindow(), windowDc);
  if (VBlankTiming.refreshRate < 60) VBlankTiming.refreshRate = -1;
  VBlankTiming.frameTime = -1;
  VBlankTiming.scanLines = GetSystemMetrics(SM_CYSCREEN);
  LogPrintf("スキャンラインの数:%d", VBlankTiming.scanLines);
  const int samplesPerRound = VBlankTiming.refreshRate != -1 ? 4 : kMaxSamples;

  bool synced = true;
  for (int i = 0; i < 3 && synced; ++i) synced = SynchroniseOnce();
  if (synced) synced = PollBlank(true);

  int samples[kMaxSamples] = {};
  std::int64_t totalMicroseconds = 0;
  int samplesSoFar = 0;
  for (int round = 0; round < kRounds && synced && VBlankTiming.frameTime == -1; ++round) {
    for (int i = 0; i < samplesPerRound && synced; ++i) {
      const DWORD startMs = timeGetTime();
      const std::int64_t startUs = GetMicroseconds(0);
      synced = WaitNextBlankStart();
      samples[i] = static_cast<int>(timeGetTime() - startMs);
      totalMicroseconds += GetMicroseconds(0) - startUs;
      ++samplesSoFar;
    }
    if (!synced) break;
    if (round < kRounds - 1) {
      for (int i = 0; i < samplesPerRound && VBlankTiming.frameTime == -1; ++i) {
        for (int j = i + 1; j < samplesPerRound; ++j) {
          if (samples[i] == samples[j]) {
            VBlankTiming.frameTime = samples[i];
            break;
          }
        }
      }
    }
    if (VBlankTiming.refreshRate == -1) {
      const std::int64_t average = totalMicroseconds / samplesSoFar;
      if (average > 0) {
        const std::int64_t r10 = 10000000 / average;
        VBlankTiming.refreshRate = static_cast<int>(r10 / 10 + (r10 % 10 > 5 ? 1 : 0));
      }
    }
  }
  if (VBlankTiming.frameTime == -1) {
    LogWrite("１フレームの時間を正常に取得できませんでした\n");
  } else {
    LogPrintf("１フレーム当たりの時間は %d msecです", VBlankTiming.frameTime);
  }
  for (int i = 0; i < samplesPerRound && synced; ++i) LogPrintf("\tTri%02d:%d msec", i, samples[i]);
  VBlankTiming.sleepThreshold = VBlankTiming.frameTime == -1 ? -1 : (2 * VBlankTiming.frameTime - 4) / 3;
  return 0;
}
