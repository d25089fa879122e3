// The dispatcher and the interpreter on the real tables: what advances, what acts on
// which frame, holds, jumps, the halting call and the order of random draws.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "core/game_state.h"
#include "game_library.h"
#include "stage_world.h"
#include "stages/script_interpreter.h"

namespace {

struct SweepCase {
  const char* what;
  int mode, stage;
  int timeline1, timeline2, timeline3;  // the frames the first call sees (timeline 3 as it is)
  int group1, group2;                   // active enemies of each group
  int frames;
  int endTimeline1, endTimeline2, endTimeline3;  // the counters after the last call
  std::vector<std::string> spawns;
};

void PrintTo(const SweepCase& sweep, std::ostream* out) { *out << sweep.what; }

const SweepCase kSweep[] = {
    {"mode 2 advances and spawns nothing", 2, 1, 1, 1, 0, 0, 0, 2500, 2500, 2500, 0, {}},
    {"mode 3 advances and spawns nothing", 3, 5, 1, 1, 0, 0, 0, 1000, 1000, 1000, 0, {}},
    {"stage 9 only advances", 0, 9, 1, 1, 0, 0, 0, 3000, 3000, 3000, 0, {}},
    {"the first frame after a reset is 1", 0, 6, 1, 1, 0, 0, 0, 1, 1, 1, 1, {}},
    {"a jump to N resumes at N + 1", 0, 3, 1600, 1, 0, 0, 0, 2, 2501, 2, 0, {}},
    {"the frames after a jump act", 0, 3, 2860, 1, 0, 0, 0, 2, 3100, 2, 0, {"1039 500 350 0 1"}},
    {"timeline 2 jumps 1561 to 1801", 0, 8, 100, 1561, 0, 0, 0, 2, 101, 1801, 2, {}},
    {"timeline 2 jumps 2361 to 2501", 0, 8, 100, 2361, 0, 0, 0, 2, 101, 2501, 2, {}},
    {"a held timeline 1 leaves timeline 2 on time", 0, 2, 630, 800, 0, 23, 0, 11, 629, 810, 0,
     {"1031 200 1700 0 2", "1031 6200 200 0 2"}},
    {"a held timeline 2 leaves timeline 1 on time", 0, 4, 1955, 1990, 0, 1, 0, 16, 1970, 1989, 0,
     {"1066 500 500 0 2", "1066 3000 1200 0 2"}},
    {"11 active enemies hold stage 1 at 900", 0, 1, 900, 1, 0, 11, 0, 5, 899, 5, 0, {}},
    {"10 active enemies let it go on", 0, 1, 900, 1, 0, 10, 0, 2, 901, 2, 0, {}},
    {"stage 2's timeline 3 stays until the boss moves it", 0, 2, 4100, 7000, 0, 0, 0, 300, 4399, 7299, 0, {}},
    {"stage 3's timeline 3 counts once timeline 1 is above 6100", 1, 3, 6100, 1, 0, 0, 0, 501, 6600, 501, 500,
     {"1042 3000 1000 0 1", "1040 1000 500 0 2"}},
    {"stage 7's timeline-3 frame 100 falls on timeline-1 frame 5098", 0, 7, 5000, 1, 0, 0, 0, 99, 5098, 99, 100,
     {"1085 5500 800 0 1"}},
};

class DispatcherSweep : public StageWorld, public testing::WithParamInterface<SweepCase> {};

TEST_P(DispatcherSweep, CountersAndSpawns) {
  const SweepCase& sweep = GetParam();
  Begin(sweep.mode, sweep.stage);
  Before(sweep.timeline1, sweep.timeline2, sweep.timeline3);
  PutEnemies(1, sweep.group1);
  PutEnemies(2, sweep.group2);
  Frames(sweep.frames);
  EXPECT_EQ(std::tuple(StageTimeline, StageTimeline2, StageTimeline3),
            std::tuple(sweep.endTimeline1, sweep.endTimeline2, sweep.endTimeline3));
  EXPECT_EQ(Spawns(), sweep.spawns);
  EXPECT_EQ(std::tuple(StageFrame, BattleFrames), std::tuple(sweep.frames, sweep.frames));
}

INSTANTIATE_TEST_SUITE_P(Rows, DispatcherSweep, testing::ValuesIn(kSweep));

using HaltingCall = StageWorld;

// Stage 6 mode 0 cancels the bullets on every call with timeline 1 above 7100, after
// timeline 3: the halting call of 7400 included, none after it.
TEST_F(HaltingCall, FinishesItsCallThenOnlyTheStageFrameCounts) {
  Begin(0, 6);
  Before(7000, 100);
  int cancellingCalls = 0;
  for (int call = 1; call <= 500; ++call) {
    const int fresh = PutEnemies(0, 1, kStateActive, kCategoryEnemyBullet);
    Frames(1);
    if (ObjectPool[fresh].category == kCategoryEffect) ++cancellingCalls;
  }
  EXPECT_EQ(cancellingCalls, 300);
  EXPECT_EQ(std::tuple(TimelineHalt, StageTimeline, StageTimeline3, BattleFrames, StageFrame),
            std::tuple(1.0f, 7400, 401, 401, 500));
}

// Stage 4's halt plays three rising sounds, each drawing its volume before its number.
TEST_F(HaltingCall, DrawsEachSoundsVolumeBeforeItsNumber) {
  Begin(0, 4);
  Before(10300, 100);
  SeedRandom(0);
  int draws[6];
  for (int i = 0; i < 6; ++i) draws[i] = RandomInRange(i % 2 == 0 ? 100 : 3);
  SeedRandom(0);
  ClearCallLog();
  Frames(1);
  EXPECT_EQ(TimelineHalt, 1.0f);
  std::vector<int> maxima;
  for (const RecordedCall& call : CallsOf(Call::RandomInRange)) maxima.push_back(call.Int(0));
  EXPECT_EQ(maxima, (std::vector<int>{100, 3, 100, 3, 100, 3}));
  const std::vector<RecordedCall> sounds = CallsOf(Call::PlaySe);
  ASSERT_EQ(sounds.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(std::pair(sounds[i].Int(0), sounds[i].Int(1)), std::pair(20 + draws[2 * i + 1], 100 + draws[2 * i]));
  }
}

// Two holds on one frame each step the timeline back while their groups are too full.
TEST_F(HaltingCall, TwoHoldsOnOneFrameStepBackTwice) {
  static constexpr ScriptRow kRows[] = {{1, At(10), {Hold(1, 0)}}, {1, At(10), {Hold(2, 0)}}};
  static constexpr StageScript kScript{.modes = {kRows, kRows}};
  Begin(0, 1);
  PutEnemies(1, 1);
  PutEnemies(2, 1);
  std::vector<int> seen;
  StageTimeline = 9;
  for (int call = 0; call < 4; ++call) {
    seen.push_back(++StageTimeline);  // the dispatcher's advance
    RunStageScript(kScript, 0);
  }
  EXPECT_EQ(seen, (std::vector<int>{10, 9, 10, 9}));
}

}  // namespace
