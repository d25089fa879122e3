// The last boss: the body on slot 10 running its two scripts of attack modes and
// marks, its glow on slot 13, the escorts that fire the body's mode, the orbiters
// that keep it shielded and the shield core that breaks when they are gone.
#include <array>
#include <cmath>
#include <span>

#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "core/sound_control.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"
#include "objects/behaviours/attack_schedule.h"

namespace {

constexpr int kBodySlot = 10;
constexpr int kGlowSlot = 13;
constexpr int kCoinEvery = 90;
constexpr int kMendsBelow = 99999;
constexpr DamageDebrisStep kSmoke[] = {{30000, 30}, {20000, 20}, {10000, 15}};

GameObject& Body() { return ObjectPool[kBodySlot]; }

enum class Mark { None, Player, Again, ColumnTop, Column };

// One row of a script: what happens when the body's timer equals `timer`.
struct ScriptEvent {
  int timer;
  float mode = -1.0f;  // the escorts' attack mode; -1 leaves it
  Mark mark = Mark::None;
  int markY = 0;       // a column mark's y
  bool alarm = false;  // sound 119 and a red flash
  int slowdown = 0;
  bool gunships = false;  // two 1101 500 px to either side
  float flash = 0.0f;
  int jump = 0;
  int restartAt = -1;
};

constexpr ScriptEvent kShieldedScript[] = {
    {.timer = 10, .mode = 0.0f},
    {.timer = 200, .mark = Mark::Player},
    {.timer = 250, .mark = Mark::Again},
    {.timer = 299, .mark = Mark::Again},
    {.timer = 300, .mode = 1.0f},
    {.timer = 600, .mode = 0.0f},
    {.timer = 900, .mark = Mark::Player},
    {.timer = 950, .mark = Mark::Again},
    {.timer = 999, .mark = Mark::Again},
    {.timer = 1000, .mode = 2.0f},
    {.timer = 1300, .mode = 0.0f},
    {.timer = 1700, .mode = 3.0f, .slowdown = 16},
    {.timer = 2400, .mode = 0.0f, .jump = 300},
    {.timer = 3500, .mark = Mark::Player},
    {.timer = 3550, .mark = Mark::Again},
    {.timer = 3599, .mark = Mark::Again},
    {.timer = 3600, .mode = 1.0f},
    {.timer = 3900, .mode = 0.0f},
    {.timer = 4200, .mark = Mark::Player},
    {.timer = 4250, .mark = Mark::Again},
    {.timer = 4299, .mark = Mark::Again},
    {.timer = 4300, .mode = 2.0f},
    {.timer = 4600, .mode = 0.0f},
    {.timer = 5000, .mode = 5.0f, .slowdown = 16},
    {.timer = 6000, .mode = 0.0f},
    {.timer = 6600, .mode = 4.0f},
    {.timer = 7000, .mode = 0.0f},
    {.timer = 12000, .restartAt = 0}};

constexpr ScriptEvent kOpenScript[] = {
    {.timer = 300, .mark = Mark::ColumnTop},
    {.timer = 305, .mark = Mark::Column, .markY = 300},
    {.timer = 310, .mark = Mark::Column, .markY = 500},
    {.timer = 315, .mark = Mark::Column, .markY = 700},
    {.timer = 320, .mark = Mark::Column, .markY = 900},
    {.timer = 325, .mark = Mark::Column, .markY = 1100},
    {.timer = 330, .mark = Mark::Column, .markY = 1300},
    {.timer = 335, .mark = Mark::Column, .markY = 1500},
    {.timer = 340, .mark = Mark::Column, .markY = 1700},
    {.timer = 360, .mode = 6.0f},
    {.timer = 900, .mode = 0.0f},
    {.timer = 1500, .mode = 7.0f},
    {.timer = 1900, .mode = 0.0f, .alarm = true, .slowdown = 20},
    {.timer = 2700, .mode = 8.0f},
    {.timer = 2800, .mode = 0.0f, .jump = 250},
    {.timer = 3100, .mode = 9.0f, .slowdown = 18, .gunships = true},
    {.timer = 3200, .mode = 0.0f, .jump = 300},
    {.timer = 4400, .mode = 10.0f},
    {.timer = 4900, .slowdown = 12, .flash = 200.0f},
    {.timer = 5000, .mode = 0.0f},
    {.timer = 6200, .restartAt = 290}};

void PlaceMark(const GameObject& body, const ScriptEvent& event) {
  switch (event.mark) {
    case Mark::None:
      return;
    case Mark::Player:
      CreateObject(2228, FloatToInt(Player().x), FloatToInt(Player().y), 0, 0);
      BulletTargetX = Player().x;
      BulletTargetY = Player().y;
      return;
    case Mark::Again:
      CreateObject(2228, FloatToInt(BulletTargetX), FloatToInt(BulletTargetY), 0, 0);
      return;
    case Mark::ColumnTop:
      CreateObject(2228, FloatToInt(body.x), 0, 0, 0);
      BulletTargetX = body.x;
      BulletTargetY = 100.0f;
      return;
    case Mark::Column:
      CreateObject(2228, FloatToInt(body.x), event.markY, 0, 0);
      return;
  }
}

void RunScript(GameObject& body, std::span<const ScriptEvent> script) {
  const ScriptEvent* event = nullptr;
  for (const ScriptEvent& row : script) {
    if (row.timer == body.timer) event = &row;
  }
  if (event == nullptr) return;
  if (event->mode >= 0.0f) body.work[1] = event->mode;
  PlaceMark(body, *event);
  if (event->alarm) {
    PlaySe(119, 255);
    RedFlashAlpha += 80;
  }
  if (event->slowdown != 0) RequestSlowdown(event->slowdown);
  if (event->gunships) {
    Fire(1101, body, 500.0, 0.0, 0, 2);
    Fire(1101, body, -500.0, 0.0, 0, 2);
  }
  if (event->flash != 0.0f) ScreenFlash = event->flash;
  body.timer += event->jump;
  if (event->restartAt >= 0) body.timer = event->restartAt;
}

// The storm: 15 bullets a frame, 5036 and 5035 in turn, the last five slower.
constexpr std::array<ScheduledShot, 15> StormShots() {
  std::array<ScheduledShot, 15> rows{};
  for (int i = 0; i < 15; ++i) {
    const int base = i < 10 ? 150 : 150 - 10 * (i - 9);
    rows[i] = {5001, 5999, 1, i % 2 == 0 ? 5036 : 5035, 1, -100, 200, -100, 200, 0, base, 100, 0};
  }
  return rows;
}
constexpr auto kStorm = StormShots();
constexpr ScheduledShot kSalvo[] = {{5300, 5600, 1, 5037, 5, -200, 400, -200, 400, 0, 50, 50, 0}};
constexpr ScheduledShot kCrossfire[] = {{6001, 6079, 1, 5037, 1, -200, 400, -200, 400, 0, 50, 50, 0},
                                        {6001, 6079, 1, 5035, 1, -200, 400, -200, 400, 0, 50, 50, 0}};

void AttackInTheOpen(int slot) {
  GameObject& body = ObjectPool[slot];
  const int t = body.timer;
  if (t > 500 && t < 800) BulletTargetY = static_cast<float>(BulletTargetY + 4.0);
  if (t > 4700 && t < 5000) {
    Fire(2151, body, 0.0, 0.0, 0, 0);
    PlaySeIfIdle(93, 255);
  }
  if (t == 5000) {
    PlaySe(119, 255);
    RequestSlowdown(18);
  }
  FireSchedule(kStorm, slot, t);
  if (t == 5300 || t == 5600) {
    RequestSlowdown(16);
    FireSchedule(kSalvo, slot, t);
  }
  if (t > 6000 && t < 6080) {
    RequestSlowdown(20);
    FireSchedule(kCrossfire, slot, t);
  }
}

void ConductTheEnsemble(int slot) {
  GameObject& body = ObjectPool[slot];
  body.workInt += 1;
  body.fade = static_cast<float>(body.fade + (body.workInt % 2 == 0 ? 30.0 : -30.0));
  if (body.workInt % kCoinEvery == 0) body.coinDrop -= 1;
  if (body.coinDrop < 0) {
    SpawnDeathEffects(slot);
    ResetObject(slot);
  }
  DropDamageDebris(slot, body.workInt, kSmoke);
  if (body.collidable == 0) {
    body.timer += 1;
    RunScript(body, kShieldedScript);
  } else {
    if (body.hitPoints < kMendsBelow) body.hitPoints += 2 * ShotLevel + TurboLevel - 3 * GuardHealLevel;
    body.timer += 1;
    RunScript(body, kOpenScript);
  }
  if (body.collidable == 2) AttackInTheOpen(slot);
  body.phase = static_cast<float>(body.phase + 0.006);
  body.y = static_cast<float>(body.y + std::sin(body.phase) * 0.5);
  body.phase2 = static_cast<float>(body.phase2 + 0.003);
  body.x = static_cast<float>(body.x + std::sin(body.phase2) * 0.3);
  FreeObjectIfOffWorld(slot);
  PulseFade(body.fade, body.work[0], 0.5, 300.0f, -50.0f);
}

void ShineAgainstTheBody(int slot) {
  GameObject& glow = ObjectPool[slot];
  glow.x = Body().x;
  glow.y = Body().y;
  glow.fade = static_cast<float>(255.0 - Body().fade);
}

// What an escort fires in each attack mode 1..10.
struct ModeShot {
  int every;
  int templateId;
  double dx;
  int facing;
  int parameter;
  int parameterSpread;
  int sound, volume;
};
using ModeTable = std::array<ModeShot, 10>;

constexpr ModeTable EscortModes(int enemyEvery, ModeShot fifth, int sound, int volume) {
  return {{{3, 5031, 0, 0, 60, 0, 0, 0},
           {1, 5031, 0, 0, 90, 0, 0, 0},
           {enemyEvery, 1109, 0, 0, 2, 0, 0, 0},
           {10, 5027, 0, 0, 50, 0, 0, 0},
           fifth,
           {3, 5033, 0, 0, 60, 0, 0, 0},
           {3, 5034, 0, 0, 5, 20, sound, volume},
           {15, 5012, 0, 0, 15, 0, 0, 0},
           {80, 1101, 300, 0, 2, 0, 0, 0},
           {2, 5010, 0, 1, 3, 3, 0, 0}}};
}

struct Escort {
  int id;
  double ax, cx, ay, cy;  // acceleration and top speed toward the body, per axis
  ModeTable modes;
};
constexpr Escort kEscorts[] = {
    {3099, 0.1, 30.0, 0.1, 18.0, EscortModes(14, {8, 1109, 0, 0, 2, 0, 0, 0}, 88, 100)},
    {3100, 0.05, 40.0, 0.1, 12.0, EscortModes(13, {5, 5032, 0, 0, 40, 30, 0, 0}, 87, 20)}};
constexpr double kEscortBand = 80.0;

float HomeBy(float speed, bool forward, double acceleration, double top) {
  const double next = forward ? speed + acceleration : speed - acceleration;
  if (forward && next > top) return static_cast<float>(top);
  if (!forward && next < -top) return static_cast<float>(-top);
  return static_cast<float>(next);
}

// The band's edges are worked in double: player + 80 is not always a float.
bool OutsideBand(float position, float player) {
  return position < player - kEscortBand || position > player + kEscortBand;
}

void FireTheMode(int slot) {
  GameObject& escort = ObjectPool[slot];
  if (!OutsideBand(escort.x, Player().x) || !OutsideBand(escort.y, Player().y)) return;
  const int mode = FloatToInt(Body().work[1]);
  if (mode < 1 || mode > 10) return;
  const ModeShot& shot = RowFor(kEscorts, escort.behaviour).modes[mode - 1];
  if (escort.timer % shot.every != 0) return;
  const int spread = shot.parameterSpread == 0 ? 0 : RandomInRange(shot.parameterSpread);
  Fire(shot.templateId, escort, shot.dx, 0.0, shot.facing, shot.parameter + spread);
  if (shot.sound != 0) PlaySe(shot.sound, shot.volume);
}

void EscortTheBody(int slot) {
  GameObject& escort = ObjectPool[slot];
  const Escort& row = RowFor(kEscorts, escort.behaviour);
  if (EndBackdropPhase == 4) ResetObject(slot);
  MoveStraight(escort);
  Fire(2227, escort, 0.0, 0.0, escort.facing, 0);
  escort.vx = HomeBy(escort.vx, Body().x > escort.x, row.ax, row.cx);
  escort.vy = HomeBy(escort.vy, Body().y > escort.y, row.ay, row.cy);
  escort.timer += 1;
  FireTheMode(slot);
}

struct Orbiter {
  int id;
  float xMax, yMax;
};
constexpr Orbiter kOrbiters[] = {{3101, 1400.0f, 600.0f}, {3103, 1800.0f, 200.0f}};
constexpr int kOrbiterCoinEvery = 210;

void OrbitTheBody(int slot) {
  GameObject& orbiter = ObjectPool[slot];
  const Orbiter& row = RowFor(kOrbiters, orbiter.behaviour);
  orbiter.workInt += 1;
  if (orbiter.workInt % kOrbiterCoinEvery == 0) orbiter.coinDrop -= 1;
  if (orbiter.coinDrop < 0) {
    SpawnDeathEffects(slot);
    CancelBullet(slot);
  }
  orbiter.fade = ByFrameCycle(0.0f, 60.0f, 160.0f, 120.0f, orbiter.fade);
  orbiter.phase = static_cast<float>(orbiter.phase + 0.012);
  // The sine is single precision; the rest is worked in double and rounded once.
  orbiter.x = static_cast<float>(Body().x + static_cast<double>(std::sin(orbiter.phase)) * orbiter.phase2);
  orbiter.y = static_cast<float>(Body().y + static_cast<double>(std::cos(orbiter.phase)) * orbiter.work[0]);
  if (orbiter.phase2 < row.xMax) orbiter.phase2 = static_cast<float>(orbiter.phase2 + 5.0);
  if (orbiter.work[0] < row.yMax) orbiter.work[0] = static_cast<float>(orbiter.work[0] + 5.0);
}

constexpr int kShieldHoldsAbove = 2;  // the body and the core itself
constexpr int kBreakBursts = 20;
constexpr int kBreakSparks = 400;

void BreakTheShield(int slot) {
  GameObject& core = ObjectPool[slot];
  GameObject& body = Body();
  EndBackdropTimer = 140;
  PlaySe(118, 255);
  body.timer = 2500;
  body.work[1] = 0.0f;
  body.collidable = 2;
  CancelAllBullets();
  ScreenFlash = static_cast<float>(ScreenFlash + 100.0);
  Fire(2186, core, 0.0, 0.0, core.facing, 0);
  Fire(2185, core, 0.0, 0.0, core.facing, 0);
  Explode(slot, kBreakBursts);
  for (int i = 0; i < kBreakSparks; ++i) {
    const int dy = RandomInRange(600);
    const int dx = RandomInRange(400);
    Fire(2211, body, -200.0 + dx, -200.0 + dy, 0, 1);
  }
  CancelBullet(slot);
}

void HoldTheShield(int slot) {
  GameObject& core = ObjectPool[slot];
  core.fade = ByFrameCycle(0.0f, 10.0f, 20.0f, 30.0f, core.fade);
  if (CountEnemiesInGroup1() <= kShieldHoldsAbove) BreakTheShield(slot);
  core.x = Body().x;
  core.y = Body().y;
}

constexpr auto kEntries = JoinEntries(EntriesFor(kEscorts, &EscortTheBody), EntriesFor(kOrbiters, &OrbitTheBody),
                                      std::array<BehaviourEntry, 3>{{{3098, &ConductTheEnsemble},
                                                                     {3102, &HoldTheShield},
                                                                     {4139, &ShineAgainstTheBody}}});

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
