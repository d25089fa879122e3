// The end of a run at stage 8's frame 10800, by game mode, replay mode, practice and
// playback, and the stage-clear bonus that the ending entry pays.
#include <gtest/gtest.h>

#include <ostream>
#include <tuple>

#include "core/game_state.h"
#include "core/replay_files.h"
#include "core/sound_control.h"
#include "stage_world.h"
#include "stages/run_end.h"

namespace {

enum class Outcome { kEnding, kResults, kPracticeHalt, kNothing };

struct RunEndCase {
  int mode, replayMode, practice, watching;
  Outcome outcome;
};

void PrintTo(const RunEndCase& c, std::ostream* out) {
  *out << "mode " << c.mode << " replay " << c.replayMode << " practice " << c.practice << " watching " << c.watching;
}

constexpr Outcome E = Outcome::kEnding, R = Outcome::kResults, H = Outcome::kPracticeHalt, N = Outcome::kNothing;

// Mode 0: a playback enters the ending as its recording did, then goes to its results;
// practice halts; a recording enters the ending, and so does a run no longer recorded
// unless it was a playback. Mode 1: practice halts, every other run enters the ending.
constexpr RunEndCase kRunEnds[] = {
    {0, 0, 0, 0, E}, {0, 0, 0, 1, N}, {0, 0, 1, 0, H}, {0, 0, 1, 1, H}, {0, 1, 0, 0, E}, {0, 1, 0, 1, E},
    {0, 1, 1, 0, H}, {0, 1, 1, 1, H}, {0, 2, 0, 0, R}, {0, 2, 0, 1, R}, {0, 2, 1, 0, R}, {0, 2, 1, 1, R},
    {1, 0, 0, 0, E}, {1, 0, 0, 1, E}, {1, 0, 1, 0, H}, {1, 0, 1, 1, H}, {1, 1, 0, 0, E}, {1, 1, 0, 1, E},
    {1, 1, 1, 0, H}, {1, 1, 1, 1, H}, {1, 2, 0, 0, E}, {1, 2, 0, 1, E}, {1, 2, 1, 0, H}, {1, 2, 1, 1, H},
};

class RunEnd : public StageWorld, public testing::WithParamInterface<RunEndCase> {};

TEST_P(RunEnd, TakesTheWayOfItsModeReplayAndPractice) {
  const RunEndCase& c = GetParam();
  Begin(c.mode, 8);
  StageTimeline = 10800;
  ReplayMode = c.replayMode;
  PracticeFlag = c.practice;
  WatchingReplay = c.watching;
  EndFadeFlag = 5;
  EndingSkip = EndingSkipFade = CreditPictureState = CreditPictureAlpha = EndingFadeIn = 7;
  CameraX = CameraY = 300.0f;
  BgmVolume[4] = 100.0f;
  BgmFadeMode[4] = 2;
  BgmFadeMode[2] = 1;
  const int enemy = PutEnemies(1, 1);
  EndTheRun();
  switch (c.outcome) {
    case Outcome::kEnding:
      EXPECT_EQ(std::tuple(Scene, Stage, StageTimeline, ReplayMode, EndFadeTimer, EndFadeFlag, ObjectPool[enemy].state),
                std::tuple(kSceneEnding, 9, 0, kReplayOff, 270, 0, kStateFree));
      EXPECT_EQ(CameraX + CameraY, 0.0f);
      EXPECT_EQ(EndingSkip + EndingSkipFade + CreditPictureState + CreditPictureAlpha + EndingFadeIn, 0);
      EXPECT_EQ(std::tuple(BgmFadeMode[4], BgmVolume[4], BgmFadeMode[2], PlaybackEndDue),
                std::tuple(kFadeIn, 100.0f, kFadeOutStop, 0));
      break;
    case Outcome::kResults:
      // The ending's entry as in the recording; the results open at the next pass.
      EXPECT_EQ(std::tuple(Scene, Stage, ObjectPool[enemy].state, PlaybackEndDue),
                std::tuple(kSceneEnding, 9, kStateFree, 1));
      EndPlaybackIfDue();
      EXPECT_EQ(std::tuple(Scene, ScenePhase, ReplayMode, PlaybackEndDue), std::tuple(kSceneResults, 6, kReplayOff, 0));
      break;
    case Outcome::kPracticeHalt:
      EXPECT_EQ(std::tuple(TimelineHalt, EndFadeFlag, Scene), std::tuple(1.0f, 0, kScenePlay));
      break;
    case Outcome::kNothing:
      EXPECT_EQ(std::tuple(Scene, Stage, TimelineHalt, ObjectPool[enemy].state),
                std::tuple(kScenePlay, 8, 0.0f, kStateActive));
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(ModeReplayPracticeWatching, RunEnd, testing::ValuesIn(kRunEnds));

using EndingBonus = StageWorld;

// The ending entry pays stage 8's clear itself: 800 per kill and 200 per coin, and the
// time bonus of (16000 - StageFrame) x 98.
TEST_F(EndingBonus, PaysKillsCoinsAndStageEightsOwnTimeBonus) {
  for (const auto& [stageFrame, score, timeBonus] :
       {std::tuple(16000, 91000.0f, 5), std::tuple(15000, 189000.0f, 98005), std::tuple(17000, 91000.0f, 5)}) {
    Begin(1, 8);
    StageFrame = stageFrame;
    StageKills = 100.0f;
    StageCoins = 50.0f;
    StageClearExtra = 12345.0f;  // a stage-7 value, not paid again
    Score = 1000.0f;
    TimeBonus = 5;
    StageKillBonus = KillScore = StageCoinBonus = CoinScore = 1;
    EndTheRun();
    EXPECT_EQ(Score, score) << stageFrame;
    EXPECT_EQ(std::tuple(TimeBonus, StageKillBonus, KillScore, StageCoinBonus, CoinScore),
              std::tuple(timeBonus, 80001, 80001, 10001, 10001));
  }
}

}  // namespace
