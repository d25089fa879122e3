// The ordinary movers of stages 7 and 8 (dragons, homing fliers, drifters) and the
// small wave fliers and faller of other stages.
#include <cmath>

#include "core/object_pool.h"
#include "core/sound_control.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

constexpr int kBossSlot = 10;

double Plus(float value, double step) { return static_cast<double>(value) + step; }

// The dragon's calls: a cry now and then, with a roar after half of them.
void CallNowAndThen() {
  const int call = RandomInRange(260);
  if (call != 0) return;
  const int cry = RandomInRange(2);
  PlaySe(108 + cry, 80);
  const int roars = RandomInRange(1);
  if (roars != 0) return;
  const int roar = RandomInRange(4);
  PlaySe(4 + roar, 255);
}

// Roams toward a new random point every frame while slot 10 is empty; otherwise
// swarms about the boss there and fires its burst cycle.
void RoamOrSwarm(int slot) {
  GameObject& dragon = ObjectPool[slot];
  CallNowAndThen();
  const bool swarming = ObjectPool[kBossSlot].state != kStateFree;
  float targetX, targetY;
  double speed, degrees;
  if (!swarming) {
    speed = DoubleToInt(Plus(dragon.work[1], 2.0));
    const int pointX = RandomInRange(6000);
    const int pointY = RandomInRange(2000);
    targetX = static_cast<float>(1 + pointX);
    targetY = static_cast<float>(1 + pointY);
    degrees = dragon.work[1] * 0.1 + 0.8;
  } else {
    speed = DoubleToInt(Plus(dragon.work[1], 5.0));
    targetX = ObjectPool[kBossSlot].x;
    targetY = ObjectPool[kBossSlot].y;
    degrees = dragon.work[1] * 0.1 + 0.9;
  }
  TurnToward(dragon, targetX, targetY, targetX, targetY, speed, degrees, dragon.phase);
  SwayAndMove(dragon, Plus(dragon.work[1], 4.5));
  FreeObjectIfOffWorld(slot);
  if (!swarming) return;
  dragon.timer += 1;
  if (dragon.timer < 70 && dragon.timer % 3 == 0) Fire(5014, dragon, 0.0, 0.0, 0, 30);
  if (dragon.timer == 130) dragon.timer = 0;
}

struct HomingFlier {
  int id;
  double speed;
  double degrees;
  bool spread;  // a -8..+8 spread on each axis after the first aim
};
constexpr HomingFlier kHomingFliers[] = {{3079, 8.0, 0.1, false}, {3104, 12.0, 0.01, true}};
constexpr int kHomingStarts = 100;

void LeaveTrail(int slot) {
  const GameObject& flier = ObjectPool[slot];
  Fire(2210, flier, 0.0, 0.0, flier.facing, slot);
}

// Keeps its starting course for 100 frames, aims at 10, then turns after the player.
void HomeWithTrail(int slot) {
  GameObject& flier = ObjectPool[slot];
  const HomingFlier& row = RowFor(kHomingFliers, flier.behaviour);
  flier.fade = ByFrameCycle(0.0f, 50.0f, 100.0f, 0.0f, flier.fade);
  flier.timer += 1;
  if (flier.timer == kHomingStarts) {
    SetVelocityTowardPlayer(flier, 10.0, flier.phase);
    if (row.spread) {
      const int spreadX = RandomInRange(16);
      flier.vx = static_cast<float>(Plus(flier.vx, 8 - spreadX));
      const int spreadY = RandomInRange(16);
      flier.vy = static_cast<float>(Plus(flier.vy, 8 - spreadY));
    }
  }
  if (flier.timer > kHomingStarts) {
    flier.facing = flier.vx <= 0.0f ? 1 : 0;
    TurnTowardPlayer(flier, row.speed, row.degrees, flier.phase);
  }
  MoveStraight(flier);
  FreeObjectIfOffWorld(slot);
  flier.phase2 = static_cast<float>(Plus(flier.phase2, 0.06));
  flier.y = static_cast<float>(flier.y + std::sin(flier.phase2) * 1.2);
  LeaveTrail(slot);
}

struct Drifter {
  int id;
  bool vertical;
};
constexpr Drifter kDrifters[] = {{3080, false}, {3081, true}};
constexpr float kDriftTopSpeed = 8.0f;

// Drifts and speeds up along its own axis, the way it faces, to about 8 a frame.
void DriftFaster(int slot) {
  GameObject& drifter = ObjectPool[slot];
  drifter.fade = ByFrameCycle(0.0f, 30.0f, 60.0f, 0.0f, drifter.fade);
  MoveStraight(drifter);
  FreeObjectIfOffWorld(slot);
  LeaveTrail(slot);
  float& speed = RowFor(kDrifters, drifter.behaviour).vertical ? drifter.vy : drifter.vx;
  if (drifter.facing == 0 && speed < kDriftTopSpeed) speed = static_cast<float>(Plus(speed, 0.02));
  if (drifter.facing == 1 && speed > -kDriftTopSpeed) speed = static_cast<float>(Plus(speed, -0.02));
}

void WaveAcross(int slot) {
  GameObject& flier = ObjectPool[slot];
  flier.phase = static_cast<float>(Plus(flier.phase, 0.03));
  flier.x = static_cast<float>(Plus(flier.x, flier.vx));
  FreeObjectIfOffWorld(slot);
  flier.y = static_cast<float>(flier.y + std::sin(flier.phase) * 0.5);
}

void FallFromAbove(int slot) {
  GameObject& faller = ObjectPool[slot];
  faller.y = static_cast<float>(Plus(faller.y, faller.vy));
  if (faller.vy < 5.0f) faller.vy = static_cast<float>(Plus(faller.vy, 0.1));
  FreeObjectIfOffWorld(slot);
}

void WaveOnCosine(int slot) {
  GameObject& flier = ObjectPool[slot];
  flier.x = static_cast<float>(Plus(flier.x, flier.vx));
  flier.phase = static_cast<float>(Plus(flier.phase, 0.03));
  flier.vy = static_cast<float>(std::cos(flier.phase) * 2.5);
  flier.y = static_cast<float>(Plus(flier.y, flier.vy));
  FreeObjectIfOffWorld(slot);
}

constexpr auto kEntries =
    JoinEntries(EntriesFor(kHomingFliers, &HomeWithTrail), EntriesFor(kDrifters, &DriftFaster),
                std::array<BehaviourEntry, 4>{{{3075, &RoamOrSwarm},
                                               {3077, &WaveAcross},
                                               {3105, &FallFromAbove},
                                               {3107, &WaveOnCosine}}});

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
