// The player's shots against enemies and shootable bullets: the hit effects and the
// shots' fates, kills with their rewards and drops, and the wide pass.
#include "collision_fixture.h"
#include "game_library.h"

namespace {

using V = std::vector<int>;

// By shot behaviour, typed from the rules' tables: the effects of a hit on an enemy
// (of weight 1; the same at 99) and the shot's power after it (from 100, -1 =
// deleted) at weight 1 and 99; then on a shootable bullet.
struct ShotRow {
  int behaviour;
  V enemyEffects;
  int powerAfter1, powerAfter99;
  V bulletEffects;
  int powerAfterBullet;
};
const ShotRow kMainRows[] = {
    {4001, {2005}, -1, -1, {2005}, -1},       {4009, {2012}, -1, -1, {2012}, -1},
    {4022, {2012}, -1, -1, {2012}, -1},       {4016, {2025}, -1, -1, {2025}, 66},
    {4025, {2025}, -1, -1, {2025}, 66},       {4026, {2025}, -1, -1, {2095}, 66},
    {4028, {2025}, -1, -1, {2095}, 66},       {4030, {2059}, 100, 100, {2059}, 100},
    {4034, {2059}, 100, 100, {2059}, 100},    {4035, {2060}, 100, 100, {2060}, 100},
    {4036, {2061}, 100, 100, {2061}, 100},    {4046, {2086}, -1, -1, {2086}, -1},
    {4047, {2090}, -1, -1, {2090}, -1},       {4048, {2091}, -1, -1, {2091}, -1},
    {4049, {2092}, -1, -1, {2092}, -1},       {4054, {2100}, -1, -1, {2100}, 66},
    {4067, {2122}, 100, 90, {2122}, 100},     {4084, {2158}, -1, -1, {2158}, 100},
    {4018, {2051}, -1, -1, {}, 100},          {4037, {2051}, -1, -1, {}, 100},
    {4031, {2055}, -1, -1, {}, 100},          {4038, {2055}, -1, -1, {}, 100},
    {4032, {2056}, -1, -1, {}, 100},          {4039, {2056}, -1, -1, {}, 100},
    {4033, {2057}, -1, -1, {}, 100},          {4040, {2057}, -1, -1, {}, 100},
    {4109, {}, 100, 100, {}, 100},            {4124, {}, 100, 100, {}, 100},
    {4041, {}, 55, 18, {}, 90},               {4042, {}, 55, 18, {}, 90},
    {4043, {}, 55, 18, {}, 90},               {4044, {}, 55, 18, {}, 90},
    {4045, {}, 83, 27, {}, 90},               {4052, {2129}, 100, 100, {}, 100},
    {4055, {2100}, 90, 60, {}, 90},           {4002, {}, -1, -1, {}, -1},
};
// The wide pass of the "GoldStrike" codes, with the pair out of the main pass's reach.
const ShotRow kWideRows[] = {
    {4054, {2100}, 100, 100, {2100}, 66}, {4055, {2100}, 90, 60, {}, 90}, {4067, {}, 100, 100, {}, -1},
    {4001, {}, 100, 100, {}, -1},         {4030, {}, 100, 100, {}, -1},
};

int PowerAfterHit(const ShotRow& row, bool wide, int weight, bool bullet, V* effects) {
  CollisionTest::Fresh();
  if (wide) NShotType = 62;
  const float y = wide ? 1500.0f : 500.0f;
  GameObject& target = bullet ? CollisionTest::Bullet(60, 1100.0f, y, true) : CollisionTest::Enemy(60, 1100.0f, y);
  target.weight = weight;
  const GameObject& shot = CollisionTest::Shot(70, row.behaviour, 100, 1100.0f, y);
  UpdateCollision();
  *effects = CollisionTest::Created();
  EXPECT_EQ(target.hitPoints, 900);
  return shot.state == kStateActive ? shot.attackPower : -1;
}

TEST_F(CollisionTest, HitEffectsAndFatesByShotBehaviour) {
  for (bool wide : {false, true}) {
    for (const ShotRow& row : wide ? std::span<const ShotRow>(kWideRows) : std::span<const ShotRow>(kMainRows)) {
      V effects;
      EXPECT_EQ(PowerAfterHit(row, wide, 1, false, &effects), row.powerAfter1) << row.behaviour << " wide " << wide;
      EXPECT_EQ(effects, row.enemyEffects) << row.behaviour;
      EXPECT_EQ(PowerAfterHit(row, wide, 99, false, &effects), row.powerAfter99) << row.behaviour;
      EXPECT_EQ(effects, row.enemyEffects) << row.behaviour;
      EXPECT_EQ(CallsOf(Call::PlaySeIfIdle).size(), wide ? 0u : 1u);
      EXPECT_EQ(PowerAfterHit(row, wide, 1, true, &effects), row.powerAfterBullet) << row.behaviour;
      EXPECT_EQ(effects, row.bulletEffects) << row.behaviour;
    }
  }
}

TEST_F(CollisionTest, WhereHitEffectsGoAndAWeakenedShotEnds) {
  GameObject& enemy = Enemy(60, 1100.0f, 500.0f);
  enemy.facing = 1;
  Shot(70, 4035, 10, 1103.0f, 502.0f);
  Shot(71, 4067, 10, 1104.0f, 503.0f);
  UpdateCollision();
  const std::vector<RecordedCall> created = CallsOf(Call::CreateObject);
  ASSERT_EQ(created.size(), 2u);
  EXPECT_EQ(V({created[0].Int(1), created[0].Int(2), created[0].Int(3), created[0].Int(4)}), V({1100, 500, 1, 70}));
  EXPECT_EQ(V({created[1].Int(1), created[1].Int(2), created[1].Int(3), created[1].Int(4)}), V({1104, 503, 0, 71}));
  EXPECT_EQ(Arguments(Call::VibratePad, 1), V({3}));
  // At a heavy target a weak splitting shot becomes harmless.
  Fresh();
  Enemy(60, 1100.0f, 500.0f).weight = 99;
  const GameObject& shot = Shot(70, 4041, 2, 1100.0f, 500.0f);
  UpdateCollision();
  EXPECT_EQ(shot.attackPower, 0);
  EXPECT_EQ(shot.collidable, 0);
}

TEST_F(CollisionTest, APiercingShotHitsEveryFrameAndEveryEnemy) {
  GameObject& enemy = Enemy(60, 1100.0f, 500.0f);
  Shot(70, 4030, 7, 1100.0f, 500.0f);
  ShootInCount = 120;
  for (int frame = 1; frame <= 10; ++frame) {
    UpdateCollision();
    EXPECT_EQ(enemy.hitFlash, frame % 2);
  }
  EXPECT_EQ(enemy.hitPoints, 1000 - 10 * 7);
  EXPECT_EQ(ShootInScore, 10 * 2);
  // One frame: the piercing shot hits all three; a deleted one only its first.
  Fresh();
  for (int slot : {60, 61, 62}) Enemy(slot, 1100.0f, 500.0f);
  Shot(70, 4030, 7, 1100.0f, 500.0f);
  Shot(71, 4001, 5, 1100.0f, 500.0f);
  UpdateCollision();
  EXPECT_EQ(V({ObjectPool[60].hitPoints, ObjectPool[61].hitPoints, ObjectPool[62].hitPoints}), V({988, 993, 993}));
  EXPECT_EQ(ObjectPool[71].state, kStateFree);
}

TEST_F(CollisionTest, KilledEnemiesArePaidOnceAndTheirSlotsTakeDrops) {
  SetCreationsOccupySlots(true);
  for (int slot : {50, 51}) {
    GameObject& enemy = Enemy(slot, 1100.0f, 500.0f, 1);
    enemy.scoreValue = 500;
    enemy.coinDrop = 1;
  }
  Shot(70, 4030, 5, 1100.0f, 500.0f);
  Shot(71, 4030, 5, 1100.0f, 500.0f);
  UpdateCollision();
  EXPECT_EQ(EnemiesDestroyed, 2);
  EXPECT_EQ(KillScore, 1000);
  EXPECT_EQ(StageKills, 2.0f);
  EXPECT_EQ(Arguments(Call::SpawnDeathEffects), V({50, 51}));
  // The second hit's effect took the first enemy's freed slot; the second shot left it be.
  EXPECT_EQ(ObjectPool[50].state, kStateActive);
  EXPECT_NE(ObjectPool[50].category, kCategoryEnemy);
  EXPECT_EQ(ObjectPool[50].hitFlash, 0);
}

// The drops' places from a generator seeded alike: the hit sound's draw, then four per
// drop in the order height, height, width, width.
std::vector<V> ExpectedDrops(int count, int width, int height) {
  SeedRandom(5);
  RandomInRange(3);
  std::vector<V> drops;
  for (int i = 0; i < count; ++i) {
    const int r1 = RandomInRange(height / 2);
    const int r2 = RandomInRange(height / 2);
    const int r3 = RandomInRange(width / 2);
    const int r4 = RandomInRange(width / 2);
    drops.push_back({1100 - r3 + 2 * r4, 500 + r1 - 2 * r2});
  }
  return drops;
}

TEST_F(CollisionTest, KillRewardsAndDropPlaces) {
  struct Case {
    int powerMode, action2, expValue, coinDrop;
    V drops;
    V panel;
  };
  const Case cases[] = {
      {0, 0, 2, 3, {1009, 1009, 1009, 1081, 1081}, {2, -2, 300, 3, 150}},
      {0, 0, 0, 0, {}, {0, -2, 300, 0, 150}},
      {1, 0, 4, 0, {1080, 1080, 1080, 1009, 1009, 1009, 1009, 1009, 1009, 1009, 1009}, {0, -2, 1200, 7, 150}},
      {1, 1, 4, 0, V(3, 1080), {16, -2, 1200, 0, 150}},
  };
  for (const Case& c : cases) {
    V expectedDrops = c.drops;
    if (c.action2 == 1) expectedDrops.insert(expectedDrops.end(), 17, 1081);
    const std::vector<V> places = ExpectedDrops(static_cast<int>(expectedDrops.size()), 90, 40);
    std::vector<RecordedCall> first;
    for (int run = 0; run < 2; ++run) {
      Fresh();
      SeedRandom(5);
      PowerModeB = c.powerMode;
      ActionHold[kActionSecond] = c.action2;
      KillChain = 2;
      GameObject& enemy = Enemy(60, 1100.0f, 500.0f, 3);
      enemy.width = 90;
      enemy.height = 40;
      enemy.scoreValue = 300;
      enemy.expValue = c.expValue;
      enemy.coinDrop = c.coinDrop;
      enemy.imageSet = 12;
      Shot(70, 4001, 5, 1100.0f, 500.0f);
      UpdateCollision();
      if (run == 0) first = CallLog();
    }
    ASSERT_EQ(first.size(), CallLog().size());
    for (std::size_t i = 0; i < first.size(); ++i) {
      EXPECT_EQ(first[i].call, CallLog()[i].call);
      EXPECT_EQ(first[i].arguments, CallLog()[i].arguments);
    }
    V drops = Created();
    drops.erase(drops.begin());  // the shot's hit effect
    EXPECT_EQ(drops, expectedDrops);
    EXPECT_EQ(V(std::begin(LastHitPanel), std::end(LastHitPanel)), c.panel);
    EXPECT_EQ(LastHitImageSet, 12);
    EXPECT_EQ(Score, 300.0f);
    EXPECT_EQ(PowerKillScore, c.powerMode ? 300 : 0);
    EXPECT_EQ(Arguments(Call::SpawnScorePopup, 1), V({c.powerMode ? 900 : 300}));
    EXPECT_FLOAT_EQ(ExpGauge, 0.072f);
    const std::vector<RecordedCall> created = CallsOf(Call::CreateObject);
    for (std::size_t i = 0; i < places.size() && i + 1 < created.size(); ++i) {
      EXPECT_EQ(V({created[i + 1].Int(1), created[i + 1].Int(2)}), places[i]) << "drop " << i;
      EXPECT_EQ(created[i + 1].Int(4), created[i + 1].Int(0) == 1080 ? 60 : 0);
    }
  }
}

TEST_F(CollisionTest, KillExpLevelUpsBurstBonusesAndVariantUnlocks) {
  const double stageExp[] = {0.07, 0.072, 0.07, 0.068, 0.066, 0.064, 0.07, 0.062, 0.062, 0.07};
  for (int stage = 0; stage <= 9; ++stage) {
    Fresh();
    Stage = stage;
    Enemy(60, 1100.0f, 500.0f, 1);
    Shot(70, 4001, 5, 1100.0f, 500.0f);
    UpdateCollision();
    EXPECT_FLOAT_EQ(ExpGauge, static_cast<float>(stageExp[stage])) << stage;
  }
  Fresh();
  ExpGauge = 99.99f;
  NShotType = 122;
  Enemy(60, 1100.0f, -600.0f, 1).weight = 99;
  Shot(70, 4067, 5, 1100.0f, -600.0f);
  UpdateCollision();
  EXPECT_EQ(Level, 1.0f);
  EXPECT_EQ(Created(), V({2104, 2113, 2177}));  // level-up effects, then the burst kill's
  EXPECT_EQ(BurstKills, 0);
  // The 256th burst kill, of a heavy target.
  Fresh();
  BurstKills = 255;
  Enemy(60, 1100.0f, 500.0f, 1).weight = 99;
  Shot(70, 4067, 5, 1100.0f, 500.0f);
  UpdateCollision();
  EXPECT_EQ(InfoBonus, 51200 + 25600);
  EXPECT_EQ(Arguments(Call::VibratePad, 1), V({3, 6}));
  // Stage targets: "GhostFlame", "WindForce", "DragonScale", "CloudClack",
  // "StomeSpike", "GoldStrike" are shot types 2, 1, 5, 4, 3, 6.
  const int unlocked[] = {-1, -1, 1, 0, 4, 3, 2, 5, -1};
  constexpr int kGameMode1 = 9;  // a recorded game of mode 1
  for (int stage = 1; stage <= 8; ++stage) {
    for (int mode : {int{kReplayRecording}, int{kReplayPlayback}, kGameMode1}) {
      Fresh();
      Stage = stage;
      ReplayMode = mode == kGameMode1 ? kReplayRecording : mode;
      GameMode = mode == kGameMode1 ? 1 : 0;
      VariantShotFlags[0] = 1;
      Enemy(60, 1100.0f, 500.0f, 1).group = 99;
      Shot(70, 4001, 5, 1100.0f, 500.0f);
      UpdateCollision();
      for (int type = 1; type < kShotTypes; ++type) {
        const bool opened = mode == kReplayRecording && type == unlocked[stage];
        EXPECT_EQ(VariantShotFlags[type], opened ? 1 : 999) << stage << " " << type;
      }
      EXPECT_EQ(SideNotices[kRecordingNotice].timer, mode == kReplayRecording && unlocked[stage] > 0 ? 400 : 0);
    }
  }
}

TEST_F(CollisionTest, AGoldStrikeShotFarAboveIsHitOnlyInTheWidePass) {
  for (int code : {10, 60, 123}) {
    Fresh();
    TShotType = code;
    for (int slot : {60, 61}) Enemy(slot, 1100.0f, kPlayerY - 1000.0f);
    const GameObject& shot = Shot(70, 4054, 10, 1100.0f, kPlayerY - 1000.0f);
    ShootInCount = 119;
    UpdateCollision();
    const bool wide = code != 10;
    EXPECT_EQ(ObjectPool[61].hitPoints, wide ? 990 : 1000) << code;
    EXPECT_EQ(shot.state, kStateActive);
    EXPECT_EQ(ShootInTotal, wide ? 3 + 3 : 0);
  }
}

TEST_F(CollisionTest, AFullPoolNearThePlayerInOnePass) {
  for (int slot = 1; slot < kPoolSize; ++slot) {
    if (slot <= 4300) {
      Shot(slot, 4001, 5, kPlayerX - 600.0f, kPlayerY);
    } else if (slot % 2 == 0) {
      Enemy(slot, kPlayerX + 600.0f, kPlayerY);
    } else {
      Bullet(slot, kPlayerX + 600.0f, kPlayerY - 300.0f, slot % 3 == 0);
    }
  }
  UpdateCollision();
  EXPECT_EQ(NearBulletCount, 1434);
  EXPECT_EQ(Score, 0.0f);
  EXPECT_EQ(ShootInCount, 0);
  EXPECT_EQ(ObjectPool[8599].hitPoints, 1000);
}

}  // namespace
