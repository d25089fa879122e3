// The device's blend table (blend mode to blend factors) and the texture-stage set-ups
// chosen by blend graph, tint, blending and the texture's alpha kind.
#pragma once

#include "graphics/d3d_device.h"

constexpr DWORD kLeaveFactor = 0xFFFFFFFFu;

struct DeviceBlendFactors {
  DWORD destBlend;  // kLeaveFactor: as it is
  DWORD srcBlend;
  DWORD alphaBlendEnable;
};

// The texture's alpha kind in the stage-table choice.
constexpr int kAlphaKindNone = 0;
constexpr int kAlphaKindChannel = 1;
constexpr int kAlphaKindTestOnly = 2;

struct StageSetup {
  int stageCount;
  StageOperations stages[kD3DStageCount];
};

// NULL for a mode outside 0..8.
const DeviceBlendFactors* GetDeviceBlendFactors(int mode);
const StageSetup& GetStageSetup(int alphaTexture, int tintUsed, int blendUsed, int alphaKind);
// The untextured set-up of the subtract inversion: the diffuse colour alone.
const StageSetup& GetUntexturedSubtractSetup();
// The stage after an entry's last: colour and alpha disabled, the rest left alone.
const StageOperations& GetDisabledStage();
