#include "ddraw/direct_draw_object.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "d3d/direct3d_object.h"
#include "ddraw/clipper.h"
#include "ddraw/display_mode.h"
#include "ddraw/failure_injection.h"
#include "ddraw/palette.h"
#include "ddraw/presenter.h"
#include "ddraw/rect_math.h"
#include "ddraw/surface.h"
#include "ddraw/vertical_blank.h"
#include "window/window.h"
#include "workers/tile_frame.h"

const CLSID CLSID_DirectDraw7 = {0x7a10d700u, 0x5d7e, 0x4a11, {0x9c, 0x31, 0x00, 0x56, 0x41, 0x4e, 0x54, 0x07}};
const IID IID_IDirectDraw = {0x7a10d701u, 0x5d7e, 0x4a11, {0x9c, 0x31, 0x00, 0x56, 0x41, 0x4e, 0x54, 0x01}};
const IID IID_IDirectDraw4 = {0x7a10d704u, 0x5d7e, 0x4a11, {0x9c, 0x31, 0x00, 0x56, 0x41, 0x4e, 0x54, 0x04}};
const IID IID_IDirectDraw7 = {0x7a10d702u, 0x5d7e, 0x4a11, {0x9c, 0x31, 0x00, 0x56, 0x41, 0x4e, 0x54, 0x07}};
const IID IID_IDirectDrawSurface = {0x7a10d705u, 0x5d7e, 0x4a11, {0x9c, 0x31, 0x00, 0x56, 0x41, 0x4e, 0x54, 0x11}};
const IID IID_IDirectDrawSurface4 = {0x7a10d706u, 0x5d7e, 0x4a11, {0x9c, 0x31, 0x00, 0x56, 0x41, 0x4e, 0x54, 0x14}};
const IID IID_IDirectDrawSurface7 = {0x7a10d703u, 0x5d7e, 0x4a11, {0x9c, 0x31, 0x00, 0x56, 0x41, 0x4e, 0x54, 0x17}};

namespace {

std::vector<DirectDrawObject*> g_liveObjects;

constexpr DWORD kCooperativeFlags = DDSCL_NORMAL | DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE;

template <typename Child, typename Interface>
HRESULT HandOut(Child* child, Interface** out) {
  if (child == nullptr) return DDERR_OUTOFMEMORY;
  *out = child;
  return DD_OK;
}

}  // namespace

HRESULT CreateDirectDrawInstance(REFIID iid, void** object) {
  if (HRESULT failure = InjectedFailure(DDrawTestCall::CreateObject); failure != DD_OK) return failure;
  if (!(iid == IID_IDirectDraw7) && !(iid == IID_IUnknown)) return E_NOINTERFACE;
  auto* created = new (std::nothrow) DirectDrawObject();
  if (created == nullptr) return E_OUTOFMEMORY;
  *object = static_cast<IDirectDraw7*>(created);
  return DD_OK;
}

DirectDrawObject::DirectDrawObject() : firstVersion_(*this), fourthVersion_(*this) {
  g_liveObjects.push_back(this);
  SetWindowDestroyHook(ForgetWindow);
}

DirectDrawObject::~DirectDrawObject() {
  bool changed = false;
  RestoreDesktopMode(this, &changed);
  ReleaseExclusiveMode(this);
  presenter_.reset();
  primary_ = nullptr;
  std::vector<DDrawChild*> children = std::move(children_);
  children_.clear();
  for (DDrawChild* child : children) child->Orphan();
  for (DDrawChild* child : children) child->DeleteIfUnreferenced();
  std::erase(g_liveObjects, this);
  if (changed) LoseVideoMemorySurfaces();
}

ULONG DirectDrawObject::Release() {
  if (refs_ == 0) return 0;
  if (--refs_ > 0) return refs_;
  delete this;
  return 0;
}

HRESULT DirectDrawObject::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return DDERR_INVALIDPARAMS;
  *object = nullptr;
  if (HRESULT failure = InjectedFailure(DDrawTestCall::QueryInterface); failure != DD_OK) return failure;
  if (iid == IID_IUnknown || iid == IID_IDirectDraw7) {
    *object = static_cast<IDirectDraw7*>(this);
  } else if (iid == IID_IDirectDraw) {
    *object = static_cast<IDirectDraw*>(&firstVersion_);
  } else if (iid == IID_IDirectDraw4) {
    *object = static_cast<IDirectDraw4*>(&fourthVersion_);
  } else if (iid == IID_IDirect3D7) {
    return CreateDirect3DForDirectDraw(this, object);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return DD_OK;
}

HRESULT DirectDrawObject::CheckInitialised() const { return initialised_ ? DD_OK : DDERR_NOTINITIALIZED; }

HRESULT DirectDrawObject::Initialize(GUID* driver) {
  if (driver != nullptr) return DDERR_INVALIDPARAMS;  // the primary display only
  if (HRESULT failure = InjectedFailure(DDrawTestCall::Initialize); failure != DD_OK) return failure;
  if (initialised_) return DDERR_ALREADYINITIALIZED;
  initialised_ = true;
  return DD_OK;
}

// ---- Children ----

void DirectDrawObject::Unregister(DDrawChild* child) { std::erase(children_, child); }

void DirectDrawObject::PrimaryGone(DirectDrawSurface* primary) {
  if (primary_ == primary) primary_ = nullptr;
}

HRESULT DirectDrawObject::CreateClipper(DWORD, IDirectDrawClipper** clipper, IUnknown* outer) {
  if (HRESULT notReady = CheckInitialised(); notReady != DD_OK) return notReady;
  if (clipper == nullptr) return DDERR_INVALIDPARAMS;
  *clipper = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  if (HRESULT failure = InjectedFailure(DDrawTestCall::CreateClipper); failure != DD_OK) return failure;
  auto* created = new (std::nothrow) DirectDrawClipper(this);
  if (created != nullptr) Register(created);
  return HandOut(created, clipper);
}

HRESULT DirectDrawObject::CreatePalette(DWORD flags, PALETTEENTRY* entries, IDirectDrawPalette** palette,
                                        IUnknown* outer) {
  if (HRESULT notReady = CheckInitialised(); notReady != DD_OK) return notReady;
  if (palette == nullptr || entries == nullptr) return DDERR_INVALIDPARAMS;
  *palette = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  if (HRESULT failure = InjectedFailure(DDrawTestCall::CreatePalette); failure != DD_OK) return failure;
  if (!(flags & DDPCAPS_8BIT)) return DDERR_UNSUPPORTED;
  auto* created = new (std::nothrow) DirectDrawPalette(this, entries);
  if (created != nullptr) Register(created);
  return HandOut(created, palette);
}

// ---- Cooperative level and display modes ----

HRESULT DirectDrawObject::SetCooperativeLevel(HWND window, DWORD flags) {
  if (HRESULT notReady = CheckInitialised(); notReady != DD_OK) return notReady;
  if (HRESULT failure = InjectedFailure(DDrawTestCall::SetCooperativeLevel); failure != DD_OK) return failure;
  if (flags & ~kCooperativeFlags) return DDERR_INVALIDPARAMS;
  if (flags & DDSCL_EXCLUSIVE) {
    if (!(flags & DDSCL_FULLSCREEN) || (flags & DDSCL_NORMAL) || window == nullptr) return DDERR_INVALIDPARAMS;
    if (HRESULT claimed = ClaimExclusiveMode(this, window); claimed != DD_OK) return claimed;
  } else {
    if (!(flags & DDSCL_NORMAL) || (flags & DDSCL_FULLSCREEN)) return DDERR_INVALIDPARAMS;
    ReleaseExclusiveMode(this);
  }
  if (window != window_) presenter_.reset();
  window_ = window;
  gameThread_ = std::this_thread::get_id();
  levelSet_ = true;
  return DD_OK;
}

void DirectDrawObject::AfterDisplayChange(bool changed) {
  if (changed) LoseVideoMemorySurfaces();
}

HRESULT DirectDrawObject::SetDisplayMode(DWORD width, DWORD height, DWORD bits, DWORD refresh, DWORD flags) {
  if (HRESULT notReady = CheckInitialised(); notReady != DD_OK) return notReady;
  if (HRESULT failure = InjectedFailure(DDrawTestCall::SetDisplayMode); failure != DD_OK) return failure;
  if (flags != 0) return DDERR_UNSUPPORTED;
  bool changed = false;
  if (HRESULT result = SetFullScreenMode(this, width, height, bits, refresh, &changed); result != DD_OK) {
    return result;
  }
  AfterDisplayChange(changed);
  return DD_OK;
}

HRESULT DirectDrawObject::RestoreDisplayMode() {
  if (HRESULT notReady = CheckInitialised(); notReady != DD_OK) return notReady;
  bool changed = false;
  RestoreDesktopMode(this, &changed);
  AfterDisplayChange(changed);
  return DD_OK;
}

HRESULT DirectDrawObject::GetDisplayMode(DDSURFACEDESC2* description) {
  if (HRESULT notReady = CheckInitialised(); notReady != DD_OK) return notReady;
  if (description == nullptr || description->dwSize != sizeof(DDSURFACEDESC2)) return DDERR_INVALIDPARAMS;
  DisplayMode mode = GetCurrentDisplayMode();
  description->dwFlags = DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
  description->dwWidth = mode.width;
  description->dwHeight = mode.height;
  description->lPitch = static_cast<LONG>(mode.width * GetPixelLayout(mode.kind).bytes);
  description->dwRefreshRate = kDisplayRefreshRate;
  DescribePixelKind(mode.kind, &description->ddpfPixelFormat);
  return DD_OK;
}

HRESULT DirectDrawObject::FlipToGDISurface() {
  if (HRESULT notReady = CheckInitialised(); notReady != DD_OK) return notReady;
  if (primary_ != nullptr) primary_->ReturnChainToFirstBuffer();
  return DD_OK;
}

// ---- Facts ----

HRESULT DirectDrawObject::GetAvailableVidMem(DDSCAPS2*, DWORD* total, DWORD* free) {
  if (HRESULT notReady = CheckInitialised(); notReady != DD_OK) return notReady;
  if (total != nullptr) *total = GetVideoMemoryTotal();
  if (free != nullptr) *free = GetVideoMemoryFree();
  return DD_OK;
}

HRESULT DirectDrawObject::GetDeviceIdentifier(DDDEVICEIDENTIFIER2* identifier, DWORD) {
  if (HRESULT notReady = CheckInitialised(); notReady != DD_OK) return notReady;
  if (identifier == nullptr) return DDERR_INVALIDPARAMS;
  *identifier = DDDEVICEIDENTIFIER2{};
  std::snprintf(identifier->szDriver, sizeof(identifier->szDriver), "vantorel-ddraw");
  std::snprintf(identifier->szDescription, sizeof(identifier->szDescription),
                "Vantorel display stand-in (CPU-memory surfaces)");
  identifier->liDriverVersion.u.HighPart = 1 << 16;  // 1.0.0.0
  identifier->liDriverVersion.u.LowPart = 0;
  return DD_OK;
}

// ---- Vertical blank ----

HRESULT DirectDrawObject::GetScanLine(DWORD* line) {
  if (HRESULT notReady = CheckInitialised(); notReady != DD_OK) return notReady;
  if (line == nullptr) return DDERR_INVALIDPARAMS;
  *line = ReadScanLine(GetCurrentDisplayMode().height);
  return DD_OK;
}

HRESULT DirectDrawObject::GetVerticalBlankStatus(BOOL* inBlank) {
  if (HRESULT notReady = CheckInitialised(); notReady != DD_OK) return notReady;
  if (inBlank == nullptr) return DDERR_INVALIDPARAMS;
  *inBlank = ReadBlankStatus(GetCurrentDisplayMode().height) ? TRUE : FALSE;
  return DD_OK;
}

HRESULT DirectDrawObject::WaitForVerticalBlank(DWORD flags, HANDLE) {
  if (HRESULT notReady = CheckInitialised(); notReady != DD_OK) return notReady;
  if (flags != DDWAITVB_BLOCKBEGIN && flags != DDWAITVB_BLOCKEND) return DDERR_UNSUPPORTED;
  WaitForBlank(GetCurrentDisplayMode().height, flags == DDWAITVB_BLOCKEND);
  return DD_OK;
}

// ---- Showing the primary ----

void DirectDrawObject::ShowPrimary(DirectDrawSurface& primary, const RECT& area) {
  if (std::this_thread::get_id() != gameThread_) {
    showPending_ = true;
    return;
  }
  if (window_ == nullptr || primary.HasLostPixels()) return;
  // A destroyed window shows nothing more; the primary reports itself lost, as after a
  // display change, and the next writes fail instead of reaching the dead window.
  if (window_->sdlWindow == nullptr) {
    primary.Lose();
    return;
  }
  const DirectDrawSurface::Shape& shape = primary.GetShape();
  RECT region = GetFullScreenWindow(this) == window_
                    ? RECT{0, 0, static_cast<LONG>(shape.width), static_cast<LONG>(shape.height)}
                    : GetWindowClientArea(window_);
  RECT written = showPending_ ? region : area;
  showPending_ = false;
  if (IsEmptyRect(region) || IsEmptyRect(IntersectRects(written, region))) return;
  if (presenter_ == nullptr) presenter_ = std::make_unique<WindowPresenter>(window_);
  presenter_->Show({primary.Bits(), primary.Pitch(), shape.width, shape.height, shape.kind, primary.ContentStamp()}, region,
                   written);
}

DirectDrawSurface* DirectDrawObject::NewestPrimary() {
  for (auto object = g_liveObjects.rbegin(); object != g_liveObjects.rend(); ++object) {
    if ((*object)->primary_ != nullptr) return (*object)->primary_;
  }
  return nullptr;
}

void DirectDrawObject::ForgetWindow(HWND window) {
  for (DirectDrawObject* object : g_liveObjects) {
    if (object->window_ == window) object->presenter_.reset();
  }
}

void DirectDrawObject::LoseVideoMemorySurfaces() {
  FlushTileFrame();
  for (DirectDrawObject* object : g_liveObjects) {
    for (DDrawChild* child : object->children_) child->DisplayChanged();
  }
}

void DDrawTestLoseVideoMemorySurfaces() { DirectDrawObject::LoseVideoMemorySurfaces(); }

// ---- First-version interface ----

HRESULT FirstVersionDirectDraw::QueryInterface(REFIID iid, void** object) {
  return object_.QueryInterface(iid, object);
}

ULONG FirstVersionDirectDraw::AddRef() { return object_.AddRef(); }

ULONG FirstVersionDirectDraw::Release() { return object_.Release(); }

// The same surfaces as the seventh version makes, from the shorter description.
HRESULT FirstVersionDirectDraw::CreateSurface(DDSURFACEDESC* description, IDirectDrawSurface** surface,
                                              IUnknown* outer) {
  if (description == nullptr || surface == nullptr || description->dwSize != sizeof(DDSURFACEDESC)) {
    return DDERR_INVALIDPARAMS;
  }
  *surface = nullptr;
  constexpr DWORD kFirstVersionFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
  if (description->dwFlags & ~kFirstVersionFlags) return DDERR_UNSUPPORTED;
  DDSURFACEDESC2 full{};
  full.dwSize = sizeof(full);
  full.dwFlags = description->dwFlags;
  full.dwWidth = description->dwWidth;
  full.dwHeight = description->dwHeight;
  full.ddpfPixelFormat = description->ddpfPixelFormat;
  full.ddsCaps.dwCaps = description->ddsCaps.dwCaps;
  IDirectDrawSurface7* created = nullptr;
  HRESULT result = object_.CreateSurface(&full, &created, outer);
  if (result == DD_OK) *surface = AsSurface(created)->FirstVersion();
  return result;
}

HRESULT FourthVersionDirectDraw::QueryInterface(REFIID iid, void** object) {
  return object_.QueryInterface(iid, object);
}

ULONG FourthVersionDirectDraw::AddRef() { return object_.AddRef(); }

ULONG FourthVersionDirectDraw::Release() { return object_.Release(); }

// Stretch factors of 1000 and 2000 tell the overlay probe that no overlay is worth trying.
HRESULT FirstVersionDirectDraw::GetCaps(DDCAPS* driverCaps, DDCAPS* emulationCaps) {
  for (DDCAPS* caps : {driverCaps, emulationCaps}) {
    if (caps == nullptr) continue;
    if (caps->dwSize != sizeof(DDCAPS)) return DDERR_INVALIDPARAMS;
    caps->dwMinOverlayStretch = 1000;
    caps->dwMaxOverlayStretch = 2000;
  }
  return DD_OK;
}
