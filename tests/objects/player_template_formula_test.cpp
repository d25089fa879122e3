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
  std::vector<GameObject> Create(int templateId, int facing = 0, int parentSlot = 0) {
    TakeSlotLog();
    CreateObject(templateId, 0, 0, facing, parentSlot);
    std::vector<GameObject> records;
    for (int slot : TakeSlotLog()) records.push_back(ObjectPool[slot]);
    return records;
  }
  std::vector<int> Sounds() {
    std::vector<int> sounds;
    for (const RecordedCall& call : CallsOf(Call::PlaySe)) sounds.push_back(call.Int(0) * 1000 + call.Int(1));
    return sounds;
  }
};

TEST_F(PlayerTemplates, CloudsTiltByTheHeldDirectionUpWinning) {
  const struct {
    int up, down;
    float vy;
  } cases[] = {{3, 0, -1.4f}, {0, 5, 1.4f}, {2, 0, -1.4f}, {0, 0, 0.0f}};
  for (const auto& c : cases) {
    SetUp();
    BitHold[0] = c.up, BitHold[1] = c.down;
    EXPECT_EQ(Create(2053).at(0).vy, c.vy) << c.up << " " << c.down;
  }
  // Both held: the down count stays 0 while up is held, so the cloud rises.
  BitHold[0] = 4, BitHold[1] = 0;
  EXPECT_EQ(Create(2026).at(0).vy, -0.5f);
}

TEST_F(PlayerTemplates, GoldStrikeBoltGrowsWithShotLevelAndTheFanDoesNot) {
  for (int level = 1; level <= 4; ++level) {
    ShotLevel = level;
    EXPECT_EQ(Create(2099).at(0).attackPower, 120 + 5 * level);
    for (const GameObject& record : Create(2226)) EXPECT_EQ(record.attackPower, record.category == 3 ? 100 : 0);
  }
}

TEST_F(PlayerTemplates, BurstPowerFollowsBoostAndPowerModeAndWorkHoldsTheParent) {
  const struct {
    int boost, modeA, parentSlot;
    std::vector<int> power;  // 2128's records 1-2, 9-10, 11-12, 13-14
  } cases[] = {{2, 0, 1, {70, 110, 55, 10}}, {1, 1, 0, {10, 20, 20, 5}}, {1, 0, 1, {35, 55, 55, 10}}};
  for (const auto& c : cases) {
    BoostFactor = c.boost, PowerModeA = c.modeA;
    const std::vector<GameObject> burst = Create(2128, 0, c.parentSlot);
    ASSERT_EQ(burst.size(), 18u);
    const int firsts[] = {0, 8, 10, 12};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(burst[firsts[i]].attackPower, c.power[i]) << "record " << firsts[i] + 1;
      EXPECT_EQ(burst[firsts[i] + 1].attackPower, c.power[i]) << "record " << firsts[i] + 2;
    }
    for (const GameObject& record : burst) {
      EXPECT_EQ(record.work[0], static_cast<float>(c.parentSlot));
      EXPECT_EQ(record.x, -100.0f);
      EXPECT_EQ(record.y, 500.0f);
    }
  }
}

TEST_F(PlayerTemplates, SparksGrowWithTheHitTallyAndDrawFiveNumbersEach) {
  for (const auto& [tally, sparks] : {std::pair{0.0f, 20u}, {1.0f, 24u}, {3.0f, 32u}}) {
    SetUp();
    PlayerHitTally = tally;
    EXPECT_EQ(Create(2094).size(), sparks);
    EXPECT_EQ(CallsOf(Call::RandomInRange).size(), 5 * sparks);
  }
}

TEST_F(PlayerTemplates, PopupRowsFollowCoinsAndLevelUps) {
  for (const auto& [coins, row] : {std::pair{100.0f, 183}, {900.0f, 191}, {1000.0f, 192}, {3000.0f, 192}}) {
    Coins = coins;
    EXPECT_EQ(Create(2111).at(0).animation, row) << coins;
  }
  for (int levelUps = 1; levelUps <= 8; ++levelUps) {
    LevelUpCount = levelUps;
    EXPECT_EQ(Create(2113).at(0).animation, 193 + levelUps);
  }
}

TEST_F(PlayerTemplates, AfterimageFadesByTurboLevel) {
  const float fades[] = {0.0f, 240.0f, 230.0f, 220.0f, 218.0f, 216.0f, 216.0f, 218.0f, 220.0f, 222.0f, 0.0f};
  for (int level = 0; level <= 10; ++level) {
    TurboLevel = level;
    EXPECT_EQ(Create(2117).at(0).fade, fades[level]) << level;
  }
}

TEST_F(PlayerTemplates, GuardGlowPlaysOnlyWhileItsSoundIsSilent) {
  SetForwarding(Call::IsSoundPlaying, false);
  for (const auto& [playing, sounds] : {std::pair{0, 1u}, {1, 0u}, {-1, 0u}}) {
    ClearCallLog();
    SetScriptedResult(Call::IsSoundPlaying, playing);
    Create(2134);
    ASSERT_EQ(CallsOf(Call::IsSoundPlaying).size(), 1u);
    EXPECT_EQ(CallsOf(Call::IsSoundPlaying)[0].Int(0), SeHandles[86]);
    EXPECT_EQ(Sounds().size(), sounds) << "IsSoundPlaying " << playing;
    if (sounds) {
      EXPECT_EQ(Sounds()[0], 86100);
    }
  }
}

// What each call has done by the time its first record is taken.
TEST_F(PlayerTemplates, ServicesComeInTheirOrderAroundTheRecords) {
  static std::vector<int> soundsAtFirstRecord;
  static float scoreAtFirstRecord;
  static int chipAtFirstRecord;
  const auto atFirstRecord = [](int) {
    if (!soundsAtFirstRecord.empty() && soundsAtFirstRecord[0] >= 0) return;
    soundsAtFirstRecord.clear();
    for (const RecordedCall& call : CallsOf(Call::PlaySe)) soundsAtFirstRecord.push_back(call.Int(0));
    if (soundsAtFirstRecord.empty()) soundsAtFirstRecord.push_back(0);
    scoreAtFirstRecord = Score;
    chipAtFirstRecord = ObjectPool[7000].category;
  };
  const struct {
    int templateId;
    std::vector<int> before, after;
    float score;
    int chip;
  } cases[] = {{2104, {50}, {50}, 6000.0f, 5}, {2013, {53}, {53}, 0.0f, 4},
               {2096, {0}, {80, 81}, 0.0f, 4}, {2135, {0}, {30}, 0.0f, 4}, {2136, {0}, {31}, 0.0f, 4}};
  for (const auto& c : cases) {
    SetUp();
    RecordTakenHook = atFirstRecord;
    CameraX = 0.0f, CameraY = 0.0f, Score = 0.0f;
    ObjectPool[7000] = ResetValues();
    ObjectPool[7000].state = 1, ObjectPool[7000].category = 4, ObjectPool[7000].x = 500.0f;
    soundsAtFirstRecord = {-1};
    const int ssUsed = SsUsed;
    CreateObject(c.templateId, 0, 0, 0, 0);
    SCOPED_TRACE(c.templateId);
    EXPECT_EQ(soundsAtFirstRecord, c.before);
    std::vector<int> sounds;
    for (const RecordedCall& call : CallsOf(Call::PlaySe)) sounds.push_back(call.Int(0));
    EXPECT_EQ(sounds, c.after);
    EXPECT_EQ(scoreAtFirstRecord, c.score);
    EXPECT_EQ(chipAtFirstRecord, c.chip);
    EXPECT_EQ(SsUsed - ssUsed, c.templateId == 2096 ? 1 : 0);
  }
  // 2098 cancels the bullets after its record.
  SetUp();
  ObjectPool[7000].state = 1, ObjectPool[7000].category = 4;
  CreateObject(2098, 0, 0, 0, 0);
  EXPECT_EQ(ObjectPool[7000].category, 6);
  EXPECT_EQ(ObjectPool[7000].behaviour, 4059);
}

TEST_F(PlayerTemplates, FixedSlotsAreReplacedWhole) {
  CreateObject(2133, 0, 0, 0, 0);
  ObjectPool[kPlayerSlot].x = 1200.0f;
  ScriptRandom(RandomScript::Max);
  ObjectPool[5].timer = 77;
  CreateObject(2133, 0, 0, 0, 0);
  EXPECT_EQ(ObjectPool[5].x, 1200.0f);
  EXPECT_EQ(ObjectPool[5].facing, 1);
  EXPECT_EQ(ObjectPool[5].timer, 0);
  EXPECT_EQ(TakeSlotLog(), (std::vector<int>{5, 5}));

  OptionShot = 2;
  CreateObject(2153, 300, 200, 0, 0);
  ObjectPool[32].phase = 9.0f, ObjectPool[32].hitPoints = 4, ObjectPool[32].x = 350.5f;
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
}

TEST_F(PlayerTemplates, OptionShotsReadTheirOption) {
  ObjectPool[34].x = 812.5f, ObjectPool[34].y = 333.25f;
  for (int templateId : {2157, 2220}) EXPECT_EQ(Create(templateId, 0, 34).at(0).phase, 34.0f);
  for (int templateId : {2159, 2222}) {
    const GameObject wall = Create(templateId, 0, 34).at(0);
    EXPECT_EQ(wall.x, 812.5f);
    EXPECT_EQ(wall.y, 333.25f);
  }
  ScriptRandom(RandomScript::Listed, {3, 3, 0, 0});
  ObjectPool[kPlayerSlot].facing = 1;
  GameObject wall = Create(2159, 0, 34).at(0);
  EXPECT_EQ(wall.vx, -13.0f);
  EXPECT_EQ(wall.phase, 0.13f);
  wall = Create(2159, 0, 34).at(0);
  EXPECT_EQ(wall.vx, -10.0f);
  EXPECT_EQ(wall.phase, 0.1f);
}

}  // namespace
