// The options of each movement type firing with the shot held, the held special's aura
// and the last boss's halo, in a started game; frames saved to be looked at, and each
// scene run twice in the process gives the same digests.
#include <gtest/gtest.h>

#include <string>

#include "core/game_state.h"
#include "objects/object_factory.h"
#include "scenario.h"

namespace {

// Each program start numbers its sound handles anew, and the calls hash holds the
// handles the shot sounds are played on; the rest of each digest must agree.
std::vector<FrameDigest> WithoutCalls(std::vector<FrameDigest> digests) {
  for (FrameDigest& digest : digests) digest.calls = 0;
  return digests;
}

// Each movement type in turn, with a different shot each, the shot held (and the
// second action with Rolling); every type's last frame checked and, when `save`, saved.
std::vector<FrameDigest> OptionScenes(bool save) {
  const char* names[] = {"options-trace", "options-formation", "options-rolling", "options-guard"};
  Scenario scenario(1);
  scenario.SetPlayer(300.0f, 400.0f);
  OptionType = OptionShot = 0;  // the options are made as for Trace
  for (int templateId = 2152; templateId <= 2155; ++templateId) scenario.Place(templateId, 300, 400);  // options 1-4
  std::vector<FrameDigest> digests;
  for (int type = 0; type < 4; ++type) {
    OptionType = type;
    OptionShot = type;
    const std::vector<FrameDigest> frames = scenario.Run(60, kPadFire | (type == 2 ? kPadSecond : 0));
    digests.insert(digests.end(), frames.begin(), frames.end());
    EXPECT_GT(OptionFireTimer[31] + OptionBurstLeft[31] + OptionBurstGap[31], 0) << type;
    if (type == 0) {
      EXPECT_EQ(ObjectPool[32].x, PlayerTrailX[14]);
    }
    if (type == 2) {
      EXPECT_EQ(BehaviourParam80, 130);
    }
    if (save) {
      EXPECT_FALSE(scenario.SaveFrame(names[type]).empty());
    }
  }
  return digests;
}

TEST(CompanionScenes, EachOptionTypeMovesAndFiresTheSameTwice) {
  const std::vector<FrameDigest> first = WithoutCalls(OptionScenes(true));
  const std::vector<FrameDigest> second = WithoutCalls(OptionScenes(false));
  EXPECT_EQ(FirstDivergingFrame(first, second), -1) << DescribeDivergence(first, second);
}

std::vector<FrameDigest> HaloScene(bool save) {
  Scenario scenario(8);
  scenario.SetPlayer(150.0f, 600.0f);
  scenario.Place(1105, 512, 384);
  std::vector<FrameDigest> digests = scenario.Run(120);
  int rings = 0;
  for (const GameObject& record : ObjectPool) {
    if (record.state != kStateActive || record.behaviour < 4140 || record.behaviour > 4145) continue;
    ++rings;
    EXPECT_EQ(record.x, ObjectPool[10].x);
  }
  EXPECT_EQ(rings, 8);
  if (save) {
    EXPECT_FALSE(scenario.SaveFrame("last-boss-halo").empty());
  }
  return digests;
}

TEST(CompanionScenes, TheHaloStaysOnTheLastBossTheSameTwice) {
  const std::vector<FrameDigest> first = WithoutCalls(HaloScene(false));
  const std::vector<FrameDigest> second = WithoutCalls(HaloScene(true));
  EXPECT_EQ(FirstDivergingFrame(first, second), -1) << DescribeDivergence(first, second);
}

}  // namespace

namespace {

// A stored level-up spent with the third action held past the blast's wake: the
// stock special turns into the held special and its aura pair.
std::vector<FrameDigest> HeldSpecialScene(bool save) {
  Scenario scenario(1);
  scenario.SetPlayer(400.0f, 450.0f);
  LevelUpCount = 1;
  std::vector<FrameDigest> digests = scenario.Run(120, kPadSpecial);
  EXPECT_EQ(BssUsed, 1);
  EXPECT_EQ(PowerModeB, 1);
  EXPECT_EQ(ChainTimer > 0, true);
  int auras = 0;
  for (const GameObject& record : ObjectPool) {
    if (record.state == kStateActive && (record.behaviour == 4096 || record.behaviour == 4098)) ++auras;
  }
  EXPECT_EQ(auras, 2);
  if (save) {
    EXPECT_FALSE(scenario.SaveFrame("held-special-aura").empty());
  }
  return digests;
}

TEST(CompanionScenes, HeldSpecialRunsItsAuraTheSameTwice) {
  if (FindTemplate(2097) == nullptr || FindTemplate(2178) == nullptr) {
    GTEST_SKIP() << "the special action's templates are not in this build yet";
  }
  const std::vector<FrameDigest> first = WithoutCalls(HeldSpecialScene(true));
  const std::vector<FrameDigest> second = WithoutCalls(HeldSpecialScene(false));
  EXPECT_EQ(FirstDivergingFrame(first, second), -1) << DescribeDivergence(first, second);
}

}  // namespace
