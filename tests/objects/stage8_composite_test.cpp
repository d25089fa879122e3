// The stage 8 composite boss's members, its drones and the gunship.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "behaviour_fixture.h"

namespace {

class Composite : public BehaviourTest {
 protected:
  void SetUp() override {
    BehaviourTest::SetUp();
    SetForwarding(Call::PlaySe, false);
    Put(10, kCategoryEnemy, 0, 3000.0f, 800.0f);
    ObjectPool[0].x = 3000.0f;
    ObjectPool[0].y = 800.0f;
  }
  static GameObject& PutMember(int slot, int behaviour) {
    GameObject& member = Put(slot, kCategoryEnemy, behaviour);
    member.width = 600;
    member.height = 400;
    member.coinDrop = 30;
    return member;
  }
  // Frames (of `count`) on which `templateId` was made, and how often in all.
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

TEST_F(Composite, AllNineTakeTheirPlacesInTheFrameOfTheirTemplate) {
  SetForwarding(Call::CreateObject, true);
  CreateObject(1097, 3000, 800, 0, 1);
  // slot, offset from the body, as the member table gives them.
  const std::map<int, std::pair<float, float>> offsets = {
      {11, {-1070, -449}}, {12, {-849, 261}}, {13, {-469, 399}}, {14, {1282, 378}}, {15, {980, 172}},
      {16, {599, 131}},    {18, {-376, -424}}, {19, {-34, -611}}, {20, {-273, 537}}};
  ObjectPool[10].x = 3100.0f;
  Frames(1);
  for (const auto& [slot, offset] : offsets) {
    EXPECT_EQ(ObjectPool[slot].x, 3100.0f + offset.first) << slot;
    EXPECT_EQ(ObjectPool[slot].y, 800.0f + offset.second) << slot;
  }
}

TEST_F(Composite, HitBoxIsHalfTheSpriteAtCycle3ThenShrinks50To200) {
  GameObject& member = PutMember(13, 3088);
  FrameCycle4 = 3;
  Frames(1);
  EXPECT_EQ(member.hitWidth, 300);
  EXPECT_EQ(member.hitHeight, 200);
  EXPECT_EQ(member.fade, 40.0f);
  for (int draw : {0, 150}) {
    member.hitWidth = 300;
    member.hitHeight = 200;
    ScriptRandom(RandomScript::Listed, {draw, draw});
    FrameCycle4 = 0;
    Frames(1);
    EXPECT_EQ(member.hitWidth, 300 - 50 - draw);
    EXPECT_EQ(member.hitHeight, 200 - 50 - draw);
  }
}

TEST_F(Composite, GatedMembersAndTheirTimersStandAtExactly1600) {
  for (const int behaviour : {3086, 3087, 3088, 3091, 3093, 3094, 3095, 3090}) {
    SetUp();
    GameObject& member = PutMember(14, behaviour);
    member.phase = 1600.0f;  // rides 1600 px right of the body, where the player stands
    member.timer = 5;
    Frames(3);
    EXPECT_EQ(member.timer, behaviour == 3090 ? 8 : 5) << behaviour;
  }
}

TEST_F(Composite, BurnerFires199FramesScatter99AndCoinsDecayToZero) {
  int made = 0;
  GameObject& burner = PutMember(13, 3088);
  const std::vector<int> burns = FramesMaking(5021, 600, made);
  EXPECT_EQ(made, 199);
  EXPECT_EQ(burns.front(), 101);
  EXPECT_EQ(burns.back(), 299);
  EXPECT_EQ(burner.coinDrop, 25) << "lost at timer 0, 120, 240, 360, 480";
  SetUp();
  PutMember(18, 3095);
  FramesMaking(5030, 600, made);
  EXPECT_EQ(made, 99);
  SetUp();
  GameObject& waiting = PutMember(16, 3093);
  waiting.phase = 5000.0f;  // out of range: timer stands at 0
  waiting.coinDrop = 3;
  Frames(10);
  EXPECT_EQ(waiting.coinDrop, 0);
}

TEST_F(Composite, FanArmourFiresItsRunsWithRisingParameters) {
  PutMember(16, 3093);
  std::vector<std::pair<int, int>> shots;  // frame, parameter
  for (int frame = 1; frame <= 120; ++frame) {
    ClearCallLog();
    Frames(1);
    for (const RecordedCall& call : CallsOf(Call::CreateObject)) shots.push_back({frame, call.Int(4)});
  }
  const std::vector<std::pair<int, int>> expected = {{100, 30}, {101, 32}, {102, 34}, {103, 36},
                                                     {104, 38}, {106, 40}, {108, 42}, {110, 44}};
  EXPECT_EQ(shots, expected);
}

TEST_F(Composite, DronesBurstNearFollowSlot14WanderWhenItIsFreeAndEndAfter600) {
  GameObject& launcher = Put(14, kCategoryEnemy, 0, 3100.0f, 800.0f);
  GameObject& drone = Put(60, kCategoryEnemy, 3089, 3000.0f, 900.0f);
  drone.vx = 2.0f;
  int made = 0;
  const std::vector<int> bursts = FramesMaking(5014, 320, made);
  std::vector<int> expected;
  for (int cycle = 0; cycle < 2; ++cycle)
    for (int t = 3; t <= 69; t += 3) expected.push_back(160 * cycle + t);
  EXPECT_EQ(bursts, expected);
  launcher.state = kStateDelayed;  // any record there, even one still waiting: followed
  const int draws = RandomDrawsSinceSeed();
  Frames(1);
  EXPECT_EQ(RandomDrawsSinceSeed(), draws);
  launcher.state = kStateFree;
  Frames(1);
  EXPECT_EQ(RandomDrawsSinceSeed(), draws + 2) << "a new wander point";
  drone.x = 3000.0f;
  drone.y = 900.0f;
  for (int frame = 323; frame <= 600; ++frame) {
    drone.x = 3000.0f;  // kept in the world
    Frames(1);
  }
  EXPECT_EQ(drone.behaviour, 3089);
  Frames(1);
  EXPECT_NE(drone.behaviour, 3089);
}

TEST_F(Composite, GunshipStreamsPairUpAndTheCycleStillRestartsAfterTheDash) {
  Put(60, kCategoryEnemy, 3092, 3000.0f, 800.0f);
  ScriptRandom(RandomScript::Zero);  // no ageing: the lifetime never ends
  std::map<int, int> pairs;
  for (int frame = 1; frame <= 481; ++frame) {
    ClearCallLog();
    Frames(1);
    int streams = 0;
    for (const RecordedCall& call : CallsOf(Call::CreateObject)) streams += call.Int(0) == 5019;
    if (streams == 2) pairs[frame] = 2;
  }
  std::map<int, int> expected;
  for (int start : {251, 261, 451, 461})
    for (int frame = start; frame < start + 9; ++frame) expected[frame] = 2;
  EXPECT_EQ(pairs, expected);
  SetUp();
  GameObject& dashing = Put(60, kCategoryEnemy, 3092, 3000.0f, 800.0f);
  dashing.timer = 499;
  ScriptRandom(RandomScript::Max);  // the longest jump, 100
  Frames(1);
  EXPECT_EQ(dashing.timer, 600);
  Frames(60);
  EXPECT_EQ(dashing.timer, -60) << "660 still comes";
}

}  // namespace
