// Homing spinners, slow chasers whose aim is nearly flat, the enemy that closes in,
// stops and dashes, and the horizontal gunner.
#include <algorithm>

#include "core/sound_control.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

struct SpinnerRow {
  int id;
  int homesBelow;    // timer from which it neither turns nor fires
  double turnLimit;  // degrees
  int reload;        // fires once work[0] passes this
  int bullet;
  bool ownFacing;  // the bullet's facing, else 0
  int parameter;
  double spin;
};
constexpr SpinnerRow kSpinners[] = {
    {3041, 1200, 0.3, 20, 5019, false, 3, 0.1},
    {3045, 400, 0.4, 30, 5010, true, 3, 0.05},
};

void SpinAndHome(int slot) {
  GameObject& enemy = ObjectPool[slot];
  const SpinnerRow& row = RowFor(kSpinners, enemy.behaviour);
  enemy.timer += 1;
  const bool homing = enemy.timer < row.homesBelow;
  if (homing) TurnTowardPlayer(enemy, 4.0, row.turnLimit, enemy.phase);
  MoveStraight(enemy);
  FreeObjectIfOffWorld(slot);
  AddTo(enemy.work[0], 1.0);
  if (homing && enemy.work[0] > row.reload) {
    Fire(row.bullet, enemy, 0.0, 0.0, row.ownFacing ? enemy.facing : 0, row.parameter);
    enemy.work[0] = 0.0f;
  }
  AddTo(enemy.angle, row.spin);
}

struct ChaserRow {
  int id;
  double speed;
  double turnLimit;  // degrees
};
constexpr ChaserRow kChasers[] = {{3043, 1.0, 0.08}, {3044, 2.0, 1.2}};

// The chasers' aim: toward the player at `speed` across, a hundredth of it vertically.
void SetFlatVelocityTowardPlayer(GameObject& enemy, double speed) {
  const double dx = static_cast<double>(Player().x) - enemy.x;
  const double dy = static_cast<double>(Player().y) - enemy.y;
  enemy.phase = DistanceTo(enemy, Player().x, Player().y);
  if (enemy.phase == 0.0f) return;  // on the player: the old course stays the aim
  enemy.vx = static_cast<float>(speed * dx / enemy.phase);
  enemy.vy = static_cast<float>(0.01 * speed * dy / enemy.phase);
}

void ChaseSlowly(int slot) {
  GameObject& enemy = ObjectPool[slot];
  const ChaserRow& row = RowFor(kChasers, enemy.behaviour);
  AgeAndCancelAfter(slot, 1800);
  enemy.angle = AimAngle(enemy, Player().x, Player().y);
  const float oldVx = enemy.vx;
  const float oldVy = enemy.vy;
  SetFlatVelocityTowardPlayer(enemy, row.speed);
  TurnOrTakeDirect(enemy, oldVx, oldVy, Player().x, Player().y, row.turnLimit);
  const int clock = enemy.timer += 1;
  if (clock >= 150 && clock <= 174 && clock % 2 == 0) Fire(5014, enemy, 0.0, 0.0, 0, std::min(42 + clock - 150, 56));
  if (clock > 180) enemy.timer = 0;
  MoveStraight(enemy);
  FreeObjectIfOffWorld(slot);
}

// 3047: phase2 0.0 closing in, 1.0 stopped, 2.0 dashing.
void CloseInAndDash(int slot) {
  GameObject& enemy = ObjectPool[slot];
  AgeAndCancelAfter(slot, 1500);
  if (enemy.phase2 == 0.0f) {
    MoveStraight(enemy);
    FreeObjectIfOffWorld(slot);
    AddTo(enemy.angle, 0.05);
    enemy.phase = DistanceTo(enemy, Player().x, Player().y);
    if (enemy.phase < 230.0f) {
      enemy.animation = 276;
      enemy.animStep = enemy.animTimer = 0;
      enemy.phase2 = 1.0f;
      PlaySe(106, 255);
    }
  }
  if (enemy.phase2 == 1.0f) {
    enemy.timer += 1;
    if (enemy.timer == 55) Fire(5022, enemy, 0.0, 0.0, 0, 30);
    if (enemy.timer == 120) {
      enemy.animation = 277;
      enemy.animStep = enemy.animTimer = 0;
      enemy.phase2 = 2.0f;
      enemy.vx = static_cast<float>(enemy.vx * 3.0);
    }
  }
  if (enemy.phase2 == 2.0f) {
    MoveStraight(enemy);
    FreeObjectIfOffWorld(slot);
    AddTo(enemy.angle, 0.3);
    enemy.workInt += 1;  // the lifetime runs twice as fast while dashing
  }
}

void CrossAndShoot(int slot) {  // 3049
  GameObject& enemy = ObjectPool[slot];
  AddTo(enemy.x, enemy.vx);
  FreeObjectIfOffWorld(slot);
  enemy.angle = AimAngle(enemy, Player().x, Player().y);
  enemy.facing = 0;
  enemy.timer += 1;
  if (enemy.timer == 200) {
    Fire(5014, enemy, 0.0, 0.0, 0, 30);
    enemy.timer = 0;
  }
}

constexpr auto kEntries =
    JoinEntries(std::to_array<BehaviourEntry>({{3047, &CloseInAndDash}, {3049, &CrossAndShoot}}),
                EntriesFor(kSpinners, &SpinAndHome), EntriesFor(kChasers, &ChaseSlowly));

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
