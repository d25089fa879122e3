#include "dshow/video_stream.h"

#include <new>

#include "ddraw/surface_access.h"
#include "workers/tile_frame.h"

const IID IID_IMediaStream = {0x7a10d510u, 0x3c2e, 0x4f71, {0x8b, 0x16, 0x00, 0x44, 0x53, 0x48, 0x4f, 0x10}};
const IID IID_IAMMediaStream = {0x7a10d511u, 0x3c2e, 0x4f71, {0x8b, 0x16, 0x00, 0x44, 0x53, 0x48, 0x4f, 0x11}};
const IID IID_IDirectDrawMediaStream = {0x7a10d512u, 0x3c2e, 0x4f71, {0x8b, 0x16, 0x00, 0x44, 0x53, 0x48, 0x4f, 0x12}};

namespace {

bool RectInside(const RECT& inner, DWORD width, DWORD height) {
  return inner.left >= 0 && inner.top >= 0 && inner.left < inner.right && inner.top < inner.bottom &&
         inner.right <= static_cast<LONG>(width) && inner.bottom <= static_cast<LONG>(height);
}

}  // namespace

// ---- Stream ----

VideoStream::~VideoStream() { directDraw_->Release(); }

HRESULT VideoStream::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_INVALIDARG;
  if (iid == IID_IUnknown || iid == IID_IMediaStream || iid == IID_IAMMediaStream) {
    *object = static_cast<IAMMediaStream*>(this);
  } else if (iid == IID_IDirectDrawMediaStream) {
    *object = static_cast<IDirectDrawMediaStream*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG VideoStream::Release() {
  const ULONG left = references_.Drop();
  if (left == 0) delete this;
  return left;
}

HRESULT VideoStream::GetFormat(DDSURFACEDESC* current, IDirectDrawPalette** palette, DDSURFACEDESC* desired,
                               DWORD* flags) {
  if (playback_ == nullptr) return MS_E_NOTINIT;
  for (DDSURFACEDESC* description : {current, desired}) {
    if (description == nullptr) continue;
    if (description->dwSize != sizeof(DDSURFACEDESC)) return E_INVALIDARG;
    description->dwFlags = DDSD_WIDTH | DDSD_HEIGHT;
    description->dwWidth = static_cast<DWORD>(playback_->Width());
    description->dwHeight = static_cast<DWORD>(playback_->Height());
  }
  if (palette != nullptr) *palette = nullptr;
  if (flags != nullptr) *flags = 0;
  return S_OK;
}

// A system-memory surface of the frame size in the display's format.
HRESULT VideoStream::MakeSurface(IDirectDrawSurface7** surface) {
  DDSURFACEDESC description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  description.dwWidth = static_cast<DWORD>(playback_->Width());
  description.dwHeight = static_cast<DWORD>(playback_->Height());
  description.ddsCaps.dwCaps = DDSCAPS_SYSTEMMEMORY | DDSCAPS_OFFSCREENPLAIN;
  IDirectDrawSurface* made = nullptr;
  if (HRESULT result = directDraw_->CreateSurface(&description, &made, nullptr); result != DD_OK) return result;
  const HRESULT result = made->QueryInterface(IID_IDirectDrawSurface7, reinterpret_cast<void**>(surface));
  made->Release();
  return result;
}

HRESULT VideoStream::CreateSample(IDirectDrawSurface* surface, const RECT* rect, DWORD flags,
                                  IDirectDrawStreamSample** sample) {
  if (sample == nullptr || flags != 0) return E_INVALIDARG;
  *sample = nullptr;
  if (playback_ == nullptr) return MS_E_NOTINIT;
  if (playback_->Width() == 0 || playback_->Height() == 0) return MS_E_INCOMPATIBLE;
  IDirectDrawSurface7* target = nullptr;
  HRESULT result = surface != nullptr
                       ? surface->QueryInterface(IID_IDirectDrawSurface7, reinterpret_cast<void**>(&target))
                       : MakeSurface(&target);
  if (result != DD_OK) return result;
  DDrawSurfaceMemory pixels{};
  FlushTileFrame();  // recorded draws may read the frame's surface
  result = DDrawGetSurfaceMemory(target, &pixels);
  const RECT area = rect != nullptr ? *rect : RECT{0, 0, playback_->Width(), playback_->Height()};
  if (result == DD_OK && !FrameWriter::Supports(pixels.kind)) result = DDERR_INVALIDPIXELFORMAT;
  if (result == DD_OK && !RectInside(area, pixels.width, pixels.height)) result = DDERR_INVALIDRECT;
  if (result == DD_OK) {
    *sample = new (std::nothrow) StreamSample(playback_, target, area);
    if (*sample == nullptr) result = E_OUTOFMEMORY;
  }
  if (result != DD_OK) target->Release();
  return result;
}

// ---- Sample ----

StreamSample::~StreamSample() {
  playback_->CancelRequest(this);
  surface_->Release();
}

HRESULT StreamSample::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_INVALIDARG;
  if (!(iid == IID_IUnknown)) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  *object = static_cast<IUnknown*>(this);
  AddRef();
  return S_OK;
}

ULONG StreamSample::Release() {
  const ULONG left = references_.Drop();
  if (left == 0) delete this;
  return left;
}

HRESULT StreamSample::Update(DWORD flags, HANDLE event, PAPCFUNC apc, DWORD_PTR) {
  if (flags != 0 || event == nullptr || apc != nullptr) return E_INVALIDARG;
  return playback_->RequestFrame(this, MoviePlayback::FrameTarget{surface_, area_, &writer_}, event);
}

HRESULT StreamSample::GetSurface(IDirectDrawSurface** surface, RECT* rect) {
  if (surface != nullptr) {
    if (HRESULT result = surface_->QueryInterface(IID_IDirectDrawSurface, reinterpret_cast<void**>(surface));
        result != DD_OK) {
      return result;
    }
  }
  if (rect != nullptr) *rect = area_;
  return S_OK;
}
