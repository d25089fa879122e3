// The stage bosses' firing schedules, written as tables of events on a clock: runs of
// frames with stepped parameters, salvos, sounds and restarts.
#pragma once

#include <span>

#include "core/game_object.h"

enum class EventAction {
  kFire,     // templateId at the boss plus (dx + R(spreadX), dy + R(spreadY))
  kSound,    // PlaySe(templateId, 255)
  kRestart,  // the clock becomes 0; later events see 0
};

// One row of a schedule: on clock values first, first + every, ... last.
struct BossEvent {
  int first, last, every;
  EventAction action;
  int templateId;  // or the sound number
  int parameter;
  int parameterStep;  // + this for each earlier value of the run
  int parameterDraw;  // + R(this), drawn first, when not 0
  const int* parameterRun = nullptr;  // + run[k] for the run's k-th value
  int calls = 1;      // calls in a row (a salvo), parameter + callStep x i
  int callStep = 0;
  float dx = 0.0f, dy = 0.0f;
  int facing = 0;
  int spreadX = 0, spreadY = 0;  // drawn after the parameter: y first
};

constexpr BossEvent At(int frame, int templateId, int parameter) {
  return {frame, frame, 1, EventAction::kFire, templateId, parameter, 0, 0};
}
constexpr BossEvent Every(int first, int last, int every, int templateId, int parameter, int parameterStep = 0) {
  return {first, last, every, EventAction::kFire, templateId, parameter, parameterStep, 0};
}
// Every frame within ±100 of the boss.
constexpr BossEvent AtRandom(int first, int last, int templateId, int parameter, int parameterDraw) {
  BossEvent event{first, last, 1, EventAction::kFire, templateId, parameter, 0, parameterDraw};
  event.dx = event.dy = -100.0f;
  event.spreadX = event.spreadY = 200;
  return event;
}
constexpr BossEvent Sound(int first, int last, int every, int se) {
  return {first, last, every, EventAction::kSound, se, 0, 0, 0};
}
constexpr BossEvent Restart(int frame) { return {frame, frame, 1, EventAction::kRestart, 0, 0, 0, 0}; }
constexpr BossEvent From(BossEvent event, float dx, float dy, int facing = 0) {
  event.dx = dx;
  event.dy = dy;
  event.facing = facing;
  return event;
}
constexpr BossEvent Salvo(BossEvent event, int calls, int callStep) {
  event.calls = calls;
  event.callStep = callStep;
  return event;
}
constexpr BossEvent WithRun(BossEvent event, const int* run) {
  event.parameterRun = run;
  return event;
}

// Runs every row whose values hold `clock`, in the table's order.
void RunBossSchedule(int slot, std::span<const BossEvent> events, int& clock);
// The same on a clock kept as a whole-valued float (a work word).
void RunBossSchedule(int slot, std::span<const BossEvent> events, float& clock);
