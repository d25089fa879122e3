// The desktop, cursor, screen saver and input method as the window stand-in reports
// and steers them.
#pragma once

#include "kernel/win_types.h"
#include "window/hwnd.h"

#define SM_CXSCREEN 0
#define SM_CYSCREEN 1

#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define VREFRESH 116

#define BLACK_BRUSH 4
#define NULL_BRUSH 5

#define SPI_SETSCREENSAVEACTIVE 0x0011u
#define SPI_GETFOREGROUNDLOCKTIMEOUT 0x2000u
#define SPI_SETFOREGROUNDLOCKTIMEOUT 0x2001u
#define SPIF_SENDCHANGE 0x0002u

// The desktop's size and depth. The depth is the storage size of a pixel: a desktop of
// 24 colour bits held in 32-bit pixels is a 32-bit desktop.
struct DesktopMode {
  int width;
  int height;
  int bitsPerPixel;
};
DesktopMode QueryDesktopMode();

int GetSystemMetrics(int index);
// GetDC(NULL) is the screen; a window's DC reports the same facts.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
int GetDeviceCaps(HDC dc, int index);
HGDIOBJ GetStockObject(int object);
// The window's pixels belong to whoever presents into its SDL window; before anything
// is presented SDL shows it cleared, so filling needs no work here.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);

// Cursor: a show count as Windows keeps it; the SDL cursor is shown while the count is
// not negative and a cursor is set.
int ShowCursor(BOOL show);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
// The program has no icon resources: always NULL.
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
BOOL GetCursorPos(POINT* point);

// Screen saver and the foreground lock time-out.
BOOL SystemParametersInfoA(UINT action, UINT param, void* value, UINT winIni);

// Input method: while disabled for a window, compositions are not delivered to it
// (typed characters still arrive as WM_CHAR).
BOOL WINNLSEnableIME(HWND window, BOOL enable);
