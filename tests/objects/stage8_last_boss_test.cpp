// The last boss: its two scripts, the shield's break, the escorts' firing band, the
// mending, the storm and the time-outs.
#include <gtest/gtest.h>

#include <vector>

#include "behaviour_fixture.h"
#include "core/game_state.h"
#include "core/object_pool.h"

namespace {

class LastBoss : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    SetForwarding(Call::SpawnDeathEffects, false);
    SetForwarding(Call::PlaySe, false);
    SetForwarding(Call::RequestSlowdown, false);
    ObjectPool[0].x = 3000.0f;
    ObjectPool[0].y = 900.0f;
  }
  static GameObject& PutBody() {
    GameObject& body = Put(10, kCategoryEnemy, 3098, 3200.0f, 800.0f);
    body.hitPoints = 90000;
    body.coinDrop = 180;
    body.deathEffect = 13;
    body.group = 1;
    body.collidable = 0;  // shielded
    return body;
  }
  static GameObject& PutGroup1(int slot, int behaviour) {
    GameObject& object = Put(slot, kCategoryEnemy, behaviour, 3200.0f, 800.0f);
    object.group = 1;
    return object;
  }
  static int Made(int templateId) {
    int count = 0;
    for (const RecordedCall& call : CallsOf(Call::CreateObject)) count += call.Int(0) == templateId;
    return count;
  }
};

TEST_F(LastBoss, ScriptAJumpsFrom2400To2700AndMarksNextAt3500) {
  GameObject& body = PutBody();
  body.timer = 2399;
  Frames(1);
  EXPECT_EQ(body.timer, 2700);
  int firstMark = 0;
  for (int frame = 0; frame < 1000 && firstMark == 0; ++frame) {
    ClearCallLog();
    Frames(1);
    if (Made(2228) > 0) firstMark = body.timer;
  }
  EXPECT_EQ(firstMark, 3500);
  EXPECT_EQ(BossAimPoint[0], 3000.0f);
}

TEST_F(LastBoss, ShieldBreaksOnTheFirstFrameWithTwoGroup1EnemiesAndScriptBRuns) {
  GameObject& body = PutBody();
  PutGroup1(60, 3102);
  GameObject& orbiter = PutGroup1(61, 3101);
  orbiter.coinDrop = 34;
  Put(62, kCategoryEnemy, 0).group = 2;  // an escort does not hold the shield up
  Frames(2);
  EXPECT_EQ(body.collidable, 0);
  EXPECT_EQ(ObjectPool[60].behaviour, 3102);
  ResetObject(61);
  ClearCallLog();
  Frames(1);
  EXPECT_EQ(body.collidable, 2);
  EXPECT_EQ(body.timer, 2500) << "the core breaks after the body's update";
  EXPECT_EQ(Made(2211), 400);
  EXPECT_EQ(CallsOf(Call::SpawnDeathEffects).size(), 20u);
  EXPECT_NE(ObjectPool[60].behaviour, 3102);
  Frames(1);
  EXPECT_EQ(body.timer, 2501);
  Frames(198);
  EXPECT_EQ(body.work[1], 0.0f);
  Frames(1);
  EXPECT_EQ(body.timer, 2700);
  EXPECT_EQ(body.work[1], 8.0f);
}

TEST_F(LastBoss, OpenBodyMendsByTheLevels) {
  struct Case {
    int shot, turbo, guard, change;
  };
  for (const Case c : {Case{4, 9, 1, 14}, Case{1, 1, 4, -9}}) {
    SetUp();
    GameObject& body = PutBody();
    body.collidable = 2;
    ShotLevel = c.shot;
    TurboLevel = c.turbo;
    GuardHealLevel = c.guard;
    Frames(1);
    EXPECT_EQ(body.hitPoints, 90000 + c.change);
  }
}

TEST_F(LastBoss, StormFires15AFrameAlternatingFrom5036) {
  GameObject& body = PutBody();
  body.collidable = 2;
  body.timer = 5100;
  Frames(1);
  std::vector<int> templates, bases;
  for (const RecordedCall& call : CallsOf(Call::CreateObject)) {
    templates.push_back(call.Int(0));
  }
  ASSERT_EQ(templates.size(), 15u);
  for (std::size_t i = 0; i < templates.size(); ++i) EXPECT_EQ(templates[i], i % 2 == 0 ? 5036 : 5035) << i;
  ScriptRandom(RandomScript::Zero);
  ClearCallLog();
  Frames(1);
  for (const RecordedCall& call : CallsOf(Call::CreateObject)) bases.push_back(call.Int(4));
  EXPECT_EQ(bases, (std::vector<int>{150, 150, 150, 150, 150, 150, 150, 150, 150, 150, 140, 130, 120, 110, 100}));
}

TEST_F(LastBoss, EscortsFireOnlyOutsideThe80PixelBandOnBothAxes) {
  struct Case {
    float dx, dy;
    bool fires;
  };
  for (const Case c : {Case{81, 81, true}, Case{80, 500, false}, Case{500, 80, false}, Case{-81, -81, true}}) {
    for (int behaviour : {3099, 3100}) {
      SetUp();
      PutBody().work[1] = 2.0f;  // a 5031 every frame
      ObjectPool[10].collidable = 1;  // neither script's events nor attacks
      GameObject& escort = Put(60, kCategoryEnemy, behaviour, 3000.0f + c.dx, 900.0f + c.dy);
      escort.timer = 10;
      Frames(1);
      EXPECT_EQ(Made(5031), c.fires ? 1 : 0) << behaviour << " " << c.dx << "," << c.dy;
      EXPECT_EQ(Made(2227), 1);
    }
  }
}

TEST_F(LastBoss, OrbiterTimesOutAt7350AndTheBodyAt16290) {
  PutBody();
  GameObject& orbiter = PutGroup1(60, 3103);
  orbiter.workInt = 7349 - 1;
  orbiter.coinDrop = 0;  // 34 lost by 34 x 210 = 7140
  Frames(1);
  EXPECT_EQ(orbiter.behaviour, 3103);
  EXPECT_EQ(CountEnemiesInGroup1(), 1 + 1);
  Frames(1);  // 7350 = 35 x 210
  EXPECT_EQ(orbiter.behaviour, 4059);
  EXPECT_EQ(CountEnemiesInGroup1(), 1);
  SetUp();
  GameObject& body = PutBody();
  body.workInt = 16289;  // 180 coins last 181 x 90 frames
  body.coinDrop = 0;
  ClearCallLog();
  Frames(1);
  ASSERT_EQ(CallsOf(Call::SpawnDeathEffects).size(), 1u);
  EXPECT_EQ(body.state, kStateFree);
}

}  // namespace
