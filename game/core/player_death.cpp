// The player's death when the last life is gone, the run-out to the results, and the
// pad's rumble count-down that both the living and the dead frames run.
#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/object_pool.h"
#include "core/player_control_steps.h"
#include "core/player_support.h"
#include "core/sound_control.h"

namespace {

constexpr int kDeathBurstTemplate = 2116;
constexpr int kDeathDebrisTemplate = 2094;
constexpr int kDeathDebrisCount = 4;
constexpr int kDeathSe = 11;
constexpr int kRunOutFrames = 270;  // the results follow once DeathFrames passes it

void KillPlayer() {
  GameObject& player = ObjectPool[kPlayerSlot];
  ScenePhase = 1;
  SlowdownMs = SlowdownOption != 0 ? 30.0f / static_cast<float>(SlowdownOption) : 0.0f;
  player.deathEffect = 0;
  SpawnDeathEffects(kPlayerSlot);
  SpawnDeathEffects(kPlayerSlot);
  CreateAtPlayer(kDeathBurstTemplate, EffectFacing::kRight);
  if (SeHandles[kDeathSe] != kNoHandle) StartSound(SeHandles[kDeathSe], 1, 1);
  VibratePad(1000, 120);
  for (int slot = kFirstOptionSlot; slot <= kLastOptionSlot; ++slot) ResetObject(slot);
  const float x = static_cast<float>(FloatToInt(player.x));
  const float y = static_cast<float>(FloatToInt(player.y));
  const int facing = player.facing;
  ResetObject(kPlayerSlot);
  player.x = x;
  player.y = y;
  player.facing = facing;
  RedFlashAlpha = 120;
  player.animation = 0;
  player.animStep = 0;
  player.animTimer = 0;
  PlayerIdleTimer = 9000;
  BoostSpeed = 0.0f;
  ShotReload = MainShotTimer = MainShotBurst = SubShotReload = SubShotBurst = 0;
  InvulnFrames = 9000.0f;
  BlinkPhase = 0.0f;
  for (int i = 0; i < kDeathDebrisCount; ++i) CreateAtPlayer(kDeathDebrisTemplate);
  DeathFrames = 0;
  ClearInputHoldCounters();
}

}  // namespace

void CountDownVibration() {
  if (VibrationLevel <= 0) return;
  --VibrationLevel;
  if (VibrationLevel < 2) StopPadRumble(1);
}

// The hit turn of the last life ends in death: Lives is lowered by whole lives from
// 3.0, so it reaches 0.0 exactly.
void CheckPlayerDeath() {
  const GameObject& player = ObjectPool[kPlayerSlot];
  if (player.animation == kHitTurnAnimation && Lives == 0.0f && PlayerIdleTimer == 5 && ScenePhase == 0) {
    KillPlayer();
  }
}

void RunOutDeath() {
  if (ScenePhase != 1) return;
  DecaySlowdown();
  ++DeathFrames;
  CountDownVibration();
  if (DeathFrames > kRunOutFrames) {
    ReplayMode = kReplayOff;
    Scene = kSceneResults;
  }
}
