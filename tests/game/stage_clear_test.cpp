#include <gtest/gtest.h>

#include <vector>

#include "../support/call_recorder.h"
#include "core/display.h"
#include "core/game_state.h"
#include "core/new_game.h"
#include "core/stage_flow.h"

namespace {

// A game in stage 1, its stage just cleared.
class StageClear : public testing::Test {
 protected:
  void SetUp() override {
    ResetModeState();
    NewGameInit();
    Scene = kScenePlay;
    Stage = 1;
  }
  // Frames of UpdateStage until TimelineHalt leaves `state`.
  int FramesIn(float state, int actionTwo = 0) {
    int frames = 0;
    while (TimelineHalt == state && frames < 5000) {
      ActionHold[1] = actionTwo;
      UpdateStage();
      ++frames;
      ActionHold[2] = 0;
    }
    return frames;
  }
  void EnterShop(float coins) { TimelineHalt = 3.0f, Coins = coins; }
  // Buys the item under the cursor at (x, y): the frame of the press.
  void Buy(int x, int y) {
    ShopCursor[0] = x, ShopCursor[1] = y, ActionHold[2] = 1;
    UpdateStage();
    ActionHold[2] = 0;
  }
};

TEST_F(StageClear, TheTimeBonusEndsAtSixteenThousandFramesAndTheBonusesAddUp) {
  struct Case {
    int stageFrame;
    float timeBonus;
  };
  for (const Case& c : {Case{10000, 588000.0f}, Case{16000, 0.0f}, Case{20000, 0.0f}}) {
    SetUp();
    StageFrame = c.stageFrame, StageKills = 10.0f, StageCoins = 5.0f;
    TimeBonus = KillScore = CoinScore = 7;
    ObjectPool[60].state = 1, ObjectPool[60].category = kCategoryEnemy;
    TimelineHalt = 1.0f;
    UpdateStage();
    SCOPED_TRACE(c.stageFrame);
    EXPECT_EQ(StageClearExtra, c.timeBonus);
    EXPECT_EQ(StageClearSeconds, c.stageFrame / 60);
    EXPECT_EQ(Score, 8000.0f + c.timeBonus + 1000.0f);
    EXPECT_EQ(TimeBonus, 7 + static_cast<int>(c.timeBonus));
    EXPECT_EQ(KillScore + StageKillBonus, 8007 + 8000);
    EXPECT_EQ(CoinScore + StageCoinBonus, 1007 + 1000);
    EXPECT_EQ(TimelineHalt, 2.0f);
    EXPECT_EQ(StageStarted, 0);
    EXPECT_EQ(ObjectPool[60].behaviour, 4059);  // the enemy fades out as a cancelled bullet
  }
}

// The tally's progress is an f32 sum of 0.001 a frame (0.003 with action 2).
int TallyFramesInF32(float step, float extra) {
  int frames = 0;
  for (float progress = 0.0f; progress <= 0.74f; ++frames) progress = progress + step + extra;
  return frames;
}

TEST_F(StageClear, TheTallyRunsUntilItsF32ProgressPassesPointSevenFour) {
  ASSERT_EQ(TallyFramesInF32(0.001f, 0.0f), 741);
  ASSERT_EQ(TallyFramesInF32(0.001f, 0.002f), 247);
  TimelineHalt = 2.0f;
  EXPECT_EQ(FramesIn(2.0f), 741);
  EXPECT_EQ(TimelineHalt, 3.0f);
  EXPECT_EQ(TallyCount + TallyScoreCount, 341 + 461);
  SetUp();
  TimelineHalt = 2.0f;
  EXPECT_EQ(FramesIn(2.0f, 5), 247);
}

TEST_F(StageClear, TheGuardRechargesTowardsReadyThroughTheTally) {
  struct Case {
    float guard, lives, after100;  // 0.25 a frame while guarded and alive
  };
  for (const Case& c : {Case{50.0f, 2.0f, 25.0f}, Case{100.0f, 1.0f, 75.0f}, Case{10.0f, 2.0f, 0.0f},
                        Case{50.0f, 0.0f, 50.0f}, Case{0.0f, 2.0f, 0.0f}, Case{-0.5f, 2.0f, -0.5f}}) {
    SetUp();
    GuardValue = c.guard, Lives = c.lives, TimelineHalt = 2.0f;
    for (int frame = 0; frame < 100; ++frame) UpdateStage();
    EXPECT_EQ(GuardValue, c.after100) << c.guard << " " << c.lives;
  }
}

TEST_F(StageClear, ATallyWithNothingSpawnedDrawsNoBarAndEndsAPracticeRunInTheResults) {
  PracticeFlag = 1;
  StageKills = 3.0f;  // counted against 0 spawned enemies
  TimelineHalt = 2.0f;
  FramesIn(2.0f);
  EXPECT_EQ(TimelineHalt, 11.0f);
  // DeathFrames rises by 2 a frame and passes 260 on the 131st frame.
  DeathFrames = 0;
  for (int frame = 1; frame <= 130; ++frame) UpdateStage();
  EXPECT_EQ(Scene, kScenePlay);
  UpdateStage();
  EXPECT_EQ(Scene, kSceneResults);
  EXPECT_EQ(ScenePhase, 5);
}

TEST_F(StageClear, PricesFollowTheTrackLevels) {
  struct Price {
    int level;
    int shot, option, speed, turbo, guard;
  };
  // By level: shot 1-4, option 0-6, speed 1-19, turbo 1-9, guard heal 1-4.
  const Price prices[] = {
      {0, 10000, 160, 10000, 10000, 10000}, {1, 160, 160, 40, 80, 200},  {2, 380, 180, 80, 140, 240},
      {3, 560, 180, 120, 180, 280},         {4, 10000, 200, 140, 220, 10000}, {5, 10000, 200, 160, 260, 10000},
      {6, 10000, 10000, 160, 300, 10000},   {7, 10000, 10000, 160, 340, 10000}, {8, 10000, 10000, 160, 460, 10000},
      {9, 10000, 10000, 160, 10000, 10000}, {17, 10000, 10000, 160, 10000, 10000},
      {19, 10000, 10000, 10000, 10000, 10000}};
  for (const Price& p : prices) {
    ShotLevel = OptionLevel = SpeedLevel = TurboLevel = GuardHealLevel = p.level;
    OptionType = 0;
    DrawUpgradeCosts();
    SCOPED_TRACE(p.level);
    EXPECT_EQ(ShotCost, p.shot);
    EXPECT_EQ(OptionCost, p.option);
    EXPECT_EQ(SpeedCost, p.speed);
    EXPECT_EQ(TurboCost, p.turbo);
    EXPECT_EQ(GuardHealCost, p.guard);
  }
  SpeedCost = 123;
  SpeedLevel = 18;
  DrawUpgradeCosts();
  EXPECT_EQ(SpeedCost, 123);
  // Level 5 is priced whatever the option type; only the purchase is refused.
  OptionLevel = 5;
  OptionType = 2;
  DrawUpgradeCosts();
  EXPECT_EQ(OptionCost, 200);
}

TEST_F(StageClear, APurchaseIsPaidFiveCoinsAFrameAndARefusalCostsNothing) {
  EnterShop(159.0f);
  Buy(0, 0);
  EXPECT_EQ(TimelineHalt, 5.0f);
  EXPECT_EQ(FramesIn(5.0f), 50);
  EXPECT_EQ(Coins, 159.0f);
  EXPECT_EQ(CoinsUsed, 0);
  EXPECT_EQ(ShotLevel, 1);
  EnterShop(160.0f);
  Buy(0, 0);
  EXPECT_EQ(TimelineHalt, 4.0f);
  EXPECT_EQ(CoinsUsed, 160);
  EXPECT_EQ(ShotLevel, 2);
  for (int frame = 1; frame <= 32; ++frame) UpdateStage();
  EXPECT_EQ(Coins, 0.0f);
  EXPECT_EQ(FramesIn(4.0f), 80);
  EXPECT_EQ(TimelineHalt, 3.0f);
  EXPECT_EQ(PaidSoFar, 0);
}

TEST_F(StageClear, MaxedItemsAreRefusedWithoutChargeOrCount) {
  struct Maxed {
    int x, y;
    void (*set)();
  };
  const Maxed maxed[] = {{500, 40, [] { LevelUpCount = 8; }},
                         {0, 40, [] { OptionLevel = 5, OptionType = 1; }},
                         {0, 40, [] { OptionLevel = 6, OptionType = 0; }},
                         {0, 0, [] { ShotLevel = 4; }}};
  const auto levels = [] { return LevelUpCount + 10 * OptionLevel + 100 * ShotLevel; };
  for (const Maxed& m : maxed) {
    SetUp();
    m.set();
    const int before = levels();
    EnterShop(5000.0f);  // the fullest purse
    Buy(m.x, m.y);
    EXPECT_EQ(TimelineHalt, 5.0f);
    EXPECT_EQ(CoinsUsed, 0);
    EXPECT_EQ(PendingCost, 0);
    EXPECT_EQ(levels(), before);
    EXPECT_EQ(FramesIn(5.0f), 50);
    EXPECT_EQ(Coins, 5000.0f);
  }
  SetUp();
  LevelUpCount = 7;
  EnterShop(5000.0f);
  Buy(500, 40);
  EXPECT_EQ(CoinsUsed, 7 * 40 + 60);
  EXPECT_EQ(LevelUpCount, 8);
  EXPECT_EQ(SsBought, 1);
}

TEST_F(StageClear, PerksAndTheGuardHeal) {
  EnterShop(0.0f);
  Buy(250, 80);  // leave without any upgrade
  EXPECT_EQ(NoUpgradePerk, 1);
  EXPECT_EQ(InfoBonus, 999999);
  EXPECT_EQ(TimelineHalt, 9.0f);
  SetUp();
  SpeedLevel = 3;
  TurboLevel = 3;
  EnterShop(1000.0f);
  Buy(250, 0);
  EXPECT_EQ(SpeedLevel, 4);
  EXPECT_EQ(GuardStartPerk, 1);
  EXPECT_EQ(InfoBonus, 260000 + 240000);  // speed 4, then speed + turbo 7
  for (const auto& [uses, left] : {std::pair{15.0f, 0.0f}, std::pair{25.0f, 15.0f}}) {
    SetUp();
    GuardUses = uses;
    EnterShop(1000.0f);
    Buy(500, 0);
    EXPECT_EQ(GuardUses, left);
    EXPECT_EQ(GuardHealLevel, 2);
  }
}

TEST_F(StageClear, TheCursorWalksTheGridAndTheLeaveItem) {
  EnterShop(0.0f);
  const struct {
    int bit;  // BitHold index: up, down, left, right
    int x, y;
  } moves[] = {{3, 250, 0}, {3, 500, 0}, {3, 500, 0}, {1, 500, 40}, {1, 250, 80},
               {2, 250, 80}, {0, 250, 40}, {0, 250, 0}, {2, 0, 0}, {2, 0, 0}};
  for (const auto& move : moves) {
    BitHold[move.bit] = 1;
    UpdateStage();
    BitHold[move.bit] = 0;
    EXPECT_EQ(ShopCursor[0], move.x);
    EXPECT_EQ(ShopCursor[1], move.y);
  }
}

// The cursor's picture has a cell per place, each drawn over its own place: shot,
// option, speed, turbo, the way on, guard heal, level-up.
TEST_F(StageClear, TheCursorDrawsTheCellNamingItsPlace) {
  EnterShop(0.0f);
  constexpr int kFrames = 43 * kCellsPerSet;
  for (int cell = 0; cell < 7; ++cell) SpriteHandles[kFrames + cell] = 900 + cell;
  const int places[][2] = {{0, 0}, {0, 40}, {250, 0}, {250, 40}, {250, 80}, {500, 0}, {500, 40}};
  for (int cell = 0; cell < 7; ++cell) {
    ShopCursor[0] = places[cell][0], ShopCursor[1] = places[cell][1];
    ResetCallRecorder();
    RecordDrawing(true);
    UpdateStage();
    RecordDrawing(false);
    std::vector<std::vector<int>> frames;  // x, y, cell
    for (const RecordedCall& call : CallsOf(Call::DrawGraphAt)) {
      if (call.Int(2) >= 900 && call.Int(2) < 907) frames.push_back({call.Int(0), call.Int(1), call.Int(2) - 900});
    }
    const std::vector<std::vector<int>> expected = {{250 + places[cell][0], 575 + places[cell][1], cell}};
    EXPECT_EQ(frames, expected);
  }
  ResetCallRecorder();
}

TEST_F(StageClear, LeavingTakesSeventyFramesAndTheNextStageStartsAfresh) {
  EnterShop(0.0f);
  ShopEmblem[2] = 0.75f;
  Buy(250, 80);
  EXPECT_EQ(FramesIn(9.0f), 70);
  EXPECT_NEAR(ShopEmblem[2], 0.75f + 71 * 0.001f, 1e-4f);  // the emblem turns in every frame
  ASSERT_EQ(TimelineHalt, 10.0f);
  StageTimeline = StageFrame = TitleCardFrame = HudAlpha = 77;
  TallyCount = 341;
  StageEventState[5][2] = 4;
  ObjectPool[31].timer = ObjectPool[32].timer = ObjectPool[36].timer = 9;
  UpdateStage();
  EXPECT_EQ(Stage, 2);
  EXPECT_EQ(TimelineHalt, 0.0f);
  EXPECT_EQ(StageTimeline + StageFrame + TitleCardFrame + HudAlpha, 0);
  EXPECT_EQ(TallyCount, 1);
  EXPECT_EQ(TitleCardActive, 1);
  EXPECT_EQ(StageEventState[5][2], 0);
  EXPECT_EQ(ObjectPool[31].timer, 9);
  EXPECT_EQ(ObjectPool[32].timer + ObjectPool[36].timer, 0);
}

}  // namespace
