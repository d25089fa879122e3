// Seams: object drawing, the in-game display, the player's sprite, control and
// shots and the stage flow are not built yet. Each function here
// does the least the rest of the game needs until its own file replaces it:
// - DrawObjects draws the active records by layer and steps their animations (the
//   end markers free effects);
// - DrawHud advances FrameCycle4, counts the live records and runs the side notices;
// - UpdatePlayerControl plays the player's death and its run-out to the results;
// - score popups and the damage flash's capture do nothing yet;
// - UpdateStage draws the loadout backdrop and the stage's far background;
// - the title card, the player's sprite and shots do nothing yet.
#include "core/play_seams.h"

#include <cstdint>

#include "core/animation.h"
#include "core/display.h"
#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/object_pool.h"
#include "game_library.h"
#include "objects/objects.h"

namespace {

constexpr int kLayers = 10;
constexpr int kDigitAdvance[kDigitFonts] = {8, 14, 13, 22};

void ApplyObjectBlend(const GameObject& object) {
  if (object.blendMode >= 1 && object.blendMode <= 3) {
    SetBlendMode(object.blendMode, FloatToInt(255.0f - object.fade));
  } else if (object.blendMode == 4) {
    SetBlendMode(4, 0);
  } else {
    SetBlendMode(0, 0);
  }
}

void DrawObjectPicture(const GameObject& object) {
  if (object.imageSet < 0 || object.imageSet >= kImageSets) return;
  const int handle = SpriteHandles[object.imageSet * kCellsPerSet + CurrentAnimationPair(object).frame];
  DrawGraphRotated(FloatToInt(object.x - CameraX), FloatToInt(object.y - CameraY), 1.0 + object.scaleDelta,
                   object.angle, handle, 1, object.facing);
}

int DigitCount(std::int64_t value) {
  int digits = 1;
  for (std::int64_t limit = 10; value >= limit; limit *= 10) ++digits;
  return digits;
}

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

void DrawObjects() {
  static int listed[kPoolSize];
  int count = 0;
  for (int slot = 0; slot < kPoolSize; ++slot) {
    if (ObjectPool[slot].state == kStateActive) listed[count++] = slot;
  }
  for (int layer = 0; layer < kLayers; ++layer) {
    for (int i = 0; i < count; ++i) {
      const int slot = listed[i];
      const GameObject& object = ObjectPool[slot];
      if (object.state != kStateActive || object.layer != layer) continue;
      ApplyObjectBlend(object);
      DrawObjectPicture(object);
      if (Paused == 0) StepAnimation(slot);
    }
  }
  SetBlendMode(0, 0);
}

void UpdateStageTitleCard() {}

void DrawHud() {
  FrameCycle4 = (FrameCycle4 + 1) % 4;
  int live = 0;
  for (const GameObject& object : ObjectPool) {
    if (object.state == kStateActive || object.state == kStateDelayed) ++live;
  }
  LiveObjectCount = live;
  DrawSideNotices();
}

void DrawNumber(int x, int y, int value, int font) {
  if (font < 0 || font >= kDigitFonts) return;
  // A negative value (a score driven below zero) draws as 0.
  std::int64_t rest = value > 0 ? value : 0;
  const int digits = DigitCount(rest);
  for (int i = digits - 1; i >= 0; --i) {
    const int digit = static_cast<int>(rest % 10);
    rest /= 10;
    DrawGraphAt(x + i * kDigitAdvance[font], y, DigitFonts[font * kDigitCells + digit], 1);
  }
}

void DrawNumberRight(int xRight, int y, int value, int font) {
  if (font < 0 || font >= kDigitFonts) return;
  const int digits = DigitCount(value > 0 ? value : 0);
  DrawNumber(xRight - (digits - 1) * kDigitAdvance[font], y, value, font);
}

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

void SpawnScorePopup(int, int) {}

void CaptureDamageFlash() {}

void UpdateStage() {
  if (Scene == kSceneLoadout) {
    SetBlendMode(0, 0);
    DrawGraphAt(0, 0, MenuImages[kImageLoadoutBackdrop], 1);
  } else if (Scene == kScenePlay) {
    SetBlendMode(1, 255);
    DrawGraphAt(FloatToInt(-CameraX / 2), FloatToInt(-CameraY / 2), StageImages[0], 1);
  }
}
