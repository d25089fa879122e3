// The player against enemy bodies and bullets: the box edges, the guard, the lost
// life, the protection after a hit and the graze.
#include <cmath>

#include "../support/seeded_floats.h"
#include "collision_fixture.h"

namespace {

// An 8 x 8 box offset from the 4 x 4 player: the graze box of SpeedLevel 1 reaches
// 4 x 8.3 = 33.2 pixels on each side.
struct Offset {
  int dx, dy, hits, grazes;
};
constexpr Offset kOffsets[] = {
    {5, 0, 1, 0},  {6, 0, 0, 1},  {37, 0, 0, 1},  {38, 0, 0, 0},  {-5, 0, 1, 0},  {-6, 0, 0, 1},  {-37, 0, 0, 1},
    {-38, 0, 0, 0}, {0, 5, 1, 0}, {0, 6, 0, 1},   {0, 37, 0, 1},  {0, 38, 0, 0},  {0, -5, 1, 0},  {0, -6, 0, 1},
    {0, -37, 0, 1}, {0, -38, 0, 0},
};

TEST_F(CollisionTest, BoxesOverlapStrictlyAndGrazesReachTheEnlargedBox) {
  for (const Offset& o : kOffsets) {
    for (int category : {kCategoryEnemyBullet, kCategoryEnemy}) {
      Fresh();
      Put(60, category, kPlayerX + o.dx, kPlayerY + o.dy, 8);
      UpdateCollision();
      const int grazes = category == kCategoryEnemyBullet ? o.grazes : 0;
      EXPECT_EQ(V({HitsTaken, GrazeCount}), V({o.hits, grazes})) << o.dx << "," << o.dy << " " << category;
    }
  }
  // Harmless records, and records delayed by 1 and by 0 that wake and are tested at once.
  Fresh();
  Enemy(60, kPlayerX, kPlayerY).collidable = 2;
  Bullet(61, kPlayerX + 10, kPlayerY).collidable = 2;
  UpdateCollision();
  EXPECT_EQ(V({HitsTaken, GrazeCount}), V({0, 0}));
  for (int timer : {1, 0}) {
    Fresh();
    GameObject& bullet = Bullet(60, kPlayerX, kPlayerY);
    bullet.state = kStateDelayed;
    bullet.timer = timer;
    UpdateCollision();
    EXPECT_EQ(V({bullet.state, HitsTaken}), V({kStateActive, 1})) << timer;
  }
}

// A few hundred grazes near the reach's edges, the player off whole pixels: the graze
// box is worked in double on the player's untruncated place, against the bullet's
// whole-pixel edges.
TEST_F(CollisionTest, TheGrazeReachStartsFromTheUntruncatedPlace) {
  SeededFloats uniform;
  for (int i = 0; i < 400; ++i) {
    Fresh();
    const float px = uniform(1000.0f, 1001.0f), py = uniform(500.0f, 501.0f);
    const float side = i % 4 < 2 ? 1.0f : -1.0f, edge = side * uniform(35.0f, 39.0f), off = uniform(-30.0f, 30.0f);
    const float bx = i % 2 == 0 ? px + edge : px + off, by = i % 2 == 0 ? py + off : py + edge;
    ObjectPool[kPlayerSlot].x = px, ObjectPool[kPlayerSlot].y = py;
    Bullet(60, bx, by);
    const double reach = 4 * (1 * 1.3 + 7.0);
    const double bxi = std::trunc(bx), byi = std::trunc(by);
    const bool grazes = px - reach < bxi + 4 && px + reach > bxi - 4 && py - reach < byi + 4 && py + reach > byi - 4;
    UpdateCollision();
    ASSERT_EQ(V({HitsTaken, GrazeCount}), V({0, grazes ? 1 : 0})) << i << ": " << px << "," << py << " " << bx << "," << by;
  }
}

TEST_F(CollisionTest, TheFirstHitIsGuardedTheSecondCostsALife) {
  GuardValue = 0.0f;
  GuardStartPerk = 1;
  Bullet(60, kPlayerX, kPlayerY);
  UpdateCollision();
  EXPECT_EQ(Arguments(Call::PlaySe), V({107}));
  EXPECT_EQ(Arguments(), V({2093, 2010}));
  EXPECT_EQ(V({int(GuardValue), int(Lives), WhiteFlashAlpha, int(InvulnFrames)}), V({90, 3, 120, 400}));
  // Protected for 401 frames; the hit turn over, the 402nd tests again.
  for (int frame = 1; frame <= 401; ++frame) UpdateCollision();
  EXPECT_EQ(HitsTaken, 1);
  EXPECT_EQ(ObjectPool[kPlayerSlot].animation, kHitTurnAnimation);
  ObjectPool[kPlayerSlot].animation = 0;
  ClearCallLog();
  UpdateCollision();
  EXPECT_EQ(V({HitsTaken, int(Lives), RedFlashAlpha}), V({2, 2, 140}));
  EXPECT_EQ(Arguments(), V({2094}));
  const V sounds = Arguments(Call::PlaySe);
  EXPECT_TRUE(sounds == V({9, 52}) || sounds == V({10, 52})) << sounds[0];
  // An enemy body's guard: sound 51 and a guard of 50 - 10 x perk.
  Fresh();
  GuardValue = 1.0f;
  GuardStartPerk = 2;
  Enemy(60, kPlayerX, kPlayerY);
  UpdateCollision();
  EXPECT_EQ(Arguments(Call::PlaySe), V({51}));
  EXPECT_EQ(V({int(GuardValue), int(GuardUses)}), V({30, 1}));
}

TEST_F(CollisionTest, ABulletAfterABodyContactCostsNoSecondLife) {
  for (int option : {1, 2, 0}) {
    Fresh();
    SlowdownOption = option;
    Enemy(60, kPlayerX, kPlayerY);
    Bullet(61, kPlayerX, kPlayerY);
    UpdateCollision();
    EXPECT_EQ(V({int(Lives), HitsTaken, int(HitSlowdownCount)}), V({2, 1, 2}));
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

TEST_F(CollisionTest, GrazesPayByThePurseAndTheCount) {
  struct Graze {
    float coins;
    int count, charge;
    V after;  // Score, GrazeCombo, GrazeCount, InfoBonus, TurboCharge
  };
  const Graze grazes[] = {
      {1000.0f, 0, 0, {10, 5, 1, 0, 0}},          {1000.5f, 0, 0, {0, 0, 0, 0, 0}},
      {1500.0f, 0, 0, {40, 10, 1, 0, 0}},         {2500.0f, 0, 0, {80, 20, 1, 0, 0}},
      {-1.0f, 0, 0, {0, 0, 0, 0, 0}},             {0.0f, 1999, -100, {10 + 6666, 5, 2000, 6666, -99}},
      {0.0f, 7999, 5, {10 + 44444, 5, 0, 44444, 5}}, {0.0f, 2000, 0, {10, 5, 2001, 0, 0}},
      {1000.5f, 2000, 0, {0, 0, 2000, 0, 0}},  // a graze that pays nothing reaches no milestone
  };
  for (const Graze& g : grazes) {
    Fresh();
    Coins = g.coins;
    GrazeCount = g.count;
    TurboCharge = g.charge;
    Bullet(60, kPlayerX + 20, kPlayerY);
    UpdateCollision();
    EXPECT_EQ(V({int(Score), GrazeCombo, GrazeCount, InfoBonus, TurboCharge}), g.after) << g.coins << " " << g.count;
    EXPECT_EQ(GrazeScore, g.after[0] - InfoBonus);
    EXPECT_FLOAT_EQ(ExpGauge, 0.004f);
    EXPECT_EQ(Arguments(Call::CreateObject, 4), V({60}));  // the spark's parent
  }
}

}  // namespace
