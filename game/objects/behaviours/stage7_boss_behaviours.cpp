// The stage 7 boss: a body on slot 10 that drifts toward the player, smokes as it
// weakens and escapes when its coins run out, and its pulsing glow on slot 12.
#include <cmath>

#include "core/game_state.h"
#include "core/object_pool.h"
#include "core/sound_control.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

constexpr int kBodySlot = 10;
constexpr int kGlowSlot = 12;
constexpr int kCoinEvery = 100;
constexpr DamageDebrisStep kSmoke[] = {{10000, 30}, {5000, 20}, {2500, 15}};

void DriftTowardPlayer(GameObject& boss) {
  const double dx = Player().x > boss.x ? 0.2 : -0.2;
  const double dy = Player().y > boss.y ? 0.05 : -0.01;
  boss.x = static_cast<float>(boss.x + dx);
  boss.y = static_cast<float>(boss.y + dy);
}

void Escape() {
  WhiteOutCounter = 1;
  CancelBullet(kGlowSlot);
  SetBgmFade(2, kFadeOutStopSlow);
}

void DriftAndSmoke(int slot) {
  GameObject& boss = ObjectPool[slot];
  boss.fade = ByFrameCycle(0.0f, 50.0f, 100.0f, 0.0f, boss.fade);
  DriftTowardPlayer(boss);
  boss.workInt += 1;
  // The escape flashes and cancels the body itself; the rest of the frame still runs.
  if (BossTimeRunsOut(slot, boss.workInt, kCoinEvery)) Escape();
  DropDamageDebris(slot, boss.workInt, kSmoke);
  Fire(2206, boss, 0.0, 0.0, boss.facing, 0);
  boss.phase = static_cast<float>(boss.phase + 0.02);
  boss.y = static_cast<float>(boss.y + std::sin(boss.phase) * 1.0);
  boss.x = static_cast<float>(static_cast<double>(boss.x) + boss.vx);
  FreeObjectIfOffWorld(slot);
}

// Fades out and back in steps of 3 between about 10 and 200, following the body.
void PulseGlow(int) {
  GameObject& glow = ObjectPool[kGlowSlot];
  const GameObject& body = ObjectPool[kBodySlot];
  glow.x = body.x;
  glow.y = body.y;
  PulseFade(glow.fade, glow.phase, 3.0, 200.0f, 10.0f);
}

constexpr BehaviourEntry kEntries[] = {{3074, &DriftAndSmoke}, {4122, &PulseGlow}};

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
