// Every stage's bosses with their attachments and glows, placed in view in a started
// game and run past their appearance delay; the frames are saved to be looked at.
#include <gtest/gtest.h>

#include <array>
#include <ostream>

#include "core/game_state.h"
#include "scenario.h"

namespace {

struct BossScene {
  const char* name;
  int stage;
  std::vector<std::array<int, 4>> placed;  // template, x, y, facing
  std::vector<int> activeSlots;            // boss records awake after 200 frames
};

void PrintTo(const BossScene& scene, std::ostream* out) { *out << scene.name; }

class BossFrames : public testing::TestWithParam<BossScene> {};

TEST_P(BossFrames, BossesWakeAndAreDrawnWithTheirLayers) {
  const BossScene& scene = GetParam();
  Scenario scenario(scene.stage);
  scenario.SetPlayer(150.0f, 600.0f);
  for (const auto& [templateId, x, y, facing] : scene.placed) scenario.Place(templateId, x, y, facing);
  scenario.Run(200);
  for (int slot : scene.activeSlots) EXPECT_EQ(ObjectPool[slot].state, kStateActive) << "slot " << slot;
  EXPECT_FALSE(scenario.SaveFrame(scene.name).empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryStage, BossFrames,
    testing::Values(
        BossScene{"stage2-1033", 2, {{1033, 600, 380, 1}}, {53}},
        BossScene{"stage3-1042", 3, {{1042, 560, 384, 1}}, {10, 11, 12, 13}},
        BossScene{"stage5-1054", 5, {{1054, 560, 384, 1}}, {56}},
        BossScene{"stage6-1076-1078", 6, {{1076, 300, 250, 0}, {1077, 750, 250, 1}, {1078, 520, 560, 1}}, {53, 57, 61}},
        BossScene{"stage7-1085", 7, {{1085, 600, 384, 1}}, {10, 12}},
        BossScene{"stage8-1094-1096",
                  8,
                  {{1094, 520, 450, 0}, {1095, 250, 250, 1}, {1096, 800, 250, 0}},
                  {10, 12, 13, 14, 15, 16, 17, 18}},
        BossScene{"stage8-1103-1097-1102",
                  8,
                  {{1103, 512, 384, 0}, {1097, 512, 384, 0}, {1102, 512, 384, 0}},
                  {10, 11, 19, 17}},
        BossScene{"stage8-1105-1108", 8, {{1105, 512, 384, 0}, {1108, 512, 384, 0}}, {10, 13, 21, 50, 58}}),
    [](const testing::TestParamInfo<BossScene>& info) {
      std::string name = info.param.name;
      for (char& c : name) c = c == '-' ? '_' : c;
      return name;
    });

}  // namespace
