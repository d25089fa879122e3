// The third action's specials: the plain stock special, the held special on both
// routes, the gauge aura's clock and the slow-downs.
#include <gtest/gtest.h>

#include "behaviour_fixture.h"

namespace {

class SpecialActions : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    SlowdownOption = 1;
    Lives = 3.0f;
  }
  // The charge blast as its template leaves it when it wakes.
  static GameObject& PutBlast() {
    GameObject& blast = Put(60, kCategoryPlayerShot, 4052);
    blast.scaleDelta = -1.0f;
    blast.phase2 = 0.04f;
    return blast;
  }
  static std::vector<int> Templates() {
    std::vector<int> made;
    for (const RecordedCall& call : CallsOf(Call::CreateObject)) made.push_back(call.Int(0));
    return made;
  }
};

TEST_F(SpecialActions, ReleasedBeforeTheBlastWakesGivesThePlainStockSpecial) {
  ActionHold[2] = 40;
  KillChain = 7;
  ChainTimer = 55;
  ChipCount = 9;
  const int bss = BssUsed, ss = SsUsed;
  GameObject& blast = PutBlast();
  for (int frame = 1; frame <= 340; ++frame) {
    if (frame == 250) Put(70, kCategoryEnemyBullet, 4063);
    Frames(1);
    ASSERT_EQ(blast.state, kStateActive) << frame;
    EXPECT_EQ(blast.category, frame > 240 ? kCategoryEffect : kCategoryPlayerShot) << frame;
  }
  EXPECT_EQ(ObjectPool[70].behaviour, 4059);  // cancelled in the harmless frames
  Frames(1);
  EXPECT_EQ(blast.state, kStateFree);
  EXPECT_EQ(InvincibleTimer, 120.0f);
  EXPECT_EQ(PowerModeA, 0);
  EXPECT_EQ(PowerModeB, 0);
  EXPECT_EQ(BssUsed, bss);
  EXPECT_EQ(SsUsed, ss);
  EXPECT_EQ(ChainTimer, 55);
  EXPECT_EQ(ChipCount, 9);
  EXPECT_EQ(KillChain, 7);
  EXPECT_TRUE(Templates().empty());
}

TEST_F(SpecialActions, HeldPast40StartsTheAuraPairAndCutsTheChain) {
  for (const auto [chainBefore, chainAfter] : {std::pair{7, 2}, std::pair{0, 0}}) {
    ActionHold[2] = 41;
    KillChain = chainBefore;
    BssUsed = 0;
    SsUsed = 1;
    ChipCount = 9;
    ClearCallLog();
    GameObject& blast = PutBlast();
    Frames(1);
    EXPECT_EQ(blast.state, kStateFree);
    EXPECT_EQ(Templates(), std::vector<int>({2004, 2178}));
    EXPECT_EQ(KillChain, chainAfter);
    EXPECT_EQ(ChainTimer, 2100);
    EXPECT_EQ(ChipCount, 0);
    EXPECT_EQ(BssUsed, 1);
    EXPECT_EQ(SsUsed, 0);
    EXPECT_EQ(PowerModeA, 0);
    EXPECT_EQ(PowerModeB, 1);
    EXPECT_EQ(ScreenFlash, 250.0f);
  }
}

TEST_F(SpecialActions, GaugeRouteAt5Point5RunsItsAuraFrom1045) {
  ExpGauge = 5.5f;
  ActionHold[2] = 21;
  GameObject& charge = Put(60, kCategoryEffect, 4112);
  charge.fade = 255.0f;
  charge.phase2 = 0.02f;
  EXPECT_EQ(FramesUntilFreed(charge), 39);  // 19 frames down by 10, then up past 255
  const RecordedCall aura = CallsOf(Call::CreateObject).back();
  EXPECT_EQ(aura.Int(0), 2194);
  EXPECT_EQ(aura.Int(4), 5);
  EXPECT_EQ(ChainTimer, 1060);
  EXPECT_EQ(ExpGauge, 0.0f);

  GameObject& gaugeAura = Put(61, kCategoryEffect, 4113);
  gaugeAura.timer = 1100 - 11 * 5;  // as template 2194 sets it for 5
  Put(70, kCategoryEnemyBullet, 4063);
  for (int frame = 1; frame <= 55; ++frame) {
    ClearCallLog();
    Frames(1);
    EXPECT_EQ(CallsOf(Call::CreateObject).size(), 11u) << frame;
    const bool sound83 = !CallsOf(Call::PlaySe).empty() && CallsOf(Call::PlaySe).back().Int(0) == 83;
    EXPECT_EQ(sound83, frame == 35) << frame;
    EXPECT_EQ(PowerModeB, 1) << frame;
  }
  EXPECT_EQ(ObjectPool[70].behaviour, 4063);
  Frames(1);
  EXPECT_EQ(PowerModeB, 0);
  EXPECT_EQ(InvincibleTimer, 180.0f);
  EXPECT_EQ(ObjectPool[70].behaviour, 4059);  // every end frame cancels the bullets
  EXPECT_EQ(FramesUntilFreed(gaugeAura) + 1, 32);  // fade +8 from 0 past 255
}

TEST_F(SpecialActions, SlowdownsFollowTheLiveRecords) {
  for (const auto [live, blastSlowdown, startSlowdown] : {std::tuple{1200, 0.0f, 0.0f}, std::tuple{1700, 8.0f, 10.0f}}) {
    ActiveObjectCount = live;
    SlowdownMs = 0.0f;
    ActionHold[2] = 0;
    PutBlast();
    Frames(179);
    EXPECT_EQ(SlowdownMs, blastSlowdown) << live;
    SlowdownMs = 0.0f;
    Frames(1);
    EXPECT_EQ(SlowdownMs, 0.0f) << live;  // from phase 180 on, none
    SlowdownMs = 0.0f;
    ActionHold[2] = 41;
    PutBlast();
    ObjectPool[60].phase = 200.0f;  // past its own slow-downs
    Frames(1);
    EXPECT_EQ(SlowdownMs, startSlowdown) << live;
  }
}

}  // namespace
