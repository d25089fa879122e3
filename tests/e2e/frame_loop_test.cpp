// The frame loop's pacing, its caption and the calls that a pause holds back.
#include <gtest/gtest.h>

#include "core/game_state.h"
#include "game_library.h"
#include "game_session.h"

namespace {

// Milliseconds that one pass takes on the virtual clock.
int PassLength(GameSession& game) {
  const std::uint32_t before = GetMilliseconds();
  EXPECT_TRUE(game.Pass(0));
  return static_cast<int>(GetMilliseconds() - before);
}

TEST(FrameLoop, AFrameLastsSeventeenMillisecondsPlusTheSlowdownAndTheReplaySpeed) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  // Every timer read advances the virtual clock, so a pass also counts its own reads
  // after the wait (and any of the message-pump thread): lower bounds only.
  EXPECT_GE(PassLength(game), 17);
  SlowdownMs = 2.5f;
  EXPECT_GE(PassLength(game), 20);
  SlowdownMs = 0.0f;
  FrameWaitOffset = 50;
  EXPECT_GE(PassLength(game), 67);
  FrameWaitOffset = -1000;
  EXPECT_LT(PassLength(game), 17);
}

TEST(FrameLoop, TheCaptionShowsTheFrameRateFromTheFirstFrame) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  ASSERT_TRUE(game.Pass(0));
  EXPECT_EQ(MeasuredFps, 1);
  EXPECT_STREQ(CaptionText, "Vantorel - FPS:1");
  ASSERT_TRUE(game.Hold(0, 120));
  EXPECT_GE(MeasuredFps, 45);
  EXPECT_LE(MeasuredFps, 60);
}

TEST(FrameLoop, APauseHoldsTheStageAndTheObjectsButNotTheInput) {
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  ASSERT_TRUE(game.Press(kPadFire));
  ASSERT_TRUE(game.Press(kPadFire));
  ASSERT_EQ(Scene, kScenePlay);
  ObjectPool[100].state = kStateDelayed;
  ObjectPool[100].timer = 5;
  const int frame = StageFrame;
  const int cycle = FrameCycle4;
  TitleCardActive = 0;  // no pause while the stage's title card shows
  Paused = 1;
  ASSERT_TRUE(game.Hold(kPadFire, 3));
  EXPECT_EQ(StageFrame, frame);
  EXPECT_EQ(ObjectPool[100].timer, 5);
  EXPECT_EQ(ActionHold[0], 3);
  EXPECT_EQ(FrameCycle4, (cycle + 3) % 4);  // the display goes on
  Paused = 0;
  ASSERT_TRUE(game.Pass(0));
  EXPECT_EQ(StageFrame, frame + 1);
  EXPECT_EQ(ObjectPool[100].timer, 4);
}

}  // namespace
