// Options: the movement types, the shot counters and the experience trickle.
#include <gtest/gtest.h>

#include <cmath>

#include "behaviour_fixture.h"
#include "objects/behaviours/behaviour_dispatch.h"

namespace {

class Options : public BehaviourTest {
 protected:
  static GameObject& PutOption(int number, float x = 500.0f, float y = 400.0f) {
    return Put(30 + number, kCategoryEffect, 4083, x, y);
  }
  static std::vector<int> FireFrames(int frames) {
    std::vector<int> fired;
    for (int frame = 1; frame <= frames; ++frame) {
      ClearCallLog();
      Frames(1);
      if (!CallsOf(Call::CreateObject).empty()) fired.push_back(frame);
    }
    return fired;
  }
};

TEST_F(Options, TraceSitsOnTrailEntriesSevenApart) {
  for (int i = 0; i < kTrailLength; ++i) {
    PlayerTrailX[i] = 10.0f * i;
    PlayerTrailY[i] = 5.0f * i;
  }
  PutOption(2);
  PutOption(6);
  Frames(1);
  EXPECT_EQ(ObjectPool[32].x, 140.0f);
  EXPECT_EQ(ObjectPool[32].y, 70.0f);
  EXPECT_EQ(ObjectPool[36].x, 420.0f);
}

// Formation and Guard points, typed from the movement table: type, option, x offset
// with the player facing 0 and 1, y offset, divisor.
struct PointRow {
  int type, option, dxRight, dxLeft, dy, divisor;
};
constexpr PointRow kPoints[] = {
    {1, 1, -40, 40, -70, 4},   {1, 2, -40, 40, 70, 4},    {1, 3, -70, 70, -120, 8}, {1, 4, -70, 70, 120, 8},
    {3, 1, 140, -150, -40, 2}, {3, 2, 140, -150, 40, 2},  {3, 3, 110, -120, -80, 3}, {3, 4, 110, -120, 80, 3},
};

TEST_F(Options, FormationAndGuardCoverTheirShareOfTheWayToEachPoint) {
  for (const PointRow& row : kPoints) {
    for (const int facing : {0, 1}) {
      OptionType = row.type;
      Player().facing = facing;
      const float targetX = Player().x + (facing == 0 ? row.dxRight : row.dxLeft);
      const float targetY = Player().y + row.dy;
      // 50 x divisor away, already heading there: one frame covers (40, 30) of (40, 30) x divisor.
      GameObject& option = PutOption(row.option, targetX + 40.0f * row.divisor, targetY + 30.0f * row.divisor);
      option.vx = -4.0f;
      option.vy = -3.0f;
      Frames(1);
      EXPECT_FLOAT_EQ(option.x, targetX + 40.0f * (row.divisor - 1)) << row.type << row.option << facing;
      EXPECT_FLOAT_EQ(option.y, targetY + 30.0f * (row.divisor - 1)) << row.type << row.option << facing;
      option.state = kStateFree;
    }
  }
}

TEST_F(Options, OnItsPointAnOptionTurnsAndOptionsFiveAndSixOnlyTrace) {
  OptionType = 1;
  GameObject& option = PutOption(1, Player().x - 40.0f, Player().y - 70.0f);
  option.vx = 1.0f;
  GameObject& fifth = PutOption(5);
  Frames(1);
  EXPECT_EQ(option.phase, 0.0f);
  EXPECT_NEAR(std::hypot(option.vx, option.vy), 1.0, 1e-6);
  EXPECT_NEAR(option.vx, std::cos(70.0 * 3.14159265358979 / 180.0), 1e-6);
  EXPECT_EQ(fifth.x, 500.0f);
  EXPECT_EQ(fifth.y, 400.0f);
}

TEST_F(Options, RollingWidensBy4AFrameWithFourOptionsAndComesBack) {
  OptionType = 2;
  for (int number = 1; number <= 4; ++number) PutOption(number);
  ActionHold[1] = 1;
  Frames(12);
  EXPECT_EQ(BehaviourParam80, 128);
  Frames(1);
  EXPECT_EQ(BehaviourParam80, 130);
  const double angle = ObjectPool[31].phase + 3.0;
  EXPECT_FLOAT_EQ(ObjectPool[32].x, static_cast<float>(Player().x + 130 * std::sin(angle)));
  ActionHold[1] = 0;
  Frames(13);
  EXPECT_EQ(BehaviourParam80, 80);
}

TEST_F(Options, ShotsFireByTheTableWhileTheFirstActionIsHeld) {
  struct Case {
    int shot, level;
    std::vector<int> frames;  // from step, reload, burst and gap of the shot table
    int templateId, parameter;
  };
  const std::vector<int> everyThird = {1, 4, 7, 10, 13, 16, 19, 22, 25, 28};
  const Case cases[] = {
      {0, 2, {1, 3, 13, 15, 25, 27}, 2156, 0},  // reload 36 at 3 a frame: 12 frames
      {0, 5, {1, 3, 10, 12, 19, 21, 28, 30}, 2219, 0},  // 26: 9 frames
      {1, 2, everyThird, 2157, 31},            // reloads before its burst of 4 ends
      {2, 5, everyThird, 2222, 31},
      {3, 2, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29}, 2173, 31},
      {3, 5, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29}, 2221, 31},
  };
  OptionType = 0;
  for (const Case& c : cases) {
    OptionShot = c.shot;
    OptionLevel = c.level;
    OptionFireTimer[31] = OptionBurstLeft[31] = OptionBurstGap[31] = 0;
    PutOption(1);
    ActionHold[0] = 1;
    ClearCallLog();
    Frames(1);
    const RecordedCall shot = CallsOf(Call::CreateObject).at(0);
    EXPECT_EQ(shot.Int(0), c.templateId);
    EXPECT_EQ(shot.Int(4), c.parameter);
    OptionFireTimer[31] = OptionBurstLeft[31] = OptionBurstGap[31] = 0;
    EXPECT_EQ(FireFrames(30), c.frames) << c.shot << " level " << c.level;
    ActionHold[0] = 0;
    OptionFireTimer[31] = OptionBurstLeft[31] = OptionBurstGap[31] = 0;
    EXPECT_TRUE(FireFrames(10).empty()) << c.shot << " released";
  }
}

TEST_F(Options, ReleasedWizardSpikeReloadsAt6AFrame) {
  OptionShot = 0;
  OptionLevel = 2;
  PutOption(1);
  ActionHold[0] = 1;
  Frames(1);
  ActionHold[0] = 0;
  for (int frame = 1; frame <= 6; ++frame) {
    Frames(1);
    EXPECT_EQ(OptionFireTimer[31], 36 - 6 * frame);
  }
}

TEST_F(Options, TricklePaysTenTimesAt1440AndTwelveAt1200) {
  const Behaviour option = BehaviourFor(kCategoryEffect, 4083);
  for (const auto [level, period, payments] : {std::tuple{2, 1440, 10}, std::tuple{5, 1200, 12}}) {
    OptionLevel = level;
    ExpGauge = 0.0f;
    GameObject& record = PutOption(1);
    std::vector<int> paidAt;
    for (int frame = 0; frame < 20000; ++frame) {
      const int before = CallsOf(Call::CreateObject).size();
      option(31);
      if (static_cast<int>(CallsOf(Call::CreateObject).size()) > before) paidAt.push_back(record.timer - 1);
      ClearCallLog();
    }
    ASSERT_EQ(static_cast<int>(paidAt.size()), payments) << level;
    for (int i = 0; i < payments; ++i) EXPECT_EQ(paidAt[i], period * (i + 1));
    EXPECT_EQ(paidAt.back(), 14400);
    EXPECT_NEAR(ExpGauge, 3.2 * payments, 1e-3);
  }
}

}  // namespace
