// The first stage 8 boss: escort waves, the twins' near and far sets, the time
// allowances and the parts riding on their bodies.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "behaviour_fixture.h"
#include "core/game_state.h"

namespace {

class FirstBoss : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    SetForwarding(Call::SpawnDeathEffects, false);
    SetForwarding(Call::PlaySe, false);
  }
  static GameObject& PutBody(int slot, int behaviour, int coins) {
    GameObject& body = Put(slot, kCategoryEnemy, behaviour, 3000.0f, 900.0f);
    body.hitPoints = 45000;
    body.coinDrop = coins;
    body.deathEffect = slot == 10 ? 10 : 8;
    return body;
  }
  // Template ids made this frame, in order.
  static std::vector<int> MadeThisFrame() {
    std::vector<int> made;
    for (const RecordedCall& call : CallsOf(Call::CreateObject)) made.push_back(call.Int(0));
    return made;
  }
};

TEST_F(FirstBoss, MainBodyLaunchesItsEscortWavesOnA1010FrameCycle) {
  PutBody(10, 3082, 50);
  ObjectPool[0].x = 3000.0f;
  std::map<int, std::vector<int>> launches;  // timer -> {template, facing, parent}
  for (int frame = 1; frame <= 1010 + 200; ++frame) {
    ClearCallLog();
    Frames(1);
    for (const RecordedCall& call : CallsOf(Call::CreateObject))
      launches[frame].insert(launches[frame].end(), {call.Int(0), call.Int(3), call.Int(4)});
  }
  std::map<int, std::vector<int>> expected;
  for (int wave = 0; wave < 4; ++wave) {
    for (int offset : {200, 220, 240}) expected[offset + 200 * wave] = {1091, 1, 2};
  }
  for (int timer = 1000; timer <= 1006; ++timer) expected[timer] = {1092, 1, 1};
  expected[1210] = {1091, 1, 2};  // the cycle restarted at 1010
  EXPECT_EQ(launches, expected);
}

TEST_F(FirstBoss, MainBodyRunsItsOwnKind10SequenceAtUpdate4080) {
  GameObject& body = PutBody(10, 3082, 50);
  for (int frame = 1; frame < 4080; ++frame) Frames(1);
  EXPECT_EQ(body.coinDrop, 0);
  EXPECT_TRUE(CallsOf(Call::SpawnDeathEffects).empty());
  ClearCallLog();
  Frames(1);
  ASSERT_EQ(CallsOf(Call::SpawnDeathEffects).size(), 1u);
  EXPECT_EQ(CallsOf(Call::SpawnDeathEffects)[0].Int(0), 10);
  EXPECT_EQ(ScreenFlash, 250.0f);
}

TEST_F(FirstBoss, TwinLosesACoinOnItsFirstFrameAndWithdrawsOnUpdate4681) {
  GameObject& twin = PutBody(13, 3083, 60);
  ObjectPool[0].x = 3000.0f;
  Frames(1);
  EXPECT_EQ(twin.coinDrop, 59);
  for (int frame = 2; frame < 4681; ++frame) {
    ClearCallLog();
    Frames(1);
  }
  EXPECT_EQ(twin.behaviour, 3083);
  Frames(1);
  EXPECT_NE(twin.behaviour, 3083) << "cancelled like a bullet";
  EXPECT_EQ(ScreenFlash, 250.0f);
}

TEST_F(FirstBoss, TwinFiresNearOrFarByThe3000PixelLine) {
  struct Case {
    float playerX;
    int timer;  // after the step
    std::vector<int> made;
    int draws;
  };
  const Case cases[] = {
      {3000.0f, 240, {5028, 5017}, 3 + 1},          // the last 5028 and the first ring together
      {3000.0f, 300, {5030, 5030}, 6 + 1},          // the pairs start
      {3000.0f, 942, {5027, 5027}, 6 + 1},          // pairs on multiples of 3
      {3000.0f, 943, {}, 1},
      {5999.0f, 880, {5029, 5017}, 3 + 1},          // 2999 away: near
      {5999.0f, 900, {}, 1},
      // The twin creeps to 2999.9990234375 first: exactly 3000 away, neither set.
      {-0.0009765625f, 240, {}, 1},
      {6001.0f, 102, {5029}, 2 + 1},                // far, parameter fixed
      {6001.0f, 900, {5029, 5021}, 2 + 1},
      {-1.0f, 1400, {5021}, 1}};
  for (const Case& c : cases) {
    SetUp();
    GameObject& twin = PutBody(16, 3083, 60);
    twin.timer = c.timer - 1;
    ObjectPool[0].x = c.playerX;
    ObjectPool[0].y = twin.y;
    const int before = RandomDrawsSinceSeed();
    Frames(1);
    EXPECT_EQ(MadeThisFrame(), c.made) << c.playerX << " at " << c.timer;
    EXPECT_EQ(RandomDrawsSinceSeed() - before, c.draws) << c.playerX << " at " << c.timer;
    if (c.timer == 1400) {
      EXPECT_EQ(twin.timer, 0);
      EXPECT_EQ(CallsOf(Call::PlaySe).size(), 1u);
    }
  }
}

TEST_F(FirstBoss, SpreadShotsDrawParameterThenYThenX) {
  GameObject& twin = PutBody(13, 3083, 60);
  twin.x = 3000.0f;
  twin.y = 900.0f;
  twin.timer = 99;
  ObjectPool[0].x = 3000.0f;
  ObjectPool[0].y = 900.0f;
  ScriptRandom(RandomScript::Listed, {7, 300, 0, 0});
  Frames(1);
  const std::vector<RecordedCall> made = CallsOf(Call::CreateObject);
  ASSERT_EQ(made.size(), 1u);
  // Before the move: x 3000 - 0.001 pushed nowhere; y 900 - 0.05.
  EXPECT_EQ(made[0].Int(4), 17);
  EXPECT_EQ(made[0].Int(2), static_cast<int>(899.95f - 150.0 + 300));
  EXPECT_EQ(made[0].Int(1), static_cast<int>(2999.999f - 150.0));
}

TEST_F(FirstBoss, PartsRideOnTheirBodiesGlowsTurnAtTheirBounds) {
  struct PartCase {
    int slot, behaviour, body;
    float top, bottom;
  };
  const PartCase parts[] = {{12, 4126, 10, 240.0f, 170.0f}, {15, 4129, 13, 250.0f, 150.0f},
                            {18, 4130, 16, 250.0f, 150.0f}, {14, 4127, 13, 0, 0}, {17, 4128, 16, 0, 0}};
  for (const PartCase& c : parts) {
    SetUp();
    Put(c.body, kCategoryEffect, 0, 1111.0f, 777.0f);
    GameObject& part = Put(c.slot, kCategoryEffect, c.behaviour);
    part.fade = 250.0f;
    FrameCycle4 = 1;
    Frames(1);
    EXPECT_EQ(part.x, 1111.0f);
    EXPECT_EQ(part.y, 777.0f);
    if (c.top == 0.0f) {
      EXPECT_EQ(part.fade, 50.0f);
      EXPECT_FLOAT_EQ(part.angle, 0.002f);
      continue;
    }
    Frames(150);  // down from the start into the cycle
    float lowest = part.fade, highest = part.fade;
    for (int frame = 0; frame < 300; ++frame) {
      Frames(1);
      lowest = std::min(lowest, part.fade);
      highest = std::max(highest, part.fade);
    }
    EXPECT_EQ(lowest, c.bottom - 1.0f) << c.behaviour;
    EXPECT_EQ(highest, c.top) << c.behaviour;
  }
}

}  // namespace
