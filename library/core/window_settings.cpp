// Window mode and style, the caption, run-while-inactive, and the local date and time.
#include "core/log.h"
#include "core/main_window.h"
#include "core/text_format.h"
#include "core/window_state.h"
#include "core/window_workers.h"
#include "float_to_int.h"
#include "graphics/graphics_workers.h"
#include "graphics/screen_mode.h"
#include "kernel/clock.h"
#include "window/window.h"
#include "winmm/time.h"

namespace {

// A mode change waits this long at most for the display to report its new mode.
constexpr DWORD kDisplayChangeWaitMs = 2000;

// The client area's size: screen-mode size x window scale (1.0 in full screen).
void ScaledClientSize(int* width, int* height) {
  GetScreenModeSizeBody(width, height);
  const double scale = GetWindowScale();
  *width = DoubleToInt(*width * scale);
  *height = DoubleToInt(*height * scale);
}

void ApplyFullScreenStyle(WindowStateBlock& state) {
  LogWrite("ウインドウスタイルをフルスクリーンモード用に変更します... ");
  SetWindowLongA(state.mainWindow, GWL_STYLE, static_cast<LONG>(kFullScreenStyle));
  SetWindowLongA(state.mainWindow, GWL_EXSTYLE, static_cast<LONG>(kFullScreenExStyle));
  ShowWindow(state.mainWindow, SW_SHOW);
  int width = 0;
  int height = 0;
  GetScreenModeSizeBody(&width, &height);
  SetWindowPos(state.mainWindow, HWND_TOPMOST, 0, 0, width, height, 0);
  state.cursorRequested = 0;
}

void ApplyWindowModeStyle(WindowStateBlock& state) {
  LogWrite("ウインドウスタイルをウインドウモード用に変更します... ");
  SetWindowLongA(state.mainWindow, GWL_STYLE, static_cast<LONG>(kWindowStyle));
  SetWindowLongA(state.mainWindow, GWL_EXSTYLE, static_cast<LONG>(kWindowExStyle));
  const RECT rect = WindowRectForMode(state);
  const int windowWidth = rect.right - rect.left;
  const int windowHeight = rect.bottom - rect.top;
  SetWindowPos(state.mainWindow, HWND_NOTOPMOST, rect.left, rect.top, windowWidth, windowHeight, 0);
  StoreClientRect(state);
  if (state.clientRect.left < 0 || state.clientRect.top < 0) {
    const int shiftX = state.clientRect.left < 0 ? -state.clientRect.left : 0;
    const int shiftY = state.clientRect.top < 0 ? -state.clientRect.top : 0;
    RECT window{};
    GetWindowRect(state.mainWindow, &window);
    MoveWindow(state.mainWindow, window.left + shiftX, window.top + shiftY, windowWidth, windowHeight, TRUE);
    StoreClientRect(state);
  }
  state.cursorRequested = 1;
}

}  // namespace

RECT WindowRectForMode(const WindowStateBlock& state) {
  int width = 0;
  int height = 0;
  if (!state.windowed) {
    GetScreenModeSizeBody(&width, &height);
    return RECT{0, 0, width, height};
  }
  ScaledClientSize(&width, &height);
  RECT rect{0, 0, width, height};
  AdjustWindowRectEx(&rect, kWindowStyle, FALSE, kWindowExStyle);
  const int windowWidth = rect.right - rect.left;
  const int windowHeight = rect.bottom - rect.top;
  const int x = (state.desktopWidth - windowWidth) / 2;
  const int y = (state.desktopHeight - windowHeight) / 2;
  return RECT{x, y, x + windowWidth, y + windowHeight};
}

void StoreClientRect(WindowStateBlock& state) {
  RECT client{};
  GetClientRect(state.mainWindow, &client);
  POINT origin{0, 0};
  ClientToScreen(state.mainWindow, &origin);
  state.clientRect = RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

int SetWindowModeFlag(int windowed) {
  GetWindowStateBlock().windowed = windowed;
  if (windowed == 1) {
    LogWrite("ウインドウモードフラグが立てられました\n");
  } else {
    LogWrite("ウインドウモードフラグが倒されました\n");
  }
  return 0;
}

int ApplyWindowStyle() {
  WindowStateBlock& state = GetWindowStateBlock();
  if (state.mainWindow == nullptr) return 0;
  if (state.windowed) {
    ApplyWindowModeStyle(state);
  } else {
    ApplyFullScreenStyle(state);
  }
  state.styleApplied = 1;
  LogWrite("完了\n");
  SetForegroundWindow(state.mainWindow);
  PostMessageA(state.mainWindow, WM_SETCURSOR, reinterpret_cast<WPARAM>(state.mainWindow),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return 0;
}

int FitWindowToScreenMode() {
  WindowStateBlock& state = GetWindowStateBlock();
  if (state.mainWindow == nullptr) return 0;
  if (state.windowed && !state.styleApplied) ApplyWindowStyle();
  int width = 0;
  int height = 0;
  ScaledClientSize(&width, &height);
  RECT rect{0, 0, width, height};
  AdjustWindowRectEx(&rect, state.windowed ? kWindowStyle : kFullScreenStyle, FALSE,
                     state.windowed ? kWindowExStyle : kFullScreenExStyle);
  SetWindowPos(state.mainWindow, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER);
  return 0;
}

int ChangeWindowModeBody(int windowed) {
  WindowStateBlock& state = GetWindowStateBlock();
  LogWrite("ChangeWindowMode実行 \n");
  if (windowed == state.windowed) return 0;
  state.styleApplied = 0;
  SetWindowModeFlag(windowed);
  if (state.mainWindow == nullptr) return 0;
  state.modeChangeInProgress = 1;
  state.displayChangeSeen = 0;
  ApplyWindowStyle();
  const int result = ChangeScreenMode(-1, -1, -1, 1, -1);
  const DWORD start = timeGetTime();
  while (ProcessMessageBody() == 0 && !state.displayChangeSeen && timeGetTime() - start < kDisplayChangeWaitMs) {
  }
  state.modeChangeInProgress = 0;
  return result;
}

int SetWindowTitleBody(const char* text) {
  WindowStateBlock& state = GetWindowStateBlock();
  FormatString(state.title, sizeof(state.title), "%s", text != nullptr ? text : "");
  if (state.mainWindow != nullptr) SetWindowTextA(state.mainWindow, state.title);
  return 0;
}

int SetRunWhileInactiveBody(int flag) {
  GetWindowStateBlock().runWhileInactive = flag;
  return 0;
}

int GetLocalDateTimeBody(int out[6]) {
  SYSTEMTIME time{};
  GetLocalTime(&time);
  out[0] = time.wYear;
  out[1] = time.wMonth;
  out[2] = time.wDay;
  out[3] = time.wHour;
  out[4] = time.wMinute;
  out[5] = time.wSecond;
  return 0;
}
