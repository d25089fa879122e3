#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "../support/scratch_directory.h"
#include "core/game_state.h"
#include "core/new_game.h"
#include "core/run_state.h"
#include "core/save_data.h"
#include "game_library.h"

namespace {

std::vector<int> DrawNumbers(int count) {
  std::vector<int> numbers;
  for (int i = 0; i < count; ++i) numbers.push_back(RandomInRange(1000000));
  return numbers;
}

// Leaves every byte of the run state and the control state non-zero, as a game
// that ended in death might.
void Scribble() {
  for (const auto blocks : {RunStateBlocks(), RunControlStateBlocks()}) {
    for (const StateBlock& block : blocks) std::memset(block.address, 0x5A, block.bytes);
  }
}

// Each case starts from a fresh program (no save file, the title's mode state) and
// leaves one behind: the cases change the key configuration and the modes.
class NewGame : public testing::Test {
 protected:
  void SetUp() override { StartFresh(); }
  void TearDown() override { StartFresh(); }
  static void StartFresh() {
    ScratchDirectory empty;
    LoadSaveData();
    ResetModeState();
  }
};

TEST_F(NewGame, EveryNewGameDrawsTheSameRandomNumbers) {
  NewGameInit();
  const std::vector<int> first = DrawNumbers(20);
  NewGameInit();
  EXPECT_EQ(DrawNumbers(20), first);
  SeedRandom(0);
  EXPECT_EQ(DrawNumbers(20), first);
}

TEST_F(NewGame, NothingOfThePreviousRunRemains) {
  Scribble();
  FacingLock = 1;
  InvulnFrames = 9000.0f;
  ScenePhase = 1;
  NewGameInit();
  EXPECT_EQ(FacingLock, 0);
  EXPECT_EQ(InvulnFrames, 0.0f);
  EXPECT_EQ(ScenePhase, 0);
  EXPECT_EQ(Score, 0.0f);
  EXPECT_EQ(TimelineHalt, 0.0f);
  EXPECT_EQ(DeathFrames, 0);
  EXPECT_EQ(ChipCount, 0);
  EXPECT_EQ(BitHold[4], 0);
  EXPECT_EQ(ActionHold[0], 0);
  EXPECT_EQ(InputWord, 0);
  EXPECT_EQ(WatchingReplay, 0);
  EXPECT_EQ(OptionFireTimer[31], 0);
  EXPECT_EQ(BehaviourParam80, 80);
  EXPECT_EQ(BoostFactor, 1);
  EXPECT_EQ(ScorePopups[99].divisor, 0);
  EXPECT_EQ(SideNotices[kRecordingNotice].timer, 0);
  EXPECT_EQ(StageEventState[5][9], 0);
  EXPECT_EQ(PlayerTrailX[kTrailLength - 1], 0.0f);
}

TEST_F(NewGame, StartsAtTheTitleWithAFreshRun) {
  Scene = kScenePlay;
  StartStage = 3;
  StartShotLevel = 2;
  NShotType = 50;
  TShotType = 60;
  StartOptionLevel = 2;
  StartSpeedLevel = 4;
  StartTurboLevel = 5;
  StartLevelUps = 6;
  NewGameInit();
  EXPECT_EQ(Scene, kSceneTitle);
  EXPECT_EQ(Stage, 3);
  EXPECT_EQ(Coins, 100.0f);
  EXPECT_EQ(Lives, 3.0f);
  EXPECT_EQ(Level, 1.0f);
  EXPECT_EQ(Credits, 2);
  EXPECT_EQ(TitleCardActive, 1);
  EXPECT_EQ(StageStarted, 1);
  EXPECT_EQ(ShotLevel, 2);
  EXPECT_EQ(NShotType, 51);
  EXPECT_EQ(TShotLevel, 2);
  EXPECT_EQ(TShotType, 61);
  EXPECT_EQ(OptionLevel, 2);
  EXPECT_EQ(SpeedLevel, 4);
  EXPECT_EQ(TurboLevel, 5);
  EXPECT_EQ(GuardHealLevel, 1);
  EXPECT_EQ(LevelUpCount, 6);
}

TEST_F(NewGame, PracticeHasNoCredits) {
  PracticeFlag = 1;
  NewGameInit();
  EXPECT_EQ(Credits, 0);
}

TEST_F(NewGame, SetsUpThePlayerAndTheFixedSlots) {
  ObjectPool[500].state = kStateActive;
  CameraX = 40.0f;
  NewGameInit();
  EXPECT_EQ(ObjectPool[500].state, kStateFree);
  EXPECT_EQ(CameraX, 0.0f);
  const GameObject& player = ObjectPool[kPlayerSlot];
  EXPECT_EQ(player.state, kStateActive);
  EXPECT_EQ(player.layer, 6);
  EXPECT_EQ(player.category, kCategoryPlayer);
  EXPECT_EQ(player.x, 384.0f);
  EXPECT_EQ(player.y, 270.0f);
  EXPECT_EQ(player.width, 64);
  EXPECT_EQ(player.hitWidth, 4);
  EXPECT_EQ(player.hitHeight, 4);
  EXPECT_EQ(player.imageSet, 4);
  EXPECT_EQ(player.blendMode, 1);
  EXPECT_EQ(player.animation, 17);
  EXPECT_EQ(PlayerIdleTimer, 23);
  const GameObject& ram = ObjectPool[kRamSlot];
  EXPECT_EQ(ram.state, kStateFree);
  EXPECT_EQ(ram.layer, 7);
  EXPECT_EQ(ram.category, kCategoryPlayerShot);
  EXPECT_EQ(ram.behaviour, 4124);
  EXPECT_EQ(ram.attackPower, 5);
  EXPECT_EQ(ram.hitWidth, 64);
  EXPECT_EQ(ram.imageSet, 13);
  EXPECT_EQ(ram.animation, 366);
  EXPECT_EQ(ObjectPool[kGroup1ParentSlot].group, 1);
  EXPECT_EQ(ObjectPool[kGroup2ParentSlot].group, 2);
  EXPECT_EQ(ObjectPool[kGroup1ParentSlot].state, kStateFree);
  for (int i = 0; i < 60; ++i) {
    EXPECT_EQ(PlayerTrailX[i], 384.0f);
    EXPECT_EQ(PlayerTrailY[i], 270.0f);
  }
}

TEST_F(NewGame, TheKeyMapComesFromTheConfigurationOrTheReplay) {
  const int replayKeys[] = {8192, 4096, 2048, 1024, 512};
  for (int i = 0; i < 5; ++i) ReplayHeader.keyMap[i] = replayKeys[i];
  KeyConfig[0] = 256;
  KeyConfig[4] = 32;
  NewGameInit();
  EXPECT_EQ(ActiveKeyMap[0], 256);
  EXPECT_EQ(ActiveKeyMap[4], 32);
  ReplayMode = kReplayPlayback;
  NewGameInit();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(ActiveKeyMap[i], replayKeys[i]);
}

TEST_F(NewGame, KeepsTheTurboChargeTheLastDashNeeded) {
  TurboChargeNeeded = 95;
  NewGameInit();
  EXPECT_EQ(TurboChargeNeeded, 95);
}

TEST_F(NewGame, ResetModeStateReturnsToTheProgramsStart) {
  Scribble();
  ReplayMode = kReplayRecording;
  ReplaySlot = 4;
  ReplayFrameCount = 900;
  ReplayHeader.score = 5;
  PracticeFlag = 1;
  MenuState = MenuStateRecord{1, 2, 3, 4, 5, 6, 7, 8};
  StartStage = StartShotLevel = StartSpeedLevel = StartTurboLevel = StartLevelUps = 5;
  TurboChargeNeeded = 80;
  OptionShotCursorX = OptionMoveCursorX = 640;
  ResetModeState();
  EXPECT_EQ(ReplayMode, kReplayOff);
  EXPECT_EQ(ReplaySlot, 0);
  EXPECT_EQ(ReplayFrameCount, 0);
  EXPECT_EQ(ReplayHeader.score, 0);
  EXPECT_EQ(PracticeFlag, 0);
  EXPECT_EQ(MenuState.page, 0.0f);
  EXPECT_EQ(MenuState.backdropDarken, 0.0f);
  EXPECT_EQ(MenuState.blinkTimer, 5.0f);
  EXPECT_EQ(Score, 0.0f);
  EXPECT_EQ(Lives, 0.0f);
  EXPECT_EQ(FacingLock, 0);
  EXPECT_EQ(Credits, 2);
  EXPECT_EQ(StartStage, 1);
  EXPECT_EQ(StartShotLevel, 1);
  EXPECT_EQ(StartLevelUps, 1);
  EXPECT_EQ(ShotLevel, 1);
  EXPECT_EQ(GuardHealLevel, 1);
  EXPECT_EQ(TurboChargeNeeded, 150);
  EXPECT_EQ(BoostFactor, 1);
  EXPECT_EQ(BehaviourParam80, 80);
  EXPECT_EQ(OptionShotCursorX, 256);
  EXPECT_EQ(OptionMoveCursorX, 256);
}

}  // namespace
