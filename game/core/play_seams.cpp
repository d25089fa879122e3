// Seams: the player's sprite, control and shots and the collision pass are not
// built yet. Each function here does the least the rest of the game needs until its
// own file replaces it:
// - UpdatePlayerControl plays the player's death and its run-out to the results;
// - UpdateCollision wakes delayed records;
// - the player's sprite and shots do nothing yet.
#include "core/play_seams.h"

#include <cstdint>

#include "core/animation.h"
#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/object_pool.h"
#include "game_library.h"
#include "objects/objects.h"

namespace {

// The run-out after the last life: counts to the results scene.
void RunOutDeath() {
  SlowdownMs = SlowdownMs <= 0.5f ? 0.0f : static_cast<float>(SlowdownMs - 0.1);
  ++DeathFrames;
  if (VibrationLevel > 0) {
    --VibrationLevel;
    if (VibrationLevel < 2) StopPadRumble(1);
  }
  if (DeathFrames > 270) {
    ReplayMode = kReplayOff;
    Scene = kSceneResults;
  }
}

void KillPlayer() {
  GameObject& player = ObjectPool[kPlayerSlot];
  ScenePhase = 1;
  SlowdownMs = SlowdownOption != 0 ? 30.0f / static_cast<float>(SlowdownOption) : 0.0f;
  player.deathEffect = 0;
  SpawnDeathEffects(kPlayerSlot);
  SpawnDeathEffects(kPlayerSlot);
  CreateObject(2116, FloatToInt(player.x), FloatToInt(player.y), 0, 0);
  if (SeHandles[11] != -1) StartSound(SeHandles[11], 1, 1);
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
  for (int i = 0; i < 4; ++i) CreateObject(2094, FloatToInt(x), FloatToInt(y), facing, 0);
  DeathFrames = 0;
  ClearInputHoldCounters();
}

}  // namespace

void UpdatePlayerSprite() {}

void UpdatePlayerControl() {
  if (ScenePhase == 1) {
    RunOutDeath();
    return;
  }
  if (Paused == 1) return;
  const GameObject& player = ObjectPool[kPlayerSlot];
  if (player.animation == kHitTurnAnimation && Lives == 0.0f && PlayerIdleTimer == 5) KillPlayer();
}

void FirePlayerShots() {}

void UpdateCollision() {
  for (GameObject& object : ObjectPool) {
    if (object.state != kStateDelayed) continue;
    --object.timer;
    // A record created with no delay left wakes as well, instead of waiting forever.
    if (object.timer <= 0) object.state = kStateActive;
  }
}
