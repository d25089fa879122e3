// Render states of the hardware path: the wanted settings of a draw, the setters that
// send a state only when it differs from the cache (or while force is set), the blend
// and stage tables, and the draw diffuse colour every hardware vertex takes.
#pragma once

#include <cstdint>

#include "graphics/d3d_device.h"

struct GraphRecord;
struct Surface3DData;

// PrepareDrawD3D flags.
constexpr int kPrepareTransparent = 1;     // use the graph's transparency
constexpr int kPrepareKeepGraphAlpha = 2;  // keep the graph's own alpha even with linear filtering
constexpr int kPrepareUseZ = 4;            // the draw state's Z states
constexpr int kPrepareGouraud = 8;         // else flat shading
constexpr int kPreparePerspective = 16;
constexpr int kPrepareForceTint = 32;
constexpr int kPrepareForceBlend = 64;

// Device blend modes: the draw state's 0..4 and the device-only settings 5..8.
constexpr int kDeviceBlendModeCount = 9;

// ---- State setters (cache compared unless force is set) ----
int SetTexturePerspectiveD3D(D3DDeviceRecord* device, DWORD value);
int SetColorKeyEnableD3D(D3DDeviceRecord* device, DWORD value);
int SetZEnableD3D(D3DDeviceRecord* device, DWORD value);
int SetZWriteEnableD3D(D3DDeviceRecord* device, DWORD value);
int SetZFuncD3D(D3DDeviceRecord* device, DWORD value);
int SetShadeModeD3D(D3DDeviceRecord* device, DWORD value);
int SetD3DTextureFilter(D3DDeviceRecord* device, int mode);
int SetD3DRenderTarget(D3DDeviceRecord* device, IDirectDrawSurface7* surface);
int SetDeviceViewport(int deviceId, const D3DVIEWPORT7& viewport);
int SetDeviceTexture(D3DDeviceRecord* device, IDirectDrawSurface7* texture);
int SetDeviceAlphaTexture(D3DDeviceRecord* device, IDirectDrawSurface7* texture, int borderParam, int borderWidth);
int SetDeviceTintUse(D3DDeviceRecord* device, int used);
int SetDeviceBlendUse(D3DDeviceRecord* device, int used);
int SetDeviceBlendMode(D3DDeviceRecord* device, int mode, int alphaChannel, int alphaTest);

int ApplyBlendStatesD3D(D3DDeviceRecord* device);
int ApplyDeviceDefaults(D3DDeviceRecord* device);
int ReapplyAllDeviceStates(int deviceId);
int CopyDeviceStates(int deviceId, int otherDeviceId);

// Brings the current device into the state a draw of `texture` (NULL: untextured)
// needs. -1 without a device.
int PrepareDrawD3D(const Surface3DData* texture, int flags);

int SetD3DFilterMode(int mode);

// ---- Blend graph ----
int SetBlendGraphD3D(const GraphRecord* graph, int borderParameter, int borderWidth);
struct BlendGraphTextureSize {
  float width;
  float height;
  float inverseWidth;
  float inverseHeight;
};
const BlendGraphTextureSize* GetBlendGraphTextureSize();

// ---- Draw diffuse ----
int RefreshDrawDiffuse();
std::uint32_t GetDrawDiffuse();
