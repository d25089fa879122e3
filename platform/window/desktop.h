// The cursor, stock brushes, the screen saver and the input method as the window
// stand-in steers them. Device contexts and the display's facts are in gdi/gdi.h.
#pragma once

#include "gdi/gdi.h"
#include "kernel/win_types.h"
#include "window/hwnd.h"

#define BLACK_BRUSH 4
#define NULL_BRUSH 5

#define SPI_SETSCREENSAVEACTIVE 0x0011u
#define SPI_GETFOREGROUNDLOCKTIMEOUT 0x2000u
#define SPI_SETFOREGROUNDLOCKTIMEOUT 0x2001u
#define SPIF_SENDCHANGE 0x0002u

// The desktop as a window: a record with no SDL window of its own, for calls that
// want some top-level window (the sound device's cooperative level).
HWND GetDesktopWindow();

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
