// The player's shots against enemies and shootable bullets: the hit effects and the
// shots' fates, kills with their rewards and drops, and the wide pass.
#include "../support/seeded_floats.h"
#include "collision_fixture.h"
#include "game_library.h"

namespace {

// By shot behaviour, typed from the rules' tables: the effects of a hit on an enemy,
// the shot's power after it (from 100, -1 deleted) at weight 1 and 99; then the
// effects on a shootable bullet and the power after it.
struct ShotRow {
  int behaviour;
  V enemyEffects;
  int after1, after99;
  V bulletEffects;
  int afterBullet;
};
const ShotRow kMainRows[] = {
    {4001, {2005}, -1, -1, {2005}, -1},    {4009, {2012}, -1, -1, {2012}, -1},    {4022, {2012}, -1, -1, {2012}, -1},
    {4016, {2025}, -1, -1, {2025}, 66},    {4025, {2025}, -1, -1, {2025}, 66},    {4026, {2025}, -1, -1, {2095}, 66},
    {4028, {2025}, -1, -1, {2095}, 66},    {4030, {2059}, 100, 100, {2059}, 100}, {4034, {2059}, 100, 100, {2059}, 100},
    {4035, {2060}, 100, 100, {2060}, 100}, {4036, {2061}, 100, 100, {2061}, 100}, {4046, {2086}, -1, -1, {2086}, -1},
    {4047, {2090}, -1, -1, {2090}, -1},    {4048, {2091}, -1, -1, {2091}, -1},    {4049, {2092}, -1, -1, {2092}, -1},
    {4054, {2100}, -1, -1, {2100}, 66},    {4067, {2122}, 100, 90, {2122}, 100},  {4084, {2158}, -1, -1, {2158}, 100},
    {4018, {2051}, -1, -1, {}, 100},       {4037, {2051}, -1, -1, {}, 100},       {4031, {2055}, -1, -1, {}, 100},
    {4038, {2055}, -1, -1, {}, 100},       {4032, {2056}, -1, -1, {}, 100},       {4039, {2056}, -1, -1, {}, 100},
    {4033, {2057}, -1, -1, {}, 100},       {4040, {2057}, -1, -1, {}, 100},       {4109, {}, 100, 100, {}, 100},
    {4124, {}, 100, 100, {}, 100},         {4041, {}, 55, 18, {}, 90},            {4042, {}, 55, 18, {}, 90},
    {4043, {}, 55, 18, {}, 90},            {4044, {}, 55, 18, {}, 90},            {4045, {}, 83, 27, {}, 90},
    {4052, {2129}, 100, 100, {}, 100},     {4055, {2100}, 90, 60, {}, 90},        {4002, {}, -1, -1, {}, -1},
};
// The wide pass of the "GoldStrike" codes, the pair out of the main pass's reach.
const ShotRow kWideRows[] = {
    {4054, {2100}, 100, 100, {2100}, 66}, {4055, {2100}, 90, 60, {}, 90}, {4067, {}, 100, 100, {}, -1},
    {4001, {}, 100, 100, {}, -1},         {4030, {}, 100, 100, {}, -1},
};

// The shot's power after one hit (-1 deleted), and what the hit created.
std::pair<int, V> HitOnce(int behaviour, bool wide, int weight, bool bullet) {
  CollisionTest::Fresh();
  if (wide) NShotType = 62;
  const float y = wide ? 1500.0f : 500.0f;
  GameObject& target = bullet ? CollisionTest::Bullet(60, 1100.0f, y, true) : CollisionTest::Enemy(60, 1100.0f, y);
  target.weight = weight;
  const GameObject& shot = CollisionTest::Shot(70, behaviour, 100, 1100.0f, y);
  UpdateCollision();
  EXPECT_EQ(target.hitPoints, 900);
  return {shot.state == kStateActive ? shot.attackPower : -1, CollisionTest::Arguments()};
}

TEST_F(CollisionTest, HitEffectsAndFatesByShotBehaviour) {
  for (bool wide : {false, true}) {
    for (const ShotRow& row : wide ? std::span<const ShotRow>(kWideRows) : std::span<const ShotRow>(kMainRows)) {
      const auto expect = [&](int after, const V& effects) { return std::make_pair(after, effects); };
      EXPECT_EQ(HitOnce(row.behaviour, wide, 1, false), expect(row.after1, row.enemyEffects)) << row.behaviour;
      EXPECT_EQ(HitOnce(row.behaviour, wide, 99, false), expect(row.after99, row.enemyEffects)) << row.behaviour;
      EXPECT_EQ(Arguments(Call::PlaySeIfIdle), wide ? V{} : V({115}));
      EXPECT_EQ(HitOnce(row.behaviour, wide, 1, true), expect(row.afterBullet, row.bulletEffects)) << row.behaviour;
    }
  }
}

// The wide pass over a few hundred places near its two edges, the player off whole
// pixels: player x - 1200 < x < player x + 1200 on the untruncated places. A
// "GoldStrike" shot on an enemy far below is seen by the wide pass only.
TEST_F(CollisionTest, TheWidePassComparesUntruncatedPlaces) {
  SeededFloats uniform;
  for (int i = 0; i < 300; ++i) {
    Fresh();
    NShotType = 62;
    const float px = uniform(2000.0f, 2001.0f);
    const float x = px + (i % 2 == 0 ? 1200.0f : -1200.0f) + uniform(-1.0f, 1.0f);
    ObjectPool[kPlayerSlot].x = px;
    const GameObject& enemy = Enemy(60, x, 1500.0f);
    Shot(70, 4054, 100, x, 1500.0f);
    const bool listed = static_cast<double>(px) - 1200.0 < x && x < static_cast<double>(px) + 1200.0;
    UpdateCollision();
    ASSERT_EQ(enemy.hitPoints, listed ? 900 : 1000) << i << ": " << px << " " << x;
  }
}

TEST_F(CollisionTest, WhereHitEffectsGoAndAWeakenedShotEnds) {
  Enemy(60, 1100.0f, 500.0f).facing = 1;
  Shot(70, 4035, 10, 1103.0f, 502.0f);
  Shot(71, 4067, 10, 1104.0f, 503.0f);
  UpdateCollision();
  const std::vector<RecordedCall> created = CallsOf(Call::CreateObject);
  ASSERT_EQ(created.size(), 2u);
  EXPECT_EQ(V({created[0].Int(1), created[0].Int(2), created[0].Int(3), created[0].Int(4)}), V({1100, 500, 1, 70}));
  EXPECT_EQ(V({created[1].Int(1), created[1].Int(2), created[1].Int(3), created[1].Int(4)}), V({1104, 503, 0, 71}));
  EXPECT_EQ(Arguments(Call::VibratePad, 1), V({3}));
  Fresh();
  Enemy(60, 1100.0f, 500.0f).weight = 99;
  const GameObject& shot = Shot(70, 4041, 2, 1100.0f, 500.0f);
  UpdateCollision();
  EXPECT_EQ(V({shot.attackPower, shot.collidable}), V({0, 0}));
  // A power that falls below 1 ends the hits of 4041-4045 against any target, and of
  // 4055 only against a heavy one; a still collidable shot hits again, harmless.
  struct Weak {
    int behaviour, weight, collidable;
  };
  for (const Weak& weak : {Weak{4041, 1, 0}, Weak{4044, 1, 0}, Weak{4045, 1, 0}, Weak{4045, 99, 0},
                           Weak{4055, 1, 1}, Weak{4055, 99, 0}}) {
    Fresh();
    GameObject& enemy = Enemy(60, 1100.0f, 500.0f);
    enemy.weight = weak.weight;
    const GameObject& weakShot = Shot(70, weak.behaviour, 1, 1100.0f, 500.0f);
    UpdateCollision();
    ClearCallLog();
    UpdateCollision();
    SCOPED_TRACE(testing::Message() << weak.behaviour << " at weight " << weak.weight);
    EXPECT_EQ(V({weakShot.attackPower, weakShot.collidable}), V({0, weak.collidable}));
    EXPECT_EQ(CallsOf(Call::PlaySe).size(), static_cast<std::size_t>(weak.collidable));  // the hit sound
    EXPECT_EQ(enemy.hitPoints, 999);
  }
}

TEST_F(CollisionTest, AHitPushesTheEnemyByHalfTheShotsSpeedOverItsWeight) {
  // Weight 0 divides nothing: it is pushed as weight 1.
  const std::pair<int, double> pushes[] = {{1, 5.0}, {2, 2.5}, {99, 5.0 / 99}, {0, 5.0}, {-5, -1.0}};
  for (const auto& [weight, push] : pushes) {
    Fresh();
    GameObject& enemy = Enemy(60, 1100.0f, 500.0f);
    enemy.weight = weight;
    Shot(70, 4030, 1, 1100.0f, 500.0f).vx = 10.0f;
    UpdateCollision();
    EXPECT_EQ(enemy.x, static_cast<float>(1100.0 + push)) << weight;
  }
}

TEST_F(CollisionTest, APiercingShotHitsEveryFrameAndEveryEnemy) {
  GameObject& enemy = Enemy(60, 1100.0f, 500.0f);
  Shot(70, 4030, 7, 1100.0f, 500.0f);
  ShootInCount = 120;
  for (int frame = 1; frame <= 10; ++frame) {
    UpdateCollision();
    EXPECT_EQ(enemy.hitFlash, frame % 2);
  }
  EXPECT_EQ(V({enemy.hitPoints, ShootInScore, ShootInTimer}), V({1000 - 10 * 7, 10 * 2, 240}));
  // In one frame the piercing shot hits all three; a deleted one only its first.
  Fresh();
  for (int slot : {60, 61, 62}) Enemy(slot, 1100.0f, 500.0f);
  Shot(70, 4030, 7, 1100.0f, 500.0f);
  Shot(71, 4001, 5, 1100.0f, 500.0f);
  UpdateCollision();
  EXPECT_EQ(V({ObjectPool[60].hitPoints, ObjectPool[61].hitPoints, ObjectPool[62].hitPoints}), V({988, 993, 993}));
  EXPECT_EQ(ObjectPool[71].state, kStateFree);
}

TEST_F(CollisionTest, KilledEnemiesArePaidOnceAndTheirSlotsTakeNewRecords) {
  SetCreationsOccupySlots(true);
  for (int slot : {50, 51}) Enemy(slot, 1100.0f, 500.0f).hitPoints = 1, ObjectPool[slot].scoreValue = 500;
  Shot(70, 4030, 5, 1100.0f, 500.0f);
  Shot(71, 4030, 5, 1100.0f, 500.0f);
  Shot(72, 4030, 5, -100.0f, -100.0f);  // where a reset record lies
  UpdateCollision();
  EXPECT_EQ(V({EnemiesDestroyed, KillScore, int(StageKills)}), V({2, 1000, 2}));
  EXPECT_EQ(Arguments(Call::SpawnDeathEffects), V({50, 51}));
  // The second hit's effect took the first enemy's freed slot; the second shot left it be.
  const GameObject& reused = ObjectPool[50];
  EXPECT_EQ(V({reused.state, reused.category, reused.hitFlash}), V({kStateActive, kCategoryEffect, 0}));
}

// The drops' places from a generator seeded alike: the hit sound's draw, then four
// per drop: half height twice, half width twice.
std::vector<V> DropPlaces(std::size_t count) {
  SeedRandom(5);
  RandomInRange(3);
  std::vector<V> places;
  while (places.size() < count) {
    const int r1 = RandomInRange(20);
    const int r2 = RandomInRange(20);
    const int r3 = RandomInRange(45);
    const int r4 = RandomInRange(45);
    places.push_back({1100 - r3 + 2 * r4, 500 + r1 - 2 * r2});
  }
  return places;
}

TEST_F(CollisionTest, KillRewardsAndDropPlaces) {
  struct Case {
    int powerMode, action2, expValue, coinDrop;
    V drops, panel;
  };
  const V chips(3, 1080);
  const Case cases[] = {
      {0, 0, 2, 3, {1009, 1009, 1009, 1081, 1081}, {2, -2, 300, 3, 150}},
      {0, 0, 0, 0, {}, {0, -2, 300, 0, 150}},
      {1, 0, 4, 0, {1080, 1080, 1080, 1009, 1009, 1009, 1009, 1009, 1009, 1009, 1009}, {0, -2, 1200, 7, 150}},
      {1, 1, 4, 0, {1080, 1080, 1080, 1081, 1081, 1081, 1081, 1081, 1081, 1081, 1081, 1081, 1081, 1081, 1081, 1081,
                    1081, 1081, 1081, 1081}, {16, -2, 1200, 0, 150}},
  };
  for (const Case& c : cases) {
    const std::vector<V> places = DropPlaces(c.drops.size());
    std::vector<RecordedCall> runs[2];
    for (std::vector<RecordedCall>& log : runs) {
      Fresh();
      SeedRandom(5);
      PowerModeB = c.powerMode;
      ActionHold[kActionSecond] = c.action2;
      KillChain = 2;
      GameObject& enemy = Enemy(60, 1100.0f, 500.0f);
      enemy.width = 90, enemy.height = 40, enemy.hitPoints = 3, enemy.scoreValue = 300, enemy.imageSet = 12;
      enemy.expValue = c.expValue, enemy.coinDrop = c.coinDrop;
      Shot(70, 4001, 5, 1100.0f, 500.0f);
      UpdateCollision();
      log = CallLog();
    }
    ASSERT_EQ(runs[0].size(), runs[1].size());
    for (std::size_t i = 0; i < runs[0].size(); ++i) EXPECT_EQ(runs[0][i].arguments, runs[1][i].arguments);
    std::vector<RecordedCall> created = CallsOf(Call::CreateObject);
    created.erase(created.begin());  // the shot's hit effect
    ASSERT_EQ(created.size(), c.drops.size());
    for (std::size_t i = 0; i < created.size(); ++i) {
      EXPECT_EQ(V({created[i].Int(0), created[i].Int(1), created[i].Int(2), created[i].Int(4)}),
                V({c.drops[i], places[i][0], places[i][1], c.drops[i] == 1080 ? 60 : 0}));
    }
    EXPECT_EQ(V(std::begin(LastHitPanel), std::end(LastHitPanel)), c.panel);
    EXPECT_EQ(V({int(Score), PowerKillScore, LastHitImageSet}), V({300, c.powerMode * 300, 12}));
    EXPECT_EQ(Arguments(Call::SpawnScorePopup, 1), V({c.powerMode ? 900 : 300}));
  }
}

TEST_F(CollisionTest, KillExpLevelUpsBurstBonusesAndVariantUnlocks) {
  const double stageExp[] = {0.07, 0.072, 0.07, 0.068, 0.066, 0.064, 0.07, 0.062, 0.062, 0.07};
  // Stage targets unlock "GhostFlame", "WindForce", "DragonScale", "CloudClack",
  // "StomeSpike", "GoldStrike": types 2, 1, 5, 4, 3, 6 in stages 2 to 7.
  const int unlocked[] = {0, 0, 2, 1, 5, 4, 3, 6, 0, 0};
  for (int stage = 0; stage <= 9; ++stage) {
    for (int mode : {0, 1, 2}) {  // recording a mode-0 game, playing it back, recording mode 1
      Fresh();
      Stage = stage;
      ReplayMode = mode == 1 ? kReplayPlayback : kReplayRecording;
      GameMode = mode == 2 ? 1 : 0;
      VariantShotFlags[0] = 1;
      Enemy(60, 1100.0f, 500.0f).hitPoints = 1, ObjectPool[60].group = 99;
      Shot(70, 4001, 5, 1100.0f, 500.0f);
      UpdateCollision();
      EXPECT_FLOAT_EQ(ExpGauge, static_cast<float>(stageExp[stage])) << stage;
      const int opened = mode == 0 && unlocked[stage] > 1 ? unlocked[stage] : 0;
      for (int type = 2; type <= kShotTypes; ++type) EXPECT_EQ(VariantShotFlags[type - 1], type == opened ? 1 : 999);
      EXPECT_EQ(SideNotices[kRecordingNotice].timer, opened ? 400 : 0) << stage << " " << mode;
    }
  }
  // The wide pass's kill: 0.35 EXP and the burst kill's effect, unpaid.
  Fresh();
  ExpGauge = 99.99f;
  NShotType = 122;
  Enemy(60, 1100.0f, -600.0f).hitPoints = 1;
  Shot(70, 4067, 5, 1100.0f, -600.0f);
  UpdateCollision();
  EXPECT_EQ(Arguments(), V({2104, 2113, 2177}));  // level-up effects, then the burst kill's
  EXPECT_EQ(V({int(Level), BurstKills}), V({1, 0}));
  // The 256th burst kill, of a heavy target.
  Fresh();
  BurstKills = 255;
  Enemy(60, 1100.0f, 500.0f).hitPoints = 1, ObjectPool[60].weight = 99;
  Shot(70, 4067, 5, 1100.0f, 500.0f);
  UpdateCollision();
  EXPECT_EQ(InfoBonus, 51200 + 25600);
  EXPECT_EQ(Arguments(Call::VibratePad, 1), V({3, 6}));
}

TEST_F(CollisionTest, AGoldStrikeShotFarAboveIsHitOnlyInTheWidePass) {
  for (int code : {10, 60, 123}) {
    Fresh();
    TShotType = code;
    for (int slot : {60, 61}) Enemy(slot, 1100.0f, kPlayerY - 1000.0f);
    const GameObject& shot = Shot(70, 4054, 10, 1100.0f, kPlayerY - 1000.0f);
    ShootInCount = 119;
    UpdateCollision();
    const int hits = code == 10 ? 0 : 1;
    EXPECT_EQ(V({ObjectPool[61].hitPoints, shot.state, ShootInTotal}), V({1000 - 10 * hits, 1, 6 * hits})) << code;
  }
}

TEST_F(CollisionTest, AFullPoolNearThePlayerInOnePass) {
  for (int slot = 1; slot < kPoolSize; ++slot) {
    if (slot <= 4300) Shot(slot, 4001, 5, kPlayerX - 600.0f, kPlayerY);
    if (slot > 4300 && slot % 2 == 0) Enemy(slot, kPlayerX + 600.0f, kPlayerY);
    if (slot > 4300 && slot % 2 == 1) Bullet(slot, kPlayerX + 600.0f, kPlayerY - 300.0f, slot % 3 == 0);
  }
  UpdateCollision();
  EXPECT_EQ(V({NearBulletCount, ShootInCount, int(Score), HitsTaken}), V({1434, 0, 0, 0}));
}

}  // namespace
