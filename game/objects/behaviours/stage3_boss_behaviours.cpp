// The stage 3 boss on slot 10: three phases by hit points, each a schedule of shots
// on its clocks, a slow turn toward the player and a bob; and its three glowing
// layers on slots 11 to 13, which follow it and go with it.
#include <cmath>
#include <span>

#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"
#include "objects/behaviours/boss_schedule.h"

namespace {

constexpr int kBossSlot = 10;
constexpr int kBossBehaviour = 3040;

// work[0] phase; work[2] the burst clock of phases 1 and 2.
constexpr DamageDebrisStep kDebris[] = {{20000, 40}, {12000, 30}, {8000, 20}, {4000, 15}};

constexpr BossEvent kPhase0[] = {
    AtRandom(100, 250, 5014, 60, 20),     At(250, 5017, 30),
    AtRandom(350, 500, 5014, 80, 40),     At(500, 5017, 40),
    AtRandom(600, 750, 5014, 100, 60),    At(750, 5017, 50),
    AtRandom(900, 1200, 5010, 3, 3),      AtRandom(900, 1200, 5010, 6, 3),
    Restart(1300),
};

constexpr BossEvent kPhase1Bursts[] = {
    Every(60, 70, 2, 5014, 50, 5),  At(70, 5017, 35),  Every(180, 190, 2, 5014, 60, 5), At(190, 5017, 35),
    Every(310, 320, 2, 5014, 70, 5), At(320, 5017, 35), Restart(320),
};

constexpr BossEvent kPhase1[] = {
    Every(100, 120, 10, 5020, 4), Sound(100, 120, 10, 87), Every(200, 220, 10, 5020, 4), Sound(200, 220, 10, 87),
    Every(300, 320, 10, 5020, 4), Sound(300, 320, 10, 87), Every(500, 520, 10, 5020, 4), Sound(500, 520, 10, 87),
    Every(600, 620, 10, 5020, 5), Sound(600, 620, 10, 87), Every(700, 720, 10, 5020, 6), Sound(700, 720, 10, 87),
    Every(880, 890, 2, 5014, 30, 10), At(890, 5017, 30), Every(910, 920, 2, 5014, 30, 10), At(920, 5017, 30),
    Every(1000, 1020, 10, 5017, 30, 5), Restart(1050),
};

constexpr BossEvent kPhase2Bursts[] = {Every(60, 65, 1, 5014, 40, 5), Restart(100)};

// The homing shots' strength over each run of eighteen.
constexpr int kHomingRun[] = {5, 5, 5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 8, 9, 9, 9, 10};

constexpr BossEvent kPhase2[] = {
    Every(100, 900, 400, 5017, 20, 3),
    Every(181, 279, 1, 5021, 13),
    Sound(181, 279, 1, 88),
    Sound(180, 180, 1, 87),
    Sound(180, 180, 1, 87),
    Sound(183, 192, 3, 88),
    Sound(183, 192, 3, 87),
    WithRun(Every(320, 490, 10, 5020, 0), kHomingRun),
    Sound(320, 490, 10, 87),
    WithRun(Every(1020, 1190, 10, 5020, 0), kHomingRun),
    Sound(1020, 1190, 10, 87),
    WithRun(Every(1220, 1390, 10, 5020, 0), kHomingRun),
    Sound(1220, 1390, 10, 87),
    AtRandom(630, 850, 5018, 3, 6),
    AtRandom(1500, 1750, 5018, 2, 4),
    Restart(1900),
};

void RunOnBurstClock(int slot, std::span<const BossEvent> events) {
  AddTo(ObjectPool[slot].work[2], 1.0);
  RunBossSchedule(slot, events, ObjectPool[slot].work[2]);
}

void EnterPhase(int slot, float phase, int nextKind) {
  GameObject& boss = ObjectPool[slot];
  boss.timer = -60;
  boss.work[0] = phase;
  boss.vx = 0.1f;
  boss.vy = 1.0f;
  boss.phase2 = 0.0f;
  boss.work[2] = 0.0f;
  CancelAllBullets();
  ExplodeIntoNextForm(slot, 20, nextKind);
}

// Each phase: its schedule on timer, its burst clock's (work[2]) run first, and the
// hit points below which the next phase begins with its death-effect kind.
struct PhaseRow {
  std::span<const BossEvent> schedule;
  std::span<const BossEvent> bursts;
  int nextBelow;
  int nextKind;
};
const PhaseRow kPhases[] = {{kPhase0, {}, 35000, 1}, {kPhase1, kPhase1Bursts, 18000, 3}, {kPhase2, kPhase2Bursts, 0, 0}};

void StepPhase(int slot) {
  GameObject& boss = ObjectPool[slot];
  const int phase = FloatToInt(boss.work[0]);
  if (phase < 0 || phase > 2) return;
  const PhaseRow& row = kPhases[phase];
  boss.timer += 1;
  if (!row.bursts.empty()) RunOnBurstClock(slot, row.bursts);
  RunBossSchedule(slot, row.schedule, boss.timer);
  if (boss.hitPoints < row.nextBelow) EnterPhase(slot, static_cast<float>(phase + 1), row.nextKind);
}

void FightStage3(int slot) {
  GameObject& boss = ObjectPool[slot];
  AddTo(boss.x, Player().x <= boss.x ? -0.001 : 0.001);
  AddTo(boss.y, Player().y <= boss.y ? -0.05 : 0.05);
  KeepInBossArena(boss);
  BossTimeRunsOut(slot, boss.timer, 80);
  DropDamageDebris(slot, boss.timer, kDebris);
  StepPhase(slot);
  TurnTowardPlayer(boss, 0.0, 0.8, boss.phase);
  MoveStraight(boss);
  AddTo(boss.phase2, 0.007);
  AddTo(boss.y, std::cos(boss.phase2) * 0.5);
  AddTo(boss.y, boss.vy);
}

// The layers go as soon as slot 10 no longer holds the boss (withdrawn, or dead
// with a kind that does not clear them), so they never follow into later stages.
bool FollowBoss(int slot) {
  const GameObject& boss = ObjectPool[kBossSlot];
  if (boss.state == kStateFree || boss.behaviour != kBossBehaviour) {
    ResetObject(slot);
    return false;
  }
  ObjectPool[slot].x = boss.x;
  ObjectPool[slot].y = boss.y;
  return true;
}

void Glow(int slot) {  // 4068
  if (!FollowBoss(slot)) return;
  GameObject& layer = ObjectPool[slot];
  AddTo(layer.angle, 0.002);
  layer.fade = ByFrameCycle(0.0f, 50.0f, 0.0f, 30.0f, layer.fade);
}

// 4069 and 4070: fade swings between about 100 and 250; phase 0.0 rising, 1.0 falling.
void Pulse(int slot) {
  if (!FollowBoss(slot)) return;
  GameObject& layer = ObjectPool[slot];
  const double step = layer.behaviour == 4069 ? 3.0 : 2.0;
  if (layer.phase == 0.0f) {
    AddTo(layer.fade, step);
    if (layer.fade > 250.0f) layer.phase = 1.0f;
  }
  if (layer.phase == 1.0f) {
    AddTo(layer.fade, -step);
    if (layer.fade < 100.0f) layer.phase = 0.0f;
  }
}

constexpr BehaviourEntry kEntries[] = {{kBossBehaviour, &FightStage3}, {4068, &Glow}, {4069, &Pulse}, {4070, &Pulse}};

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
