// The small part of GDI the library uses: device contexts of the screen, of a window
// and of a DirectDraw surface, the device facts, and surface-to-surface copies.
#pragma once

#include "kernel/win_types.h"
#include "window/hwnd.h"

struct HDC__;
typedef HDC__* HDC;

// GetDeviceCaps indexes.
#define BITSPIXEL 12
#define PLANES 14
#define VREFRESH 116

// GetSystemMetrics indexes.
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1

#define SRCCOPY 0x00CC0020u

// NULL gives the screen's context, a window its own; each is given back with ReleaseDC.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);

// The display's storage bits per pixel, 1 plane and a refresh of 60 Hz (whatever the
// context); 0 for other indexes.
int GetDeviceCaps(HDC dc, int index);

// The display's width and height in pixels; 0 for other indexes.
int GetSystemMetrics(int index);

// Copies a rectangle between two surface contexts, converting the pixel format when the
// two differ (colour channels rescaled, unused and alpha bits written as 0). Only
// SRCCOPY; the rectangle is clipped to both surfaces. A failure leaves its reason for
// GetLastError (kernel/last_error.h).
BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
            int sourceY, DWORD rop);

// Drawing is never batched here.
BOOL GdiFlush();
