#include "dragon_sight.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <tuple>

#include "../support/call_recorder.h"
#include "../support/save_frame.h"
#include "canvas.h"
#include "core/display.h"
#include "core/game_state.h"
#include "game_library.h"
#include "shown_rows.h"

namespace {

constexpr int kBox = 160;            // around the dragon's 64 x 64 cell
constexpr int kVisibleChange = 24;   // on any channel

// The dragon and the twins the sprite upkeep dresses as it and draws over it: its wings.
bool IsDragon(int slot) { return slot == kPlayerSlot || slot == kWingShadowSlot || slot == kWingLightSlot; }
bool IsHarmless(int slot) {
  const int category = ObjectPool[slot].category;
  return !IsDragon(slot) &&
         (category == kCategoryPickup || category == kCategoryEffect || category == kCategoryDecoration);
}
bool NeitherHarmlessNorDragon(int slot) { return !IsHarmless(slot) && !IsDragon(slot); }
bool NotHarmless(int slot) { return !IsHarmless(slot); }
bool Everything(int) { return true; }

// What drawing the objects changes besides the screen: animation steps, hit flashes,
// popups counting up, flashes fading (the last stage's caption is kept out).
struct DrawnState {
  GameObject pool[kPoolSize];
  ScorePopup popups[kScorePopupCount];
  int red, white;
  float blue;
};
DrawnState kept;

void Keep() {
  std::memcpy(kept.pool, ObjectPool, sizeof kept.pool);
  std::memcpy(kept.popups, ScorePopups, sizeof kept.popups);
  std::tie(kept.red, kept.white, kept.blue) = std::tuple(RedFlashAlpha, WhiteFlashAlpha, BlueFlashLevel);
}
void PutBack() {
  std::memcpy(ObjectPool, kept.pool, sizeof kept.pool);
  std::memcpy(ScorePopups, kept.popups, sizeof kept.popups);
  std::tie(RedFlashAlpha, WhiteFlashAlpha, BlueFlashLevel) = std::tuple(kept.red, kept.white, kept.blue);
}

SightFigures measured;
int sampleEvery = 1, run = 0;
bool sampleThisPass = false;

bool Changed(const Colour& a, const Colour& b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)}) > kVisibleChange;
}

// Drawings 0 (neither harmless nor dragon), 1 (no harmless) and 2 (all) of one box.
void Tally(const Canvas (&drawn)[3]) {
  int own = 0, covered = 0;
  for (std::size_t i = 0; i < drawn[0].pixels.size(); ++i) {
    if (!Changed(drawn[0].pixels[i], drawn[1].pixels[i])) continue;
    ++own;
    covered += Changed(drawn[1].pixels[i], drawn[2].pixels[i]);
  }
  ++measured.sampled;
  if (own == 0) return;  // the dragon is not drawn: neither hidden nor seen
  ++measured.seen;
  if (2 * covered > own) {
    ++measured.hidden;
    measured.longestRun = std::max(measured.longestRun, run += sampleEvery);
  } else {
    run = 0;
  }
}

void MeasureThenDraw(void (*real)()) {
  if (sampleThisPass) {
    const GameObject& dragon = ObjectPool[kPlayerSlot];
    const int x = std::clamp(FloatToInt(dragon.x - CameraX) - kBox / 2, 0, kScreenWidth - kBox);
    const int y = std::clamp(FloatToInt(dragon.y - CameraY) - kBox / 2, 0, kScreenHeight - kBox);
    const auto clearTheBox = [x, y] {
      SetBlendMode(0, 0);
      DrawRect(x, y, x + kBox, y + kBox, MakeScreenColor(0, 0, 0), 1);
    };
    const int caption = Stage8Caption;
    Stage8Caption = 0;
    Keep();
    SetClipRect(x, y, x + kBox, y + kBox);
    Canvas drawn[3] = {{kBox, kBox, {}}, {kBox, kBox, {}}, {kBox, kBox, {}}};
    bool (*const filters[])(int) = {NeitherHarmlessNorDragon, NotHarmless, Everything};
    for (int i = 0; i < 3; ++i) {
      ObjectDrawHook = filters[i];
      clearTheBox();
      real();
      EXPECT_TRUE(ReadBackScreen(x, y, drawn[i]));
      PutBack();
    }
    ObjectDrawHook = NoteShownRow;
    clearTheBox();
    SetClipRect(0, 0, kScreenWidth, kScreenHeight);
    Stage8Caption = caption;
    Tally(drawn);
  }
  real();
}

}  // namespace

SightMeasure::SightMeasure(int every) {
  measured = {};
  sampleEvery = every;
  run = 0;
  RunDrawPassThrough(Call::DrawObjects, MeasureThenDraw);
}

SightMeasure::~SightMeasure() {
  RunDrawPassThrough(Call::DrawObjects, [](void (*real)()) { real(); });
  sampleThisPass = false;
}

void SightMeasure::SampleNextPass(bool sample) { sampleThisPass = sample; }

const SightFigures& SightMeasure::figures() const { return measured; }
