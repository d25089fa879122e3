// DirectDraw 7 stand-in: surfaces in CPU memory, the primary shown in the SDL window.
// The object comes from CoCreateInstance(CLSID_DirectDraw7, ..., IID_IDirectDraw7) and
// needs Initialize(NULL) before any other call. Every object it creates (surfaces,
// clippers, palettes) dies with it: the library's pointers stay valid to Release, but any
// other call on a dead object fails with DDERR_INVALIDOBJECT and is counted for tests.
#pragma once

#include "com/com.h"
#include "ddraw/ddraw_types.h"
#include "gdi/gdi.h"
#include "window/hwnd.h"

extern const CLSID CLSID_DirectDraw7;
extern const IID IID_IDirectDraw;
extern const IID IID_IDirectDraw7;
extern const IID IID_IDirectDrawSurface7;

struct IDirectDrawSurface7;

typedef HRESULT (*LPDDENUMSURFACESCALLBACK7)(IDirectDrawSurface7* surface,
                                             DDSURFACEDESC2* description, LPVOID context);

struct IDirectDrawClipper : IUnknown {
  // The window whose client area clips blits onto the primary surface.
  virtual HRESULT SetHWnd(DWORD flags, HWND window) = 0;
};

struct IDirectDrawPalette : IUnknown {
  virtual HRESULT GetEntries(DWORD flags, DWORD base, DWORD count, PALETTEENTRY* entries) = 0;
  virtual HRESULT SetEntries(DWORD flags, DWORD start, DWORD count, PALETTEENTRY* entries) = 0;
};

struct IDirectDrawSurface7 : IUnknown {
  virtual HRESULT AddAttachedSurface(IDirectDrawSurface7* surface) = 0;
  virtual HRESULT Blt(LPRECT destinationRect, IDirectDrawSurface7* source, LPRECT sourceRect,
                      DWORD flags, DDBLTFX* effects) = 0;
  virtual HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface7* source, LPRECT sourceRect,
                          DWORD flags) = 0;
  virtual HRESULT DeleteAttachedSurface(DWORD flags, IDirectDrawSurface7* surface) = 0;
  virtual HRESULT EnumAttachedSurfaces(LPVOID context, LPDDENUMSURFACESCALLBACK7 callback) = 0;
  virtual HRESULT Flip(IDirectDrawSurface7* target, DWORD flags) = 0;
  virtual HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface) = 0;
  virtual HRESULT GetCaps(DDSCAPS2* caps) = 0;
  virtual HRESULT GetDC(HDC* dc) = 0;
  virtual HRESULT IsLost() = 0;
  virtual HRESULT Lock(LPRECT rect, DDSURFACEDESC2* description, DWORD flags, HANDLE event) = 0;
  virtual HRESULT PageLock(DWORD flags) = 0;
  virtual HRESULT ReleaseDC(HDC dc) = 0;
  virtual HRESULT Restore() = 0;
  virtual HRESULT SetClipper(IDirectDrawClipper* clipper) = 0;
  virtual HRESULT SetColorKey(DWORD flags, DDCOLORKEY* key) = 0;
  virtual HRESULT SetPalette(IDirectDrawPalette* palette) = 0;
  virtual HRESULT Unlock(LPRECT rect) = 0;
};

// First-version surface: only what the overlay probe reads. The stand-in has no overlay
// hardware, so no such surface is ever made.
struct IDirectDrawSurface : IUnknown {
  virtual HRESULT GetCaps(DDSCAPS* caps) = 0;
};

// First-version interface (QueryInterface IID_IDirectDraw), kept for the overlay probe.
struct IDirectDraw : IUnknown {
  virtual HRESULT CreateSurface(DDSURFACEDESC* description, IDirectDrawSurface** surface,
                                IUnknown* outer) = 0;
  virtual HRESULT GetCaps(DDCAPS* driverCaps, DDCAPS* emulationCaps) = 0;
};

struct IDirectDraw7 : IUnknown {
  virtual HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer) = 0;
  virtual HRESULT CreatePalette(DWORD flags, PALETTEENTRY* entries, IDirectDrawPalette** palette,
                                IUnknown* outer) = 0;
  virtual HRESULT CreateSurface(DDSURFACEDESC2* description, IDirectDrawSurface7** surface,
                                IUnknown* outer) = 0;
  virtual HRESULT FlipToGDISurface() = 0;
  virtual HRESULT GetAvailableVidMem(DDSCAPS2* caps, DWORD* total, DWORD* free) = 0;
  virtual HRESULT GetDeviceIdentifier(DDDEVICEIDENTIFIER2* identifier, DWORD flags) = 0;
  virtual HRESULT GetDisplayMode(DDSURFACEDESC2* description) = 0;
  virtual HRESULT GetScanLine(DWORD* line) = 0;
  virtual HRESULT GetVerticalBlankStatus(BOOL* inBlank) = 0;
  virtual HRESULT Initialize(GUID* driver) = 0;
  virtual HRESULT RestoreDisplayMode() = 0;
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
  virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bits, DWORD refresh,
                                 DWORD flags) = 0;
  virtual HRESULT WaitForVerticalBlank(DWORD flags, HANDLE event) = 0;
};
