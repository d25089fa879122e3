// The stage 7 and 8 movers: the dragon's draws and burst cycle, the homing fliers'
// aim and turn, the drifters' top speed.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "behaviour_fixture.h"

namespace {

class Movers : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    SetForwarding(Call::PlaySe, false);
  }
  static int Made(int templateId) {
    int count = 0;
    for (const RecordedCall& call : CallsOf(Call::CreateObject)) count += call.Int(0) == templateId;
    return count;
  }
};

TEST_F(Movers, DragonDrawsThreeFiveOrSixRoamingAndOneThreeOrFourSwarming) {
  struct Case {
    bool swarming;
    std::vector<int> listed;
    int draws;
    std::vector<int> sounds;
  };
  const Case cases[] = {{false, {5}, 3, {}},           {false, {0, 1, 1}, 5, {109}}, {false, {0, 2, 0, 3}, 6, {110, 7}},
                        {true, {5}, 1, {}},            {true, {0, 0, 1}, 3, {108}},  {true, {0, 1, 0, 4}, 4, {109, 8}}};
  for (const Case& c : cases) {
    SetUp();
    if (c.swarming) Put(10, kCategoryEnemy, 0, 3000.0f, 900.0f);
    Put(60, kCategoryEnemy, 3075, 2000.0f, 900.0f).vx = -2.0f;
    ScriptRandom(RandomScript::Listed, c.listed);
    const int before = RandomDrawsSinceSeed();
    Frames(1);
    EXPECT_EQ(RandomDrawsSinceSeed() - before, c.draws) << c.swarming << " " << c.listed.size();
    std::vector<int> sounds;
    for (const RecordedCall& call : CallsOf(Call::PlaySe)) sounds.push_back(call.Int(0));
    EXPECT_EQ(sounds, c.sounds);
  }
}

TEST_F(Movers, SwarmingDragonFires23In130FramesAndKeepsItsClockWhileRoaming) {
  ScriptRandom(RandomScript::Max);  // never calls
  GameObject& boss = Put(10, kCategoryEnemy, 0, 3000.0f, 900.0f);
  GameObject& dragon = Put(60, kCategoryEnemy, 3075, 2800.0f, 900.0f);
  dragon.vx = 1.0f;
  std::vector<int> firedAt;
  for (int frame = 1; frame <= 130; ++frame) {
    ClearCallLog();
    Frames(1);
    if (Made(5014) == 1) firedAt.push_back(frame);
  }
  std::vector<int> expected;
  for (int frame = 3; frame <= 69; frame += 3) expected.push_back(frame);
  EXPECT_EQ(firedAt, expected);
  EXPECT_EQ(dragon.timer, 0);
  Frames(10);
  boss.state = kStateFree;
  ClearCallLog();
  Frames(40);
  EXPECT_EQ(dragon.timer, 10) << "the clock stands while roaming";
  EXPECT_EQ(Made(5014), 0);
}

TEST_F(Movers, HomingFlierAimsAt10OnFrame100AndTurnsByItsLimitFrom101) {
  GameObject& flier = Put(60, kCategoryEnemy, 3079, 1600.0f, 500.0f);
  flier.vx = -3.0f;
  Frames(99);
  EXPECT_EQ(flier.vx, -3.0f);
  Frames(1);
  EXPECT_NEAR(std::hypot(flier.vx, flier.vy), 10.0, 1e-5);
  const double course = std::atan2(flier.vy, flier.vx);
  Frames(1);
  // The direct velocity at 8 lies within the 0.1 degree cone's dot product of the
  // old velocity at 10, so the old one turns by the limit and keeps its length.
  EXPECT_NEAR(std::hypot(flier.vx, flier.vy), 10.0, 1e-5);
  EXPECT_NEAR(std::abs(std::atan2(flier.vy, flier.vx) - course), 0.1 * 0.01745329238474369, 1e-6);
  EXPECT_EQ(flier.facing, 1);
  EXPECT_EQ(Made(2210), 101) << "a trail every frame";
}

TEST_F(Movers, DrifterAt799Reaches801AndKeepsIt) {
  for (const int behaviour : {3080, 3081}) {
    for (const int facing : {0, 1}) {
      SetUp();
      GameObject& drifter = Put(60, kCategoryEnemy, behaviour, 3000.0f, 1000.0f);
      drifter.facing = facing;
      float& speed = behaviour == 3080 ? drifter.vx : drifter.vy;
      const float sign = facing == 0 ? 1.0f : -1.0f;
      speed = 7.99f * sign;
      Frames(1);
      EXPECT_FLOAT_EQ(speed, 8.01f * sign);
      Frames(5);
      EXPECT_FLOAT_EQ(speed, 8.01f * sign);
    }
  }
}

TEST_F(Movers, FallerStopsSpeedingUpAtFive) {
  GameObject& faller = Put(60, kCategoryEnemy, 3105, 3000.0f, 1000.0f);
  faller.vy = -3.0f;
  Frames(200);
  EXPECT_GE(faller.vy, 5.0f);
  EXPECT_LT(faller.vy, 5.1f);
}

}  // namespace
