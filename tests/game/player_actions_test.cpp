// The dash and turbo, the guard, the facing lock, slow-downs, spending level-ups, the
// blink, death, and the idle dragon's choices.
#include "player_fixture.h"

namespace {

using PlayerActionsTest = PlayerTest;

std::vector<int> IntsOf(Call call, int argument = 0) {
  std::vector<int> values;
  for (const RecordedCall& entry : CallsOf(call)) values.push_back(entry.Int(argument));
  return values;
}

TEST_F(PlayerActionsTest, HoldingAction2DashesEvery30FramesAndAnEarlyReleaseWaitsBelow18MinusTurbo) {
  for (int frame = 0; frame < 95; ++frame) Hold(kActionSecond, true), PlayFrame();
  std::vector<int> dashes;
  for (const RecordedCall& draw : CallsOf(Call::RandomInRange)) {
    if (draw.Int(0) == 1) dashes.push_back(draw.frame);
  }
  EXPECT_EQ(dashes, (std::vector<int>{0, 30, 60, 90}));
  for (const int turbo : {1, 5}) {
    SetUp();
    TurboLevel = turbo;
    Hold(kActionSecond, true);
    int frame = 0;
    for (UpdateDash(); DashCooldown != 0; ++frame) Hold(kActionSecond, false), UpdateDash();
    EXPECT_EQ(frame, 13 + turbo);
  }
}

TEST_F(PlayerActionsTest, OnlyACompleteChargeMakesAChargedDashAndTheBurstFollowsTheTurboLevel) {
  struct Case {
    int speedLevel, perk, charge, turboLevel;
    bool charged;
    float invulnerability;
    int burst, burstSe;
  };
  const Case cases[] = {{1, 0, 131, 1, true, 30, 2119, 54},  {1, 0, 130, 2, false, 0, 2120, 55},
                        {5, 1, 73, 3, true, 64, 2121, 55},   {5, 1, 72, 4, false, 0, 2123, 56},
                        {9, 0, 81, 5, true, 80, 2124, 56},   {12, 1, 61, 6, true, 80, 2125, 57},
                        {2, 0, 0, 7, false, 0, 2126, 57},    {3, 0, 0, 8, false, 0, 2127, 57},
                        {4, 0, 0, 9, false, 0, 2128, 47},    {1, 0, 131, 10, true, 30, 0, 0}};
  for (const Case& c : cases) {
    SetUp();
    SpeedLevel = c.speedLevel, QuickChargePerk = c.perk, TurboCharge = c.charge, TurboLevel = c.turboLevel;
    Hold(kActionSecond, true);
    UpdateDash();
    std::vector<int> made = c.charged ? std::vector<int>{2167, 2136} : std::vector<int>{};
    std::vector<int> played = c.charged ? std::vector<int>{47} : std::vector<int>{};
    if (c.burst != 0) made.push_back(c.burst), played.push_back(c.burstSe);
    EXPECT_EQ(IntsOf(Call::CreateObject), made) << c.turboLevel;
    EXPECT_EQ(IntsOf(Call::PlaySe), played) << c.turboLevel;
    if (c.burst != 0) {
      EXPECT_EQ(CallsOf(Call::CreateObject).back().Int(4), c.charged ? 1 : 0);
    }
    EXPECT_EQ(InvulnFrames, c.invulnerability);
    EXPECT_EQ(TurboCharge, 0);
  }
}

TEST_F(PlayerActionsTest, TheGuardPaysWhenItRechargesIntoTheReadyWindow) {
  struct Case {
    float value, uses, lives;
    int bonus;
    float after;
  };
  const Case cases[] = {{2.2f, 1.5f, 2.0f, 8000, 0.0f},   {2.2f, 1.5f, 1.0f, 24000, 0.0f},
                        {3.0f, 0.15f, 2.0f, 0, 0.1f},      {1.2f, 1.5f, 2.0f, 0, 0.91f},
                        {5.0f, 0.0f, 2.0f, 0, 0.0f}};
  for (const Case& c : cases) {
    SetUp();
    GuardValue = c.value, GuardUses = c.uses, Lives = c.lives;
    RechargeGuard();
    EXPECT_EQ(InfoBonus, c.bonus) << c.value << " " << c.uses;
    EXPECT_NEAR(GuardValue, c.after, 1e-5);
    EXPECT_EQ(IntsOf(Call::CreateObject), c.bonus != 0 ? std::vector<int>{2013} : std::vector<int>{});
  }
  GuardValue = 5.0f, GuardUses = 0.0f, FrameCycle4 = 1, GuardDrainPerk = 1;
  FastGuardRecharge();
  EXPECT_EQ(GuardValue, 0.0f);
  EXPECT_EQ(IntsOf(Call::CreateObject), std::vector<int>{2134});
}

TEST_F(PlayerActionsTest, TheFacingLockModes) {
  struct Case {
    int mode;
    std::vector<int> facingHeld, fireHeld;  // per frame
    std::vector<int> lock;                  // FacingLock after each frame
    std::vector<int> made;
    int facing;
  };
  const Case cases[] = {
      {0, {1, 1, 0, 1, 0}, {0, 0, 0, 0, 0}, {1, 1, 1, 0, 0}, {2020, 2021, 2022, 2023}, 0},
      {1, {1, 1, 1, 0, 0}, {0, 0, 0, 0, 0}, {1, 2, 3, 0, 0}, {2020, 2021, 2022, 2023}, 0},
      {2, {0, 0, 1, 0, 0}, {1, 1, 0, 0, 1}, {1, 2, 3, 0, 1}, {}, 1},
  };
  for (const Case& c : cases) {
    SetUp();
    FacingLockControl = c.mode;
    ObjectPool[0].facing = 0;
    for (std::size_t frame = 0; frame < c.lock.size(); ++frame) {
      Hold(kActionFacing, c.facingHeld[frame]);
      Hold(kActionFire, c.fireHeld[frame]);
      UpdateFacingLock();
      EXPECT_EQ(FacingLock, c.lock[frame]) << "mode " << c.mode << " frame " << frame;
    }
    EXPECT_EQ(IntsOf(Call::CreateObject), c.made);
    EXPECT_EQ(ObjectPool[0].facing, c.facing);
  }
  EXPECT_EQ(ActionHold[kActionFire], 2);  // a fresh fire press in mode 2 counts on
}

TEST_F(PlayerActionsTest, SevenThousandChipsAskEightSlowdownsAndDecay) {
  SlowdownOption = 1;
  ChipCount = 7001;
  UpdateSlowdowns();
  EXPECT_EQ(IntsOf(Call::RequestSlowdown), (std::vector<int>{6, 12, 18, 22, 26, 30, 33, 36}));
  EXPECT_EQ(SlowdownMs, 36.0f);
  EXPECT_EQ(ChipCount, 6961);
}

TEST_F(PlayerActionsTest, TheThirdSpendOfTheLastLevelUpPaysBothBonuses) {
  LevelUpCount = 1, LevelUpSpendCount = 2;
  ObjectPool[60].behaviour = 3008;
  ActionHold[kActionSpecial] = 1;
  SpendLevelUp();
  EXPECT_EQ(InfoBonus, 12345 + 23456);
  EXPECT_EQ(LevelUpCount, 0);
  EXPECT_EQ(LevelUpSpendCount, 0);
  EXPECT_EQ(ObjectPool[60].phase, 2.0f);
  EXPECT_EQ(IntsOf(Call::CreateObject), (std::vector<int>{2096, 2097, 2098}));
}

TEST_F(PlayerActionsTest, TheLastInvulnerableFramesBlinkTwoHiddenTwoShown) {
  InvulnFrames = 100.0f;
  std::vector<int> fades;
  for (int frame = 0; frame < 8; ++frame) BlinkWhileInvulnerable(), fades.push_back(FloatToInt(ObjectPool[0].fade));
  EXPECT_EQ(fades, (std::vector<int>{254, 254, 0, 0, 254, 254, 0, 0}));
}

TEST_F(PlayerActionsTest, DeathNeedsExactlyNoLivesAndTheRunOutLasts271Frames) {
  ObjectPool[0].animation = kHitTurnAnimation;
  PlayerIdleTimer = 5;
  Lives = 0.5f;
  CheckPlayerDeath();
  EXPECT_EQ(ScenePhase, 0);
  Lives = 0.0f;
  CheckPlayerDeath();
  EXPECT_EQ(ScenePhase, 1);
  EXPECT_EQ(IntsOf(Call::CreateObject), (std::vector<int>{2116, 2094, 2094, 2094, 2094}));
  EXPECT_EQ(CallsOf(Call::SpawnDeathEffects).size(), 2u);
  for (int frame = 1; frame <= 271; ++frame) {
    EXPECT_EQ(Scene, kScenePlay) << frame;
    UpdatePlayerControl();
  }
  EXPECT_EQ(Scene, kSceneResults);
}

TEST_F(PlayerActionsTest, TheIdleDragonChoosesOnThe23rdFrameAndByTheDrawnRow) {
  for (int frame = 0; frame < 22; ++frame) UpdatePlayerSprite();
  EXPECT_TRUE(CallsOf(Call::RandomInRange).empty());
  UpdatePlayerSprite();
  EXPECT_EQ(IntsOf(Call::RandomInRange), std::vector<int>{22});
  // Animation and frames of each drawn row as designed; rows 7 and 8 beat the wings.
  const int animation[23] = {17, 17, 17, 18, 18, 18, 19, 20, 21, 22, 23, 27, 30, 31, 31, 17, 17, 17, 17, 32, 32, 32, 33};
  const int frames[23] = {230, 460, 690, 261, 435, 609, 80, 30, 90, 90, 90, 77, 94, 47, 94, 23, 46, 69, 82, 29, 58, 87, 40};
  for (int r = 0; r <= 22; ++r) {
    SetUp();
    PlayerIdleTimer = 1;
    ScriptRandom(RandomScript::Listed, {r, 3});
    UpdatePlayerSprite();
    EXPECT_EQ(ObjectPool[0].animation, animation[r]) << r;
    EXPECT_EQ(PlayerIdleTimer, frames[r]) << r;
    EXPECT_EQ(IntsOf(Call::PlaySe), r == 7 || r == 8 ? std::vector<int>{48} : std::vector<int>{}) << r;
    EXPECT_EQ(IntsOf(Call::RandomInRange), r == 22 ? (std::vector<int>{22, 4}) : std::vector<int>{22}) << r;
  }
}

}  // namespace
