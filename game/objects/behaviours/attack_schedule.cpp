#include "objects/behaviours/attack_schedule.h"

#include "core/sound_control.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

int DrawIf(int spread) { return spread == 0 ? 0 : RandomInRange(spread); }

void FireShot(const ScheduledShot& shot, int slot) {
  FireSpread(shot.templateId, ObjectPool[slot], shot.dx, shot.spreadX, shot.dy, shot.spreadY, shot.facing,
             shot.parameter, shot.parameterSpread);
  if (shot.sound != 0) PlaySe(shot.sound, 255);
}

int FacingOf(const GameObject& boss, ShotFacing facing) {
  switch (facing) {
    case ShotFacing::Own:
      return boss.facing;
    case ShotFacing::AtPlayer:
      return boss.x > Player().x ? 1 : 0;
    case ShotFacing::Right:
      break;
  }
  return 0;
}

struct StreamWindow {
  float after, before;
  double dy;
  int speed;
};
constexpr StreamWindow kStreams[] = {{240.0f, 260.0f, -50.0, 5}, {250.0f, 270.0f, -50.0, 6},
                                     {260.0f, 280.0f, -50.0, 7}, {440.0f, 460.0f, 50.0, 7},
                                     {450.0f, 470.0f, 50.0, 8},  {460.0f, 480.0f, 50.0, 9}};
constexpr float kStreamCycleEnd = 480.0f;

}  // namespace

void RunAttackSteps(GameObject& boss, std::span<const AttackStep> events) {
  for (const AttackStep& event : events) {
    if (event.timer != boss.timer) continue;
    switch (event.action) {
      case AttackAction::Aim:
        SetVelocityTowardPlayer(boss, event.value, boss.work[0]);
        break;
      case AttackAction::AimThenWait: {
        SetVelocityTowardPlayer(boss, event.value, boss.work[0]);
        const int skipped = RandomInRange(100);
        boss.timer += skipped;
        break;
      }
      case AttackAction::Restart: {
        const int pause = RandomInRange(60);
        boss.timer = -pause;
        break;
      }
      case AttackAction::Fire:
        Fire(event.templateId, boss, 0.0, 0.0, FacingOf(boss, event.facing), event.value);
        break;
    }
    return;
  }
}

void FireAimedStreams(GameObject& boss) {
  boss.phase2 = static_cast<float>(boss.phase2 + 1.0);
  for (const StreamWindow& window : kStreams) {
    if (boss.phase2 > window.after && boss.phase2 < window.before) Fire(5019, boss, 0.0, window.dy, 0, window.speed);
  }
  if (boss.phase2 > kStreamCycleEnd) boss.phase2 = 0.0f;
}

void FireSpread(int templateId, const GameObject& boss, double dx, int spreadX, double dy, int spreadY, int facing,
                int parameter, int parameterSpread) {
  const int parameterDraw = DrawIf(parameterSpread);
  const int yDraw = DrawIf(spreadY);
  const int xDraw = DrawIf(spreadX);
  Fire(templateId, boss, dx + xDraw, dy + yDraw, facing, parameter + parameterDraw);
}

void FireSchedule(std::span<const ScheduledShot> schedule, int slot, int clock) {
  for (const ScheduledShot& shot : schedule) {
    if (clock < shot.from || clock > shot.to || clock % shot.every != 0) continue;
    for (int i = 0; i < shot.count; ++i) FireShot(shot, slot);
  }
}
