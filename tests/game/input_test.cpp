#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "../support/scratch_directory.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/new_game.h"
#include "core/replay_files.h"

namespace {

// Feeds ReadInput from a replay buffer: the words a test wants it to read.
class InputFeed : public ::testing::Test {
 protected:
  // A playback starts a new game from the title's state.
  void SetUp() override {
    ResetModeState();
    NewGameInit();
  }
  void Feed(std::vector<int> words) {
    words_ = std::move(words);
    ReplayMode = kReplayPlayback;
    ReplayBuffer = words_.data();
    ReplayFrameCount = static_cast<int>(words_.size());
    ReplayPosition = 0;
  }
  void ReadFrames(int count) {
    for (int i = 0; i < count; ++i) ReadInput();
  }

  ScratchDirectory scratch_;  // playback's end writes nothing, but loads from here
  std::vector<int> words_;
};

TEST_F(InputFeed, UpWinsOverDownAndLeftOverRight) {
  Feed({kInputUp | kInputDown | kInputLeft | kInputRight, kInputDown | kInputRight, 0, 0});
  ReadInput();
  EXPECT_EQ(BitHold[0], 1);
  EXPECT_EQ(BitHold[1], 0);
  EXPECT_EQ(BitHold[2], 1);
  EXPECT_EQ(BitHold[3], 0);
  ReadInput();
  EXPECT_EQ(BitHold[0], 0);
  EXPECT_EQ(BitHold[1], 1);
  EXPECT_EQ(BitHold[2], 0);
  EXPECT_EQ(BitHold[3], 1);
}

TEST_F(InputFeed, ButtonsCountHeldFramesForEveryActionMappedToThem) {
  const int button2 = 32;
  ActiveKeyMap[0] = button2;
  ActiveKeyMap[3] = button2;  // two actions may share one button
  ActiveKeyMap[1] = 16;
  Feed({button2, button2 | 8192, button2, 0, 0});
  for (int frame = 1; frame <= 3; ++frame) {
    ReadInput();
    EXPECT_EQ(BitHold[5], frame);
    EXPECT_EQ(ActionHold[0], frame);
    EXPECT_EQ(ActionHold[3], frame);
    EXPECT_EQ(ActionHold[1], 0);
  }
  EXPECT_EQ(BitHold[13], 0);
  ReadInput();
  EXPECT_EQ(ActionHold[0], 0);
}

TEST_F(InputFeed, AnActionMappedToNoButtonKeepsItsCount) {
  ActiveKeyMap[2] = 0;
  ActiveKeyMap[4] = kInputUp;
  ActionHold[2] = 7;
  ActionHold[4] = 9;
  Feed({kInputUp | 0x3FF0, kInputUp | 0x3FF0, 0});
  ReadFrames(2);
  EXPECT_EQ(ActionHold[2], 7);
  EXPECT_EQ(ActionHold[4], 9);
}

TEST_F(InputFeed, TheHitTurnKeepsTheWordAndStillAdvancesTheReplay) {
  Feed({16, 32, 64, 128});
  ReadInput();
  GameObject& player = ObjectPool[kPlayerSlot];
  player.animation = kHitTurnAnimation;
  player.x = 500.0f;
  player.facing = 0;
  CameraX = 100.0f;
  ReadFrames(2);
  EXPECT_EQ(InputWord, 16);
  EXPECT_EQ(BitHold[4], 1);
  EXPECT_EQ(ReplayPosition, 3);
  EXPECT_EQ(player.x, 496.0f);
  EXPECT_FLOAT_EQ(CameraX, 100.0f - 2.1f - 2.1f);
  player.animation = 17;
  ReadInput();
  EXPECT_EQ(InputWord, 128);
}

TEST_F(InputFeed, TheHitTurnMovesTheCameraOnlyInsideItsLimits) {
  Feed({0, 0, 0, 0});
  GameObject& player = ObjectPool[kPlayerSlot];
  player.animation = kHitTurnAnimation;
  player.facing = 1;
  player.x = 100.0f;
  CameraX = 10.0f;
  ReadInput();
  EXPECT_EQ(player.x, 102.0f);
  EXPECT_EQ(CameraX, 10.0f);
  player.facing = 0;
  CameraX = 5589.0f;
  ReadInput();
  EXPECT_EQ(CameraX, 5589.0f);
}

TEST(Input, ADeadPlayerReadsNothingButTheRecordingGrows) {
  ScratchDirectory scratch;
  ReplayMode = kReplayRecording;
  BeginReplayIo();
  ScenePhase = 1;
  InputWord = 0x42;
  BitHold[0] = 5;
  for (int i = 0; i < 3; ++i) ReadInput();
  EXPECT_EQ(ReplayFrameCount, 3);
  EXPECT_EQ(ReplayBuffer[2], 0x42);
  EXPECT_EQ(BitHold[0], 5);
}

TEST(Input, TheLastRecordableFrameEndsTheRecording) {
  ScratchDirectory scratch;
  ReplayMode = kReplayRecording;
  BeginReplayIo();
  ReplaySlot = 3;
  ScenePhase = 1;  // the word is kept, so no pad is read
  ReplayFrameCount = kReplayMaxFrames - 1;
  ReadInput();
  EXPECT_EQ(ReplayMode, kReplayOff);
  EXPECT_EQ(scratch.Read(ReplayFileName(3)).size(), 4u * (19 + kReplayMaxFrames + 300));
}

// The frame that uses the last word still plays; the results take over before the next.
TEST_F(InputFeed, PlaybackEndsAfterItsLastWord) {
  Feed({1, 2});
  Scene = kScenePlay;
  ReadInput();
  ReadInput();
  EXPECT_EQ(std::tuple(InputWord, ReplayMode, Scene, PlaybackEndDue), std::tuple(2, kReplayPlayback, kScenePlay, 1));
  EndPlaybackIfDue();
  EXPECT_EQ(std::tuple(ReplayMode, Scene, PlaybackEndDue), std::tuple(kReplayOff, kSceneResults, 0));
}

TEST(Input, ClearingTheHoldCountersKeepsActionFive) {
  for (int& hold : BitHold) hold = 4;
  for (int& hold : ActionHold) hold = 6;
  ClearInputHoldCounters();
  for (int hold : BitHold) EXPECT_EQ(hold, 0);
  for (int action = 0; action < 4; ++action) EXPECT_EQ(ActionHold[action], 0);
  EXPECT_EQ(ActionHold[4], 6);
}

TEST(Input, AssigningAKeySwapsItWithTheActionThatHeldIt) {
  // Action 1 is given button 3 (64), which action 3 held.
  AssignKey(64, KeyConfig[0]);
  KeyConfig[0] = 64;
  const int expected[] = {64, 16, 32, 128, 256};
  for (int action = 0; action < kActionCount; ++action) EXPECT_EQ(KeyConfig[action], expected[action]);
}

TEST(Input, ButtonBitsAreTheTenButtons) {
  EXPECT_TRUE(IsButtonBit(16));
  EXPECT_TRUE(IsButtonBit(8192));
  EXPECT_FALSE(IsButtonBit(0));
  EXPECT_FALSE(IsButtonBit(8));
  EXPECT_FALSE(IsButtonBit(48));
  EXPECT_FALSE(IsButtonBit(16384));
}

}  // namespace
