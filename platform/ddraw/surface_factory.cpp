// CreateSurface: what a surface description asks for, checked and made.
#include <vector>

#include "ddraw/direct_draw_object.h"
#include "ddraw/display_mode.h"
#include "ddraw/failure_injection.h"
#include "ddraw/surface.h"

namespace {

constexpr DWORD kDescriptionFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_BACKBUFFERCOUNT |
                                    DDSD_PIXELFORMAT | DDSD_CKSRCBLT | DDSD_TEXTURESTAGE;
constexpr DWORD kMemoryCaps = DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY;
constexpr DWORD kChainCaps = DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_BACKBUFFER;
constexpr DWORD kMaxSurfaceSide = 8192;
constexpr DWORD kMaxTextureSide = 2048;
constexpr DWORD kMaxBackBuffers = 3;

// Caps as reported: the asked memory, or video memory when none was asked.
DWORD WithMemory(DWORD caps) { return (caps & kMemoryCaps) ? caps : caps | DDSCAPS_VIDEOMEMORY; }

}  // namespace

HRESULT DirectDrawObject::CreateSurface(DDSURFACEDESC2* description, IDirectDrawSurface7** surface, IUnknown* outer) {
  if (HRESULT notReady = CheckInitialised(); notReady != DD_OK) return notReady;
  if (description == nullptr || surface == nullptr || description->dwSize != sizeof(DDSURFACEDESC2)) {
    return DDERR_INVALIDPARAMS;
  }
  *surface = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  if (!levelSet_) return DDERR_NOCOOPERATIVELEVELSET;
  if (!(description->dwFlags & DDSD_CAPS)) return DDERR_INVALIDPARAMS;
  if (description->dwFlags & ~kDescriptionFlags) return DDERR_UNSUPPORTED;
  DWORD caps = description->ddsCaps.dwCaps;
  if (HRESULT failure = InjectedFailure(DDrawTestCall::CreateSurface, caps); failure != DD_OK) return failure;
  if (caps & DDSCAPS_OVERLAY) return DDERR_NOOVERLAYHW;
  if ((caps & kMemoryCaps) == kMemoryCaps) return DDERR_INVALIDCAPS;

  DirectDrawSurface* created = nullptr;
  HRESULT result = (caps & DDSCAPS_PRIMARYSURFACE) ? CreatePrimarySurface(*description, &created)
                                                   : CreatePlainSurface(*description, &created);
  if (result != DD_OK) return result;
  if (description->dwFlags & DDSD_CKSRCBLT) {
    result = created->SetColorKey(DDCKEY_SRCBLT, &description->ddckCKSrcBlt);
    if (result != DD_OK) {
      created->Release();
      return result;
    }
  }
  *surface = created;
  return DD_OK;
}

// The primary takes the display's size and format; with FLIP | COMPLEX it heads a
// flipping chain of 1 to 3 back buffers (exclusive mode only).
HRESULT DirectDrawObject::CreatePrimarySurface(const DDSURFACEDESC2& description, DirectDrawSurface** surface) {
  if (primary_ != nullptr) return DDERR_PRIMARYSURFACEALREADYEXISTS;
  if (description.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT)) return DDERR_INVALIDPARAMS;
  DWORD caps = WithMemory(description.ddsCaps.dwCaps);
  DWORD backBufferCount = 0;
  if (caps & kChainCaps) {
    if (!(caps & DDSCAPS_FLIP) || !(caps & DDSCAPS_COMPLEX) || (caps & DDSCAPS_BACKBUFFER)) return DDERR_INVALIDCAPS;
    if (!(description.dwFlags & DDSD_BACKBUFFERCOUNT)) return DDERR_INVALIDPARAMS;
    backBufferCount = description.dwBackBufferCount;
    if (backBufferCount < 1 || backBufferCount > kMaxBackBuffers) return DDERR_INVALIDPARAMS;
    if (!HoldsExclusiveMode(this)) return DDERR_NOEXCLUSIVEMODE;
  }
  DisplayMode display = GetCurrentDisplayMode();
  if (!GetPixelLayout(display.kind).surfaceAllowed) return DDERR_INVALIDPIXELFORMAT;

  DirectDrawSurface::Shape shape{caps, description.ddsCaps.dwCaps2, display.width, display.height, display.kind};
  DirectDrawSurface* front = nullptr;
  if (HRESULT result = DirectDrawSurface::Create(this, shape, &front); result != DD_OK) return result;
  std::vector<DirectDrawSurface*> backBuffers;
  shape.caps = (caps & ~DDSCAPS_PRIMARYSURFACE) | DDSCAPS_BACKBUFFER;
  for (DWORD i = 0; i < backBufferCount; ++i) {
    DirectDrawSurface* back = nullptr;
    if (HRESULT result = DirectDrawSurface::Create(this, shape, &back); result != DD_OK) {
      for (DirectDrawSurface* made : backBuffers) made->Release();
      front->Release();
      return result;
    }
    backBuffers.push_back(back);
  }
  front->FormChain(backBuffers);
  for (DirectDrawSurface* back : backBuffers) back->Release();  // the chain keeps them
  primary_ = front;
  *surface = front;
  return DD_OK;
}

// Off-screen, texture and Z surfaces. Without a memory request a surface goes to video
// memory while the budget lasts, else to system memory.
HRESULT DirectDrawObject::CreatePlainSurface(const DDSURFACEDESC2& description, DirectDrawSurface** surface) {
  DWORD caps = description.ddsCaps.dwCaps;
  DWORD caps2 = description.ddsCaps.dwCaps2;
  if ((description.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT)) return DDERR_INVALIDPARAMS;
  DWORD width = description.dwWidth;
  DWORD height = description.dwHeight;
  DWORD maxSide = (caps & DDSCAPS_TEXTURE) ? kMaxTextureSide : kMaxSurfaceSide;
  if (width < 1 || height < 1 || width > maxSide || height > maxSide) return DDERR_INVALIDPARAMS;
  if (caps & kChainCaps) return DDERR_INVALIDCAPS;
  if ((caps2 & DDSCAPS2_TEXTUREMANAGE) && (!(caps & DDSCAPS_TEXTURE) || (caps & DDSCAPS_SYSTEMMEMORY))) {
    return DDERR_INVALIDCAPS;
  }

  DDrawPixelKind kind = (description.dwFlags & DDSD_PIXELFORMAT) ? FindPixelKind(description.ddpfPixelFormat)
                                                                 : GetCurrentDisplayMode().kind;
  if (kind == DDrawPixelKind::Count || !GetPixelLayout(kind).surfaceAllowed) return DDERR_INVALIDPIXELFORMAT;
  if ((kind == DDrawPixelKind::Z16) != ((caps & DDSCAPS_ZBUFFER) != 0)) return DDERR_INVALIDPIXELFORMAT;

  DirectDrawSurface::Shape shape{WithMemory(caps), caps2, width, height, kind};
  HRESULT result = DirectDrawSurface::Create(this, shape, surface);
  if (result == DDERR_OUTOFVIDEOMEMORY && !(caps & kMemoryCaps)) {
    shape.caps = caps | DDSCAPS_SYSTEMMEMORY;
    result = DirectDrawSurface::Create(this, shape, surface);
  }
  return result;
}
