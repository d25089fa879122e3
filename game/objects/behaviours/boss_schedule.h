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
