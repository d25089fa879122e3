// The player templates in a started game: a game started with four options has them
// in slots 31-34, and one frame holds them and the records of every ShotCode, each
// fired as the player's shot code fires it with the player moved to a grid point of
// its own; saved to be looked at.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <utility>
#include <sstream>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "float_to_int.h"
#include "scenario.h"

namespace {

// ShotCode -> the templates it fires, from the fixture's "shotcode" lines.
std::map<int, std::vector<int>> ShotCodeTable() {
  std::map<int, std::vector<int>> table;
  std::ifstream file(PLAYER_TEMPLATES_FIXTURE);
  for (std::string text; std::getline(file, text);) {
    std::istringstream line(text);
    std::string kind;
    int code, templateId;
    if (!(line >> kind >> code) || kind != "shotcode") continue;
    while (line >> templateId) table[code].push_back(templateId);
  }
  return table;
}

int LiveRecords() {
  int live = 0;
  for (int slot = kFirstAllocatedSlot; slot < kPoolSize; ++slot) live += ObjectPool[slot].state != kStateFree;
  return live;
}

TEST(PlayerTemplateFrames, EveryShotCodeFiredOnItsOwnGridPoint) {
  const std::map<int, std::vector<int>> table = ShotCodeTable();
  ASSERT_EQ(table.size(), 48u);
  Scenario scenario(1);
  // Four options, as a run started with option level 4 has them (the menus reset the
  // start values on the way, so they are placed here).
  OptionLevel = 4;
  for (int i = 0; i < 4; ++i) {
    scenario.Place(2152 + i, FloatToInt(ObjectPool[kPlayerSlot].x), FloatToInt(ObjectPool[kPlayerSlot].y), 0, 0);
  }
  for (int slot = kFirstOptionSlot; slot <= kLastOptionSlot; ++slot) {
    EXPECT_EQ(ObjectPool[slot].behaviour, slot < kFirstOptionSlot + 4 ? 4083 : 0) << "option slot " << slot;
  }
  scenario.Run(120);  // past the stage's opening white-out
  const int before = LiveRecords();
  int index = 0;
  for (const auto& [code, templates] : table) {
    // Eight columns of six codes, every other code facing -x.
    const float x = 80.0f + 124.0f * static_cast<float>(index % 8);
    const float y = 70.0f + 120.0f * static_cast<float>(index / 8);
    const int facing = index++ % 2;
    scenario.SetPlayer(x, y, facing);
    for (int templateId : templates) {
      const bool secondTimer = templateId == 2036 || templateId == 2038 || templateId == 2040;
      const bool atPlayer = templateId == 2216;
      scenario.Place(templateId, atPlayer ? FloatToInt(x) : 0, atPlayer ? FloatToInt(y) : 0, secondTimer ? 0 : facing,
                     0);
    }
  }
  // WindForce 30, GhostFlame 15, their variants 24 and 17, GoldStrike 8 and 30,
  // StomeSpike 7 and 7, CloudClack 4 and 8, DragonScale 4 and 4.
  EXPECT_EQ(LiveRecords() - before, 158);
  scenario.SetPlayer(960.0f, 700.0f);
  scenario.Run(1);
  EXPECT_FALSE(scenario.SaveFrame("every-shot-code").empty());
}

// A recorded game fires every ShotCode in turn, fire held; a hook at fixed frames
// switches the code and keeps the player out of harm, in the game and its playback.
TEST(PlayerTemplateFrames, EveryShotCodeFiredInARecordedGameAndItsPlayback) {
  const std::map<int, std::vector<int>> table = ShotCodeTable();
  std::set<int> shotTemplates;
  for (const auto& [code, templates] : table) shotTemplates.insert(templates.begin(), templates.end());
  std::vector<int> codes;
  for (const auto& entry : table) codes.push_back(entry.first);
  constexpr int kFramesPerCode = 20;
  std::map<int, std::set<int>> fired;  // ShotCode -> shot templates created while it was in use
  // After each frame: the shots it created go to the code it fired with; then the next
  // frame's code is set, its reload and shot spacing run out.
  const FrameHook hook = [&](int frame) {
    const std::vector<RecordedCall>& log = CallLog();
    for (auto call = log.rbegin(); call != log.rend() && call->frame == RecordedFrame(); ++call) {
      if (call->call == Call::CreateObject && shotTemplates.count(call->Int(0))) fired[NShotType].insert(call->Int(0));
    }
    const int next = codes[std::min<std::size_t>((frame + 1) / kFramesPerCode, codes.size() - 1)];
    if (next != NShotType) ShotReload = SubShotReload = MainShotTimer = SubShotTimer = 0;
    NShotType = next;
    InvulnFrames = 100.0f;
  };
  GameSession game;
  ASSERT_EQ(game.Start(), 0);
  StartAGame(game, codes[0], codes[0]);
  const std::vector<FrameDigest> recorded =
      PlayScript(game, {{static_cast<int>(codes.size()) * kFramesPerCode, kPadFire}}, hook);
  const std::map<int, std::set<int>> firedInGame = std::exchange(fired, {});
  for (const auto& [code, templates] : table) {
    EXPECT_EQ(firedInGame.count(code) ? firedInGame.at(code) : std::set<int>{},
              std::set<int>(templates.begin(), templates.end()))
        << "ShotCode " << code;
  }
  SaveTheRecording(4);
  const std::vector<FrameDigest> played = PlayBack(game, 4, hook);
  EXPECT_EQ(fired, firedInGame);
  EXPECT_EQ(FirstDivergingFrame(recorded, played), -1) << DescribeDivergence(recorded, played);
}

}  // namespace
