#include "ddraw/surface_access.h"

#include "ddraw/blit_kernels.h"
#include "ddraw/direct_draw_object.h"
#include "ddraw/surface.h"
#include "testing.h"

HRESULT DDrawReadSurfaceMemory(IDirectDrawSurface7* surface, DDrawSurfaceMemory* memory) {
  DirectDrawSurface* target = AsSurface(surface);
  if (target == nullptr || memory == nullptr) return DDERR_INVALIDPARAMS;
  if (target->IsDead()) return DDERR_INVALIDOBJECT;
  if (target->HasLostPixels()) return DDERR_SURFACELOST;
  if (target->IsLocked()) return DDERR_SURFACEBUSY;
  const DirectDrawSurface::Shape& shape = target->GetShape();
  *memory = {target->Bits(), target->Pitch(), shape.width, shape.height, shape.kind, target->ContentStamp()};
  return DD_OK;
}

HRESULT DDrawGetSurfaceMemory(IDirectDrawSurface7* surface, DDrawSurfaceMemory* memory) {
  HRESULT result = DDrawReadSurfaceMemory(surface, memory);
  if (result == DD_OK) AsSurface(surface)->MayBeWritten();
  return result;
}

HRESULT DDrawGetSurfaceShape(IDirectDrawSurface7* surface, DWORD* width, DWORD* height, DDrawPixelKind* kind) {
  DirectDrawSurface* target = AsSurface(surface);
  if (target == nullptr) return DDERR_INVALIDPARAMS;
  if (target->IsDead()) return DDERR_INVALIDOBJECT;
  const DirectDrawSurface::Shape& shape = target->GetShape();
  *width = shape.width;
  *height = shape.height;
  *kind = shape.kind;
  return DD_OK;
}

void DDrawSurfaceWritten(IDirectDrawSurface7* surface, const RECT* area) {
  DirectDrawSurface* target = AsSurface(surface);
  if (target == nullptr || target->IsDead()) return;
  const DirectDrawSurface::Shape& shape = target->GetShape();
  target->Written(area != nullptr ? *area : RECT{0, 0, static_cast<LONG>(shape.width), static_cast<LONG>(shape.height)});
}

IDirectDrawSurface7* DDrawGetAttachedZBuffer(IDirectDrawSurface7* surface) {
  DirectDrawSurface* target = AsSurface(surface);
  return target != nullptr ? target->AttachedZ() : nullptr;
}

bool DDrawGetSourceColorKey(IDirectDrawSurface7* surface, DWORD* key) {
  DirectDrawSurface* target = AsSurface(surface);
  return target != nullptr && key != nullptr && target->SourceKey(key);
}

bool DDrawTestReadPrimary(DDrawTestImage* image) {
  DirectDrawSurface* primary = DirectDrawObject::NewestPrimary();
  if (primary == nullptr || primary->HasLostPixels()) return false;
  const DirectDrawSurface::Shape& shape = primary->GetShape();
  image->width = static_cast<int>(shape.width);
  image->height = static_cast<int>(shape.height);
  image->pixels.assign(static_cast<std::size_t>(shape.width) * shape.height, 0);
  ConvertPixels({reinterpret_cast<BYTE*>(image->pixels.data()), image->width * 4},
                GetPixelLayout(DDrawPixelKind::X8R8G8B8), {primary->Bits(), primary->Pitch()}, primary->Layout(),
                image->width, image->height);
  return true;
}

void DDrawTestLoseSurface(IDirectDrawSurface7* surface) { AsSurface(surface)->Lose(); }
