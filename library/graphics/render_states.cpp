// The state setters: each compares with the cache unless force is set, and draws the
// pending batch before it changes anything on the device.
#include "graphics/render_states.h"

#include "core/log.h"

namespace {

int SendRenderState(D3DDeviceRecord* device, D3DRENDERSTATETYPE state, DWORD* cached, DWORD value) {
  if (device == nullptr || device->device == nullptr) return -1;
  if (!device->force && *cached == value) return 0;
  DrawRecordVertexBatch(device);
  if (device->device->SetRenderState(state, value) != D3D_OK) return -1;
  *cached = value;
  return 0;
}

// Records one wanted setting; a change marks the blend settings for re-sending.
int RecordSetting(D3DDeviceRecord* device, int* field, int value) {
  if (device == nullptr) return -1;
  if (*field != value) {
    *field = value;
    device->blendSettingsChanged = 1;
  }
  return 0;
}

}  // namespace

int SetTexturePerspectiveD3D(D3DDeviceRecord* device, DWORD value) {
  return device == nullptr ? -1
                           : SendRenderState(device, D3DRENDERSTATE_TEXTUREPERSPECTIVE, &device->texturePerspective, value);
}

int SetColorKeyEnableD3D(D3DDeviceRecord* device, DWORD value) {
  return device == nullptr ? -1 : SendRenderState(device, D3DRENDERSTATE_COLORKEYENABLE, &device->colorKeyEnable, value);
}

int SetZEnableD3D(D3DDeviceRecord* device, DWORD value) {
  return device == nullptr ? -1
                           : SendRenderState(device, D3DRENDERSTATE_ZENABLE, &device->zEnable, value == 1 ? 1u : 0u);
}

int SetZWriteEnableD3D(D3DDeviceRecord* device, DWORD value) {
  return device == nullptr ? -1 : SendRenderState(device, D3DRENDERSTATE_ZWRITEENABLE, &device->zWriteEnable, value);
}

int SetZFuncD3D(D3DDeviceRecord* device, DWORD value) {
  return device == nullptr ? -1 : SendRenderState(device, D3DRENDERSTATE_ZFUNC, &device->zFunc, value);
}

int SetShadeModeD3D(D3DDeviceRecord* device, DWORD value) {
  return device == nullptr ? -1 : SendRenderState(device, D3DRENDERSTATE_SHADEMODE, &device->shadeMode, value);
}

int SetD3DTextureFilter(D3DDeviceRecord* device, int mode) {
  if (device == nullptr || device->device == nullptr || (mode != 0 && mode != 1)) return -1;
  if (!device->force && device->filterMode == mode) return 0;
  DrawRecordVertexBatch(device);
  const DWORD filter = mode == 1 ? D3DTFG_LINEAR : D3DTFG_POINT;
  const int stages = device->stagesInUse > 0 ? device->stagesInUse : 1;
  for (int stage = 0; stage < stages; ++stage) {
    device->device->SetTextureStageState(stage, D3DTSS_MAGFILTER, filter);
    device->device->SetTextureStageState(stage, D3DTSS_MINFILTER, filter);
  }
  device->filterMode = mode;
  return 0;
}

int SetD3DRenderTarget(D3DDeviceRecord* device, IDirectDrawSurface7* surface) {
  if (device == nullptr || device->device == nullptr) return -1;
  if (surface == nullptr) surface = device->defaultSurface;
  if (!device->force && device->renderTarget == surface) return 0;
  DrawRecordVertexBatch(device);
  if (device->device->SetRenderTarget(surface, 0) != D3D_OK) return -1;
  device->renderTarget = surface;
  return 0;
}

int SetDeviceViewport(int deviceId, const D3DVIEWPORT7& viewport) {
  D3DDeviceRecord* device = GetD3DDeviceRecord(deviceId);
  if (device == nullptr || device->device == nullptr) return -1;
  EndDeviceSceneOf(deviceId);
  D3DVIEWPORT7 sent = viewport;
  if (const HRESULT result = device->device->SetViewport(&sent); result != D3D_OK) {
    LogPrintf("ビューポートのセットに失敗しました ErrorCode %x", static_cast<unsigned>(result));
    return -1;
  }
  device->viewport = viewport;
  return 0;
}

int SetDeviceTexture(D3DDeviceRecord* device, IDirectDrawSurface7* texture) {
  if (device == nullptr) return -1;
  if (device->texture == texture && !device->force) return 0;
  if ((device->texture == nullptr) != (texture == nullptr)) device->blendSettingsChanged = 1;
  device->texture = texture;
  device->textureChanged = 1;
  return 0;
}

int SetDeviceAlphaTexture(D3DDeviceRecord* device, IDirectDrawSurface7* texture, int borderParam, int borderWidth) {
  if (device == nullptr) return -1;
  device->alphaTexture = texture;
  if (borderParam != -1) device->blendGraphBorderParam = borderParam;
  if (borderWidth != -1) device->blendGraphBorderWidth = borderWidth;
  device->blendSettingsChanged = 1;
  return 0;
}

int SetDeviceTintUse(D3DDeviceRecord* device, int used) {
  return device == nullptr ? -1 : RecordSetting(device, &device->tintUsed, used);
}

int SetDeviceBlendUse(D3DDeviceRecord* device, int used) {
  return device == nullptr ? -1 : RecordSetting(device, &device->blendUsed, used);
}

int SetDeviceBlendMode(D3DDeviceRecord* device, int mode, int alphaChannel, int alphaTest) {
  if (device == nullptr) return -1;
  if (mode < 0 || mode >= kDeviceBlendModeCount) return LogPrintf("不正なブレンドモードです %d", mode);
  RecordSetting(device, &device->blendMode, mode);
  RecordSetting(device, &device->alphaChannel, alphaChannel);
  return RecordSetting(device, &device->alphaTest, alphaTest);
}
