// The stage 6 trio, the stage 7 boss and the stage 7 and 8 movers, frame by frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "behaviour_fixture.h"
#include "core/game_state.h"

namespace {

class Stage6And7Bosses : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    SetForwarding(Call::SpawnDeathEffects, false);
    SetForwarding(Call::PlaySe, false);
  }
  static std::vector<int> Parameters(int templateId) {
    std::vector<int> made;
    for (const RecordedCall& call : CallsOf(Call::CreateObject))
      if (call.Int(0) == templateId) made.push_back(call.Int(4));
    return made;
  }
  static GameObject& PutTrio(int behaviour) {
    GameObject& boss = Put(60, kCategoryEnemy, behaviour, 3000.0f, 900.0f);
    boss.hitPoints = 17600;
    boss.deathEffect = 1;
    return boss;
  }
};

// The six aimed streams: strict windows (after, before) of the volley counter, speed.
struct Window {
  int after, before, speed;
};
constexpr Window kWindows[] = {{240, 260, 5}, {250, 270, 6}, {260, 280, 7}, {440, 460, 7}, {450, 470, 8}, {460, 480, 9}};

TEST_F(Stage6And7Bosses, TrioVolleysKeepTheir481FrameCycleThroughThePhaseChange) {
  for (int behaviour : {3064, 3065, 3066}) {
    SetUp();
    GameObject& boss = PutTrio(behaviour);
    for (int frame = 1; frame <= 2 * 481; ++frame) {
      if (frame == 300) boss.hitPoints = 10999;
      ClearCallLog();
      Frames(1);
      const int p = (frame - 1) % 481 + 1;
      std::vector<int> expected;
      for (const Window& w : kWindows)
        if (p > w.after && p < w.before) expected.push_back(w.speed);
      ASSERT_EQ(Parameters(5019), expected) << behaviour << " frame " << frame;
    }
  }
}

TEST_F(Stage6And7Bosses, TrioAimsOnFrame20AndBurstsBelow11000IntoItsSecondPhase) {
  for (int behaviour : {3064, 3065, 3066}) {
    SetUp();
    GameObject& boss = PutTrio(behaviour);
    ObjectPool[0].x = 3300.0f;
    ObjectPool[0].y = 1300.0f;
    Frames(19);
    EXPECT_EQ(boss.vx, 0.0f);
    Frames(1);
    EXPECT_EQ(boss.work[0], 500.0f) << behaviour;
    EXPECT_EQ(boss.deathEffect, 1) << "a kill before the change dies with kind 1";
    Put(70, kCategoryEnemyBullet, 4063).timer = 1000;
    boss.hitPoints = 10999;
    ClearCallLog();
    Frames(1);
    EXPECT_EQ(CallsOf(Call::SpawnDeathEffects).size(), 3u);
    EXPECT_EQ(ObjectPool[70].behaviour, 3068) << "bullets to chips";
    EXPECT_EQ(boss.deathEffect, 4);
    EXPECT_EQ(boss.timer, -59);
  }
  // The longest wait never passes the restart: every boss and phase restarts at -60.
  for (int behaviour : {3064, 3065, 3066}) {
    for (float phase : {0.0f, 1.0f}) {
      SetUp();
      ScriptRandom(RandomScript::Max);
      GameObject& boss = PutTrio(behaviour);
      boss.phase = phase;
      int frame = 0;
      while (frame++ < 800 && boss.timer != -60) Frames(1);
      EXPECT_EQ(boss.timer, -60) << behaviour << " phase " << phase;
    }
  }
}

// The trio's event tables: shots of a run of frames, facing (0 right, 1 the boss's
// own with the player far to the right), parameters in turn; then the restart frame.
struct TrioShots {
  int behaviour;
  float phase;
  int templateId, facing;
  std::vector<int> frames, parameters;
};
const TrioShots kTrioShots[] = {
    {3064, 0, 5011, 0, {105, 110, 115, 205, 210, 215}, {3, 3, 3, 3, 3, 3}},
    {3064, 0, 5012, 0, {350, 360, 370, 450, 460, 470}, {20, 25, 30, 30, 35, 40}},
    {3064, 1, 5011, 0, {105, 110, 115, 205, 210, 215}, {3, 3, 3, 3, 3, 3}},
    {3064, 1, 5012, 0, {300, 310, 320, 400, 410, 420}, {25, 30, 35, 35, 40, 45}},
    {3065, 0, 5027, 1, {105, 110, 115, 205, 210, 215}, {35, 40, 45, 35, 40, 45}},
    {3065, 0, 5012, 0, {350, 360, 370, 450, 460, 470}, {20, 25, 30, 30, 35, 40}},
    {3065, 1, 5027, 1, {105, 110, 115, 205, 210, 215}, {40, 50, 60, 40, 50, 60}},
    {3065, 1, 5012, 0, {300, 310, 320, 400, 410, 420}, {25, 30, 35, 35, 40, 45}},
    {3066, 0, 5027, 1, {100, 110, 120, 200, 210, 220}, {80, 80, 80, 80, 80, 80}},
    {3066, 0, 5016, 0, {350, 360, 370, 450, 460, 470}, {80, 80, 80, 80, 80, 80}},
    {3066, 1, 5016, 1, {105, 110, 115, 205, 210, 215}, {100, 100, 100, 100, 100, 100}},
    {3066, 1, 5016, 0, {300, 310, 320, 400, 410, 420}, {90, 90, 90, 90, 90, 90}}};
const std::vector<std::tuple<int, float, int>> kTrioRestarts = {{3064, 0, 660}, {3064, 1, 560}, {3065, 0, 660},
                                                                {3065, 1, 610}, {3066, 0, 610}, {3066, 1, 560}};

TEST_F(Stage6And7Bosses, TrioFiresItsTablesAndRestarts) {
  for (const auto& [behaviour, phase, restart] : kTrioRestarts) {
    SetUp();
    ScriptRandom(RandomScript::Zero);  // no wait, no pause
    GameObject& boss = PutTrio(behaviour);
    boss.phase = phase;
    boss.facing = 1;
    Player().x = 9000.0f;
    std::vector<std::vector<int>> made;  // template, frame, facing, parameter
    int restartedAfter = 0;
    for (int frame = 1; frame <= 700 && restartedAfter == 0; ++frame) {
      ClearCallLog();
      Frames(1);
      if (boss.timer == 0) restartedAfter = frame;
      for (const RecordedCall& call : CallsOf(Call::CreateObject))
        if (call.Int(0) != 5019 && call.Int(0) != 2130) made.push_back({call.Int(0), frame, call.Int(3), call.Int(4)});
    }
    EXPECT_EQ(restartedAfter, restart) << behaviour << " phase " << phase;
    std::vector<std::vector<int>> expected;
    for (const TrioShots& row : kTrioShots) {
      if (row.behaviour != behaviour || row.phase != phase) continue;
      for (std::size_t k = 0; k < row.frames.size(); ++k)
        expected.push_back({row.templateId, row.frames[k], row.facing, row.parameters[k]});
    }
    std::sort(made.begin(), made.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(made, expected) << behaviour << " phase " << phase;
  }
}

TEST_F(Stage6And7Bosses, StageSevenBossEscapesAt3100AndPaysNothingAt3099) {
  GameObject& body = Put(10, kCategoryEnemy, 3074, 3000.0f, 900.0f);
  body.coinDrop = 30;
  Put(12, kCategoryEffect, 4122);
  ObjectPool[0].x = 3000.0f;
  for (int frame = 1; frame < 3100; ++frame) Frames(1);
  EXPECT_EQ(body.coinDrop, 0);
  EXPECT_EQ(body.behaviour, 3074);
  Frames(1);
  EXPECT_EQ(ScreenFlash, 250.0f);
  EXPECT_EQ(WhiteOutCounter, 1);
  EXPECT_EQ(BgmFadeMode[2], 7) << "the stage music fades out slowly";
  EXPECT_EQ(ObjectPool[10].behaviour, 4059);
  EXPECT_EQ(ObjectPool[12].behaviour, 4059);
  // Smoke by the three thresholds over 60 frames: multiples of 30, 20 and 15.
  for (const auto& [hitPoints, bursts] : {std::pair{12000, 0}, {9999, 2}, {4999, 5}, {2499, 9}}) {
    SetUp();
    Put(10, kCategoryEnemy, 3074, 3000.0f, 900.0f).hitPoints = hitPoints;
    Frames(60);
    EXPECT_EQ(Parameters(2200), std::vector<int>(bursts, 10)) << hitPoints;
  }
}

TEST_F(Stage6And7Bosses, StageSevenGlowGoes250To253To250ThenPulses7To199) {
  GameObject& glow = Put(12, kCategoryEffect, 4122);
  glow.fade = 250.0f;
  Frames(1);
  EXPECT_EQ(glow.fade, 250.0f);
  EXPECT_EQ(glow.phase, 1.0f);
  Frames(81);
  EXPECT_EQ(glow.fade, 7.0f);
  Frames(64);
  EXPECT_EQ(glow.fade, 199.0f);
  Frames(1);
  EXPECT_EQ(glow.fade, 199.0f) << "turns at 202 within the frame";
}

TEST_F(Stage6And7Bosses, DragonDrawsByItsCallsAndFires23Per130WhileSwarming) {
  struct Case {
    bool swarming;
    std::vector<int> listed;
    int draws;
  };
  for (const Case& c : {Case{false, {5}, 3}, Case{false, {0, 1, 1}, 5}, Case{false, {0, 2, 0, 3}, 6},
                        Case{true, {5}, 1}, Case{true, {0, 0, 1}, 3}, Case{true, {0, 1, 0, 4}, 4}}) {
    SetUp();
    if (c.swarming) Put(10, kCategoryEnemy, 0, 3000.0f, 900.0f);
    Put(60, kCategoryEnemy, 3075, 2000.0f, 900.0f);
    ScriptRandom(RandomScript::Listed, c.listed);
    Frames(1);
    EXPECT_EQ(RandomDrawsSinceSeed(), c.draws) << c.swarming << " " << c.listed.size();
  }
  SetUp();
  ScriptRandom(RandomScript::Max);
  GameObject& boss = Put(10, kCategoryEnemy, 0, 3000.0f, 900.0f);
  GameObject& dragon = Put(60, kCategoryEnemy, 3075, 2800.0f, 900.0f);
  Frames(140);
  EXPECT_EQ(Parameters(5014).size(), 23u + 3u);  // 3, ..., 69, then 3, 6, 9 again
  boss.state = kStateFree;
  Frames(40);
  EXPECT_EQ(dragon.timer, 10) << "the clock stands while roaming";
}

TEST_F(Stage6And7Bosses, FliersAimAt100ThenTurnAndDriftersKeep801) {
  GameObject& flier = Put(60, kCategoryEnemy, 3079, 1600.0f, 500.0f);
  flier.vx = -3.0f;
  Frames(100);
  EXPECT_NEAR(std::hypot(flier.vx, flier.vy), 10.0, 1e-5);
  const double course = std::atan2(flier.vy, flier.vx);
  Frames(1);
  // The direct velocity at 8 lies inside the turn test's dot product: the old one turns.
  EXPECT_NEAR(std::abs(std::atan2(flier.vy, flier.vx) - course), 0.1 * 0.01745329238474369, 1e-6);
  for (const int behaviour : {3080, 3081}) {
    GameObject& drifter = Put(61, kCategoryEnemy, behaviour, 3000.0f, 1000.0f);
    float& speed = behaviour == 3080 ? drifter.vx : drifter.vy;
    speed = 7.99f;
    Frames(3);
    EXPECT_FLOAT_EQ(speed, 8.01f) << behaviour;
  }
}

}  // namespace
