#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <tuple>
#include <utility>
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

// The figures the shop's panel shows, read back from its digit draws (a figure: font 1
// digits on one row, an advance of 14 apart), against what the shop is to show: the
// purse; each track's next level and its price while it has one; the guard heal's and
// the level-up's price; on the guard-heal item the guard uses left, on the level-up item
// the level-ups in hand as icons 12 apart leftwards from x 866. Every level of every
// track, with Trace options (the one type that rises to 6) and another type, the cursor
// on each item in turn. The prices are typed from the shop's price list.
TEST_F(StageClear, TheShopShowsThePurseAndEachTracksNextLevelAndPrice) {
  // The price of the next level: each band's price from its level on.
  const auto band = [](int level, std::initializer_list<std::pair<int, int>> bands) {
    int price = 0;
    for (const auto& [from, p] : bands) price = level >= from ? p : price;
    return price;
  };
  constexpr int kPlaces[] = {0, 40, 250, 290, 330, 500, 540};
  constexpr int kLevelUpIcon = 977, kFont1 = 1010;
  for (int i = 0; i < kDigitFonts * kDigitCells; ++i) DigitFonts[i] = 1000 + i;
  SpriteHandles[88] = kLevelUpIcon;
  struct Figure {
    int x, y, value;  // x: the left edge of its first or last digit (-1: any place)
  };
  for (int shop = 0; shop < 40; ++shop) {
    const int type = shop / 20, level = shop % 20;
    SCOPED_TRACE(testing::Message() << "level " << level << ", option type " << type);
    const auto at = [level](int first, int last) { return std::clamp(level, first, last); };
    std::tie(ShotLevel, OptionLevel, OptionType, SpeedLevel, TurboLevel, GuardHealLevel, LevelUpCount) =
        std::tuple(at(1, 4), at(0, 6), type, at(1, 19), at(1, 9), at(1, 4), at(0, 8));
    EnterShop(5.0f * level * level * level);
    GuardUses = 2.5f * level;
    const int place = kPlaces[(level + type) % 7];
    ShopCursor[0] = place / 250 * 250, ShopCursor[1] = place % 250;
    std::vector<Figure> expected = {{832, 547, 5 * level * level * level}};
    const auto shows = [&](bool shown, std::initializer_list<Figure> figures) {
      if (shown) expected.insert(expected.end(), figures);
    };
    shows(ShotLevel < 4, {{297, 589, ShotLevel + 1}, {337, 589, band(ShotLevel, {{1, 160}, {2, 380}, {3, 560}})}});
    shows(OptionLevel < (type == 0 ? 6 : 5),
          {{297, 628, OptionLevel + 1}, {337, 628, band(OptionLevel, {{0, 160}, {2, 180}, {4, 200}})}});
    shows(SpeedLevel < 18,
          {{546, 589, SpeedLevel + 1}, {586, 589, band(SpeedLevel, {{1, 40}, {2, 80}, {3, 120}, {4, 140}, {5, 160}})}});
    shows(TurboLevel < 9,
          {{546, 628, TurboLevel + 1},
           {586, 628,
            band(TurboLevel, {{1, 80}, {2, 140}, {3, 180}, {4, 220}, {5, 260}, {6, 300}, {7, 340}, {8, 460}})}});
    shows(GuardHealLevel < 4, {{832, 589, band(GuardHealLevel, {{1, 200}, {2, 240}, {3, 280}})}});
    shows(LevelUpCount < 8, {{832, 628, LevelUpCount * 40 + 60}});
    shows(place == 500, {{-1, 0, static_cast<int>(GuardUses)}});
    std::vector<int> iconsExpected;
    for (int i = 0; place == 540 && i < LevelUpCount; ++i) iconsExpected.push_back(866 - 12 * i);

    ResetCallRecorder();
    RecordDrawing(true);
    UpdateStage();
    RecordDrawing(false);
    std::vector<RecordedCall> digits = CallsOf(Call::DrawGraphAt);
    std::vector<int> icons;
    for (const RecordedCall& draw : digits) {
      if (draw.Int(2) == kLevelUpIcon) icons.push_back(draw.Int(0));
    }
    EXPECT_EQ(icons, iconsExpected);
    std::erase_if(digits, [](const RecordedCall& draw) { return draw.Int(2) < kFont1 || draw.Int(2) >= kFont1 + 10; });
    std::ranges::sort(digits, {}, [](const RecordedCall& draw) { return std::pair(draw.Int(1), draw.Int(0)); });
    std::vector<std::pair<Figure, int>> drawn;  // each with the left edge of its last digit
    for (const RecordedCall& digit : digits) {
      const int x = digit.Int(0), y = digit.Int(1), value = digit.Int(2) - kFont1;
      if (!drawn.empty() && y == drawn.back().first.y && x == drawn.back().second + 14) {
        drawn.back() = {{drawn.back().first.x, y, drawn.back().first.value * 10 + value}, x};
      } else {
        drawn.push_back({{x, y, value}, x});
      }
    }
    for (const Figure& figure : expected) {
      const auto match = std::ranges::find_if(drawn, [&](const auto& d) {
        const bool placed = d.first.y == figure.y && (d.first.x == figure.x || d.second == figure.x);
        return d.first.value == figure.value && (figure.x < 0 || placed);
      });
      if (match == drawn.end()) {
        ADD_FAILURE() << "no figure " << figure.value << " at (" << figure.x << ", " << figure.y << ")";
      } else {
        drawn.erase(match);
      }
    }
    for (const auto& [figure, last] : drawn) {
      ADD_FAILURE() << "a figure " << figure.value << " at (" << figure.x << ", " << figure.y
                    << ") the shop does not show";
    }
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
