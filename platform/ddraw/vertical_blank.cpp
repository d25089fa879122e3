#include "ddraw/vertical_blank.h"

#include <SDL.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "testing.h"

namespace {

constexpr std::int64_t kFrameMicroseconds = 1000000 / 60;  // 16666; the remainder is dropped

struct RasterState {
  DDrawVBlankMode mode = DDrawVBlankMode::Auto;
  bool manualClock = false;
  std::int64_t manualNow = 0;
  bool started = false;
  std::chrono::steady_clock::time_point epoch;
  bool headlessInBlank = false;
};

RasterState g_raster;

bool IsHeadless() {
  switch (g_raster.mode) {
    case DDrawVBlankMode::NoWait:
      return true;
    case DDrawVBlankMode::RealTime:
      return false;
    case DDrawVBlankMode::Auto:
      break;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver == nullptr || std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0;
}

std::int64_t NowMicroseconds() {
  if (g_raster.manualClock) return g_raster.manualNow;
  auto now = std::chrono::steady_clock::now();
  if (!g_raster.started) {
    g_raster.started = true;
    g_raster.epoch = now;
  }
  return std::chrono::duration_cast<std::chrono::microseconds>(now - g_raster.epoch).count();
}

void SleepUntilMicroseconds(std::int64_t target) {
  if (g_raster.manualClock) {
    if (target > g_raster.manualNow) g_raster.manualNow = target;
    return;
  }
  std::this_thread::sleep_until(g_raster.epoch + std::chrono::microseconds(target));
}

DWORD TotalLines(DWORD visibleLines) {
  DWORD total = visibleLines * 21 / 20;
  return total > visibleLines ? total : visibleLines + 1;
}

// The first microsecond of the frame whose line is in the blank.
std::int64_t BlankStart(DWORD visibleLines) {
  std::int64_t total = TotalLines(visibleLines);
  return (kFrameMicroseconds * visibleLines + total - 1) / total;
}

}  // namespace

DWORD ReadScanLine(DWORD visibleLines) {
  if (IsHeadless()) return g_raster.headlessInBlank ? visibleLines : 0;
  std::int64_t phase = NowMicroseconds() % kFrameMicroseconds;
  return static_cast<DWORD>(phase * TotalLines(visibleLines) / kFrameMicroseconds);
}

bool ReadBlankStatus(DWORD visibleLines) {
  if (IsHeadless()) {
    g_raster.headlessInBlank = !g_raster.headlessInBlank;
    return g_raster.headlessInBlank;
  }
  return ReadScanLine(visibleLines) >= visibleLines;
}

void WaitForBlank(DWORD visibleLines, bool end) {
  if (IsHeadless()) {
    g_raster.headlessInBlank = !end;
    return;
  }
  std::int64_t now = NowMicroseconds();
  std::int64_t frameStart = now - now % kFrameMicroseconds;
  std::int64_t target = frameStart + (end ? 0 : BlankStart(visibleLines));
  if (target <= now) target += kFrameMicroseconds;
  SleepUntilMicroseconds(target);
}

void DDrawTestSetVBlankMode(DDrawVBlankMode mode) { g_raster.mode = mode; }

void DDrawTestUseManualRasterClock(bool on) {
  g_raster.manualClock = on;
  g_raster.manualNow = 0;
}

void DDrawTestAdvanceRasterClock(std::int64_t microseconds) { g_raster.manualNow += microseconds; }

std::int64_t DDrawTestRasterClock() { return g_raster.manualNow; }
