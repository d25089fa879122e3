// The render and texture-stage states a device keeps, their values on a new device, and
// the checks SetRenderState and SetTextureStageState apply: a value the rasteriser does
// not implement is refused with DDERR_UNSUPPORTED rather than stored and ignored.
#pragma once

#include "d3d/d3d_types.h"

constexpr int kStageCount = 4;

struct StageStates {
  DWORD colourOp;
  DWORD colourArg1;
  DWORD colourArg2;
  DWORD alphaOp;
  DWORD alphaArg1;
  DWORD alphaArg2;
  DWORD texCoordIndex;
  DWORD address;
  DWORD magFilter;
  DWORD minFilter;
};

struct DeviceStates {
  bool texturePerspective = true;
  bool zEnable = false;
  DWORD shadeMode = D3DSHADE_GOURAUD;
  bool zWriteEnable = true;
  bool alphaTestEnable = false;
  DWORD srcBlend = D3DBLEND_ONE;
  DWORD destBlend = D3DBLEND_ZERO;
  DWORD cullMode = D3DCULL_CCW;
  DWORD zFunc = D3DCMP_LESSEQUAL;
  DWORD alphaRef = 0;
  DWORD alphaFunc = D3DCMP_ALWAYS;
  bool alphaBlendEnable = false;
  bool colourKeyEnable = false;
  DWORD textureFactor = 0xFFFFFFFFu;
  bool lighting = true;
  StageStates stages[kStageCount];
};

// A new device's states: stage 0 modulates texture and diffuse colour and takes the
// texture's alpha, the other stages are off; Z is on when the render target has a Z
// buffer attached.
DeviceStates NewDeviceStates(bool targetHasZBuffer);

HRESULT SetDeviceRenderState(DeviceStates& states, D3DRENDERSTATETYPE state, DWORD value);
HRESULT SetDeviceStageState(DeviceStates& states, DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value);
