// The damage flash: after a hit the square around the player is grabbed to a file,
// loaded back and shown in a corner, rising from -600 by 8 a frame past 1200, then
// falling by 5 a frame below 0.
#include "core/damage_flash.h"

#include "core/display.h"
#include "core/game_state.h"
#include "float_to_int.h"
#include "game_library.h"

namespace {

constexpr const char* kDamageFile = "data\\Damage.bmp";
constexpr int kHalfSize = 80;
enum FlashPhase : int { kOff = 0, kRising = 1, kFalling = 2 };

}  // namespace

void CaptureDamageFlash() {
  const GameObject& player = ObjectPool[kPlayerSlot];
  const double left = static_cast<double>(player.x) - CameraX - kHalfSize;
  const double top = static_cast<double>(player.y) - CameraY - kHalfSize;
  SaveScreenToBmp(DoubleToInt(left), DoubleToInt(top), DoubleToInt(left + 2 * kHalfSize),
                  DoubleToInt(top + 2 * kHalfSize), kDamageFile);
  FreeGraph(DamageImage, 0);
  DamageImage = LoadGraphFile(kDamageFile);
  DamageFlashPhase = kRising;
  DamageFlashTimer = -600;
}

void DrawDamageFlash() {
  if (Paused == 0) {
    if (DamageFlashPhase == kRising) {
      DamageFlashTimer += 8;
      if (DamageFlashTimer > 1200) DamageFlashPhase = kFalling;
    } else if (DamageFlashPhase == kFalling) {
      DamageFlashTimer -= 5;
      if (DamageFlashTimer < 0) DamageFlashPhase = DamageFlashTimer = kOff;
    }
  }
  if (DamageFlashPhase <= kOff) return;
  SetBlendMode(1, DamageFlashTimer > 200 ? 160 : DamageFlashTimer);
  DrawGraphAt(825, 420, DamageImage, 1);
}
