// The player templates' calls of other services in their order around the records,
// and the fixed slots that a second call replaces.
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
};

// What has happened as a call's first record is taken: sounds played, the score, and
// the category of the bullet in slot 7000.
struct FirstRecordSeen {
  std::size_t sounds = 0;
  float score = 0.0f;
  int bulletCategory = -1;
} seen;

// Sounds as 1000 x number + volume; 2134 plays only while IsSoundPlaying gives 0.
TEST_F(PlayerTemplates, ServicesComeInTheirOrderAroundTheRecords) {
  const struct {
    int templateId, soundPlaying;
    std::size_t soundsBefore;
    std::vector<int> sounds;
    float scoreBefore;
    int categoryBefore, categoryAfter;
  } cases[] = {{2104, 0, 1, {50255}, 6000.0f, 5, 5}, {2013, 0, 1, {53255}, 0.0f, 4, 4},
               {2096, 0, 0, {80255, 81255}, 0.0f, 4, 4}, {2135, 0, 0, {30255}, 0.0f, 4, 4},
               {2136, 0, 0, {31255}, 0.0f, 4, 4},   {2098, 0, 0, {}, 0.0f, 4, 6},
               {2134, 0, 0, {86100}, 0.0f, 4, 4},   {2134, 1, 0, {}, 0.0f, 4, 4},
               {2134, -1, 0, {}, 0.0f, 4, 4}};
  for (const auto& c : cases) {
    SetUp();
    SetForwarding(Call::IsSoundPlaying, false);
    SetScriptedResult(Call::IsSoundPlaying, c.soundPlaying);
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
    for (const RecordedCall& call : CallsOf(Call::PlaySe)) sounds.push_back(call.Int(0) * 1000 + call.Int(1));
    EXPECT_EQ(sounds, c.sounds);
    EXPECT_EQ(CallsOf(Call::IsSoundPlaying).size(), c.templateId == 2134 ? 1u : 0u);
    for (const RecordedCall& asked : CallsOf(Call::IsSoundPlaying)) EXPECT_EQ(asked.Int(0), SeHandles[86]);
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
}

}  // namespace
