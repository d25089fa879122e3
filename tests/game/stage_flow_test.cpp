#include <gtest/gtest.h>

#include "core/game_state.h"
#include "core/new_game.h"
#include "core/stage_flow.h"

namespace {

class StageFlow : public testing::Test {
 protected:
  void SetUp() override {
    NewGameInit();
    Scene = kScenePlay;
  }
  static void Frames(int count) {
    for (int i = 0; i < count; ++i) UpdateStage();
  }
};

TEST_F(StageFlow, NearLayersScrollOnlyWhileRunning) {
  struct Scroll {
    int stage, row, word, step, frames, expected;
  };
  // 2 a frame, back to 0 above 2000 (1001 frames to 2002 -> 0); stage 2 at 4;
  // stage 3's far layer at 4 up to 1200 and its near layer at 8 up to 2500.
  const Scroll scrolls[] = {{1, 1, 0, 2, 1001, 0}, {1, 1, 0, 2, 1002, 2}, {2, 1, 0, 4, 100, 400},
                            {3, 1, 0, 4, 301, 0},  {3, 1, 1, 8, 300, 2400}, {4, 1, 4, 1, 1025, 0}};
  for (const Scroll& s : scrolls) {
    SetUp();
    Stage = s.stage;
    Paused = 1;
    Frames(5);
    EXPECT_EQ(StageEventState[s.row][s.word], 0);
    Paused = 0;
    Frames(s.frames);
    EXPECT_EQ(StageEventState[s.row][s.word], s.expected) << s.stage << " " << s.frames;
  }
}

TEST_F(StageFlow, StageSevenEndsSevenHundredFramesAfterItsWhiteOut) {
  Stage = 7;
  WhiteOutCounter = 1;
  Frames(254);
  EXPECT_EQ(WhiteOutCounter, 255);
  Frames(1);
  EXPECT_EQ(WhiteOutCounter, 0);
  EXPECT_EQ(WhiteFlashAlpha, 255);
  EXPECT_EQ(StageEventState[5][9], 1);
  Frames(698);
  EXPECT_EQ(TimelineHalt, 0.0f);
  EXPECT_EQ(StageEventState[5][9], 699);
  // The clear it sets is run in the same frame: the tally has begun.
  Frames(1);
  EXPECT_EQ(TimelineHalt, 2.0f);
  TimelineHalt = 0.0f;
  StageEventState[5][9] = 700;  // set from outside
  Frames(1);
  EXPECT_EQ(TimelineHalt, 2.0f);
}

// The script's scroll steps add up; each frame moves the two layers by step + 2 and
// step x 1.8 + 2.
TEST_F(StageFlow, StageSevenScrollStepsAccumulate) {
  Stage = 7;
  Stage7ScrollStep = 3;
  Frames(10);
  EXPECT_EQ(Stage7ScrollStep, 3);
  EXPECT_EQ(StageEventState[5][1], 50);
  EXPECT_EQ(StageEventState[5][4], 70);
}

TEST_F(StageFlow, StageNineHasNoBackgroundButKeepsTheStageEnd) {
  Stage = 9;
  TimelineHalt = 1.0f;
  Frames(1);
  EXPECT_EQ(TimelineHalt, 2.0f);
  for (const auto& row : StageEventState) {
    for (int word : row) EXPECT_EQ(word, 0);
  }
}

TEST_F(StageFlow, TheLoadoutFadeStartsTheGameAfterTwoHundredFrames) {
  Scene = kSceneLoadout;
  SelectFrame = 4;
  Frames(196);
  EXPECT_EQ(Scene, kSceneLoadout);
  EXPECT_EQ(StageEventState[3][0], 392);
  Frames(1);
  EXPECT_EQ(Scene, kScenePlay);
  EXPECT_EQ(SelectFrame, 0);
  EXPECT_EQ(StageEventState[3][0], 0);
}

}  // namespace
