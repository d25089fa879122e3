// Flight and camera: bounds under any input, the push windows, the trail and the gauge.
#include <random>

#include "player_fixture.h"

namespace {

using PlayerControlTest = PlayerTest;

TEST_F(PlayerControlTest, RandomFlightKeepsCameraAndPlayerInBounds) {
  std::mt19937 random(7);
  auto uniform = [&](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
  const int locks[] = {0, 1, 50};
  GameObject& player = ObjectPool[kPlayerSlot];
  for (int frame = 0; frame < 10000; ++frame) {
    const unsigned bits = random();
    BitHold[0] = bits & 1 ? BitHold[0] + 1 : 0;
    BitHold[1] = bits & 2 && BitHold[0] == 0 ? BitHold[1] + 1 : 0;
    BitHold[2] = bits & 4 ? BitHold[2] + 1 : 0;
    BitHold[3] = bits & 8 && BitHold[2] == 0 ? BitHold[3] + 1 : 0;
    TurnSpeed = uniform(-40.0f, 40.0f);
    BoostSpeed = uniform(0.0f, 60.0f);
    FacingLock = locks[bits % 3];
    if (frame % 500 == 0) player.x = uniform(-100.0f, 6500.0f), player.y = uniform(-100.0f, 2000.0f);
    UpdatePlayerControl();
    ASSERT_TRUE(CameraX >= 0.01f && CameraX <= 5375.99f && CameraY >= 0.01f && CameraY <= 1151.9f)
        << frame << ": " << CameraX << ", " << CameraY;
    ASSERT_TRUE(player.x >= 32.0f && player.x <= 6368.0f && player.y >= 32.0f && player.y <= 1888.0f) << frame;
  }
}

TEST_F(PlayerControlTest, TheCameraIsPushedOnlyWithinItsWindows) {
  struct Case {
    int hold;
    float at;  // the player's y for up and down, x for left and right
    int lock;
    float push;  // expected camera move
  };
  const Case cases[] = {
      {0, 320.0f, 0, -10}, {0, 319.9f, 0, 0},     {0, 1470.0f, 0, -10},  {0, 1470.1f, 0, 0},
      {1, 340.0f, 0, 10},  {1, 339.9f, 0, 0},     {1, 1472.0f, 0, 10},   {1, 1472.1f, 0, 0},
      {2, 160.0f, 0, -10}, {2, 159.9f, 0, 0},     {2, 6080.0f, 0, -10},  {2, 6080.1f, 0, 0},
      {2, 32.0f, 1, -10},  {2, 32.0f, 50, -10},   {2, 6080.1f, 1, 0},    {3, 6240.0f, 0, 10},
      {3, 6240.1f, 0, 0},  {3, 320.0f, 0, 10},    {3, 319.9f, 0, 0},     {3, 6368.0f, 1, 10},
      {3, 6368.0f, 50, 10}, {3, 319.9f, 50, 0},
  };
  for (const Case& c : cases) {
    BitHold[0] = BitHold[1] = BitHold[2] = BitHold[3] = 0;
    BitHold[c.hold] = 1;
    FacingLock = c.lock;
    (c.hold < 2 ? ObjectPool[0].y : ObjectPool[0].x) = c.at;
    CameraX = CameraY = 1000.0f;
    ControlFrame frame;
    frame.push = 10.0;
    PushCameraByInput(frame);
    EXPECT_EQ((c.hold < 2 ? CameraY : CameraX) - 1000.0f, c.push) << c.hold << " at " << c.at << " lock " << c.lock;
  }
}

TEST_F(PlayerControlTest, AnIdlePlayerSlidesItsTrailWithTheScroll) {
  struct Case {
    int speedLevel;
    float drift;  // whole sixteenths of the level, plus 0.6
    float gauge;  // at rest: drift x 321
  };
  for (const Case& c : {Case{5, 0.6f, 192.6f}, Case{16, 1.6f, 513.6f}}) {
    SetUp();
    SpeedLevel = c.speedLevel;
    const float drift = c.drift;
    for (int i = 0; i < kTrailLength; ++i) PlayerTrailX[i] = PlayerTrailY[i] = 100.0f + i;
    for (int frame = 0; frame < 60; ++frame) UpdatePlayerControl();
    for (int i = 1; i < kTrailLength; ++i) {
      EXPECT_NEAR(PlayerTrailX[i], 100.0f + i + 60 * drift, 1e-3) << i;
      EXPECT_EQ(PlayerTrailY[i], 100.0f + i);
    }
    EXPECT_EQ(PlayerTrailX[0], ObjectPool[0].x);
    EXPECT_FLOAT_EQ(SpeedGauge, c.gauge);
  }
}

}  // namespace
