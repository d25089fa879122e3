#include "objects/behaviours/boss_schedule.h"

#include "core/sound_control.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

int DrawIf(int spread) { return spread == 0 ? 0 : RandomInRange(spread); }

void FireShot(const ScheduledShot& shot, int slot) {
  const GameObject& boss = ObjectPool[slot];
  const int parameterDraw = DrawIf(shot.parameterSpread);
  const int yDraw = DrawIf(shot.spreadY);
  const int xDraw = DrawIf(shot.spreadX);
  Fire(shot.templateId, boss, shot.dx + xDraw, shot.dy + yDraw, shot.facing, shot.parameter + parameterDraw);
  if (shot.sound != 0) PlaySe(shot.sound, 255);
}

}  // namespace

void FireSchedule(std::span<const ScheduledShot> schedule, int slot, int clock) {
  for (const ScheduledShot& shot : schedule) {
    if (clock < shot.from || clock > shot.to || clock % shot.every != 0) continue;
    for (int i = 0; i < shot.count; ++i) FireShot(shot, slot);
  }
}
