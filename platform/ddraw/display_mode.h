// The display the stand-in shows on: the desktop (from SDL, or faked by tests) and the
// full-screen mode a DirectDraw object in exclusive mode may set on its window.
#pragma once

#include "ddraw/pixel_layout.h"
#include "window/hwnd.h"

#include <cstddef>

struct DisplayMode {
  DWORD width;
  DWORD height;
  DDrawPixelKind kind;
};

constexpr DWORD kDisplayRefreshRate = 60;
// The video memory surfaces may take, unless a test sets another budget.
constexpr DWORD kDefaultVideoMemory = 64u << 20;

// The full-screen mode while one is set, else the desktop (from SDL, or faked by tests).
DisplayMode GetCurrentDisplayMode();

// Where a window's client area lies on the display: SDL's window position and size (an
// SDL window's position is its client area's); empty without a window.
RECT GetWindowClientArea(HWND window);

// Exclusive (full-screen) ownership: one owner at a time, identified by an opaque key.
// DD_OK, or DDERR_EXCLUSIVEMODEALREADYSET when another owner holds it.
HRESULT ClaimExclusiveMode(const void* owner, HWND window);
void ReleaseExclusiveMode(const void* owner);
bool HoldsExclusiveMode(const void* owner);

// Sets a full-screen mode on the exclusive owner's window (the SDL window goes full
// screen; the mode is shown scaled to it). 16 and 32 bits at the usual sizes, refresh 0
// or 60; 8-bit and 24-bit modes are refused. *changed tells whether the mode differs
// from the previous one. The mode stays until its owner restores the desktop, also
// after it gives up exclusive mode.
HRESULT SetFullScreenMode(const void* owner, DWORD width, DWORD height, DWORD bits,
                          DWORD refresh, bool* changed);
// Back to the desktop when `owner` set the mode; *changed as above.
void RestoreDesktopMode(const void* owner, bool* changed);
// Places the full-screen window over the display again (making a renderer may re-create
// the window in SDL, which forgets where it was).
void RefreshFullScreenPlacement(HWND window);
// The window showing the full-screen mode `owner` set, or nullptr.
HWND GetFullScreenWindow(const void* owner);

// Video memory: a fixed budget that surfaces in video memory take from.
DWORD GetVideoMemoryTotal();
DWORD GetVideoMemoryFree();
bool TakeVideoMemory(std::size_t bytes);
void ReturnVideoMemory(std::size_t bytes);
