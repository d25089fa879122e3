// The stage 5 boss: a chase with a sway, a stream of aimed bullets through every
// phase, and three phase schedules fired from its centre, its gun and its charge point.
#include <cmath>

#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"
#include "objects/behaviours/boss_schedule.h"

namespace {

// work[0] phase; work[1] movement grade; work[2] the stream clock.
constexpr DamageDebrisStep kDebris[] = {{30000, 40}, {24000, 30}, {16000, 20}, {8000, 15}};

constexpr BossEvent Gun(BossEvent event) { return From(event, -300.0f, 130.0f); }
constexpr BossEvent ChargePoint(BossEvent event) { return From(event, 137.0f, 217.0f); }
constexpr BossEvent GunSalvo(int first, int last, int from) { return Salvo(Gun(Every(first, last, 20, 5014, from)), 40, 1); }
constexpr BossEvent Volley(int first, int from) { return Salvo(From(Every(first, first + 80, 40, 5025, from), -270.0f, 100.0f, 1), 20, 2); }

constexpr BossEvent kPhase0[] = {
    GunSalvo(100, 100, 60), GunSalvo(200, 220, 60), GunSalvo(450, 490, 60),
    GunSalvo(240, 280, 70), GunSalvo(510, 550, 70),
    GunSalvo(300, 340, 80), GunSalvo(570, 630, 80),
    Restart(700),
    Every(100, 300, 40, 5016, 120), Every(370, 450, 40, 5016, 120),
    At(430, 5016, 130), At(470, 5016, 135), At(490, 5016, 125), At(510, 5016, 140), At(550, 5016, 145),
    Salvo(At(650, 5016, 130), 40, 2),
};

constexpr int kClosingRings[] = {60, 70, 80, 90, 100, 110, 100, 90, 80};

constexpr BossEvent kPhase1[] = {
    ChargePoint(Every(6, 94, 1, 2151, 0)),
    Sound(5, 5, 1, 93), Gun(At(5, 5014, 60)),
    ChargePoint(At(95, 2150, 0)), Sound(95, 95, 1, 94),
    Gun(Every(100, 196, 3, 5014, 60)), Gun(Every(200, 290, 3, 5014, 60)),
    Every(320, 440, 20, 5012, 30, 10),
    Gun(Every(500, 596, 3, 5014, 100)), Gun(Every(600, 690, 3, 5014, 100)),
    WithRun(Every(720, 880, 20, 5012, 0), kClosingRings),
    Restart(900),
};

constexpr BossEvent kPhase2Charge[] = {
    Sound(150, 150, 1, 93), ChargePoint(Every(151, 260, 1, 2151, 0)), ChargePoint(At(259, 2150, 0)),
    Sound(259, 259, 1, 94),
};

constexpr int kLateRings[] = {30, 35, 40, 45, 45, 50, 55, 60, 65};

constexpr BossEvent kPhase2[] = {
    Volley(40, 100), Volley(240, 120), Restart(400),
    Gun(Every(243, 318, 3, 5014, 60)),
    Every(30, 150, 30, 5016, 100), Every(180, 300, 30, 5016, 110, 10),
    WithRun(Every(320, 360, 5, 5012, 0), kLateRings),
};

void EnterPhase(int slot, int clock, float phase, float grade, int nextKind) {
  GameObject& boss = ObjectPool[slot];
  boss.vx = 1.0f;
  boss.vy = -1.0f;
  boss.timer = clock;
  boss.work[0] = phase;
  boss.work[1] = grade;
  boss.phase2 = 0.0f;
  boss.work[2] = 0.0f;
  ExplodeIntoNextForm(slot, 20, nextKind);
}

void StepPhase(int slot) {
  GameObject& boss = ObjectPool[slot];
  if (boss.work[0] == 0.0f) {
    boss.timer += 1;
    RunBossSchedule(slot, kPhase0, boss.timer);
    if (boss.hitPoints < 60000) EnterPhase(slot, 0, 1.0f, 1.0f, 1);
  } else if (boss.work[0] == 1.0f) {
    boss.timer += 1;
    RunBossSchedule(slot, kPhase1, boss.timer);
    if (boss.hitPoints < 33000) EnterPhase(slot, -30, 2.0f, 0.5f, 5);
  } else if (boss.work[0] == 2.0f) {
    boss.timer += 1;
    RunBossSchedule(slot, kPhase2Charge, boss.work[2]);
    RunBossSchedule(slot, kPhase2, boss.timer);
  }
}

void StreamBullets(GameObject& boss) {
  AddTo(boss.work[2], 1.0);
  if (boss.work[2] > 200.0f) Fire(5019, boss, 0.0, 0.0, 0, 10);
  if (boss.work[2] > 220.0f) Fire(5019, boss, 0.0, 0.0, 0, 12);
  if (boss.work[2] > 240.0f) Fire(5019, boss, 0.0, 0.0, 0, 14);
  if (boss.work[2] > 260.0f) boss.work[2] = 0.0f;
}

void FightStage5(int slot) {
  GameObject& boss = ObjectPool[slot];
  AddTo(boss.x, Player().x <= boss.x ? -0.01 : 0.01);
  AddTo(boss.y, Player().y <= boss.y ? -0.001 : 0.001);
  BossTimeRunsOut(slot, boss.timer, 80);
  DropDamageDebris(slot, boss.timer, kDebris);
  if (boss.timer % 6 == 0) Fire(2147, boss, 0.0, 0.0, boss.facing, 0);
  if (boss.timer % 8 == 0) Fire(2148, boss, 0.0, 0.0, boss.facing, 0);
  const double grade = boss.work[1];
  TurnTowardPlayer(boss, DoubleToInt(grade + 4.0), grade * 0.1 + 0.9, boss.phase);
  MoveStraight(boss);
  AddTo(boss.phase2, 0.01);
  AddTo(boss.x, std::sin(boss.phase2) * (grade + 6.5));
  AddTo(boss.x, boss.vx);
  KeepInBossArena(boss);
  StreamBullets(boss);
  StepPhase(slot);
}

constexpr BehaviourEntry kEntries[] = {{3051, &FightStage5}};

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
