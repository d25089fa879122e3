// The edge cases of the player shots, enemy bullets and free effects.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "behaviour_fixture.h"

namespace {

using BehaviourEdges = BehaviourTest;

std::vector<int> Maxima(const std::vector<RecordedCall>& draws) {
  std::vector<int> maxima;
  for (const RecordedCall& draw : draws) maxima.push_back(draw.Int(0));
  return maxima;
}

TEST_F(BehaviourEdges, CloudClackDriftsBackStopsAndSpeedsAwayWithATrailAFrame) {
  GameObject& shot = Put(60, kCategoryPlayerShot, 4018, 500.0f, 400.0f);
  shot.vx = -3.0f;
  std::vector<float> steps;
  for (int frame = 0; frame < 5; ++frame) {
    const float x = shot.x;
    Frames(1);
    steps.push_back(shot.x - x);
  }
  EXPECT_EQ(steps, std::vector<float>({-2, -1, 0, 1, 2}));
  const std::vector<RecordedCall> trails = CallsOf(Call::CreateObject);
  ASSERT_EQ(trails.size(), 5u);
  EXPECT_EQ(trails[4].Int(0), 2027);
  EXPECT_EQ(trails[4].Int(1), 500 - 2 - 1 + 1 + 2);
}

TEST_F(BehaviourEdges, BeamDamageDecaysShrinksAndNeverHeals) {
  GameObject& gold = Put(60, kCategoryPlayerShot, 4054);
  GameObject& variant = Put(61, kCategoryPlayerShot, 4055);
  gold.attackPower = variant.attackPower = 100;
  for (int frame = 1; frame <= 60; ++frame) {
    Frames(1);
    EXPECT_EQ(gold.attackPower, frame <= 20 ? 100 - 2 * frame : 20) << frame;
    EXPECT_EQ(variant.attackPower, std::max(20, 100 - 2 * frame)) << frame;
  }
  GameObject& beam = Put(62, kCategoryPlayerShot, 4022);
  beam.phase = 0.07f;
  beam.attackPower = 80;
  float scale = 0.0f;
  for (int frame = 1; beam.state == kStateActive; ++frame) {
    scale = static_cast<float>(scale - static_cast<double>(0.07f));
    Frames(1);
    EXPECT_EQ(beam.state == kStateFree, scale < -0.9) << frame;
    EXPECT_EQ(beam.attackPower, std::max(0, 80 - 8 * frame)) << frame;
  }
}

TEST_F(BehaviourEdges, WispErasesOverlappingBulletsOnlyAndPaysEvery500) {
  GameObject& shot = Put(80, kCategoryPlayerShot, 4093, 500.0f, 500.0f);  // after the bullets
  shot.hitWidth = shot.hitHeight = 101;                                   // halves to 50
  const float xs[] = {600.0f, 599.0f, 401.0f, 500.0f, 400.0f};            // touching, in, in, in, touching
  for (int i = 0; i < 5; ++i) {
    GameObject& bullet = Put(70 + i, kCategoryEnemyBullet, 4063, xs[i], 500.0f);
    bullet.hitWidth = bullet.hitHeight = 100;
    bullet.vy = 1.0f;
    bullet.timer = 100;
  }
  WispEraseCount = 498;
  Frames(1);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(ObjectPool[70 + i].behaviour, i == 0 || i == 4 ? 4063 : 4059) << i;
  EXPECT_EQ(ObjectPool[71].animation, 322);
  EXPECT_EQ(ObjectPool[71].vy, 0.0f);
  EXPECT_EQ(WispEraseCount, 1);
  EXPECT_EQ(InfoBonus, 31200);
}

TEST_F(BehaviourEdges, BulletsAgeByTheirDistanceFromTheCameraAndHomeAsTold) {
  GameObject& near = Put(60, kCategoryEnemyBullet, 4063, 500.0f, 400.0f);
  GameObject& far = Put(61, kCategoryEnemyBullet, 4063, 4500.0f, 400.0f);
  near.timer = far.timer = 300;
  for (int frame = 1; frame <= 301; ++frame) {
    Frames(1);
    EXPECT_EQ(far.animation == 117, frame >= 61) << frame;
    EXPECT_EQ(near.animation == 117, frame >= 301) << frame;
  }
  // 4169 waits unseen while the boss's word is set.
  ObjectPool[10].work[1] = 1.0f;
  GameObject& waiting = Put(62, kCategoryEnemyBullet, 4169, 300.0f, 300.0f);
  waiting.collidable = 0;
  waiting.timer = 1000;
  waiting.work[0] = 3.0f;
  Frames(5);
  EXPECT_EQ(waiting.x, 300.0f);
  EXPECT_EQ(waiting.timer, 1000);
  ObjectPool[10].work[1] = 0.0f;
  Frames(1);
  EXPECT_EQ(waiting.collidable, 1);
  EXPECT_EQ(waiting.animation, 400);
  EXPECT_EQ(waiting.timer, 999);
  EXPECT_NE(waiting.x, 300.0f);
  // 4082 flies straight from age 1400.
  GameObject& large = Put(63, kCategoryEnemyBullet, 4082, 200.0f, 900.0f);
  large.timer = 1398;
  large.vx = 0.1f;
  large.vy = 5.0f;
  Frames(1);
  const float vx = large.vx, vy = large.vy;
  EXPECT_NE(vx, 0.1f);
  Frames(3);
  EXPECT_EQ(large.vx, vx);
  EXPECT_EQ(large.vy, vy);
}

TEST_F(BehaviourEdges, EffectsFadeFlickerAndEndOnTheirFrame) {
  GameObject& flash = Put(60, kCategoryEffect, 4061);
  GameObject& flicker = Put(61, kCategoryEffect, 4050);
  std::vector<float> changes;
  for (int frame = 1; frame <= 8; ++frame) {
    const float fade = flicker.fade;
    Frames(1);
    changes.push_back(flicker.fade - fade);
    EXPECT_EQ(flash.state, frame < 9 ? kStateActive : kStateFree);
  }
  Frames(1);
  EXPECT_EQ(flash.state, kStateFree);
  EXPECT_EQ(changes, std::vector<float>({201, 1, -199, 1, 201, 1, -199, 1}));
  GameObject& scenery = Put(62, kCategoryEffect, 4058);
  Frames(1);
  EXPECT_EQ(scenery.fade, 150.0f);
  TimelineHalt = 3.0f;
  Frames(1);
  EXPECT_EQ(scenery.state, kStateFree);
  GameObject& smoke = Put(63, kCategoryEffect, 4059);
  smoke.phase = 500.0f;
  Frames(1);
  EXPECT_EQ(smoke.state, kStateFree);
}

TEST_F(BehaviourEdges, RandomEffectsDrawTheirNumbersInOrderEveryFrame) {
  struct Case {
    int behaviour;
    float phase;
    std::vector<int> maxima;
  };
  const Case cases[] = {{4058, 0.0f, {10}},        {4059, 0.0f, {4, 4, 4}},     {4059, 200.0f, {4, 4, 4}},
                        {4060, 0.0f, {46, 40, 4}}, {4060, 200.0f, {46, 40, 3}}, {4079, 100.0f, {}}};
  for (const Case& c : cases) {
    Put(60, kCategoryEffect, c.behaviour).phase = c.phase;
    ClearCallLog();
    Frames(1);
    EXPECT_EQ(Maxima(CallsOf(Call::RandomInRange)), c.maxima) << c.behaviour;
  }
  Frames(2);
  ClearCallLog();
  Frames(1);  // 4079's fourth frame
  EXPECT_EQ(Maxima(CallsOf(Call::RandomInRange)), std::vector<int>({5, 128, 128}));
}

}  // namespace
