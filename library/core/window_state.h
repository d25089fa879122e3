// The library's window and system state, shared by the window, pump and window
// procedure code. Every field but the quit and thread-ended flags is used under the
// library lock only.
#pragma once

#include <atomic>

#include "kernel/win_types.h"
#include "window/hwnd.h"

constexpr char kMainWindowClass[] = "M123987U";
constexpr std::size_t kWindowTitleSize = 256;

// Window styles: window mode (popup with caption, system menu and minimise box; window
// and client edges) and full screen (popup, topmost).
constexpr DWORD kWindowStyle = 0x80CA0000u;
constexpr DWORD kWindowExStyle = 0x300u;
constexpr DWORD kFullScreenStyle = 0x80000000u;
constexpr DWORD kFullScreenExStyle = 0x8u;

struct WindowStateBlock {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  HANDLE pumpThread = nullptr;
  std::atomic<int> pumpThreadEnded{0};
  DWORD mainThreadId = 0;

  int windowed = 0;
  int modeChangeInProgress = 0;
  int displayChangeSeen = 0;
  int styleApplied = 0;

  std::atomic<int> quit{0};
  int windowDestroyed = 0;
  int closePosted = 0;

  int active = 0;
  DWORD inactiveSince = 0;
  int inactiveSeen = 0;
  int creating = 0;
  int ending = 0;
  int surfacesLostWhileInactive = 0;

  int cursorRequested = 0;
  int cursorShown = 0;
  int wheelCounter = 0;

  RECT clientRect{0, 0, 0, 0};
  double windowScale = 0.0;
  int desktopWidth = 0;
  int desktopHeight = 0;
  int desktopBits = 0;

  char title[kWindowTitleSize]{};
  int runWhileInactive = 0;
  int inPaint = 0;

  int hasPerformanceCounter = 0;
  LONGLONG performanceFrequency = 0;
};

WindowStateBlock& GetWindowStateBlock();
// Clears the state but keeps what was set before the start (at the start; in tests, the
// state of a fresh process).
void ResetWindowState();

// Posts WM_CLOSE to the main window unless the library has already done so.
void PostCloseOnce();
// Stores the client area of the main window in screen coordinates.
void StoreClientRect(WindowStateBlock& state);
// The main window's rectangle for its mode: in window mode the client area of
// screen-mode size x window scale, centred on the desktop; in full screen the screen
// mode at (0, 0).
RECT WindowRectForMode(const WindowStateBlock& state);
