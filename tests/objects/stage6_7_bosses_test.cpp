// The stage 6 trio and the stage 7 boss, run frame by frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "behaviour_fixture.h"
#include "core/game_state.h"

namespace {

class StageBosses : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    SetForwarding(Call::SpawnDeathEffects, false);
  }
  static std::vector<RecordedCall> Made(int templateId) {
    std::vector<RecordedCall> made;
    for (const RecordedCall& call : CallsOf(Call::CreateObject))
      if (call.Int(0) == templateId) made.push_back(call);
    return made;
  }
  static GameObject& PutTrio(int behaviour) {
    GameObject& boss = Put(60, kCategoryEnemy, behaviour, 3000.0f, 900.0f);
    boss.hitPoints = 17600;
    boss.deathEffect = 1;
    return boss;
  }
};

constexpr int kTrio[] = {3064, 3065, 3066};

// The six aimed streams: windows (after, before) of the volley counter.
struct Window {
  int after, before, dy, speed;
};
constexpr Window kWindows[] = {{240, 260, -50, 5}, {250, 270, -50, 6}, {260, 280, -50, 7},
                               {440, 460, 50, 7},  {450, 470, 50, 8},  {460, 480, 50, 9}};

TEST_F(StageBosses, TrioVolleysFollowTheStrictWindowsOfA481FrameCycleThatThePhaseChangeKeeps) {
  for (int behaviour : kTrio) {
    SetUp();
    GameObject& boss = PutTrio(behaviour);
    ObjectPool[0].x = boss.x;  // on the player: the aims keep the old velocity
    ObjectPool[0].y = boss.y;
    for (int frame = 1; frame <= 2 * 481; ++frame) {
      if (frame == 300) boss.hitPoints = 10999;  // the phase change keeps the rhythm
      ClearCallLog();
      const float y = boss.y;
      Frames(1);
      const int p = (frame - 1) % 481 + 1;
      std::vector<int> expected, speeds;
      for (const Window& w : kWindows)
        if (p > w.after && p < w.before) expected.push_back(w.speed);
      const std::vector<RecordedCall> made = Made(5019);
      for (const RecordedCall& call : made) speeds.push_back(call.Int(4));
      ASSERT_EQ(speeds, expected) << behaviour << " frame " << frame;
      if (!made.empty()) {
        // 50 above or below the boss, which the push-back may have moved by 1.
        EXPECT_NEAR(made[0].Int(2), y + (p < 300 ? -50.0 : 50.0), 2.0) << frame;
      }
    }
    EXPECT_EQ(boss.phase2, 0.0f) << behaviour;
  }
}

TEST_F(StageBosses, TrioAimsOnFrame20AndChangesPhaseBelow11000WithThreeBurstsAndChips) {
  for (int behaviour : kTrio) {
    SetUp();
    GameObject& boss = PutTrio(behaviour);
    ObjectPool[0].x = 3300.0f;
    ObjectPool[0].y = 1300.0f;  // 300, 400 away: distance 500
    Frames(19);
    EXPECT_EQ(boss.vx, 0.0f) << behaviour;
    Frames(1);
    EXPECT_EQ(boss.work[0], 500.0f) << behaviour;
    EXPECT_GT(boss.vx, 0.0f) << behaviour;
    Frames(20);
    EXPECT_EQ(boss.deathEffect, 1) << "a kill before the change dies with kind 1";
    GameObject& bullet = Put(70, kCategoryEnemyBullet, 4063, 500.0f, 400.0f);
    bullet.timer = 1000;
    boss.hitPoints = 10999;
    ClearCallLog();
    Frames(1);
    EXPECT_EQ(CallsOf(Call::SpawnDeathEffects).size(), 3u) << behaviour;
    EXPECT_EQ(bullet.behaviour, 3068) << "bullets turned to chips";
    EXPECT_EQ(boss.deathEffect, 4);
    EXPECT_EQ(boss.phase, 1.0f);
    EXPECT_EQ(boss.timer, -59);
    EXPECT_EQ(boss.vx, 0.0f);
    EXPECT_EQ(boss.vy, 1.0f);
  }
}

TEST_F(StageBosses, TheLongestWaitStillMeetsTheRestart) {
  ScriptRandom(RandomScript::Max);
  for (int behaviour : kTrio) {
    for (int phase = 0; phase < 2; ++phase) {
      SetUp();
      ScriptRandom(RandomScript::Max);
      GameObject& boss = PutTrio(behaviour);
      boss.phase = static_cast<float>(phase);
      if (phase == 1) boss.hitPoints = 5000;
      bool restarted = false;
      for (int frame = 0; frame < 800 && !restarted; ++frame) {
        Frames(1);
        restarted = boss.timer == -60;  // the restart's largest pause
      }
      EXPECT_TRUE(restarted) << behaviour << " phase " << phase;
    }
  }
}

TEST_F(StageBosses, TrioFiresItsFirstPhaseEventsWithTheirParameters) {
  // 3064 phase 0 from its table: 5011 at 105..215 with 3, 5012 rings 20..40.
  PutTrio(3064);
  Frames(480);
  std::vector<int> aimed, rings;
  for (const RecordedCall& call : Made(5011)) aimed.push_back(call.Int(4));
  for (const RecordedCall& call : Made(5012)) rings.push_back(call.Int(4));
  EXPECT_EQ(aimed, std::vector<int>(6, 3));
  EXPECT_EQ(rings, (std::vector<int>{20, 25, 30, 30, 35, 40}));
  // 3066 fires 5016 at the player: facing 1 while the boss is to the player's right.
  SetUp();
  GameObject& third = PutTrio(3066);
  third.x = 5000.0f;
  ObjectPool[0].x = 1000.0f;
  Frames(360);
  const std::vector<RecordedCall> fans = Made(5016);
  ASSERT_EQ(fans.size(), 2u);
  EXPECT_EQ(fans[0].Int(3), 1);
  EXPECT_EQ(fans[0].Int(4), 80);
}

TEST_F(StageBosses, TrioHitPointsFollowTheLevels) {
  SetForwarding(Call::CreateObject, true);
  ShotLevel = 1;
  OptionLevel = 0;
  TurboLevel = 1;
  CreateObject(1076, 3000, 900, 0, 0);
  int found = 0;
  for (const GameObject& object : ObjectPool)
    if (object.behaviour == 3064) found = object.hitPoints;
  EXPECT_EQ(found, 17600);
}

class StageSevenBoss : public StageBosses {
 protected:
  GameObject& PutBody() {
    GameObject& body = Put(10, kCategoryEnemy, 3074, 3000.0f, 900.0f);
    body.vx = -1.4f;
    body.coinDrop = 30;
    body.hitPoints = 12000;
    body.deathEffect = 7;
    GameObject& glow = Put(12, kCategoryEffect, 4122, 3000.0f, 900.0f);
    glow.fade = 250.0f;
    ObjectPool[0].x = 3000.0f;
    ObjectPool[0].y = 900.0f;
    return body;
  }
};

TEST_F(StageSevenBoss, EscapesAt3100WithFlashWhiteOutAndFadeAndPaysNothingAt3099) {
  GameObject& body = PutBody();
  body.vx = 0.0f;  // stays about the player, inside the world
  for (int frame = 1; frame < 3100; ++frame) {
    FrameCycle4 = frame % 4;
    Frames(1);
    const int expectedCoins = 30 - frame / 100;
    ASSERT_EQ(body.coinDrop, expectedCoins) << frame;
  }
  EXPECT_EQ(body.coinDrop, 0) << "a kill at 3099 pays no coins";
  EXPECT_EQ(body.behaviour, 3074);
  Frames(1);
  EXPECT_EQ(ScreenFlash, 250.0f);
  EXPECT_EQ(WhiteOutCounter, 1);
  EXPECT_NE(ObjectPool[10].behaviour, 3074);
  EXPECT_NE(ObjectPool[12].behaviour, 4122);
  EXPECT_EQ(ObjectPool[10].behaviour, ObjectPool[12].behaviour) << "both cancelled alike";
}

TEST_F(StageSevenBoss, DriftsBlinksSmokesByItsThresholdsAndTrailsEveryFrame) {
  GameObject& body = PutBody();
  FrameCycle4 = 1;
  Frames(1);
  // Level with the player: the otherwise branches, -0.2 and -0.01, then the drift.
  EXPECT_FLOAT_EQ(body.x, 3000.0f - 0.2f - 1.4f);
  EXPECT_EQ(body.fade, 50.0f);
  EXPECT_EQ(Made(2206).size(), 1u);
  struct Smoke {
    int hitPoints, frames, bursts;
  };
  // 60 frames: multiples of 30 (2), of 20 (3), of 15 (4).
  for (const Smoke& smoke : {Smoke{12000, 60, 0}, Smoke{9999, 60, 2}, Smoke{4999, 60, 5}, Smoke{2499, 60, 9}}) {
    SetUp();
    PutBody().hitPoints = smoke.hitPoints;
    Frames(smoke.frames);
    const std::vector<RecordedCall> debris = Made(2200);
    EXPECT_EQ(debris.size(), static_cast<std::size_t>(smoke.bursts)) << smoke.hitPoints;
    for (const RecordedCall& call : debris) EXPECT_EQ(call.Int(4), 10);
  }
}

TEST_F(StageSevenBoss, GlowFollowsAndPulsesFrom250Then7To199) {
  PutBody();
  GameObject& glow = ObjectPool[12];
  ObjectPool[10].state = kStateDelayed;  // the glow appears three frames earlier
  Frames(1);
  EXPECT_EQ(glow.fade, 250.0f);
  EXPECT_EQ(glow.phase, 1.0f);
  std::vector<float> fades;
  for (int frame = 0; frame < 230; ++frame) {
    Frames(1);
    fades.push_back(glow.fade);
  }
  // Down by 3 to 7, then 7, 10, ..., 196, 199, 199, 196, ..., 10, 7.
  std::vector<float> cycle{7.0f};
  for (int value = 10; value <= 199; value += 3) cycle.push_back(static_cast<float>(value));
  for (int value = 199; value >= 7; value -= 3) cycle.push_back(static_cast<float>(value));
  const auto bottom = std::find(fades.begin(), fades.end(), 7.0f);
  ASSERT_GE(fades.end() - bottom, static_cast<long>(cycle.size()));
  EXPECT_EQ(std::vector<float>(bottom, bottom + static_cast<long>(cycle.size())), cycle);
  ObjectPool[10].x = 1234.0f;
  Frames(1);
  EXPECT_EQ(glow.x, 1234.0f);
}

}  // namespace
