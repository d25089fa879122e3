// Thin versions of the main window, start-up and input services that graphics calls,
// until the window work lands and replaces this file. The window is one SDL window of
// the screen-mode size at the desktop's top-left corner, always active; the library
// counts as starting while that window exists.
#include <SDL.h>

#include <cstdlib>

#include "core/input_devices.h"
#include "core/library_startup.h"
#include "core/log.h"
#include "core/main_window.h"
#include "gdi/gdi.h"
#include "graphics/screen_mode.h"
#include "kernel/clock.h"

namespace {

struct PendingWindow {
  HWND__ handle{};
  int exists = 0;
  int windowed = 0;
};
PendingWindow g_window;

}  // namespace

int InitWindowSystem() {
  if (g_window.exists) return -1;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return LogWrite("ウインドウの作成に失敗しました\n");
  int width = 0;
  int height = 0;
  GetScreenModeSizeBody(&width, &height);
  g_window.handle.sdlWindow = SDL_CreateWindow("Vantorel", 0, 0, width, height, 0);
  if (g_window.handle.sdlWindow == nullptr) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return LogWrite("ウインドウの作成に失敗しました\n");
  }
  g_window.exists = 1;
  return 0;
}

int DestroyMainWindow() {
  if (!g_window.exists) return 0;
  SDL_DestroyWindow(g_window.handle.sdlWindow);
  g_window.handle.sdlWindow = nullptr;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  g_window.exists = 0;
  return 0;
}

int ProcessMessageBody() {
  if (g_window.exists) SDL_PumpEvents();
  return 0;
}
void WaitWhileInactive() {}

int SetWindowModeFlag(int windowed) {
  g_window.windowed = windowed;
  return 0;
}

int ApplyWindowStyle() { return FitWindowToScreenMode(); }

int FitWindowToScreenMode() {
  if (!g_window.exists) return 0;
  int width = 0;
  int height = 0;
  GetScreenModeSizeBody(&width, &height);
  SDL_SetWindowSize(g_window.handle.sdlWindow, width, height);
  SDL_SetWindowPosition(g_window.handle.sdlWindow, 0, 0);
  return 0;
}

HWND GetMainWindow() { return g_window.exists ? &g_window.handle : nullptr; }
int IsWindowed() { return g_window.windowed; }

int GetDesktopMode(int* width, int* height, int* bits) {
  HDC screen = GetDC(nullptr);
  if (width != nullptr) *width = GetSystemMetrics(SM_CXSCREEN);
  if (height != nullptr) *height = GetSystemMetrics(SM_CYSCREEN);
  if (bits != nullptr) *bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return 0;
}

int IsAppActive() { return 1; }
double GetWindowScale() { return 1.0; }

int GetClientAreaSize(int rect[4]) {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  if (g_window.exists) {
    SDL_GetWindowPosition(g_window.handle.sdlWindow, &x, &y);
    SDL_GetWindowSize(g_window.handle.sdlWindow, &width, &height);
  }
  rect[0] = x;
  rect[1] = y;
  rect[2] = x + width;
  rect[3] = y + height;
  return 0;
}

std::int64_t GetMicroseconds(int) { return static_cast<std::int64_t>(ReadClockMicroseconds()); }

int IsLibraryInitialised() { return 0; }
int IsLibraryInitialising() { return g_window.exists; }

void FatalErrorExit(const char* text) {
  LogWrite(text);
  LogWrite("\n");
  std::_Exit(255);
}

int EndInputSystem() { return 0; }
