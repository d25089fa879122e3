// Auras, flashes and rings on the player: pinned effects by table, the two-stage
// rings and the turbo-ready ring of slot 5.
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"
#include "objects/behaviours/pinned_effect.h"

namespace {

using enum EffectPlace;
using enum EffectEnd;
using enum FadeShape;

constexpr PinnedEffect kPlayerEffects[] = {
    {.id = 4008,
     .phaseStep = 1.0,
     .fadeShape = kUpAfterTurn,
     .fadeStep = 1.0,
     .fadeTurn = 90.0,
     .scaleStep = -0.001,
     .end = kFadeEquals,
     .endBound = 250.0},
    {.id = 4011,
     .phaseStep = 1.0,
     .fadeShape = kDownThenUpOpen,
     .fadeStep = 2.0,
     .fadeTurn = 130.0,
     .fadeUntil = 260.0,
     .end = kPhaseAbove,
     .endBound = 260.0},
    {.id = 4012, .phaseStep = 1.0},
    {.id = 4066},
    {.id = 4015, .place = kPlayerPlusVx, .fadeStep = 10.0, .end = kFadeAbove, .endBound = 240.0},
    {.id = 4020, .place = kPlayerHeight, .fadeStep = 10.0, .end = kFadeAbove, .endBound = 240.0},
    {.id = 4027, .place = kPlayerHeight, .fadeStep = 10.0, .end = kFadeAbove, .endBound = 240.0},
    {.id = 4053,
     .phaseStep = 1.0,
     .fadeShape = kDownThenUp,
     .fadeStep = 6.0,
     .fadeTurn = 30.0,
     .scaleByPhase2 = true,
     .end = kScaleBelow,
     .endBound = -1.0},
    {.id = 4056, .fadeStep = -4.0, .scaleStep = -0.2, .end = kScaleBelow, .endBound = -1.0},
    {.id = 4057,
     .phaseStep = 1.0,
     .fadeShape = kDownThenUp,
     .fadeStep = 3.0,
     .fadeTurn = 100.0,
     .scaleStep = -0.002,
     .angleStep = 0.02,
     .end = kPhaseAbove,
     .endBound = 400.0},
    {.id = 4062, .place = kBesidePlayer, .fadeStep = 0.5, .end = kFadeAbove, .endBound = 255.0},
    {.id = 4074, .fadeStep = 5.0, .scaleStep = -0.05, .end = kFadeAbove, .endBound = 260.0},
    {.id = 4077, .fadeStep = -8.0, .scaleStep = -0.2, .end = kScaleBelow, .endBound = -1.0},
};

void PlayerEffect(int slot) { RunPinnedEffect(slot, RowFor(kPlayerEffects, ObjectPool[slot].behaviour)); }

// Rings that brighten to `brightest`, then fade out past `faintest`; phase 0 is the
// first stage, 1 the second.
struct TwoStageRing {
  int id;
  double scaleStep;
  double angleStep;
  double fadeStep;
  double brightest;
  double faintest;
};
constexpr TwoStageRing kTwoStageRings[] = {
    {4075, 0.004, 0.003, 25.0, -430.0, 270.0},
    {4076, -0.01, 0.0, 13.0, -100.0, 200.0},
};

void TwoStage(int slot) {
  GameObject& ring = ObjectPool[slot];
  const TwoStageRing& row = RowFor(kTwoStageRings, ring.behaviour);
  ring.scaleDelta = static_cast<float>(ring.scaleDelta + row.scaleStep);
  ring.angle = static_cast<float>(ring.angle + row.angleStep);
  ring.x = Player().x;
  ring.y = Player().y;
  if (ring.phase == 0.0f) {
    ring.fade = static_cast<float>(ring.fade - row.fadeStep);
    if (ring.fade < row.brightest) ring.phase = 1.0f;
  }
  if (ring.phase == 1.0f) {
    ring.fade = static_cast<float>(ring.fade + row.fadeStep);
    if (ring.fade > row.faintest) ResetObject(slot);
  }
}

// Always slot 5, whichever record runs it.
void TurboReadyRing(int) {
  GameObject& ring = ObjectPool[kTurboReadySlot];
  ring.angle = static_cast<float>(ring.angle + 0.02);
  ring.fade = static_cast<float>(ring.fade - 15.0);
  ring.x = Player().x;
  ring.y = Player().y;
  if (TurboCharge < TurboChargeNeeded) ResetObject(kTurboReadySlot);
}

constexpr auto kEntries = JoinEntries(std::to_array<BehaviourEntry>({{4073, &TurboReadyRing}}),
                                      EntriesFor(kPlayerEffects, &PlayerEffect), EntriesFor(kTwoStageRings, &TwoStage));

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
