// Death effects, a wreck over bullets and every main shot, run through the real frame
// loop: each scene gives the same digests when run again after other scenes, and when
// its recording is played back.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "scenario.h"

namespace {

constexpr int kTargetSlot = 45;

// A still target on screen that dies by `kind` on frame 2.
void PlaceDyingTarget(Scenario& scenario, int kind) {
  scenario.At(0, [kind] {
    GameObject& target = ObjectPool[kTargetSlot];
    target.state = kStateActive;
    target.category = kCategoryEnemy;
    target.x = 600.0f;
    target.y = 400.0f;
    target.width = target.height = 256;
    target.deathEffect = kind;
  });
  scenario.At(2, [] { Scenario::Kill(kTargetSlot); });
}

struct BehaviourScene {
  std::string name;
  int stage;
  int frames;
  int deathKind;                          // -1: nothing dies
  std::vector<std::array<int, 3>> shots;  // template, x, y
};

std::vector<BehaviourScene> AllScenes() {
  std::vector<BehaviourScene> scenes;
  for (int kind : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 99}) {
    scenes.push_back({"kind" + std::to_string(kind), 1, 20, kind, {}});
  }
  scenes.push_back({"kind13", 1, 6, 13, {}});
  // The main shots, each at level 0: WindForce, GhostFlame, CloudClack, StomeSpike,
  // DragonScale, GoldStrike.
  scenes.push_back({"shots", 1, 30, -1, {{2034, 200, 300}, {2041, 200, 350}, {2026, 200, 400},
                                         {2024, 200, 450}, {2081, 200, 500}, {2099, 200, 550}}});
  return scenes;
}

std::vector<FrameDigest> Play(const BehaviourScene& scene, Scenario& scenario) {
  scenario.SetPlayer(200.0f, 400.0f);
  if (scene.deathKind >= 0) PlaceDyingTarget(scenario, scene.deathKind);
  for (const auto& [templateId, x, y] : scene.shots) scenario.Place(templateId, x, y, 0, 0);
  return scenario.Run(scene.frames);
}

TEST(BehaviourScenes, ScenesRepeatAfterOtherScenes) {
  const std::vector<BehaviourScene> scenes = AllScenes();
  std::vector<std::vector<FrameDigest>> first;
  for (const BehaviourScene& scene : scenes) {
    Scenario scenario(scene.stage);
    first.push_back(Play(scene, scenario));
    if (scene.name == "kind1" || scene.name == "kind10") scenario.SaveFrame(scene.name);
  }
  for (const std::size_t i : {std::size_t{1}, std::size_t{10}, scenes.size() - 1}) {  // kinds 1, 10 and the shots
    Scenario scenario(scenes[i].stage);
    const std::vector<FrameDigest> again = Play(scenes[i], scenario);
    EXPECT_EQ(FirstDivergingFrame(first[i], again), -1) << scenes[i].name << ": " << DescribeDivergence(first[i], again);
  }
}

// A ring of bullets, then a stage 2 boss's death: its wreck turns the bullets into
// chips, explodes and ends; the same in its replay.
TEST(BehaviourScenes, AWreckOverBulletsPlaysBackAsRecorded) {
  Scenario scenario(2);
  scenario.SetPlayer(150.0f, 600.0f);
  scenario.At(0, [] {
    for (int i = 0; i < 36; ++i) {
      GameObject& bullet = ObjectPool[100 + i];
      bullet.state = kStateActive;
      bullet.category = kCategoryEnemyBullet;
      bullet.behaviour = 4063;
      bullet.timer = 600;
      bullet.x = 700.0f;
      bullet.y = 300.0f;
      bullet.vx = static_cast<float>(std::cos(i * 10 * 0.0174533));
      bullet.vy = static_cast<float>(std::sin(i * 10 * 0.0174533));
    }
  });
  PlaceDyingTarget(scenario, 2);
  // The chips are counted as records: the player's chip count decays and pays out.
  int mostChips = 0;
  const std::vector<FrameDigest> recorded = scenario.Run(310, 0, [&](int frame) {
    if (frame == 130 || frame == 290) scenario.SaveFrame("wreck" + std::to_string(frame));
    const int chips = static_cast<int>(std::count_if(&ObjectPool[100], &ObjectPool[136], [](const GameObject& record) {
      return record.state == kStateActive && record.category == kCategoryPickup && record.behaviour == 3068;
    }));
    mostChips = std::max(mostChips, chips);
  });
  EXPECT_EQ(mostChips, 36);
  EXPECT_EQ(WhiteFlashAlpha > 0, true);
  const std::vector<FrameDigest> played = scenario.PlayBackRecording(1);
  EXPECT_EQ(FirstDivergingFrame(recorded, played), -1) << DescribeDivergence(recorded, played);
  EXPECT_EQ(played.size(), recorded.size());
}

}  // namespace
