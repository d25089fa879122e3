// Object drawing: the active records by layer with their blend, hit flash, hit-box
// overlay and animation step; then the score popups, the echoes of the player and
// the enemies, the full-screen flashes, the stage 8 captions, the pause panel and the
// replay mark; and, drawn apart, the pause manual's page above all of play and the
// dragon again for the HUD.
#include "core/animation.h"
#include "core/display.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/resource_loaders.h"
#include "float_to_int.h"
#include "game_library.h"

bool (*ObjectDrawHook)(int slot) = nullptr;

namespace {

constexpr int kLayers = 10;
constexpr int kReplayMarkHandle = 3 * kCellsPerSet + 9;

void ApplyObjectBlend(const GameObject& object) {
  if (object.blendMode >= 1 && object.blendMode <= 3) {
    SetBlendMode(object.blendMode, FloatToInt(255.0f - object.fade));
  } else if (object.blendMode == 4) {
    SetBlendMode(4, 0);
  } else {
    SetBlendMode(0, 0);
  }
}

int PictureOf(const GameObject& object) {
  return SpriteHandles[object.imageSet * kCellsPerSet + CurrentAnimationPair(object).frame];
}

bool LeftOut(int slot) { return ObjectDrawHook != nullptr && !ObjectDrawHook(slot); }

// An image set outside the table draws nothing.
bool Drawable(const GameObject& object) { return object.imageSet >= 0 && object.imageSet < kImageSets; }

void DrawPictureAt(const GameObject& object, int x, int y) {
  if (!Drawable(object)) return;
  DrawGraphRotated(x, y, 1.0 + object.scaleDelta, object.angle, PictureOf(object), 1, object.facing);
}

void DrawPicture(const GameObject& object) {
  DrawPictureAt(object, FloatToInt(object.x - CameraX), FloatToInt(object.y - CameraY));
}

void DrawHitFlash(GameObject& object) {
  SetBlendMode(2, 120);
  // Each coordinate is truncated before the subtraction: the flash may sit one
  // pixel beside the sprite.
  DrawPictureAt(object, FloatToInt(object.x) - FloatToInt(CameraX), FloatToInt(object.y) - FloatToInt(CameraY));
  object.hitFlash = 0;
}

bool ShowsHitBox(const GameObject& object) {
  return HitBoxOverlayOff == 0 && (object.collidable == 1 || object.collidable == 2) &&
         object.category >= kCategoryPlayer && object.category <= kCategoryPickup;
}

void DrawHitBox(const GameObject& object) {
  SetBlendMode(2, 200);
  const float x = object.x - CameraX;
  const float y = object.y - CameraY;
  const int halfWidth = object.hitWidth / 2;
  const int halfHeight = object.hitHeight / 2;
  DrawRect(FloatToInt(x - halfWidth), FloatToInt(y - halfHeight), FloatToInt(x + halfWidth), FloatToInt(y + halfHeight),
           MakeScreenColor(250, 0, 0), 0);
}

void DrawLayers() {
  static int listed[kPoolSize];
  int count = 0;
  for (int slot = 0; slot < kPoolSize; ++slot) {
    if (ObjectPool[slot].state == kStateActive) listed[count++] = slot;
  }
  for (int layer = 0; layer < kLayers; ++layer) {
    for (int i = 0; i < count; ++i) {
      const int slot = listed[i];
      GameObject& object = ObjectPool[slot];
      if (object.state != kStateActive || object.layer != layer || LeftOut(slot)) continue;
      ApplyObjectBlend(object);
      DrawPicture(object);
      if (object.hitFlash == 1) DrawHitFlash(object);
      if (ShowsHitBox(object)) DrawHitBox(object);
      if (Paused == 0) StepAnimation(slot);
    }
  }
}

int PopupAlpha() {
  if (FrameCycle4 != 1) return 200;
  if (Lives == 3.0f) return 150;
  if (Lives == 2.0f) return 120;
  if (Lives == 1.0f) return 90;
  return 200;
}

void DrawScorePopups() {
  SetBlendMode(1, PopupAlpha());
  for (ScorePopup& popup : ScorePopups) {
    if (popup.divisor < 1) continue;
    // The divisor steps down before the draw: a popup of 1000 from 25 shows 41 first.
    if (popup.divisor > 1) --popup.divisor;
    DrawNumberRight(FloatToInt(popup.x - CameraX), FloatToInt(popup.y - CameraY), popup.value / popup.divisor, 0);
    if (Paused == 0 && --popup.life == 0) popup.divisor = 0;
  }
}

void DrawEchoes() {
  SetBlendMode(1, 80);
  if (!LeftOut(kPlayerSlot)) DrawPicture(ObjectPool[kPlayerSlot]);
  for (int slot = 0; slot < kPoolSize; ++slot) {
    const GameObject& object = ObjectPool[slot];
    if (object.category != kCategoryEnemy || object.state != kStateActive) continue;
    if (object.blendMode != 0 && object.blendMode != 1) continue;
    if (LeftOut(slot)) continue;
    SetBlendMode(1, 20);
    DrawPicture(object);
  }
}

void DrawFlash(int& alpha, int r, int g, int b) {
  if (alpha <= 4) return;
  if (Paused == 0) alpha -= 3;
  SetBlendMode(1, alpha);
  FillScreen(r, g, b);
}

void DrawFlashes() {
  DrawFlash(RedFlashAlpha, 255, 0, 0);
  DrawFlash(WhiteFlashAlpha, 255, 255, 255);
  if (BlueFlashLevel > 2.0f) {
    if (Paused == 0) BlueFlashLevel -= 2.0f;
    SetBlendMode(2, FloatToInt(BlueFlashLevel));
    FillScreen(10, 20, 250);
  }
}

// The last stage's captions rise to a level above 400, fall below 0, and the
// caption's picture is freed. Runs in every drawing frame, paused or not.
void DrawStage8Caption() {
  if (Stage != 8 || Stage8Caption < 1 || Stage8Caption > 3) return;
  int& picture = Stage8CaptionImages[Stage8Caption - 1];
  if (Stage8CaptionPhase == 0) {
    Stage8CaptionLevel += 2;
    if (Stage8CaptionLevel > 400) Stage8CaptionPhase = 1;
  } else {
    Stage8CaptionLevel -= 2;
    if (Stage8CaptionLevel < 0) {
      FreePicture(picture);
      Stage8Caption = Stage8CaptionPhase = Stage8CaptionLevel = 0;
      return;
    }
  }
  SetBlendMode(1, DoubleToInt(Stage8CaptionLevel / 1.2));
  DrawGraphAt(0, 350, picture, 1);
}

// The pause panel and the manual's page fade together while the quit buttons are held.
void SetPauseBlend() {
  const double alpha = 255 - 1.2 * ActionHold[kActionFire] - 1.2 * ActionHold[kActionSpecial];
  SetBlendMode(1, DoubleToInt(alpha));
}

void DrawPausePanel() {
  SetPauseBlend();
  DrawGraphAt(112, 571, CommonImages[kImagePausePanel], 1);
}

}  // namespace

void FillScreen(int r, int g, int b) { DrawRect(0, 0, kScreenWidth, kScreenHeight, MakeScreenColor(r, g, b), 1); }

void DrawObjects() {
  DrawLayers();
  DrawScorePopups();
  DrawEchoes();
  DrawFlashes();
  DrawStage8Caption();
  if (Paused == 1) DrawPausePanel();
  if (ReplayMode == kReplayPlayback) {
    SetBlendMode(1, 255);
    DrawGraphAt(862, -6, SpriteHandles[kReplayMarkHandle], 1);
  }
  SetBlendMode(0, 0);
}

void DrawPauseManual() {
  if (Paused != 1 || ManualShown == 0) return;
  SetPauseBlend();
  DrawGraphAt(0, 0, ManualImage, 1);
  SetBlendMode(0, 0);
}

void DrawDragonAgain() {
  for (const int slot : {kPlayerSlot, kWingShadowSlot, kWingLightSlot}) {
    const GameObject& object = ObjectPool[slot];
    if (object.state != kStateActive || object.layer < 0 || object.layer >= kLayers) continue;
    ApplyObjectBlend(object);
    DrawPicture(object);
    if (ShowsHitBox(object)) DrawHitBox(object);
  }
  SetBlendMode(0, 0);
}

void SpawnScorePopup(int slot, int value) {
  for (ScorePopup& popup : ScorePopups) {
    if (popup.divisor != 0) continue;
    const int extra = RandomInRange(20);
    const GameObject& object = ObjectPool[slot];
    popup = {extra + 20, FloatToInt(object.x), FloatToInt(object.y), value, 100};
    return;
  }
}
