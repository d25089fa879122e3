#include "ddraw/display_mode.h"

#include <SDL.h>

#include "testing.h"
#include "window/window.h"

namespace {

struct ModeSize {
  DWORD width;
  DWORD height;
};

// The full-screen sizes offered; the mode is scaled to the window, so any of them fits.
constexpr ModeSize kModeSizes[] = {
    {320, 240},   {640, 400},   {640, 480},   {800, 600},   {1024, 768},  {1152, 864},
    {1280, 720},  {1280, 960},  {1280, 1024}, {1600, 1200}, {1920, 1080},
};

struct DisplayState {
  const void* exclusiveOwner = nullptr;
  HWND exclusiveWindow = nullptr;
  bool fullScreen = false;
  const void* modeOwner = nullptr;
  HWND modeWindow = nullptr;
  SDL_Rect windowedPlace{0, 0, 0, 0};  // the mode window's place before full screen
  DisplayMode fullScreenMode{};
  bool rgb555 = false;
  bool desktopFaked = false;
  DisplayMode fakedDesktop{};
  DWORD videoMemoryTotal = kDefaultVideoMemory;
  std::size_t videoMemoryUsed = 0;
};

DisplayState g_display;

DDrawPixelKind SixteenBitKind() {
  return g_display.rgb555 ? DDrawPixelKind::X1R5G5B5 : DDrawPixelKind::RGB565;
}

// Storage bits decide: a 24-bit-colour desktop kept in 32-bit pixels counts as 32.
DDrawPixelKind KindForBits(int bits) {
  switch (bits) {
    case 16:
      return SixteenBitKind();
    case 24:
      return DDrawPixelKind::R8G8B8;
    default:
      return DDrawPixelKind::X8R8G8B8;
  }
}

// The window covers the display while a mode is set. Besides asking for full screen, the
// window is placed over the whole display itself, since without a window manager (a bare
// X server) the request alone moves nothing; its own place comes back afterwards.
void CoverDisplay(SDL_Window* window) {
  SDL_Rect display{0, 0, 0, 0};
  SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &display);
  SDL_SetWindowPosition(window, display.x, display.y);
  SDL_SetWindowSize(window, display.w, display.h);
  SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void SetWindowFullScreen(HWND window, bool on) {
  if (window == nullptr || window->sdlWindow == nullptr) return;
  SDL_Window* sdlWindow = window->sdlWindow;
  SDL_Rect& place = g_display.windowedPlace;
  if (on) {
    SDL_GetWindowPosition(sdlWindow, &place.x, &place.y);
    SDL_GetWindowSize(sdlWindow, &place.w, &place.h);
    CoverDisplay(sdlWindow);
  } else {
    SDL_SetWindowFullscreen(sdlWindow, 0);
    SDL_SetWindowSize(sdlWindow, place.w, place.h);
    SDL_SetWindowPosition(sdlWindow, place.x, place.y);
  }
}

DisplayMode GetDesktopMode() {
  if (g_display.desktopFaked) return g_display.fakedDesktop;
  SDL_DisplayMode mode;
  if (!EnsureVideoStarted() || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
    return {1024, 768, DDrawPixelKind::X8R8G8B8};
  }
  DDrawPixelKind kind = DDrawPixelKind::X8R8G8B8;
  if (SDL_BYTESPERPIXEL(mode.format) == 2) {
    kind = SDL_PIXELLAYOUT(mode.format) == SDL_PACKEDLAYOUT_565 ? DDrawPixelKind::RGB565
                                                                 : DDrawPixelKind::X1R5G5B5;
  } else if (SDL_BYTESPERPIXEL(mode.format) == 3) {
    kind = DDrawPixelKind::R8G8B8;
  }
  return {static_cast<DWORD>(mode.w), static_cast<DWORD>(mode.h), kind};
}

}  // namespace


RECT GetWindowClientArea(HWND window) {
  RECT area{0, 0, 0, 0};
  if (window == nullptr || window->sdlWindow == nullptr) return area;
  int x = 0, y = 0, width = 0, height = 0;
  SDL_GetWindowPosition(window->sdlWindow, &x, &y);
  SDL_GetWindowSize(window->sdlWindow, &width, &height);
  area = {x, y, x + width, y + height};
  return area;
}

DisplayMode GetCurrentDisplayMode() {
  return g_display.fullScreen ? g_display.fullScreenMode : GetDesktopMode();
}

HRESULT ClaimExclusiveMode(const void* owner, HWND window) {
  if (g_display.exclusiveOwner != nullptr && g_display.exclusiveOwner != owner) {
    return DDERR_EXCLUSIVEMODEALREADYSET;
  }
  g_display.exclusiveOwner = owner;
  g_display.exclusiveWindow = window;
  return DD_OK;
}

void ReleaseExclusiveMode(const void* owner) {
  if (g_display.exclusiveOwner != owner) return;
  g_display.exclusiveOwner = nullptr;
  g_display.exclusiveWindow = nullptr;
}

bool HoldsExclusiveMode(const void* owner) {
  return owner != nullptr && g_display.exclusiveOwner == owner;
}

HRESULT SetFullScreenMode(const void* owner, DWORD width, DWORD height, DWORD bits,
                          DWORD refresh, bool* changed) {
  *changed = false;
  if (!HoldsExclusiveMode(owner)) return DDERR_NOEXCLUSIVEMODE;
  if ((bits != 16 && bits != 32) || (refresh != 0 && refresh != kDisplayRefreshRate)) {
    return DDERR_INVALIDMODE;
  }
  bool listed = false;
  for (const ModeSize& size : kModeSizes) listed |= size.width == width && size.height == height;
  if (!listed) return DDERR_INVALIDMODE;

  DisplayMode before = GetCurrentDisplayMode();
  DisplayMode mode{width, height, KindForBits(static_cast<int>(bits))};
  *changed = before.width != mode.width || before.height != mode.height || before.kind != mode.kind;
  bool windowCovers = g_display.fullScreen && g_display.modeWindow == g_display.exclusiveWindow;
  if (g_display.fullScreen && !windowCovers) SetWindowFullScreen(g_display.modeWindow, false);
  g_display.fullScreen = true;
  g_display.fullScreenMode = mode;
  g_display.modeOwner = owner;
  g_display.modeWindow = g_display.exclusiveWindow;
  if (!windowCovers) SetWindowFullScreen(g_display.modeWindow, true);
  return DD_OK;
}

void RestoreDesktopMode(const void* owner, bool* changed) {
  *changed = false;
  if (!g_display.fullScreen || g_display.modeOwner != owner) return;
  DisplayMode before = g_display.fullScreenMode;
  g_display.fullScreen = false;
  DisplayMode desktop = GetDesktopMode();
  *changed = before.width != desktop.width || before.height != desktop.height || before.kind != desktop.kind;
  SetWindowFullScreen(g_display.modeWindow, false);
  g_display.modeOwner = nullptr;
  g_display.modeWindow = nullptr;
}

void RefreshFullScreenPlacement(HWND window) {
  if (!g_display.fullScreen || window == nullptr || window != g_display.modeWindow) return;
  SDL_SetWindowFullscreen(window->sdlWindow, 0);
  CoverDisplay(window->sdlWindow);
}

HWND GetFullScreenWindow(const void* owner) {
  return g_display.fullScreen && g_display.modeOwner == owner ? g_display.modeWindow : nullptr;
}

DWORD GetVideoMemoryTotal() { return g_display.videoMemoryTotal; }

DWORD GetVideoMemoryFree() {
  std::size_t total = g_display.videoMemoryTotal;
  return g_display.videoMemoryUsed >= total ? 0 : static_cast<DWORD>(total - g_display.videoMemoryUsed);
}

bool TakeVideoMemory(std::size_t bytes) {
  if (bytes > GetVideoMemoryFree()) return false;
  g_display.videoMemoryUsed += bytes;
  return true;
}

void ReturnVideoMemory(std::size_t bytes) {
  g_display.videoMemoryUsed = bytes > g_display.videoMemoryUsed ? 0 : g_display.videoMemoryUsed - bytes;
}

void DDrawTestFakeDesktop(int width, int height, int bits) {
  g_display.desktopFaked = width > 0 && height > 0;
  g_display.fakedDesktop = {static_cast<DWORD>(width), static_cast<DWORD>(height), KindForBits(bits)};
}

void DDrawTestUseRgb555(bool on) {
  g_display.rgb555 = on;
  if (g_display.desktopFaked && GetPixelLayout(g_display.fakedDesktop.kind).bytes == 2) {
    g_display.fakedDesktop.kind = SixteenBitKind();
  }
  if (g_display.fullScreen && GetPixelLayout(g_display.fullScreenMode.kind).bytes == 2) {
    g_display.fullScreenMode.kind = SixteenBitKind();
  }
}

void DDrawTestSetVideoMemory(DWORD bytes) { g_display.videoMemoryTotal = bytes; }
