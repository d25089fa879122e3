// What a device context stands for. Surface contexts come from
// IDirectDrawSurface7::GetDC and go back with ReleaseDC on the same surface.
#pragma once

#include "gdi/gdi.h"

struct IDirectDrawSurface7;

struct HDC__ {
  enum class Kind { Screen, Window, Surface } kind;
  HWND window;                   // Window contexts
  IDirectDrawSurface7* surface;  // Surface contexts (not counted as a reference)
};

HDC CreateSurfaceDC(IDirectDrawSurface7* surface);
void DeleteSurfaceDC(HDC dc);
