#include "objects/behaviours/pinned_effect.h"

#include "objects/behaviours/behaviour_steps.h"

namespace {

void Place(GameObject& effect, EffectPlace place) {
  const GameObject& player = Player();
  switch (place) {
    case EffectPlace::kStays:
      return;
    case EffectPlace::kOnPlayer:
      effect.x = player.x;
      effect.y = player.y;
      return;
    case EffectPlace::kPlayerPlusVx:
      effect.x = static_cast<float>(static_cast<double>(player.x) + effect.vx);
      effect.y = player.y;
      return;
    case EffectPlace::kPlayerHeight:
      effect.y = static_cast<float>(static_cast<double>(player.y) + effect.phase2);
      return;
    case EffectPlace::kBesidePlayer:
      effect.x = static_cast<float>(player.x + 80.0 + effect.phase2);
      effect.y = static_cast<float>(player.y + 30.0 + effect.phase);
      return;
    case EffectPlace::kPlayerY:
      effect.y = player.y;
      return;
    case EffectPlace::kOnTargetSlot: {
      const int target = FloatToInt(effect.work[0]);
      if (target < 0 || target >= kPoolSize) return;  // no target: stay put
      effect.x = ObjectPool[target].x;
      effect.y = ObjectPool[target].y;
      return;
    }
  }
}

double FadeStep(const PinnedEffect& row, double phase) {
  switch (row.fadeShape) {
    case FadeShape::kSteady:
      return row.fadeStep;
    case FadeShape::kDownThenUp:
      return phase < row.fadeTurn ? -row.fadeStep : row.fadeStep;
    case FadeShape::kUpAfterTurn:
      return phase > row.fadeTurn ? row.fadeStep : 0.0;
    case FadeShape::kDownThenUpOpen:
      if (phase > 0.0 && phase < row.fadeTurn) return -row.fadeStep;
      if (phase > row.fadeTurn && phase < row.fadeUntil) return row.fadeStep;
      return 0.0;
  }
  return 0.0;
}

bool Ended(const GameObject& effect, EffectEnd end, double bound) {
  switch (end) {
    case EffectEnd::kNone:
      return false;
    case EffectEnd::kFadeEquals:
      return effect.fade == bound;
    case EffectEnd::kFadeAbove:
      return effect.fade > bound;
    case EffectEnd::kPhaseAbove:
      return effect.phase > bound;
    case EffectEnd::kScaleBelow:
      return effect.scaleDelta < bound;
  }
  return false;
}

}  // namespace

void RunPinnedEffect(int slot, const PinnedEffect& row) {
  GameObject& effect = ObjectPool[slot];
  Place(effect, row.place);
  effect.phase = static_cast<float>(effect.phase + row.phaseStep);
  effect.fade = static_cast<float>(effect.fade + FadeStep(row, effect.phase));
  const double scaleStep = row.scaleByPhase2 ? -static_cast<double>(effect.phase2) : row.scaleStep;
  effect.scaleDelta = static_cast<float>(effect.scaleDelta + scaleStep);
  effect.angle = static_cast<float>(effect.angle + row.angleStep);
  if (Ended(effect, row.end, row.endBound)) {
    ResetObject(slot);
    return;
  }
  if (row.cullFarOutside) FreeObjectIfFarOutside(slot);
}
