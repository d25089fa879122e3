// Runs scripted to stage 8's end play the ending, skipped by holding pause or in full,
// and hand over to the results: a cleared run's time enters its board, a skipped
// ending leaves nothing behind for the next one, a game mode 1 replay that plays the
// ending again changes no board and writes nothing, and the replays of cleared runs
// show their runs' figures.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "../support/save_frame.h"
#include "core/game_state.h"
#include "core/save_data.h"
#include "game_session.h"

namespace {

constexpr int kEndFrame = 200; // the replay frame before which stage 8 stands at its end

void PutStageEightAtItsEnd() { std::tie(Stage, StageTimeline) = std::tuple(8, 10799); }

// From the first frame of play to the ending's first frame.
void PlayToTheEnding(GameSession& game) {
  game.AtReplayFrame(kEndFrame, PutStageEightAtItsEnd);
  PlayScript(game, {{kEndFrame + 30, 0}});
  ASSERT_EQ(std::tuple(Scene, Stage, StageTimeline), std::tuple(kSceneEnding, 9, 0));
}

// The pause held for two frames; the results 300 frames later.
void SkipTheEnding(GameSession& game) {
  ASSERT_TRUE(game.Hold(0, 10));
  ASSERT_TRUE(game.Hold(kPadPause, 2));
  EXPECT_EQ(PassUntil(game, [] { return Scene == kSceneResults; }, 400), 300);
  EXPECT_EQ(std::tuple(ScenePhase, EndingReached), std::tuple(5, 1));
}

std::vector<int> ClearTimes(int mode) {
  const int* list = RankingBoards[mode][kRankingClearTimeList];
  return {list[0], list[1], list[2]};
}

TEST(EndingRun, AClearedRunEntersItsTimeItsReplayShowsItsFiguresAndTheNextEndingStartsAfresh) {
  GameSession game;
  StartWithAFreshSave(game);
  StartAGame(game);
  PlayToTheEnding(game);
  SkipTheEnding(game);
  AwaitResultsNavigation(/*shortened=*/true);
  const int clearTime = ClearTimeSec;
  EXPECT_GT(clearTime, 0);
  const std::vector<std::string> figures = FiguresShown();
  ASSERT_TRUE(SaveReplay(1, "AAA"));
  LeaveResults(/*shortened=*/true);
  EXPECT_EQ(ClearTimes(0), std::vector<int>({clearTime, 9999, 9999}));

  // The replay pays stage 8's bonus as its run did, then shows the run's results
  // without the ending.
  PlayBack(game, 1);
  ASSERT_EQ(Scene, kSceneResults);
  EXPECT_EQ(FiguresShown(), figures);
  AwaitResultsNavigation(/*shortened=*/true);
  LeaveResults(/*shortened=*/true);

  StartAGame(game);
  PlayToTheEnding(game);
  ASSERT_TRUE(game.Hold(0, 50));
  EXPECT_EQ(std::tuple(Scene, StageTimeline, EndingSkip), std::tuple(kSceneEnding, 50, 0));
}

TEST(EndingRun, AModeOneReplayThroughTheEndingChangesNoBoard) {
  GameSession game;
  StartWithAFreshSave(game, ModeUnlockLevel1);
  ToMainMenu(game);
  StartRun(game, 1);
  PlayToTheEnding(game);
  SkipTheEnding(game);
  AwaitResultsNavigation(/*shortened=*/true);
  const int clearTime = ClearTimeSec;
  const std::vector<std::string> figures = FiguresShown();
  ASSERT_TRUE(SaveReplay(1, "AAA"));
  LeaveResults(/*shortened=*/true);
  const std::vector<int> recorded = ClearTimes(1);
  EXPECT_EQ(recorded, std::vector<int>({clearTime, 9999, 9999}));
  const std::string saved = game.folder().Read(kSaveFileName);

  PlayBack(game, 1);
  ASSERT_EQ(Scene, kSceneEnding);
  SkipTheEnding(game);
  EXPECT_EQ(WatchingReplay, 1);
  AwaitResultsNavigation(/*shortened=*/true);
  EXPECT_EQ(FiguresShown(), figures);
  LeaveResults(/*shortened=*/true);
  EXPECT_EQ(ClearTimes(1), recorded);
  EXPECT_EQ(game.folder().Read(kSaveFileName), saved);
}

// Labelled long: the whole ending after a skipped one, 13300 frames less the 240 its
// jump skips.
TEST(LongEndingRun, AfterASkippedEndingTheNextRunsInFullToTheResults) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  StartAGame(game);
  PlayToTheEnding(game);
  SkipTheEnding(game);
  AwaitResultsNavigation(/*shortened=*/true);
  LeaveResults(/*shortened=*/true);
  StartAGame(game);
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
