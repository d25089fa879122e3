// Coins, score chips and EXP chips: reach, steering, the one payment and its order.
#include <gtest/gtest.h>

#include "behaviour_fixture.h"

namespace {

class Pickups : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    Player().hitWidth = Player().hitHeight = 20;
  }
  static GameObject& PutPickup(int behaviour, float dx, float dy, int box) {
    GameObject& pickup = Put(60, kCategoryPickup, behaviour, Player().x + dx, Player().y + dy);
    pickup.hitWidth = pickup.hitHeight = box;
    return pickup;
  }
};

TEST_F(Pickups, CoinTakenWith100InThePursePays303OnceInTheAwardOrder) {
  Coins = 100.0f;
  const float score = Score;
  PutPickup(3008, 0.0f, 0.0f, 20);
  Frames(40);
  EXPECT_EQ(Coins, 101.0f);
  EXPECT_EQ(Score, score + 303.0f);
  EXPECT_EQ(CoinScore, 303);
  EXPECT_EQ(CoinsGot, 1);
  EXPECT_EQ(StageCoins, 1.0f);
  EXPECT_EQ(BonusAccumulator, 303.0f);
  EXPECT_FLOAT_EQ(ExpGauge, 0.1f);
  EXPECT_EQ(ObjectPool[60].animation, 34);
  // The cue as it starts homing, then the pick-up sound, then the pop-up's draw.
  std::vector<int> order;
  for (const RecordedCall& call : CallLog()) order.push_back(call.Int(0));
  EXPECT_EQ(order, std::vector<int>({2014, 59, 20}));
}

TEST_F(Pickups, ReachBoxesStartHomingStrictlyInside) {
  struct Case {
    int behaviour, pickupReach, shotLevel, reach;
  };
  const Case cases[] = {{3008, 300, 4, 80 + 300 + 20 * 4}, {3008, 0, 0, 80}, {3070, 300, 4, 100 + 300}};
  for (const Case& c : cases) {
    for (const float dx : {c.reach - 1.0f, static_cast<float>(c.reach)}) {
      PickupReach = c.pickupReach;
      ShotLevel = c.shotLevel;
      GameObject& pickup = PutPickup(c.behaviour, dx, 0.0f, 20);
      Frames(1);
      EXPECT_EQ(pickup.phase, dx < c.reach ? 1.0f : 0.0f) << c.behaviour << " at " << dx;
    }
  }
}

TEST_F(Pickups, LevelOnAnAxisSteersNegativeAndFastHomingNeverCues) {
  GameObject& coin = PutPickup(3008, 50.0f, 0.0f, 20);
  Frames(1);
  EXPECT_EQ(coin.vx, -1.0f);
  EXPECT_EQ(coin.vy, static_cast<float>(static_cast<double>(0.1f) - 1.0));
  EXPECT_EQ(PickupHomingFlag, 1);
  GameObject& fast = PutPickup(3070, 2000.0f, 0.0f, 20);
  PowerModeB = 1;
  ClearCallLog();
  Frames(1);
  EXPECT_EQ(fast.phase, 2.0f);
  for (int frame = 0; frame < 10; ++frame) Frames(1);
  EXPECT_EQ(fast.vx, -16.0f);  // the EXP chip's fast limit
  EXPECT_TRUE(CallsOf(Call::CreateObject).empty());
}

TEST_F(Pickups, ScoreChipLimitAndMarginGrowWithTheChain) {
  struct Case {
    int chain;
    float limit;  // 24 + chain / 15
    float margin;
  };
  for (const auto [chain, limit, margin] : {Case{0, 24, 0}, Case{79, 29, 0}, Case{80, 29, 1}, Case{90, 30, 1}}) {
    KillChain = chain;
    GameObject& chip = PutPickup(3068, -(10 + 20 + 1.0f), 0.0f, 10);  // touches only with a margin of 1
    chip.scoreValue = 100;
    GameObject& far = Put(61, kCategoryPickup, 3068, 0.0f, Player().y);
    far.vx = 29.0f;
    Frames(1);
    EXPECT_EQ(far.vx, limit) << chain;
    EXPECT_EQ(chip.phase2, margin) << chain;
  }
}

TEST_F(Pickups, The50000thChipExtendsAndTheFourthExtendHasNoSideBonus) {
  struct Case {
    int extendsBefore;
    float livesBefore, livesAfter;
    int sideBonus;
  };
  const Case cases[] = {{0, 2.0f, 3.0f, 100000}, {2, 4.0f, 5.0f, 300000}, {3, 3.0f, 3.0f, 0}};
  for (const Case& c : cases) {
    ChipExtends = c.extendsBefore;
    ChipExtendCount = 49999;
    Lives = c.livesBefore;
    InfoBonus = 0;
    InvincibleTimer = 0.0f;
    ClearCallLog();
    PutPickup(3068, 0.0f, 0.0f, 10).scoreValue = 10;
    Frames(3);
    EXPECT_EQ(Lives, c.livesAfter);
    EXPECT_EQ(InvincibleTimer, 80.0f);
    EXPECT_EQ(ChipExtendCount, 0);
    EXPECT_EQ(ChipExtends, c.extendsBefore + 1);
    EXPECT_EQ(InfoBonus, c.sideBonus);
    ASSERT_EQ(CallsOf(Call::CreateObject).size(), 1u);
    EXPECT_EQ(CallsOf(Call::CreateObject)[0].Int(0), 2205);
  }
}

TEST_F(Pickups, ExpChipAdds40HundredthsBeforeTheLevelCheck) {
  ExpGauge = 99.7f;
  const int level = Level;
  PutPickup(3070, 0.0f, 0.0f, 20).expValue = 40;
  Frames(5);
  EXPECT_EQ(Level, level + 1);  // 100.1 levels up
  EXPECT_EQ(ExpCoinsGot, 1);
}

}  // namespace
