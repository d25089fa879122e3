// The third action's specials: the plain stock special, the held special on both
// routes, the gauge aura's clock and the slow-downs.
#include <gtest/gtest.h>

#include <tuple>

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
  static GameObject& PutBlast(int hold) {
    ActionHold[2] = hold;
    GameObject& blast = Put(60, kCategoryPlayerShot, 4052);
    blast.scaleDelta = -1.0f;
    blast.phase2 = 0.04f;
    return blast;
  }
  static std::vector<int> Made() {
    std::vector<int> made;
    for (const RecordedCall& call : CallsOf(Call::CreateObject)) made.push_back(call.Int(0));
    return made;
  }
};

TEST_F(SpecialActions, ReleasedBeforeTheBlastWakesGivesThePlainStockSpecial) {
  std::tie(KillChain, ChainTimer, ChipCount, BssUsed, SsUsed) = std::tuple(7, 55, 9, 0, 1);
  GameObject& blast = PutBlast(40);
  for (int frame = 1; frame <= 340; ++frame) {
    if (frame == 250) Put(70, kCategoryEnemyBullet, 4063);
    Frames(1);
    ASSERT_EQ(std::tuple(blast.state, blast.category),
              std::tuple(kStateActive, frame > 240 ? kCategoryEffect : kCategoryPlayerShot))
        << frame;
  }
  EXPECT_EQ(ObjectPool[70].behaviour, 4059);  // cancelled in the harmless frames
  Frames(1);
  EXPECT_EQ(std::tuple(blast.state, InvincibleTimer, PowerModeA, PowerModeB, KillChain, ChainTimer, ChipCount, BssUsed,
                       SsUsed, Made().size()),
            std::tuple(kStateFree, 120.0f, 0, 0, 7, 55, 9, 0, 1, 0u));
}

TEST_F(SpecialActions, HeldPast40StartsTheAuraPairAndCutsTheChain) {
  for (const auto& [chainBefore, chainAfter] : {std::pair{7, 2}, std::pair{0, 0}}) {
    std::tie(KillChain, ChipCount, BssUsed, SsUsed) = std::tuple(chainBefore, 9, 0, 1);
    ClearCallLog();
    GameObject& blast = PutBlast(41);
    Frames(1);
    EXPECT_EQ(Made(), std::vector<int>({2004, 2178}));
    EXPECT_EQ(
        std::tuple(blast.state, KillChain, ChainTimer, ChipCount, BssUsed, SsUsed, PowerModeA, PowerModeB, ScreenFlash),
        std::tuple(kStateFree, chainAfter, 2100, 0, 1, 0, 0, 1, 250.0f));
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
  EXPECT_EQ(std::tuple(aura.Int(0), aura.Int(4), ChainTimer, ExpGauge), std::tuple(2194, 5, 1060, 0.0f));

  GameObject& gaugeAura = Put(61, kCategoryEffect, 4113);
  gaugeAura.timer = 1100 - 11 * 5;  // as template 2194 sets it for 5
  Put(70, kCategoryEnemyBullet, 4063);
  for (int frame = 1; frame <= 55; ++frame) {
    ClearCallLog();
    Frames(1);
    const std::vector<RecordedCall> sounds = CallsOf(Call::PlaySe);
    const bool sound83 = !sounds.empty() && sounds.back().Int(0) == 83;
    ASSERT_EQ(std::tuple(Made().size(), sound83, PowerModeB), std::tuple(11u, frame == 35, 1)) << frame;
  }
  EXPECT_EQ(ObjectPool[70].behaviour, 4063);
  Frames(1);  // the first end frame cancels the bullets
  EXPECT_EQ(std::tuple(PowerModeB, InvincibleTimer, ObjectPool[70].behaviour), std::tuple(0, 180.0f, 4059));
  EXPECT_EQ(FramesUntilFreed(gaugeAura) + 1, 32);  // fade +8 from 0 past 255
}

TEST_F(SpecialActions, SlowdownsFollowTheLiveRecords) {
  // live records, the blast's slow-down on its first 179 frames, the start's
  for (const auto& [live, blastSlowdown, startSlowdown] :
       {std::tuple{1200, 0.0f, 0.0f}, std::tuple{1700, 8.0f, 10.0f}}) {
    ActiveObjectCount = live;
    SlowdownMs = 0.0f;
    PutBlast(0);
    Frames(179);
    EXPECT_EQ(SlowdownMs, blastSlowdown) << live;
    SlowdownMs = 0.0f;
    Frames(1);
    EXPECT_EQ(SlowdownMs, 0.0f) << live;
    PutBlast(41).phase = 200.0f;  // past its own slow-downs
    Frames(1);
    EXPECT_EQ(SlowdownMs, startSlowdown) << live;
  }
}

}  // namespace
