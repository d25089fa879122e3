// Stage scenery: pieces that scroll past and fade when the stage halts, drifting and
// falling flakes, the white-out's afterglow and the last boss's halo.
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

constexpr int kBossSlot = 10;

// Scenery that fades by the shop emblem's third value while the stage halts and
// goes once the halt reaches 3.
enum class SceneryLook { kPlain, kFadesIn, kStrobes };
enum class SceneryCull { kOffWorld, kBelowMinus500, kFarLeftOrLow };
struct HaltingScenery {
  int id;
  SceneryLook look;
  SceneryCull cull;
};
constexpr HaltingScenery kHaltingScenery[] = {
    {4086, SceneryLook::kFadesIn, SceneryCull::kOffWorld},
    {4087, SceneryLook::kPlain, SceneryCull::kBelowMinus500},
    {4091, SceneryLook::kStrobes, SceneryCull::kBelowMinus500},
    {4156, SceneryLook::kPlain, SceneryCull::kFarLeftOrLow},
};

bool CulledEarly(int slot, SceneryCull cull) {
  const GameObject& piece = ObjectPool[slot];
  switch (cull) {
    case SceneryCull::kOffWorld:
      FreeObjectIfOffWorld(slot);
      return false;
    case SceneryCull::kBelowMinus500:
      return piece.x < -500.0f || piece.y < -500.0f;
    case SceneryCull::kFarLeftOrLow:
      return piece.x < -1000.0f || piece.y > 2500.0f;
  }
  return false;
}

void HaltFading(int slot) {
  GameObject& piece = ObjectPool[slot];
  const HaltingScenery& row = RowFor(kHaltingScenery, piece.behaviour);
  MoveStraight(piece);
  if (row.look == SceneryLook::kFadesIn) piece.fade = static_cast<float>(piece.fade + 5.0);
  if (row.look == SceneryLook::kStrobes) piece.fade = ByFrameCycle(170.0f, 190.0f, 160.0f, 170.0f, piece.fade);
  if (TimelineHalt > 0.0f) piece.fade = static_cast<float>(piece.fade + ShopEmblem[2] * 450.0);
  if (TimelineHalt >= 3.0f) {
    ResetObject(slot);
    return;
  }
  if (CulledEarly(slot, row.cull)) ResetObject(slot);
}

void FallingFlake(int slot) {
  GameObject& flake = ObjectPool[slot];
  MoveStraight(flake);
  const int flicker = RandomInRange(6);
  flake.fade = static_cast<float>(flake.fade + (3 - flicker));
  const int pushX = RandomInRange(9);
  flake.vx = static_cast<float>(flake.vx + (4 - pushX));
  const int pushY = RandomInRange(9);
  flake.vy = static_cast<float>(flake.vy + (5 - pushY));
  if (flake.x < 0.0f || flake.y > 1900.0f) ResetObject(slot);
}

void DriftingFlake(int slot) {
  GameObject& flake = ObjectPool[slot];
  MoveStraight(flake);
  const int push = RandomInRange(40);
  flake.vx = static_cast<float>(flake.vx + (push * 0.001 - 0.03));
  flake.phase = static_cast<float>(flake.phase + 1.0);
  if (flake.phase < 140.0f) {
    const int brighten = RandomInRange(3);
    flake.fade = static_cast<float>(static_cast<double>(flake.fade) - brighten);
  } else {
    const int dim = RandomInRange(3);
    flake.fade = static_cast<float>(static_cast<double>(flake.fade) + dim);
    flake.scaleDelta = static_cast<float>(flake.scaleDelta - 0.003);
  }
  if (flake.phase > 500.0f) ResetObject(slot);
  if (TimelineHalt == 9.0f) flake.fade = static_cast<float>(flake.fade + 10.0);
}

void RisingScenery(int slot) {
  GameObject& piece = ObjectPool[slot];
  MoveStraight(piece);
  if (piece.y < -500.0f) ResetObject(slot);
}

// Pulses on the player between fade 120 and 250 until something frees it.
void Afterglow(int slot) {
  GameObject& glow = ObjectPool[slot];
  glow.x = Player().x;
  glow.y = Player().y;
  if (glow.phase == 0.0f) {
    glow.fade = static_cast<float>(glow.fade - 1.0);
    if (glow.fade < 120.0f) glow.phase = 1.0f;
  }
  if (glow.phase == 1.0f) {
    glow.fade = static_cast<float>(glow.fade + 1.0);
    if (glow.fade > 250.0f) glow.phase = 0.0f;
  }
}

// The rings on the last boss: each spins and pulses between its bounds for good.
struct HaloRing {
  int id;
  double angleStep;
  double fadeStep;
  double upper;
  double lower;
};
constexpr HaloRing kHaloRings[] = {
    {4140, 0.0005, 1.0, 400.0, 0.0}, {4141, -0.0003, 0.8, 400.0, 0.0}, {4142, 0.0, 1.0, 300.0, -50.0},
    {4143, 0.0, 0.9, 300.0, -50.0},  {4144, 0.001, 1.0, 300.0, 50.0},  {4145, -0.003, 0.8, 300.0, 50.0},
};

void Halo(int slot) {
  GameObject& ring = ObjectPool[slot];
  const HaloRing& row = RowFor(kHaloRings, ring.behaviour);
  ring.x = ObjectPool[kBossSlot].x;
  ring.y = ObjectPool[kBossSlot].y;
  ring.angle = static_cast<float>(ring.angle + row.angleStep);
  if (ring.phase == 0.0f) {
    ring.fade = static_cast<float>(ring.fade + row.fadeStep);
    if (ring.fade > row.upper) ring.phase = 1.0f;
  }
  if (ring.phase == 1.0f) {
    ring.fade = static_cast<float>(ring.fade - row.fadeStep);
    if (ring.fade < row.lower) ring.phase = 0.0f;
  }
}

constexpr auto kEntries = JoinEntries(std::to_array<BehaviourEntry>({
                                          {4117, &FallingFlake},
                                          {4119, &DriftingFlake},
                                          {4120, &DriftingFlake},
                                          {4160, &RisingScenery},
                                          {4118, &Afterglow},
                                      }),
                                      EntriesFor(kHaltingScenery, &HaltFading), EntriesFor(kHaloRings, &Halo));

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
