// The dash on action 2, charged when the turbo charge was complete, and the turbo
// charge that counts up between dashes.
#include <algorithm>

#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/object_pool.h"
#include "core/player_control_steps.h"
#include "core/player_support.h"
#include "core/sound_control.h"

namespace {

constexpr int kDashCooldown = 30;
constexpr int kEarlyReleaseBase = 18;  // minus TurboLevel

// Charge frames a dash asks of the next, by SpeedLevel, less the quick-charge perk's.
constexpr std::array<int, 9> kChargeNeeded = {130, 120, 110, 105, 100, 95, 90, 85, 80};
constexpr std::array<int, 9> kQuickChargeSaving = {30, 30, 30, 30, 28, 26, 24, 22, 20};
constexpr int kChargeNeededOther = 80;
constexpr int kQuickChargeSavingOther = 20;
// Invulnerability frames a charged dash adds, by SpeedLevel.
constexpr std::array<int, 9> kChargedInvulnerability = {30, 40, 50, 60, 64, 68, 72, 76, 80};
constexpr int kChargedInvulnerabilityOther = 80;
// The dash burst by TurboLevel; other levels dash without one.
constexpr std::array<int, 9> kBurstTemplate = {2119, 2120, 2121, 2123, 2124, 2125, 2126, 2127, 2128};
constexpr std::array<int, 9> kBurstSe = {54, 55, 55, 56, 56, 57, 57, 57, 47};
constexpr int kNoBurst = 0;
constexpr int kChargedBurstParent = 1;  // the burst templates read it as the charged mark

constexpr int kChargedSe = 47;
constexpr int kChargedTemplates[] = {2167, 2136};
constexpr int kChargeCompleteTemplates[] = {2118, 2133};
constexpr int kChargeCompleteHighTemplate = 2251;  // above TurboLevel 3
constexpr int kChargeCompleteSe = 49;

void StrikeDashPose() {
  GameObject& player = ObjectPool[kPlayerSlot];
  const int pose = RandomInRange(1);
  player.animation = pose == 0 ? 28 : 29;
  PlayerIdleTimer = pose == 0 ? 21 : 29;
  player.animStep = 0;
  player.animTimer = 0;
}

void ChargedDash() {
  PlaySe(kChargedSe, 255);
  BoostSpeed = static_cast<float>(TurboLevel * 3.5 + 10.0);
  BoostFactor = 2;
  ResetObject(kTurboReadySlot);
  for (const int effect : kChargedTemplates) CreateAtPlayer(effect);
  FireIdleFrames = 0;
  MagnetBonus = 0;
  VibratePad(1000, TurboLevel + 10);
  InvulnFrames += static_cast<float>(ByTrackLevel(kChargedInvulnerability, SpeedLevel, kChargedInvulnerabilityOther));
}

void StartDash() {
  BoostSpeed = static_cast<float>(TurboLevel * 1.7 + 6.0);
  DashCooldown = kDashCooldown;
  ShotReload = MainShotTimer = MainShotBurst = 0;
  VibratePad(1000, TurboLevel + 5);
  StrikeDashPose();
  TurboChargeNeeded = ByTrackLevel(kChargeNeeded, SpeedLevel, kChargeNeededOther) -
                      QuickChargePerk * ByTrackLevel(kQuickChargeSaving, SpeedLevel, kQuickChargeSavingOther);
  const bool charged = TurboChargeNeeded < TurboCharge;
  if (charged) ChargedDash();
  const int burst = ByTrackLevel(kBurstTemplate, TurboLevel, kNoBurst);
  if (burst != kNoBurst) {
    CreateAtPlayer(burst, EffectFacing::kPlayer, charged ? kChargedBurstParent : 0);
    PlaySe(kBurstSe[TurboLevel - 1], 255);
  }
  TurboCharge = 0;
  BoostFactor = 1;
}

}  // namespace

void UpdateDash() {
  if (ActionHold[kActionFire] == 0 && ActionHold[kActionSecond] == 0 && DashCooldown < kEarlyReleaseBase - TurboLevel) {
    DashCooldown = 0;
  }
  if (ActionHold[kActionSecond] >= 1 && DashCooldown == 0) StartDash();
  // The dash speed may end a little below 0 and stays there.
  if (BoostSpeed > 0.0f) BoostSpeed = static_cast<float>(BoostSpeed - 0.4);
  if (DashCooldown > 0) --DashCooldown;
}

void ChargeTurbo() {
  TurboCharge = std::min(TurboCharge + 1, TurboChargeNeeded + 1);
  if (TurboCharge != TurboChargeNeeded) return;
  for (const int effect : kChargeCompleteTemplates) CreateAtPlayer(effect);
  if (TurboLevel > 3) CreateAtPlayer(kChargeCompleteHighTemplate);
  PlaySe(kChargeCompleteSe, 250);
}
