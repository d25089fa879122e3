#include "d3d/device.h"

#include <algorithm>
#include <iterator>
#include <cmath>
#include <cstring>
#include <new>

#include "d3d/colour_math.h"
#include "d3d/draw_setup.h"
#include "d3d/primitive_assembly.h"
#include "d3d/test_controls.h"
#include "ddraw/rect_math.h"
#include "ddraw/surface_access.h"
#include "workers/tile_frame.h"

namespace {

// The order the device offers its texture formats in.
constexpr DDrawPixelKind kTextureKinds[] = {DDrawPixelKind::RGB565,   DDrawPixelKind::X1R5G5B5,
                                            DDrawPixelKind::A1R5G5B5, DDrawPixelKind::A4R4G4B4,
                                            DDrawPixelKind::X8R8G8B8, DDrawPixelKind::A8R8G8B8};

std::uint64_t AddressOf(const void* pointer) { return reinterpret_cast<std::uintptr_t>(pointer); }

std::uint64_t Pack(DWORD low, DWORD high) { return std::uint64_t{low} | (std::uint64_t{high} << 32); }

// A surface the device may draw into: 3DDEVICE caps and a colour format.
HRESULT CheckRenderTarget(IDirectDrawSurface7* surface, DWORD* width, DWORD* height) {
  if (surface == nullptr) return DDERR_INVALIDPARAMS;
  DDSCAPS2 caps{};
  if (HRESULT result = surface->GetCaps(&caps); result != DD_OK) return result;
  if (!(caps.dwCaps & DDSCAPS_3DDEVICE)) return DDERR_INVALIDCAPS;
  DDrawPixelKind kind;
  if (HRESULT result = DDrawGetSurfaceShape(surface, width, height, &kind); result != DD_OK) return result;
  return IsColourKind(kind) ? DD_OK : DDERR_INVALIDPIXELFORMAT;
}

bool IsPrimitiveType(D3DPRIMITIVETYPE type) {
  return type == D3DPT_LINELIST || type == D3DPT_TRIANGLELIST || type == D3DPT_TRIANGLESTRIP;
}

// Swaps a held reference for another (either may be null).
void Hold(IDirectDrawSurface7*& slot, IDirectDrawSurface7* surface) {
  if (surface != nullptr) surface->AddRef();
  if (slot != nullptr) slot->Release();
  slot = surface;
}

}  // namespace

HRESULT Direct3DDevice::Create(IDirect3D7* owner, IDirectDrawSurface7* target, IDirect3DDevice7** created) {
  DWORD width = 0, height = 0;
  if (HRESULT result = CheckRenderTarget(target, &width, &height); result != DD_OK) return result;
  auto* device = new (std::nothrow) Direct3DDevice(owner, target, width, height);
  if (device == nullptr) return DDERR_OUTOFMEMORY;
  *created = device;
  return D3D_OK;
}

Direct3DDevice::Direct3DDevice(IDirect3D7* owner, IDirectDrawSurface7* target, DWORD width, DWORD height)
    : owner_(owner),
      target_(target),
      targetWidth_(width),
      targetHeight_(height),
      states_(NewDeviceStates(DDrawGetAttachedZBuffer(target) != nullptr)),
      viewport_{0, 0, width, height, 0.0f, 1.0f} {
  owner_->AddRef();
  target_->AddRef();
}

Direct3DDevice::~Direct3DDevice() {
  if (inScene_) ReportWritten();
  for (IDirectDrawSurface7*& texture : textures_) Hold(texture, nullptr);
  target_->Release();
  owner_->Release();
}

ULONG Direct3DDevice::Release() {
  if (refs_ == 0) return 0;
  if (--refs_ > 0) return refs_;
  delete this;
  return 0;
}

HRESULT Direct3DDevice::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return DDERR_INVALIDPARAMS;
  *object = nullptr;
  if (!(iid == IID_IUnknown)) return E_NOINTERFACE;
  *object = static_cast<IDirect3DDevice7*>(this);
  AddRef();
  return D3D_OK;
}

// ---- Scene ----

HRESULT Direct3DDevice::BeginScene() {
  D3DRecordCall(D3DTestCall::BeginScene);
  if (HRESULT failure = D3DInjectedFailure(D3DTestCall::BeginScene); failure != D3D_OK) return failure;
  if (inScene_) return D3DERR_SCENE_IN_SCENE;
  inScene_ = true;
  return D3D_OK;
}

HRESULT Direct3DDevice::EndScene() {
  D3DRecordCall(D3DTestCall::EndScene);
  if (HRESULT failure = D3DInjectedFailure(D3DTestCall::EndScene); failure != D3D_OK) return failure;
  if (!inScene_) return D3DERR_SCENE_NOT_IN_SCENE;
  ReportWritten();
  inScene_ = false;
  return D3D_OK;
}

void Direct3DDevice::ReportWritten() {
  FlushTileFrame();
  for (TileWritten& tile : tileWritten_) {
    written_ = JoinAreas(written_, tile.area);
    tile.area = RECT{0, 0, 0, 0};
  }
  if (IsEmptyRect(written_)) return;
  RECT area = written_;
  written_ = {0, 0, 0, 0};
  DDrawSurfaceWritten(target_, &area);
}

// ---- Formats ----

HRESULT Direct3DDevice::EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID context) {
  if (callback == nullptr) return DDERR_INVALIDPARAMS;
  std::vector<DDPIXELFORMAT> formats;
  if (const std::vector<DDPIXELFORMAT>* offered = D3DOfferedTextureFormats(); offered != nullptr) {
    formats = *offered;
  } else {
    for (DDrawPixelKind kind : kTextureKinds) {
      DDPIXELFORMAT format;
      DescribePixelKind(kind, &format);
      formats.push_back(format);
    }
  }
  for (DDPIXELFORMAT& format : formats) {
    if (callback(&format, context) == D3DENUMRET_CANCEL) break;
  }
  return D3D_OK;
}

// ---- Target, viewport, transforms ----

// The viewport stays as it was; drawing keeps to the part of it inside the new target.
HRESULT Direct3DDevice::SetRenderTarget(IDirectDrawSurface7* surface, DWORD) {
  D3DRecordCall(D3DTestCall::SetRenderTarget, AddressOf(surface));
  if (HRESULT failure = D3DInjectedFailure(D3DTestCall::SetRenderTarget); failure != D3D_OK) return failure;
  DWORD width = 0, height = 0;
  if (HRESULT result = CheckRenderTarget(surface, &width, &height); result != DD_OK) return result;
  ReportWritten();
  Hold(target_, surface);
  targetWidth_ = width;
  targetHeight_ = height;
  return D3D_OK;
}

HRESULT Direct3DDevice::SetViewport(D3DVIEWPORT7* viewport) {
  if (viewport == nullptr) return DDERR_INVALIDPARAMS;
  D3DRecordCall(D3DTestCall::SetViewport, Pack(viewport->dwX, viewport->dwY),
                Pack(viewport->dwWidth, viewport->dwHeight));
  if (HRESULT failure = D3DInjectedFailure(D3DTestCall::SetViewport); failure != D3D_OK) return failure;
  const D3DVIEWPORT7& v = *viewport;
  bool inside = v.dwWidth > 0 && v.dwHeight > 0 && std::uint64_t{v.dwX} + v.dwWidth <= targetWidth_ &&
                std::uint64_t{v.dwY} + v.dwHeight <= targetHeight_;
  bool depthRange = v.dvMinZ >= 0.0f && v.dvMaxZ <= 1.0f && v.dvMinZ <= v.dvMaxZ;  // false for NaN
  if (!inside || !depthRange) return DDERR_INVALIDPARAMS;
  viewport_ = v;
  return D3D_OK;
}

// Stored only: pre-transformed vertices do not go through the transforms.
HRESULT Direct3DDevice::SetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
  D3DRecordCall(D3DTestCall::SetTransform, state);
  if (matrix == nullptr || state < D3DTRANSFORMSTATE_WORLD || state > D3DTRANSFORMSTATE_PROJECTION) {
    return DDERR_INVALIDPARAMS;
  }
  transforms_[state - D3DTRANSFORMSTATE_WORLD] = *matrix;
  return D3D_OK;
}

// ---- States and textures ----

HRESULT Direct3DDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  D3DRecordCall(D3DTestCall::SetRenderState, state, value);
  if (HRESULT failure = D3DInjectedFailure(D3DTestCall::SetRenderState); failure != D3D_OK) return failure;
  return SetDeviceRenderState(states_, state, value);
}

HRESULT Direct3DDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) {
  D3DRecordCall(D3DTestCall::SetTextureStageState, stage, state, value);
  if (HRESULT failure = D3DInjectedFailure(D3DTestCall::SetTextureStageState); failure != D3D_OK) return failure;
  return SetDeviceStageState(states_, stage, state, value);
}

HRESULT Direct3DDevice::SetTexture(DWORD stage, IDirectDrawSurface7* texture) {
  D3DRecordCall(D3DTestCall::SetTexture, stage, AddressOf(texture));
  if (HRESULT failure = D3DInjectedFailure(D3DTestCall::SetTexture); failure != D3D_OK) return failure;
  if (stage >= kStageCount) return DDERR_INVALIDPARAMS;
  if (texture != nullptr) {
    DDSCAPS2 caps{};
    if (HRESULT result = texture->GetCaps(&caps); result != DD_OK) return result;
    if (!(caps.dwCaps & DDSCAPS_TEXTURE)) return DDERR_INVALIDCAPS;
  }
  Hold(textures_[stage], texture);
  return D3D_OK;
}

// ---- Drawing ----

HRESULT Direct3DDevice::DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices, DWORD vertexCount,
                                      DWORD) {
  D3DRecordCall(D3DTestCall::DrawPrimitive, type, vertexFormat, vertexCount);
  if (HRESULT failure = D3DInjectedFailure(D3DTestCall::DrawPrimitive); failure != D3D_OK) return failure;
  return Draw(type, vertexFormat, vertices, vertexCount, nullptr, vertexCount);
}

HRESULT Direct3DDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices,
                                             DWORD vertexCount, WORD* indices, DWORD indexCount, DWORD) {
  D3DRecordCall(D3DTestCall::DrawIndexedPrimitive, type, vertexFormat, indexCount);
  if (HRESULT failure = D3DInjectedFailure(D3DTestCall::DrawIndexedPrimitive); failure != D3D_OK) return failure;
  if (indexCount > 0 && indices == nullptr) return DDERR_INVALIDPARAMS;
  if (std::any_of(indices, indices + indexCount, [vertexCount](WORD index) { return index >= vertexCount; })) {
    return DDERR_INVALIDPARAMS;
  }
  return Draw(type, vertexFormat, vertices, vertexCount, indices, indexCount);
}

HRESULT Direct3DDevice::Draw(D3DPRIMITIVETYPE type, DWORD vertexFormat, const void* vertices, DWORD vertexCount,
                             const WORD* indices, DWORD count) {
  if (!inScene_) return D3DERR_SCENE_NOT_IN_SCENE;
  if (!IsPrimitiveType(type)) return D3DERR_INVALIDPRIMITIVETYPE;
  VertexLayout layout;
  if (!DescribeVertexFormat(vertexFormat, &layout)) return D3DERR_INVALIDVERTEXTYPE;
  if (count == 0) return D3D_OK;
  if (vertices == nullptr) return DDERR_INVALIDPARAMS;
  DrawContext context;
  if (HRESULT result = PrepareDraw(states_, {target_, textures_, &viewport_}, &context); result != DD_OK) {
    return result;
  }
  PrimitiveBatch batch{type, &layout, static_cast<const BYTE*>(vertices), indices, count};
  // A draw reading its own target runs now, after what is recorded: tiles would read
  // pixels other tiles write.
  if (!TiledDrawing() || std::find(std::begin(textures_), std::end(textures_), target_) != std::end(textures_)) {
    FlushTileFrame();
    written_ = JoinAreas(written_, DrawPrimitiveBatch(context, states_.cullMode, batch));
    return D3D_OK;
  }
  UseDrawTarget(context.targetBits, static_cast<int>(targetWidth_), static_cast<int>(targetHeight_));
  if (const auto tiles = static_cast<std::size_t>(TileCount(static_cast<int>(targetWidth_),
                                                           static_cast<int>(targetHeight_)));
      tileWritten_.size() != tiles) {
    for (const TileWritten& tile : tileWritten_) written_ = JoinAreas(written_, tile.area);
    tileWritten_.assign(tiles, TileWritten{RECT{0, 0, 0, 0}});
  }
  RecordPrimitiveBatch(context, states_.cullMode, batch, vertexCount, tileWritten_.data());
  return D3D_OK;
}

// ---- Texture copy ----

HRESULT Direct3DDevice::Load(IDirectDrawSurface7* destination, POINT* destinationPoint, IDirectDrawSurface7* source,
                             LPRECT sourceRect, DWORD flags) {
  D3DRecordCall(D3DTestCall::Load);
  if (HRESULT failure = D3DInjectedFailure(D3DTestCall::Load); failure != D3D_OK) return failure;
  if (destination == nullptr || source == nullptr || flags != 0) return DDERR_INVALIDPARAMS;
  FlushTileFrame();
  DDrawSurfaceMemory from, to;
  if (HRESULT result = DDrawGetSurfaceMemory(source, &from); result != DD_OK) return result;
  if (HRESULT result = DDrawGetSurfaceMemory(destination, &to); result != DD_OK) return result;
  if (from.kind != to.kind) return DDERR_INVALIDPIXELFORMAT;
  RECT area = sourceRect != nullptr ? *sourceRect
                                    : RECT{0, 0, static_cast<LONG>(from.width), static_cast<LONG>(from.height)};
  if (IsEmptyRect(area) ||
      !RectInside(area, {0, 0, static_cast<LONG>(from.width), static_cast<LONG>(from.height)})) {
    return DDERR_INVALIDRECT;
  }
  POINT at = destinationPoint != nullptr ? *destinationPoint : POINT{area.left, area.top};
  RECT target{at.x, at.y, at.x + RectWidth(area), at.y + RectHeight(area)};
  if (at.x < 0 || at.y < 0 || !RectInside(target, {0, 0, static_cast<LONG>(to.width), static_cast<LONG>(to.height)})) {
    return DDERR_INVALIDRECT;
  }
  DWORD bytes = GetPixelLayout(from.kind).bytes;
  std::size_t rowBytes = static_cast<std::size_t>(RectWidth(area)) * bytes;
  for (LONG row = 0; row < RectHeight(area); ++row) {
    std::memmove(to.bits + static_cast<std::ptrdiff_t>(target.top + row) * to.pitch + target.left * bytes,
                 from.bits + static_cast<std::ptrdiff_t>(area.top + row) * from.pitch + area.left * bytes, rowBytes);
  }
  DDrawSurfaceWritten(destination, &target);
  return D3D_OK;
}
