// The ordinary enemies of stages 4 to 7: bobbing turrets, blinking hunters,
// straight-line shooters, the turn-limited homer and the sine drifter. Shots bound to
// a game mode happen only in modes 0 and 1, and only those modes restart their cycles.
#include <cmath>

#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

constexpr int kAnyMode = -1;

// A mode's stream of 5019: every fifth frame below `window`, restarting at `cycle`.
struct ModeStream {
  int window;
  int parameter;
  int cycle;
};
struct StreamRow {
  int id;
  ModeStream modes[2];  // game modes 0 and 1
};
constexpr StreamRow kStreams[] = {{3053, {{60, 5, 160}, {90, 6, 150}}}, {3062, {{70, 5, 160}, {90, 6, 150}}}};

void FireModeStream(int slot) {
  GameObject& enemy = ObjectPool[slot];
  if (GameMode != 0 && GameMode != 1) return;
  const ModeStream& stream = RowFor(kStreams, enemy.behaviour).modes[GameMode];
  if (enemy.timer < stream.window && enemy.timer % 5 == 0) Fire(5019, enemy, 0.0, 0.0, 0, stream.parameter);
  if (enemy.timer == stream.cycle) enemy.timer = 0;
}

void Bob(GameObject& turret) {
  AddTo(turret.phase, 0.03);
  turret.vy = static_cast<float>(std::cos(turret.phase) * 1.0);
  AddTo(turret.y, turret.vy);
}

void LeadTurret(int slot) {  // 3052
  GameObject& turret = ObjectPool[slot];
  Bob(turret);
  FreeObjectIfOffWorld(slot);
  turret.timer += 1;
  if (turret.timer == 170 || turret.timer == 175 || turret.timer == 180) {
    Fire(2032, turret, 0.0, 0.0, 0, (turret.timer - 160) / 5);
  }
  if (turret.timer == 180) turret.timer = 0;
  AgeAndCancelAfter(slot, 2400);
}

void FollowerTurret(int slot) {  // 3053: never culled by position
  GameObject& turret = ObjectPool[slot];
  Bob(turret);
  turret.timer += 1;
  FireModeStream(slot);
  AgeAndCancelAfter(slot, 2400);
}

// Blinking hunters: shots early on, one aim at frame 80, gone at 400.
struct HunterShot {
  int mode;  // kAnyMode, or the game mode it belongs to
  int first, last, every;
  int templateId;
  bool ownFacing;
  int parameter;
  int randomExtra;  // + R(this) when not 0
};
struct HunterRow {
  int id;
  double aimSpeed;
  HunterShot shots[2];
};
constexpr HunterRow kHunters[] = {
    {3054, 4.0, {{0, 30, 32, 1, 5014, false, 40, 0}, {1, 30, 34, 2, 5014, false, 40, 0}}},
    {3055, -1.0, {{kAnyMode, 30, 45, 1, 5010, true, 3, 3}, {}}},
    {3056, 1.0, {{0, 30, 30, 1, 5038, true, 10, 0}, {1, 30, 30, 1, 5027, true, 10, 0}}},
};

void Hunt(int slot) {
  GameObject& hunter = ObjectPool[slot];
  const HunterRow& row = RowFor(kHunters, hunter.behaviour);
  hunter.timer += 1;
  MoveStraight(hunter);
  FreeObjectIfOffWorld(slot);
  hunter.fade = ByFrameCycle(0.0f, 100.0f, 50.0f, 0.0f, hunter.fade);
  const int clock = hunter.timer;
  for (const HunterShot& shot : row.shots) {
    if (shot.templateId == 0 || (shot.mode != kAnyMode && shot.mode != GameMode)) continue;
    if (clock < shot.first || clock > shot.last || (clock - shot.first) % shot.every != 0) continue;
    int parameter = shot.parameter;
    if (shot.randomExtra != 0) {
      const int extra = RandomInRange(shot.randomExtra);
      parameter += extra;
    }
    Fire(shot.templateId, hunter, 0.0, 0.0, shot.ownFacing ? hunter.facing : 0, parameter);
  }
  if (clock == 80) {
    SetVelocityTowardPlayer(hunter, row.aimSpeed, hunter.phase);
    hunter.facing = hunter.vx > 0.0f ? 0 : 1;
  }
  if (clock == 400) {
    hunter.fade = 0.0f;
    CancelBullet(slot);
  }
}

// Straight-line shooters: they only ever move across.
void Cross(int slot) {
  AddTo(ObjectPool[slot].x, ObjectPool[slot].vx);
  FreeObjectIfOffWorld(slot);
}

void AimedCrosser(int slot) {  // 3060
  Cross(slot);
  GameObject& enemy = ObjectPool[slot];
  enemy.angle = AimAngle(enemy, Player().x, Player().y);
  enemy.facing = 0;
  enemy.timer += 1;
  const int fireAt = GameMode == 0 ? 250 : GameMode == 1 ? 150 : 0;
  if (fireAt != 0 && enemy.timer == fireAt) {
    Fire(5014, enemy, 0.0, 0.0, 0, 60);
    enemy.timer = 0;
  }
}

void FanCrosser(int slot) {  // 3061
  Cross(slot);
  GameObject& enemy = ObjectPool[slot];
  enemy.timer += 1;
  if (GameMode == 1 && enemy.timer == 100) Fire(5016, enemy, 0.0, 0.0, enemy.facing, 50);
  if (enemy.timer == 120) {
    Fire(5016, enemy, 0.0, 0.0, enemy.facing, 50);
    enemy.timer = 0;
  }
}

void StreamCrosser(int slot) {  // 3062
  Cross(slot);
  ObjectPool[slot].timer += 1;
  FireModeStream(slot);
  AgeAndCancelAfter(slot, 2000);
}

void SteadyCrosser(int slot) {  // 3063
  Cross(slot);
  GameObject& enemy = ObjectPool[slot];
  enemy.timer += 1;
  if (enemy.timer == 60) {
    Fire(5010, enemy, 0.0, 0.0, enemy.facing, 5);
    enemy.timer = 0;
  }
}

void Home(int slot) {  // 3058
  GameObject& homer = ObjectPool[slot];
  homer.timer += 1;
  if (homer.timer < 600) {
    homer.facing = homer.vx > 0.0f ? 0 : 1;
    TurnTowardPlayer(homer, 14.0, 0.5, homer.phase);
  }
  MoveStraight(homer);
  FreeObjectIfOffWorld(slot);
}

void DriftAndFire(int slot) {  // 3071
  GameObject& drifter = ObjectPool[slot];
  drifter.fade = ByFrameCycle(0.0f, 30.0f, 60.0f, 0.0f, drifter.fade);
  drifter.timer += 1;
  AddTo(drifter.x, drifter.vx);
  AddTo(drifter.phase, 0.01);
  drifter.vy = static_cast<float>(std::cos(drifter.phase) * 1.5);
  AddTo(drifter.y, drifter.vy);
  FreeObjectIfOffWorld(slot);
  drifter.angle = AimAngle(drifter, Player().x, Player().y);
  if (drifter.timer > 30 && drifter.timer < 70 && drifter.timer % 2 == 0) {
    const int extra = RandomInRange(3);
    Fire(5010, drifter, 0.0, 0.0, drifter.facing, 3 + extra);
  }
  if (drifter.timer > 70) {
    if (drifter.facing == 0 && drifter.vx < 8.0f) AddTo(drifter.vx, 0.03);
    if (drifter.facing == 1 && drifter.vx > -8.0f) AddTo(drifter.vx, -0.03);
  }
}

constexpr auto kEntries = JoinEntries(std::to_array<BehaviourEntry>({
                                          {3052, &LeadTurret},
                                          {3053, &FollowerTurret},
                                          {3060, &AimedCrosser},
                                          {3061, &FanCrosser},
                                          {3062, &StreamCrosser},
                                          {3063, &SteadyCrosser},
                                          {3058, &Home},
                                          {3071, &DriftAndFire},
                                      }),
                                      EntriesFor(kHunters, &Hunt));

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
