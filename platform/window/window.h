// The window stand-in: window classes, windows on SDL windows, the message queue and
// the window messages the library handles. SDL's window and event calls are made only
// on the thread that created the window; other threads find only their own posted
// messages.
#pragma once

#include "kernel/win_types.h"
#include "window/hwnd.h"

// Window messages.
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ACTIVATEAPP 0x001C
#define WM_SETCURSOR 0x0020
#define WM_DISPLAYCHANGE 0x007E
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_IME_STARTCOMPOSITION 0x010D
#define WM_IME_ENDCOMPOSITION 0x010E
#define WM_IME_COMPOSITION 0x010F
#define WM_SYSCOMMAND 0x0112
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MOUSEWHEEL 0x020A
#define WM_SIZING 0x0214
#define WM_MOVING 0x0216
#define MM_MCINOTIFY 0x03B9  // never sent: the stand-ins have no MCI devices
#define WM_IME_SETCONTEXT 0x0281
#define WM_IME_NOTIFY 0x0282
#define WM_IME_KEYUP 0x0291

#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2
#define SC_CLOSE 0xF060
#define SC_SCREENSAVE 0xF140
#define WHEEL_DELTA 120
#define HTCLIENT 1

// WM_SIZING edges.
#define WMSZ_LEFT 1
#define WMSZ_RIGHT 2
#define WMSZ_TOP 3
#define WMSZ_TOPLEFT 4
#define WMSZ_TOPRIGHT 5
#define WMSZ_BOTTOM 6
#define WMSZ_BOTTOMLEFT 7
#define WMSZ_BOTTOMRIGHT 8

// Virtual keys the library names.
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_ESCAPE 0x1B
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_DELETE 0x2E

// Window styles.
#define WS_POPUP 0x80000000u
#define WS_VISIBLE 0x10000000u
#define WS_CAPTION 0x00C00000u
#define WS_SYSMENU 0x00080000u
#define WS_MINIMIZEBOX 0x00020000u
#define WS_EX_TOPMOST 0x00000008u
#define WS_EX_WINDOWEDGE 0x00000100u
#define WS_EX_CLIENTEDGE 0x00000200u
#define CS_VREDRAW 0x0001u
#define CS_HREDRAW 0x0002u
#define CW_USEDEFAULT (static_cast<int>(0x80000000u))
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5

#define SWP_NOSIZE 0x0001u
#define SWP_NOMOVE 0x0002u
#define SWP_NOZORDER 0x0004u
#define SWP_SHOWWINDOW 0x0040u
#define HWND_TOP (reinterpret_cast<HWND>(0))
#define HWND_TOPMOST (reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1)))
#define HWND_NOTOPMOST (reinterpret_cast<HWND>(static_cast<std::intptr_t>(-2)))

#define PM_NOREMOVE 0x0000u
#define PM_REMOVE 0x0001u

#define MAKEINTRESOURCEA(id) (reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(id))))
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define LOWORD(value) (static_cast<WORD>(static_cast<std::uintptr_t>(value) & 0xFFFF))
#define HIWORD(value) (static_cast<WORD>((static_cast<std::uintptr_t>(value) >> 16) & 0xFFFF))
#define MAKELPARAM(low, high) \
  (static_cast<LPARAM>(static_cast<DWORD>((static_cast<WORD>(low)) | (static_cast<DWORD>(static_cast<WORD>(high)) << 16))))

struct WNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

struct PAINTSTRUCT {
  HDC hdc;
  RECT rcPaint;
};

// Starts SDL's video and event system once for the process; on the game thread. The
// display and the desktop are there from then on. False when SDL cannot start it.
bool EnsureVideoStarted();

// Classes and windows.
ATOM RegisterClassA(const WNDCLASSA* windowClass);
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
// A window of the class in this process, or, while the double-start check is on, a
// stand-in handle for the window of another process of the same user and display. A
// look that finds none marks the class as this process's until it is unregistered or
// the process ends, as the window made next would.
HWND FindWindowA(LPCSTR className, LPCSTR windowName);
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, void* menu, HINSTANCE instance, LPVOID param);
BOOL DestroyWindow(HWND window);
// Called by DestroyWindow, on the window's thread, just before its SDL window goes: what
// presents into the window lets go of the renderer it made for it.
void SetWindowDestroyHook(void (*hook)(HWND window));
BOOL IsWindow(HWND window);
BOOL ShowWindow(HWND window, int command);
BOOL UpdateWindow(HWND window);
BOOL SetWindowTextA(HWND window, LPCSTR text);
LONG SetWindowLongA(HWND window, int index, LONG value);
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
// Frames belong to the window manager, outside the SDL window: window rectangle and
// client rectangle are the same, and adjusting a rectangle for a style changes nothing.
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL ClientToScreen(HWND window, POINT* point);
BOOL ScreenToClient(HWND window, POINT* point);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

// Foreground and activation. There is one input thread, so attaching input is a no-op.
HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND window);
DWORD GetWindowThreadProcessId(HWND window, DWORD* processId);
BOOL AttachThreadInput(DWORD attachFrom, DWORD attachTo, BOOL attach);

// Messages.
BOOL PeekMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL GetMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageA(const MSG* message);
