// The giant stage 8 body and its core: the fade-in and the composite's call, the
// shake, the core's two phases and the closing white-out.
#include <gtest/gtest.h>

#include <vector>

#include "behaviour_fixture.h"
#include "core/game_state.h"

namespace {

class BodyAndCore : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    SetForwarding(Call::SpawnDeathEffects, false);
    SetForwarding(Call::PlaySe, false);
    SetForwarding(Call::RequestSlowdown, false);
    ObjectPool[0].x = 3000.0f;
    ObjectPool[0].y = 800.0f;
  }
  static GameObject& PutBody() {
    GameObject& body = Put(10, kCategoryEnemy, 3097, 3000.0f, 800.0f);
    body.fade = 260.0f;
    body.coinDrop = 999;
    body.deathEffect = 1;
    return body;
  }
  static GameObject& PutCore() {
    GameObject& core = Put(60, kCategoryEnemy, 3096, 3025.0f, 805.0f);
    core.phase = 25.0f;
    core.phase2 = 5.0f;
    core.hitPoints = 60000;
    core.deathEffect = 1;
    core.width = 480;
    core.height = 960;
    return core;
  }
  static int Count(Call kind, int first = -1) {
    int count = 0;
    for (const RecordedCall& call : CallsOf(kind)) count += first < 0 || call.Int(0) == first;
    return count;
  }
};

TEST_F(BodyAndCore, BodyCallsTheCompositeOnceWhenFadedInAfter867Frames) {
  GameObject& body = PutBody();
  // 260 - 0.3 per frame in f32 steps: the first value at or below 0.
  float fade = 260.0f;
  int expectedFrame = 0;
  while (fade > 0.0f) {
    fade = static_cast<float>(fade - 0.3);
    ++expectedFrame;
  }
  EXPECT_EQ(expectedFrame, 867);
  int calledOn = 0;
  for (int frame = 1; frame <= 900; ++frame) {
    ClearCallLog();
    Frames(1);
    if (Count(Call::CreateObject, 1097) > 0) {
      EXPECT_EQ(calledOn, 0) << "called once";
      calledOn = frame;
      EXPECT_EQ(ScreenFlash, 255.0f);
    }
  }
  EXPECT_EQ(calledOn, 867);
  EXPECT_EQ(body.work[1], 1.0f);
}

TEST_F(BodyAndCore, ShakeFrom200AlternatesByAThirdOfTheAmountPlus3) {
  GameObject& body = PutBody();
  body.fade = -1.0f;
  body.work[1] = 1.0f;
  body.work[0] = 200.0f;
  ScriptRandom(RandomScript::Listed, {6, 6});  // no sideways jitter
  const float y0 = body.y;
  Frames(1);
  const float y1 = body.y;
  Frames(1);
  // The slow wave adds sin(0.01) x 1.2 and sin(0.02) x 1.2.
  EXPECT_NEAR(y1 - y0, 200.0 / 6 + 3 + 0.012, 1e-3);
  EXPECT_NEAR(body.y - y1, -(199.0 / 6 + 3) + 0.024, 1e-3);
  EXPECT_EQ(body.work[0], 198.0f);
}

TEST_F(BodyAndCore, CoreCancelsBulletsFor300FramesThenChangesBelow48000) {
  PutBody().fade = -1.0f;
  GameObject& core = PutCore();
  for (int frame = 1; frame <= 300; ++frame) {
    GameObject& bullet = Put(70, kCategoryEnemyBullet, 4063, 500.0f, 400.0f);
    bullet.timer = 1000;
    Frames(1);
    EXPECT_EQ(bullet.behaviour == 4063, frame >= 300) << frame;
  }
  EXPECT_EQ(core.x, ObjectPool[10].x + 25.0f);
  core.hitPoints = 47999;
  ClearCallLog();
  Frames(1);
  EXPECT_EQ(Count(Call::SpawnDeathEffects), 30);
  EXPECT_EQ(core.deathEffect, 12);
  EXPECT_EQ(core.work[0], 1.0f);
  EXPECT_EQ(core.timer, 1) << "the second phase runs in the frame of the change";
  EXPECT_EQ(core.imageSet, 52);
  ObjectPool[0].x = core.x + 1600.0f;
  Frames(5);
  EXPECT_EQ(core.timer, 1) << "out of range the timer stands";
}

TEST_F(BodyAndCore, CoreSecondPhaseFiresTriplesAndRisingRings) {
  PutBody().fade = -1.0f;
  GameObject& core = PutCore();
  core.work[0] = 1.0f;
  std::vector<int> rings;
  int triples = 0;
  for (int frame = 1; frame <= 240; ++frame) {
    ClearCallLog();
    Frames(1);
    for (const RecordedCall& call : CallsOf(Call::CreateObject)) {
      if (call.Int(0) == 5012) rings.push_back(call.Int(4));
      triples += call.Int(0) == 5014 && call.Int(4) == 80;
    }
    if (frame == 82) {
      EXPECT_EQ(Count(Call::RequestSlowdown), 1);
    }
  }
  std::vector<int> expected;
  for (int p = 12; p <= 60; p += 3) expected.push_back(p);
  EXPECT_EQ(rings, expected);
  EXPECT_EQ(triples, 66);
  EXPECT_EQ(core.timer, 0);
}

TEST_F(BodyAndCore, ClosingRepeatsUntilTheWhiteFadePasses280ThenEndsTheBody) {
  GameObject& body = PutBody();
  body.fade = -1.0f;
  body.work[1] = 1.0f;
  body.work[2] = 1.0f;
  Put(80, kCategoryEnemy, 3086).state = kStateDelayed;
  RecordDrawing(true);
  FlashFade = 280;
  Frames(1);
  EXPECT_EQ(Count(Call::SpawnDeathEffects, 10), 2);
  ASSERT_EQ(CallsOf(Call::SetBlendMode).size(), 1u);
  EXPECT_EQ(CallsOf(Call::SetBlendMode)[0].Int(1), 100);
  ASSERT_EQ(CallsOf(Call::DrawRect).size(), 1u);
  EXPECT_EQ(CallsOf(Call::DrawRect)[0].Int(2), 1024);
  EXPECT_EQ(body.state, kStateActive);
  FlashFade = 282;
  ClearCallLog();
  Frames(1);
  EXPECT_EQ(ObjectPool[10].state, kStateFree);
  EXPECT_EQ(EndBackdropPhase, 3);
  EXPECT_EQ(EndFadeTimer, 280);
  EXPECT_EQ(FlashFade, 0);
  EXPECT_EQ(Count(Call::CreateObject, 2225), 1);
  EXPECT_NE(ObjectPool[80].behaviour, 3086) << "a waiting enemy is cancelled too";
  RecordDrawing(false);
}

}  // namespace
