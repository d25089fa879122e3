// The options in slots 31-36: each frame an experience trickle, a move by the chosen
// movement type and the chosen shot while the first action is held.
#include <cmath>

#include "core/game_rules.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

constexpr int kTrailStepsPerOption = 7;
constexpr int kTrickleCap = 14400;
constexpr int kTrickleSparkle = 2192;
constexpr int kFirstOption = kFirstOptionSlot;
constexpr int kSteeredOptions = 4;  // Formation, Guard and Rolling move options 1-4 only
constexpr double kTurnLimitDegrees = 70.0;
constexpr int kRollingRestRadius = 80;
constexpr int kRollingWideRadius = 130;

void Trickle(int slot) {
  GameObject& option = ObjectPool[slot];
  const int period = OptionLevel < 5 ? 1440 : 1200;
  if (TimelineHalt != 0.0f) return;
  if (option.timer < kTrickleCap) option.timer += 1;
  if (option.timer % period != 0) return;
  ExpGauge = static_cast<float>(ExpGauge + 3.2);
  CreateObject(kTrickleSparkle, 0, 0, 0, slot);
  CheckLevelUp();
  option.timer += 1;
}

// Offsets from the player of each option's point: x by the player's facing, y, and
// the divisor of the distance covered per frame.
struct SteeringPoint {
  int xFacingRight;
  int xFacingLeft;
  int y;
  int divisor;
};
constexpr SteeringPoint kFormation[kSteeredOptions] = {
    {-40, 40, -70, 4}, {-40, 40, 70, 4}, {-70, 70, -120, 8}, {-70, 70, 120, 8}};
constexpr SteeringPoint kGuard[kSteeredOptions] = {
    {140, -150, -40, 2}, {140, -150, 40, 2}, {110, -120, -80, 3}, {110, -120, 80, 3}};

void SteerTo(GameObject& option, const SteeringPoint& point) {
  const GameObject& player = Player();
  const int offsetX = player.facing == 0 ? point.xFacingRight : point.xFacingLeft;
  const float targetX = static_cast<float>(DoubleToInt(static_cast<double>(player.x) + offsetX));
  const float targetY = static_cast<float>(DoubleToInt(static_cast<double>(player.y) + point.y));
  const double dx = static_cast<double>(targetX) - option.x;
  const double dy = static_cast<double>(targetY) - option.y;
  const float distance = std::sqrt(static_cast<float>(dx * dx + dy * dy));
  TurnToward(option, targetX, targetY, player.x, player.y, static_cast<double>(distance) / point.divisor,
             kTurnLimitDegrees, option.phase, true);
  MoveStraight(option);
}

// Angle offset of each option on the Rolling circle from option 1's angle.
constexpr double kRollingAngles[kSteeredOptions] = {0.0, 3.0, 1.5, 4.5};

void Roll(int slot, GameObject& option) {
  if (ActionHold[1] > 0 && BehaviourParam80 < kRollingWideRadius) BehaviourParam80 += 1;
  if (ActionHold[1] == 0 && BehaviourParam80 > kRollingRestRadius) BehaviourParam80 -= 1;
  GameObject& first = ObjectPool[kFirstOption];
  if (slot == kFirstOption) first.phase = static_cast<float>(first.phase - 0.08);
  // The angle is a float and its sine and cosine are single precision.
  const float angle = static_cast<float>(first.phase + kRollingAngles[slot - kFirstOption]);
  const GameObject& player = Player();
  option.x = static_cast<float>(player.x + BehaviourParam80 * static_cast<double>(std::sin(angle)));
  option.y = static_cast<float>(player.y + BehaviourParam80 * static_cast<double>(std::cos(angle)));
}

void Move(int slot) {
  GameObject& option = ObjectPool[slot];
  const int number = slot - kFirstOptionSlot + 1;
  if (OptionType == 0) {
    option.x = PlayerTrailX[kTrailStepsPerOption * number];
    option.y = PlayerTrailY[kTrailStepsPerOption * number];
    return;
  }
  if (number > kSteeredOptions) return;  // options 5 and 6 exist for Trace only
  switch (OptionType) {
    case 1:
      SteerTo(option, kFormation[number - 1]);
      break;
    case 2:
      Roll(slot, option);
      break;
    case 3:
      SteerTo(option, kGuard[number - 1]);
      break;
  }
}

struct OptionShotRow {
  int step;
  bool fasterWhenReleased;
  int reloadBelowLevel5;
  int reloadFromLevel5;
  int burst;
  int gap;
  int templateBelowLevel5;
  int templateFromLevel5;
  bool passesSlot;  // else the parameter is 0
};
constexpr OptionShotRow kOptionShots[] = {
    {3, true, 36, 26, 2, 2, 2156, 2219, false},  // WizardSpike
    {2, true, 3, 3, 4, 3, 2157, 2220, true},     // MithrilPoint
    {2, true, 20, 20, 6, 3, 2159, 2222, true},   // LidlessWall
    {2, false, 1, 1, 10, 2, 2173, 2221, true},   // WispProjector
};

void Shoot(int slot) {
  if (OptionShot < 0 || OptionShot >= static_cast<int>(std::size(kOptionShots))) return;
  const OptionShotRow& shot = kOptionShots[OptionShot];
  const bool highLevel = OptionLevel >= 5;
  int& reload = OptionFireTimer[slot];
  int& burstLeft = OptionBurstLeft[slot];
  int& gap = OptionBurstGap[slot];
  if (reload > 0) reload -= shot.step;
  if (reload > 0 && ActionHold[0] == 0 && shot.fasterWhenReleased) reload -= shot.step;
  if (ActionHold[0] > 0 && reload <= 0) {
    reload = highLevel ? shot.reloadFromLevel5 : shot.reloadBelowLevel5;
    burstLeft = shot.burst;
  }
  if (gap > 0) gap -= 1;
  if (burstLeft > 0 && gap == 0) {
    burstLeft -= 1;
    gap = shot.gap;
    Fire(highLevel ? shot.templateFromLevel5 : shot.templateBelowLevel5, ObjectPool[slot], 0.0, 0.0, Player().facing,
         shot.passesSlot ? slot : 0);
  }
}

void Option(int slot) {
  if (slot < kFirstOptionSlot || slot > kLastOptionSlot) return;  // the counters are kept per option slot
  Trickle(slot);
  Move(slot);
  Shoot(slot);
}

constexpr BehaviourEntry kEntries[] = {{4083, &Option}};

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
