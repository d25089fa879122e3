// The steps that behaviours share: moving, aiming, turning, firing, the bullet fade,
// the strobe clock and the boss clocks. Each computes in double from the record's
// float fields and stores its float result once; float to int goes through the
// library's truncation. Random draws are never made here: a behaviour draws each
// number into a named local, in its own order, before it fires.
#pragma once

#include <span>

#include "core/game_object.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "game_library.h"
#include "objects/objects.h"

constexpr double kRadiansPerDegree = 0.01745329238474369;

inline GameObject& Player() { return ObjectPool[kPlayerSlot]; }

// field += by, worked in double and stored as the field's float.
inline void AddTo(float& field, double by) { field = static_cast<float>(field + by); }

// x += vx, then y += vy.
void MoveStraight(GameObject& object);
// The straight move, then both velocity components divided by `damping`.
void MoveAndSlow(GameObject& object, double damping);
// Rings and flares whose scale changes ever faster: scaleDelta += direction x phase,
// fade += 2, phase += 0.01, then the straight move.
void ScaleAtGrowingRate(GameObject& object, double direction);

// The distance from the record to (targetX, targetY), its square root taken in float.
float DistanceTo(const GameObject& object, float targetX, float targetY);

// Velocity toward (targetX, targetY) at `speed`; the distance is stored into
// `distance`. At distance 0 the distance stored is 0.0 and the velocity stays.
void SetVelocityToward(GameObject& object, float targetX, float targetY, double speed, float& distance);
inline void SetVelocityTowardPlayer(GameObject& object, double speed, float& distance) {
  SetVelocityToward(object, Player().x, Player().y, speed, distance);
}

// Turn toward (targetX, targetY) by at most `degrees`: the direct velocity at `speed`
// (distance into `distance`) is taken when it lies closer to the old course than a
// turn by the limit; otherwise the old velocity turns by +limit or -limit, whichever
// points more toward (sideX, sideY), +limit on a tie, keeping its length. On the target
// the old velocity stays, unless `turnOnTarget` asks for the turned path there too.
void TurnToward(GameObject& object, float targetX, float targetY, float sideX, float sideY, double speed,
                double degrees, float& distance, bool turnOnTarget = false);
// The second half of that turn, for a direct velocity formed otherwise: the record's
// velocity already holds the direct one, (oldVx, oldVy) the course before it.
// `alwaysTurn` turns even where the direct velocity would be taken.
void TurnOrTakeDirect(GameObject& object, float oldVx, float oldVy, float sideX, float sideY, double degrees,
                      bool alwaysTurn = false);
inline void TurnTowardPlayer(GameObject& object, double speed, double degrees, float& distance) {
  TurnToward(object, Player().x, Player().y, Player().x, Player().y, speed, degrees, distance);
}

// atan2 of the way from the record to (targetX, targetY).
float AimAngle(const GameObject& object, float targetX, float targetY);
// atan2(vy, vx): the picture points along the flight.
float CourseAngle(const GameObject& object);
// facing 0 when the player is to the right, else 1.
void FacePlayer(GameObject& object);

// An appearance swirl's frame: timer += timerStep, shrink, spin by (phase + spinBias)
// x phase2 (the two records of a pair carry phase2 +1 and -1), thin in before timer 80
// and fade out after it.
struct SwirlSteps {
  int timerStep;
  double shrink;
  double spinBias;
  double thinIn;
  double fadeOut;
};
void Swirl(GameObject& swirl, const SwirlSteps& steps);

// CreateObject at the record's position plus (dx, dy), truncated after the sum.
void Fire(int templateId, const GameObject& object, double dx, double dy, int facing, int parentSlot);

// An enemy's age in work[4]: one more; past `limit` it leaves like a cancelled bullet.
void AgeAndCancelAfter(int slot, int limit);

// A lifetime's end for bullets: drawn as the fade row, which deletes the record.
void ShowBulletFade(GameObject& object);

// The value of the strobe clock's phase (FrameCycle4 0..3); `otherwise` for any
// other value of the clock.
float ByFrameCycle(float cycle0, float cycle1, float cycle2, float cycle3, float otherwise);

// The big bosses' arena: outside x 500..6000 a boss is pushed back 2 a frame,
// outside y 500..1500 by 1; its own velocity still acts.
void KeepInBossArena(GameObject& boss);

// The swaying flight of dragons and drones: straight move, phase2 += 0.02, a sway of
// sin(phase2) x `sway` and the horizontal velocity once more; facing from vx.
void SwayAndMove(GameObject& object, double sway);

// The slow float of the big stage 8 bodies: phase += 0.01, y += sin(phase) x 1.2,
// then phase2 += 0.03, x += sin(phase2) x 0.7.
void FloatOnSlowWaves(GameObject& body);

// A glow's pulse on `fade`, `half` (0.0 or 1.0) the half it is in: in half 0 fade
// moves by `step` until it passes `turnAt`, then in half 1 back by `step` until it
// passes `returnAt`. Both halves run in one frame, so a turn takes effect at once.
void PulseFade(float& fade, float& half, double step, float turnAt, float returnAt);

// The stage 8 bosses' armour flicker: fade 0, 30, 60, 40 by FrameCycle4 while the hit
// box wanders (-(50 + R(150)), +R(300), -R(300), then half the sprite again); the
// width's draw comes first.
void WanderHitBox(GameObject& object);

// A boss's coinDrop is also its time left: it loses 1 whenever `clock` is a multiple
// of `interval`; below 0 the boss withdraws (blue flash, cancelled like a bullet) and
// this returns true.
bool BossTimeRunsOut(int slot, int clock, int interval);

// SpawnDeathEffects `times` times in a row on the slot, each with its own draws.
void Explode(int slot, int times);
// A boss's change of form: it explodes `bursts` times with the kind it has so far,
// then carries the kind of its next form.
void ExplodeIntoNextForm(int slot, int bursts, int nextKind);

// Debris bursts (template 2200 on the boss) while hit points are below a threshold,
// on every multiple of that threshold's interval; the tests are independent.
struct DamageDebrisStep {
  int hitPointsBelow;
  int interval;
};
void DropDamageDebris(int slot, int clock, std::span<const DamageDebrisStep> steps);
