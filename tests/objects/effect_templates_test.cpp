// Scenery, ending and behaviour effects: what their descriptions say about arguments,
// draw order, record counts and fixed slots.
#include <gtest/gtest.h>

#include <cstring>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "game_library.h"
#include "objects/objects.h"
#include "records_made.h"

namespace {

using EffectTemplates = RecordsMade;

// Templates that place themselves from constants, draws and the player alone.
constexpr int kArgumentFree[] = {
    2105, 2106, 2107, 2115, 2131, 2132, 2137, 2138, 2139, 2140, 2161, 2162, 2164, 2165, 2166, 2169, 2170, 2171, 2172,
    2175, 2176, 2195, 2201, 2202, 2203, 2204, 2224, 2233, 2234, 2236, 2239, 2240, 2014, 2179, 2205, 2225, 2237};

TEST_F(EffectTemplates, SceneryIgnoresItsArguments) {
  const std::vector<GameObject> start = Snapshot();
  for (int stage : {4, 5}) {
    Stage = stage;
    for (int templateId : kArgumentFree) {
      std::vector<GameObject> pools[2];
      for (int variant = 0; variant < 2; ++variant) {
        std::memcpy(ObjectPool, start.data(), sizeof ObjectPool);
        ForgetFreeSlotHint();
        SeedRandom(0);
        CreateObject(templateId, variant * 731, variant * -209, variant, variant * 3);
        pools[variant] = Snapshot();
      }
      EXPECT_EQ(std::memcmp(pools[0].data(), pools[1].data(), sizeof ObjectPool), 0) << templateId;
    }
  }
}

TEST_F(EffectTemplates, SceneryDrawsInColumnOrder) {
  for (int templateId : {2170, 2176}) {
    for (const auto& [draw, layer] : {std::pair{10, 6}, std::pair{9, 3}, std::pair{0, 3}}) {
      ScriptRandom(RandomScript::Listed, {draw});
      EXPECT_EQ(Create(templateId, 0, 0, 0, 0).at(0)->layer, layer) << templateId;
    }
  }
  ScriptRandom(RandomScript::Listed, {0, 0, 0, 0, 0, 200, 0});  // x, y twice, row, scale, fade, facing
  EXPECT_EQ(Create(2132, 0, 0, 0, 0).at(0)->fade, -100.0f);
  ScriptRandom(RandomScript::Zero);
  EXPECT_EQ(Create(2132, 0, 0, 0, 0).at(0)->fade, -300.0f);
  ScriptRandom(RandomScript::Listed, {1, 50});  // 2163's leading draw picks the velocity
  const GameObject& piece = *Create(2163, 3000, 0, 0, 0).at(0);
  EXPECT_TRUE(piece.x == 3050.0f && piece.vx == -8.0f && piece.vy == -6.0f);
  Stage7ScrollBoost = 3;
  ScriptRandom(RandomScript::Zero);
  EXPECT_EQ(Create(2201, 0, 0, 0, 0).at(0)->vx, -4.0f);
}

TEST_F(EffectTemplates, TheFarPieceGlowsOnlyInStageFiveOnRow307) {
  for (const auto& [stage, draw, records] : {std::tuple{5, 0, 2u}, std::tuple{5, 1, 1u}, std::tuple{4, 0, 1u}}) {
    Stage = stage;
    ScriptRandom(RandomScript::Listed, {draw});
    const std::vector<GameObject*> made = Create(2169, 0, 0, 0, 0);
    ASSERT_EQ(made.size(), records);
    EXPECT_EQ(made[0]->vx, stage == 4 ? -6.0f : -16.0f);
    EXPECT_TRUE(records == 1 || (made[1]->animation == 319 && made[1]->y == 940.0f));
  }
}

TEST_F(EffectTemplates, EndingFiguresKeepTheirSlotsAndPagesTheirRows) {
  EXPECT_EQ(Create(2235, 260, 0, 0, 0).size(), 1u);
  EXPECT_TRUE(ObjectPool[10].x == 260.0f && ObjectPool[10].y == 370.0f);
  for (const auto& [templateId, page, row] :
       {std::tuple{2244, 0, 415}, std::tuple{2244, 14, 429}, std::tuple{2245, 12, 427}, std::tuple{2250, 0, 431}}) {
    EXPECT_EQ(Create(templateId, 770, 500, 0, page).at(0)->animation, row) << templateId;
  }
  CreateObject(2241, 500, -200, 0, 0);
  const std::vector<GameObject> before = Snapshot();
  EXPECT_EQ(Create(2241, 440, 800, 0, 0).size(), 1u);
  EXPECT_EQ(DescribeChanges(before), "slot 12: state=1 layer=5 category=6 x=440 y=800 vy=1.20000005 imageSet=21"
                                     " fade=20 animation=413 behaviour=4161\n");
}

TEST_F(EffectTemplates, BehaviourEffectsReadTheirNumbers) {
  EXPECT_EQ(Create(2194, 0, 0, 0, 100).at(0)->timer, 0);
  EXPECT_EQ(Create(2194, 0, 0, 0, 0).at(0)->timer, 1100);
  ObjectPool[300] = ResetValues();
  ObjectPool[300].x = 1234.5f, ObjectPool[300].y = 456.25f;
  for (const auto& [flag, speed, turbo, count] : {std::tuple{0, 4, 4, 2u}, std::tuple{1, 6, 9, 6u}}) {
    BurstBonusFlag = flag, SpeedLevel = speed, TurboLevel = turbo;
    const std::vector<GameObject*> sparks = Create(2196, 0, 0, 0, 300);
    ASSERT_EQ(sparks.size(), count);
    for (const GameObject* spark : sparks) EXPECT_TRUE(spark->x == 1234.5f && spark->y == 456.25f);
  }
}

}  // namespace
