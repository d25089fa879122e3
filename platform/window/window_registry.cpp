// The table of live windows and the message queue of every thread.
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>
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

namespace {

// Without a reachable display SDL may settle for a driver that shows nothing. Unless a
// driver was asked for by name (tests and headless tools ask for "dummy"), that is no
// display: the program would otherwise run unseen.
bool ShowsNothingUnasked() {
  const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  if (asked != nullptr && asked[0] != '\0') return false;
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver == nullptr || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

}  // namespace

bool EnsureVideoStarted() {
  static bool started = false;
  if (started) return true;
  started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  if (started && ShowsNothingUnasked()) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    started = false;
  }
  return started;
}
