// The device: states, scene, render target, viewport, bound textures, and the draw and
// copy calls. It holds a reference to its Direct3D object, its render target and every
// bound texture.
#pragma once

#include <vector>

#include "d3d/d3d.h"
#include "d3d/device_states.h"
#include "d3d/primitive_assembly.h"

class Direct3DDevice final : public IDirect3DDevice7 {
 public:
  // A device drawing into `target`, which must be a 3DDEVICE surface holding colour.
  static HRESULT Create(IDirect3D7* owner, IDirectDrawSurface7* target, IDirect3DDevice7** created);

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override;
  HRESULT BeginScene() override;
  HRESULT EndScene() override;
  HRESULT EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID context) override;
  HRESULT SetRenderTarget(IDirectDrawSurface7* surface, DWORD flags) override;
  HRESULT SetViewport(D3DVIEWPORT7* viewport) override;
  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) override;
  HRESULT SetTexture(DWORD stage, IDirectDrawSurface7* texture) override;
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices, DWORD vertexCount,
                        DWORD flags) override;
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices, DWORD vertexCount,
                               WORD* indices, DWORD indexCount, DWORD flags) override;
  HRESULT Load(IDirectDrawSurface7* destination, POINT* destinationPoint, IDirectDrawSurface7* source,
               LPRECT sourceRect, DWORD flags) override;

 private:
  Direct3DDevice(IDirect3D7* owner, IDirectDrawSurface7* target, DWORD width, DWORD height);
  ~Direct3DDevice();

  HRESULT Draw(D3DPRIMITIVETYPE type, DWORD vertexFormat, const void* vertices, DWORD vertexCount, const WORD* indices,
               DWORD count);
  // Draws what is recorded and tells the render target which of its pixels the scene has
  // drawn so far.
  void ReportWritten();

  ULONG refs_ = 1;
  IDirect3D7* owner_;
  IDirectDrawSurface7* target_;
  DWORD targetWidth_;
  DWORD targetHeight_;
  IDirectDrawSurface7* textures_[kStageCount] = {};
  DeviceStates states_;
  D3DVIEWPORT7 viewport_;
  D3DMATRIX transforms_[3] = {};
  bool inScene_ = false;
  RECT written_{0, 0, 0, 0};
  std::vector<TileWritten> tileWritten_;  // per tile of the target, by the recorded draws
};
