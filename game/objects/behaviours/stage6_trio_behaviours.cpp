// The three bosses that close stage 6: one skeleton (trail, arena push-back, the volley
// cycle and a two-phase event machine), each boss with its own event tables.
#include <span>

#include "core/object_pool.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"
#include "objects/behaviours/attack_schedule.h"

namespace {

constexpr ShotFacing kRight = ShotFacing::Right;
constexpr ShotFacing kOwn = ShotFacing::Own;
constexpr ShotFacing kAtPlayer = ShotFacing::AtPlayer;

constexpr AttackStep kFirstPhase0[] = {
    Aim(20, 4),        Shot(105, 5011, kRight, 3), Shot(110, 5011, kRight, 3), Shot(115, 5011, kRight, 3),
    Shot(205, 5011, kRight, 3), Shot(210, 5011, kRight, 3), Shot(215, 5011, kRight, 3), Aim(300, 3),
    Shot(350, 5012, kRight, 20), Shot(360, 5012, kRight, 25), Shot(370, 5012, kRight, 30),
    Shot(450, 5012, kRight, 30), Shot(460, 5012, kRight, 35), Shot(470, 5012, kRight, 40),
    AimThenWait(500, 6), RestartAt(660)};
constexpr AttackStep kFirstPhase1[] = {
    Aim(20, 3),        Shot(105, 5011, kRight, 3), Shot(110, 5011, kRight, 3), Shot(115, 5011, kRight, 3),
    Shot(205, 5011, kRight, 3), Shot(210, 5011, kRight, 3), Shot(215, 5011, kRight, 3), Aim(250, 1),
    Shot(300, 5012, kRight, 25), Shot(310, 5012, kRight, 30), Shot(320, 5012, kRight, 35),
    Shot(400, 5012, kRight, 35), Shot(410, 5012, kRight, 40), Shot(420, 5012, kRight, 45),
    AimThenWait(450, 4), RestartAt(560)};
constexpr AttackStep kSecondPhase1[] = {
    Aim(20, 1),       Shot(105, 5027, kOwn, 40), Shot(110, 5027, kOwn, 50), Shot(115, 5027, kOwn, 60),
    Shot(205, 5027, kOwn, 40), Shot(210, 5027, kOwn, 50), Shot(215, 5027, kOwn, 60), Aim(250, 1),
    Shot(300, 5012, kRight, 25), Shot(310, 5012, kRight, 30), Shot(320, 5012, kRight, 35),
    Shot(400, 5012, kRight, 35), Shot(410, 5012, kRight, 40), Shot(420, 5012, kRight, 45),
    AimThenWait(450, 3), RestartAt(610)};
constexpr AttackStep kThirdPhase0[] = {
    Aim(20, 5),       Shot(100, 5027, kOwn, 80), Shot(110, 5027, kOwn, 80), Shot(120, 5027, kOwn, 80),
    Shot(200, 5027, kOwn, 80), Shot(210, 5027, kOwn, 80), Shot(220, 5027, kOwn, 80), Aim(300, 1),
    Shot(350, 5016, kAtPlayer, 80), Shot(360, 5016, kAtPlayer, 80), Shot(370, 5016, kAtPlayer, 80),
    Shot(450, 5016, kAtPlayer, 80), Shot(460, 5016, kAtPlayer, 80), Shot(470, 5016, kAtPlayer, 80),
    AimThenWait(500, 6), RestartAt(610)};
constexpr AttackStep kThirdPhase1[] = {
    Aim(20, 5),       Shot(105, 5016, kOwn, 100), Shot(110, 5016, kOwn, 100), Shot(115, 5016, kOwn, 100),
    Shot(205, 5016, kOwn, 100), Shot(210, 5016, kOwn, 100), Shot(215, 5016, kOwn, 100), Aim(250, 5),
    Shot(300, 5016, kAtPlayer, 90), Shot(310, 5016, kAtPlayer, 90), Shot(320, 5016, kAtPlayer, 90),
    Shot(400, 5016, kAtPlayer, 90), Shot(410, 5016, kAtPlayer, 90), Shot(420, 5016, kAtPlayer, 90),
    AimThenWait(450, 6), RestartAt(560)};

struct TrioBoss {
  int id;
  bool pushBackBeforeTrail;
  std::span<const AttackStep> phases[2];
};
constexpr TrioBoss kTrio[] = {{3064, false, {kFirstPhase0, kFirstPhase1}},
                              {3065, false, {kFanAndRingCycle, kSecondPhase1}},
                              {3066, true, {kThirdPhase0, kThirdPhase1}}};

constexpr int kPhaseChangeBelow = 11000;
constexpr int kPhaseChangeBursts = 3;

void LeaveTrail(int slot) {
  const GameObject& boss = ObjectPool[slot];
  if (FloatToInt(boss.phase2) % 3 == 0) Fire(2130, boss, 0.0, 0.0, boss.facing, 0);
}

void RunPhase(GameObject& boss, std::span<const AttackStep> events) {
  boss.timer += 1;
  RunAttackSteps(boss, events);
  MoveStraight(boss);
}

void FightAsTrio(int slot) {
  GameObject& boss = ObjectPool[slot];
  const TrioBoss& row = RowFor(kTrio, boss.behaviour);
  if (row.pushBackBeforeTrail) KeepInBossArena(boss);
  LeaveTrail(slot);
  if (!row.pushBackBeforeTrail) KeepInBossArena(boss);
  FireAimedStreams(boss);
  if (boss.phase == 0.0f) {
    RunPhase(boss, row.phases[0]);
    if (boss.hitPoints < kPhaseChangeBelow) {
      boss.vx = 0.0f;
      boss.vy = 1.0f;
      boss.timer = -60;
      boss.phase = 1.0f;
      for (int i = 0; i < kPhaseChangeBursts; ++i) SpawnDeathEffects(slot);
      ConvertBulletsToChips();
      boss.deathEffect = 4;
    }
  }
  if (boss.phase == 1.0f) RunPhase(boss, row.phases[1]);
}

constexpr auto kEntries = EntriesFor(kTrio, &FightAsTrio);

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
