// The giant stage 8 body and its core, and the last boss with its ensemble.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>
#include <vector>

#include "../support/seeded_floats.h"
#include "behaviour_fixture.h"
#include "core/game_state.h"
#include "core/object_pool.h"

namespace {

class FinalBosses : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    SetForwarding(Call::SpawnDeathEffects, false);
    SetForwarding(Call::PlaySe, false);
    SetForwarding(Call::RequestSlowdown, false);
    ObjectPool[0].x = 3000.0f;
    ObjectPool[0].y = 900.0f;
  }
  static GameObject& PutBoss(int behaviour) {
    GameObject& body = Put(10, kCategoryEnemy, behaviour, 3200.0f, 800.0f);
    body.hitPoints = 90000;
    body.coinDrop = 180;
    body.group = 1;
    body.collidable = 0;
    return body;
  }
  static int Made(int templateId) {
    int count = 0;
    for (const RecordedCall& call : CallsOf(Call::CreateObject)) count += call.Int(0) == templateId;
    return count;
  }
};

TEST_F(FinalBosses, BodyCallsTheCompositeAfter867FramesAndShakesFrom200) {
  GameObject& body = PutBoss(3097);
  body.fade = 260.0f;
  int calledOn = 0;
  for (int frame = 1; frame <= 900; ++frame, ClearCallLog()) {
    Frames(1);
    if (Made(1097) > 0) calledOn = frame;
  }
  EXPECT_EQ(calledOn, 867);  // 260 - 0.3 a frame in f32 steps reaches 0 or below there
  body.work[0] = 200.0f;
  ScriptRandom(RandomScript::Listed, {6, 6});  // no sideways jitter
  const float y0 = body.y;
  Frames(1);
  const float y1 = body.y;
  EXPECT_NEAR(y1 - y0, 200.0 / 6 + 3 + std::sin(body.phase) * 1.2, 1e-3);  // shake and slow wave
  Frames(1);
  EXPECT_NEAR(body.y - y1, -(199.0 / 6 + 3) + std::sin(body.phase) * 1.2, 1e-3);
  EXPECT_EQ(body.work[0], 198.0f);
}

TEST_F(FinalBosses, CoreCancelsBulletsFor300FramesThenChangesAndWaitsOutOfRange) {
  PutBoss(3097).fade = -1.0f;
  GameObject& core = Put(60, kCategoryEnemy, 3096);
  core.hitPoints = 60000;
  core.deathEffect = 1;
  for (int frame = 1; frame <= 300; ++frame) {
    Put(70, kCategoryEnemyBullet, 4063).timer = 1000;
    Frames(1);
    EXPECT_EQ(ObjectPool[70].behaviour == 4063, frame >= 300) << frame;
  }
  core.hitPoints = 47999;
  ClearCallLog();
  Frames(1);
  EXPECT_EQ(CallsOf(Call::SpawnDeathEffects).size(), 30u);
  EXPECT_EQ(core.deathEffect, 12);
  EXPECT_EQ(core.timer, 1) << "the second phase runs in the frame of the change";
  ObjectPool[0].x = core.x + 1600.0f;
  Frames(5);
  EXPECT_EQ(core.timer, 1) << "out of range the timer stands";
}

TEST_F(FinalBosses, ClosingRepeatsUntilTheWhiteFadePasses280ThenEndsTheBody) {
  GameObject& body = PutBoss(3097);
  body.work[1] = 1.0f;
  body.work[2] = 1.0f;
  Put(80, kCategoryEnemy, 3086).state = kStateDelayed;
  RecordDrawing(true);
  FlashFade = 280;
  Frames(1);
  EXPECT_EQ(CallsOf(Call::SpawnDeathEffects).size(), 2u);
  ASSERT_EQ(CallsOf(Call::SetBlendMode).size(), 1u);
  EXPECT_EQ(CallsOf(Call::SetBlendMode)[0].Int(1), 100);
  EXPECT_EQ(CallsOf(Call::DrawRect).size(), 1u);
  FlashFade = 282;
  Frames(1);
  RecordDrawing(false);
  EXPECT_EQ(body.state, kStateFree);
  EXPECT_EQ(EndBackdropPhase, 3);
  EXPECT_EQ(Made(2225), 1);
  EXPECT_EQ(ObjectPool[80].behaviour, 4059) << "a waiting enemy is cancelled too";
}

TEST_F(FinalBosses, LastBossScriptsShieldBreakAndMending) {
  GameObject& body = PutBoss(3098);
  body.timer = 2399;
  Frames(1);
  EXPECT_EQ(body.timer, 2700);
  while (Made(2228) == 0) Frames(1);
  EXPECT_EQ(body.timer, 3500);
  SetUp();
  GameObject& boss = PutBoss(3098);
  Put(60, kCategoryEnemy, 3102).group = 1;
  Put(61, kCategoryEnemy, 3101).group = 1;
  Put(62, kCategoryEnemy, 0).group = 2;  // an escort does not hold the shield up
  Frames(2);
  EXPECT_EQ(boss.collidable, 0);
  ResetObject(61);
  Frames(1);
  EXPECT_EQ(boss.collidable, 2);
  EXPECT_EQ(Made(2211), 400);
  Frames(200);
  EXPECT_EQ(boss.timer, 2700);
  EXPECT_EQ(boss.work[1], 8.0f);
  for (const auto& [levels, change] : {std::pair{std::array{4, 9, 1}, 14}, {std::array{1, 1, 4}, -9}}) {
    SetUp();
    GameObject& open = PutBoss(3098);
    open.collidable = 2;
    ShotLevel = levels[0];
    TurboLevel = levels[1];
    GuardHealLevel = levels[2];
    Frames(1);
    EXPECT_EQ(open.hitPoints, 90000 + change);
  }
}

TEST_F(FinalBosses, StormEscortBandAndTimeOuts) {
  GameObject& body = PutBoss(3098);
  body.collidable = 2;
  body.timer = 5100;
  ScriptRandom(RandomScript::Zero);
  Frames(1);
  std::vector<int> storm;
  for (const RecordedCall& call : CallsOf(Call::CreateObject)) storm.push_back(call.Int(0) * 1000 + call.Int(4));
  EXPECT_EQ(storm, (std::vector<int>{5036150, 5035150, 5036150, 5035150, 5036150, 5035150, 5036150, 5035150,
                                     5036150, 5035150, 5036140, 5035130, 5036120, 5035110, 5036100}));
  struct Case {
    float dx, dy;
    int fires;
  };
  for (const Case c : {Case{81, 81, 1}, Case{80, 500, 0}, Case{500, 80, 0}}) {
    SetUp();
    PutBoss(3098).work[1] = 2.0f;  // a 5031 every frame
    Put(60, kCategoryEnemy, 3100, 3000.0f + c.dx, 900.0f + c.dy);
    Frames(1);
    EXPECT_EQ(Made(5031), c.fires) << c.dx << "," << c.dy;
  }
  SetUp();
  GameObject& boss = PutBoss(3098);
  boss.workInt = 16289;  // 180 coins last 181 x 90 frames
  boss.coinDrop = 0;
  GameObject& orbiter = Put(60, kCategoryEnemy, 3103);
  orbiter.group = 1;
  orbiter.workInt = 7349;  // 34 coins last 35 x 210 frames
  Frames(1);
  EXPECT_EQ(boss.state, kStateFree);
  EXPECT_EQ(orbiter.behaviour, 4059);
  EXPECT_EQ(CountEnemiesInGroup1(), 0);
}

// Orbiters and the escorts' band over a few hundred positions, against the rounding
// of the movement rules: a float sine or cosine, the rest in double, stored once; the
// band's edges in double.
TEST_F(FinalBosses, OrbitersAndTheEscortBandRoundAsWritten) {
  SeededFloats uniform;
  for (int i = 0; i < 300; ++i) {
    SetUp();
    GameObject& body = Put(10, kCategoryEffect, 0, uniform(2000.0f, 4000.0f), uniform(500.0f, 1000.0f));
    GameObject& orbiter = Put(60, kCategoryEnemy, i % 2 == 0 ? 3101 : 3103);
    orbiter.coinDrop = 34;
    orbiter.phase = uniform(0.0f, 100.0f), orbiter.phase2 = uniform(0.0f, 1400.0f), orbiter.work[0] = uniform(0.0f, 600.0f);
    const float phase = static_cast<float>(orbiter.phase + 0.012);
    const float x = static_cast<float>(static_cast<double>(body.x) + static_cast<double>(std::sin(phase)) * orbiter.phase2);
    const float y = static_cast<float>(static_cast<double>(body.y) + static_cast<double>(std::cos(phase)) * orbiter.work[0]);
    Frames(1);
    ASSERT_EQ(std::tuple(orbiter.x, orbiter.y), std::tuple(x, y)) << i;
  }
  // P + 80 is rounded in float just above 4096 (x) and 1024 (y); the escort stands on
  // the float next to the edge on either side, on one axis, far off on the other.
  for (int i = 0; i < 300; ++i) {
    SetUp();
    const bool across = i % 2 == 0;
    const float p = across ? uniform(4016.0f, 4096.0f) : uniform(944.0f, 1024.0f);
    const float edge = static_cast<float>(p + 80.0);
    const float at = i % 3 == 0 ? edge : std::nextafter(edge, i % 3 == 1 ? 0.0f : 9000.0f);
    Player().x = across ? p : 3000.0f;
    Player().y = across ? 900.0f : p;
    Put(10, kCategoryEffect, 0, 3000.0f, 800.0f).work[1] = 2.0f;  // a 5031 every frame
    const float ex = across ? at : 3500.0f, ey = across ? 400.0f : at;
    Put(60, kCategoryEnemy, 3100, ex, ey);
    const auto outside = [](double e, double q) { return e < q - 80.0 || e > q + 80.0; };
    const bool fires = outside(ex, Player().x) && outside(ey, Player().y);
    Frames(1);
    ASSERT_EQ(Made(5031), fires ? 1 : 0) << i << " " << p << " " << at;
  }
}

}  // namespace
