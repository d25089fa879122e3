// Enemy bullets: they fly, age, home and fade.
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

// Ages up to 600 frames, then fades.
void AgeUp(int slot) {
  GameObject& bullet = ObjectPool[slot];
  MoveStraight(bullet);
  FreeObjectIfOffWorld(slot);
  bullet.timer += 1;
  if (bullet.timer == 600) ShowBulletFade(bullet);
}

void CountDownInView(int slot) {
  GameObject& bullet = ObjectPool[slot];
  MoveStraight(bullet);
  bullet.timer -= 1;
  if (bullet.timer == 0) ShowBulletFade(bullet);
  FreeObjectIfOffView(slot);
}

// The common bullet: ages by 1 near the camera, 2 outside the wide window about it
// and 5 far to its left or right.
void CountDownFasterFarAway(int slot) {
  GameObject& bullet = ObjectPool[slot];
  MoveStraight(bullet);
  FreeObjectIfOffWorld(slot);
  bullet.timer -= 1;
  if (bullet.timer < 0) ShowBulletFade(bullet);
  const double x = bullet.x;
  const double y = bullet.y;
  if (!(x >= CameraX - 1100.0 && x <= CameraX + 2200.0 && y >= CameraY - 800.0 && y <= CameraY + 1568.0)) {
    bullet.timer -= 1;
  }
  if (!(x >= CameraX - 2100.0 && x <= CameraX + 3200.0)) bullet.timer -= 3;
}

// Straight on, culled, and faded when its count reaches 0.
void FlyAndCountDown(int slot, void (*cull)(int slot)) {
  GameObject& bullet = ObjectPool[slot];
  MoveStraight(bullet);
  cull(slot);
  bullet.timer -= 1;
  if (bullet.timer == 0) ShowBulletFade(bullet);
}

struct CountingBullet {
  int id;
  void (*cull)(int slot);
};
constexpr CountingBullet kCountingBullets[] = {{4081, &FreeObjectIfFarOutside}, {4131, &FreeObjectIfOffWorld}};

void CountDown(int slot) { FlyAndCountDown(slot, RowFor(kCountingBullets, ObjectPool[slot].behaviour).cull); }

// Homing at the whole-number speed held in work[0], turning at most `degrees` a
// frame, for life or while timer is above `homesWhileAbove`.
struct HomingBullet {
  int id;
  double degrees;
  bool homesForLife;
  int homesWhileAbove;
};
constexpr HomingBullet kHomingBullets[] = {{4071, 1.5, true, 0}, {4072, 1.2, false, 900}};

void Home(int slot) {
  GameObject& bullet = ObjectPool[slot];
  const HomingBullet& row = RowFor(kHomingBullets, bullet.behaviour);
  if (row.homesForLife || bullet.timer > row.homesWhileAbove)
    TurnTowardPlayer(bullet, FloatToInt(bullet.work[0]), row.degrees, bullet.phase);
  bullet.angle = CourseAngle(bullet);
  FlyAndCountDown(slot, &FreeObjectIfOffWorld);
}

constexpr int kBossSlot = 10;

// Waits, not collidable and still, until the boss's attack word is 0, then homes.
void WaitThenHome(int slot) {
  GameObject& bullet = ObjectPool[slot];
  if (bullet.workInt == 0 && ObjectPool[kBossSlot].work[1] == 0.0f) {
    bullet.collidable = 1;
    bullet.animation = 400;
    SetVelocityTowardPlayer(bullet, 1.0, bullet.phase2);
    bullet.workInt = 1;
  }
  if (bullet.collidable != 1) return;
  TurnTowardPlayer(bullet, FloatToInt(bullet.work[0]), 1.0, bullet.phase);
  bullet.angle = CourseAngle(bullet);
  MoveStraight(bullet);
  FreeObjectIfOffWorld(slot);
  bullet.timer -= 1;
  if (bullet.timer == 0) CancelBullet(slot);
}

// The large charged shot: a trail every third frame, homing that speeds up until
// age 1400, then straight on.
void HomeFasterWithTrail(int slot) {
  GameObject& shot = ObjectPool[slot];
  if (shot.timer % 3 == 0) Fire(2149, shot, 0.0, 0.0, shot.facing, 0);
  shot.timer += 1;
  const int speed = DoubleToInt(shot.timer * 0.01 + 0.1);
  if (shot.timer < 1400) {
    shot.facing = shot.vx > 0.0f ? 0 : 1;
    TurnTowardPlayer(shot, speed, 1.3, shot.phase);
  }
  MoveStraight(shot);
  FreeObjectIfOffWorld(slot);
}

constexpr auto kEntries = JoinEntries(std::to_array<BehaviourEntry>({
                                          {4004, &AgeUp},
                                          {4024, &CountDownInView},
                                          {4063, &CountDownFasterFarAway},
                                          {4169, &WaitThenHome},
                                          {4082, &HomeFasterWithTrail},
                                      }),
                                      EntriesFor(kHomingBullets, &Home), EntriesFor(kCountingBullets, &CountDown));

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
