// The dragon stays in sight over whole play of every stage of game mode 0: the shot
// held, the dragon sweeping over the screen, the EXP gauge filled now and then and a
// level-up spent now and then. Every third pass is measured: at most one frame in ten
// may hide the dragon, and never for more than a second in a row (the art aims at one in
// twenty; art that hides the dragon is far over it, one in six and more).
//
// The measure: how often the harmless things of play (pick-ups, effects and
// decorations) hide the dragon. On a sampled pass the frame's objects are drawn three
// more times in a box around the dragon, before the frame's own drawing: without the
// harmless things and without the dragon, without the harmless things, and with
// everything. The dragon's own pixels are those its drawing changes; the frame hides it
// when the harmless things change more than half of them. Inside the box the sampled
// frame then shows its objects over black. Passes neither measured nor saved are not
// drawn (the objects still move).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>

#include "../support/call_recorder.h"
#include "../support/save_frame.h"
#include "canvas.h"
#include "core/display.h"
#include "core/game_rules.h"
#include "core/game_state.h"
#include "game_library.h"
#include "game_session.h"
#include "scenario.h"
#include "shown_rows.h"

namespace {

struct SightFigures {
  int sampled = 0;     // passes measured
  int seen = 0;        // of them, those that drew the dragon
  int hidden = 0;      // of them, those where it was hidden
  int longestRun = 0;  // passes in a row over which it stayed hidden, counted by samples
};

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

// Measures while it lives; the object drawing runs plainly again after.
class SightMeasure {
 public:
  explicit SightMeasure(int every) {
    measured = {};
    sampleEvery = every;
    run = 0;
    RunDrawPassThrough(Call::DrawObjects, MeasureThenDraw);
  }
  ~SightMeasure() {
    RunDrawPassThrough(Call::DrawObjects, [](void (*real)()) { real(); });
    sampleThisPass = false;
  }
  SightMeasure(const SightMeasure&) = delete;
  SightMeasure& operator=(const SightMeasure&) = delete;

  // Whether the next pass is measured.
  void SampleNextPass(bool sample) { sampleThisPass = sample; }
  const SightFigures& figures() const { return measured; }
};


constexpr int kPasses = 2400;
constexpr int kSampleEvery = 3;
constexpr int kLevelUpEvery = 600;     // a full gauge at 300, 900, ...; a level-up spent at 600, 1200, ...
constexpr int kMostHiddenShare = 10;   // at most one sampled frame in this many
constexpr int kLongestHiddenRun = 60;  // passes: a second

// The sweep: each move held for its passes, over and over.
constexpr ScriptSegment kSweep[] = {
    {50, kPadRight}, {25, kPadDown}, {50, kPadLeft}, {25, kPadUp},
    {30, kPadDown | kPadRight}, {30, kPadUp | kPadLeft}, {30, kPadUp | kPadRight}, {30, kPadDown | kPadLeft}};

int PadWordAt(int pass) {
  int cycle = 0;
  for (const ScriptSegment& move : kSweep) cycle += move.frames;
  int at = pass % cycle;
  int word = kPadFire;
  for (const ScriptSegment& move : kSweep) {
    if (at < move.frames) {
      word |= move.padWord;
      break;
    }
    at -= move.frames;
  }
  if (pass % kLevelUpEvery == 0 && pass > 0) word |= kPadSpecial;
  return word;
}

class DragonSight : public testing::TestWithParam<int> {};

TEST_P(DragonSight, HarmlessThingsSeldomHideTheDragon) {
  const int stage = GetParam();
  GameSession game;
  StartWithAFreshSave(game);
  KeepCallLog(false);
  ToMainMenu(game);
  StartStage = stage;
  StartRun(game, 0);
  ASSERT_EQ(std::tuple(Scene, GameMode, Stage), std::tuple(kScenePlay, 0, stage));
  SightMeasure measure(kSampleEvery);
  for (int pass = 0; pass < kPasses; ++pass) {
    if (pass % kLevelUpEvery == kLevelUpEvery / 2) {
      ExpGauge = 100.5f;
      CheckLevelUp();
    }
    // A level-up at a full gauge and a level-up spent, each a few passes on (passes not measured).
    const bool saved =
        pass % kLevelUpEvery == kLevelUpEvery / 2 + 8 || (pass % kLevelUpEvery == 20 && pass > kLevelUpEvery);
    const bool sampled = pass % kSampleEvery == 0;
    measure.SampleNextPass(sampled);
    Scenario::SkipDrawing(!sampled && !saved);
    ASSERT_TRUE(game.Pass(PadWordAt(pass)));
    if (Lives == 0.0f) Lives = 1.0f;  // a hit on the last life is undone before it ends the run
    if (saved) SaveFrame("stage" + std::to_string(stage) + "-pass" + std::to_string(pass));
  }
  Scenario::SkipDrawing(false);
  const SightFigures& sight = measure.figures();
  std::printf("dragon sight: stage %d: hidden in %d of %d frames seen (%.1f%%), %d of %d sampled frames showed the "
              "dragon; longest hidden run %d passes\n",
              stage, sight.hidden, sight.seen, sight.seen ? 100.0 * sight.hidden / sight.seen : 0.0, sight.seen,
              sight.sampled, sight.longestRun);
  EXPECT_EQ(sight.sampled, kPasses / kSampleEvery);
  EXPECT_GE(2 * sight.seen, sight.sampled) << "the dragon showed in too few frames to measure";
  EXPECT_LE(kMostHiddenShare * sight.hidden, sight.seen) << "the dragon is hidden in too many frames";
  EXPECT_LE(sight.longestRun, kLongestHiddenRun) << "the dragon is hidden too long in a row";
}

INSTANTIATE_TEST_SUITE_P(ModeZero, DragonSight, testing::Range(1, 9),
                         [](const testing::TestParamInfo<int>& info) { return "Stage" + std::to_string(info.param); });

}  // namespace
