// Player-attached effects, scene effects and scenery: end frames worked out from the
// effects' own steps, halts, the halo, the score bubble and the hit-level label.
#include <gtest/gtest.h>

#include "behaviour_fixture.h"

namespace {

using Effects = BehaviourTest;

TEST_F(Effects, EachEndsOnTheFrameItsStepsReachItsEndTest) {
  struct Case {
    int behaviour;
    float fade;
    int freedOn;  // worked out from the steps and the end test
  };
  const Case cases[] = {
      {4008, 0.0f, 90 + 250},        // fades from frame 91 by 1, freed when fade is exactly 250
      {4011, 250.0f, 260 + 1},       // down 129 frames, still at 130, up 129, still at 260, freed past it
      {4075, 260.0f, 28 + 28},       // -25 to -440 in 28, turns that frame, +25 until past 270
      {4076, 0.0f, 8 + 23},          // -13 to -104 in 8, turns, +13 until past 200
      {4015, 0.0f, 25},              // +10 until past 240
      {4020, 0.0f, 25},
      {4062, 0.0f, 511},             // +0.5 until past 255
      {4074, 0.0f, 53},              // +5 until past 260
      {4057, 0.0f, 401},             // phase past 400
      {4092, 0.0f, 4},               // +80 until past 240
      {4116, 0.0f, 9},               // +30 until past 255
      {4125, 0.0f, 13},              // +20 until past 255
      {4085, 0.0f, 401},
  };
  for (const Case& c : cases) {
    GameObject& effect = Put(60, kCategoryEffect, c.behaviour);
    effect.fade = c.fade;
    EXPECT_EQ(FramesUntilFreed(effect, 1000), c.freedOn) << c.behaviour;
  }
}

TEST_F(Effects, PinnedEffectsKeepToThePlayerOrTheirTarget) {
  GameObject& trail = Put(60, kCategoryEffect, 4020, 300.0f, 0.0f);
  trail.phase2 = 12.0f;
  GameObject& glow = Put(61, kCategoryEffect, 4085);
  glow.work[0] = 62.0f;
  Put(62, kCategoryEnemy, 0, 700.0f, 800.0f);
  GameObject& lost = Put(63, kCategoryEffect, 4111, 10.0f, 20.0f);
  lost.work[0] = 9000.0f;  // outside the pool: stays where it is
  Frames(1);
  EXPECT_EQ(trail.x, 300.0f);
  EXPECT_EQ(trail.y, Player().y + 12.0f);
  EXPECT_EQ(glow.x, 700.0f);
  EXPECT_EQ(glow.y, 800.0f);
  EXPECT_EQ(lost.x, 10.0f);
  EXPECT_EQ(lost.y, 20.0f);
}

TEST_F(Effects, TurboRingGoesTheFrameTheChargeDrops) {
  GameObject& ring = Put(kTurboReadySlot, kCategoryEffect, 4073);
  TurboChargeNeeded = 100;
  TurboCharge = 100;
  Frames(5);
  EXPECT_EQ(ring.state, kStateActive);
  EXPECT_EQ(ring.x, Player().x);
  TurboCharge = 0;
  Frames(1);
  EXPECT_EQ(ring.state, kStateFree);
}

TEST_F(Effects, SceneryFadesByTheEmblemWhileHaltedAndGoesAtThree) {
  for (const float emblem : {0.0f, 0.5f}) {
    ShopEmblem[2] = emblem;
    TimelineHalt = 1.0f;
    GameObject& piece = Put(60, kCategoryEffect, 4087, -400.0f, 100.0f);  // outside the world, kept
    Frames(2);
    EXPECT_EQ(piece.fade, 2 * 450.0f * emblem);
    TimelineHalt = 3.0f;
    Frames(1);
    EXPECT_EQ(piece.state, kStateFree);
  }
  TimelineHalt = 0.0f;
  EXPECT_EQ(FramesUntilFreed(Put(60, kCategoryEffect, 4091, -501.0f, 0.0f), 1), 1);
  EXPECT_EQ(FramesUntilFreed(Put(60, kCategoryEffect, 4117, -0.5f, 300.0f), 1), 1);
}

TEST_F(Effects, FlakesFadeTenMoreOnlyAtHaltNine) {
  ScriptRandom(RandomScript::Zero);
  for (const float halt : {8.0f, 9.0f, 10.0f}) {
    TimelineHalt = halt;
    GameObject& flake = Put(60, kCategoryEffect, 4119);
    Frames(1);
    EXPECT_EQ(flake.fade, halt == 9.0f ? 10.0f : 0.0f) << halt;
  }
}

TEST_F(Effects, HaloPulsesBetweenItsBoundsOnTheBossForGood) {
  Put(10, kCategoryEnemy, 0, 2000.0f, 900.0f);
  struct Ring {
    int behaviour;
    float lower, upper;  // the pulse's bounds
  };
  const Ring rings[] = {{4140, 0, 400}, {4141, 0, 400}, {4142, -50, 300},
                        {4143, -50, 300}, {4144, 50, 300}, {4145, 50, 300}};
  for (int i = 0; i < 6; ++i) Put(60 + i, kCategoryDecoration, rings[i].behaviour).fade = 100.0f;
  for (int frame = 0; frame < 3000; ++frame) {
    Frames(1);
    for (int i = 0; i < 6; ++i) {
      const GameObject& ring = ObjectPool[60 + i];
      ASSERT_EQ(ring.state, kStateActive);
      ASSERT_GE(ring.fade, rings[i].lower - 1.0f) << rings[i].behaviour;
      ASSERT_LE(ring.fade, rings[i].upper + 1.0f) << rings[i].behaviour;
      ASSERT_EQ(ring.x, 2000.0f);
    }
  }
}

TEST_F(Effects, ScoreBubblePays1000OnceAndTheLabelClearsItsFlag) {
  ScriptRandom(RandomScript::Zero);
  const float score = Score;
  GameObject& bubble = Put(60, kCategoryEffect, 4094);
  EXPECT_EQ(FramesUntilFreed(bubble, 400), 191);
  EXPECT_EQ(Score, score + 1000.0f);
  EXPECT_EQ(InfoBonus, 1000);
  EXPECT_EQ(CallsOf(Call::CreateObject).size(), 191u);

  GameObject& label = Put(61, kCategoryEffect, 4095);
  Frames(1);
  EXPECT_EQ(HitLevelLabel[0], 1);
  EXPECT_EQ(HitLevelLabel[1], static_cast<int>(Player().x) - 90);
  // Down by 2 past -120 in 61 frames, turning that frame, up by 2 past 255 in 188 more.
  EXPECT_EQ(FramesUntilFreed(label, 400) + 1, 61 + 188);
  EXPECT_EQ(HitLevelLabel[0], 0);
}

}  // namespace
