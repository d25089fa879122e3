// The drawn and computed fields of the appearance effect and the pickups; their
// constant fields are in the template sweep.
#include <gtest/gtest.h>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "objects/objects.h"
#include "pool_fixture.h"

namespace {

class AppearanceAndPickups : public PoolFixture {};

TEST_F(AppearanceAndPickups, EachSwirlTakesItsOwnDraws) {
  ScriptRandom(RandomScript::Listed, {1, 2, 3, 300, 20, 0, 1, 4, 7, 5, 1});
  CreateObject(2002, 640, 400, 0, 0);
  const struct {
    int animation;
    float scaleDelta, angle, phase, phase2;
  } swirls[] = {{4, 3.0f, 300.0f, static_cast<float>(20 * 0.001), 1.0f},
                {3, 4.0f, 7.0f, static_cast<float>(5 * 0.001), -1.0f}};
  for (int i = 0; i < 2; ++i) {
    const GameObject& swirl = ObjectPool[50 + i];
    EXPECT_EQ(swirl.animation, swirls[i].animation);
    EXPECT_EQ(swirl.scaleDelta, swirls[i].scaleDelta);
    EXPECT_EQ(swirl.angle, swirls[i].angle);
    EXPECT_EQ(swirl.phase, swirls[i].phase);
    EXPECT_EQ(swirl.phase2, swirls[i].phase2);
  }
}

TEST_F(AppearanceAndPickups, ScoreChipScalesWithTheValueItCopies) {
  const std::pair<int, float> cases[] = {{0, 0.0f},    {499, 0.0f},   {500, 0.2f},   {999, 0.2f},
                                         {1000, 0.6f}, {2000, 0.8f},  {5000, 1.4f},  {8000, 1.8f},
                                         {9999, 1.8f}, {10000, 2.6f}, {180000, 2.6f}};
  for (const auto& [scoreValue, scaleDelta] : cases) {
    SetUp();
    ObjectPool[60].scoreValue = scoreValue;
    CreateObject(1080, 300, 200, 0, 60);
    EXPECT_EQ(ObjectPool[50].scoreValue, scoreValue);
    EXPECT_EQ(ObjectPool[50].scaleDelta, scaleDelta) << scoreValue;
  }
}

TEST_F(AppearanceAndPickups, PickupsLandWithinTheParentBoxAndTossUpward) {
  // Draws: x, y (the chips: minus then plus), delay, vx, vy.
  const struct {
    int templateId;
    std::vector<int> draws;
    float x, y;
    int timer;
  } cases[] = {
      {1009, {64, 0, 15, 0, 5}, 364.0f, 200.0f, 17},
      {1081, {3, 64, 0, 8, 0}, 303.0f, 264.0f, 2},
      {1080, {64, 0, 0, 64, 22, 8, 5}, 236.0f, 264.0f, 24},
      {1104, {0, 10, 64, 0, 10, 0, 0}, 310.0f, 136.0f, 15},
  };
  for (const auto& c : cases) {
    SetUp();
    ScriptRandom(RandomScript::Listed, c.draws);
    CreateObject(c.templateId, 300, 200, 1, 0);
    const GameObject& chip = ObjectPool[50];
    const size_t n = c.draws.size();
    EXPECT_EQ(chip.x, c.x) << c.templateId;
    EXPECT_EQ(chip.y, c.y) << c.templateId;
    EXPECT_EQ(chip.timer, c.timer) << c.templateId;
    EXPECT_EQ(chip.vx, static_cast<float>(c.draws[n - 2] - 4));
    EXPECT_EQ(chip.vy, static_cast<float>(-(c.draws[n - 1] + 3)));
  }
}

TEST_F(AppearanceAndPickups, ExperienceChipPaysByStageAndPowerMode) {
  const struct {
    int stage, powerModeB, expValue;
  } cases[] = {{1, 0, 40}, {2, 0, 38}, {6, 1, 18}, {7, 0, 32}, {7, 1, 12}, {8, 1, 16}, {9, 0, 0}, {0, 1, 0}, {3, 2, 0}};
  for (const auto& c : cases) {
    SetUp();
    Stage = c.stage;
    PowerModeB = c.powerModeB;
    CreateObject(1081, 0, 0, 0, 0);
    EXPECT_EQ(ObjectPool[50].expValue, c.expValue) << "stage " << c.stage << " mode " << c.powerModeB;
  }
}

}  // namespace
