// The stage 2, 3 and 5 boss fights in a started game: entry, each change by scripted
// hit points, the kill, and a withdrawal with its clock moved near its end. The fight
// runs twice to the same states; the frames are saved to be looked at.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "objects/objects.h"
#include "scenario.h"

namespace {

struct Fight {
  const char* name;
  int stage, templateId, behaviour;
  std::vector<int> thresholds;    // hit points set just below each, in turn
  std::vector<int> changedKinds;  // deathEffect after each change
};
void PrintTo(const Fight& fight, std::ostream* out) { *out << fight.name; }

// A well-upgraded player meets the boss in its first form. Its appearance delay (185
// or 188 frames) is moved near its end, and the arrival effects that would cover it
// in the pictures go. Returns the boss's slot.
int PlaceBoss(Scenario& scenario, const Fight& fight) {
  ClearCallLog();
  ShotLevel = 4, OptionLevel = 6, TurboLevel = 9;
  scenario.SetPlayer(300.0f, 600.0f);
  scenario.Place(fight.templateId, 700, 600, 1);
  int boss = -1;
  for (int slot = 10; slot < kPoolSize; ++slot) {
    GameObject& record = ObjectPool[slot];
    if (record.state == kStateDelayed && record.timer >= 185) record.timer = 10;
    if (slot >= kFirstAllocatedSlot && record.category == kCategoryEffect) ResetObject(slot);
    if (boss < 0 && record.state != kStateFree && record.behaviour == fight.behaviour) boss = slot;
  }
  scenario.Run(12);
  EXPECT_EQ(ObjectPool[boss].state, kStateActive) << fight.name;
  return boss;
}

std::string Picture(const Fight& fight, int step, const char* what) {
  return std::string(fight.name) + "-" + std::to_string(step) + "-" + what;
}

// The fight after the entry; the pool's, run state's and draws' digest of each frame
// (the call hashes hold the handles of each start's freshly loaded sounds).
std::vector<std::tuple<std::uint64_t, std::uint64_t, int>> RunFight(const Fight& fight, bool save) {
  Scenario scenario(fight.stage);
  const int slot = PlaceBoss(scenario, fight);
  if (save) scenario.SaveFrame(Picture(fight, 1, "entry"));
  std::vector<FrameDigest> digests;
  for (std::size_t change = 0; change < fight.thresholds.size(); ++change) {
    ObjectPool[slot].hitPoints = fight.thresholds[change] - 1;
    for (const FrameDigest& digest : scenario.Run(30)) digests.push_back(digest);
    EXPECT_EQ(ObjectPool[slot].deathEffect, fight.changedKinds[change]) << fight.name << " change " << change;
    if (save) scenario.SaveFrame(Picture(fight, static_cast<int>(change) + 2, "changed"));
  }
  // The kill as the collision pass makes it: the death effect of the kind set last.
  SpawnDeathEffects(slot);
  ResetObject(slot);
  for (const FrameDigest& digest : scenario.Run(30)) digests.push_back(digest);
  if (save) scenario.SaveFrame(Picture(fight, 4, "killed"));
  std::vector<std::tuple<std::uint64_t, std::uint64_t, int>> states;
  for (const FrameDigest& d : digests) states.emplace_back(d.pool, d.runState, d.randomDraws);
  return states;
}

class StageBossFights : public testing::TestWithParam<Fight> {};

TEST_P(StageBossFights, ChangeFormsDieTheSameTwiceAndWithdraw) {
  const Fight& fight = GetParam();
  EXPECT_EQ(RunFight(fight, true), RunFight(fight, false));

  Scenario scenario(fight.stage);
  const int slot = PlaceBoss(scenario, fight);
  ObjectPool[slot].coinDrop = 0;  // the last coin left, the next multiple of 80 ten updates on
  ObjectPool[slot].timer = 71;
  scenario.Run(9);
  EXPECT_EQ(ObjectPool[slot].behaviour, fight.behaviour);
  scenario.Run(1);
  EXPECT_EQ(ObjectPool[slot].behaviour, 4059) << fight.name;
  for (int layer : {11, 12, 13}) EXPECT_EQ(ObjectPool[layer].state, kStateFree) << fight.name << " slot " << layer;
  scenario.Run(4);
  scenario.SaveFrame(Picture(fight, 5, "withdrawn"));
}

INSTANTIATE_TEST_SUITE_P(Stages235, StageBossFights,
                         testing::Values(Fight{"stage2", 2, 1033, 3031, {12000}, {2}},
                                         Fight{"stage3", 3, 1042, 3040, {35000, 18000}, {1, 3}},
                                         Fight{"stage5", 5, 1054, 3051, {60000, 33000}, {1, 5}}),
                         [](const testing::TestParamInfo<Fight>& info) { return std::string(info.param.name); });

}  // namespace
