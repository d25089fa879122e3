#include "ddraw/surface.h"

#include <cstring>
#include <new>
#include <utility>

#include "ddraw/clipper.h"
#include "ddraw/direct_draw_object.h"
#include "ddraw/display_mode.h"
#include "ddraw/failure_injection.h"
#include "ddraw/palette.h"
#include "ddraw/rect_math.h"
#include "gdi/device_context.h"
#include "workers/tile_frame.h"

namespace {

bool g_movingLocks = false;

constexpr LONG kPitchAlignment = 16;

// Cleared pixels; an empty store when memory runs out. Cleared by one memset: an
// array value-initialised by new is cleared a byte at a time in instrumented builds.
PixelStore AllocatePixels(DWORD width, DWORD height, DDrawPixelKind kind) {
  PixelStore store;
  LONG rowBytes = static_cast<LONG>(width * GetPixelLayout(kind).bytes);
  store.pitch = (rowBytes + kPitchAlignment - 1) / kPitchAlignment * kPitchAlignment;
  const std::size_t size = static_cast<std::size_t>(store.pitch) * height;
  store.bytes.reset(new (std::nothrow) BYTE[size]);
  if (store.bytes) std::memset(store.bytes.get(), 0, size);
  return store;
}

std::size_t StoreSize(const PixelStore& store, DWORD height) {
  return static_cast<std::size_t>(store.pitch) * height;
}

bool TakesVideoMemory(const DirectDrawSurface::Shape& shape) {
  return (shape.caps & DDSCAPS_VIDEOMEMORY) && !(shape.caps2 & DDSCAPS2_TEXTUREMANAGE) &&
         !(shape.caps & DDSCAPS_PRIMARYSURFACE);
}

template <typename Child>
void DropChildReference(Child* child, bool orphaning) {
  if (orphaning) {
    child->DropReference();
  } else {
    child->Release();
  }
}

}  // namespace

HRESULT DirectDrawSurface::Create(DirectDrawObject* owner, const Shape& shape, DirectDrawSurface** surface) {
  *surface = nullptr;
  PixelStore store = AllocatePixels(shape.width, shape.height, shape.kind);
  if (!store.bytes) return DDERR_OUTOFMEMORY;
  std::size_t videoBytes = TakesVideoMemory(shape) ? StoreSize(store, shape.height) : 0;
  if (videoBytes != 0 && !TakeVideoMemory(videoBytes)) return DDERR_OUTOFVIDEOMEMORY;
  auto* created = new (std::nothrow) DirectDrawSurface(owner, shape, std::move(store), videoBytes);
  if (created == nullptr) {
    ReturnVideoMemory(videoBytes);
    return DDERR_OUTOFMEMORY;
  }
  owner->Register(created);
  *surface = created;
  return DD_OK;
}

DirectDrawSurface::DirectDrawSurface(DirectDrawObject* owner, const Shape& shape, PixelStore store,
                                     std::size_t videoBytes)
    : DDrawChild(owner), shape_(shape), store_(std::move(store)), videoBytes_(videoBytes) {
  MayBeWritten();
}

void DirectDrawSurface::MayBeWritten() {
  static std::atomic<std::uint64_t> lastStamp{0};
  stamp_.store(lastStamp.fetch_add(1, std::memory_order_relaxed) + 1, std::memory_order_relaxed);
}

void DirectDrawSurface::ReleaseResources(bool orphaning) {
  FlushTileFrame();
  if (dc_ != nullptr) {
    DeleteSurfaceDC(dc_);
    dc_ = nullptr;
  }
  ReturnVideoMemory(videoBytes_);
  videoBytes_ = 0;
  store_ = PixelStore{};
  locked_ = false;
  if (attachedZ_ != nullptr) {
    DirectDrawSurface* z = attachedZ_;
    attachedZ_ = nullptr;
    z->zOwner_ = nullptr;
    DropChildReference(z, orphaning);
  }
  if (zOwner_ != nullptr) {
    // Only when orphaned: the surface holding this Z buffer lets go of it too.
    zOwner_->attachedZ_ = nullptr;
    zOwner_ = nullptr;
    DropReference();
  }
  for (DirectDrawSurface* back : backBuffers_) {
    back->chainFront_ = nullptr;
    if (!orphaning) back->Kill();
  }
  backBuffers_.clear();
  chainFront_ = nullptr;
  if (clipper_ != nullptr) DropChildReference(std::exchange(clipper_, nullptr), orphaning);
  if (palette_ != nullptr) DropChildReference(std::exchange(palette_, nullptr), orphaning);
  if (IsPrimary() && Owner() != nullptr) Owner()->PrimaryGone(this);
}

HRESULT DirectDrawSurface::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return DDERR_INVALIDPARAMS;
  *object = nullptr;
  if (IsDead()) return DeadUse();
  if (iid == IID_IUnknown || iid == IID_IDirectDrawSurface7) {
    *object = static_cast<IDirectDrawSurface7*>(this);
  } else if (iid == IID_IDirectDrawSurface) {
    *object = static_cast<IDirectDrawSurface*>(&firstVersion_);
  } else if (iid == IID_IDirectDrawSurface4) {
    *object = static_cast<IDirectDrawSurface4*>(&fourthVersion_);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return DD_OK;
}

// ---- Attachments ----

HRESULT DirectDrawSurface::AddAttachedSurface(IDirectDrawSurface7* surface) {
  if (IsDead()) return DeadUse();
  if (surface == nullptr) return DDERR_INVALIDPARAMS;
  DirectDrawSurface* z = AsSurface(surface);
  if (z->IsDead()) return DeadUse();
  if (HRESULT failure = InjectedFailure(DDrawTestCall::AddAttachedSurface, shape_.caps); failure != DD_OK) {
    return failure;
  }
  if (z->Owner() != Owner() || z->shape_.kind != DDrawPixelKind::Z16 || z == this ||
      z->shape_.width != shape_.width || z->shape_.height != shape_.height) {
    return DDERR_CANNOTATTACHSURFACE;
  }
  if (attachedZ_ != nullptr || z->zOwner_ != nullptr) return DDERR_SURFACEALREADYATTACHED;
  attachedZ_ = z;
  z->zOwner_ = this;
  z->AddRef();
  return DD_OK;
}

HRESULT DirectDrawSurface::DeleteAttachedSurface(DWORD, IDirectDrawSurface7* surface) {
  if (IsDead()) return DeadUse();
  if (attachedZ_ == nullptr || (surface != nullptr && AsSurface(surface) != attachedZ_)) {
    return DDERR_SURFACENOTATTACHED;
  }
  DirectDrawSurface* z = attachedZ_;
  attachedZ_ = nullptr;
  z->zOwner_ = nullptr;
  z->Release();
  return DD_OK;
}

std::vector<DirectDrawSurface*> DirectDrawSurface::ChainBuffers() {
  DirectDrawSurface* front = chainFront_ != nullptr ? chainFront_ : this;
  std::vector<DirectDrawSurface*> buffers{front};
  buffers.insert(buffers.end(), front->backBuffers_.begin(), front->backBuffers_.end());
  return buffers;
}

DirectDrawSurface* DirectDrawSurface::NextInChain() {
  std::vector<DirectDrawSurface*> buffers = ChainBuffers();
  if (buffers.size() < 2) return nullptr;
  for (std::size_t i = 0; i < buffers.size(); ++i) {
    if (buffers[i] == this) return buffers[(i + 1) % buffers.size()];
  }
  return nullptr;
}

std::vector<DirectDrawSurface*> DirectDrawSurface::AttachedSurfaces() {
  std::vector<DirectDrawSurface*> attached;
  if (DirectDrawSurface* next = NextInChain()) attached.push_back(next);
  if (attachedZ_ != nullptr) attached.push_back(attachedZ_);
  return attached;
}

HRESULT DirectDrawSurface::GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface) {
  if (IsDead()) return DeadUse();
  if (caps == nullptr || surface == nullptr) return DDERR_INVALIDPARAMS;
  *surface = nullptr;
  if (HRESULT failure = InjectedFailure(DDrawTestCall::GetAttachedSurface, shape_.caps); failure != DD_OK) {
    return failure;
  }
  for (DirectDrawSurface* candidate : AttachedSurfaces()) {
    const Shape& shape = candidate->shape_;
    if ((shape.caps & caps->dwCaps) == caps->dwCaps && (shape.caps2 & caps->dwCaps2) == caps->dwCaps2) {
      candidate->AddRef();
      *surface = candidate;
      return DD_OK;
    }
  }
  return DDERR_NOTFOUND;
}

HRESULT DirectDrawSurface::EnumAttachedSurfaces(LPVOID context, LPDDENUMSURFACESCALLBACK7 callback) {
  if (IsDead()) return DeadUse();
  if (callback == nullptr) return DDERR_INVALIDPARAMS;
  for (DirectDrawSurface* attached : AttachedSurfaces()) {
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    attached->Describe(&description);
    attached->AddRef();  // the callback owns this reference
    if (callback(attached, &description, context) == DDENUMRET_CANCEL) break;
  }
  return DD_OK;
}

void DirectDrawSurface::FormChain(const std::vector<DirectDrawSurface*>& backBuffers) {
  backBuffers_ = backBuffers;
  for (DirectDrawSurface* back : backBuffers_) back->chainFront_ = this;
}

// ---- Description ----

RECT DirectDrawSurface::Bounds() const {
  return {0, 0, static_cast<LONG>(shape_.width), static_cast<LONG>(shape_.height)};
}

void DirectDrawSurface::Describe(DDSURFACEDESC2* description) const {
  description->dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
  description->dwWidth = shape_.width;
  description->dwHeight = shape_.height;
  description->lPitch = store_.pitch;
  description->lpSurface = nullptr;
  if (hasKey_) {
    description->dwFlags |= DDSD_CKSRCBLT;
    description->ddckCKSrcBlt = key_;
  }
  DescribePixelKind(shape_.kind, &description->ddpfPixelFormat);
  description->ddsCaps = {shape_.caps, shape_.caps2};
}

HRESULT DirectDrawSurface::GetSurfaceDesc(DDSURFACEDESC2* description) {
  if (IsDead()) return DeadUse();
  if (description == nullptr || description->dwSize != sizeof(DDSURFACEDESC2)) return DDERR_INVALIDPARAMS;
  Describe(description);
  return DD_OK;
}

HRESULT DirectDrawSurface::GetCaps(DDSCAPS2* caps) {
  if (IsDead()) return DeadUse();
  if (caps == nullptr) return DDERR_INVALIDPARAMS;
  *caps = {shape_.caps, shape_.caps2};
  return DD_OK;
}

bool DirectDrawSurface::LosesWithDisplay() const {
  return (shape_.caps & DDSCAPS_VIDEOMEMORY) && !(shape_.caps2 & DDSCAPS2_TEXTUREMANAGE);
}

bool DirectDrawSurface::SourceKey(DWORD* key) const {
  if (!hasKey_) return false;
  *key = key_.dwColorSpaceLowValue;
  return true;
}

void DirectDrawSurface::Written(const RECT& area) {
  MayBeWritten();
  if (IsPrimary() && !IsDead() && Owner() != nullptr) Owner()->ShowPrimary(*this, area);
}

HRESULT DirectDrawSurface::CheckReady() const {
  if (IsDead()) return DeadUse();
  if (lost_) return DDERR_SURFACELOST;
  if (locked_ || dc_ != nullptr) return DDERR_SURFACEBUSY;
  return DD_OK;
}

// ---- Lock ----

HRESULT DirectDrawSurface::Lock(LPRECT rect, DDSURFACEDESC2* description, DWORD flags, HANDLE) {
  if (IsDead()) return DeadUse();
  FlushTileFrame();
  if (description == nullptr || description->dwSize != sizeof(DDSURFACEDESC2)) return DDERR_INVALIDPARAMS;
  if (HRESULT failure = InjectedFailure(DDrawTestCall::Lock, shape_.caps); failure != DD_OK) return failure;
  if (HRESULT notReady = CheckReady(); notReady != DD_OK) return notReady;
  RECT area = rect != nullptr ? *rect : Bounds();
  if (IsEmptyRect(area) || !RectInside(area, Bounds())) return DDERR_INVALIDPARAMS;
  if (g_movingLocks) {
    PixelStore moved = AllocatePixels(shape_.width, shape_.height, shape_.kind);
    if (!moved.bytes) return DDERR_OUTOFMEMORY;
    std::memcpy(moved.bytes.get(), store_.bytes.get(), StoreSize(store_, shape_.height));
    store_ = std::move(moved);
  }
  Describe(description);
  description->dwFlags |= DDSD_LPSURFACE;
  description->lpSurface = store_.bytes.get() + static_cast<std::ptrdiff_t>(area.top) * store_.pitch +
                           static_cast<std::ptrdiff_t>(area.left) * Layout().bytes;
  locked_ = true;
  lockReadOnly_ = (flags & DDLOCK_READONLY) != 0;
  if (!lockReadOnly_) MayBeWritten();
  lockRect_ = area;
  return DD_OK;
}

HRESULT DirectDrawSurface::Unlock(LPRECT rect) {
  if (IsDead()) return DeadUse();
  if (!locked_) return DDERR_NOTLOCKED;
  if (rect != nullptr && !SameRect(*rect, lockRect_)) return DDERR_INVALIDRECT;
  locked_ = false;
  if (!lockReadOnly_) Written(lockRect_);
  return DD_OK;
}

HRESULT DirectDrawSurface::PageLock(DWORD) {
  if (IsDead()) return DeadUse();
  return DD_OK;
}

// ---- Device context ----

HRESULT DirectDrawSurface::GetDC(HDC* dc) {
  if (IsDead()) return DeadUse();
  FlushTileFrame();
  if (dc == nullptr) return DDERR_INVALIDPARAMS;
  *dc = nullptr;
  if (HRESULT failure = InjectedFailure(DDrawTestCall::GetDC, shape_.caps); failure != DD_OK) return failure;
  if (dc_ != nullptr) return DDERR_DCALREADYCREATED;
  if (HRESULT notReady = CheckReady(); notReady != DD_OK) return notReady;
  if (shape_.kind == DDrawPixelKind::Z16) return DDERR_INVALIDPIXELFORMAT;
  dc_ = CreateSurfaceDC(this);
  if (dc_ == nullptr) return DDERR_OUTOFMEMORY;
  MayBeWritten();
  *dc = dc_;
  return DD_OK;
}

HRESULT DirectDrawSurface::ReleaseDC(HDC dc) {
  if (IsDead()) return DeadUse();
  if (dc == nullptr || dc != dc_) return DDERR_INVALIDPARAMS;
  DeleteSurfaceDC(dc_);
  dc_ = nullptr;
  return DD_OK;
}

// ---- Loss ----

HRESULT DirectDrawSurface::IsLost() {
  if (IsDead()) return DeadUse();
  return lost_ ? DDERR_SURFACELOST : DD_OK;
}

HRESULT DirectDrawSurface::Restore() {
  if (IsDead()) return DeadUse();
  FlushTileFrame();
  if (chainFront_ != nullptr) return chainFront_->Restore();
  std::vector<DirectDrawSurface*> buffers = ChainBuffers();
  bool anyLost = false;
  for (DirectDrawSurface* buffer : buffers) {
    if (buffer->lost_ && (buffer->locked_ || buffer->dc_ != nullptr)) return DDERR_SURFACEBUSY;
    anyLost |= buffer->lost_;
  }
  if (!anyLost) return DD_OK;
  for (DirectDrawSurface* buffer : buffers) {
    if (HRESULT result = buffer->RestorePixels(); result != DD_OK) return result;
  }
  return DD_OK;
}

// A lost buffer gets cleared pixels; a chain on the primary takes the display's current
// size and format.
HRESULT DirectDrawSurface::RestorePixels() {
  if (!lost_) return DD_OK;
  Shape shape = shape_;
  DirectDrawSurface* front = chainFront_ != nullptr ? chainFront_ : this;
  if (front->IsPrimary()) {
    DisplayMode display = GetCurrentDisplayMode();
    shape.width = display.width;
    shape.height = display.height;
    shape.kind = display.kind;
  }
  PixelStore store = AllocatePixels(shape.width, shape.height, shape.kind);
  if (!store.bytes) return DDERR_OUTOFMEMORY;
  std::size_t videoBytes = TakesVideoMemory(shape) ? StoreSize(store, shape.height) : 0;
  ReturnVideoMemory(videoBytes_);
  videoBytes_ = 0;
  if (videoBytes != 0 && !TakeVideoMemory(videoBytes)) return DDERR_OUTOFVIDEOMEMORY;
  videoBytes_ = videoBytes;
  shape_ = shape;
  store_ = std::move(store);
  lost_ = false;
  MayBeWritten();
  return DD_OK;
}

// ---- Clipper, colour key, palette ----

HRESULT DirectDrawSurface::SetClipper(IDirectDrawClipper* clipper) {
  if (IsDead()) return DeadUse();
  auto* next = static_cast<DirectDrawClipper*>(clipper);
  if (next != nullptr) {
    if (next->IsDead()) return DeadUse();
    if (next->Owner() != Owner()) return DDERR_INVALIDPARAMS;
    next->AddRef();
  }
  if (clipper_ != nullptr) clipper_->Release();
  clipper_ = next;
  return DD_OK;
}

HRESULT DirectDrawSurface::SetColorKey(DWORD flags, DDCOLORKEY* key) {
  if (IsDead()) return DeadUse();
  if (flags != DDCKEY_SRCBLT) return DDERR_UNSUPPORTED;
  if (HRESULT failure = InjectedFailure(DDrawTestCall::SetColorKey, shape_.caps); failure != DD_OK) return failure;
  hasKey_ = key != nullptr;
  if (key != nullptr) key_ = *key;
  return DD_OK;
}

HRESULT DirectDrawSurface::SetPalette(IDirectDrawPalette* palette) {
  if (IsDead()) return DeadUse();
  FlushTileFrame();
  auto* next = static_cast<DirectDrawPalette*>(palette);
  if (next != nullptr) {
    if (next->IsDead()) return DeadUse();
    if (next->Owner() != Owner()) return DDERR_INVALIDPARAMS;
    next->AddRef();
  }
  if (palette_ != nullptr) palette_->Release();
  palette_ = next;
  return DD_OK;
}

void DDrawTestSetMovingLocks(bool on) { g_movingLocks = on; }
