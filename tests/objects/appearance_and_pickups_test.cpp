#include <gtest/gtest.h>

#include "core/game_state.h"
#include "game_library.h"
#include "objects/objects.h"
#include "pool_fixture.h"

namespace {

class AppearanceAndPickups : public PoolFixture {};

TEST_F(AppearanceAndPickups, AppearanceEffectWritesThreeRecordsWithTheirOwnDraws) {
  struct Case {
    int templateId, stage;
    int swirlBehaviour, centreBehaviour;
    int swirlSet, centreSet, blend, centreAnimation;
  };
  const Case cases[] = {
      {2002, 1, 4003, 4002, 3, 1, 1, 1},
      {2002, 8, 4003, 4002, 42, 13, 2, 371},
      {2168, 5, 4090, 4089, 3, 1, 1, 1},
      {2168, 8, 4090, 4089, 42, 13, 2, 371},
  };
  for (const Case& c : cases) {
    SetUp();
    Stage = c.stage;
    const std::vector<int> d = DrawsFromSeed0({1, 2, 4, 360, 20, 1, 2, 4, 360, 20, 1, 1000000});
    CreateObject(c.templateId, 640, 400, 1, 2);
    SCOPED_TRACE(testing::Message() << c.templateId << " in stage " << c.stage);
    EXPECT_EQ(TakeSlotLog(), (std::vector<int>{50, 51, 52}));
    for (int i = 0; i < 2; ++i) {
      const GameObject& swirl = ObjectPool[50 + i];
      const int* draw = &d[1 + 5 * i];
      GameObject expected = ResetValues();
      expected.state = 1;
      expected.layer = 6;
      expected.category = 6;
      expected.x = 640.0f;
      expected.y = 400.0f;
      expected.collidable = 0;
      expected.width = expected.height = 128;
      expected.imageSet = c.swirlSet;
      expected.blendMode = c.blend;
      expected.fade = 250.0f;
      expected.animation = 2 + draw[0];
      expected.scaleDelta = static_cast<float>(draw[1]);
      expected.angle = static_cast<float>(draw[2]);
      expected.phase = static_cast<float>(draw[3] * 0.001);
      expected.phase2 = draw[4] == 0 ? 1.0f : -1.0f;
      expected.behaviour = c.swirlBehaviour;
      EXPECT_EQ(DescribeFields(swirl, ResetValues()), DescribeFields(expected, ResetValues()));
    }
    GameObject centre = ResetValues();
    centre.state = 1;
    centre.layer = 6;
    centre.category = 7;
    centre.x = 640.0f;
    centre.y = 400.0f;
    centre.collidable = 0;
    centre.width = centre.height = 32;
    centre.imageSet = c.centreSet;
    centre.blendMode = c.blend;
    centre.fade = 250.0f;
    centre.animation = c.centreAnimation;
    centre.scaleDelta = 4.0f;
    centre.behaviour = c.centreBehaviour;
    EXPECT_EQ(DescribeFields(ObjectPool[52], ResetValues()), DescribeFields(centre, ResetValues()));
    EXPECT_EQ(RandomInRange(1000000), d.back()) << "eleven draws, no more";
  }
}

TEST_F(AppearanceAndPickups, ScoreChipScalesWithTheValueItCopies) {
  const std::pair<int, float> cases[] = {{0, 0.0f},    {499, 0.0f},  {500, 0.2f},   {999, 0.2f},
                                         {1000, 0.6f}, {2000, 0.8f}, {5000, 1.4f},  {8000, 1.8f},
                                         {9999, 1.8f}, {10000, 2.6f}, {180000, 2.6f}};
  for (const auto& [scoreValue, scaleDelta] : cases) {
    SetUp();
    ObjectPool[60].scoreValue = scoreValue;
    CreateObject(1080, 300, 200, 0, 60);
    EXPECT_EQ(ObjectPool[50].scoreValue, scoreValue);
    EXPECT_EQ(ObjectPool[50].scaleDelta, scaleDelta) << scoreValue;
  }
}

TEST_F(AppearanceAndPickups, PickupsSpreadOverTheParentBoxAndWaitARandomDelay) {
  struct Case {
    int templateId, killChain;
    std::vector<int> maxima;  // x, y, timer, vx, vy
    bool bothWays;
    int delayBase;
  };
  const Case cases[] = {
      {1009, 0, {64, 64, 15, 8, 5}, false, 2},
      {1081, 0, {64, 64, 15, 8, 5}, false, 2},
      {1080, 0, {64, 64, 64, 64, 20, 8, 5}, true, 2},
      {1080, 10, {64, 64, 64, 64, 25, 8, 5}, true, 2},
      {1080, -5, {64, 64, 64, 64, 18, 8, 5}, true, 2},
      {1104, 10, {64, 64, 64, 64, 10, 8, 5}, true, 5},
  };
  for (const Case& c : cases) {
    SetUp();
    KillChain = c.killChain;
    std::vector<int> maxima = c.maxima;
    maxima.push_back(1000000);
    const std::vector<int> d = DrawsFromSeed0(maxima);
    CreateObject(c.templateId, 300, 200, 1, 0);
    SCOPED_TRACE(testing::Message() << c.templateId << " at KillChain " << c.killChain);
    const GameObject& chip = ObjectPool[50];
    const size_t n = c.maxima.size();
    const int dx = c.bothWays ? d[1] - d[0] : d[0];
    const int dy = c.bothWays ? d[3] - d[2] : d[1];
    EXPECT_EQ(chip.x, static_cast<float>(300 + dx));
    EXPECT_EQ(chip.y, static_cast<float>(200 + dy));
    EXPECT_EQ(chip.timer, d[n - 3] + c.delayBase);
    EXPECT_EQ(chip.vx, static_cast<float>(d[n - 2] - 4));
    EXPECT_EQ(chip.vy, static_cast<float>(-(d[n - 1] + 3)));
    EXPECT_EQ(chip.state, 2);
    EXPECT_EQ(chip.facing, 0);
    EXPECT_EQ(RandomInRange(1000000), d.back());
  }
}

TEST_F(AppearanceAndPickups, ExperienceChipPaysByStageAndPowerMode) {
  const struct {
    int stage, powerModeB, expValue;
  } cases[] = {{1, 0, 40}, {2, 0, 38}, {6, 1, 18}, {7, 0, 32}, {7, 1, 12}, {8, 1, 16},
               {9, 0, 0},  {0, 1, 0},  {3, 2, 0}};
  for (const auto& c : cases) {
    SetUp();
    Stage = c.stage;
    PowerModeB = c.powerModeB;
    CreateObject(1081, 0, 0, 0, 0);
    EXPECT_EQ(ObjectPool[50].expValue, c.expValue) << "stage " << c.stage << " mode " << c.powerModeB;
  }
}

}  // namespace
