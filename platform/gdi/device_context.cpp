#include "gdi/device_context.h"

#include <new>

#include "ddraw/blit_kernels.h"
#include "ddraw/display_mode.h"
#include "ddraw/failure_injection.h"
#include "ddraw/rect_math.h"
#include "ddraw/surface_access.h"
#include "kernel/last_error.h"

namespace {

HDC NewContext(HDC__::Kind kind, HWND window, IDirectDrawSurface7* surface) {
  return new (std::nothrow) HDC__{kind, window, surface};
}

// The part of a surface a context may touch, or false.
bool SurfacePixels(HDC dc, DDrawSurfaceMemory* memory) {
  return dc != nullptr && dc->kind == HDC__::Kind::Surface &&
         DDrawGetSurfaceMemory(dc->surface, memory) == DD_OK;
}

BYTE* PixelAt(const DDrawSurfaceMemory& memory, LONG x, LONG y) {
  return memory.bits + static_cast<std::ptrdiff_t>(y) * memory.pitch +
         static_cast<std::ptrdiff_t>(x) * GetPixelLayout(memory.kind).bytes;
}

}  // namespace

HDC CreateSurfaceDC(IDirectDrawSurface7* surface) { return NewContext(HDC__::Kind::Surface, nullptr, surface); }

void DeleteSurfaceDC(HDC dc) { delete dc; }

HDC GetDC(HWND window) { return NewContext(window != nullptr ? HDC__::Kind::Window : HDC__::Kind::Screen, window, nullptr); }

int ReleaseDC(HWND, HDC dc) {
  // Surface contexts go back to their surface, memory contexts through DeleteDC.
  if (dc == nullptr || dc->kind == HDC__::Kind::Surface || dc->kind == HDC__::Kind::Memory) return 0;
  delete dc;
  return 1;
}

int GetDeviceCaps(HDC dc, int index) {
  if (dc == nullptr) return 0;
  switch (index) {
    case BITSPIXEL:  // storage bits: a 24-bit-colour display kept in 32-bit pixels counts 32
      return static_cast<int>(GetPixelLayout(GetCurrentDisplayMode().kind).bytes * 8);
    case PLANES:
      return 1;
    case VREFRESH:
      return static_cast<int>(kDisplayRefreshRate);
    default:
      return 0;
  }
}

int GetSystemMetrics(int index) {
  DisplayMode mode = GetCurrentDisplayMode();
  switch (index) {
    case SM_CXSCREEN:
      return static_cast<int>(mode.width);
    case SM_CYSCREEN:
      return static_cast<int>(mode.height);
    default:
      return 0;
  }
}

BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop) {
  if (rop != SRCCOPY || InjectedFailure(DDrawTestCall::BitBlt) != DD_OK) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DDrawSurfaceMemory to{};
  DDrawSurfaceMemory from{};
  if (!SurfacePixels(destination, &to) || !SurfacePixels(source, &from)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  // Clip the destination to both surfaces, moving the source with it.
  RECT area{x, y, x + width, y + height};
  area = IntersectRects(area, {0, 0, static_cast<LONG>(to.width), static_cast<LONG>(to.height)});
  RECT sourceBounds{x - sourceX, y - sourceY, x - sourceX + static_cast<LONG>(from.width),
                    y - sourceY + static_cast<LONG>(from.height)};
  area = IntersectRects(area, sourceBounds);
  if (IsEmptyRect(area)) return TRUE;
  LONG fromX = area.left - x + sourceX;
  LONG fromY = area.top - y + sourceY;
  PixelRows out{PixelAt(to, area.left, area.top), to.pitch};
  ConstPixelRows in{PixelAt(from, fromX, fromY), from.pitch};
  const PixelLayout& toLayout = GetPixelLayout(to.kind);
  if (to.kind == from.kind) {
    CopyPixels(out, in, toLayout.bytes, RectWidth(area), RectHeight(area));
  } else {
    ConvertPixels(out, toLayout, in, GetPixelLayout(from.kind), RectWidth(area), RectHeight(area));
  }
  DDrawSurfaceWritten(destination->surface, &area);
  return TRUE;
}

BOOL GdiFlush() { return TRUE; }
