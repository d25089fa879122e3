// The player against enemy bodies and bullets: the box edges, the guard, the lost
// life, the protection after a hit and the graze.
#include "collision_fixture.h"

namespace {

using V = std::vector<int>;

// A bullet or enemy box of 8 x 8 offset from the 4 x 4 player: the graze box reaches
// 4 x 8.3 = 33.2 pixels on each side with SpeedLevel 1.
struct Offset {
  int dx, dy;
  bool hits, grazes;
};
constexpr Offset kOffsets[] = {
    {5, 0, true, false},    {6, 0, false, true},    {37, 0, false, true},   {38, 0, false, false},
    {-5, 0, true, false},   {-6, 0, false, true},   {-37, 0, false, true},  {-38, 0, false, false},
    {0, 5, true, false},    {0, 6, false, true},    {0, 37, false, true},   {0, -38, false, false},
    {0, -5, true, false},   {0, -6, false, true},   {0, -37, false, true},  {0, 38, false, false},
};

TEST_F(CollisionTest, BoxesOverlapStrictlyAndGrazesReachTheEnlargedBox) {
  for (const Offset& o : kOffsets) {
    Fresh();
    Bullet(60, kPlayerX + o.dx, kPlayerY + o.dy);
    UpdateCollision();
    EXPECT_EQ(HitsTaken, o.hits ? 1 : 0) << o.dx << "," << o.dy;
    EXPECT_EQ(GrazeCount, o.grazes ? 1 : 0) << o.dx << "," << o.dy;
    Fresh();
    Enemy(60, kPlayerX + o.dx, kPlayerY + o.dy);
    UpdateCollision();
    EXPECT_EQ(HitsTaken, o.hits ? 1 : 0) << "enemy " << o.dx << "," << o.dy;
    EXPECT_EQ(GrazeCount, 0);
  }
}

TEST_F(CollisionTest, HarmlessOrDelayedRecords) {
  Enemy(60, kPlayerX, kPlayerY).collidable = 2;
  Bullet(61, kPlayerX + 10, kPlayerY).collidable = 2;
  UpdateCollision();
  EXPECT_EQ(HitsTaken, 0);
  EXPECT_EQ(GrazeCount, 0);
  // Delayed by 1, and created with no delay left: both wake and are tested at once.
  for (int timer : {1, 0}) {
    Fresh();
    GameObject& bullet = Bullet(60, kPlayerX, kPlayerY);
    bullet.state = kStateDelayed;
    bullet.timer = timer;
    UpdateCollision();
    EXPECT_EQ(bullet.state, kStateActive);
    EXPECT_EQ(HitsTaken, 1) << "timer " << timer;
  }
}

TEST_F(CollisionTest, TheFirstHitIsGuardedTheSecondCostsALife) {
  GuardValue = 0.0f;
  GuardStartPerk = 1;
  Bullet(60, kPlayerX, kPlayerY);
  UpdateCollision();
  EXPECT_EQ(Arguments(Call::PlaySe), V({107}));
  EXPECT_EQ(Created(), V({2093, 2010}));
  EXPECT_EQ(GuardValue, 90.0f);
  EXPECT_EQ(Lives, 3.0f);
  EXPECT_EQ(WhiteFlashAlpha, 120);
  EXPECT_EQ(InvulnFrames, 400.0f);
  EXPECT_EQ(ObjectPool[kPlayerSlot].animation, 26);
  // Protected for 401 frames; the hit turn has ended by the 402nd, which tests again.
  for (int frame = 1; frame <= 401; ++frame) UpdateCollision();
  EXPECT_EQ(HitsTaken, 1);
  ObjectPool[kPlayerSlot].animation = 0;
  ClearCallLog();
  UpdateCollision();
  EXPECT_EQ(HitsTaken, 2);
  EXPECT_EQ(Lives, 2.0f);
  EXPECT_EQ(RedFlashAlpha, 140);
  EXPECT_EQ(Created(), V({2094}));
  ASSERT_EQ(CallsOf(Call::PlaySe).size(), 2u);
  EXPECT_GE(CallsOf(Call::PlaySe)[0].Int(0), 9);
  EXPECT_LE(CallsOf(Call::PlaySe)[0].Int(0), 10);
  EXPECT_EQ(CallsOf(Call::PlaySe)[1].Int(0), 52);
  // An enemy body's guard: sound 51 and a guard of 50 - 10 x perk.
  Fresh();
  GuardValue = 1.0f;
  GuardStartPerk = 2;
  Enemy(60, kPlayerX, kPlayerY);
  UpdateCollision();
  EXPECT_EQ(Arguments(Call::PlaySe), V({51}));
  EXPECT_EQ(GuardValue, 30.0f);
  EXPECT_EQ(GuardUses, 1.0f);
}

TEST_F(CollisionTest, ABulletAfterABodyContactCostsNoSecondLife) {
  for (int option : {1, 2, 0}) {
    Fresh();
    SlowdownOption = option;
    Enemy(60, kPlayerX, kPlayerY);
    Bullet(61, kPlayerX, kPlayerY);
    UpdateCollision();
    EXPECT_EQ(Lives, 2.0f);
    EXPECT_EQ(HitsTaken, 1);
    EXPECT_EQ(HitSlowdownCount, 2.0f);
    EXPECT_EQ(SlowdownMs, option == 0 ? 0.0f : 6.0f / option);
    EXPECT_EQ(Arguments(Call::VibratePad, 1), V({100, 100}));
    EXPECT_EQ(CallsOf(Call::CaptureDamageFlash).size(), 2u);
  }
  Fresh();
  DamageFlashOff = 1;
  HitSlowdownCount = 9.0f;
  Bullet(61, kPlayerX, kPlayerY);
  UpdateCollision();
  EXPECT_EQ(SlowdownMs, 20.0f);
  EXPECT_TRUE(CallsOf(Call::CaptureDamageFlash).empty());
}

TEST_F(CollisionTest, GrazesPayByThePurse) {
  struct Purse {
    float coins;
    int points, combo;
  };
  for (const Purse& purse : {Purse{1000.0f, 10, 5}, {1000.5f, 0, 0}, {1500.0f, 40, 10}, {2500.0f, 80, 20},
                             {-1.0f, 0, 0}}) {
    Fresh();
    Coins = purse.coins;
    Bullet(60, kPlayerX + 20, kPlayerY);
    UpdateCollision();
    EXPECT_EQ(Score, static_cast<float>(purse.points)) << purse.coins;
    EXPECT_EQ(GrazeScore, purse.points);
    EXPECT_EQ(GrazeCombo, purse.combo);
    EXPECT_EQ(GrazeCount, purse.points ? 1 : 0);
    EXPECT_FLOAT_EQ(ExpGauge, 0.004f);
    EXPECT_EQ(CallsOf(Call::CreateObject)[0].Int(4), 60);  // the spark's parent
  }
  struct Count {
    int before, after, bonus;
  };
  for (const Count& count : {Count{1999, 2000, 6666}, Count{7999, 0, 44444}, Count{2000, 2001, 0}}) {
    Fresh();
    GrazeCount = count.before;
    Bullet(60, kPlayerX + 20, kPlayerY);
    UpdateCollision();
    EXPECT_EQ(GrazeCount, count.after);
    EXPECT_EQ(InfoBonus, count.bonus);
  }
  for (int charge : {-100, 5}) {
    Fresh();
    TurboCharge = charge;
    Bullet(60, kPlayerX + 20, kPlayerY);
    UpdateCollision();
    EXPECT_EQ(TurboCharge, charge < 0 ? charge + 1 : charge);
  }
}

}  // namespace
