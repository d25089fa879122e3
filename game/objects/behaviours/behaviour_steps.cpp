#include "objects/behaviours/behaviour_steps.h"

#include <cmath>

void MoveStraight(GameObject& object) {
  object.x = static_cast<float>(static_cast<double>(object.x) + object.vx);
  object.y = static_cast<float>(static_cast<double>(object.y) + object.vy);
}

void MoveAndSlow(GameObject& object, double damping) {
  MoveStraight(object);
  object.vx = static_cast<float>(object.vx / damping);
  object.vy = static_cast<float>(object.vy / damping);
}

void ScaleAtGrowingRate(GameObject& object, double direction) {
  object.scaleDelta = static_cast<float>(object.scaleDelta + direction * object.phase);
  object.fade = static_cast<float>(object.fade + 2.0);
  object.phase = static_cast<float>(object.phase + 0.01);
  MoveStraight(object);
}

float DistanceTo(const GameObject& object, float targetX, float targetY) {
  const double dx = static_cast<double>(targetX) - object.x;
  const double dy = static_cast<double>(targetY) - object.y;
  return std::sqrt(static_cast<float>(dx * dx + dy * dy));
}

void SetVelocityToward(GameObject& object, float targetX, float targetY, double speed, float& distance) {
  const double dx = static_cast<double>(targetX) - object.x;
  const double dy = static_cast<double>(targetY) - object.y;
  distance = DistanceTo(object, targetX, targetY);
  // On the target the direction is undefined: the velocity stays.
  if (distance == 0.0f) return;
  object.vx = static_cast<float>(dx / distance * speed);
  object.vy = static_cast<float>(dy / distance * speed);
}

namespace {

struct Vector {
  double x, y;
};

double Dot(Vector a, Vector b) { return a.x * b.x + a.y * b.y; }

Vector Turned(Vector v, float radians) {
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  return {c * v.x - s * v.y, s * v.x + c * v.y};
}

}  // namespace

void TurnToward(GameObject& object, float targetX, float targetY, float sideX, float sideY, double speed,
                double degrees, float& distance, bool turnOnTarget) {
  const float oldVx = object.vx;
  const float oldVy = object.vy;
  SetVelocityToward(object, targetX, targetY, speed, distance);
  TurnOrTakeDirect(object, oldVx, oldVy, sideX, sideY, degrees, turnOnTarget && distance == 0.0f);
}

void TurnOrTakeDirect(GameObject& object, float oldVx, float oldVy, float sideX, float sideY, double degrees,
                      bool alwaysTurn) {
  const Vector old{oldVx, oldVy};
  const Vector direct{object.vx, object.vy};
  const float limit = static_cast<float>(degrees * kRadiansPerDegree);
  const Vector plus = Turned(old, limit);
  const Vector minus = Turned(old, -limit);
  if (!alwaysTurn && Dot(old, plus) < Dot(old, direct)) return;
  const Vector side{static_cast<double>(sideX) - object.x, static_cast<double>(sideY) - object.y};
  const Vector turned = Dot(side, minus) > Dot(side, plus) ? minus : plus;
  object.vx = static_cast<float>(turned.x);
  object.vy = static_cast<float>(turned.y);
}

float AimAngle(const GameObject& object, float targetX, float targetY) {
  const float dy = static_cast<float>(static_cast<double>(targetY) - object.y);
  const float dx = static_cast<float>(static_cast<double>(targetX) - object.x);
  return std::atan2(dy, dx);
}

float CourseAngle(const GameObject& object) { return std::atan2(object.vy, object.vx); }

void FacePlayer(GameObject& object) { object.facing = Player().x > object.x ? 0 : 1; }

void Swirl(GameObject& swirl, const SwirlSteps& steps) {
  swirl.timer += steps.timerStep;
  swirl.scaleDelta = static_cast<float>(swirl.scaleDelta - steps.shrink);
  swirl.angle = static_cast<float>(swirl.angle + (swirl.phase + steps.spinBias) * swirl.phase2);
  if (swirl.timer < 80) swirl.fade = static_cast<float>(swirl.fade - steps.thinIn);
  if (swirl.timer > 80) swirl.fade = static_cast<float>(swirl.fade + steps.fadeOut);
}

void Fire(int templateId, const GameObject& object, double dx, double dy, int facing, int parentSlot) {
  const int x = DoubleToInt(object.x + dx);
  const int y = DoubleToInt(object.y + dy);
  CreateObject(templateId, x, y, facing, parentSlot);
}

void AgeAndCancelAfter(int slot, int limit) {
  ObjectPool[slot].workInt += 1;
  if (ObjectPool[slot].workInt > limit) CancelBullet(slot);
}

void ShowBulletFade(GameObject& object) {
  object.imageSet = 0;
  object.blendMode = 2;
  object.animation = 117;
  object.collidable = 0;
}

float ByFrameCycle(float cycle0, float cycle1, float cycle2, float cycle3, float otherwise) {
  switch (FrameCycle4) {
    case 0:
      return cycle0;
    case 1:
      return cycle1;
    case 2:
      return cycle2;
    case 3:
      return cycle3;
  }
  return otherwise;
}

void KeepInBossArena(GameObject& boss) {
  if (boss.x < 500.0f) boss.x = static_cast<float>(boss.x + 2.0);
  if (boss.x > 6000.0f) boss.x = static_cast<float>(boss.x - 2.0);
  if (boss.y < 500.0f) boss.y = static_cast<float>(boss.y + 1.0);
  if (boss.y > 1500.0f) boss.y = static_cast<float>(boss.y - 1.0);
}

void SwayAndMove(GameObject& object, double sway) {
  MoveStraight(object);
  object.phase2 = static_cast<float>(object.phase2 + 0.02);
  object.x = static_cast<float>(object.x + std::sin(object.phase2) * sway);
  object.x = static_cast<float>(static_cast<double>(object.x) + object.vx);
  object.facing = object.vx <= 0.0f ? 1 : 0;
}

void FloatOnSlowWaves(GameObject& body) {
  body.phase = static_cast<float>(body.phase + 0.01);
  body.y = static_cast<float>(body.y + std::sin(body.phase) * 1.2);
  body.phase2 = static_cast<float>(body.phase2 + 0.03);
  body.x = static_cast<float>(body.x + std::sin(body.phase2) * 0.7);
}

void PulseFade(float& fade, float& half, double step, float turnAt, float returnAt) {
  const bool rising = step > 0.0;
  if (half == 0.0f) {
    fade = static_cast<float>(fade + step);
    if (rising ? fade > turnAt : fade < turnAt) half = 1.0f;
  }
  if (half == 1.0f) {
    fade = static_cast<float>(fade - step);
    if (rising ? fade < returnAt : fade > returnAt) half = 0.0f;
  }
}

void WanderHitBox(GameObject& object) {
  object.fade = ByFrameCycle(0.0f, 30.0f, 60.0f, 40.0f, object.fade);
  switch (FrameCycle4) {
    case 0: {
      const int width = RandomInRange(150);
      object.hitWidth -= 50 + width;
      const int height = RandomInRange(150);
      object.hitHeight -= 50 + height;
      break;
    }
    case 1: {
      const int width = RandomInRange(300);
      object.hitWidth += width;
      const int height = RandomInRange(300);
      object.hitHeight += height;
      break;
    }
    case 2: {
      const int width = RandomInRange(300);
      object.hitWidth -= width;
      const int height = RandomInRange(300);
      object.hitHeight -= height;
      break;
    }
    case 3:
      object.hitWidth = object.width / 2;
      object.hitHeight = object.height / 2;
      break;
  }
}

bool BossTimeRunsOut(int slot, int clock, int interval) {
  GameObject& boss = ObjectPool[slot];
  if (clock % interval == 0) boss.coinDrop -= 1;
  if (boss.coinDrop >= 0) return false;
  ScreenFlash = 250.0f;
  CancelBullet(slot);
  return true;
}

void Explode(int slot, int times) {
  for (int i = 0; i < times; ++i) SpawnDeathEffects(slot);
}

void ExplodeIntoNextForm(int slot, int bursts, int nextKind) {
  Explode(slot, bursts);
  ObjectPool[slot].deathEffect = nextKind;
}

void DropDamageDebris(int slot, int clock, std::span<const DamageDebrisStep> steps) {
  for (const DamageDebrisStep& step : steps) {
    if (ObjectPool[slot].hitPoints < step.hitPointsBelow && clock % step.interval == 0) {
      Fire(2200, ObjectPool[slot], 0.0, 0.0, 0, slot);
    }
  }
}
