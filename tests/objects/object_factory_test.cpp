#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "core/game_state.h"
#include "game_library.h"
#include "objects/objects.h"
#include "../support/call_recorder.h"
#include "core/collision.h"
#include "pool_fixture.h"

namespace {

class ObjectFactory : public PoolFixture {};

TEST_F(ObjectFactory, NumbersThatNameNoTemplateChangeNothing) {
  for (int templateId : {1053, 2031, 999, 1115, 2000, 2252, 5009, 5039, -1, INT_MIN, INT_MAX}) {
    SetUp();
    const std::vector<GameObject> before = Snapshot();
    const float enemies = StageEnemiesSpawned;
    CreateObject(templateId, 640, 400, 0, 1);
    EXPECT_EQ(DescribeChanges(before), "") << templateId;
    EXPECT_EQ(StageEnemiesSpawned, enemies);
    EXPECT_EQ(CallLog().size(), 1u) << templateId << " called more than CreateObject";
  }
}

TEST_F(ObjectFactory, LargeDebrisWithNoDelayWakesOnTheNextPass) {
  ScriptRandom(RandomScript::Zero);
  CreateObject(2145, 640, 400, 0, 0);
  EXPECT_EQ(ObjectPool[50].state, kStateDelayed);
  EXPECT_EQ(ObjectPool[50].timer, 0);
  UpdateCollision();
  EXPECT_EQ(ObjectPool[50].state, kStateActive);
}

TEST_F(ObjectFactory, AParentOutsideThePoolReadsAsAResetRecord) {
  for (int parentSlot : {-1, kPoolSize, INT_MIN}) {
    SetUp();
    const std::vector<int> d = DrawsFromSeed0({0, 0, 0, 0, 20, 8, 5});
    CreateObject(1080, 300, 200, 0, parentSlot);
    EXPECT_EQ(ObjectPool[50].x, 300.0f);
    EXPECT_EQ(ObjectPool[50].y, 200.0f);
    EXPECT_EQ(ObjectPool[50].scoreValue, 0);
    EXPECT_EQ(ObjectPool[50].timer, d[4] + 2);
  }
}

}  // namespace
