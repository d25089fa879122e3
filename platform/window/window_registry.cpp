// The table of live windows and the message queue of every thread.
#include <SDL2/SDL.h>

#include <algorithm>
#include <deque>
#include <map>

#include "window/window_internal.h"

namespace window_internal {
namespace {

std::vector<HWND>& Windows() {
  static std::vector<HWND> windows;
  return windows;
}

}  // namespace

std::mutex& Mutex() {
  static std::mutex mutex;
  return mutex;
}

bool IsLive(HWND window) {
  const auto& windows = Windows();
  return window != nullptr && std::find(windows.begin(), windows.end(), window) != windows.end();
}

void AddWindow(HWND window) { Windows().push_back(window); }

void RemoveWindow(HWND window) {
  auto& windows = Windows();
  windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

HWND FindBySdlWindowId(unsigned int sdlWindowId) {
  for (HWND window : Windows()) {
    if (SDL_GetWindowID(window->sdlWindow) == sdlWindowId) return window;
  }
  return nullptr;
}

std::vector<HWND> WindowsOwnedBy(std::thread::id thread) {
  std::vector<HWND> owned;
  for (HWND window : Windows()) {
    if (window->ownerThread == thread) owned.push_back(window);
  }
  return owned;
}

std::vector<HWND> AllWindows() { return Windows(); }

}  // namespace window_internal

bool EnsureVideoStarted() {
  static bool started = false;
  if (!started) started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  return started;
}
