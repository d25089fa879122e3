// What other platform code (the Direct3D device, GDI) may do with a DirectDraw
// surface's pixels directly, without Lock.
#pragma once

#include <cstdint>

#include "ddraw/ddraw.h"
#include "ddraw/pixel_layout.h"

struct DDrawSurfaceMemory {
  BYTE* bits;  // pixel (0, 0)
  LONG pitch;  // bytes from one row to the next
  DWORD width;
  DWORD height;
  DDrawPixelKind kind;
  std::uint64_t contentStamp;  // see DDrawReadSurfaceMemory
};

// The surface's pixels: DD_OK, DDERR_INVALIDOBJECT for a dead surface, DDERR_SURFACELOST,
// or DDERR_SURFACEBUSY while the surface is locked. The pointer stays valid until the
// surface is next locked, flipped, restored or released (the moving-lock test mode
// replaces the block at every Lock).
// The memory is handed out for writing: the surface's content stamp changes.
HRESULT DDrawGetSurfaceMemory(IDirectDrawSurface7* surface, DDrawSurfaceMemory* memory);
// The same for reading only (textures): the pixels are not written through it, and the
// content stamp it reports changes whenever they may have been since, so that what is
// derived from the pixels can be kept under it.
HRESULT DDrawReadSurfaceMemory(IDirectDrawSurface7* surface, DDrawSurfaceMemory* memory);

// The surface's size and pixel kind, also while it is locked or lost: DD_OK, or
// DDERR_INVALIDOBJECT for a dead surface.
HRESULT DDrawGetSurfaceShape(IDirectDrawSurface7* surface, DWORD* width, DWORD* height, DDrawPixelKind* kind);

// Tells the surface that its pixels were written (NULL: all of them); on the primary
// this shows the area in the window (on the game thread).
void DDrawSurfaceWritten(IDirectDrawSurface7* surface, const RECT* area);

// The Z surface attached to a surface, or nullptr (no reference is added).
IDirectDrawSurface7* DDrawGetAttachedZBuffer(IDirectDrawSurface7* surface);

// The source colour key set with SetColorKey(DDCKEY_SRCBLT): false when none is set.
bool DDrawGetSourceColorKey(IDirectDrawSurface7* surface, DWORD* key);
