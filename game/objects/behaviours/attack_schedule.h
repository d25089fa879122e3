// Bosses' firing schedules as tables: each row fires while the boss's clock lies in
// its window (every frame or on multiples of `every`), one or more shots of one
// template, each at the boss's position plus an offset with an optional random spread,
// with a parameter that may also be spread. The draws of one shot are made parameter
// first, then y, then x; a spread of 0 draws nothing.
#pragma once

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

// The cycle of aimed fans and rings that the second stage 6 boss opens with and the
// stage 8 gunship repeats.
inline constexpr AttackStep kFanAndRingCycle[] = {
    Aim(20, 1),
    Shot(105, 5027, ShotFacing::Own, 35),
    Shot(110, 5027, ShotFacing::Own, 40),
    Shot(115, 5027, ShotFacing::Own, 45),
    Shot(205, 5027, ShotFacing::Own, 35),
    Shot(210, 5027, ShotFacing::Own, 40),
    Shot(215, 5027, ShotFacing::Own, 45),
    Aim(300, 1),
    Shot(350, 5012, ShotFacing::Right, 20),
    Shot(360, 5012, ShotFacing::Right, 25),
    Shot(370, 5012, ShotFacing::Right, 30),
    Shot(450, 5012, ShotFacing::Right, 30),
    Shot(460, 5012, ShotFacing::Right, 35),
    Shot(470, 5012, ShotFacing::Right, 40),
    AimThenWait(500, 4),
    RestartAt(660)};

// Runs the event of `events` at the boss's current timer, if there is one.
void RunAttackSteps(GameObject& boss, std::span<const AttackStep> events);

// The aimed 5019 streams of the stage 6 bosses and the gunship: phase2 counts a
// 481-frame cycle whose strict windows fire up to three bullets a frame.
void FireAimedStreams(GameObject& boss);
