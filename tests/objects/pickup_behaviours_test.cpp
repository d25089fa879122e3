// Coins, score chips and EXP chips: reach, steering, the one payment and its order.
#include <gtest/gtest.h>

#include <tuple>

#include "behaviour_fixture.h"

namespace {

class Pickups : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    Player().hitWidth = Player().hitHeight = 20;
  }
  static GameObject& PutPickup(int behaviour, float dx, int box, int slot = 60) {
    GameObject& pickup = Put(slot, kCategoryPickup, behaviour, Player().x + dx, Player().y);
    pickup.hitWidth = pickup.hitHeight = box;
    return pickup;
  }
};

TEST_F(Pickups, CoinTakenWith100InThePursePays303OnceInTheAwardOrder) {
  Coins = 100.0f;
  const float score = Score;
  PutPickup(3008, 0.0f, 20);
  Frames(40);
  EXPECT_EQ(
      std::tuple(Coins, Score - score, CoinScore, CoinsGot, StageCoins, BonusAccumulator, ObjectPool[60].animation),
      std::tuple(101.0f, 303.0f, 303, 1, 1.0f, 303.0f, 34));
  EXPECT_FLOAT_EQ(ExpGauge, 0.1f);
  // The cue as it starts homing, the pick-up sound, then the pop-up's draw.
  std::vector<int> order;
  for (const RecordedCall& call : CallLog()) {
    if (call.call == Call::CreateObject || call.call == Call::PlaySe || call.call == Call::RandomInRange) {
      order.push_back(call.Int(0));
    }
  }
  EXPECT_EQ(order, std::vector<int>({2014, 59, 20}));
}

TEST_F(Pickups, ReachStartsHomingStrictlyInsideAndLevelSteersNegative) {
  const std::tuple<int, int, int, int> cases[] = {{3008, 300, 4, 460}, {3008, 0, 0, 80}, {3070, 300, 4, 400}};
  for (const auto& [behaviour, pickupReach, shotLevel, reach] : cases) {
    for (const float dx : {reach - 1.0f, static_cast<float>(reach)}) {
      PickupReach = pickupReach;
      ShotLevel = shotLevel;
      GameObject& pickup = PutPickup(behaviour, dx, 20);
      Frames(1);
      EXPECT_EQ(pickup.phase, dx < reach ? 1.0f : 0.0f) << behaviour << " at " << dx;
      if (dx < reach) {  // level in y
        EXPECT_EQ(pickup.vy, static_cast<float>(static_cast<double>(0.1f) - 1.0));
      }
    }
  }
  GameObject& fast = PutPickup(3070, 2000.0f, 20);
  PowerModeB = 1;
  ClearCallLog();
  Frames(11);
  EXPECT_EQ(std::tuple(fast.phase, fast.vx), std::tuple(2.0f, -16.0f));  // the EXP chip's fast limit
  EXPECT_TRUE(CallsOf(Call::CreateObject).empty());                      // and no cue
}

TEST_F(Pickups, ScoreChipLimitAndMarginGrowWithTheChain) {
  // chain, speed limit (24 + chain / 15), pick-up margin ((chain / 40) / 2)
  for (const auto& [chain, limit, margin] :
       {std::tuple{0, 24.0f, 0.0f}, {79, 29.0f, 0.0f}, {80, 29.0f, 1.0f}, std::tuple{90, 30.0f, 1.0f}}) {
    KillChain = chain;
    GameObject& chip = PutPickup(3068, -(10 + 20 + 1.0f), 10);  // touches only with a margin of 1
    GameObject& far = PutPickup(3068, -1000.0f, 10, 61);
    far.vx = 29.0f;
    Frames(1);
    EXPECT_EQ(std::tuple(far.vx, chip.phase2), std::tuple(limit, margin)) << chain;
  }
}

TEST_F(Pickups, The50000thChipExtendsAndTheFourthExtendHasNoSideBonus) {
  // extends before, lives before and after, side bonus
  for (const auto& [extends, livesBefore, livesAfter, bonus] :
       {std::tuple{0, 2.0f, 3.0f, 100000}, {2, 4.0f, 5.0f, 300000}, std::tuple{3, 3.0f, 3.0f, 0}}) {
    ChipExtends = extends;
    ChipExtendCount = 49999;
    Lives = livesBefore;
    InfoBonus = 0;
    InvincibleTimer = 0.0f;
    ClearCallLog();
    PutPickup(3068, 0.0f, 10).scoreValue = 10;
    Frames(3);
    EXPECT_EQ(std::tuple(Lives, InvincibleTimer, ChipExtendCount, ChipExtends, InfoBonus),
              std::tuple(livesAfter, 80.0f, 0, extends + 1, bonus));
    ASSERT_EQ(CallsOf(Call::CreateObject).size(), 1u);
    EXPECT_EQ(CallsOf(Call::CreateObject)[0].Int(0), 2205);
  }
}

TEST_F(Pickups, ExpChipAdds40HundredthsBeforeTheLevelCheck) {
  ExpGauge = 99.7f;
  const int level = Level;
  PutPickup(3070, 0.0f, 20).expValue = 40;
  Frames(5);
  EXPECT_EQ(std::tuple(Level, ExpCoinsGot), std::tuple(level + 1, 1));  // 100.1 levels up
}

}  // namespace
