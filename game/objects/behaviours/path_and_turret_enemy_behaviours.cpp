// The enemies of the first stages that fly a fixed path (straight, wavy or
// speeding up), hover and re-aim at the player, or cross while firing on a cycle.
#include <array>
#include <cmath>

#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

// Path movers: phase grows each update and its sine offsets y, or its cosine sets vy.
enum class Wave {
  kOffsetAfterCull,   // phase; x += vx; cull; y += sin x amplitude
  kOffsetBeforeMove,  // phase; y += sin x amplitude; x += vx; cull
  kVelocity,          // x += vx; phase; vy = cos x amplitude; y += vy; cull
};
struct PathRow {
  int id;
  double phaseStep;
  double amplitude;
  Wave wave;
  bool aims;  // ends with angle at the player and facing 0
};
constexpr PathRow kPaths[] = {
    {3001, 0.01, 1.0, Wave::kOffsetAfterCull, false}, {3005, 0.05, 5.0, Wave::kOffsetBeforeMove, false},
    {3010, 0.1, 0.5, Wave::kOffsetBeforeMove, true},  {3011, 0.03, 4.0, Wave::kVelocity, false},
    {3025, 0.03, 2.0, Wave::kVelocity, false},
};

void FlyPath(int slot) {
  GameObject& enemy = ObjectPool[slot];
  const PathRow& row = RowFor(kPaths, enemy.behaviour);
  switch (row.wave) {
    case Wave::kOffsetAfterCull:
      AddTo(enemy.phase, row.phaseStep);
      AddTo(enemy.x, enemy.vx);
      FreeObjectIfOffWorld(slot);
      AddTo(enemy.y, std::sin(enemy.phase) * row.amplitude);
      break;
    case Wave::kOffsetBeforeMove:
      AddTo(enemy.phase, row.phaseStep);
      AddTo(enemy.y, std::sin(enemy.phase) * row.amplitude);
      AddTo(enemy.x, enemy.vx);
      FreeObjectIfOffWorld(slot);
      break;
    case Wave::kVelocity:
      AddTo(enemy.x, enemy.vx);
      AddTo(enemy.phase, row.phaseStep);
      enemy.vy = static_cast<float>(std::cos(enemy.phase) * row.amplitude);
      AddTo(enemy.y, enemy.vy);
      FreeObjectIfOffWorld(slot);
      break;
  }
  if (row.aims) {
    enemy.angle = AimAngle(enemy, Player().x, Player().y);
    enemy.facing = 0;
  }
}

// Cycle shooters: a move, then shots on counter values; the cycle's last value
// restarts the counter.
enum class Movement {
  kForward,  // x += vx; cull
  kBob,      // phase += 0.03; vy = cos x amplitude; y += vy; never culled
  kStill,    // cull after the counter
};
enum class Parameter {
  kValue,        // passed as it is
  kSpeedInWork0, // set into work[0] and passed truncated
  kAtTarget,     // work[0] = value (the bullet's speed); own slot passed
  kAtNewTarget,  // the same after storing the player's position as the target
};
struct Shot {
  int at;
  int templateId;
  bool ownFacing;  // else facing 0
  int value;
  Parameter parameter;
  int onlyInMode;  // -1 every game mode
};
struct CycleRow {
  int id;
  Movement movement;
  double bobAmplitude;
  int ageLimit;         // 0 ageless; else CancelBullet once work[4] passes it
  bool agesAfterFiring;
  bool countsAfterFiring;  // the counter is tested first and stepped after
  std::array<Shot, 8> shots;
  int cycle;
};
constexpr int kAnyMode = -1;
constexpr Shot Plain(int at, int templateId, bool ownFacing, int value, int mode = kAnyMode) {
  return {at, templateId, ownFacing, value, Parameter::kValue, mode};
}
constexpr Shot Through(int at, int templateId, int value, Parameter parameter) {
  return {at, templateId, false, value, parameter, kAnyMode};
}
constexpr CycleRow kCycles[] = {
    {3024, Movement::kForward, 0.0, 0, false, false,
     {{Through(100, 2112, 3, Parameter::kAtNewTarget), Through(108, 2112, 3, Parameter::kAtTarget),
       Through(116, 2112, 3, Parameter::kAtTarget)}},
     116},
    {3036, Movement::kForward, 0.0, 0, false, false, {{Plain(120, 5010, true, 4)}}, 120},
    {3039, Movement::kForward, 0.0, 0, false, false, {{Plain(130, 5016, true, 60, 1), Plain(150, 5016, true, 60)}},
     150},
    {3017, Movement::kBob, 1.0, 4000, false, false,
     {{Through(300, 2032, 1, Parameter::kSpeedInWork0), Through(310, 2032, 2, Parameter::kSpeedInWork0),
       Through(320, 2032, 3, Parameter::kSpeedInWork0)}},
     320},
    {3021, Movement::kBob, 2.0, 3000, true, false,
     {{Through(30, 2109, 4, Parameter::kSpeedInWork0), Through(40, 2109, 6, Parameter::kSpeedInWork0),
       Through(50, 2109, 8, Parameter::kSpeedInWork0)}},
     50},
    {3004, Movement::kStill, 0.0, 0, false, true,
     {{Plain(300, 2032, false, 0), Plain(310, 2032, false, 0), Plain(320, 2032, false, 0), Plain(330, 2032, false, 0),
       Plain(340, 2007, false, 0), Plain(350, 2007, false, 0), Plain(360, 2008, false, 0),
       Plain(370, 2008, false, 0)}},
     370},
};

void FireShot(const Shot& shot, int slot) {
  GameObject& enemy = ObjectPool[slot];
  const int facing = shot.ownFacing ? enemy.facing : 0;
  switch (shot.parameter) {
    case Parameter::kValue:
      Fire(shot.templateId, enemy, 0.0, 0.0, facing, shot.value);
      return;
    case Parameter::kSpeedInWork0:
      enemy.work[0] = static_cast<float>(shot.value);
      Fire(shot.templateId, enemy, 0.0, 0.0, facing, FloatToInt(enemy.work[0]));
      return;
    case Parameter::kAtNewTarget:
      enemy.phase = Player().x;
      enemy.phase2 = Player().y;
      [[fallthrough]];
    case Parameter::kAtTarget:
      enemy.work[0] = static_cast<float>(shot.value);
      Fire(shot.templateId, enemy, 0.0, 0.0, facing, slot);
      return;
  }
}

void ShootOnCycle(int slot) {
  GameObject& enemy = ObjectPool[slot];
  const CycleRow& row = RowFor(kCycles, enemy.behaviour);
  switch (row.movement) {
    case Movement::kForward:
      AddTo(enemy.x, enemy.vx);
      FreeObjectIfOffWorld(slot);
      break;
    case Movement::kBob:
      AddTo(enemy.phase, 0.03);
      enemy.vy = static_cast<float>(std::cos(enemy.phase) * row.bobAmplitude);
      AddTo(enemy.y, enemy.vy);
      if (row.ageLimit != 0 && !row.agesAfterFiring) AgeAndCancelAfter(slot, row.ageLimit);
      break;
    case Movement::kStill:
      break;
  }
  if (!row.countsAfterFiring) enemy.timer += 1;
  const int clock = enemy.timer;
  for (const Shot& shot : row.shots) {
    if (shot.templateId != 0 && clock == shot.at && (shot.onlyInMode == kAnyMode || GameMode == shot.onlyInMode)) {
      FireShot(shot, slot);
    }
  }
  if (clock == row.cycle) enemy.timer = 0;
  if (row.countsAfterFiring) {
    enemy.timer += 1;
    FreeObjectIfOffWorld(slot);
  }
  if (row.ageLimit != 0 && row.agesAfterFiring) AgeAndCancelAfter(slot, row.ageLimit);
}

void AimAtPlayer(GameObject& enemy, double speed) {
  FacePlayer(enemy);
  SetVelocityTowardPlayer(enemy, speed, enemy.phase);
}

void HoverAndAim(int slot) {  // 3012
  GameObject& enemy = ObjectPool[slot];
  const int clock = enemy.timer += 1;
  if (clock == 1 || clock == 500 || clock == 1000) AimAtPlayer(enemy, 4.0);
  if (clock == 200 || clock == 300 || clock == 700 || clock == 800) {
    enemy.vx = static_cast<float>(enemy.vx / 2.0);
    enemy.vy = static_cast<float>(enemy.vy / 2.0);
  }
  if (clock == 400 || clock == 900) enemy.vx = enemy.vy = 0.0f;
  if (clock == 450 || clock == 950) Fire(2033, enemy, 0.0, 0.0, 0, 3);
  MoveStraight(enemy);
  FreeObjectIfOffWorld(slot);
}

void DartAndHover(int slot) {  // 3003
  GameObject& enemy = ObjectPool[slot];
  const int clock = enemy.timer;
  if (clock == 0 || clock == 301 || clock == 601) AimAtPlayer(enemy, 4.0);
  if (clock <= 199 || (clock >= 302 && clock <= 500) || clock >= 602) MoveStraight(enemy);
  enemy.timer += 1;
  FreeObjectIfOffWorld(slot);
}

void HomeInCycles(int slot) {  // 3013
  GameObject& enemy = ObjectPool[slot];
  const int clock = enemy.timer += 1;
  if (clock >= 0 && clock <= 180) {
    AimAtPlayer(enemy, 3.0);
    FreeObjectIfOffWorld(slot);
  }
  if (clock == 360) {
    AddTo(enemy.phase2, 1.0);
    enemy.timer = enemy.phase2 == 8.0f ? 365 : 0;
  }
  MoveStraight(enemy);
  FreeObjectIfOffWorld(slot);
}

void DashAndStop(int slot) {  // 3002
  GameObject& enemy = ObjectPool[slot];
  enemy.vx = enemy.facing != 0 ? -5.0f : 5.0f;
  enemy.timer += 1;
  if (enemy.timer > 120) enemy.vx = 0.0f;
  if (enemy.timer == 210) Fire(2033, enemy, 0.0, 0.0, 0, 0);
  if (enemy.timer > 240) enemy.timer = 0;
  AddTo(enemy.x, enemy.vx);
  FreeObjectIfOffWorld(slot);
}

void CoinFountain(int slot) {  // 3009
  GameObject& enemy = ObjectPool[slot];
  for (int i = 0; i < 5; ++i) Fire(1009, enemy, 0.0, 0.0, enemy.facing, 0);
  enemy.phase = Player().x;
  enemy.phase2 = Player().y;
  enemy.work[0] = 4.0f;
  Fire(2112, enemy, 0.0, 0.0, 0, slot);
}

void SpeedUp(int slot) {  // 3027
  GameObject& enemy = ObjectPool[slot];
  MoveStraight(enemy);
  FreeObjectIfOffWorld(slot);
  enemy.timer += 1;
  if (enemy.timer >= 400 && enemy.timer <= 1400 && enemy.timer % 200 == 0) {
    enemy.vx = static_cast<float>(enemy.vx * 1.2);
    enemy.vy = static_cast<float>(enemy.vy * 1.2);
  }
}

constexpr auto kEntries = JoinEntries(std::to_array<BehaviourEntry>({
                                          {3012, &HoverAndAim},
                                          {3003, &DartAndHover},
                                          {3013, &HomeInCycles},
                                          {3002, &DashAndStop},
                                          {3009, &CoinFountain},
                                          {3027, &SpeedUp},
                                      }),
                                      EntriesFor(kPaths, &FlyPath), EntriesFor(kCycles, &ShootOnCycle));

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
