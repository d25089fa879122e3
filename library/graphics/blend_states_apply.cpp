// Sending what a draw needs: the blend factors, alpha test and texture stages that the
// wanted settings of a device record call for, and the preparation of every hardware
// draw from the draw state.
#include "graphics/blend_stage_table.h"
#include "graphics/draw_state.h"
#include "graphics/render_states.h"
#include "graphics/surface_3d_data.h"
#include "graphics/surface_data.h"

namespace {

constexpr D3DTEXTURESTAGESTATETYPE kStageStates[kStageOperationCount] = {
    D3DTSS_COLOROP, D3DTSS_COLORARG1, D3DTSS_COLORARG2, D3DTSS_ALPHAOP, D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2};

// The render states one apply pass sends, in the order they are sent.
struct BlendRenderStates {
  DWORD alphaFunc;
  DWORD alphaRef;
  DWORD alphaTestEnable;
  DWORD alphaBlendEnable;
  DWORD textureFactor;
  DWORD srcBlend;
  DWORD destBlend;
};

// Sends a render state when force is set or it differs from the cache; kLeaveFactor
// re-sends the cached value under force and sends nothing otherwise.
void SendState(D3DDeviceRecord* device, D3DRENDERSTATETYPE state, DWORD* cached, DWORD value) {
  if (value == kLeaveFactor) {
    if (!device->force) return;
    value = *cached;
  }
  if (!device->force && *cached == value) return;
  DrawRecordVertexBatch(device);
  device->device->SetRenderState(state, value);
  *cached = value;
}

void SendStage(D3DDeviceRecord* device, int stage, IDirectDrawSurface7* texture, const StageOperations& operations) {
  StageCache& cache = device->stages[stage];
  if (device->force || cache.texture != texture) {
    DrawRecordVertexBatch(device);
    device->device->SetTexture(stage, texture);
    cache.texture = texture;
  }
  for (int i = 0; i < kStageOperationCount; ++i) {
    const std::int16_t value = operations.value[i];
    if (value == -1 || (!device->force && cache.operations.value[i] == value)) continue;
    DrawRecordVertexBatch(device);
    device->device->SetTextureStageState(stage, kStageStates[i], static_cast<DWORD>(value));
    cache.operations.value[i] = value;
  }
}

void SetVertexKind(D3DDeviceRecord* device, int kind) {
  if (device->vertexKind == kind) return;
  DrawRecordVertexBatch(device);
  device->vertexKind = kind;
  device->writePointer = device->bufferStarts[kind];
}

int AlphaKindOf(const D3DDeviceRecord* device) {
  if (device->alphaChannel) return kAlphaKindChannel;
  return device->alphaTest ? kAlphaKindTestOnly : kAlphaKindNone;
}

bool BlendingOff(int mode) { return GetDeviceBlendFactors(mode)->alphaBlendEnable == 0; }

// The wide-border fade of a blend graph: the texture factor's alpha and the two alpha
// operations that replace those of stages 1 and 0.
void ApplyBorderFade(const D3DDeviceRecord* device, StageSetup* setup, BlendRenderStates* states) {
  const int width = device->blendGraphBorderWidth;
  const int range = width <= 64 ? 1280 : width <= 128 ? 768 : 512;
  const int multiplier = width <= 64 ? 64 : width <= 128 ? 128 : 255;
  const int shift = width <= 64 ? 10 : width <= 128 ? 9 : 8;
  const DWORD scaling = width <= 64 ? D3DTOP_MODULATE4X : width <= 128 ? D3DTOP_MODULATE2X : D3DTOP_MODULATE;
  const int a = device->blendGraphBorderParam * range / 255;
  const int t = range - a;
  int factorAlpha;
  DWORD combining;
  if (t >= range - 256) {
    factorAlpha = (256 - a) * multiplier / 256;
    combining = D3DTOP_ADD;
  } else {
    factorAlpha = 255 - t * 255 / (1 << shift);
    combining = D3DTOP_SUBTRACT;
  }
  StageOperations& stage1 = setup->stages[1];
  stage1.value[3] = static_cast<std::int16_t>(scaling);
  if (stage1.value[5] == -1) stage1.value[5] = D3DTA_SPECULAR;
  setup->stages[0].value[3] = static_cast<std::int16_t>(combining);
  states->textureFactor = (static_cast<DWORD>(factorAlpha & 0xFF) << 24) | 0xFFFFFFu;
}

void SendBlendRenderStates(D3DDeviceRecord* device, const BlendRenderStates& s) {
  SendState(device, D3DRENDERSTATE_ALPHAFUNC, &device->alphaFunc, s.alphaFunc);
  SendState(device, D3DRENDERSTATE_ALPHAREF, &device->alphaRef, s.alphaRef);
  SendState(device, D3DRENDERSTATE_ALPHATESTENABLE, &device->alphaTestEnable, s.alphaTestEnable);
  SendState(device, D3DRENDERSTATE_ALPHABLENDENABLE, &device->alphaBlendEnable, s.alphaBlendEnable);
  SendState(device, D3DRENDERSTATE_TEXTUREFACTOR, &device->textureFactor, s.textureFactor);
  SendState(device, D3DRENDERSTATE_SRCBLEND, &device->srcBlend, s.srcBlend);
  SendState(device, D3DRENDERSTATE_DESTBLEND, &device->destBlend, s.destBlend);
}

}  // namespace

int ApplyBlendStatesD3D(D3DDeviceRecord* device) {
  if (device == nullptr || device->device == nullptr) return -1;
  if (!device->blendSettingsChanged && !device->textureChanged && !device->force) return -1;
  const DeviceBlendFactors* factors = GetDeviceBlendFactors(device->blendMode);
  if (factors == nullptr) return -1;

  const int graphStage = device->alphaTexture == nullptr ? 0 : device->alphaChannel ? 2 : 1;
  if (!device->blendSettingsChanged && !device->force) {
    SendStage(device, graphStage, device->texture, {{-1, -1, -1, -1, -1, -1}});
    device->textureChanged = 0;
    return 0;
  }

  BlendRenderStates states{device->alphaFunc,        device->alphaRef, 0, factors->alphaBlendEnable,
                           device->textureFactor,    factors->srcBlend, factors->destBlend};
  StageSetup setup{};
  IDirectDrawSurface7* textures[kD3DStageCount] = {};
  bool sendStages = true;
  if (device->texture == nullptr) {
    SetVertexKind(device, kVertexKindColour);
    device->skipDrawing = 0;
    if (device->blendMode == 3) {
      setup = GetUntexturedSubtractSetup();
    } else {
      // The stages stay as the last textured draw left them; only the texture goes.
      setup.stageCount = device->stagesInUse;
      sendStages = false;
    }
  } else if (device->alphaTexture == nullptr) {
    SetVertexKind(device, kVertexKindTexture);
    device->skipDrawing = 0;
    setup = GetStageSetup(0, device->tintUsed, device->blendUsed, AlphaKindOf(device));
    if (device->alphaTest) {
      states.alphaTestEnable = 1;
      states.alphaRef = 128;
      states.alphaFunc = D3DCMP_GREATER;
    } else if (device->alphaChannel && BlendingOff(device->blendMode)) {
      states.destBlend = D3DBLEND_INVSRCALPHA;
      states.srcBlend = D3DBLEND_SRCALPHA;
    }
    states.alphaBlendEnable = (device->alphaChannel || factors->alphaBlendEnable) ? 1 : 0;
    textures[0] = device->texture;
  } else {
    SetVertexKind(device, kVertexKindBlendTexture);
    setup = GetStageSetup(1, device->tintUsed, device->blendUsed, AlphaKindOf(device));
    if (BlendingOff(device->blendMode)) {
      states.destBlend = D3DBLEND_INVSRCALPHA;
      states.srcBlend = D3DBLEND_SRCALPHA;
    }
    const int p = device->blendGraphBorderParam;
    device->skipDrawing = p == 255 ? 1 : 0;
    textures[0] = device->alphaTexture;
    textures[graphStage] = device->texture;
    if (device->blendGraphBorderWidth < 2) {
      states.alphaTestEnable = 1;
      states.alphaRef = (p == 0 && (device->alphaChannel || device->alphaTest)) ? 1 : static_cast<DWORD>(p);
      states.alphaFunc = D3DCMP_GREATEREQUAL;
      states.alphaBlendEnable = 0;
      states.textureFactor = 0xFFFFFFu;
    } else {
      states.alphaTestEnable = 0;
      states.alphaBlendEnable = 1;
      ApplyBorderFade(device, &setup, &states);
    }
  }

  if (setup.stageCount != device->stagesInUse) {
    device->stagesInUse = setup.stageCount;
    const int kept = device->force;
    device->force = 1;
    SetD3DTextureFilter(device, device->filterMode);
    device->force = kept;
  }
  SendBlendRenderStates(device, states);
  if (sendStages) {
    for (int stage = 0; stage < setup.stageCount; ++stage) SendStage(device, stage, textures[stage], setup.stages[stage]);
    if (setup.stageCount < kD3DStageCount) SendStage(device, setup.stageCount, nullptr, GetDisabledStage());
  } else {
    SendStage(device, 0, nullptr, {{-1, -1, -1, -1, -1, -1}});
  }
  device->blendSettingsChanged = 0;
  device->textureChanged = 0;
  return 0;
}

int PrepareDrawD3D(const Surface3DData* texture, int flags) {
  D3DDeviceRecord* device = GetCurrentD3DDeviceRecord();
  if (device == nullptr || device->device == nullptr) return -1;
  IDirectDrawSurface7* surface = nullptr;
  int alphaChannel = 0;
  int alphaTest = 0;
  if (texture != nullptr) {
    const SurfaceData* data = GetSurfaceDataRecord(texture->surfaceData);
    if (data == nullptr) return -1;
    surface = data->surface;
    if ((flags & kPrepareTransparent) && (data->flags.alphaChannel || data->flags.alphaTest)) {
      const int mode = DrawState.blendMode;
      if ((mode == 0 || mode == 8) && ((flags & kPrepareKeepGraphAlpha) || device->filterMode != 1)) {
        alphaChannel = data->flags.alphaChannel;
        alphaTest = data->flags.alphaTest;
      } else {
        alphaChannel = 1;
      }
    }
  }
  const int tintUsed = (flags & kPrepareForceTint) || DrawState.tint != 0xFFFFFFu ? 1 : 0;
  const int blendUsed = (flags & kPrepareForceBlend) || DrawState.blendMode != 0 ? 1 : 0;

  SetTexturePerspectiveD3D(device, (flags & kPreparePerspective) ? 1 : 0);
  SetDeviceTintUse(device, tintUsed);
  SetDeviceBlendUse(device, blendUsed);
  SetDeviceTexture(device, surface);
  SetShadeModeD3D(device, (flags & kPrepareGouraud) ? D3DSHADE_GOURAUD : D3DSHADE_FLAT);
  if (SetDeviceBlendMode(device, DrawState.blendMode, alphaChannel, alphaTest) != 0) return -1;
  if (device->blendSettingsChanged || device->textureChanged) ApplyBlendStatesD3D(device);
  const bool keyed = (flags & kPrepareTransparent) && surface != nullptr && !alphaChannel && !alphaTest;
  SetColorKeyEnableD3D(device, keyed ? 1 : 0);

  if (!(flags & kPrepareUseZ)) {
    if (device->zEnable) SetZEnableD3D(device, 0);
  } else {
    SetZEnableD3D(device, static_cast<DWORD>(DrawState.depthTest));
    SetZWriteEnableD3D(device, static_cast<DWORD>(DrawState.depthWrite));
    SetZFuncD3D(device, static_cast<DWORD>(DrawState.depthFunction));
  }
  return 0;
}

int ApplyDeviceDefaults(D3DDeviceRecord* device) {
  if (device == nullptr || device->device == nullptr) return -1;
  IDirect3DDevice7* d = device->device;
  constexpr DWORD kCoordinateSets[kD3DStageCount] = {0, 1, 1, 0};
  for (int stage = 0; stage < kD3DStageCount; ++stage) {
    d->SetTextureStageState(stage, D3DTSS_ADDRESS, device->textureAddress);
    d->SetTextureStageState(stage, D3DTSS_TEXCOORDINDEX, kCoordinateSets[stage]);
  }
  d->SetRenderState(D3DRENDERSTATE_TEXTUREPERSPECTIVE, device->texturePerspective);
  d->SetRenderState(D3DRENDERSTATE_SHADEMODE, device->shadeMode);
  d->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, device->colorKeyEnable);
  d->SetRenderState(D3DRENDERSTATE_LIGHTING, device->lighting);
  d->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  d->SetRenderState(D3DRENDERSTATE_DITHERENABLE, 0);
  return 0;
}

int ReapplyAllDeviceStates(int deviceId) {
  D3DDeviceRecord* device = GetD3DDeviceRecord(deviceId);
  if (device == nullptr || device->device == nullptr) return -1;
  device->force = 1;
  SetDeviceViewport(deviceId, device->viewport);
  SetColorKeyEnableD3D(device, device->colorKeyEnable);
  ApplyDeviceDefaults(device);
  SetD3DTextureFilter(device, device->filterMode);
  ApplyBlendStatesD3D(device);
  SetZEnableD3D(device, device->zEnable);
  SetZWriteEnableD3D(device, device->zWriteEnable);
  SetZFuncD3D(device, device->zFunc);
  SetTexturePerspectiveD3D(device, device->texturePerspective);
  SetShadeModeD3D(device, device->shadeMode);
  device->force = 0;
  return 0;
}

int CopyDeviceStates(int deviceId, int otherDeviceId) {
  const D3DDeviceRecord* device = GetD3DDeviceRecord(deviceId);
  D3DDeviceRecord* other = GetD3DDeviceRecord(otherDeviceId);
  if (device == nullptr || other == nullptr || other->device == nullptr) return -1;
  other->blendMode = device->blendMode;
  other->alphaChannel = device->alphaChannel;
  other->alphaTest = device->alphaTest;
  other->tintUsed = device->tintUsed;
  other->blendUsed = device->blendUsed;
  other->texture = device->texture;
  other->alphaTexture = device->alphaTexture;
  other->blendGraphBorderParam = device->blendGraphBorderParam;
  other->blendGraphBorderWidth = device->blendGraphBorderWidth;
  other->force = 1;
  SetD3DTextureFilter(other, device->filterMode);
  ApplyBlendStatesD3D(other);
  other->force = 0;
  return 0;
}

int SetD3DFilterMode(int mode) {
  D3DDeviceRecord* device = GetCurrentD3DDeviceRecord();
  if (device == nullptr) return -1;
  SetD3DTextureFilter(device, mode);
  return 0;
}
