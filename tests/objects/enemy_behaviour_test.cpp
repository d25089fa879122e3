// The ordinary enemies of stages 1 to 7 at the numbers their behaviours name.
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
    enemy.vx = vx, enemy.vy = vy;
    return enemy;
  }
  // The updates (1-based) of the next `frames` in which `templateId` was made.
  static std::vector<int> ShotFrames(int frames, int templateId) {
    std::vector<int> fired;
    for (int update = 1; update <= frames; ++update) {
      ClearCallLog();
      Frames(1);
      for (const RecordedCall& call : CallsOf(Call::CreateObject)) {
        if (call.Int(0) == templateId) fired.push_back(update);
      }
    }
    return fired;
  }
};

TEST_F(Enemies, SteeringSpeedsByTimerThenStraightFlight) {
  struct Case {
    int behaviour, timer;
    double speed;
    float oldSpeed = 1.0f;  // the direct course wins once o.d beats o.(o turned)
  };
  for (const Case& c : {Case{3022, 199, 3.0}, Case{3022, 200, 4.0}, Case{3022, 600, 8.0}, Case{3022, 698, 8.0},
                        Case{3032, 300, 8.0}, Case{3032, 598, 10.0}, Case{3034, 0, 10.0}, Case{3020, 1, 0.2, 0.1f}}) {
    GameObject& enemy = Enemy(c.behaviour, 400.0f, kPlayerY, c.oldSpeed);
    enemy.timer = c.timer;
    Frames(1);
    EXPECT_NEAR(std::hypot(enemy.vx, enemy.vy), c.speed, 1e-5) << c.behaviour << " at " << c.timer + 1;
  }
  GameObject& late = Enemy(3022, 400.0f, kPlayerY, 3.0f);
  late.timer = 699;
  ObjectPool[0].y = 1500.0f;
  Frames(3);
  EXPECT_EQ(late.vx, 3.0f);  // from 700 on the course stays
  EXPECT_EQ(late.vy, 0.0f);
}

TEST_F(Enemies, ChargerFansTenBulletsAtTheBrakingPointMovesTwiceAndAgesOut) {
  GameObject& charger = Enemy(3030, 900.0f, 500.0f, -0.5f);
  charger.work[1] = 1.0f, charger.work[2] = 128.0f, charger.timer = 50;
  Frames(1);  // braking update 129 records the player's position
  ObjectPool[0].x = ObjectPool[0].y = 100.0f;
  std::vector<float> speeds;
  for (int update = 130; update <= 250; ++update) {
    ClearCallLog();
    Frames(1);
    if (CallsOf(Call::CreateObject).empty()) continue;
    EXPECT_EQ(CallsOf(Call::CreateObject)[0].Int(0), 2112);
    EXPECT_EQ(CallsOf(Call::CreateObject)[0].Int(4), kSlot);
    EXPECT_TRUE(charger.phase == kPlayerX && charger.phase2 == kPlayerY) << update;
    speeds.push_back(charger.work[0]);
  }
  EXPECT_EQ(speeds, (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8, 8, 8}));
  EXPECT_EQ(charger.timer, 0);

  GameObject& far = Enemy(3030, 500.0f, 500.0f, 2.0f);
  far.work[1] = 1.0f, far.timer = 20, far.phase = 3000.0f, far.phase2 = 500.0f, far.workInt = 1799;
  Frames(1);
  EXPECT_EQ(far.x, 504.0f);  // 100 or more from its point while braking: two moves
  EXPECT_EQ(far.behaviour, 3030);
  Frames(1);
  EXPECT_EQ(far.behaviour, 4059);  // its 1801st update

  GameObject& onPlayer = Enemy(3030, 100.0f, 100.0f, 1.5f, -0.5f);  // where the player now is
  onPlayer.timer = 9;
  ScriptRandom(RandomScript::Listed, {12, 0, 0, 6});
  ClearCallLog();
  Frames(1);  // the aim keeps the old course, the four jitters still drawn
  EXPECT_EQ(CallsOf(Call::RandomInRange).size(), 4u);
  EXPECT_FLOAT_EQ(onPlayer.vx, 2.7f);
  EXPECT_FLOAT_EQ(onPlayer.vy, -1.1f);
}

TEST_F(Enemies, HunterWithin200WeavesAtOnceAndFiresEight) {
  GameObject& hunter = Enemy(3038, 850.0f, kPlayerY, -1.0f);
  EXPECT_EQ(ShotFrames(90, 5014), (std::vector<int>{60, 63, 66, 69, 72, 75, 78, 81}));
  EXPECT_EQ(hunter.work[3], 2.0f);
}

TEST_F(Enemies, ModeBoundShotsFireOnlyInTheirModeAndOnlyModes0And1RestartCycles) {
  struct Case {
    int behaviour, mode, frames, shotTemplate;
    std::vector<int> shots;
    int timerAfter;
  };
  for (const Case& c : std::vector<Case>{{3039, 1, 150, 5016, {130, 150}, 0},
                                         {3039, 3, 150, 5016, {150}, 0},
                                         {3053, 0, 160, 5019, {5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55}, 0},
                                         {3053, 2, 300, 5019, {}, 300},
                                         {3062, 3, 300, 5019, {}, 300},
                                         {3060, 2, 300, 5014, {}, 300},
                                         {3054, 0, 40, 5014, {30, 31, 32}, 40},
                                         {3054, 1, 40, 5014, {30, 32, 34}, 40},
                                         {3054, 2, 40, 5014, {}, 40},
                                         {3056, 3, 40, 5038, {}, 40},
                                         {3056, 1, 40, 5027, {30}, 40}}) {
    GameMode = c.mode;
    GameObject& enemy = Enemy(c.behaviour, 600.0f, 400.0f);
    EXPECT_EQ(ShotFrames(c.frames, c.shotTemplate), c.shots) << c.behaviour << " mode " << c.mode;
    EXPECT_EQ(enemy.timer, c.timerAfter) << c.behaviour << " mode " << c.mode;
  }
}

TEST_F(Enemies, AgeLimitsEndOnTheirLastUpdate) {
  for (auto [behaviour, lastUpdate] : {std::pair{3017, 4001}, {3021, 3001}, {3052, 2401}, {3062, 2001}}) {
    Enemy(behaviour, 600.0f, 400.0f);
    Frames(lastUpdate - 1);
    EXPECT_EQ(ObjectPool[kSlot].behaviour, behaviour);
    Frames(1);
    EXPECT_EQ(ObjectPool[kSlot].behaviour, 4059) << behaviour;
  }
}

TEST_F(Enemies, HomingInCyclesStopsAfterTheEighth) {
  GameObject& enemy = Enemy(3013, 600.0f, 400.0f);
  Frames(8 * 360);
  EXPECT_EQ(enemy.timer, 365);
  const float vx = enemy.vx, vy = enemy.vy;
  ObjectPool[0].y = 1800.0f;
  Frames(200);
  EXPECT_TRUE(enemy.timer == 565 && enemy.vx == vx && enemy.vy == vy);
}

TEST_F(Enemies, AimsAndFacings) {
  GameObject& mover = Enemy(3010, 700.0f, 300.0f, -2.5f);
  mover.facing = 1;
  Frames(1);
  EXPECT_EQ(mover.facing, 0);
  EXPECT_FLOAT_EQ(mover.angle, std::atan2(kPlayerY - mover.y, kPlayerX - mover.x));

  GameObject& backer = Enemy(3055, 600.0f, kPlayerY);
  EXPECT_EQ(ShotFrames(80, 5010).size(), 16u);
  EXPECT_FLOAT_EQ(backer.vx, -1.0f);  // backs away at 1 pixel a frame
  EXPECT_EQ(backer.facing, 1);

  GameObject& level = Enemy(3054, kPlayerX - 1.0f, 300.0f, 1.0f);
  level.timer = 79;
  Frames(1);  // on the player's x after its move: vx 0.0 after the aim
  EXPECT_EQ(level.vx, 0.0f);
  EXPECT_EQ(level.facing, 1);
}

TEST_F(Enemies, HomerJumpsToSpeed14WithinItsAngle) {
  for (auto [speed, degreesOff, aims] : {std::tuple{5.0, 68.9, true}, {5.0, 69.3, false}, {8.0, 55.0, true},
                                         {8.0, 55.4, false}, {14.0, 0.4, true}, {14.0, 0.6, false}}) {
    const double off = degreesOff * M_PI / 180.0;
    GameObject& homer = Enemy(3058, 400.0f, kPlayerY, static_cast<float>(speed * std::cos(off)),
                              static_cast<float>(speed * std::sin(off)));
    Frames(1);
    EXPECT_NEAR(std::hypot(homer.x - 400.0f, homer.y - kPlayerY), aims ? 14.0 : speed, 1e-3) << degreesOff;
  }
}

TEST_F(Enemies, CloserStopsAtOnceAndTheGunnerStaysLevel) {
  GameObject& closer = Enemy(3047, 1200.0f, kPlayerY, -2.5f);
  Frames(1);
  EXPECT_TRUE(closer.phase2 == 1.0f && closer.timer == 1);
  const float x = closer.x;
  Frames(5);
  EXPECT_EQ(closer.x, x);

  GameObject& gunner = Enemy(3049, 600.0f, 400.0f, 2.0f, 3.0f);
  EXPECT_EQ(ShotFrames(200, 5014), std::vector<int>{200});
  EXPECT_EQ(gunner.y, 400.0f);
}

}  // namespace
