// The templates' computed fields, draws, sounds and bookkeeping, against values typed
// from the templates' written formulas and worked examples.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "objects/objects.h"
#include "pool_fixture.h"

namespace {

std::vector<int> Maxima() {
  std::vector<int> maxima;
  for (const RecordedCall& call : CallsOf(Call::RandomInRange)) maxima.push_back(call.Int(0));
  return maxima;
}

const std::vector<int> kAppear = {1, 2, 4, 360, 20, 1, 2, 4, 360, 20, 1};
std::vector<int> AfterAppear(std::vector<int> own) {
  own.insert(own.begin(), kAppear.begin(), kAppear.end());
  return own;
}

class TemplateFormulas : public PoolFixture {};

TEST_F(TemplateFormulas, EachTemplateDrawsItsMaximaInOrder) {
  const struct {
    int templateId, parentSlot, killChain;
    std::vector<int> maxima;
  } cases[] = {
      {2002, 0, 0, kAppear},
      {1106, 1, 0, {0, 0, 15, 8, 5}},
      {1080, 2, 0, {0, 0, 0, 0, 20, 8, 5}},
      {1080, 2, 10, {0, 0, 0, 0, 25, 8, 5}},
      {1009, 0, 0, {64, 64, 15, 8, 5}},
      {1043, 1, 0, AfterAppear({1, 1000, 1000})},
      {1048, 1, 0, AfterAppear({1, 1000, 1000})},
      {1086, 1, 0, AfterAppear({1000, 1000})},
      {1098, 1, 0, AfterAppear({1000, 1000})},
      {1082, 1, 0, AfterAppear({20, 20, 99})},
      {1029, 1, 0, AfterAppear({10, 10, 10, 10})},
      {1029, 2, 0, AfterAppear({5, 5, 5, 5})},
      {2015, 0, 0, {100, 100, 14, 10, 8}},
      {2016, 0, 0, {100, 100, 17, 1, 10, 10}},
      {2017, 0, 0, {7, 1, 3, 15}},
      {2145, 0, 0, {7, 1, 10, 5, 7, 1, 10, 30}},
      {2208, 0, 0, {300, 300, 14, 8}},
      {2141, 0, 0, {10, 10, 100, 30, 5, 15}},
      {2146, 0, 0, {10, 10, 100, 10, 5, 40}},
      {2143, 0, 0, {10, 1, 10, 10, 100}},
      {2181, 0, 0, {20, 1200, 1200, 20, 20}},
      {2180, 0, 0, {360}},
      {2229, 0, 0, {360}},
      {1042, 1, 0, {360, 360}},
      {1015, 1, 0, {}},
      {1105, 1, 0, {}},
  };
  for (const auto& c : cases) {
    SetUp();
    KillChain = c.killChain;
    ScriptRandom(RandomScript::Zero);
    CreateObject(c.templateId, 640, 400, 0, c.parentSlot);
    EXPECT_EQ(Maxima(), c.maxima) << c.templateId;
  }
}

TEST_F(TemplateFormulas, AppearanceSoundsPlayOnlyWhenIdleAndTheDrawIsMadeAnyway) {
  for (int playing : {0, 1}) {
    for (auto [templateId, sound] : {std::pair{2002, 62}, {2168, 62}, {2180, 92}, {2229, 92}}) {
      SetUp();
      SeHandles[sound] = 700 + sound;
      ScriptRandom(RandomScript::Max);
      SetForwarding(Call::IsSoundPlaying, false);
      SetScriptedResult(Call::IsSoundPlaying, playing);
      CreateObject(templateId, 640, 400, 0, 0);
      const auto starts = CallsOf(Call::StartSound);
      ASSERT_EQ(starts.size(), playing ? 0u : 1u) << templateId;
      EXPECT_EQ(CallsOf(Call::IsSoundPlaying).at(0).Int(0), 700 + sound);
      if (!playing) {
        EXPECT_EQ(starts[0].Int(0), 700 + sound);
        EXPECT_EQ(CallsOf(Call::SetSoundVolume).at(0).Int(0), 255);
      }
    }
  }
}

TEST_F(TemplateFormulas, BossHitPointsAndTheirBands) {
  const struct {
    int templateId, shot, option, turbo, slot, hitPoints;
    float work0;
  } cases[] = {
      {1033, 1, 0, 1, 53, 15500, 0.0f}, {1042, 1, 0, 1, 10, 20800, 1.0f}, {1042, 3, 0, 1, 10, 44800, 0.0f},
      {1042, 1, 0, 0, 10, 20000, 1.0f}, {1054, 1, 0, 1, 56, 25600, 2.0f}, {1054, 2, 0, 1, 56, 45600, 1.0f},
      {1085, 1, 0, 1, 10, 21600, 0.0f}, {1094, 4, 6, 9, 10, 81500, 0.0f}, {1105, 1, 0, 1, 10, 46200, 0.0f},
      {1105, 4, 6, 9, 10, 99999, 0.0f}, {1076, 1, 3, 1, 53, 21200, 0.0f}, {1077, 1, 3, 1, 53, 20000, 0.0f},
      {1076, 1, 0, 1, 53, 17600, 0.0f}, {1077, 1, 0, 1, 53, 17600, 0.0f}, {1078, 1, 0, 1, 53, 17600, 0.0f},
  };
  for (const auto& c : cases) {
    SetUp();
    ShotLevel = c.shot, OptionLevel = c.option, TurboLevel = c.turbo;
    CreateObject(c.templateId, 640, 400, 0, 1);
    EXPECT_EQ(ObjectPool[c.slot].hitPoints, c.hitPoints) << c.templateId;
    EXPECT_EQ(ObjectPool[c.slot].work[0], c.work0) << c.templateId;
  }
}

TEST_F(TemplateFormulas, TallyGroupsAndUntouchedSlots) {
  const struct {
    int templateId, parentSlot;
    float enemies, coins;
    std::vector<std::pair<int, int>> groups;  // slot, group
    std::vector<int> untouched;
  } cases[] = {
      {1097, 2, 9.0f, 234.0f, {{11, 2}, {19, 3}, {20, 2}}, {17}},
      {1108, 2, 8.0f, 272.0f, {{50, 2}, {58, 2}}, {}},
      {1085, 1, 1.0f, 30.0f, {{10, 1}}, {11, 13}},
      {1103, 2, 0.0f, 0.0f, {{10, 3}}, {}},
      {1105, 2, 1.0f, 180.0f, {{10, 1}}, {11, 12}},
      {1106, 1, 0.0f, 0.0f, {{50, 2}}, {}},
      {1107, 1, 0.0f, 0.0f, {{50, 2}}, {}},
      {1110, 1, 0.0f, 0.0f, {{53, 99}}, {}},
      {1015, 2, 0.0f, 0.0f, {{50, 2}}, {}},
      {1005, 2, 0.0f, 0.0f, {{53, 2}}, {}},
      {1024, 2, 1.0f, 1.0f, {{53, 2}}, {}},
  };
  for (const auto& c : cases) {
    SetUp();
    ObjectPool[11].hitPoints = ObjectPool[13].hitPoints = ObjectPool[17].hitPoints = 77;
    ObjectPool[12].hitPoints = 77;
    CreateObject(c.templateId, 640, 400, 0, c.parentSlot);
    EXPECT_EQ(StageEnemiesSpawned, c.enemies) << c.templateId;
    EXPECT_EQ(StageCoinsSpawned, c.coins) << c.templateId;
    for (auto [slot, group] : c.groups) EXPECT_EQ(ObjectPool[slot].group, group) << c.templateId << " slot " << slot;
    for (int slot : c.untouched) EXPECT_EQ(ObjectPool[slot].hitPoints, 77) << c.templateId << " slot " << slot;
  }
}

TEST_F(TemplateFormulas, CopiesFromTheParentAndTheTargetsSize) {
  GameObject& parent = ObjectPool[60];
  parent.width = 300, parent.height = 100, parent.imageSet = 21, parent.facing = 1;
  parent.phase = 2.5f, parent.phase2 = -3.0f, parent.vx = 1.5f, parent.vy = -2.0f;
  CreateObject(2223, 640, 400, 0, 60);
  EXPECT_EQ(ObjectPool[50].width, 300);
  EXPECT_EQ(ObjectPool[50].height, 300) << "both sides take the parent's width";
  EXPECT_EQ(ObjectPool[50].imageSet, 21);
  EXPECT_EQ(ObjectPool[50].phase, 2.5f);
  EXPECT_EQ(ObjectPool[50].phase2, -3.0f);
  CreateObject(2114, 640, 400, 0, 60);
  EXPECT_EQ(ObjectPool[51].facing, 1);
  EXPECT_EQ(ObjectPool[51].vx, 1.5f);
  EXPECT_EQ(ObjectPool[51].vy, -2.0f);
  for (auto [highlightOff, size] : {std::pair{0, 128}, {1, 64}}) {
    SetUp();
    EnemyHighlightOff = highlightOff;
    CreateObject(1110, 640, 400, 0, 1);
    EXPECT_EQ(ObjectPool[53].width, size);
    EXPECT_EQ(ObjectPool[53].height, size);
  }
}

TEST_F(TemplateFormulas, AFixedSlotTemplateCalledTwiceLeavesItsSlotsAsTheFirstCall) {
  CreateObject(1042, 640, 400, 1, 2);
  std::vector<GameObject> first(&ObjectPool[10], &ObjectPool[14]);
  ObjectPool[11].x = 5.0f;
  CreateObject(1042, 640, 400, 1, 2);
  EXPECT_EQ(std::memcmp(first.data(), &ObjectPool[10], sizeof(GameObject) * 4), 0);
  EXPECT_EQ(TakeSlotLog().size(), 2u * (6 + 4));
}

TEST_F(TemplateFormulas, AFullPoolTakesSlot8500ForEveryRecordAndKeepsTheUnwrittenFields) {
  for (int slot = kFirstAllocatedSlot; slot < kPoolSize; ++slot) ObjectPool[slot].state = kStateActive;
  ObjectPool[8500].animStep = 7;
  ObjectPool[8500].scaleDelta = 2.5f;
  ObjectPool[8500].expValue = 9;
  const std::vector<GameObject> before = Snapshot();
  ScriptRandom(RandomScript::Zero);
  CreateObject(1034, 640, 400, 0, 1);
  EXPECT_EQ(TakeSlotLog(), (std::vector<int>{8500, 8500, 8500, 8500}));
  EXPECT_EQ(Maxima(), kAppear);
  EXPECT_EQ(StageEnemiesSpawned, 1.0f);
  const GameObject& enemy = ObjectPool[8500];
  EXPECT_EQ(enemy.behaviour, 3032);
  EXPECT_EQ(enemy.animStep, 7);
  EXPECT_EQ(enemy.scaleDelta, 4.0f) << "the effect's centre wrote it last; 1034 writes none";
  EXPECT_EQ(enemy.expValue, 9) << "1034 writes no expValue";
  ObjectPool[8500] = before[8500];
  EXPECT_EQ(DescribeChanges(before), "");
}

TEST_F(TemplateFormulas, AimedEnemiesOnTheirAimPointStayFinite) {
  for (int templateId : {1022, 1024, 1029, 1040, 1043, 1047, 1048, 1086, 1098}) {
    SetUp();
    std::vector<int> draws(kAppear.size(), 0);
    if (templateId == 1043 || templateId == 1048) draws.push_back(0);
    draws.insert(draws.end(), {500, 500, 0, 0});
    ScriptRandom(RandomScript::Listed, draws);
    CreateObject(templateId, 1000, 500, 0, 1);
    const GameObject& enemy = ObjectPool[53];
    SCOPED_TRACE(templateId);
    EXPECT_EQ(enemy.vx, 0.0f);
    EXPECT_EQ(enemy.vy, 0.0f);
    EXPECT_EQ(enemy.phase, 0.0f);
    EXPECT_EQ(enemy.facing, templateId == 1022 ? 0 : 1);
  }
}

TEST_F(TemplateFormulas, AimedEnemiesHeadForThePlayer) {
  CreateObject(1024, 1000, 100, 0, 1);
  EXPECT_EQ(ObjectPool[53].vx, 0.0f);
  EXPECT_EQ(ObjectPool[53].vy, 3.0f);
  EXPECT_EQ(ObjectPool[53].phase, 400.0f);
  EXPECT_EQ(ObjectPool[53].facing, 1);
  // 1029: speed, jitter and pay by group; the jitter adds a and subtracts b.
  for (auto [parent, speed, jitter, animation, coins] : {std::tuple{1, 5.0f, 10, 238, 1}, {2, 6.0f, 5, 250, 0}}) {
    SetUp();
    std::vector<int> draws(kAppear.size(), 0);
    draws.insert(draws.end(), {jitter, 0, 0, jitter});
    ScriptRandom(RandomScript::Listed, draws);
    CreateObject(1029, 1000, 100, 0, parent);
    const GameObject& enemy = ObjectPool[53];
    EXPECT_EQ(enemy.vx, static_cast<float>(jitter * 0.1)) << parent;
    EXPECT_EQ(enemy.vy, static_cast<float>(speed - jitter * 0.1)) << parent;
    EXPECT_EQ(enemy.animation, animation);
    EXPECT_EQ(enemy.coinDrop, coins);
    EXPECT_EQ(StageCoinsSpawned, static_cast<float>(coins));
  }
}

TEST_F(TemplateFormulas, DebrisBurstVariantsAndLargeDebrisCounts) {
  ObjectPool[60] = ResetValues();
  ObjectPool[60].x = 500.0f, ObjectPool[60].y = 300.0f, ObjectPool[60].width = 200, ObjectPool[60].height = 100;
  const GameObject parent = ObjectPool[60];
  const int created[] = {15, 6, 6, 5, 0};
  for (int variant = 0; variant < 5; ++variant) {
    SetUp();
    ObjectPool[60] = parent;
    ScriptRandom(RandomScript::Listed, {variant, 50, 0, 0, 100});
    CreateObject(2200, 0, 0, 0, 60);
    const auto calls = CallsOf(Call::CreateObject);
    EXPECT_EQ(calls.size(), 1u + created[variant]) << variant;
    if (variant == 4) continue;
    EXPECT_EQ(calls[1].Int(1), 400) << "x: P.x + 0 - 100";
    EXPECT_EQ(calls[1].Int(2), 350) << "y: P.y + 50 - 0, drawn first";
  }
  for (auto [script, records] : {std::pair{RandomScript::Zero, 2u}, {RandomScript::Max, 4u}}) {
    SetUp();
    ScriptRandom(script);
    CreateObject(2018, 640, 400, 0, 0);
    EXPECT_EQ(TakeSlotLog().size(), records);
  }
}

}  // namespace
