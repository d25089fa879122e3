// Every wave spawner run until it frees itself, its calls against the spawner table
// typed member by member: counter value, template, offset, facing and parent.
#include <gtest/gtest.h>

#include <vector>

#include "behaviour_fixture.h"

namespace {

constexpr float kX = 1000.0f, kY = 800.0f;
constexpr int kSlot = 60, kGroup = 2;

struct Member {
  int count;
  int templateId;
  int dx, dy;
};
struct Expected {
  int behaviour;
  std::vector<Member> members;  // in creation order
  int end;                      // 1 for the one-shot kinds
  int facingArgument = -1;      // -1: the spawner's own
  int parentArgument = -1;      // -1: the spawner's group
};

// Members at the spawner: `second` (when not 0) made after `first` on each count.
std::vector<Member> Same(int first, std::vector<int> counts, int second = 0) {
  std::vector<Member> members;
  for (int count : counts) {
    members.push_back({count, first, 0, 0});
    if (second != 0) members.push_back({count, second, 0, 0});
  }
  return members;
}
// The chevron for facing 1 (arms toward +x).
std::vector<Member> Chevron(int t, int a, int b) {
  return {{1, t, 0, 0}, {1, t, a, -b}, {1, t, a, b}, {1, t, 2 * a, -2 * b}, {1, t, 2 * a, 2 * b}};
}

const std::vector<Expected>& Table() {
  static const std::vector<Expected> table = {
      {3006, Same(1003, {10, 40, 70, 100, 130}), 150, 0},
      {3007, {{10, 1002, 0, 0}, {40, 1002, 0, 50}, {70, 1002, 0, 100}, {100, 1002, 0, 150}, {130, 1002, 0, 200}}, 150},
      {3014, Chevron(1011, 20, 40), 1},
      {3015, Chevron(1011, 30, 60), 1},
      {3016, Same(1012, {1, 30, 60, 90}, 1017), 120},
      {3018, {{1, 1013, 0, -80}, {1, 1013, 0, 80}, {1, 1013, -80, 0}, {1, 1013, 80, 0}}, 1},
      {3019, {{1, 1014, 100, 0}, {60, 1014, 50, 0}, {120, 1014, 0, 0}, {180, 1014, -50, 0}}, 180},
      {3023, Same(1024, {10, 30, 50, 70, 90, 110, 130, 150, 170, 190, 210, 230, 250, 270}), 300},
      {3026, {{10, 1026, 0, 0}, {40, 1027, 0, 0}, {70, 1027, 0, 0}, {100, 1027, 0, 0}, {130, 1027, 0, 0}}, 140},
      {3028, Same(1029, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100}), 120},
      {3029, Same(1029, {10, 20, 30, 40, 50, 60, 70, 80}), 110},
      {3033,
       {{10, 1034, 0, 0}, {25, 1034, 40, 40}, {40, 1034, 80, 80}, {55, 1034, 120, 120}, {70, 1034, 160, 160},
        {85, 1034, 200, 200}, {100, 1034, 240, 240}, {115, 1034, 280, 280}},
       121},
      {3035, Same(1036, {10, 25, 40, 55, 70, 85}), 211},
      {3037, Chevron(1038, 30, 60), 1},
      {3042, Same(1043, {1, 1, 1, 1, 1, 1}), 1},
      {3046, Same(1048, {1, 1, 1, 1, 1, 1}), 1},
      {3048, Same(1048, {10, 30, 50, 70, 90, 110}), 120},
      {3050, Chevron(1051, 30, 60), 1},
      {3057, Same(1065, {1, 20, 40, 60, 80}), 90},
      {3059, Same(1067, {10, 20, 30, 40, 50, 60}), 70},
      {3076, Chevron(1087, 30, 60), 1},
      {3078, Same(1089, {10, 15, 20, 25, 30, 35}), 40},
      {3106, Same(1011, {10, 30, 50, 70, 90}), 100, -1, 0},
      {3108, Same(1112, {1, 30, 60, 90}, 1017), 120},
      {3109, Same(1089, {10, 20, 30, 40, 50, 60}), 70},
  };
  return table;
}

using WaveSpawners = BehaviourTest;

TEST_F(WaveSpawners, EachReleasesItsMembersAndFreesItselfOnItsEndCount) {
  for (const Expected& row : Table()) {
    for (int facing : {1, 0}) {
      SetUp();
      GameObject& spawner = Put(kSlot, kCategoryEnemy, row.behaviour, kX, kY);
      spawner.facing = facing;
      spawner.group = kGroup;
      int freedOn = 0;
      for (int update = 1; update <= 400 && freedOn == 0; ++update) {
        Frames(1);
        EndRecordedFrame();
        if (ObjectPool[kSlot].state == kStateFree) freedOn = update;
      }
      EXPECT_EQ(freedOn, row.end) << row.behaviour;
      const std::vector<RecordedCall> calls = CallsOf(Call::CreateObject);
      ASSERT_EQ(calls.size(), row.members.size()) << row.behaviour;
      const int side = row.members.size() == 5 && row.end == 1 && facing == 0 ? -1 : 1;  // chevrons mirror
      for (std::size_t i = 0; i < calls.size(); ++i) {
        const Member& member = row.members[i];
          const RecordedCall& call = calls[i];
        const std::vector<int> made = {call.frame + 1, call.Int(0), call.Int(1), call.Int(2), call.Int(3), call.Int(4)};
        const std::vector<int> expected = {member.count, member.templateId, 1000 + side * member.dx, 800 + member.dy,
                                           row.facingArgument < 0 ? facing : row.facingArgument,
                                           row.parentArgument < 0 ? kGroup : row.parentArgument};
        EXPECT_EQ(made, expected) << row.behaviour << " member " << i << " facing " << facing;
      }
    }
  }
}

TEST_F(WaveSpawners, RandomSpreadsDrawFourPerMemberYBeforeXInSlotOrder) {
  struct Spread {
    int behaviour, templateId, spread, members, end;
  };
  for (const Spread& row : {Spread{3072, 1082, 400, 8, 50}, Spread{3073, 1047, 200, 5, 16}}) {
    SetUp();
    Put(kSlot, kCategoryEnemy, row.behaviour, kX, kY).group = kGroup;
    Put(kSlot + 1, kCategoryEnemy, row.behaviour, kX + 0.5f, kY).group = 1;
    // Subtracted y, added y, subtracted x, added x; the second spawner's four next.
    ScriptRandom(RandomScript::Listed, {10, 20, 30, 70, 1, 2, 3, 4});
    Frames(1);
    for (const RecordedCall& draw : CallsOf(Call::RandomInRange)) EXPECT_EQ(draw.Int(0), row.spread);
    std::vector<RecordedCall> members = CallsOf(Call::CreateObject);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ((std::vector<int>{members[0].Int(0), members[0].Int(1), members[0].Int(2)}),
              (std::vector<int>{row.templateId, 1040, 810}));
    // 1000.5 - 3 + 4 truncated; the second spawner's own group.
    EXPECT_EQ((std::vector<int>{members[1].Int(1), members[1].Int(2), members[1].Int(4)}), (std::vector<int>{1001, 801, 1}));
    ScriptRandom(RandomScript::Zero);
    Frames(row.end - 1);
    EXPECT_EQ(ObjectPool[kSlot].state, kStateFree);
    EXPECT_EQ(CallsOf(Call::CreateObject).size(), 2u * row.members);
  }
}

}  // namespace
