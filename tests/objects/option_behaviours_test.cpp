// Options: the movement types, the shot counters and the experience trickle.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "../support/seeded_floats.h"
#include "behaviour_fixture.h"
#include "objects/behaviours/behaviour_dispatch.h"

namespace {

class Options : public BehaviourTest {
 protected:
  static GameObject& PutOption(int number, float x = 500.0f, float y = 400.0f) {
    return Put(30 + number, kCategoryEffect, 4083, x, y);
  }
};

TEST_F(Options, TraceSitsOnTrailEntriesSevenApartAndOnlyTraceMovesOptionsFiveAndSix) {
  for (int i = 0; i < kTrailLength; ++i) PlayerTrailX[i] = PlayerTrailY[i] = 10.0f * i;
  PutOption(2);
  PutOption(6);
  Frames(1);
  EXPECT_EQ(std::tuple(ObjectPool[32].x, ObjectPool[32].y, ObjectPool[36].x), std::tuple(140.0f, 140.0f, 420.0f));
  OptionType = 1;
  Frames(1);
  EXPECT_EQ(ObjectPool[36].x, 420.0f);
}

TEST_F(Options, FormationAndGuardCoverTheirShareOfTheWayToEachPointAndTurnOnIt) {
  // type, option, x offset at facing 0 and 1, y offset, divisor: the movement table
  const int points[][6] = {{1, 1, -40, 40, -70, 4},   {1, 2, -40, 40, 70, 4},    {1, 3, -70, 70, -120, 8},
                           {1, 4, -70, 70, 120, 8},   {3, 1, 140, -150, -40, 2}, {3, 2, 140, -150, 40, 2},
                           {3, 3, 110, -120, -80, 3}, {3, 4, 110, -120, 80, 3}};
  for (const auto& [type, number, dxRight, dxLeft, dy, divisor] : points) {
    for (const int facing : {0, 1}) {
      OptionType = type;
      Player().facing = facing;
      const float x = Player().x + (facing == 0 ? dxRight : dxLeft), y = Player().y + dy;
      // 50 x divisor away and heading there: a frame covers (40, 30).
      GameObject& option = PutOption(number, x + 40.0f * divisor, y + 30.0f * divisor);
      option.vx = -4.0f;
      option.vy = -3.0f;
      Frames(1);
      EXPECT_FLOAT_EQ(option.x, x + 40.0f * (divisor - 1)) << type << number << facing;
      EXPECT_FLOAT_EQ(option.y, y + 30.0f * (divisor - 1)) << type << number << facing;
      option.state = kStateFree;
    }
  }
  OptionType = 1;
  Player().facing = 0;
  GameObject& onPoint = PutOption(1, Player().x - 40.0f, Player().y - 70.0f);
  onPoint.vx = 1.0f;
  Frames(1);
  EXPECT_NEAR(onPoint.vx, std::cos(70.0 * 3.14159265358979 / 180.0), 1e-6);  // turned by the limit
}

TEST_F(Options, RollingWidensBy4AFrameWithFourOptionsAndComesBack) {
  OptionType = 2;
  for (int number = 1; number <= 4; ++number) PutOption(number);
  ActionHold[1] = 1;
  Frames(12);
  EXPECT_EQ(BehaviourParam80, 128);
  Frames(1);
  EXPECT_EQ(BehaviourParam80, 130);
  EXPECT_FLOAT_EQ(ObjectPool[32].x, static_cast<float>(Player().x + 130 * std::sin(ObjectPool[31].phase + 3.0)));
  ActionHold[1] = 0;
  Frames(13);
  EXPECT_EQ(BehaviourParam80, 80);
}

// The circle over a few hundred angles and places: option 1's angle steps in double
// and is stored as a float; each option's angle is a float, its sine and cosine are
// single precision, and the place is worked in double and stored once.
TEST_F(Options, RollingPlacesRoundAsWritten) {
  constexpr double kOffsets[4] = {0.0, 3.0, 1.5, 4.5};
  SeededFloats uniform;
  OptionType = 2;
  for (int i = 0; i < 300; ++i) {
    for (int number = 1; number <= 4; ++number) PutOption(number);
    const int radius = i % 2 == 0 ? 80 : 130;
    BehaviourParam80 = radius, ActionHold[1] = radius == 130 ? 1 : 0;  // the radius holds
    ObjectPool[31].phase = uniform(-60.0f, 60.0f);
    Player().x = uniform(200.0f, 6000.0f), Player().y = uniform(200.0f, 1800.0f);
    const float first = static_cast<float>(ObjectPool[31].phase - 0.08);
    Frames(1);
    for (int number = 1; number <= 4; ++number) {
      const float angle = static_cast<float>(first + kOffsets[number - 1]);
      const float x = static_cast<float>(Player().x + radius * static_cast<double>(std::sin(angle)));
      const float y = static_cast<float>(Player().y + radius * static_cast<double>(std::cos(angle)));
      ASSERT_EQ(std::tuple(ObjectPool[30 + number].x, ObjectPool[30 + number].y), std::tuple(x, y)) << i << " " << number;
    }
  }
}

TEST_F(Options, ShotsFireByTheTableWhileTheFirstActionIsHeld) {
  const std::vector<int> third = {1, 4, 7, 10, 13, 16, 19, 22, 25, 28},
                         second = {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29};
  // shot, level, fire frames (from step, reload, burst and gap), template, parameter
  const std::tuple<int, int, std::vector<int>, int, int> cases[] = {
      {0, 2, {1, 3, 13, 15, 25, 27}, 2156, 0},          // reload 36 at 3 a frame: 12 frames
      {0, 5, {1, 3, 10, 12, 19, 21, 28, 30}, 2219, 0},  // 26: 9 frames
      {1, 2, third, 2157, 31},                          // reloads before its burst of 4 ends
      {2, 5, third, 2222, 31},
      {3, 2, second, 2173, 31},
      {3, 5, second, 2221, 31}};
  for (const auto& [shot, level, frames, templateId, parameter] : cases) {
    OptionShot = shot;
    OptionLevel = level;
    for (const int held : {1, 0}) {
      ActionHold[0] = held;
      OptionFireTimer[31] = OptionBurstLeft[31] = OptionBurstGap[31] = 0;
      PutOption(1);
      ClearCallLog();
      std::vector<int> fired;
      for (int frame = 1; frame <= 30; ++frame) {
        const std::size_t before = CallsOf(Call::CreateObject).size();
        Frames(1);
        if (CallsOf(Call::CreateObject).size() > before) fired.push_back(frame);
      }
      EXPECT_EQ(fired, held ? frames : std::vector<int>{}) << shot << " level " << level << " held " << held;
      if (held) {
        const RecordedCall first = CallsOf(Call::CreateObject)[0];
        EXPECT_EQ(std::tuple(first.Int(0), first.Int(4)), std::tuple(templateId, parameter));
      }
    }
  }
  OptionShot = 0;
  OptionLevel = 2;
  ActionHold[0] = 1;
  Frames(1);  // a WizardSpike burst starts its reload of 36, which runs at 6 once released
  ActionHold[0] = 0;
  Frames(3);
  EXPECT_EQ(OptionFireTimer[31], 36 - 3 * 6);
}

TEST_F(Options, TricklePaysTenTimesAt1440AndTwelveAt1200) {
  const Behaviour option = BehaviourFor(kCategoryEffect, 4083);
  for (const auto& [level, period, payments] : {std::tuple{2, 1440, 10}, std::tuple{5, 1200, 12}}) {
    OptionLevel = level;
    ExpGauge = 0.0f;
    GameObject& record = PutOption(1);
    std::vector<int> paidAt;
    for (int frame = 0; frame < 20000; ++frame) {
      ClearCallLog();
      option(31);
      if (!CallsOf(Call::CreateObject).empty()) paidAt.push_back(record.timer - 1);
    }
    std::vector<int> multiples;
    for (int i = 1; i <= payments; ++i) multiples.push_back(period * i);  // the last at 14400
    EXPECT_EQ(paidAt, multiples);
    EXPECT_NEAR(ExpGauge, 3.2 * payments, 1e-3);
  }
}

}  // namespace
