#include "d3d/direct3d_object.h"

#include <new>

#include "d3d/device.h"
#include "d3d/test_controls.h"
#include "ddraw/pixel_layout.h"

const IID IID_IDirect3D7 = {0x7a10d710u, 0x5d7e, 0x4a11, {0x9c, 0x31, 0x00, 0x56, 0x41, 0x4e, 0x54, 0x37}};
const IID IID_IDirect3DHALDevice = {0x7a10d711u, 0x5d7e, 0x4a11, {0x9c, 0x31, 0x00, 0x56, 0x41, 0x4e, 0x54, 0x48}};
const IID IID_IDirect3DTnLHalDevice = {0x7a10d712u, 0x5d7e, 0x4a11, {0x9c, 0x31, 0x00, 0x56, 0x41, 0x4e, 0x54, 0x54}};

namespace {

constexpr DWORD kMaxTextureSide = 2048;

class Direct3DObject final : public IDirect3D7 {
 public:
  explicit Direct3DObject(IDirectDraw7* directDraw) : directDraw_(directDraw) { directDraw_->AddRef(); }
  Direct3DObject(const Direct3DObject&) = delete;
  Direct3DObject& operator=(const Direct3DObject&) = delete;

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return DDERR_INVALIDPARAMS;
    *object = nullptr;
    if (!(iid == IID_IUnknown) && !(iid == IID_IDirect3D7)) return E_NOINTERFACE;
    *object = static_cast<IDirect3D7*>(this);
    AddRef();
    return D3D_OK;
  }

  ULONG AddRef() override { return ++refs_; }

  ULONG Release() override {
    if (refs_ == 0) return 0;
    if (--refs_ > 0) return refs_;
    directDraw_->Release();
    delete this;
    return 0;
  }

  // One hardware device: 16- and 32-bit targets, textures of 1 to 2048 texels a side
  // whose sides must be powers of two but need not be equal.
  HRESULT EnumDevices(LPD3DENUMDEVICESCALLBACK7 callback, LPVOID context) override {
    D3DRecordCall(D3DTestCall::EnumDevices);
    if (callback == nullptr) return DDERR_INVALIDPARAMS;
    if (HRESULT failure = D3DInjectedFailure(D3DTestCall::EnumDevices); failure != D3D_OK) return failure;
    D3DDEVICEDESC7 description{};
    description.dpcTriCaps.dwTextureCaps = D3DPTEXTURECAPS_POW2;
    description.dwDeviceRenderBitDepth = DDBD_16 | DDBD_32;
    description.dwMinTextureWidth = description.dwMinTextureHeight = 1;
    description.dwMaxTextureWidth = description.dwMaxTextureHeight = kMaxTextureSide;
    description.deviceGUID = IID_IDirect3DHALDevice;
    char text[] = "Vantorel software rasteriser";
    char name[] = "Vantorel HAL";
    callback(text, name, &description, context);
    return D3D_OK;
  }

  HRESULT EnumZBufferFormats(REFCLSID device, LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID context) override {
    if (callback == nullptr || !(device == IID_IDirect3DHALDevice)) return DDERR_INVALIDPARAMS;
    DDPIXELFORMAT format;
    DescribePixelKind(DDrawPixelKind::Z16, &format);
    callback(&format, context);
    return D3D_OK;
  }

  HRESULT CreateDevice(REFCLSID device, IDirectDrawSurface7* renderTarget, IDirect3DDevice7** created) override {
    D3DRecordCall(D3DTestCall::CreateDevice, reinterpret_cast<std::uintptr_t>(renderTarget));
    if (created == nullptr) return DDERR_INVALIDPARAMS;
    *created = nullptr;
    if (HRESULT failure = D3DInjectedFailure(D3DTestCall::CreateDevice); failure != D3D_OK) return failure;
    if (!(device == IID_IDirect3DHALDevice)) return DDERR_INVALIDPARAMS;
    return Direct3DDevice::Create(this, renderTarget, created);
  }

 private:
  ~Direct3DObject() = default;

  ULONG refs_ = 1;
  IDirectDraw7* directDraw_;
};

}  // namespace

HRESULT CreateDirect3DForDirectDraw(IDirectDraw7* directDraw, void** object) {
  auto* created = new (std::nothrow) Direct3DObject(directDraw);
  if (created == nullptr) return E_OUTOFMEMORY;
  *object = static_cast<IDirect3D7*>(created);
  return D3D_OK;
}
