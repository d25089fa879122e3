// Player-attached effects, scene effects and scenery: end frames worked out from the
// effects' own steps, halts, the halo, the score bubble and the hit-level label.
#include <gtest/gtest.h>

#include <tuple>

#include "behaviour_fixture.h"

namespace {

using Effects = BehaviourTest;

TEST_F(Effects, EachEndsOnTheFrameItsStepsReachItsEndTest) {
  // behaviour, starting fade, frame freed (worked out from the steps and the end test)
  const std::tuple<int, float, int> cases[] = {
      {4008, 0, 90 + 250},   // fades from frame 91 by 1, freed when fade is exactly 250
      {4011, 250, 260 + 1},  // down 129 frames, still at 130, up 129, still at 260, freed past it
      {4075, 260, 28 + 28},  // -25 to -440 in 28, turns that frame, +25 until past 270
      {4076, 0, 8 + 23},     // -13 to -104 in 8, turns, +13 until past 200
      {4015, 0, 25}, {4020, 0, 25}, {4062, 0, 511}, {4074, 0, 53},  // +10 past 240, +0.5 past 255, +5 past 260
      {4057, 0, 401}, {4085, 0, 401},                               // phase past 400
      {4092, 0, 4}, {4116, 0, 9}, {4125, 0, 13},                    // +80 past 240, +30 and +20 past 255
  };
  for (const auto& [behaviour, fade, freedOn] : cases) {
    Put(60, kCategoryEffect, behaviour).fade = fade;
    EXPECT_EQ(FramesUntilFreed(ObjectPool[60], 1000), freedOn) << behaviour;
  }
}

TEST_F(Effects, PinnedEffectsKeepToThePlayerOrTheirTargetAndTheTurboRingToTheCharge) {
  Put(60, kCategoryEffect, 4020, 300.0f, 0.0f).phase2 = 12.0f;
  Put(61, kCategoryEffect, 4085).work[0] = 62.0f;
  Put(62, kCategoryEnemy, 0, 700.0f, 800.0f);
  Put(63, kCategoryEffect, 4111, 10.0f, 20.0f).work[0] = 9000.0f;  // outside the pool: stays
  GameObject& ring = Put(kTurboReadySlot, kCategoryEffect, 4073);
  TurboChargeNeeded = TurboCharge = 100;
  Frames(1);
  const GameObject* pool = ObjectPool;
  EXPECT_EQ(std::tuple(pool[60].x, pool[60].y, pool[61].x, pool[61].y, pool[63].x, pool[63].y, ring.x),
            std::tuple(300.0f, Player().y + 12.0f, 700.0f, 800.0f, 10.0f, 20.0f, Player().x));
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
    EXPECT_EQ(FramesUntilFreed(piece, 1), 1);
  }
  TimelineHalt = 0.0f;
  EXPECT_EQ(FramesUntilFreed(Put(60, kCategoryEffect, 4091, -501.0f, 0.0f), 1), 1);
  EXPECT_EQ(FramesUntilFreed(Put(60, kCategoryEffect, 4117, -0.5f, 300.0f), 1), 1);
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
  // behaviour, lower and upper bound of the pulse
  const std::tuple<int, float, float> rings[] = {{4140, 0, 400},   {4141, 0, 400},  {4142, -50, 300},
                                                 {4143, -50, 300}, {4144, 50, 300}, {4145, 50, 300}};
  for (int i = 0; i < 6; ++i) Put(60 + i, kCategoryDecoration, std::get<0>(rings[i])).fade = 100.0f;
  for (int frame = 0; frame < 3000; ++frame) {
    Frames(1);
    for (int i = 0; i < 6; ++i) {
      const auto& [behaviour, lower, upper] = rings[i];
      const GameObject& ring = ObjectPool[60 + i];
      ASSERT_TRUE(ring.state == kStateActive && ring.x == 2000.0f) << behaviour;
      ASSERT_TRUE(ring.fade >= lower - 1.0f && ring.fade <= upper + 1.0f) << behaviour << " " << ring.fade;
    }
  }
}

TEST_F(Effects, ScoreBubblePays1000OnceAndTheLabelClearsItsFlag) {
  ScriptRandom(RandomScript::Zero);
  const float score = Score;
  EXPECT_EQ(FramesUntilFreed(Put(60, kCategoryEffect, 4094), 400), 191);
  EXPECT_EQ(std::tuple(Score - score, InfoBonus, CallsOf(Call::CreateObject).size()), std::tuple(1000.0f, 1000, 191u));
  GameObject& label = Put(61, kCategoryEffect, 4095);
  Frames(1);
  EXPECT_EQ(std::tuple(HitLevelLabel[0], HitLevelLabel[1]), std::tuple(1, static_cast<int>(Player().x) - 90));
  // Down by 2 past -120 in 61 frames, turning that frame, up by 2 past 255 in 188 more.
  EXPECT_EQ(FramesUntilFreed(label, 400) + 1, 61 + 188);
  EXPECT_EQ(HitLevelLabel[0], 0);
}

}  // namespace
