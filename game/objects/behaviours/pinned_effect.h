// Effects that sit on the player (or on another record), step their phase, fade,
// scale and spin, and end by one test: a table row per behaviour, one conduct.
#pragma once

#include "core/game_object.h"

enum class EffectPlace {
  kStays,         // x and y unchanged
  kOnPlayer,      // x, y of the player
  kPlayerPlusVx,  // x = player x + vx, y = player y
  kPlayerHeight,  // x unchanged, y = player y + phase2
  kBesidePlayer,  // x = player x + 80 + phase2, y = player y + 30 + phase
  kPlayerY,       // y = player y only
  kOnTargetSlot,  // x, y of the record whose slot work[0] holds; stays when out of the pool
};

enum class EffectEnd { kNone, kFadeEquals, kFadeAbove, kPhaseAbove, kScaleBelow };

enum class FadeShape {
  kSteady,          // fade += step
  kDownThenUp,      // -= step while phase < turn, then += step
  kUpAfterTurn,     // += step once phase > turn
  kDownThenUpOpen,  // -= step while 0 < phase < turn, += step while turn < phase < until
};

struct PinnedEffect {
  int id;
  EffectPlace place = EffectPlace::kOnPlayer;
  double phaseStep = 0.0;
  FadeShape fadeShape = FadeShape::kSteady;
  double fadeStep = 0.0;
  double fadeTurn = 0.0;
  double fadeUntil = 0.0;
  double scaleStep = 0.0;      // added to scaleDelta
  bool scaleByPhase2 = false;  // scaleDelta -= phase2 instead
  double angleStep = 0.0;
  EffectEnd end = EffectEnd::kNone;
  double endBound = 0.0;
  bool cullFarOutside = false;  // FreeObjectIfFarOutside after the end test
};

// One frame of the record in `slot` by `row`.
void RunPinnedEffect(int slot, const PinnedEffect& row);
