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

// Each phase: first aim, near volley, its first frame and spacing, the second aim's
// frame and speed, far volley, last aim, restart.
constexpr auto kFirstPhase0 =
    CycleOf({4, {5011, kRight, {3, 3, 3}}, 105, 5, 300, 3, {5012, kRight, {20, 25, 30, 30, 35, 40}}, 6, 660});
constexpr auto kFirstPhase1 =
    CycleOf({3, {5011, kRight, {3, 3, 3}}, 105, 5, 250, 1, {5012, kRight, {25, 30, 35, 35, 40, 45}}, 4, 560});
constexpr auto kSecondPhase1 =
    CycleOf({1, {5027, kOwn, {40, 50, 60}}, 105, 5, 250, 1, {5012, kRight, {25, 30, 35, 35, 40, 45}}, 3, 610});
constexpr auto kThirdPhase0 =
    CycleOf({5, {5027, kOwn, {80, 80, 80}}, 100, 10, 300, 1, {5016, kAtPlayer, {80, 80, 80, 80, 80, 80}}, 6, 610});
constexpr auto kThirdPhase1 =
    CycleOf({5, {5016, kOwn, {100, 100, 100}}, 105, 5, 250, 5, {5016, kAtPlayer, {90, 90, 90, 90, 90, 90}}, 6, 560});

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
      ExplodeIntoNextForm(slot, kPhaseChangeBursts, 4);
      ConvertBulletsToChips();
    }
  }
  if (boss.phase == 1.0f) RunPhase(boss, row.phases[1]);
}

constexpr auto kEntries = EntriesFor(kTrio, &FightAsTrio);

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
