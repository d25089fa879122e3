// The ending call by call against its frames as typed from its frame table, veils and
// fader (data/ending_frames.txt); the order of its veils and of the skip's box.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "core/object_pool.h"
#include "screens/screens.h"

namespace {

constexpr int kStaffTiles = 24 * kCellsPerSet;

std::string Ints(const RecordedCall& call, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += " " + std::to_string(call.Int(i));
  return text;
}

class Ending : public testing::Test {
 protected:
  void SetUp() override {
    ResetCallRecorder();
    for (Call call : {Call::CreateObject, Call::StartSound, Call::SetBlendMode, Call::DrawRect, Call::DrawGraphAt}) {
      SetForwarding(call, false);
    }
    RecordDrawing(true);
    for (int slot = 0; slot < kPoolSize; ++slot) ResetObject(slot);
    for (int tile = 0; tile < kCellsPerSet; ++tile) SpriteHandles[kStaffTiles + tile] = kStaffTiles + tile;
    SeHandles.fill(-1);  // sound effects are logged as PlaySe alone
    // As the run's end leaves the game for the ending.
    std::tie(Scene, StageTimeline, EndFadeTimer, ReplayMode, BgmHandles[2]) = std::tuple(kSceneEnding, 0, 270, 1, 7);
    EndingSkip = EndingSkipFade = CreditPictureState = CreditPictureAlpha = EndingFadeIn = DeathFrames = FlashFade = 0;
    EndFadeFlag = EndingReached = Paused = BgmFadeMode[2] = 0;
  }
  void TearDown() override { ResetCallRecorder(); }

  // One call: its events appended as the fixture's "F" lines, its draws as a "D" line.
  static std::string RunFrame(std::vector<std::string>& events) {
    const int frame = StageTimeline + 1;
    const float volume = BgmVolume[2];
    const std::string at = "F" + std::to_string(frame) + " ";
    GameObject& figure = ObjectPool[12];
    figure.animStep = 3;
    if (frame >= 9000) std::tie(figure.x, figure.y) = std::tuple(440.9f, -0.5f);
    ClearCallLog();
    RunEnding();
    std::string draws = "D" + std::to_string(frame), blend, colour;
    for (const RecordedCall& c : CallLog()) {
      if (c.call == Call::SetBlendMode) {
        blend = Ints(c, 2);
      } else if (c.call == Call::MakeScreenColor) {
        colour = c.Int(0) + c.Int(1) + c.Int(2) == 0 ? " black" : " white";
      } else if (c.call == Call::DrawRect) {
        draws += " | box" + blend + colour;
      } else if (c.call == Call::DrawGraphAt) {
        draws += " | tile " + std::to_string(c.Int(2) - kStaffTiles) + Ints(c, 2) + blend;
      } else {
        events.push_back(at + CallName(c.call) + Ints(c, c.argumentCount));
      }
    }
    if (BgmVolume[2] != volume) events.push_back(at + "music volume " + std::to_string(static_cast<int>(BgmVolume[2])));
    if (ReplayMode == kReplayOff && frame == 1) events.push_back(at + "recording off");
    if (figure.animStep == 0) events.push_back(at + "figure " + std::to_string(figure.animation));
    if (StageTimeline != frame) events.push_back(at + "next " + std::to_string(StageTimeline + 1));
    if (Scene == kSceneResults) events.push_back(at + "results " + std::to_string(ScenePhase) + " " + std::to_string(EndingReached));
    return draws;
  }
};

TEST_F(Ending, RunsFrameByFrameAsItsTableVeilsAndFaderSay) {
  std::vector<std::string> events, expectedEvents, draws(13301);
  int calls = 0;
  for (; Scene == kSceneEnding && calls < 14000; ++calls) {
    const int frame = StageTimeline + 1;
    draws[frame] = RunFrame(events);
  }
  EXPECT_EQ(calls, 13300 - 240);  // the jump skips 240 frames
  std::ifstream fixture(ENDING_FRAMES_FIXTURE);
  for (std::string line; std::getline(fixture, line);) {
    if (line[0] == 'F') expectedEvents.push_back(line);
    if (line[0] == 'D') {
      EXPECT_EQ(draws.at(std::stoi(line.substr(1))), line);
    }
  }
  ASSERT_FALSE(expectedEvents.empty()) << ENDING_FRAMES_FIXTURE;
  EXPECT_EQ(events, expectedEvents);
}

// All five veils in their order, then the skip's box; a pause holds the additive veils.
// The pause action held a second frame starts the skip and fades the music out.
TEST_F(Ending, DrawsItsVeilsInOrderThenTheSkipsBox) {
  for (const auto& [paused, additive] : {std::tuple(0, "12 white | box 2 11"), std::tuple(1, "10 white | box 2 10")}) {
    std::tie(StageTimeline, EndFadeTimer, EndingFadeIn, DeathFrames, FlashFade, EndFadeFlag) = std::tuple(5000, 10, 10, 10, 10, 28);
    std::tie(Paused, ActionHold[4], EndingSkip, EndingSkipFade, BgmFadeMode[2]) = std::tuple(paused, 2, 0, 0, 0);
    std::vector<std::string> events;
    EXPECT_EQ(RunFrame(events), "D5001 | box 1 9 black | box 1 9 white | box 1 11 black | box 2 " + std::string(additive) +
                                    " white | box 1 1 black");
    EXPECT_EQ(std::tuple(EndingSkip, BgmFadeMode[2]), std::tuple(1, 1));
  }
}

}  // namespace
