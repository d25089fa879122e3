// The ordinary enemies of stages 1 to 7 at the numbers their behaviours name: speeds,
// turn limits, shot counts and frames, lifetimes and the game modes that fire.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "behaviour_fixture.h"
#include "core/game_state.h"

namespace {

constexpr int kSlot = 60;
constexpr float kPlayerX = 1000.0f, kPlayerY = 500.0f;

class Enemies : public BehaviourTest {
 protected:
  static GameObject& Enemy(int behaviour, float x, float y, float vx = 0.0f, float vy = 0.0f) {
    GameObject& enemy = Put(kSlot, kCategoryEnemy, behaviour, x, y);
    enemy.vx = vx;
    enemy.vy = vy;
    return enemy;
  }
  static double Speed(const GameObject& enemy) { return std::hypot(enemy.vx, enemy.vy); }
  // Runs `frames` updates; the update numbers (1-based) in which `templateId` was made.
  static std::vector<int> ShotFrames(int frames, int templateId) {
    std::vector<int> fired;
    for (int update = 1; update <= frames; ++update) {
      const std::size_t before = CallsOf(Call::CreateObject).size();
      Frames(1);
      const std::vector<RecordedCall> made = CallsOf(Call::CreateObject);
      for (std::size_t i = before; i < made.size(); ++i) {
        if (made[i].Int(0) == templateId) fired.push_back(update);
      }
    }
    return fired;
  }
};

TEST_F(Enemies, SteeringSpeedsByTimerThenStraightFlight) {
  struct Case {
    int behaviour, timer;
    double speed;  // of the direct course, the player straight ahead
    float oldSpeed = 1.0f;  // the direct course is taken once o.d beats o.(o turned)
  };
  for (const Case& c : {Case{3022, 199, 3.0}, Case{3022, 200, 4.0}, Case{3022, 600, 8.0}, Case{3022, 698, 8.0},
                        Case{3032, 300, 8.0}, Case{3032, 598, 10.0}, Case{3034, 0, 10.0}, Case{3020, 1, 0.2, 0.1f}}) {
    SetUp();
    GameObject& enemy = Enemy(c.behaviour, 400.0f, kPlayerY, c.oldSpeed, 0.0f);
    enemy.timer = c.timer;
    Frames(1);
    EXPECT_NEAR(Speed(enemy), c.speed, 1e-5) << c.behaviour << " at " << c.timer + 1;
  }
  // From 700 on 3022 keeps its course, wherever the player goes.
  GameObject& late = Enemy(3022, 400.0f, kPlayerY, 3.0f, 0.0f);
  late.timer = 699;
  ObjectPool[0].y = 1500.0f;
  Frames(3);
  EXPECT_EQ(late.vx, 3.0f);
  EXPECT_EQ(late.vy, 0.0f);
}

TEST_F(Enemies, ChargerFansTenBulletsAtTheBrakingPointAndAgesOut) {
  GameObject& charger = Enemy(3030, 900.0f, 500.0f, -0.5f, 0.0f);
  charger.work[1] = 1.0f;  // braking, just before update 129 of it
  charger.work[2] = 128.0f;
  charger.timer = 50;
  charger.phase = 900.0f;
  charger.phase2 = 500.0f;
  Frames(1);
  ObjectPool[0].x = 100.0f;  // the bullets keep to the point of update 129
  ObjectPool[0].y = 100.0f;
  std::vector<float> speeds;
  for (int update = 130; update <= 250; ++update) {
    const std::size_t before = CallsOf(Call::CreateObject).size();
    Frames(1);
    if (CallsOf(Call::CreateObject).size() == before) continue;
    EXPECT_EQ(CallsOf(Call::CreateObject).back().Int(0), 2112);
    EXPECT_EQ(CallsOf(Call::CreateObject).back().Int(4), kSlot);
    EXPECT_EQ(charger.phase, kPlayerX);
    EXPECT_EQ(charger.phase2, kPlayerY);
    speeds.push_back(charger.work[0]);
  }
  EXPECT_EQ(speeds, (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8, 8, 8}));
  EXPECT_EQ(charger.timer, 0);  // update 250 restarts the cycle
  EXPECT_EQ(charger.work[2], 0.0f);

  // Braking 100 pixels or more from its point, it moves twice in an update.
  GameObject& far = Enemy(3030, 500.0f, 500.0f, 2.0f, 0.0f);
  far.work[1] = 1.0f;
  far.timer = 20;
  far.phase = 3000.0f;
  far.phase2 = 500.0f;
  far.workInt = 1799;
  Frames(1);
  EXPECT_EQ(far.x, 504.0f);
  EXPECT_EQ(far.behaviour, 3030);
  Frames(1);
  EXPECT_EQ(far.behaviour, 4059);  // update 1801: cancelled
}

TEST_F(Enemies, ChargerOnThePlayerStillDrawsItsFourJitters) {
  GameObject& charger = Enemy(3030, kPlayerX, kPlayerY, 1.5f, -0.5f);
  charger.timer = 9;
  ScriptRandom(RandomScript::Listed, {12, 0, 0, 6});
  Frames(1);
  EXPECT_EQ(CallsOf(Call::RandomInRange).size(), 4u);
  EXPECT_EQ(charger.work[3], 0.0f);
  EXPECT_FLOAT_EQ(charger.vx, 1.5f + 1.2f);
  EXPECT_FLOAT_EQ(charger.vy, -0.5f - 0.6f);
}

TEST_F(Enemies, HunterWithin200WeavesAtOnceAndFiresEight) {
  GameObject& hunter = Enemy(3038, 850.0f, kPlayerY, -1.0f, 0.0f);
  std::vector<int> fired = ShotFrames(90, 5014);
  EXPECT_EQ(fired, (std::vector<int>{60, 63, 66, 69, 72, 75, 78, 81}));
  std::vector<int> speeds;
  for (const RecordedCall& shot : CallsOf(Call::CreateObject)) speeds.push_back(shot.Int(4));
  EXPECT_EQ(speeds, (std::vector<int>{30, 34, 38, 42, 46, 50, 54, 58}));
  EXPECT_EQ(hunter.work[3], 2.0f);
}

TEST_F(Enemies, PathMoverEndsFacingRightAimedAtThePlayer) {
  GameObject& mover = Enemy(3010, 700.0f, 300.0f, -2.5f, 0.0f);
  mover.facing = 1;
  Frames(1);
  EXPECT_EQ(mover.facing, 0);
  EXPECT_FLOAT_EQ(mover.angle, std::atan2(kPlayerY - mover.y, kPlayerX - mover.x));
}

TEST_F(Enemies, ModeBoundShotsFireOnlyInTheirModeAndOnlyModes0And1RestartCycles) {
  struct Case {
    int behaviour, mode, frames, shotTemplate;
    std::vector<int> shots;
    int timerAfter;
  };
  const std::vector<Case> cases = {
      {3039, 1, 150, 5016, {130, 150}, 0},
      {3039, 0, 150, 5016, {150}, 0},
      {3039, 3, 150, 5016, {150}, 0},
      {3053, 0, 160, 5019, {5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55}, 0},
      {3053, 2, 300, 5019, {}, 300},
      {3062, 3, 300, 5019, {}, 300},
      {3060, 2, 300, 5014, {}, 300},
      {3054, 0, 40, 5014, {30, 31, 32}, 40},
      {3054, 1, 40, 5014, {30, 32, 34}, 40},
      {3054, 2, 40, 5014, {}, 40},
      {3056, 3, 40, 5038, {}, 40},
      {3056, 0, 40, 5038, {30}, 40},
      {3056, 1, 40, 5027, {30}, 40},
  };
  for (const Case& c : cases) {
    SetUp();
    GameMode = c.mode;
    GameObject& enemy = Enemy(c.behaviour, 600.0f, 400.0f);
    EXPECT_EQ(ShotFrames(c.frames, c.shotTemplate), c.shots) << c.behaviour << " mode " << c.mode;
    EXPECT_EQ(enemy.timer, c.timerAfter) << c.behaviour << " mode " << c.mode;
  }
}

TEST_F(Enemies, AgeLimitsEndOnTheirLastUpdate) {
  struct Case {
    int behaviour, lastUpdate;
  };
  for (const Case& c : {Case{3017, 4001}, Case{3021, 3001}, Case{3052, 2401}, Case{3062, 2001}}) {
    SetUp();
    Enemy(c.behaviour, 600.0f, 400.0f);
    Frames(c.lastUpdate - 1);
    EXPECT_EQ(ObjectPool[kSlot].behaviour, c.behaviour);
    Frames(1);
    EXPECT_EQ(ObjectPool[kSlot].behaviour, 4059) << c.behaviour;
  }
}

TEST_F(Enemies, HomingInCyclesStopsAfterTheEighth) {
  GameObject& enemy = Enemy(3013, 600.0f, 400.0f);
  Frames(8 * 360);
  EXPECT_EQ(enemy.phase2, 8.0f);
  EXPECT_EQ(enemy.timer, 365);
  const float vx = enemy.vx, vy = enemy.vy;
  ObjectPool[0].y = 1800.0f;
  Frames(200);
  EXPECT_EQ(enemy.timer, 565);
  EXPECT_EQ(enemy.vx, vx);
  EXPECT_EQ(enemy.vy, vy);
}

TEST_F(Enemies, BlinkingHuntersShootThenAimAt80) {
  GameObject& backer = Enemy(3055, 600.0f, kPlayerY);
  backer.facing = 0;
  EXPECT_EQ(ShotFrames(80, 5010).size(), 16u);
  EXPECT_EQ(CallsOf(Call::RandomInRange).size(), 16u);
  EXPECT_FLOAT_EQ(backer.vx, -1.0f);  // backs away from the player at 1 pixel a frame
  EXPECT_EQ(backer.facing, 1);
  Frames(320);
  EXPECT_EQ(backer.behaviour, 4059);

  SetUp();
  GameObject& level = Enemy(3054, kPlayerX, 300.0f, 1.0f, 0.0f);
  level.timer = 79;
  level.x = kPlayerX - 1.0f;  // on the player's x after its move: vx 0.0
  Frames(1);
  EXPECT_EQ(level.vx, 0.0f);
  EXPECT_EQ(level.facing, 1);
}

TEST_F(Enemies, HomerJumpsToSpeed14WithinItsAngle) {
  struct Case {
    float speed, degreesOff;
    bool aims;
  };
  for (const Case& c : {Case{5.0f, 68.9f, true}, Case{5.0f, 69.3f, false}, Case{8.0f, 55.0f, true},
                        Case{8.0f, 55.4f, false}, Case{14.0f, 0.4f, true}, Case{14.0f, 0.6f, false}}) {
    SetUp();
    const double off = c.degreesOff * M_PI / 180.0;
    // The player at (1000, 500); the homer 600 px to its left, heading off the line to it.
    GameObject& homer = Enemy(3058, 400.0f, kPlayerY, static_cast<float>(c.speed * std::cos(off)),
                              static_cast<float>(c.speed * std::sin(off)));
    const float x = homer.x, y = homer.y;
    Frames(1);
    const double speed = std::hypot(homer.x - x, homer.y - y);
    EXPECT_NEAR(speed, c.aims ? 14.0 : c.speed, 1e-4) << c.speed << " at " << c.degreesOff;
  }
}

TEST_F(Enemies, CloserStopsAtOnceAndTheGunnerStaysLevel) {
  GameObject& closer = Enemy(3047, 1200.0f, kPlayerY, -2.5f, 0.0f);
  Frames(1);
  EXPECT_EQ(closer.phase2, 1.0f);
  EXPECT_EQ(closer.timer, 1);
  EXPECT_EQ(CallsOf(Call::PlaySe).size(), 1u);
  const float x = closer.x;
  Frames(5);
  EXPECT_EQ(closer.x, x);

  GameObject& gunner = Enemy(3049, 600.0f, 400.0f, 2.0f, 3.0f);
  EXPECT_EQ(ShotFrames(200, 5014), std::vector<int>{200});
  EXPECT_EQ(gunner.y, 400.0f);
  EXPECT_EQ(gunner.x, 1000.0f);
}

}  // namespace
