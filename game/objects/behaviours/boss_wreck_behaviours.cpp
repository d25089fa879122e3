// Boss wrecks: they drift and strobe, turn enemy bullets into chips, explode on their
// own record for several seconds, then end with a flash and hand the stage on.
#include "core/game_rules.h"
#include "core/sound_control.h"
#include "objects/behaviours/behaviour_dispatch.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

enum class FirstCancel { kNone, kAfterBursts, kBeforeBursts };

struct WreckStart {
  int bursts;  // explosions at timer 1
  FirstCancel cancel = FirstCancel::kNone;
  bool musicOutPerBurst = false;  // each followed by SetBgmFade(2, 7)
};
// At `ringsAt` the rings 2186; after it, every `every` frames, chips and one explosion.
struct WreckRain {
  int ringsAt;
  int rings;
  bool cancelAfterRings;
  int chips;
  int every;
};
struct WreckEnd {
  int at = 0;
  int bursts = 0;
  int slowdownMs = 0;
  bool swellingRing = false;  // 2004
  int blastRings = 0;         // 2187
  bool handsOver = false;     // the stage 8 hand-over 2212
  int whiteFlash = 0;         // WhiteFlashAlpha
  float blueFlash = 0.0f;     // ScreenFlash
  int sound = 0;
  int volume = 0;
  int sounds = 0;
  bool soundFirst = false;  // the sound before the objects
  bool whitesOut = false;   // the stage flow's white-out, once the wreck is freed
};
struct Wreck {
  int id;
  bool chipsEveryFrame;  // ConvertBulletsToChips first thing every frame
  WreckStart start;
  WreckRain rain;
  int flaresAt;  // flares 2185
  int flares;
  WreckEnd end;
  bool windRolls = false;  // four chances of a wind sound every frame
};

constexpr WreckEnd kBlastEnd{.at = 300,
                             .bursts = 40,
                             .slowdownMs = 12,
                             .swellingRing = true,
                             .blastRings = 1,
                             .whiteFlash = 200,
                             .sound = 89,
                             .volume = 255,
                             .sounds = 1};

// The wrecks that burn longest: a cancel before the 20 first bursts, three rings and a
// cancel at 200, then every third frame `chips` chips and a burst, three flares at 350
// and at 400 the end after 40 bursts. Those that end a stage fade its music after each
// first burst, roll the wind, sound before their objects and start the white-out.
constexpr Wreck LongWreck(int id, int chips, bool endsStage, WreckEnd end) {
  end.at = 400;
  end.bursts = 40;
  end.soundFirst = endsStage;
  end.whitesOut = endsStage;
  return {id, true, {20, FirstCancel::kBeforeBursts, endsStage}, {200, 3, true, chips, 3}, 350, 3, end, endsStage};
}

constexpr Wreck kWrecks[] = {
    {4104, true, {20, FirstCancel::kAfterBursts}, {100, 1, false, 1, 3}, 250, 1, kBlastEnd},
    {4106, true, {20, FirstCancel::kAfterBursts}, {100, 2, false, 2, 3}, 250, 1, kBlastEnd},
    {4107, false, {15}, {100, 1, false, 0, 1}, 200, 1, {.at = 250, .bursts = 20, .swellingRing = true}},
    LongWreck(4108, 3, false,
              {.slowdownMs = 14, .swellingRing = true, .blastRings = 2, .whiteFlash = 200, .sound = 89, .volume = 255,
               .sounds = 2}),
    LongWreck(4123, 3, true, {.slowdownMs = 14, .whiteFlash = 200, .sound = 114, .volume = 100, .sounds = 1}),
    LongWreck(4133, 0, true,
              {.slowdownMs = 18, .handsOver = true, .blueFlash = 255.0f, .sound = 114, .volume = 100, .sounds = 1}),
};

void CreateAt(int templateId, int slot, int facing, int count) {
  for (int i = 0; i < count; ++i) Fire(templateId, ObjectPool[slot], 0.0, 0.0, facing, 0);
}

void FirstExplosions(int slot, const WreckStart& start) {
  if (start.cancel == FirstCancel::kBeforeBursts) CancelAllBullets();
  for (int i = 0; i < start.bursts; ++i) {
    SpawnDeathEffects(slot);
    if (start.musicOutPerBurst) SetBgmFade(2, kFadeOutStopSlow);
  }
  if (start.cancel == FirstCancel::kAfterBursts) CancelAllBullets();
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

void PlayEndSounds(const WreckEnd& end) {
  for (int i = 0; i < end.sounds; ++i) PlaySe(end.sound, end.volume);
}

void End(int slot, const WreckEnd& end) {
  GameObject& wreck = ObjectPool[slot];
  Explode(slot, end.bursts);
  if (end.slowdownMs != 0) RequestSlowdown(end.slowdownMs);
  if (end.soundFirst) PlayEndSounds(end);
  if (end.swellingRing) CreateAt(2004, slot, wreck.facing, 1);
  CreateAt(2187, slot, 0, end.blastRings);
  if (end.handsOver) CreateAt(2212, slot, 0, 1);
  if (end.whiteFlash != 0) WhiteFlashAlpha = end.whiteFlash;
  if (end.blueFlash != 0.0f) ScreenFlash = end.blueFlash;
  if (!end.soundFirst) PlayEndSounds(end);
  ResetObject(slot);
  if (end.whitesOut) WhiteOutCounter = 1;
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
  if (wreck.timer == 1) FirstExplosions(slot, row.start);
  if (wreck.timer == row.rain.ringsAt) {
    CreateAt(2186, slot, wreck.facing, row.rain.rings);
    if (row.rain.cancelAfterRings) CancelAllBullets();
  }
  if (wreck.timer > row.rain.ringsAt && wreck.timer % row.rain.every == 0) {
    for (int i = 0; i < row.rain.chips; ++i) DropChip(slot);
    SpawnDeathEffects(slot);
  }
  if (wreck.timer == row.flaresAt) CreateAt(2185, slot, wreck.facing, row.flares);
  if (wreck.timer == row.end.at) End(slot, row.end);
  if (row.windRolls) RollWind();
}

constexpr auto kEntries = EntriesFor(kWrecks, &BurnOut);

}  // namespace

REGISTER_BEHAVIOURS(kEntries);
