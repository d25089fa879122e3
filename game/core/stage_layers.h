// Each stage's background layers, in the order the stage flow draws them, with their
// placement against the camera: tile k of a layer is drawn at
//   x = offset k - CameraX / divisor - scroll word,  y = -CameraY / yDivisor
// (truncated; a divisor of 0 keeps that axis fixed to the screen). The first layer of
// a stage is its ground: opaque, at full strength, behind every view the camera reaches.
#pragma once

#include <span>

#include "core/game_state.h"

// A word of StageEventState; row -1 stands for none and reads 0.
struct StageWord {
  int row = -1;
  int word = 0;
  int Value() const { return row < 0 ? 0 : StageEventState[row][word]; }
};

// The near-layer scroll of stages 1 to 4.
constexpr StageWord kNearScroll{1, 0};

struct StageLayer {
  int stage;
  int picture;                   // StageImages entry
  std::span<const int> offsets;  // one tile per offset
  float divisor;                 // of the camera, across
  float yDivisor;                // of the camera, down
  StageWord scroll;              // subtracted from x
  int blend;
  int alphaBase;
  double alphaFactor;  // parameter = base + factor x alphaWord, in double
  StageWord alphaWord;
  bool mirrored = false;
};

// Every stage's layers, stage by stage.
std::span<const StageLayer> StageLayers();

// Stage 8 draws the picture of its backdrop phase (1 to 4: entries 0 to 3) with this
// placement; phase 4's fades in over phase 3's.
constexpr int kStage8BackdropPhases = 4;
const StageLayer& Stage8Backdrop();

// Whether StageImages entry `picture` is a ground of `stage` (stage 8 has one a phase).
bool IsStageGround(int stage, int picture);
