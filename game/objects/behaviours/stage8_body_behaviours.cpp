// The giant stage 8 body on slot 10 (fade-in, the composite boss's call, drift, shake
// and the closing white-out), the core that rides on it and the player glow.
#include <array>

#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "core/sound_control.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"
#include "objects/behaviours/attack_schedule.h"

namespace {

constexpr int kBodySlot = 10;
constexpr int kBodyCoinEvery = 120;
constexpr int kClosingEndsAfter = 280;  // FlashFade

// Shake impulses on multiples of `every`, stronger while group 2 is crowded.
struct ShakeImpulse {
  int every;
  int slowdown;
  double amount;
  double crowdedExtra;
};
constexpr ShakeImpulse kImpulses[] = {{800, 8, 160.0, 100.0}, {2400, 12, 240.0, 200.0}};
constexpr int kCrowdedAbove = 4;

void CallCompositeWhenFadedIn(GameObject& body) {
  if (body.work[1] != 0.0f || body.fade > 0.0f) return;
  ScreenFlash = 255.0f;
  CreateObject(1097, 3000, 800, 0, 1);
  body.work[1] = 1.0f;
  body.work[0] = static_cast<float>(body.work[0] + 200.0);
}

void Shake(GameObject& body) {
  for (const ShakeImpulse& impulse : kImpulses) {
    if (body.workInt % impulse.every != 0) continue;
    PlaySe(116, 255);
    RequestSlowdown(impulse.slowdown);
    body.work[0] = static_cast<float>(body.work[0] + impulse.amount);
    if (CountEnemiesInGroup2() > kCrowdedAbove) body.work[0] = static_cast<float>(body.work[0] + impulse.crowdedExtra);
  }
  const double amount = body.work[0];
  const int steps = FloatToInt(body.work[0]);
  if (steps <= 0) return;
  const double sign = steps % 2 == 0 ? 1.0 : -1.0;
  body.y = static_cast<float>(body.y + sign * (amount / 6.0 + 3.0));
  const int jitter = RandomInRange(12);
  body.x = static_cast<float>(body.x + sign * (jitter - 6));
  body.work[0] = static_cast<float>(body.work[0] - 1.0);
}

// Every frame until the white fade passes 280: explosions, no bullets, a white box;
// then the body goes, the backdrop moves on and every enemy left is cancelled.
void Close() {
  CancelAllBullets();
  Explode(kBodySlot, 2);
  SetBlendMode(1, 100);
  DrawRect(0, 0, 1024, 768, MakeScreenColor(255, 255, 255), 1);
  if (FlashFade <= kClosingEndsAfter) return;
  ResetObject(kBodySlot);
  EndFadeTimer = 280;
  FlashFade = 0;
  EndBackdropPhase = 3;
  EndBackdropTimer = 0;
  CreateObject(2225, 0, 0, 0, 1);
  for (int slot = 0; slot < kPoolSize; ++slot) {
    if (ObjectPool[slot].category == kCategoryEnemy) CancelBullet(slot);
  }
}

void CarryTheCore(int slot) {
  GameObject& body = ObjectPool[slot];
  body.fade = static_cast<float>(body.fade - 0.3);
  CallCompositeWhenFadedIn(body);
  body.x = static_cast<float>(body.x + (Player().x > body.x ? 0.05 : -0.05));
  body.workInt += 1;
  if (body.workInt % kBodyCoinEvery == 0) body.coinDrop -= 1;
  if (body.coinDrop < 0) {
    ScreenFlash = 250.0f;
    SpawnDeathEffects(kBodySlot);
  }
  FloatOnSlowWaves(body);
  Shake(body);
  if (body.work[2] == 1.0f) Close();
}

constexpr ScheduledShot kShieldedVolleys[] = {{3, 499, 3, 5014, 1, 0, 0, 0, 0, 0, 60, 0, 0}};
constexpr int kShieldedCancelsBelow = 300;
constexpr int kShieldedCycleAfter = 600;
constexpr int kShieldedRestartAt = 300;
constexpr int kSecondPhaseBelow = 48000;
constexpr int kPhaseChangeBursts = 30;

// The second phase: triple volleys, then 17 spread rings with rising parameters.
constexpr std::array<ScheduledShot, 20> ExposedShots() {
  std::array<ScheduledShot, 20> rows{};
  int i = 0;
  for (int parameter : {40, 60, 80}) rows[i++] = {3, 199, 3, 5014, 1, 0, 0, 0, 0, 0, parameter, 0, 0};
  int parameter = 12;
  for (int timer = 82; timer <= 120; timer += timer < 100 ? 3 : 2) {
    rows[i++] = {timer, timer, 1, 5012, 1, -50, 100, -50, 100, 0, parameter, 0, 0};
    parameter += 3;
  }
  return rows;
}
constexpr auto kExposedShots = ExposedShots();
constexpr int kExposedSlowdownAt = 82;
constexpr int kExposedCycle = 240;
constexpr double kCoreRange = 1600.0;

void ChangeToSecondPhase(int slot) {
  GameObject& core = ObjectPool[slot];
  CancelAllBullets();
  PlaySe(89, 255);
  core.timer = 0;
  core.work[0] = 1.0f;
  core.imageSet = 52;
  core.blendMode = 2;
  ScreenFlash = 255.0f;
  GameObject& body = ObjectPool[kBodySlot];
  body.work[0] = static_cast<float>(body.work[0] + 250.0);
  ExplodeIntoNextForm(slot, kPhaseChangeBursts, 12);
}

void DefendTheBody(int slot) {
  GameObject& core = ObjectPool[slot];
  core.x = static_cast<float>(static_cast<double>(ObjectPool[kBodySlot].x) + core.phase);
  core.y = static_cast<float>(static_cast<double>(ObjectPool[kBodySlot].y) + core.phase2);
  WanderHitBox(core);
  if (core.work[0] == 0.0f) {
    core.timer += 1;
    if (core.timer < kShieldedCancelsBelow) CancelAllBullets();
    FireSchedule(kShieldedVolleys, slot, core.timer);
    if (core.timer > kShieldedCycleAfter) core.timer = kShieldedRestartAt;
    if (core.hitPoints < kSecondPhaseBelow) ChangeToSecondPhase(slot);
  }
  const double playerX = Player().x;
  if (core.work[0] != 1.0f || playerX <= core.x - kCoreRange || playerX >= core.x + kCoreRange) return;
  core.timer += 1;
  FireSchedule(kExposedShots, slot, core.timer);
  if (core.timer == kExposedSlowdownAt) RequestSlowdown(8);
  if (core.timer == kExposedCycle) core.timer = 0;
}

void SpinOnPlayer(int slot) {
  GameObject& glow = ObjectPool[slot];
  glow.x = Player().x;
  glow.y = Player().y;
  glow.angle = static_cast<float>(glow.angle + (glow.phase2 + 0.002));
  PulseFade(glow.fade, glow.phase, -1.0, 150.0f, 250.0f);
}

constexpr BehaviourEntry kEntries[] = {{3096, &DefendTheBody}, {3097, &CarryTheCore}, {4135, &SpinOnPlayer}};

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
