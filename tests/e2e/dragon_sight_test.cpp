// The dragon stays in sight over whole play of every stage of game mode 0: the shot
// held, the dragon sweeping over the screen, the EXP gauge filled now and then and a
// level-up spent now and then. Every third pass is measured (dragon_sight.h): at most one
// frame in twenty may hide the dragon, and never for more than a second in a row.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>

#include "../support/call_recorder.h"
#include "../support/save_frame.h"
#include "core/game_rules.h"
#include "core/game_state.h"
#include "dragon_sight.h"
#include "game_session.h"

namespace {

constexpr int kPasses = 2400;
constexpr int kSampleEvery = 3;
constexpr int kLevelUpEvery = 600;     // a full gauge at 300, 900, ...; a level-up spent at 600, 1200, ...
constexpr int kMostHiddenShare = 20;   // at most one sampled frame in this many
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
    measure.SampleNextPass(pass % kSampleEvery == 0);
    ASSERT_TRUE(game.Pass(PadWordAt(pass)));
    if (Lives == 0.0f) Lives = 1.0f;  // a hit on the last life is undone before it ends the run
    // A level-up at a full gauge and a level-up spent, each a few passes on (passes not measured).
    if (pass % kLevelUpEvery == kLevelUpEvery / 2 + 8 || (pass % kLevelUpEvery == 20 && pass > kLevelUpEvery)) {
      SaveFrame("stage" + std::to_string(stage) + "-pass" + std::to_string(pass));
    }
  }
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
