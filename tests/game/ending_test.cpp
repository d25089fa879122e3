// The ending call by call against its frames as typed from its frame table, veils and
// fader (data/ending_frames.txt), and its veils' order.
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

std::string Ints(const RecordedCall& call, int from, int to) {
  std::string text;
  for (int i = from; i < to; ++i) text += " " + std::to_string(call.Int(i));
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
    BgmHandles[2] = 7;
    // As the run's end leaves the game for the ending.
    std::tie(Scene, StageTimeline, EndFadeTimer, ReplayMode) = std::tuple(kSceneEnding, 0, 270, kReplayRecording);
    EndingSkip = EndingSkipFade = CreditPictureState = CreditPictureAlpha = EndingFadeIn = DeathFrames = FlashFade = 0;
    EndFadeFlag = EndingReached = Paused = 0;
  }
  void TearDown() override { ResetCallRecorder(); }

  // One call: its events appended as the fixture's "F" lines, its draws as a "D" line.
  static std::string RunFrame(std::vector<std::string>& events) {
    const int frame = StageTimeline + 1;
    const std::string at = "F" + std::to_string(frame) + " ";
    GameObject& figure = ObjectPool[12];
    figure.animStep = 3;
    if (frame >= 9000) std::tie(figure.x, figure.y) = std::tuple(440.9f, -0.5f);
    ClearCallLog();
    RunEnding();
    std::string draws = "D" + std::to_string(frame), blend, colour;
    for (const RecordedCall& c : CallLog()) {
      if (c.call == Call::CreateObject) events.push_back(at + "make" + Ints(c, 0, 5));
      if (c.call == Call::PlaySe) events.push_back(at + "se" + Ints(c, 0, 2));
      if (c.call == Call::StartSound && c.Int(0) == BgmHandles[2]) {
        events.push_back(at + "music" + Ints(c, 1, 3) + " " + std::to_string(static_cast<int>(BgmVolume[2])));
      }
      if (c.call == Call::SetBlendMode) blend = Ints(c, 0, 2);
      if (c.call == Call::MakeScreenColor) colour = c.Int(0) + c.Int(1) + c.Int(2) == 0 ? " black" : " white";
      if (c.call == Call::DrawRect) draws += " | box" + blend + colour;
      if (c.call == Call::DrawGraphAt) draws += " | tile " + std::to_string(c.Int(2) - kStaffTiles) + Ints(c, 0, 2) + blend;
    }
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

// All five veils in their order; a pause holds the two additive ones.
TEST_F(Ending, DrawsItsVeilsInOrderAndPauseHoldsTheAdditiveOnes) {
  for (const auto& [paused, additive] : {std::tuple(0, "12 white | box 2 11"), std::tuple(1, "10 white | box 2 10")}) {
    std::tie(StageTimeline, EndFadeTimer, EndingFadeIn, DeathFrames, FlashFade, EndFadeFlag) = std::tuple(5000, 10, 10, 10, 10, 28);
    Paused = paused;
    std::vector<std::string> events;
    EXPECT_EQ(RunFrame(events), std::string("D5001 | box 1 9 black | box 1 9 white | box 1 11 black | box 2 ") + additive + " white");
  }
}

}  // namespace
