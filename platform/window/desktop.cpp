// The cursor, stock brushes, the screen saver and the input method switch.
#include "window/desktop.h"

#include <SDL2/SDL.h>

#include <mutex>

#include "window/window_internal.h"

struct HCURSOR__ {};

namespace {

struct CursorState {
  int showCount = 0;
  HCURSOR current = nullptr;
};
CursorState g_cursor;

HCURSOR__ g_arrowCursor;
HGDIOBJ__ g_blackBrush;
HGDIOBJ__ g_nullBrush;
DWORD g_foregroundLockTimeout = 200000;

void ApplyCursor() {
  const bool visible = g_cursor.showCount >= 0 && g_cursor.current != nullptr;
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

}  // namespace

HWND GetDesktopWindow() {
  static HWND__ desktop;
  return &desktop;
}

HGDIOBJ GetStockObject(int object) {
  switch (object) {
    case BLACK_BRUSH: return &g_blackBrush;
    case NULL_BRUSH: return &g_nullBrush;
    default: return nullptr;
  }
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  return dc != nullptr && rect != nullptr && brush != nullptr ? 1 : 0;
}

int ShowCursor(BOOL show) {
  g_cursor.showCount += show ? 1 : -1;
  ApplyCursor();
  return g_cursor.showCount;
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR previous = g_cursor.current;
  g_cursor.current = cursor;
  ApplyCursor();
  return previous;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  return instance == nullptr && name == IDC_ARROW ? &g_arrowCursor : nullptr;
}

HICON LoadIconA(HINSTANCE, LPCSTR) { return nullptr; }

BOOL GetCursorPos(POINT* point) {
  if (point == nullptr || SDL_WasInit(SDL_INIT_VIDEO) == 0) return FALSE;
  int x = 0;
  int y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  *point = POINT{x, y};
  return TRUE;
}

BOOL SystemParametersInfoA(UINT action, UINT param, void* value, UINT) {
  switch (action) {
    case SPI_SETSCREENSAVEACTIVE:
      if (!EnsureVideoStarted()) return FALSE;
      if (param) {
        SDL_EnableScreenSaver();
      } else {
        SDL_DisableScreenSaver();
      }
      return TRUE;
    case SPI_GETFOREGROUNDLOCKTIMEOUT:
      if (value == nullptr) return FALSE;
      *static_cast<DWORD*>(value) = g_foregroundLockTimeout;
      return TRUE;
    case SPI_SETFOREGROUNDLOCKTIMEOUT:
      g_foregroundLockTimeout = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(value));
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL WINNLSEnableIME(HWND window, BOOL enable) {
  std::lock_guard<std::mutex> lock(window_internal::Mutex());
  if (!window_internal::IsLive(window)) return FALSE;
  const BOOL previous = window->imeEnabled ? TRUE : FALSE;
  window->imeEnabled = enable != FALSE;
  return previous;
}
