// The stage 2, 3 and 5 boss fights in a started game: entry, each form or phase
// change by scripted hit points, the kill, and a withdrawal with its clock moved near
// its end. Each fight runs twice to the same digests; its frames are saved.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "core/object_pool.h"
#include "objects/objects.h"
#include "../support/call_recorder.h"
#include "scenario.h"

namespace {

struct Fight {
  const char* name;
  int stage, templateId, behaviour;
  std::vector<int> thresholds;  // hit points set below each change, in turn
  std::vector<int> changedKinds;  // deathEffect after each change
};

void PrintTo(const Fight& fight, std::ostream* out) { *out << fight.name; }

constexpr int kEntryFrames = 12;  // the appearance delay is moved near its end
constexpr int kPhaseFrames = 30;

int BossSlot(int behaviour) {
  for (int slot = 10; slot < kPoolSize; ++slot) {
    if (ObjectPool[slot].state != kStateFree && ObjectPool[slot].behaviour == behaviour) return slot;
  }
  return -1;
}

// A well-upgraded player meets the boss in its first form; the boss's appearance
// delay (185 or 188 frames) is moved to its last frames.
void PlaceBoss(Scenario& scenario, const Fight& fight) {
  ClearCallLog();
  ShotLevel = 4, OptionLevel = 6, TurboLevel = 9;
  scenario.SetPlayer(300.0f, 600.0f);
  scenario.Place(fight.templateId, 700, 600, 1);
  for (int slot = 0; slot < kPoolSize; ++slot) {
    GameObject& record = ObjectPool[slot];
    if (record.state == kStateDelayed && record.timer >= 185) record.timer = 10;
    // The arrival rings and flares would cover the boss in the saved frames.
    if (slot >= kFirstAllocatedSlot && record.category == kCategoryEffect) ResetObject(slot);
  }
}

// One fight, saving frames when `save`; returns the digests of every frame.
std::vector<FrameDigest> RunFight(const Fight& fight, bool save) {
  Scenario scenario(fight.stage);
  PlaceBoss(scenario, fight);
  std::vector<FrameDigest> digests = scenario.Run(kEntryFrames);
  const int slot = BossSlot(fight.behaviour);
  EXPECT_GE(slot, 0) << fight.name;
  if (slot < 0) return digests;
  EXPECT_EQ(ObjectPool[slot].state, kStateActive) << fight.name;
  if (save) scenario.SaveFrame(std::string(fight.name) + "-1-entry");
  for (std::size_t change = 0; change < fight.thresholds.size(); ++change) {
    ObjectPool[slot].hitPoints = fight.thresholds[change] - 1;
    const std::vector<FrameDigest> more = scenario.Run(kPhaseFrames);
    digests.insert(digests.end(), more.begin(), more.end());
    EXPECT_EQ(ObjectPool[slot].deathEffect, fight.changedKinds[change]) << fight.name << " change " << change;
    if (save) scenario.SaveFrame(std::string(fight.name) + "-" + std::to_string(change + 2) + "-changed");
  }
  // The kill as the collision pass makes it: the death effect of the kind set last.
  SpawnDeathEffects(slot);
  ResetObject(slot);
  const std::vector<FrameDigest> end = scenario.Run(30);
  digests.insert(digests.end(), end.begin(), end.end());
  if (save) scenario.SaveFrame(std::string(fight.name) + "-4-killed");
  return digests;
}

class StageBossFights : public testing::TestWithParam<Fight> {};

TEST_P(StageBossFights, ChangesFormsDiesAndRepeatsItsDigests) {
  const Fight& fight = GetParam();
  const std::vector<FrameDigest> first = RunFight(fight, true);
  const std::vector<FrameDigest> second = RunFight(fight, false);
  // The call hashes are left out: sounds are logged with the handles of each start's
  // freshly loaded sound effects. The pool, the run state and the draws must agree.
  ASSERT_EQ(first.size(), second.size());
  for (std::size_t frame = 0; frame < first.size(); ++frame) {
    ASSERT_EQ(first[frame].pool, second[frame].pool) << "frame " << frame;
    ASSERT_EQ(first[frame].runState, second[frame].runState) << "frame " << frame;
    ASSERT_EQ(first[frame].randomDraws, second[frame].randomDraws) << "frame " << frame;
  }
}

TEST_P(StageBossFights, WithdrawsWhenItsTimeRunsOut) {
  const Fight& fight = GetParam();
  Scenario scenario(fight.stage);
  PlaceBoss(scenario, fight);
  scenario.Run(kEntryFrames);
  const int slot = BossSlot(fight.behaviour);
  ASSERT_GE(slot, 0);
  // The clock moved near its end: the last coin left, the next multiple of 80 close.
  ObjectPool[slot].coinDrop = 0;
  ObjectPool[slot].timer = 71;
  scenario.Run(9);
  EXPECT_EQ(ObjectPool[slot].behaviour, fight.behaviour);
  scenario.Run(1);
  EXPECT_EQ(ObjectPool[slot].behaviour, 4059) << fight.name;
  EXPECT_EQ(ObjectPool[slot].category, kCategoryEffect);
  for (int layer : {11, 12, 13}) EXPECT_EQ(ObjectPool[layer].state, kStateFree) << fight.name << " slot " << layer;
  scenario.Run(4);
  scenario.SaveFrame(std::string(fight.name) + "-5-withdrawn");
}

INSTANTIATE_TEST_SUITE_P(
    Stages235, StageBossFights,
    testing::Values(Fight{"stage2", 2, 1033, 3031, {12000}, {2}},
                    Fight{"stage3", 3, 1042, 3040, {35000, 18000}, {1, 3}},
                    Fight{"stage5", 5, 1054, 3051, {60000, 33000}, {1, 5}}),
    [](const testing::TestParamInfo<Fight>& info) { return std::string(info.param.name); });

}  // namespace
