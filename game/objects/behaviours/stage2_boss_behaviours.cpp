// The stage 2 boss: it hunts the player in a cycle of five moves, fires from its side
// guns, and below 12000 hit points turns into a faster second form.
#include "core/game_rules.h"
#include "core/game_state.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"
#include "objects/behaviours/boss_schedule.h"

namespace {

// work[1] side-gun cycle; work[2] form (0 first, 2 change asked, 3 second);
// work[3] the move; (phase2, work[0]) the dash target.
constexpr float kFirstForm = 0.0f;
constexpr float kChangeAsked = 2.0f;
constexpr float kSecondForm = 3.0f;

enum Move { kApproach = 1, kGlide, kDash, kCoast, kStalk };

struct FormRow {
  int moveAt[4];  // the clock values that start glide, dash, stalk; then the restart
  int approachShotsUpTo;
  int stalkRingsUpTo;
};
constexpr FormRow kFirst = {{400, 460, 600, 900}, 30, 50};
constexpr FormRow kSecond = {{185, 220, 300, 500}, 40, 80};

constexpr DamageDebrisStep kDebris[] = {{10000, 30}, {5000, 20}, {2500, 15}};

void Enter(GameObject& boss, Move move) {
  boss.work[3] = static_cast<float>(move);
  boss.phase = 0.0f;
  boss.timer2 = 0;
  if (move != kDash) return;
  SetVelocityTowardPlayer(boss, 8.0, boss.phase);
  boss.phase2 = Player().x;
  boss.work[0] = Player().y;
}

void StepCycle(GameObject& boss, const FormRow& form) {
  const int clock = boss.timer;
  if (clock == 1) Enter(boss, kApproach);
  if (clock == form.moveAt[0]) Enter(boss, kGlide);
  if (clock == form.moveAt[1]) Enter(boss, kDash);
  if (clock == form.moveAt[2]) Enter(boss, kStalk);
  if (clock == form.moveAt[3]) {
    boss.timer = boss.timer2 = 0;
    boss.phase = 0.0f;
  }
}

void GoAlong(GameObject& boss, double part) {
  AddTo(boss.x, boss.vx / part);
  AddTo(boss.y, boss.vy / part);
}

void RunMove(GameObject& boss, const FormRow& form) {
  switch (FloatToInt(boss.work[3])) {
    case kApproach:
      SetVelocityTowardPlayer(boss, 1.5, boss.phase);
      MoveStraight(boss);
      boss.timer2 += 1;
      if (boss.timer2 >= 10 && boss.timer2 <= form.approachShotsUpTo && boss.timer2 % 5 == 0) {
        Fire(5011, boss, 0.0, 0.0, 0, 3);
      }
      if (boss.timer2 == 90) boss.timer2 = 0;
      break;
    case kGlide:
      GoAlong(boss, 3.0);
      break;
    case kDash:
      boss.phase = DistanceTo(boss, boss.phase2, boss.work[0]);
      MoveStraight(boss);
      if (boss.phase < 100.0f) {
        boss.work[3] = kCoast;
        boss.phase = boss.phase2 = boss.work[0] = 0.0f;
        boss.timer2 = 0;
      }
      break;
    case kCoast:
      GoAlong(boss, 2.0);
      break;
    case kStalk: {
      SetVelocityTowardPlayer(boss, 0.5, boss.phase);
      MoveStraight(boss);
      const int clock = boss.timer2 += 1;
      if (clock >= 10 && clock <= form.stalkRingsUpTo && clock % 10 == 0) {
        Fire(5013, boss, 0.0, 0.0, 0, clock <= 50 ? 15 + clock / 2 : 40);
      }
      if (clock == 120) boss.timer2 = 0;
      break;
    }
  }
}

void FireSideGuns(GameObject& boss) {
  if (FloatToInt(boss.work[1]) % 2 == 0) Fire(2130, boss, 0.0, 0.0, boss.facing, 0);
  AddTo(boss.work[1], 1.0);
  const float cycle = boss.work[1];
  if (cycle > 200.0f && cycle < 220.0f) {
    const int extra = RandomInRange(3);
    Fire(5019, boss, 0.0, -50.0, 0, extra + 3);
  }
  if (cycle > 500.0f && cycle < 520.0f) {
    const int extra = RandomInRange(3);
    Fire(5019, boss, 0.0, 50.0, 0, extra + 5);
  }
  if (boss.work[1] > 620.0f) boss.work[1] = 0.0f;
}

void ChangeForm(GameObject& boss, int slot) {
  boss.timer = boss.timer2 = 0;
  boss.phase = 0.0f;
  ExplodeIntoNextForm(slot, 6, 2);
  CancelAllBullets();
  boss.work[2] = kSecondForm;
  boss.timer = -60;
  boss.vx = boss.vy = 0.0f;
  RequestSlowdown(10);
}

void FightStage2(int slot) {
  GameObject& boss = ObjectPool[slot];
  AddTo(boss.x, Player().x > boss.x ? 0.5 : -0.5);
  AddTo(boss.y, Player().y > boss.y ? 0.5 : -0.5);
  KeepInBossArena(boss);
  BossTimeRunsOut(slot, boss.timer, 80);
  DropDamageDebris(slot, boss.timer, kDebris);
  FireSideGuns(boss);
  if (boss.work[2] == kFirstForm) {
    if (boss.hitPoints < 12000) boss.work[2] = kChangeAsked;
    boss.timer += 1;
    StepCycle(boss, kFirst);
    RunMove(boss, kFirst);
  }
  if (boss.work[2] == kChangeAsked) ChangeForm(boss, slot);
  if (boss.work[2] == kSecondForm) {
    boss.timer += 1;
    StageTimeline3 += 1;
    StepCycle(boss, kSecond);
    if (boss.timer < 0) AddTo(boss.y, 2.0);
    RunMove(boss, kSecond);
  }
}

constexpr BehaviourEntry kEntries[] = {{3031, &FightStage2}};

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
