// The first stage 8 boss and the composite boss with its drones and gunship.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "behaviour_fixture.h"
#include "core/game_state.h"

namespace {

class StageEightBosses : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    SetForwarding(Call::SpawnDeathEffects, false);
    SetForwarding(Call::PlaySe, false);
    ObjectPool[0].x = 3000.0f;
    ObjectPool[0].y = 800.0f;
  }
  // A member riding on a body at the player's position.
  static GameObject& PutMember(int slot, int behaviour, int coins) {
    Put(10, kCategoryEnemy, 0, 3000.0f, 800.0f);
    return PutEnemy(slot, behaviour, coins);
  }
  static GameObject& PutEnemy(int slot, int behaviour, int coins) {
    GameObject& enemy = Put(slot, kCategoryEnemy, behaviour, 3000.0f, 800.0f);
    enemy.coinDrop = coins;
    enemy.width = 600;
    enemy.height = 400;
    return enemy;
  }
  // The frames (of `count`) on which `templateId` was made, and how many in all.
  static std::vector<int> FramesMaking(int templateId, int count, int& made) {
    std::vector<int> frames;
    made = 0;
    for (int frame = 1; frame <= count; ++frame) {
      FrameCycle4 = frame % 4;
      ClearCallLog();
      Frames(1);
      int now = 0;
      for (const RecordedCall& call : CallsOf(Call::CreateObject)) now += call.Int(0) == templateId;
      if (now > 0) frames.push_back(frame);
      made += now;
    }
    return frames;
  }
};

TEST_F(StageEightBosses, MainBodyLaunchesEscortsOnA1010CycleAndRunsKind10At4080) {
  PutEnemy(10, 3082, 50);
  int made = 0;
  std::vector<int> expected = {200, 220, 240, 400, 420, 440, 600, 620, 640, 800, 820, 840, 1210};
  EXPECT_EQ(FramesMaking(1091, 1210, made), expected);
  for (const RecordedCall& call : CallsOf(Call::CreateObject)) EXPECT_EQ(call.Int(4), 2);
  SetUp();
  PutEnemy(10, 3082, 50);
  FramesMaking(1092, 1010, made);
  EXPECT_EQ(made, 7);
  SetUp();
  PutEnemy(10, 3082, 50);
  for (int frame = 1; frame < 4080; ++frame) Frames(1);
  EXPECT_TRUE(CallsOf(Call::SpawnDeathEffects).empty());
  Frames(1);
  EXPECT_EQ(CallsOf(Call::SpawnDeathEffects).size(), 1u);
  EXPECT_EQ(ScreenFlash, 250.0f);
}

TEST_F(StageEightBosses, TwinFiresNearOrFarByThe3000PixelLineAndWithdrawsOn4681) {
  struct Case {
    float playerX;
    int timer;
    std::vector<int> made;
    int draws;  // the sway's one draw included
  };
  // The twin creeps 0.001 toward the player first: from 3000 to 2999.9990234375.
  for (const Case& c : {Case{3000.0f, 240, {5028, 5017}, 4}, Case{3000.0f, 300, {5030, 5030}, 7},
                        Case{3000.0f, 942, {5027, 5027}, 7}, Case{-0.0009765625f, 240, {}, 1},
                        Case{-1.0f, 102, {5029}, 3}, Case{-1.0f, 1400, {5021}, 1}}) {
    SetUp();
    GameObject& twin = PutEnemy(16, 3083, 60);
    twin.timer = c.timer - 1;
    ObjectPool[0].x = c.playerX;
    Frames(1);
    std::vector<int> made;
    for (const RecordedCall& call : CallsOf(Call::CreateObject)) made.push_back(call.Int(0));
    EXPECT_EQ(made, c.made) << c.playerX << " at " << c.timer;
    EXPECT_EQ(RandomDrawsSinceSeed(), c.draws) << c.playerX << " at " << c.timer;
  }
  SetUp();
  GameObject& twin = PutEnemy(13, 3083, 60);
  Frames(1);
  EXPECT_EQ(twin.coinDrop, 59) << "a coin lost on the first frame";
  for (int frame = 2; frame < 4681; ++frame, ClearCallLog()) Frames(1);
  EXPECT_EQ(twin.behaviour, 3083);
  Frames(1);
  EXPECT_EQ(twin.behaviour, 4059);
}

TEST_F(StageEightBosses, CompositeMembersFollowFlickerGateAndFireTheirWindows) {
  SetForwarding(Call::CreateObject, true);
  Put(10, kCategoryEnemy, 0, 3100.0f, 800.0f);
  CreateObject(1097, 3000, 800, 0, 1);
  const std::map<int, std::pair<float, float>> offsets = {
      {11, {-1070, -449}}, {12, {-849, 261}}, {13, {-469, 399}}, {14, {1282, 378}}, {15, {980, 172}},
      {16, {599, 131}},    {18, {-376, -424}}, {19, {-34, -611}}, {20, {-273, 537}}};
  FrameCycle4 = 3;
  Frames(1);
  for (const auto& [slot, offset] : offsets) {
    EXPECT_EQ(ObjectPool[slot].x, 3100.0f + offset.first) << slot;
    EXPECT_EQ(ObjectPool[slot].y, 800.0f + offset.second) << slot;
    EXPECT_EQ(ObjectPool[slot].hitWidth, ObjectPool[slot].width / 2) << slot;
  }
  FrameCycle4 = 0;
  Frames(1);
  for (const auto& [slot, offset] : offsets) {
    const int shrunk = ObjectPool[slot].width / 2 - ObjectPool[slot].hitWidth;
    EXPECT_TRUE(shrunk >= 50 && shrunk <= 200) << slot << " shrank by " << shrunk;
  }
  SetUp();
  int made = 0;
  GameObject& burner = PutMember(13, 3088, 30);
  std::vector<int> burns = FramesMaking(5021, 600, made);
  EXPECT_EQ(made, 199);
  EXPECT_EQ(burns.front(), 101);
  EXPECT_EQ(burner.coinDrop, 25) << "lost at 0, 120, 240, 360 and 480";
  SetUp();
  PutMember(18, 3095, 30);
  FramesMaking(5030, 600, made);
  EXPECT_EQ(made, 99);
  for (const int behaviour : {3086, 3093, 3090}) {
    SetUp();
    GameObject& member = PutMember(14, behaviour, 2);
    member.phase = 1600.0f;  // exactly 1600 px from the player
    Frames(3);
    EXPECT_EQ(member.timer, behaviour == 3090 ? 3 : 0) << behaviour;
    EXPECT_EQ(member.coinDrop, behaviour == 3090 ? 1 : 0) << "down to 0, never below";
  }
}

TEST_F(StageEightBosses, DronesBurstWhileTheLauncherLivesAndGunshipStreamsPairUp) {
  GameObject& launcher = Put(14, kCategoryEnemy, 0, 3100.0f, 800.0f);
  GameObject& drone = Put(60, kCategoryEnemy, 3089, 3000.0f, 900.0f);
  drone.vx = 2.0f;
  int made = 0;
  const std::vector<int> bursts = FramesMaking(5014, 230, made);
  ASSERT_EQ(made, 23 + 23);
  EXPECT_EQ(std::vector<int>(bursts.begin() + 21, bursts.begin() + 24), (std::vector<int>{66, 69, 163}));
  launcher.state = kStateFree;
  const int before = RandomDrawsSinceSeed();
  Frames(1);
  EXPECT_EQ(RandomDrawsSinceSeed(), before + 2) << "a new wander point";
  Put(14, kCategoryEffect, 0, 3100.0f, 800.0f);  // the slot reused
  drone.workInt = 600;
  Frames(1);
  EXPECT_EQ(RandomDrawsSinceSeed(), before + 2) << "it follows the reused slot";
  EXPECT_EQ(drone.behaviour, 4059) << "ended after 600 frames";
  SetUp();
  Put(60, kCategoryEnemy, 3092);
  ScriptRandom(RandomScript::Zero);
  std::vector<int> pairs;
  for (int frame = 1; frame <= 481; ++frame, ClearCallLog()) {
    Frames(1);
    int streams = 0;
    for (const RecordedCall& call : CallsOf(Call::CreateObject)) streams += call.Int(0) == 5019;
    if (streams == 2) pairs.push_back(frame);
  }
  EXPECT_EQ(pairs.size(), 36u);
  EXPECT_EQ(pairs.front(), 251);
  EXPECT_EQ(pairs.back(), 469);
  SetUp();
  GameObject& gunship = Put(60, kCategoryEnemy, 3092);
  gunship.timer = 499;
  ScriptRandom(RandomScript::Max);
  Frames(61);
  EXPECT_EQ(gunship.timer, -60) << "after the longest jump 660 still comes";
}

}  // namespace
