// What the composite boss launches: drones that circle their launcher in slot 14 and
// wander once it is gone, and the gunship that drifts, dashes and fires fans.
#include "core/object_pool.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"
#include "objects/behaviours/attack_schedule.h"

namespace {

constexpr int kLauncherSlot = 14;
constexpr int kDroneLifetime = 600;
constexpr int kDroneCycle = 160;
constexpr double kDroneRange = 1600.0;

void CircleLauncher(int slot) {
  GameObject& drone = ObjectPool[slot];
  drone.workInt += 1;
  if (drone.workInt > kDroneLifetime) CancelBullet(slot);
  drone.fade = ByFrameCycle(0.0f, 50.0f, 100.0f, 150.0f, drone.fade);
  const GameObject& launcher = ObjectPool[kLauncherSlot];
  if (launcher.state == kStateFree) {
    const int pointX = RandomInRange(6000);
    const int pointY = RandomInRange(2000);
    const float targetX = static_cast<float>(1 + pointX);
    const float targetY = static_cast<float>(1 + pointY);
    TurnToward(drone, targetX, targetY, targetX, targetY, 1.0, 0.8, drone.phase);
    SwayAndMove(drone, 4.5);
    FreeObjectIfOffWorld(slot);
    return;
  }
  TurnToward(drone, launcher.x, launcher.y, launcher.x, launcher.y, 4.0, 0.9, drone.phase);
  SwayAndMove(drone, 4.5);
  FreeObjectIfOffWorld(slot);
  drone.timer += 1;
  const double playerX = Player().x;
  const bool near = playerX > drone.x - kDroneRange && playerX < drone.x + kDroneRange;
  if (near && drone.timer < 70 && drone.timer % 3 == 0) Fire(5014, drone, 0.0, 0.0, 0, 30);
  if (drone.timer == kDroneCycle) drone.timer = 0;
}

constexpr int kGunshipLifetime = 800;

void DriftAndDash(int slot) {
  GameObject& gunship = ObjectPool[slot];
  const int ageing = RandomInRange(2);
  gunship.workInt += ageing;
  if (gunship.workInt > kGunshipLifetime) CancelBullet(slot);
  gunship.fade = ByFrameCycle(0.0f, 50.0f, 100.0f, 150.0f, gunship.fade);
  FireAimedStreams(gunship);
  gunship.timer += 1;
  RunAttackSteps(gunship, kFanAndRingCycle);
  MoveStraight(gunship);
}

constexpr BehaviourEntry kEntries[] = {{3089, &CircleLauncher}, {3092, &DriftAndDash}};

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
