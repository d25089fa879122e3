// Bosses' firing schedules as tables: each row fires while the boss's clock lies in
// its window (every frame or on multiples of `every`), one or more shots of one
// template, each at the boss's position plus an offset with an optional random spread,
// with a parameter that may also be spread. The draws of one shot are made parameter
// first, then y, then x; a spread of 0 draws nothing.
#pragma once

#include <array>
#include <span>

#include "core/game_object.h"

struct ScheduledShot {
  int from, to;   // window of the clock, both ends included
  int every;      // fires when clock % every == 0
  int templateId;
  int count;      // shots per firing frame
  double dx;
  int spreadX;    // x = x + dx + R(spreadX)
  double dy;
  int spreadY;
  int facing;
  int parameter;
  int parameterSpread;  // parameter + R(parameterSpread)
  int sound;            // PlaySe(sound, 255) after each shot; 0 none
};

// Fires every row whose window holds `clock`, in table order.
void FireSchedule(std::span<const ScheduledShot> schedule, int slot, int clock);

// One shot of such a row: templateId at the boss plus (dx + R(spreadX), dy + R(spreadY))
// with parameter + R(parameterSpread), drawn in that order from the last.
void FireSpread(int templateId, const GameObject& boss, double dx, int spreadX, double dy, int spreadY, int facing,
                int parameter, int parameterSpread);

// One-frame events of a boss's clock: aim at the player (distance into work[0]),
// aim then skip R(100) frames, restart after a pause of R(60), or fire one bullet.
enum class AttackAction { Aim, AimThenWait, Restart, Fire };
// Which way a fired bullet faces: 0, the boss's own facing, or toward the player.
enum class ShotFacing { Right, Own, AtPlayer };

struct AttackStep {
  int timer;
  AttackAction action;
  int value;  // the aim's speed, or the bullet's parameter
  int templateId = 0;
  ShotFacing facing = ShotFacing::Right;
};

constexpr AttackStep Aim(int timer, int speed) { return {timer, AttackAction::Aim, speed}; }
constexpr AttackStep AimThenWait(int timer, int speed) { return {timer, AttackAction::AimThenWait, speed}; }
constexpr AttackStep RestartAt(int timer) { return {timer, AttackAction::Restart, 0}; }
constexpr AttackStep Shot(int timer, int templateId, ShotFacing facing, int parameter) {
  return {timer, AttackAction::Fire, parameter, templateId, facing};
}

// The attack cycle that the stage 6 bosses and the stage 8 gunship share: an aim at 20;
// a near volley of three shots, repeated 100 frames later; a second aim; a far volley
// 50, 60, 70, 150, 160 and 170 frames after it; at 200 after it an aim that skips up to
// 100 frames; then the restart.
struct Volley {
  int templateId;
  ShotFacing facing;
  int parameters[6];  // a near volley uses the first three twice
};
struct AttackCycle {
  int firstAim;  // speed
  Volley near;
  int nearAt, nearEvery;
  int secondAimAt, secondAim;
  Volley far;
  int lastAim;
  int restartAt;
};

constexpr std::array<AttackStep, 16> CycleOf(const AttackCycle& cycle) {
  std::array<AttackStep, 16> steps{};
  int i = 0;
  steps[i++] = Aim(20, cycle.firstAim);
  for (int k = 0; k < 6; ++k) {
    const int timer = cycle.nearAt + k / 3 * 100 + k % 3 * cycle.nearEvery;
    steps[i++] = Shot(timer, cycle.near.templateId, cycle.near.facing, cycle.near.parameters[k % 3]);
  }
  steps[i++] = Aim(cycle.secondAimAt, cycle.secondAim);
  for (int k = 0; k < 6; ++k) {
    const int timer = cycle.secondAimAt + 50 + k / 3 * 100 + k % 3 * 10;
    steps[i++] = Shot(timer, cycle.far.templateId, cycle.far.facing, cycle.far.parameters[k]);
  }
  steps[i++] = AimThenWait(cycle.secondAimAt + 200, cycle.lastAim);
  steps[i++] = RestartAt(cycle.restartAt);
  return steps;
}

// Fans of the boss's facing, then rings: the second stage 6 boss opens with it.
inline constexpr auto kFanAndRingCycle = CycleOf({1, {5027, ShotFacing::Own, {35, 40, 45}}, 105, 5, 300, 1,
                                                  {5012, ShotFacing::Right, {20, 25, 30, 30, 35, 40}}, 4, 660});

// Runs the event of `events` at the boss's current timer, if there is one.
void RunAttackSteps(GameObject& boss, std::span<const AttackStep> events);

// The aimed 5019 streams of the stage 6 bosses and the gunship: phase2 counts a
// 481-frame cycle whose strict windows fire up to three bullets a frame.
void FireAimedStreams(GameObject& boss);
