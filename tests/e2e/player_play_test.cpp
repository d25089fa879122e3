// The player in whole games: the pause page, and recordings of every shot type that
// their playbacks repeat frame by frame, whatever speed key the viewer holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "../support/save_frame.h"
#include "core/game_state.h"
#include "game_session.h"

namespace {

constexpr int kRight = kPadRight, kLeft = kPadLeft, kUp = kPadUp, kDown = kPadDown;

// Starts a game in which pausing is allowed (no stage title card is shown yet).
void StartPausableGame(GameSession& game) {
  ASSERT_EQ(game.Start(), 0);
  StartAGame(game);
  TitleCardActive = 0;
}

TEST(PlayerPause, NoPauseDuringAStageEndHaltAndAction4TogglesTheManual) {
  GameSession game;
  StartPausableGame(game);
  TimelineHalt = 1.0f;
  ASSERT_TRUE(game.Press(kPadPause));
  EXPECT_EQ(Paused, 0);
  TimelineHalt = 0.0f;
  ASSERT_TRUE(game.Press(kPadPause));
  ASSERT_EQ(Paused, 1);
  const int stageFrame = StageFrame;
  for (const int shown : {1, 0, 1}) {
    ASSERT_TRUE(game.Press(kPadFacing));
    EXPECT_EQ(ManualShown, shown);
    EXPECT_EQ(ManualImage >= 0, shown == 1);
  }
  SaveFrame("manual-open");
  ASSERT_TRUE(game.Press(kPadPause));
  EXPECT_EQ(Paused, 0);
  EXPECT_EQ(ManualShown, 0);
  EXPECT_EQ(ManualImage, -1);
  EXPECT_EQ(StageFrame, stageFrame + 2);  // the stage runs again from the unpausing frame
}

TEST(PlayerPause, HoldingActions1And3For121FramesQuitsToTheTitle) {
  GameSession game;
  StartPausableGame(game);
  ASSERT_TRUE(game.Press(kPadPause));
  ASSERT_TRUE(game.Press(kPadFacing));  // the manual stays open until the quit
  ASSERT_TRUE(game.Hold(kPadFire | kPadSpecial, 120));
  EXPECT_EQ(Scene, kScenePlay);
  ASSERT_TRUE(game.Pass(kPadFire | kPadSpecial));
  EXPECT_EQ(Scene, kSceneTitle);
  EXPECT_EQ(ManualImage, -1);
  EXPECT_EQ(MenuState.page, 3.0f);
  EXPECT_EQ(MenuState.blinkTimer, 101.0f);
}

// 600 frames of flight, shots, dashes (the one at 275 charged: the dragon blinks from
// there), a level-up spend, turns, the facing lock on and off, and a pause.
const std::vector<ScriptSegment> kFlight = {
    {20, kRight | kPadFire}, {1, kRight | kPadSecond}, {40, kUp | kPadFire}, {1, 0},
    {1, kPadSpecial},        {30, kLeft | kPadFire},   {1, kPadFacing},      {40, kDown | kLeft | kPadFire},
    {1, kPadFacing},         {140, kRight | kPadFire}, {1, kRight | kPadSecond}, {60, kRight | kPadFire | kPadSecond},
    {1, kPadPause},          {30, kPadFire},           {1, kPadPause},       {232, kRight | kUp | kPadFire},
};

// Straight on to the world's right edge, at speed level 5 from the second frame on.
const std::vector<ScriptSegment> kFlightToTheEdge = {
    {20, kRight | kPadFire}, {1, kRight | kPadSecond}, {579, kRight | kPadFire}};

struct Recording {
  int mainShot, secondShot;
  int liveWord;    // held by the viewer during the playback
  int waitOffset;  // FrameWaitOffset it gives
  bool toTheEdge;
};

void PrintTo(const Recording& r, std::ostream* out) { *out << r.mainShot << "/" << r.secondShot; }

class PlayerRecording : public testing::TestWithParam<Recording> {};

TEST_P(PlayerRecording, APlaybackRepeatsItsRecordingWhateverTheViewerHolds) {
  const Recording& r = GetParam();
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  float farthest = 0.0f;
  const FrameHook sameInBoth = [&](int frame) {
    if (frame == 0) TitleCardActive = 0, SpeedLevel = r.toTheEdge ? 5 : SpeedLevel;
    farthest = std::max(farthest, ObjectPool[kPlayerSlot].x);
  };
  StartAGame(game, r.mainShot, r.secondShot);
  const std::vector<FrameDigest> recorded = PlayScript(game, r.toTheEdge ? kFlightToTheEdge : kFlight, [&](int frame) {
    sameInBoth(frame);
    if (r.mainShot == 13 && (frame == 50 || frame == 100 || frame == 277)) {
      SaveFrame("frame-" + std::to_string(frame));
    }
  });
  ASSERT_EQ(recorded.size(), 600u);
  if (r.toTheEdge) {
    EXPECT_EQ(farthest, 6368.0f);
  }
  SaveTheRecording(1);
  int offset = 0;
  const std::vector<FrameDigest> played = PlayBack(game, 1, [&](int frame) {
    sameInBoth(frame);
    if (frame == 10) offset = FrameWaitOffset;
  }, r.liveWord);
  EXPECT_EQ(offset, r.waitOffset);
  // Holding the end key 100 frames ends the playback there.
  EXPECT_EQ(played.size(), r.liveWord == kPadPause ? 100u : 600u);
  std::vector<FrameDigest> expected(recorded.begin(), recorded.begin() + played.size());
  // A playback sped up or slowed down hears its sounds end at other frames.
  if (r.waitOffset != 0) expected = WithoutSounds(expected);
  const std::vector<FrameDigest> compared = r.waitOffset != 0 ? WithoutSounds(played) : played;
  EXPECT_EQ(FirstDivergingFrame(expected, compared), -1) << DescribeDivergence(expected, compared);
}

INSTANTIATE_TEST_SUITE_P(ShotTypesAndLevels, PlayerRecording,
                         testing::Values(Recording{13, 70, 0, 0, false}, Recording{21, 82, kPadSecond, -1000, false},
                                         Recording{32, 93, kPadFire, -8, false},
                                         Recording{40, 101, kPadSpecial, 50, false}, Recording{51, 112, 0, 0, true},
                                         Recording{63, 120, kPadPause, 0, false}),
                         [](const testing::TestParamInfo<Recording>& info) {
                           return "Main" + std::to_string(info.param.mainShot) + "Second" +
                                  std::to_string(info.param.secondShot);
                         });

}  // namespace
