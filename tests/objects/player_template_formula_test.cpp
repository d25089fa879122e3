// The player templates' values that depend on globals, held directions, arguments and
// the order of their calls, checked against the worked values of their descriptions.
#include <gtest/gtest.h>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "objects/object_factory.h"
#include "objects/objects.h"
#include "pool_fixture.h"

namespace {

class PlayerTemplates : public PoolFixture {
 protected:
  void SetUp() override {
    PoolFixture::SetUp();
    ResetCallRecorder();
  }
  // The records one call writes, in the order taken.
  std::vector<GameObject> Create(int templateId, int parentSlot = 0) {
    TakeSlotLog();
    CreateObject(templateId, 0, 0, 0, parentSlot);
    std::vector<GameObject> records;
    for (int slot : TakeSlotLog()) records.push_back(ObjectPool[slot]);
    return records;
  }
};

TEST_F(PlayerTemplates, ValuesReadFromGlobals) {
  // Clouds tilt by the held direction; the down count stays 0 while up is held.
  for (const auto& [up, down, vy] : {std::tuple{3, 0, -1.4f}, {0, 5, 1.4f}, {0, 0, 0.0f}}) {
    BitHold[0] = up, BitHold[1] = down;
    EXPECT_EQ(Create(2053).at(0).vy, vy) << up << " " << down;
  }
  for (int level = 1; level <= 4; ++level) {
    ShotLevel = level;
    EXPECT_EQ(Create(2099).at(0).attackPower, 120 + 5 * level);
  }
  for (const auto& [coins, row] : {std::pair{100.0f, 183}, {900.0f, 191}, {1000.0f, 192}, {3000.0f, 192}}) {
    Coins = coins;
    EXPECT_EQ(Create(2111).at(0).animation, row) << coins;
  }
  for (LevelUpCount = 1; LevelUpCount <= 8; ++LevelUpCount) EXPECT_EQ(Create(2113).at(0).animation, 193 + LevelUpCount);
  const float fades[] = {0.0f, 240.0f, 230.0f, 220.0f, 218.0f, 216.0f, 216.0f, 218.0f, 220.0f, 222.0f, 0.0f};
  for (TurboLevel = 0; TurboLevel <= 10; ++TurboLevel) EXPECT_EQ(Create(2117).at(0).fade, fades[TurboLevel]);
  for (const auto& [tally, sparks] : {std::pair{0.0f, 20u}, {1.0f, 24u}, {3.0f, 32u}}) {
    PlayerHitTally = tally;
    ClearCallLog();
    EXPECT_EQ(Create(2094).size(), sparks);
    EXPECT_EQ(CallsOf(Call::RandomInRange).size(), 5 * sparks);
  }
}

TEST_F(PlayerTemplates, BurstPowerFollowsBoostAndPowerModeAndWorkHoldsTheParent) {
  const struct {
    int boost, modeA, parentSlot;
    std::vector<int> power;  // 2128's records 1-2, 9-10, 11-12, 13-14
  } cases[] = {{2, 0, 1, {70, 110, 55, 10}}, {1, 1, 0, {10, 20, 20, 5}}, {1, 0, 1, {35, 55, 55, 10}}};
  for (const auto& c : cases) {
    BoostFactor = c.boost, PowerModeA = c.modeA;
    const std::vector<GameObject> burst = Create(2128, c.parentSlot);
    ASSERT_EQ(burst.size(), 18u);
    for (int pair = 0; pair < 4; ++pair) {
      const int first = pair == 0 ? 0 : 6 + 2 * pair;
      EXPECT_EQ(burst[first].attackPower, c.power[pair]) << "record " << first + 1;
      EXPECT_EQ(burst[first + 1].attackPower, c.power[pair]) << "record " << first + 2;
    }
    for (const GameObject& record : burst) {
      EXPECT_EQ(record.work[0], static_cast<float>(c.parentSlot));
      EXPECT_EQ(record.x, -100.0f);
    }
  }
}

TEST_F(PlayerTemplates, GuardGlowPlaysOnlyWhileItsSoundIsSilent) {
  SetForwarding(Call::IsSoundPlaying, false);
  for (const auto& [playing, sounds] : {std::pair{0, 1u}, {1, 0u}, {-1, 0u}}) {
    ClearCallLog();
    SetScriptedResult(Call::IsSoundPlaying, playing);
    Create(2134);
    EXPECT_EQ(CallsOf(Call::IsSoundPlaying).at(0).Int(0), SeHandles[86]);
    const std::vector<RecordedCall> plays = CallsOf(Call::PlaySe);
    ASSERT_EQ(plays.size(), sounds) << "IsSoundPlaying " << playing;
    for (const RecordedCall& play : plays) EXPECT_EQ(std::pair(play.Int(0), play.Int(1)), std::pair(86, 100));
  }
}

// What has happened as a call's first record is taken: sounds played, the score, and
// the category of the bullet in slot 7000.
struct FirstRecordSeen {
  std::size_t sounds = 0;
  float score = 0.0f;
  int bulletCategory = -1;
} seen;

TEST_F(PlayerTemplates, ServicesComeInTheirOrderAroundTheRecords) {
  const struct {
    int templateId;
    std::size_t soundsBefore;
    std::vector<int> sounds;
    float scoreBefore;
    int categoryBefore, categoryAfter;
  } cases[] = {{2104, 1, {50}, 6000.0f, 5, 5}, {2013, 1, {53}, 0.0f, 4, 4}, {2096, 0, {80, 81}, 0.0f, 4, 4},
               {2135, 0, {30}, 0.0f, 4, 4},     {2136, 0, {31}, 0.0f, 4, 4},  {2098, 0, {}, 0.0f, 4, 6}};
  for (const auto& c : cases) {
    SetUp();
    seen = {};
    RecordTakenHook = [](int) {
      if (seen.bulletCategory < 0) seen = {CallsOf(Call::PlaySe).size(), Score, ObjectPool[7000].category};
    };
    Score = 0.0f, CameraX = CameraY = 0.0f;
    ObjectPool[7000] = ResetValues();
    ObjectPool[7000].state = 1, ObjectPool[7000].category = 4;
    const int ssUsed = SsUsed;
    CreateObject(c.templateId, 0, 0, 0, 0);
    SCOPED_TRACE(c.templateId);
    std::vector<int> sounds;
    for (const RecordedCall& call : CallsOf(Call::PlaySe)) sounds.push_back(call.Int(0));
    EXPECT_EQ(sounds, c.sounds);
    EXPECT_EQ(seen.sounds, c.soundsBefore);
    EXPECT_EQ(seen.score, c.scoreBefore);
    EXPECT_EQ(seen.bulletCategory, c.categoryBefore);
    EXPECT_EQ(ObjectPool[7000].category, c.categoryAfter);
    EXPECT_EQ(SsUsed - ssUsed, c.templateId == 2096 ? 1 : 0);
  }
}

TEST_F(PlayerTemplates, FixedSlotsAreReplacedWhole) {
  CreateObject(2133, 0, 0, 0, 0);
  ObjectPool[kPlayerSlot].x = 1200.0f;
  ObjectPool[5].timer = 77;
  ScriptRandom(RandomScript::Max);
  CreateObject(2133, 0, 0, 0, 0);
  EXPECT_EQ(ObjectPool[5].x, 1200.0f);
  EXPECT_EQ(ObjectPool[5].facing, 1);
  EXPECT_EQ(ObjectPool[5].timer, 0);
  EXPECT_EQ(TakeSlotLog(), (std::vector<int>{5, 5}));

  OptionShot = 2;
  CreateObject(2153, 300, 200, 0, 0);
  ObjectPool[32].phase = 9.0f, ObjectPool[32].hitPoints = 4;
  CreateObject(2153, 640, 400, 1, 0);
  GameObject option = ResetValues();
  option.state = 1, option.layer = 4, option.category = 6, option.collidable = 0;
  option.x = 640.0f, option.y = 400.0f, option.vx = option.vy = 0.01f;
  option.width = option.height = 64, option.imageSet = 40, option.blendMode = 2;
  option.animation = 292, option.facing = 1, option.behaviour = 4083;
  EXPECT_EQ(DescribeFields(ObjectPool[32], ResetValues()), DescribeFields(option, ResetValues()));
  OptionShot = 4;
  CreateObject(2155, 0, 0, 0, 0);
  EXPECT_EQ(ObjectPool[34].animation, 0);
  ObjectPool[34].x = 812.5f;
  EXPECT_EQ(Create(2157, 34).at(0).phase, 34.0f);
  EXPECT_EQ(Create(2222, 34).at(0).x, 812.5f);
}

}  // namespace
