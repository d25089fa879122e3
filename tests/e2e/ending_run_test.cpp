// A mode-0 run scripted to stage 8's end plays the ending, skipped by holding pause or
// in full, and hands over to the results; a skipped ending leaves nothing behind for
// the next one.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "../support/save_frame.h"
#include "core/game_state.h"
#include "game_session.h"

namespace {

// A mode-0 run whose stage 8 is put one frame before its end after the run's 30th frame.
void PlayToTheEnding(GameSession& game) {
  StartAGame(game);
  PlayScript(game, {{60, 0}}, [](int frame) {
    if (frame == 30) std::tie(Stage, StageTimeline) = std::tuple(8, 10799);
  });
  ASSERT_EQ(std::tuple(Scene, Stage, StageTimeline), std::tuple(kSceneEnding, 9, 0));
}

// The pause held for two frames; the results 300 frames later. Then back to the title.
void SkipTheEnding(GameSession& game) {
  ASSERT_TRUE(game.Hold(0, 10));
  ASSERT_TRUE(game.Hold(kPadPause, 2));
  EXPECT_EQ(PassUntil(game, [] { return Scene == kSceneResults; }, 400), 300);
  EXPECT_EQ(std::tuple(ScenePhase, EndingReached), std::tuple(5, 1));
  ASSERT_TRUE(game.Press(kPadSecond));
}

TEST(EndingRun, ThePauseHoldSkipsToTheResultsAndTheNextEndingStartsAfresh) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  PlayToTheEnding(game);
  SkipTheEnding(game);
  PlayToTheEnding(game);
  ASSERT_TRUE(game.Hold(0, 50));
  EXPECT_EQ(std::tuple(Scene, StageTimeline, EndingSkip), std::tuple(kSceneEnding, 50, 0));
}

// Labelled long: the whole ending, 13300 frames less the 240 its jump skips.
TEST(LongEndingRun, AfterASkippedEndingTheNextRunsInFullToTheResults) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  PlayToTheEnding(game);
  SkipTheEnding(game);
  PlayToTheEnding(game);
  const std::set<int> saved = {100, 1800, 2800, 3200, 9300, 12500, 13299};
  int passes = 0;
  for (; Scene == kSceneEnding && passes < 14000; ++passes) {
    ASSERT_TRUE(game.Pass());
    if (saved.contains(StageTimeline)) SaveFrame("ending-" + std::to_string(StageTimeline));
  }
  EXPECT_EQ(passes, 13300 - 240);
  EXPECT_EQ(std::tuple(Scene, ScenePhase, EndingReached, StageTimeline), std::tuple(kSceneResults, 5, 1, 13300));
}

}  // namespace
