// The table of live windows and the message queue of every thread.
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <string>

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

// Drivers that show nothing: SDL takes them only when they are named.
bool ShowsNothing(const char* driver) {
  for (const char* blind : {"dummy", "offscreen", "evdev"}) {
    if (std::strcmp(driver, blind) == 0) return true;
  }
  return false;
}

// Wayland is reached through a socket handed over, an absolute socket path, or the
// runtime folder; without any of them its library only complains on standard error.
bool WaylandReachable() {
  const char* socket = std::getenv("WAYLAND_SOCKET");
  const char* display = std::getenv("WAYLAND_DISPLAY");
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return (socket != nullptr && socket[0] != '\0') || (display != nullptr && display[0] == '/') ||
         (runtime != nullptr && runtime[0] == '/');
}

// The drivers worth trying when none was named, in SDL's order of preference.
std::string DisplayDrivers() {
  std::string drivers;
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    const char* driver = SDL_GetVideoDriver(i);
    if (driver == nullptr || ShowsNothing(driver)) continue;
    if (std::strcmp(driver, "wayland") == 0 && !WaylandReachable()) continue;
    drivers += drivers.empty() ? driver : std::string(",") + driver;
  }
  return drivers;
}

}  // namespace

// Without a reachable display the program must not run unseen on a driver that shows
// nothing, so unless SDL_VIDEODRIVER names one (tests and headless tools name "dummy"),
// only the drivers that can show a window are tried.
bool EnsureVideoStarted() {
  static bool started = false;
  if (started) return true;
  const char* named = std::getenv("SDL_VIDEODRIVER");
  if (named == nullptr || named[0] == '\0') {
    const std::string drivers = DisplayDrivers();
    if (drivers.empty()) return false;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
  }
  started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  return started;
}
