// Stage 1 of game modes 0 and 1 in the real frame loop: the script's spawns from the
// first at 400, its holds released by clearing the waiting group, the halt at 2400
// and the stage clear's tally that follows it.
#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "../support/call_recorder.h"
#include "../support/save_frame.h"
#include "core/game_state.h"
#include "game_session.h"

namespace {

// The templates the stage-1 scripts place; the others are what those create.
const std::set<int> kScriptTemplates = {1015, 1016, 1018, 1019, 1020, 1113};
constexpr int kHoldPatience = 60;  // frames timeline 1 waits before the harness clears group 1

class StageOneRun : public testing::TestWithParam<int> {};

TEST_P(StageOneRun, SpawnsHoldsAndHaltsAt2400) {
  const int mode = GetParam();
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  TotalLevel = 1;
  StartAGame(game);
  GameMode = ReplayHeader.gameMode = mode;
  const std::set<int> savedFrames = {700, 2340, 2400};
  std::vector<int> spawnFrames;
  std::size_t logged = 0;
  int waited = 0;
  std::set<int> clearedHolds;
  for (int pass = 0; pass < 3000 && TimelineHalt == 0.0f; ++pass) {
    const int before = StageTimeline;
    ASSERT_TRUE(game.Pass());
    for (; logged < CallLog().size(); ++logged) {
      const RecordedCall& call = CallLog()[logged];
      if (call.call == Call::CreateObject && kScriptTemplates.count(call.Int(0))) {
        spawnFrames.push_back(StageTimeline);
      }
    }
    waited = StageTimeline == before ? waited + 1 : 0;
    if (waited >= kHoldPatience) {
      ClearEnemies(1);
      clearedHolds.insert(StageTimeline + 1);  // a waiting timeline reads its hold frame - 1
    }
    if (StageTimeline == before) continue;
    if (savedFrames.count(StageTimeline) && (mode == 0 || StageTimeline != 700)) {
      SaveFrame("mode" + std::to_string(mode) + "-frame" + std::to_string(StageTimeline));
    }
    if (StageTimeline == 700) {
      EXPECT_EQ(Stage1NoticeTimer > 0, mode == 0);
    }
    if (StageTimeline == 1000) {  // a paused frame changes no counter of the script
      const auto counters = std::tuple(StageTimeline, StageTimeline2, StageFrame, BattleFrames);
      Paused = 1;
      ASSERT_TRUE(game.Hold(0, 10));
      Paused = 0;
      EXPECT_EQ(std::tuple(StageTimeline, StageTimeline2, StageFrame, BattleFrames), counters);
    }
  }
  // The stage flow takes the halt over in the same frame: the tally has begun.
  ASSERT_EQ(TimelineHalt, 2.0f);
  EXPECT_EQ(StageTimeline, 2400);
  ASSERT_FALSE(spawnFrames.empty());
  EXPECT_EQ(spawnFrames.front(), 400);
  EXPECT_EQ(spawnFrames.size(), mode == 0 ? 38u : 30u);
  EXPECT_EQ(spawnFrames.back(), 2220);
  // The large enemies of 2110 and after are in play at 2300: that hold waits for them.
  EXPECT_TRUE(clearedHolds.count(2300));
  // Through the tally (hurried by the second action) to the shop, only the stage frame
  // counts.
  const int battleFrames = BattleFrames;
  const int stageFrame = StageFrame;
  int passes = 0;
  for (; passes < 400 && TimelineHalt == 2.0f; ++passes) {
    ASSERT_TRUE(game.Pass(kPadSecond));
    if (passes == 100) SaveFrame("mode" + std::to_string(mode) + "-tally");
  }
  EXPECT_EQ(TimelineHalt, 3.0f);
  EXPECT_EQ(BattleFrames, battleFrames);
  EXPECT_EQ(StageFrame, stageFrame + passes);
  EXPECT_EQ(StageTimeline, 2400);
}

INSTANTIATE_TEST_SUITE_P(Modes, StageOneRun, testing::Values(0, 1));

}  // namespace
