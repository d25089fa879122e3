#include "objects/behaviours/behaviour_dispatch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "behaviour_fixture.h"
#include "objects/behaviours/behaviour_steps.h"

namespace {

using Dispatch = BehaviourTest;

TEST_F(Dispatch, RunsOnlyActiveRecordsWhoseIdLiesInTheirCategorysRange) {
  struct Case {
    int slot, category, behaviour, state;
    bool moves;
  };
  const Case cases[] = {{0, kCategoryPlayer, 4004, kStateActive, false},
                        {60, kCategoryEnemy, 4004, kStateActive, false},
                        {61, kCategoryPlayerShot, 3001, kStateActive, false},
                        {62, kCategoryEnemyBullet, 4004, kStateDelayed, false},
                        {63, kCategoryEnemyBullet, 4004, kStateActive, true},
                        {64, kCategoryEffect, 4013, kStateActive, true},
                        {65, kCategoryEffect, 4046, kStateActive, false},
                        {66, kCategoryEnemyBullet, 0, kStateActive, false},
                        {67, 0, 4013, kStateActive, false},
                        {68, kCategoryDecoration, 4013, kStateActive, true}};
  for (const Case& c : cases) {
    GameObject& object = Put(c.slot, c.category, c.behaviour);
    object.state = c.state;
    object.vx = 3.0f;
  }
  Frames(1);
  for (const Case& c : cases) EXPECT_EQ(ObjectPool[c.slot].x, c.moves ? 503.0f : 500.0f) << c.slot;
}

// The ids each behaviour family runs, typed from the behaviour tables.
constexpr int kTabledIds[] = {
    4001, 4007, 4009, 4045, 4049, 4018, 4021, 4031, 4032, 4033, 4037, 4038, 4039, 4040, 4016, 4025, 4028, 4041,
    4042, 4044, 4026, 4043, 4022, 4054, 4055, 4010, 4034, 4035, 4036, 4030, 4109, 4067, 4084, 4093,  // shots
    4004, 4024, 4063, 4081, 4131, 4071, 4072, 4169, 4082,                                            // bullets
    4006, 4013, 4014, 4017, 4019, 4029, 4061, 4065, 4002, 4003, 4005, 4050, 4059, 4060, 4064, 4058, 4078, 4079,
    4080,  // effects
    4100, 4099, 4102, 4103, 4104, 4106, 4107, 4108, 4123, 4133, 4105, 4132, 4134, 4137, 4136, 4153, 4154, 4155,
};
constexpr int kNeverGiven[] = {3067, 3069, 3084, 4023, 4101, 4121, 4138, 4146, 4147, 4148, 4149, 4150, 4151, 4168};

TEST_F(Dispatch, EveryIdHasOneBehaviourOrTheSharedNoOp) {
  std::multiset<int> registered;
  for (const BehaviourFamily* family : BehaviourFamilies()) {
    for (const BehaviourEntry& entry : *family) {
      registered.insert(entry.id);
      EXPECT_NE(entry.run, nullptr) << entry.id;
      EXPECT_TRUE((entry.id >= 3001 && entry.id <= 3109) || (entry.id >= 4001 && entry.id <= 4170)) << entry.id;
    }
  }
  for (int id : registered) EXPECT_EQ(registered.count(id), 1u) << id << " registered twice";
  for (int id : kTabledIds) {
    EXPECT_EQ(registered.count(id), 1u) << id;
    EXPECT_NE(BehaviourFor(kCategoryEffect, id), &NoBehaviour) << id;
  }
  for (int id : {4046, 4047, 4048}) EXPECT_EQ(BehaviourFor(kCategoryPlayerShot, id), &NoBehaviour);
  for (int id : kNeverGiven) {
    EXPECT_EQ(registered.count(id), 0u) << id;
    EXPECT_EQ(BehaviourFor(id < 4000 ? kCategoryEnemy : kCategoryEffect, id), &NoBehaviour) << id;
  }
  for (int id : {3000, 3110, 4000, 4171}) EXPECT_EQ(BehaviourFor(kCategoryEffect, id), nullptr);
  EXPECT_EQ(BehaviourFor(kCategoryPickup, 3001), BehaviourFor(kCategoryEnemy, 3001));
}

TEST_F(Dispatch, ARecordMadeAboveTheCurrentSlotMovesThatFrameOneMadeBelowTheNext) {
  const Behaviour maker = [](int) {
    for (int slot : {55, 70}) Put(slot, kCategoryEffect, 4013, 0.0f, 0.0f).vx = 1.0f;
  };
  const Behaviour before = ReplaceBehaviour(4006, maker);
  Put(60, kCategoryEffect, 4006);
  Frames(1);
  ReplaceBehaviour(4006, before);
  EXPECT_EQ(ObjectPool[70].x, 1.0f);
  EXPECT_EQ(ObjectPool[55].x, 0.0f);
  ObjectPool[60].state = kStateFree;
  Frames(1);
  EXPECT_EQ(ObjectPool[55].x, 1.0f);
}

TEST_F(Dispatch, SharedStepsAimTurnAndFireAsWritten) {
  GameObject object = ResetValues();
  object.x = object.y = 0.0f;
  SetVelocityToward(object, 30.0f, 40.0f, 4.0, object.phase);
  EXPECT_EQ(object.phase, 50.0f);
  EXPECT_EQ(object.vx, 2.4f);
  EXPECT_EQ(object.vy, 3.2f);
  // On the target: distance 0 stored, the old velocity kept, also when turning.
  object.phase = 7.0f;
  SetVelocityToward(object, 0.0f, 0.0f, 4.0, object.phase);
  TurnToward(object, 0.0f, 0.0f, 0.0f, 0.0f, 9.0, 1.5, object.phase2);
  EXPECT_EQ(object.phase, 0.0f);
  EXPECT_EQ(object.phase2, 0.0f);
  EXPECT_EQ(object.vx, 2.4f);
  EXPECT_EQ(object.vy, 3.2f);
  // A target straight behind is a tie between the two turns: +limit wins.
  const float limit = static_cast<float>(1.5 * 0.01745329238474369);
  object.vx = 1.0f;
  object.vy = 0.0f;
  TurnToward(object, -10.0f, 0.0f, -10.0f, 0.0f, 1.0, 1.5, object.phase);
  EXPECT_EQ(object.vx, static_cast<float>(std::cos(limit)));
  EXPECT_EQ(object.vy, static_cast<float>(std::sin(limit)));
  // A longer direct velocity lies closer to the old course than the turn: taken whole.
  object.vx = 1.0f;
  object.vy = 0.0f;
  TurnToward(object, 100.0f, 10.0f, 100.0f, 10.0f, 4.0, 1.5, object.phase);
  EXPECT_FLOAT_EQ(std::hypot(object.vx, object.vy), 4.0f);
  EXPECT_FLOAT_EQ(object.vy / object.vx, 0.1f);
  // Positions are truncated toward zero after the whole sum.
  ClearCallLog();
  object.x = -10.7f;
  object.y = 20.0f;
  Fire(2149, object, 0.0, -0.5, 1, 7);
  ASSERT_EQ(CallsOf(Call::CreateObject).size(), 1u);
  const RecordedCall fired = CallsOf(Call::CreateObject)[0];
  EXPECT_EQ(std::vector<int>({fired.Int(0), fired.Int(1), fired.Int(2), fired.Int(3), fired.Int(4)}),
            std::vector<int>({2149, -10, 19, 1, 7}));
}

TEST_F(Dispatch, DrawsOfOneCallComeFromTheLastArgumentToTheFirst) {
  // 4079 fires CreateObject(2144, x - 64 + R(128), y - 64 + R(128), 0, 267 + R(5)).
  GameObject& piece = Put(60, kCategoryEffect, 4079, 300.0f, 200.0f);
  piece.phase = 100.0f;
  piece.phase2 = 3.0f;
  ScriptRandom(RandomScript::Listed, {2, 10, 20});
  Frames(1);
  const std::vector<RecordedCall> draws = CallsOf(Call::RandomInRange);
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_EQ(draws[0].Int(0), 5);
  const RecordedCall spark = CallsOf(Call::CreateObject).at(0);
  EXPECT_EQ(spark.Int(1), 300 - 64 + 20);
  EXPECT_EQ(spark.Int(2), 200 - 64 + 10);
  EXPECT_EQ(spark.Int(4), 269);
}

}  // namespace
