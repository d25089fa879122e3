// Seeded random play in every stage of game modes 0 and 1, recorded, saved through the
// results' save page and played back from the replay browser: the playback must pass
// through the same frames as its recording. Each case is its own test, so that ctest
// runs them side by side.
#include <gtest/gtest.h>

#include <ostream>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "../support/call_recorder.h"
#include "core/game_rules.h"
#include "core/game_state.h"
#include "frame_digest.h"
#include "game_session.h"
#include "scenario.h"

namespace {

constexpr int kSweepFrames = 5000;
// The drawn cases cost several times as much per frame.
constexpr int kDrawnFrames = 1000;
constexpr int kSlot = 1;
// Game mode 1 is open from total level 8. A recording runs one below the saved level,
// 9, where the stage 1 notice shows, and its playback after the results at 9 + the
// level reached, where it does not.
constexpr int kSavedTotalLevel = 10;
// Random play seldom fills the EXP gauge: two level-ups at these frames, the second to
// total level 12, which a recording announces and its playback does not.
constexpr int kLevelUpFrames[] = {400, 800};

struct SweepCase {
  int mode;
  int stage;
  DrawingPath path;
  bool drawn;
  int frames;
};

// A hit on the last life is undone before the hit turn can end in death, after the same
// pass of the recording and of its playback.
void GiveBackALostLastLife(int) {
  if (Lives == 0.0f) Lives = 1.0f;
}

void PrintTo(const SweepCase& sweep, std::ostream* out) {
  *out << "mode " << sweep.mode << ", stage " << sweep.stage << ", " << sweep.frames << " frames";
}

class LongReplaySweep : public testing::TestWithParam<SweepCase> {};

TEST_P(LongReplaySweep, APlaybackRepeatsItsRecordingFrameByFrame) {
  const SweepCase& sweep = GetParam();
  GameSession game;
  StartWithAFreshSave(game, kSavedTotalLevel, sweep.path);
  KeepCallLog(false);
  Scenario::SkipDrawing(!sweep.drawn);
  for (int frame : kLevelUpFrames) {
    game.AtReplayFrame(frame, [] {
      ExpGauge = 100.5f;
      CheckLevelUp();
    });
  }
  // The game mode's item from the main menu, with the run started at the case's stage as
  // a practice run would be (the menu's arrival sets the start back to stage 1).
  ToMainMenu(game);
  StartStage = sweep.stage;
  StartRun(game, sweep.mode);
  ASSERT_EQ(std::tuple(Scene, ReplayMode, GameMode, Stage),
            std::tuple(kScenePlay, kReplayRecording, sweep.mode, sweep.stage));
  ClearCallLog();
  const unsigned seed = static_cast<unsigned>(100 * sweep.mode + sweep.stage);
  const std::vector<FrameDigest> recorded = PlayScript(game, RandomPlay(sweep.frames, seed), GiveBackALostLastLife);
  ASSERT_EQ(static_cast<int>(recorded.size()), sweep.frames) << "play left the stage at frame " << recorded.size();
  SaveTheRecording(kSlot);

  ToMainMenu(game);
  StartStage = sweep.stage;
  const std::vector<FrameDigest> played = PlayBack(game, kSlot, GiveBackALostLastLife);
  const bool identical = played.size() == recorded.size() && FirstDivergingFrame(recorded, played) == -1;
  EXPECT_TRUE(identical) << played.size() << " of " << recorded.size() << " frames played back; "
                         << DescribeDivergence(recorded, played);
  EXPECT_EQ(Level, 1.0f + std::size(kLevelUpFrames));
  std::printf("replay sweep: mode %d stage %d %s: %d frames, %s\n", sweep.mode, sweep.stage,
              sweep.drawn ? (sweep.path == DrawingPath::kDevice ? "drawn on the device" : "drawn in software")
                          : "drawing skipped",
              sweep.frames, identical ? "identical" : "diverged");
}

std::vector<SweepCase> SkippedDrawingCases() {
  std::vector<SweepCase> cases;
  for (int mode : {0, 1}) {
    for (int stage = 1; stage <= 8; ++stage) cases.push_back({mode, stage, DrawingPath::kDevice, false, kSweepFrames});
  }
  return cases;
}

std::string CaseName(const testing::TestParamInfo<SweepCase>& info) {
  const SweepCase& sweep = info.param;
  std::string name = "Mode" + std::to_string(sweep.mode) + "Stage" + std::to_string(sweep.stage);
  if (sweep.drawn) name += sweep.path == DrawingPath::kDevice ? "DrawnOnDevice" : "DrawnInSoftware";
  return name;
}

INSTANTIATE_TEST_SUITE_P(DrawingSkipped, LongReplaySweep, testing::ValuesIn(SkippedDrawingCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(Drawn, LongReplaySweep,
                         testing::Values(SweepCase{0, 3, DrawingPath::kDevice, true, kDrawnFrames},
                                         SweepCase{1, 6, DrawingPath::kSoftware, true, kDrawnFrames}),
                         CaseName);

}  // namespace
