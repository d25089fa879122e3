#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <random>

#include "core/game_state.h"
#include "core/object_pool.h"
#include "core/run_state.h"

namespace {

// Each test starts from an empty pool and a fresh run, whatever the tests before it left.
class ObjectPoolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::fill(std::begin(ObjectPool), std::end(ObjectPool), GameObject{});
    ForgetFreeSlotHint();
    ClearRunControlState();
  }
};

void FillActive(int from, int to) {
  for (int slot = from; slot < to; ++slot) ObjectPool[slot].state = kStateActive;
}

GameObject& PlaceAt(int slot, float x, float y) {
  GameObject& object = ObjectPool[slot];
  object.state = kStateActive;
  object.x = x;
  object.y = y;
  return object;
}

TEST_F(ObjectPoolTest, ResetGivesTheResetValuesAndKeepsCategoryAndAttackPower) {
  GameObject& object = ObjectPool[60];
  object = GameObject{1, 3, kCategoryEnemyBullet, 5, 6, 7, 8, 9, 2, 10, 11, 12, 13, 14, 3, 15,
                      16, 17, 18, 1, 19, 20, 4059, 21, 22, 23, 2, 77, 24, 25, {1, 2, 3, 4}, 5,
                      1, 26, 27, 28, 99, 29};
  ResetObject(60);
  GameObject expected{};
  expected.x = expected.y = -100.0f;
  expected.collidable = expected.weight = 1;
  expected.category = kCategoryEnemyBullet;
  expected.attackPower = 77;
  EXPECT_EQ(std::memcmp(&object, &expected, sizeof expected), 0);
}

TEST_F(ObjectPoolTest, AllocationTakesTheFirstFreeSlotFromFifty) {
  EXPECT_EQ(AllocateObject(), 50);
  // The record stays free until the caller writes it.
  EXPECT_EQ(AllocateObject(), 50);
  FillActive(50, 53);
  ResetObject(51);
  EXPECT_EQ(AllocateObject(), 51);
  ObjectPool[51].state = kStateDelayed;
  EXPECT_EQ(AllocateObject(), 53);
  // Free fixed slots below 50 are never handed out.
  for (int slot = 0; slot < 50; ++slot) EXPECT_EQ(ObjectPool[slot].state, kStateFree);
}

TEST_F(ObjectPoolTest, AllocationResetsTheRecordItHandsOut) {
  ObjectPool[50].hitPoints = 500;
  ObjectPool[50].x = 3.0f;
  EXPECT_EQ(AllocateObject(), 50);
  EXPECT_EQ(ObjectPool[50].hitPoints, 0);
  EXPECT_EQ(ObjectPool[50].x, -100.0f);
}

TEST_F(ObjectPoolTest, AFullPoolHandsOutSlot8500WithoutResettingIt) {
  FillActive(50, kPoolSize);
  ObjectPool[8500].hitPoints = 321;
  ObjectPool[8500].animStep = 4;
  EXPECT_EQ(AllocateObject(), kFullPoolSlot);
  EXPECT_EQ(ObjectPool[8500].state, kStateActive);
  EXPECT_EQ(ObjectPool[8500].hitPoints, 321);
  EXPECT_EQ(ObjectPool[8500].animStep, 4);
  ResetObject(8599);
  EXPECT_EQ(AllocateObject(), 8599);
}

// The first free slot from 50 as a plain scan of the whole pool finds it.
int FirstFreeByScan() {
  for (int slot = kFirstAllocatedSlot; slot < kPoolSize; ++slot) {
    if (ObjectPool[slot].state == kStateFree) return slot;
  }
  return kFullPoolSlot;
}

// Allocation remembers where the last free slot was; whatever frees a record before
// that point must make it search from there again. Rounds that fill the pool and
// rounds that empty it, with records freed through every freeing operation.
TEST_F(ObjectPoolTest, AllocationFindsTheSlotAWholeScanFinds) {
  void (*const frees[])(int) = {ResetObject, FreeObjectIfFarOutside, FreeObjectIfOffView, FreeObjectIfOffWorld};
  std::mt19937 random(20261208);
  CameraX = 0.0f;
  CameraY = 0.0f;
  int fullPoolAnswers = 0;
  for (int round = 0; round < 8; ++round) {
    const bool filling = round % 2 == 0;
    for (int step = 0; step < 12000; ++step) {
      if (random() % 100 < (filling ? 90u : 15u)) {
        const int expected = FirstFreeByScan();
        const int slot = AllocateObject();
        ASSERT_EQ(slot, expected) << "round " << round << " step " << step;
        fullPoolAnswers += FirstFreeByScan() == kFullPoolSlot;
        // A record left free by its template stays where the next search starts.
        if (random() % 8 != 0) ObjectPool[slot].state = random() % 2 ? kStateActive : kStateDelayed;
      } else {
        const int slot = static_cast<int>(random() % kPoolSize);
        GameObject& object = ObjectPool[slot];
        // Half of them far off every window, the rest kept by the culling ones.
        object.x = random() % 2 ? -50000.0f : 200.0f;
        object.y = 200.0f;
        frees[random() % 4](slot);
      }
    }
    // The whole pool reset of a new game goes through the same operation.
    if (round == 5) {
      for (int slot = 0; slot < kPoolSize; ++slot) ResetObject(slot);
    }
  }
  EXPECT_GT(fullPoolAnswers, 0);
}

// Each culling window keeps an object on its bounds and frees one just beyond.
struct CullCase {
  const char* name;
  void (*cull)(int);
  float left, right, top, bottom;  // with the camera at (1000, 500)
};

const CullCase kCullCases[] = {
    {"far outside", FreeObjectIfFarOutside, -100.0f, 3200.0f, -300.0f, 2068.0f},
    {"off view", FreeObjectIfOffView, 900.0f, 2100.0f, 400.0f, 1368.0f},
    {"off world", FreeObjectIfOffWorld, -160.0f, 6560.0f, -160.0f, 2080.0f},
};

TEST_F(ObjectPoolTest, CullingWindowsAreClosed) {
  CameraX = 1000.0f;
  CameraY = 500.0f;
  for (const CullCase& c : kCullCases) {
    SCOPED_TRACE(c.name);
    const float midX = (c.left + c.right) / 2;
    const float midY = (c.top + c.bottom) / 2;
    const float inside[][2] = {{c.left, midY}, {c.right, midY}, {midX, c.top}, {midX, c.bottom}};
    for (const auto& point : inside) {
      PlaceAt(70, point[0], point[1]);
      c.cull(70);
      EXPECT_EQ(ObjectPool[70].state, kStateActive) << point[0] << ", " << point[1];
    }
    const float outside[][2] = {{c.left - 0.01f, midY}, {c.right + 0.01f, midY}, {midX, c.top - 0.01f},
                                {midX, c.bottom + 0.01f}};
    for (const auto& point : outside) {
      PlaceAt(70, point[0], point[1]);
      c.cull(70);
      EXPECT_EQ(ObjectPool[70].state, kStateFree) << point[0] << ", " << point[1];
    }
  }
}

TEST_F(ObjectPoolTest, AResetRecordLiesInsideTheWorldWindow) {
  ResetObject(70);
  ObjectPool[70].state = kStateActive;
  FreeObjectIfOffWorld(70);
  EXPECT_EQ(ObjectPool[70].state, kStateActive);
}

TEST_F(ObjectPoolTest, GroupCountsTakeActiveEnemiesOfTheGroupOnly) {
  auto enemy = [](int slot, int state, int group) {
    ObjectPool[slot].state = state;
    ObjectPool[slot].category = kCategoryEnemy;
    ObjectPool[slot].group = group;
  };
  enemy(50, kStateActive, 1);
  enemy(51, kStateActive, 1);
  enemy(52, kStateDelayed, 1);
  enemy(53, kStateActive, 2);
  enemy(8599, kStateActive, 2);
  enemy(54, kStateActive, 99);
  enemy(1, kStateFree, 1);
  ObjectPool[55] = ObjectPool[50];
  ObjectPool[55].category = kCategoryEnemyBullet;
  EXPECT_EQ(CountEnemiesInGroup1(), 2);
  EXPECT_EQ(CountEnemiesInGroup2(), 2);
}

TEST_F(ObjectPoolTest, CancelBulletChangesOnlyItsFields) {
  GameObject& bullet = PlaceAt(80, 10.0f, 20.0f);
  bullet.category = kCategoryEnemyBullet;
  bullet.vx = 3.0f;
  bullet.animStep = 2;
  bullet.animTimer = 1;
  bullet.phase = 5.0f;
  bullet.collidable = 1;
  GameObject expected = bullet;
  CancelBullet(80);
  expected.phase = 0.0f;
  expected.imageSet = 0;
  expected.behaviour = 4059;
  expected.category = kCategoryEffect;
  expected.blendMode = 2;
  expected.animation = 117;
  expected.collidable = 0;
  EXPECT_EQ(std::memcmp(&bullet, &expected, sizeof expected), 0);
}

TEST_F(ObjectPoolTest, CancelAllBulletsSelectsByCategoryAlone) {
  ObjectPool[90].category = kCategoryEnemyBullet;  // free
  PlaceAt(91, 0, 0).category = kCategoryEnemyBullet;
  PlaceAt(92, 0, 0).category = kCategoryEnemy;
  CancelAllBullets();
  EXPECT_EQ(ObjectPool[90].behaviour, 4059);
  EXPECT_EQ(ObjectPool[90].state, kStateFree);
  EXPECT_EQ(ObjectPool[91].behaviour, 4059);
  EXPECT_EQ(ObjectPool[92].behaviour, 0);
}

TEST_F(ObjectPoolTest, ChipConversionWindowIsOpenAndWritesTheChip) {
  CameraX = 1000.0f;
  CameraY = 500.0f;
  // Strictly inside x -100..3100, y -100..1868.
  const float points[][2] = {{-99.0f, 0.0f}, {-100.0f, 0.0f}, {3100.0f, 0.0f}, {0.0f, -100.0f},
                             {0.0f, 1868.0f}, {3099.5f, 1867.5f}};
  const bool converted[] = {true, false, false, false, false, true};
  for (int i = 0; i < 6; ++i) {
    GameObject& bullet = PlaceAt(100 + i, points[i][0], points[i][1]);
    bullet.category = kCategoryEnemyBullet;
    bullet.animStep = 3;
    bullet.vx = 2.0f;
  }
  ConvertBulletsToChips();
  EXPECT_EQ(ChipCount, 2);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(ObjectPool[100 + i].category == kCategoryPickup, converted[i]) << i;
  }
  const GameObject& chip = ObjectPool[100];
  EXPECT_EQ(chip.state, kStateActive);
  EXPECT_EQ(chip.animStep, 0);
  EXPECT_EQ(chip.animation, 395);
  EXPECT_EQ(chip.behaviour, 3068);
  EXPECT_EQ(chip.collidable, 0);
  EXPECT_EQ(chip.width, 32);
  EXPECT_EQ(chip.hitWidth, 160);
  EXPECT_EQ(chip.hitHeight, 160);
  EXPECT_EQ(chip.blendMode, 2);
  EXPECT_EQ(chip.imageSet, 0);
  EXPECT_EQ(chip.vx, 0.0f);
  EXPECT_EQ(chip.scoreValue, 100);
}

TEST_F(ObjectPoolTest, ChipConversionLeavesFreedBulletsFree) {
  CameraX = 0.0f;
  CameraY = 0.0f;
  PlaceAt(110, 50.0f, 50.0f).category = kCategoryEnemyBullet;
  ResetObject(110);  // freed: still category 4, at (-100, -100), inside the window
  ConvertBulletsToChips();
  EXPECT_EQ(ObjectPool[110].state, kStateFree);
  EXPECT_EQ(ChipCount, 0);
}

}  // namespace
