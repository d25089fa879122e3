#include <gtest/gtest.h>

#include "core/game_rules.h"
#include "core/game_state.h"
#include "core/run_state.h"

namespace {

// Each case starts as a run does.
class GameRules : public testing::Test {
 protected:
  void SetUp() override {
    ClearRunState();
    ClearRunControlState();
  }
};

void CollectCoin(float purse) {
  Coins = purse;
  CheckMilestoneBonus();
}

TEST_F(GameRules, CoinMilestonesPayOnceOnTheWayUp) {
  CollectCoin(99.0f);
  EXPECT_EQ(Score, 0.0f);
  CollectCoin(100.0f);
  EXPECT_EQ(Score, 100000.0f);
  EXPECT_EQ(CoinScore, 100000);
  EXPECT_EQ(BonusAccumulator, 100000.0f);
  EXPECT_EQ(BonusHistory[0], 100000);
  CollectCoin(900.0f);
  EXPECT_EQ(Score, 1000000.0f);
  CollectCoin(2000.0f);
  EXPECT_EQ(Score, 2000000.0f);
  for (float purse : {2100.0f, 2500.0f, 2999.0f, 150.0f}) CollectCoin(purse);
  EXPECT_EQ(Score, 2000000.0f);
  EXPECT_EQ(BonusHistory[0], 1000000);
  EXPECT_EQ(BonusHistory[1], 900000);
}

TEST_F(GameRules, AFullPurseStartsAgainAtThreeThousand) {
  CollectCoin(5001.0f);
  EXPECT_EQ(Coins, 3000.0f);
  EXPECT_EQ(Score, 0.0f);
  CollectCoin(3001.0f);
  EXPECT_EQ(Score, 0.0f);
  CollectCoin(3100.0f);
  EXPECT_EQ(Score, 1000000.0f);
  CollectCoin(5000.0f);
  EXPECT_EQ(Coins, 5000.0f);
}

TEST_F(GameRules, ALevelUpNeedsMoreThanAFullGauge) {
  LevelUpCount = 0;
  ExpGauge = 100.0f;
  CheckLevelUp();
  EXPECT_EQ(Level, 0.0f);
  ExpGauge = 100.5f;
  Level = 1.0f;
  CheckLevelUp();
  EXPECT_EQ(Level, 2.0f);
  EXPECT_EQ(ExpGauge, 0.0f);
  EXPECT_EQ(LevelUpCount, 1);
}

TEST_F(GameRules, TheNinthLevelUpIsKeptAtEightAfterItsPairBonus) {
  LevelUpCount = 8;
  LevelUpPairCount = 1;
  ExpGauge = 101.0f;
  CheckLevelUp();
  EXPECT_EQ(LevelUpCount, 8);
  EXPECT_EQ(InfoBonus, 6000 + 9 * 12000);  // the level-up's own notice, then the pair bonus
  EXPECT_EQ(LevelUpPairCount, 0);
  EXPECT_EQ(SideNotices[1].icon, 19);
}

TEST_F(GameRules, SlowdownTakesTheLongerRequestAndTheOption) {
  SlowdownOption = 2;
  RequestSlowdown(36);
  EXPECT_EQ(SlowdownMs, 18.0f);
  RequestSlowdown(36);
  EXPECT_EQ(SlowdownMs, 18.0f);
  RequestSlowdown(10);
  EXPECT_EQ(SlowdownMs, 9.0f);
  SlowdownOption = 0;
  RequestSlowdown(36);
  EXPECT_EQ(SlowdownMs, 0.0f);
}

TEST_F(GameRules, AVibrationOfLowerPriorityIsIgnored) {
  VibratePad(1000, 5);
  EXPECT_EQ(VibrationLevel, 5);
  VibratePad(1000, 3);
  EXPECT_EQ(VibrationLevel, 5);
  VibratePad(1000, 5);
  VibratePad(1000, 9);
  EXPECT_EQ(VibrationLevel, 9);
}

TEST_F(GameRules, AnEleventhInfoBonusIsLost) {
  for (int i = 0; i < 10; ++i) AddInfoBonus(i, 100);
  EXPECT_EQ(Score, 1000.0f);
  AddInfoBonus(3, 5000);
  EXPECT_EQ(Score, 1000.0f);
  EXPECT_EQ(InfoBonus, 1000);
  SideNotices[4].timer = 0;
  AddInfoBonus(7, 5000);
  EXPECT_EQ(SideNotices[4].icon, 7);
  EXPECT_EQ(SideNotices[4].timer, 400);
  EXPECT_EQ(Score, 6000.0f);
}

// A notice that only a recording shows takes none of the ten places, so a later
// bonus pays the same while recording and while playing back.
TEST_F(GameRules, RecordingOnlyNoticesLeaveTheBonusesAsTheyWere) {
  for (int mode : {kReplayRecording, kReplayPlayback}) {
    for (SideNotice& notice : SideNotices) notice = SideNotice{};
    Score = 0.0f;
    ReplayMode = mode;
    for (int i = 0; i < 8; ++i) AddInfoBonus(i, 10);  // the level-up's notice takes the ninth place
    TotalLevel = 2;
    Level = 1.0f;  // this level-up reaches a total of 4: an unlock
    ExpGauge = 101.0f;
    LevelUpPairCount = 0;
    CheckLevelUp();
    AddInfoBonus(30, 25600);
    EXPECT_EQ(Score, 80.0f + 6000.0f + 25600.0f) << "mode " << mode;
    EXPECT_EQ(SideNotices[kRecordingNotice].timer, mode == kReplayRecording ? 400 : 0);
  }
}

TEST_F(GameRules, TheBonusHistoryKeepsTheNewest37) {
  for (int value = 1; value <= 40; ++value) PushBonusHistory(value);
  EXPECT_EQ(BonusHistory[0], 40);
  EXPECT_EQ(BonusHistory[36], 4);
}

TEST_F(GameRules, ClearingTheStageEventsZeroesAllSixRows) {
  StageEventState[0][0] = 1;
  StageEventState[5][9] = 2;
  EndingBackdrop = 1;
  ClearStageEventState();
  EXPECT_EQ(StageEventState[0][0], 0);
  EXPECT_EQ(StageEventState[5][9], 0);
  EXPECT_EQ(EndingBackdrop, 0);
}

}  // namespace
