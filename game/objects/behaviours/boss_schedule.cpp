#include "objects/behaviours/boss_schedule.h"

#include "core/sound_control.h"
#include "objects/behaviours/attack_schedule.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

void FireEvent(int slot, const BossEvent& event, int runIndex) {
  for (int call = 0; call < event.calls; ++call) {
    int parameter = event.parameter + event.parameterStep * runIndex + event.callStep * call;
    if (event.parameterRun != nullptr) parameter += event.parameterRun[runIndex];
    FireSpread(event.templateId, ObjectPool[slot], event.dx, event.spreadX, event.dy, event.spreadY, event.facing,
               parameter, event.parameterDraw);
  }
}

}  // namespace

void RunBossSchedule(int slot, std::span<const BossEvent> events, int& clock) {
  for (const BossEvent& event : events) {
    if (clock < event.first || clock > event.last || (clock - event.first) % event.every != 0) continue;
    const int runIndex = (clock - event.first) / event.every;
    switch (event.action) {
      case EventAction::kFire:
        FireEvent(slot, event, runIndex);
        break;
      case EventAction::kSound:
        PlaySe(event.templateId, 255);
        break;
      case EventAction::kRestart:
        clock = 0;
        break;
    }
  }
}

void RunBossSchedule(int slot, std::span<const BossEvent> events, float& clock) {
  int whole = FloatToInt(clock);
  RunBossSchedule(slot, events, whole);
  if (whole == 0) clock = 0.0f;
}
