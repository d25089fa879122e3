// Window classes and windows on SDL windows.
#include <SDL2/SDL.h>
#include <strings.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <string>

#include "kernel/code_page.h"
#include "kernel/threads.h"
#include "testing.h"
#include "window/desktop.h"
#include "window/window_internal.h"

using window_internal::IsLive;
using window_internal::Mutex;

namespace {

struct WindowClass {
  std::string name;
  WNDPROC procedure;
  HCURSOR cursor;
};

std::vector<WindowClass>& Classes() {
  static std::vector<WindowClass> classes;
  return classes;
}

WindowClass* FindClass(LPCSTR name) {
  if (name == nullptr) return nullptr;
  for (WindowClass& windowClass : Classes()) {
    if (strcasecmp(windowClass.name.c_str(), name) == 0) return &windowClass;
  }
  return nullptr;
}

std::vector<std::unique_ptr<HWND__>>& DestroyedWindows() {
  static std::vector<std::unique_ptr<HWND__>> windows;
  return windows;
}

// Stands for a window of the same class in another process: never live here.
HWND__ g_otherProcessWindow;

std::atomic<bool> g_failCreation{false};

void ApplyStyles(HWND window) {
  const bool caption = (window->style & WS_CAPTION) == WS_CAPTION;
  SDL_SetWindowBordered(window->sdlWindow, caption ? SDL_TRUE : SDL_FALSE);
  SDL_SetWindowAlwaysOnTop(window->sdlWindow, (window->exStyle & WS_EX_TOPMOST) ? SDL_TRUE : SDL_FALSE);
}

bool IsOwnedLiveWindow(HWND window) {
  std::lock_guard<std::mutex> lock(Mutex());
  return IsLive(window) && window->ownerThread == std::this_thread::get_id();
}

}  // namespace

void TestFailWindowCreation(int fail) { g_failCreation.store(fail != 0); }

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
  if (windowClass == nullptr || windowClass->lpszClassName == nullptr || windowClass->lpfnWndProc == nullptr) {
    return 0;
  }
  std::lock_guard<std::mutex> lock(Mutex());
  if (FindClass(windowClass->lpszClassName) != nullptr) return 0;
  Classes().push_back({windowClass->lpszClassName, windowClass->lpfnWndProc, windowClass->hCursor});
  return static_cast<ATOM>(0xC000 + Classes().size());
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  std::lock_guard<std::mutex> lock(Mutex());
  WindowClass* windowClass = FindClass(className);
  if (windowClass == nullptr) return FALSE;
  for (HWND window : window_internal::AllWindows()) {
    if (strcasecmp(window->className.c_str(), className) == 0) return FALSE;
  }
  window_internal::ReleaseInstanceLock(windowClass->name.c_str());
  Classes().erase(Classes().begin() + (windowClass - Classes().data()));
  return TRUE;
}

std::atomic<void (*)(HWND)> g_destroyHook{nullptr};

void SetWindowDestroyHook(void (*hook)(HWND window)) { g_destroyHook.store(hook); }

HWND FindWindowA(LPCSTR className, LPCSTR) {
  if (className == nullptr) return nullptr;
  {
    std::lock_guard<std::mutex> lock(Mutex());
    for (HWND window : window_internal::AllWindows()) {
      if (strcasecmp(window->className.c_str(), className) == 0) return window;
    }
  }
  // Finding none takes the mark for the window this process is about to make, in the
  // same step: two processes looking at one instant cannot both find none.
  return window_internal::TakeInstanceLock(className) ? nullptr : &g_otherProcessWindow;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND, void*, HINSTANCE, LPVOID) {
  if (g_failCreation.load()) return nullptr;
  WindowClass windowClass;
  {
    std::lock_guard<std::mutex> lock(Mutex());
    WindowClass* found = FindClass(className);
    if (found == nullptr) return nullptr;
    windowClass = *found;
  }
  if (!EnsureVideoStarted()) return nullptr;
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (!((style & WS_CAPTION) == WS_CAPTION)) flags |= SDL_WINDOW_BORDERLESS;
  if (exStyle & WS_EX_TOPMOST) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  const int left = x == CW_USEDEFAULT ? static_cast<int>(SDL_WINDOWPOS_UNDEFINED) : x;
  const int top = y == CW_USEDEFAULT ? static_cast<int>(SDL_WINDOWPOS_UNDEFINED) : y;
  const std::string title = Cp932ToUtf8(windowName != nullptr ? windowName : "");
  SDL_Window* sdlWindow = SDL_CreateWindow(title.c_str(), left, top, width > 0 ? width : 1,
                                           height > 0 ? height : 1, flags);
  if (sdlWindow == nullptr) return nullptr;

  HWND window = new HWND__;
  window->sdlWindow = sdlWindow;
  window->windowProc = windowClass.procedure;
  window->className = windowClass.name;
  window->style = style;
  window->exStyle = exStyle;
  window->ownerThread = std::this_thread::get_id();
  window->ownerThreadId = GetCurrentThreadId();
  window->needsPaint = true;
  {
    std::lock_guard<std::mutex> lock(Mutex());
    window_internal::AddWindow(window);
  }
  window_internal::TakeInstanceLock(windowClass.name.c_str());
  if (style & WS_VISIBLE) SDL_ShowWindow(sdlWindow);
  return window;
}

BOOL DestroyWindow(HWND window) {
  if (!IsOwnedLiveWindow(window)) return FALSE;
  window->windowProc(window, WM_DESTROY, 0, 0);
  {
    std::lock_guard<std::mutex> lock(Mutex());
    window_internal::RemoveWindow(window);
    window_internal::DropMessagesOf(window);
  }
  if (auto hook = g_destroyHook.load()) hook(window);
  SDL_DestroyWindow(window->sdlWindow);
  // A destroyed window's handle stays a dead handle, as on the real system: holders
  // such as a DirectDraw object may still ask about it, and it is never handed out
  // again.
  window->sdlWindow = nullptr;
  DestroyedWindows().emplace_back(window);
  return TRUE;
}

BOOL IsWindow(HWND window) {
  std::lock_guard<std::mutex> lock(Mutex());
  return IsLive(window) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND window, int command) {
  if (!IsOwnedLiveWindow(window)) return FALSE;
  const bool wasVisible = (SDL_GetWindowFlags(window->sdlWindow) & SDL_WINDOW_SHOWN) != 0;
  if (command == SW_HIDE) {
    SDL_HideWindow(window->sdlWindow);
  } else {
    SDL_ShowWindow(window->sdlWindow);
  }
  return wasVisible ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND window) {
  if (!IsOwnedLiveWindow(window)) return FALSE;
  if (window->needsPaint) window->windowProc(window, WM_PAINT, 0, 0);
  return TRUE;
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  if (!IsOwnedLiveWindow(window)) return FALSE;
  SDL_SetWindowTitle(window->sdlWindow, Cp932ToUtf8(text != nullptr ? text : "").c_str());
  return TRUE;
}

LONG SetWindowLongA(HWND window, int index, LONG value) {
  if (!IsOwnedLiveWindow(window)) return 0;
  DWORD* field = index == GWL_STYLE ? &window->style : index == GWL_EXSTYLE ? &window->exStyle : nullptr;
  if (field == nullptr) return 0;
  const LONG previous = static_cast<LONG>(*field);
  *field = static_cast<DWORD>(value);
  ApplyStyles(window);
  return previous;
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  if (!IsOwnedLiveWindow(window)) return FALSE;
  if (!(flags & SWP_NOZORDER)) {
    if (insertAfter == HWND_TOPMOST) window->exStyle |= WS_EX_TOPMOST;
    if (insertAfter == HWND_NOTOPMOST) window->exStyle &= ~WS_EX_TOPMOST;
    ApplyStyles(window);
  }
  if (!(flags & SWP_NOMOVE)) SDL_SetWindowPosition(window->sdlWindow, x, y);
  if (!(flags & SWP_NOSIZE)) SDL_SetWindowSize(window->sdlWindow, width, height);
  if (flags & SWP_SHOWWINDOW) SDL_ShowWindow(window->sdlWindow);
  return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  if (!IsOwnedLiveWindow(window)) return FALSE;
  SDL_SetWindowPosition(window->sdlWindow, x, y);
  SDL_SetWindowSize(window->sdlWindow, width, height);
  if (repaint) window->needsPaint = true;
  return TRUE;
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD, BOOL, DWORD) { return rect != nullptr ? TRUE : FALSE; }

BOOL GetClientRect(HWND window, RECT* rect) {
  if (rect == nullptr || !IsOwnedLiveWindow(window)) return FALSE;
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window->sdlWindow, &width, &height);
  *rect = RECT{0, 0, width, height};
  return TRUE;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
  if (rect == nullptr || !IsOwnedLiveWindow(window)) return FALSE;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  SDL_GetWindowPosition(window->sdlWindow, &x, &y);
  SDL_GetWindowSize(window->sdlWindow, &width, &height);
  *rect = RECT{x, y, x + width, y + height};
  return TRUE;
}

BOOL ClientToScreen(HWND window, POINT* point) {
  if (point == nullptr || !IsOwnedLiveWindow(window)) return FALSE;
  int x = 0;
  int y = 0;
  SDL_GetWindowPosition(window->sdlWindow, &x, &y);
  point->x += x;
  point->y += y;
  return TRUE;
}

BOOL ScreenToClient(HWND window, POINT* point) {
  if (point == nullptr || !IsOwnedLiveWindow(window)) return FALSE;
  int x = 0;
  int y = 0;
  SDL_GetWindowPosition(window->sdlWindow, &x, &y);
  point->x -= x;
  point->y -= y;
  return TRUE;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_PAINT:
      if (IsOwnedLiveWindow(window)) window->needsPaint = false;
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) PostMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_SETCURSOR: {
      HCURSOR cursor = nullptr;
      {
        std::lock_guard<std::mutex> lock(Mutex());
        if (!IsLive(window)) return 0;
        if (const WindowClass* windowClass = FindClass(window->className.c_str())) cursor = windowClass->cursor;
      }
      SetCursor(cursor);
      return 1;
    }
    default:
      return 0;
  }
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
  if (paint == nullptr || !IsOwnedLiveWindow(window)) return nullptr;
  window->needsPaint = false;
  paint->hdc = GetDC(window);
  GetClientRect(window, &paint->rcPaint);
  return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (paint == nullptr) return FALSE;
  ReleaseDC(window, paint->hdc);
  return TRUE;
}

HWND GetForegroundWindow() {
  std::lock_guard<std::mutex> lock(Mutex());
  for (HWND window : window_internal::AllWindows()) {
    if (SDL_GetWindowFlags(window->sdlWindow) & SDL_WINDOW_INPUT_FOCUS) return window;
  }
  return nullptr;
}

BOOL SetForegroundWindow(HWND window) {
  if (!IsOwnedLiveWindow(window)) return FALSE;
  SDL_RaiseWindow(window->sdlWindow);
  return TRUE;
}

DWORD GetWindowThreadProcessId(HWND window, DWORD* processId) {
  std::lock_guard<std::mutex> lock(Mutex());
  if (!IsLive(window)) return 0;
  if (processId != nullptr) *processId = static_cast<DWORD>(getpid());
  return window->ownerThreadId;
}

BOOL AttachThreadInput(DWORD, DWORD, BOOL) { return TRUE; }
