// The guard's recharge towards ready, and the blink of the last invulnerable frames.
#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/player_control_steps.h"
#include "core/player_support.h"

namespace {

constexpr int kFastRechargeTemplate = 2134;
constexpr int kGuardReadyTemplate = 2013;
constexpr float kReadyWindowLow = 1.0f, kReadyWindowHigh = 2.0f;
constexpr float kBlinkFrames = 360.0f;

// Before the first guarded hit (or after a shop purchase took the uses back to 0) the
// drain has nothing to divide by: the guard is simply ready, without its effect.
void DrainGuard(double drain, double uses) {
  GuardValue = uses == 0.0 ? 0.0f : static_cast<float>(GuardValue - drain / uses);
}

}  // namespace

void FastGuardRecharge() {
  if (!(TurboCharge > TurboChargeNeeded || GuardDrainPerk == 1)) return;
  if (GuardValue > 0.0f && Lives > 0.0f && FrameCycle4 == 1) {
    CreateAtPlayer(kFastRechargeTemplate, EffectFacing::kRight);
    DrainGuard(SpeedLevel * 0.5 + 0.9, GuardUses);
  }
}

void RechargeGuard() {
  if (GuardValue > 0.0f && Lives > 0.0f) DrainGuard(0.29, GuardUses / 1.5);
  // A drain that jumps past the window makes the guard ready without the bonus.
  if (GuardValue > kReadyWindowLow && GuardValue <= kReadyWindowHigh) {
    GuardValue = 0.0f;
    CreateAtPlayer(kGuardReadyTemplate, EffectFacing::kRight);
    if (Lives == 1.0f) {
      AddInfoBonus(2, 24000);
    } else {
      AddInfoBonus(1, 8000);
    }
  }
}

// Hidden for two frames, shown for two.
void BlinkWhileInvulnerable() {
  if (!(InvulnFrames > 0.0f && InvulnFrames < kBlinkFrames)) return;
  BlinkPhase += 1.0f;
  GameObject& player = ObjectPool[kPlayerSlot];
  if (BlinkPhase < 2.0f) player.fade = 254.0f;
  if (BlinkPhase > 2.0f) player.fade = 0.0f;
  if (BlinkPhase == 4.0f) BlinkPhase = 0.0f;
}
