#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "core/new_game.h"
#include "core/stage_flow.h"

namespace {

class StageFlow : public testing::Test {
 protected:
  void SetUp() override {
    NewGameInit();
    Scene = kScenePlay;
    ResetCallRecorder();
    SetForwarding(Call::CreateObject, false);
    BackdropLayerOff = 1;
  }
  void TearDown() override { ResetCallRecorder(); }
  static std::map<int, int> Spawns() {
    std::map<int, int> spawns;
    for (const RecordedCall& call : CallsOf(Call::CreateObject)) ++spawns[call.Int(0)];
    return spawns;
  }
  static void Frames(int count) {
    for (int i = 0; i < count; ++i) UpdateStage();
  }
};

TEST_F(StageFlow, NearLayersScrollOnlyWhileRunning) {
  struct Scroll {
    int stage, row, word, frames, expected;
  };
  // 2 a frame, back to 0 above 2000 (1001 frames to 2002 -> 0); stage 2 at 4;
  // stage 3's far layer at 4 up to 1200 and its near layer at 8 up to 2500.
  // Stage 5 moves its three layers by 1, 2 and 3, back to 0 above 1025, and its
  // progress by 1; stage 6 its two by 2 and 1, seamless over their 2001 and 1001 tiles.
  const Scroll scrolls[] = {{1, 1, 0, 1001, 0}, {1, 1, 0, 1002, 2}, {2, 1, 0, 100, 400},   {3, 1, 0, 301, 0},
                            {3, 1, 1, 300, 2400}, {4, 1, 4, 1025, 0}, {5, 1, 1, 1025, 1025}, {5, 1, 1, 1026, 0},
                            {5, 1, 2, 513, 0},    {5, 1, 4, 341, 1023}, {5, 1, 4, 342, 0},   {5, 4, 1, 700, 700},
                            {6, 1, 2, 1000, 2000}, {6, 1, 2, 1001, 0}, {6, 1, 4, 1002, 0}};
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
  RecordDrawing(true);
  Frames(1);
  EXPECT_TRUE(CallsOf(Call::DrawGraphAt).empty());
  EXPECT_EQ(TimelineHalt, 2.0f);
  for (const auto& row : StageEventState) {
    for (int word : row) EXPECT_EQ(word, 0);
  }
}

// The last stage's backdrop follows its phase; in phase 4 the last picture fades in
// with the phase's timer over phase 3's. Only stages 6 and 8 move the blend counter.
TEST_F(StageFlow, TheLastStagesBackdropAndTheBlendCounter) {
  for (int picture = 0; picture < 4; ++picture) StageImages[picture] = 600 + picture;
  Stage = 8;
  EndBackdropPhase = 4;
  EndBackdropTimer = 179;
  RecordDrawing(true);
  Frames(1);
  const std::vector<RecordedCall> blends = CallsOf(Call::SetBlendMode);
  const std::vector<RecordedCall> draws = CallsOf(Call::DrawGraphAt);
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0].Int(2), 602);
  EXPECT_EQ(draws[1].Int(2), 603);
  EXPECT_EQ(blends[1].Int(0), 1);
  EXPECT_EQ(blends[1].Int(1), 100);  // 180 / 1.8
  for (int stage = 1; stage <= 8; ++stage) {
    SetUp();
    Stage = stage;
    Frames(10);
    EXPECT_EQ(BackgroundBlendCounter, stage == 6 || stage == 8 ? 10 : 0) << stage;
  }
}

// Stage 6's fading layers over a few hundred progress words, multiples of 20 among
// them: each blend is 255 - 0.05 w, 180 - 0.005 w, 255 - 0.05 w and 0.05 w - 255,
// worked in double and truncated.
TEST_F(StageFlow, StageSixBlendsAreWorkedInDouble) {
  for (int picture = 0; picture < 6; ++picture) StageImages[picture] = 600 + picture;
  Stage = 6;
  Paused = 1;  // the progress word stands
  for (int i = 0; i < 400; ++i) {
    const int w = i < 300 ? 20 * i : 7 * i + 3;
    StageEventState[4][3] = w;
    ClearCallLog();
    RecordDrawing(true);
    UpdateStage();
    RecordDrawing(false);
    std::map<int, int> blendOf;  // picture -> the parameter it was drawn with
    int parameter = 0;
    for (const RecordedCall& call : CallLog()) {
      if (call.call == Call::SetBlendMode) parameter = call.Int(1);
      if (call.call == Call::DrawGraphAt && !blendOf.contains(call.Int(2))) blendOf[call.Int(2)] = parameter;
    }
    const std::map<int, int> expected = {{600, static_cast<int>(255 - 0.05 * w)},
                                         {601, 255},
                                         {602, static_cast<int>(180 - 0.005 * w)},
                                         {603, static_cast<int>(255 - 0.05 * w)},
                                         {604, 255},
                                         {605, static_cast<int>(0.05 * w - 255)}};
    ASSERT_EQ(blendOf, expected) << w;
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

// Stages 1 and 2: the far layer at half the camera, the near one five times at full
// speed, 2001 apart, less the near scroll.
TEST_F(StageFlow, StageOneAndTwoLayersFollowTheCamera) {
  StageImages[0] = 500;
  StageImages[1] = 501;
  Paused = 1;  // nothing scrolls
  struct Camera {
    float x, y;
    std::vector<std::vector<int>> draws;  // x, y, picture
  };
  const Camera cameras[] = {
      {0.01f, 0.01f, {{0, 0, 500}, {0, 0, 501}, {2000, 0, 501}, {4001, 0, 501}, {6002, 0, 501}, {8003, 0, 501}}},
      {1234.6f, 500.5f,
       {{-617, -250, 500}, {-1234, -500, 501}, {766, -500, 501}, {2767, -500, 501}, {4768, -500, 501},
        {6769, -500, 501}}},
      {5375.99f, 1151.9f,
       {{-2687, -575, 500}, {-5375, -1151, 501}, {-3374, -1151, 501}, {-1373, -1151, 501}, {627, -1151, 501},
        {2628, -1151, 501}}},
  };
  for (int stage : {1, 2}) {
    Stage = stage;
    for (const Camera& camera : cameras) {
      CameraX = camera.x;
      CameraY = camera.y;
      ClearCallLog();
      RecordDrawing(true);
      UpdateStage();
      std::vector<std::vector<int>> draws;
      for (const RecordedCall& call : CallsOf(Call::DrawGraphAt)) draws.push_back({call.Int(0), call.Int(1), call.Int(2)});
      EXPECT_EQ(draws, camera.draws) << stage << " " << camera.x;
    }
  }
}

TEST_F(StageFlow, ScenerySpawnsOverAThousandFrames) {
  struct Spawning {
    int stage;
    std::map<int, int> spawns;
  };
  // Stage 1 every 101 frames; stage 3 every 21; stage 4 six 2161 a frame and 2162 on
  // every 10th count (its progress, 4 a frame, stays below 5001); stages 7 and 8:
  // 2131 on every 30th count.
  const Spawning spawnings[] = {
      {1, {{2105, 9}}},
      {3, {{2105, 47}, {2132, 47}}},
      {4, {{2161, 6000}, {2162, 100}}},
      {7, {{2131, 33}, {2176, 33}, {2201, 8 * 100}}},
      {8, {{2131, 33}, {2203, 33}}},
  };
  for (const Spawning& s : spawnings) {
    SetUp();
    Stage = s.stage;
    Paused = 1;
    Frames(10);
    EXPECT_TRUE(CallsOf(Call::CreateObject).empty());
    Paused = 0;
    Frames(1000);
    EXPECT_EQ(Spawns(), s.spawns) << s.stage;
  }
}

TEST_F(StageFlow, ARefusedPurchasePlaysSoundTwoAndAnEmptyTallyDrawsNoBar) {
  TimelineHalt = 3.0f;
  Coins = 159.0f;
  ActionHold[2] = 1;
  UpdateStage();
  ASSERT_EQ(CallsOf(Call::PlaySe).size(), 1u);
  EXPECT_EQ(CallsOf(Call::PlaySe)[0].Int(0), 2);
  TimelineHalt = 2.0f;
  StageKills = 4.0f;
  StageEnemiesSpawned = 0.0f;
  StageCoins = StageCoinsSpawned = 8.0f;
  TallyCount = 340;
  RecordDrawing(true);
  ClearCallLog();
  UpdateStage();
  std::vector<std::vector<int>> bars;
  for (const RecordedCall& call : CallsOf(Call::DrawRect)) bars.push_back({call.Int(0), call.Int(1), call.Int(2)});
  EXPECT_EQ(bars, (std::vector<std::vector<int>>{{294, 644, 754}}));
}

}  // namespace
