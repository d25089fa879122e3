// Enemies that steer after the player with a limited turn, the charger that brakes
// and fans its bullets at a recorded point, and the hunter that weaves while firing.
#include <algorithm>
#include <climits>
#include <cmath>

#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

struct SteeringRow {
  int id;
  double turnLimit;  // degrees
  double speed;      // of the direct velocity, up to timer 200
  int speedRaises;   // +1 from 201, 301, ... up to this many times
  int steersBelow;   // timer from which the course is kept for good
  bool facesPlayer;  // else facing from the old velocity
  bool puffs;        // three puffs every nine updates, the timer counting them
};
constexpr SteeringRow kSteering[] = {
    {3020, 2.0, 0.2, 0, INT_MAX, true, true},
    {3022, 0.9, 3.0, 5, 700, false, false},
    {3032, 0.2, 6.0, 4, 600, false, false},
    {3034, 0.3, 10.0, 0, 600, false, false},
};

double SpeedAt(const SteeringRow& row, int clock) {
  if (clock <= 200) return row.speed;
  return row.speed + std::min((clock - 101) / 100, row.speedRaises);
}

void Steer(int slot) {
  GameObject& enemy = ObjectPool[slot];
  const SteeringRow& row = RowFor(kSteering, enemy.behaviour);
  enemy.timer += 1;
  if (row.puffs && (enemy.timer == 5 || enemy.timer == 7 || enemy.timer == 9)) {
    // The puff copies its look from slot 5, as it always has: no stage places 3020.
    Fire(2114, enemy, 0.0, 0.0, 0, kTurboReadySlot);
    if (enemy.timer == 9) enemy.timer = 0;
  }
  if (enemy.timer < row.steersBelow) {
    if (row.facesPlayer) {
      FacePlayer(enemy);
    } else {
      enemy.facing = enemy.vx <= 0.0f ? 1 : 0;
    }
    TurnTowardPlayer(enemy, SpeedAt(row, enemy.timer), row.turnLimit, enemy.phase);
  }
  MoveStraight(enemy);
  FreeObjectIfOffWorld(slot);
}

// Charger (3030): work[0] counts the charge, then carries each bullet's speed;
// work[1] is 1 while braking, work[2] counts the braking, work[3] the distance left.
constexpr int kBrakingSpeeds[] = {1, 2, 3, 4, 5, 6, 7, 8, 8, 8};  // fans on 130, 140, ... 220

void StartCharge(GameObject& enemy) {
  const GameObject& player = Player();
  enemy.phase = player.x;
  enemy.phase2 = player.y;
  const double dx = static_cast<double>(player.x) - enemy.x;
  const double dy = static_cast<double>(player.y) - enemy.y;
  enemy.work[3] = DistanceTo(enemy, player.x, player.y);
  const int xAdded = RandomInRange(12);
  const int xSubtracted = RandomInRange(12);
  const int yAdded = RandomInRange(12);
  const int ySubtracted = RandomInRange(12);
  // On the player the aimed part keeps the old velocity; the jitter still applies.
  const double distance = enemy.work[3];
  const double aimedX = distance == 0.0 ? enemy.vx : dx / distance * 7.0;
  const double aimedY = distance == 0.0 ? enemy.vy : dy / distance * 7.0;
  enemy.vx = static_cast<float>(aimedX + xAdded * 0.1 - xSubtracted * 0.1);
  enemy.vy = static_cast<float>(aimedY + yAdded * 0.1 - ySubtracted * 0.1);
  enemy.facing = enemy.vx <= 0.0f ? 1 : 0;
}

void Brake(int slot) {
  GameObject& enemy = ObjectPool[slot];
  AddTo(enemy.work[2], 1.0);
  MoveStraight(enemy);
  FreeObjectIfOffWorld(slot);
  const int braked = FloatToInt(enemy.work[2]);
  if (braked == 10 || braked == 40 || braked == 70 || braked == 100) {
    enemy.vx = static_cast<float>(enemy.vx / 2.0);
    enemy.vy = static_cast<float>(enemy.vy / 2.0);
  } else if (braked == 129) {
    enemy.vx = enemy.vy = 0.0f;
    enemy.phase = Player().x;
    enemy.phase2 = Player().y;
  } else if (braked >= 130 && braked <= 220 && braked % 10 == 0) {
    enemy.work[0] = static_cast<float>(kBrakingSpeeds[(braked - 130) / 10]);
    Fire(2112, enemy, 0.0, 0.0, 0, slot);
  } else if (braked == 250) {
    enemy.timer = 0;
    enemy.phase = enemy.phase2 = 0.0f;
    enemy.work[0] = enemy.work[1] = enemy.work[2] = enemy.work[3] = 0.0f;
  }
}

void Charge(int slot) {
  GameObject& enemy = ObjectPool[slot];
  enemy.timer += 1;
  if (enemy.timer == 10) StartCharge(enemy);
  enemy.work[3] = DistanceTo(enemy, enemy.phase, enemy.phase2);
  if (enemy.work[3] >= 100.0f && enemy.work[0] < 150.0f) {
    MoveStraight(enemy);
    FreeObjectIfOffWorld(slot);
    AddTo(enemy.work[0], 1.0);
  } else {
    enemy.work[1] = 1.0f;
    enemy.work[0] = 0.0f;
  }
  if (enemy.work[1] == 1.0f) Brake(slot);
  AgeAndCancelAfter(slot, 1800);
}

// Hunter-weaver (3038): work[3] 0 hunting, 1 weaving, 2 drifting; the weave vector
// is (phase2, work[0]).
void HuntAndWeave(int slot) {
  GameObject& enemy = ObjectPool[slot];
  AgeAndCancelAfter(slot, 1800);
  enemy.angle = AimAngle(enemy, Player().x, Player().y);
  enemy.facing = 0;
  if (enemy.work[3] == 0.0f) {
    enemy.facing = enemy.vx <= 0.0f ? 1 : 0;
    GameObject direct = enemy;
    SetVelocityTowardPlayer(direct, 7.0, direct.phase);
    if (direct.phase < 200.0f) {
      // Weaving sets the velocity in this same update, so the turn would be lost.
      enemy.work[3] = 1.0f;
      enemy.phase = 0.0f;
      enemy.phase2 = direct.vx;
      enemy.work[0] = direct.vy;
    } else {
      TurnTowardPlayer(enemy, 7.0, 2.0, enemy.phase);
    }
  }
  if (enemy.work[3] == 1.0f) {
    const int clock = enemy.timer += 1;
    AddTo(enemy.phase, 0.05);
    const float swing = std::sin(enemy.phase);
    enemy.vx = static_cast<float>(static_cast<double>(swing) * enemy.phase2);
    enemy.vy = static_cast<float>(static_cast<double>(swing) * enemy.work[0]);
    if (clock >= 60 && clock <= 81 && clock % 3 == 0) Fire(5014, enemy, 0.0, 0.0, 0, 30 + (clock - 60) / 3 * 4);
    if (clock > 80) enemy.work[3] = 2.0f;
  }
  MoveStraight(enemy);
  FreeObjectIfOffWorld(slot);
}

constexpr auto kEntries = JoinEntries(std::to_array<BehaviourEntry>({{3030, &Charge}, {3038, &HuntAndWeave}}),
                                      EntriesFor(kSteering, &Steer));

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
