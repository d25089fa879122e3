#include "ddraw/surface_versions.h"

#include "ddraw/surface.h"

HRESULT FirstVersionSurface::QueryInterface(REFIID iid, void** object) { return surface_.QueryInterface(iid, object); }
ULONG FirstVersionSurface::AddRef() { return surface_.AddRef(); }
ULONG FirstVersionSurface::Release() { return surface_.Release(); }

HRESULT FirstVersionSurface::GetCaps(DDSCAPS* caps) {
  if (caps == nullptr) return DDERR_INVALIDPARAMS;
  DDSCAPS2 all{};
  HRESULT result = surface_.GetCaps(&all);
  if (result == DD_OK) caps->dwCaps = all.dwCaps;
  return result;
}

HRESULT FirstVersionSurface::IsLost() { return surface_.IsLost(); }
HRESULT FirstVersionSurface::Restore() { return surface_.Restore(); }

HRESULT FourthVersionSurface::QueryInterface(REFIID iid, void** object) { return surface_.QueryInterface(iid, object); }
ULONG FourthVersionSurface::AddRef() { return surface_.AddRef(); }
ULONG FourthVersionSurface::Release() { return surface_.Release(); }
HRESULT FourthVersionSurface::GetSurfaceDesc(DDSURFACEDESC2* description) {
  return surface_.GetSurfaceDesc(description);
}
HRESULT FourthVersionSurface::IsLost() { return surface_.IsLost(); }
HRESULT FourthVersionSurface::Lock(LPRECT rect, DDSURFACEDESC2* description, DWORD flags, HANDLE event) {
  return surface_.Lock(rect, description, flags, event);
}
HRESULT FourthVersionSurface::Restore() { return surface_.Restore(); }
HRESULT FourthVersionSurface::Unlock(LPRECT rect) { return surface_.Unlock(rect); }
