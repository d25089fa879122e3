// The older interfaces of a surface: views that forward to the surface and share its
// reference count, so each pointer handed out is released like any other.
#pragma once

#include "ddraw/ddraw.h"

class DirectDrawSurface;

class FirstVersionSurface final : public IDirectDrawSurface {
 public:
  explicit FirstVersionSurface(DirectDrawSurface& surface) : surface_(surface) {}
  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT GetCaps(DDSCAPS* caps) override;
  HRESULT IsLost() override;
  HRESULT Restore() override;

 private:
  DirectDrawSurface& surface_;
};

class FourthVersionSurface final : public IDirectDrawSurface4 {
 public:
  explicit FourthVersionSurface(DirectDrawSurface& surface) : surface_(surface) {}
  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT GetSurfaceDesc(DDSURFACEDESC2* description) override;
  HRESULT IsLost() override;
  HRESULT Lock(LPRECT rect, DDSURFACEDESC2* description, DWORD flags, HANDLE event) override;
  HRESULT Restore() override;
  HRESULT Unlock(LPRECT rect) override;

 private:
  DirectDrawSurface& surface_;
};
