#include "core/player.h"

#include "core/game_state.h"
#include "core/sound_control.h"
#include "game_library.h"
#include "objects/objects.h"

namespace {

// What a random draw 0..22 makes of the idle dragon.
enum class IdleSound { kNone, kWingBeat, kVoice };
struct IdleChoice {
  int animation;
  int frames;
  IdleSound sound;
};
constexpr IdleChoice kIdleChoices[] = {
    {17, 230, IdleSound::kNone}, {17, 460, IdleSound::kNone},     {17, 690, IdleSound::kNone},
    {18, 261, IdleSound::kNone}, {18, 435, IdleSound::kNone},     {18, 609, IdleSound::kNone},
    {19, 80, IdleSound::kNone},  {20, 30, IdleSound::kWingBeat},  {21, 90, IdleSound::kWingBeat},
    {22, 90, IdleSound::kNone},  {23, 90, IdleSound::kNone},      {27, 77, IdleSound::kNone},
    {30, 94, IdleSound::kNone},  {31, 47, IdleSound::kNone},      {31, 94, IdleSound::kNone},
    {17, 23, IdleSound::kNone},  {17, 46, IdleSound::kNone},      {17, 69, IdleSound::kNone},
    {17, 82, IdleSound::kNone},  {32, 29, IdleSound::kNone},      {32, 58, IdleSound::kNone},
    {32, 87, IdleSound::kNone},  {33, 40, IdleSound::kVoice},
};
constexpr int kIdleChoiceCount = static_cast<int>(std::size(kIdleChoices));
constexpr int kWingBeatSe = 48;
constexpr int kFirstVoiceSe = 4;
constexpr int kVoiceCount = 5;

constexpr int kWingShadowImageSet = 14;
constexpr int kWingLightImageSet = 12;
constexpr int kCompanionLayer = 6;
constexpr int kWingShadowMinTracks = 7;
constexpr int kTurboSparkTemplate = 2117;

// Wing light brightness by FrameCycle4: with the turbo ready, base - per level x
// TurboLevel; while charging, 255 - TurboCharge / divisor (divisor 0: 255).
struct ReadyLight {
  int base;
  int perLevel;
};
constexpr ReadyLight kReadyLight[4] = {{245, 2}, {150, 1}, {255, 2}, {180, 1}};
constexpr int kChargingDivisor[4] = {2, 0, 3, 0};

void PickIdleAnimation() {
  const int r = RandomInRange(kIdleChoiceCount - 1);
  const IdleChoice& choice = kIdleChoices[r];
  GameObject& player = ObjectPool[kPlayerSlot];
  player.animation = choice.animation;
  PlayerIdleTimer = choice.frames;
  player.animStep = 0;
  player.animTimer = 0;
  if (choice.sound == IdleSound::kWingBeat) PlaySe(kWingBeatSe, 250);
  if (choice.sound == IdleSound::kVoice) {
    const int voice = RandomInRange(kVoiceCount - 1) + kFirstVoiceSe;
    if (SeHandles[voice] != kNoHandle) StartSound(SeHandles[voice], 1, 1);
  }
}

// A companion record dressed as the player's twin, drawn over it.
GameObject& DressCompanion(int slot, int imageSet, int blendMode) {
  const GameObject& player = ObjectPool[kPlayerSlot];
  GameObject& companion = ObjectPool[slot];
  companion.state = player.state;
  companion.layer = kCompanionLayer;
  companion.x = player.x;
  companion.y = player.y;
  companion.spare = 0.0f;
  companion.collidable = 0;
  companion.imageSet = imageSet;
  companion.blendMode = blendMode;
  companion.animation = player.animation;
  companion.animTimer = player.animTimer;
  companion.animStep = player.animStep;
  companion.facing = player.facing;
  companion.category = kCategoryEffect;
  return companion;
}

// Only a fast dragon casts the pulsing shadow.
void UpdateWingShadow() {
  const int tracks = SpeedLevel + TurboLevel;
  if (tracks < kWingShadowMinTracks) return;
  GameObject& shadow = DressCompanion(kWingShadowSlot, kWingShadowImageSet, kBlendAlpha);
  const double pulse = tracks * 2.6;
  if (WingShadowFadeDir == 0) {
    shadow.fade = static_cast<float>(shadow.fade + pulse);
    if (shadow.fade > 300.0f) WingShadowFadeDir = 1;
  } else {
    shadow.fade = static_cast<float>(shadow.fade - pulse);
    if (shadow.fade < -50.0f) WingShadowFadeDir = 0;
  }
}

void UpdateWingLight() {
  GameObject& light = DressCompanion(kWingLightSlot, kWingLightImageSet, kBlendAdd);
  const int cycle = FrameCycle4 & 3;
  if (TurboCharge > TurboChargeNeeded) {
    light.fade = static_cast<float>(kReadyLight[cycle].base - kReadyLight[cycle].perLevel * TurboLevel);
    const GameObject& player = ObjectPool[kPlayerSlot];
    CreateObject(kTurboSparkTemplate, FloatToInt(player.x), FloatToInt(player.y), player.facing, 0);
  } else {
    const int divisor = kChargingDivisor[cycle];
    light.fade = static_cast<float>(divisor == 0 ? 255 : 255 - TurboCharge / divisor);
  }
}

}  // namespace

void UpdatePlayerSprite() {
  --PlayerIdleTimer;
  if (PlayerIdleTimer <= 0) PickIdleAnimation();
  UpdateWingShadow();
  UpdateWingLight();
}
