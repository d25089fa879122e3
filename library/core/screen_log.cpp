#include "core/screen_log.h"

#include <cstring>

#include "core/main_window.h"
#include "graphics/draw_entry_points.h"
#include "graphics/fonts.h"
#include "graphics/screen_mode.h"

namespace {

constexpr int kScreenLogLines = 80;
constexpr int kScreenLogLineBytes = 255;
constexpr int kScreenLogFontSize = 16;
constexpr int kScreenLogFontThickness = 4;
constexpr int kScreenLogFontType = 1;  // edged

struct ScreenLogRecord {
  int created = 0;
  int fontSize = kScreenLogFontSize;
  int font = -1;
  int fontLost = 1;  // set by the font layer when the font is deleted
  char lines[kScreenLogLines][kScreenLogLineBytes] = {};
  std::uint32_t state = 0;
};
ScreenLogRecord g_screenLog;

}  // namespace

int InitScreenLog() {
  if (GetDirectDrawObject() == nullptr || GetMainWindow() == nullptr) return -1;
  if (!g_screenLog.created) {
    g_screenLog.created = 1;
    g_screenLog.fontSize = kScreenLogFontSize;
    g_screenLog.fontLost = 1;
    RecreateScreenLogFont();
  }
  std::memset(g_screenLog.lines, 0, sizeof(g_screenLog.lines));
  g_screenLog.state = 0;
  return 0;
}

int RecreateScreenLogFont() {
  if (!g_screenLog.fontLost) return 0;
  g_screenLog.font =
      CreateFontToHandle(nullptr, g_screenLog.fontSize, kScreenLogFontThickness, kScreenLogFontType, -1, -1, -1, -1, -1);
  // A font that could not be made stays lost and is tried again next time.
  WatchFontLoss(g_screenLog.font, &g_screenLog.fontLost);
  return 0;
}

int DrawScreenLog() {
  RecreateScreenLogFont();
  int height = 0;
  GetScreenModeSizeBody(nullptr, &height);
  const std::uint32_t white = MakeScreenColorBody(255, 255, 255);
  const std::uint32_t black = MakeScreenColorBody(0, 0, 0);
  for (int line = 0; line < kScreenLogLines && (line + 1) * kScreenLogFontSize <= height; ++line) {
    DrawTextWithFont(0, line * kScreenLogFontSize, g_screenLog.lines[line], white, g_screenLog.font, black, 0);
  }
  return 0;
}

std::uint32_t GetScreenLogState() { return g_screenLog.state; }
