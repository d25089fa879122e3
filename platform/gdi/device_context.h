// What a device context stands for. Surface contexts come from
// IDirectDrawSurface7::GetDC and go back with ReleaseDC on the same surface; memory
// contexts come from CreateCompatibleDC and only hold a selected font.
#pragma once

#include "gdi/gdi.h"

struct IDirectDrawSurface7;
struct FontObject;

struct HDC__ {
  enum class Kind { Screen, Window, Surface, Memory } kind;
  HWND window;                   // Window contexts
  IDirectDrawSurface7* surface;  // Surface contexts (not counted as a reference)
  FontObject* font = nullptr;    // Memory contexts: the selected font
};

HDC CreateSurfaceDC(IDirectDrawSurface7* surface);
void DeleteSurfaceDC(HDC dc);
