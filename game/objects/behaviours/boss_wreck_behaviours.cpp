// Boss wrecks: they drift and strobe, turn enemy bullets into chips, explode on their
// own record for several seconds, then end with a flash and hand the stage on.
#include "core/game_rules.h"
#include "core/sound_control.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

enum class FirstCancel { kNone, kAfterBursts, kBeforeBursts };

struct Wreck {
  int id;
  bool chipsEveryFrame;    // ConvertBulletsToChips first thing every frame
  int firstBursts;         // explosions at timer 1
  FirstCancel firstCancel;
  bool musicOutPerBurst;   // each first explosion followed by SetBgmFade(2, 7)
  int ringsAt;             // rings 2186; the rain of chips and explosions follows
  int rings;
  bool cancelAfterRings;
  int chipsPerRain;        // chip pickups before each rain explosion
  int rainEvery;           // frames between rain explosions
  int flaresAt;            // flares 2185
  int flares;
  int endAt;
  int endBursts;
  int slowdownMs;          // 0 none
  bool endRing;            // swelling ring 2004 at the end
  int blastRings;          // 2187 at the end
  int whiteFlash;          // WhiteFlashAlpha, 0 none
  float blueFlash;         // ScreenFlash, 0 none
  int endSound;            // 0 none
  int endSoundVolume;
  int endSounds;
  bool soundBeforeObjects;
  bool handsOver;          // makes the stage 8 hand-over 2212
  bool whitesOut;          // starts the stage flow's white-out after it is freed
  bool windRolls;          // four chances of a wind sound every frame
};

constexpr Wreck kWrecks[] = {
    {4104, true, 20, FirstCancel::kAfterBursts, false, 100, 1, false, 1, 3, 250, 1, 300, 40, 12, true, 1, 200,
     0.0f, 89, 255, 1, false, false, false, false},
    {4106, true, 20, FirstCancel::kAfterBursts, false, 100, 2, false, 2, 3, 250, 1, 300, 40, 12, true, 1, 200,
     0.0f, 89, 255, 1, false, false, false, false},
    {4107, false, 15, FirstCancel::kNone, false, 100, 1, false, 0, 1, 200, 1, 250, 20, 0, true, 0, 0, 0.0f, 0, 0,
     0, false, false, false, false},
    {4108, true, 20, FirstCancel::kBeforeBursts, false, 200, 3, true, 3, 3, 350, 3, 400, 40, 14, true, 2, 200,
     0.0f, 89, 255, 2, false, false, false, false},
    {4123, true, 20, FirstCancel::kBeforeBursts, true, 200, 3, true, 3, 3, 350, 3, 400, 40, 14, false, 0, 200,
     0.0f, 114, 100, 1, true, false, true, true},
    {4133, true, 20, FirstCancel::kBeforeBursts, true, 200, 3, true, 0, 3, 350, 3, 400, 40, 18, false, 0, 0,
     255.0f, 114, 100, 1, true, true, true, true},
};

void Explode(int slot, int times) {
  for (int i = 0; i < times; ++i) SpawnDeathEffects(slot);
}

void CreateAt(int templateId, int slot, int facing, int count) {
  for (int i = 0; i < count; ++i) Fire(templateId, ObjectPool[slot], 0.0, 0.0, facing, 0);
}

void FirstExplosions(int slot, const Wreck& row) {
  if (row.firstCancel == FirstCancel::kBeforeBursts) CancelAllBullets();
  for (int i = 0; i < row.firstBursts; ++i) {
    SpawnDeathEffects(slot);
    if (row.musicOutPerBurst) SetBgmFade(2, kFadeOutStopSlow);
  }
  if (row.firstCancel == FirstCancel::kAfterBursts) CancelAllBullets();
}

// Chips land over the wreck's box, leaning to the right and up: x - R(w) + 2 R(w),
// y + R(h) - 2 R(h). Each pays the wreck's own score value.
void DropChip(int slot) {
  const GameObject& wreck = ObjectPool[slot];
  const int halfWidth = wreck.width / 2;
  const int halfHeight = wreck.height / 2;
  const int upY = RandomInRange(halfHeight);
  const int downY = RandomInRange(halfHeight);
  const int backX = RandomInRange(halfWidth);
  const int aheadX = RandomInRange(halfWidth);
  const int y = DoubleToInt(wreck.y + static_cast<double>(upY) - 2.0 * downY);
  const int x = DoubleToInt(wreck.x - static_cast<double>(backX) + 2.0 * aheadX);
  CreateObject(1080, x, y, 0, slot);
}

void PlayEndSounds(const Wreck& row) {
  for (int i = 0; i < row.endSounds; ++i) PlaySe(row.endSound, row.endSoundVolume);
}

void End(int slot, const Wreck& row) {
  GameObject& wreck = ObjectPool[slot];
  Explode(slot, row.endBursts);
  if (row.slowdownMs != 0) RequestSlowdown(row.slowdownMs);
  if (row.soundBeforeObjects) PlayEndSounds(row);
  if (row.endRing) CreateAt(2004, slot, wreck.facing, 1);
  CreateAt(2187, slot, 0, row.blastRings);
  if (row.handsOver) CreateAt(2212, slot, 0, 1);
  if (row.whiteFlash != 0) WhiteFlashAlpha = row.whiteFlash;
  if (row.blueFlash != 0.0f) ScreenFlash = row.blueFlash;
  if (!row.soundBeforeObjects) PlayEndSounds(row);
  ResetObject(slot);
  if (row.whitesOut) WhiteOutCounter = 1;
}

void RollWind() {
  if (TimelineHalt != 0.0f) return;
  for (int sound = 100; sound <= 103; ++sound) {
    if (RandomInRange(300) == 1) PlaySe(sound, 255);
  }
}

void BurnOut(int slot) {
  GameObject& wreck = ObjectPool[slot];
  const Wreck& row = RowFor(kWrecks, wreck.behaviour);
  if (row.chipsEveryFrame) ConvertBulletsToChips();
  MoveStraight(wreck);
  wreck.fade = ByFrameCycle(130.0f, 30.0f, 180.0f, 80.0f, wreck.fade);
  wreck.timer += 1;
  if (wreck.timer == 1) FirstExplosions(slot, row);
  if (wreck.timer == row.ringsAt) {
    CreateAt(2186, slot, wreck.facing, row.rings);
    if (row.cancelAfterRings) CancelAllBullets();
  }
  if (wreck.timer > row.ringsAt && wreck.timer % row.rainEvery == 0) {
    for (int i = 0; i < row.chipsPerRain; ++i) DropChip(slot);
    SpawnDeathEffects(slot);
  }
  if (wreck.timer == row.flaresAt) CreateAt(2185, slot, wreck.facing, row.flares);
  if (wreck.timer == row.endAt) End(slot, row);
  if (row.windRolls) RollWind();
}

constexpr auto kEntries = EntriesFor(kWrecks, &BurnOut);

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
