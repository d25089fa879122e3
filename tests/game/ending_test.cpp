// The ending call by call against its frames as typed from its frame table, veils and
// fader (data/ending_frames.txt); the order of its veils and of the skip's box.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "core/new_game.h"
#include "core/object_pool.h"
#include "screens/screens.h"

namespace {

bool IsDrawing(Call call) {
  return call == Call::SetBlendMode || call == Call::MakeScreenColor || call == Call::DrawRect || call == Call::DrawGraphAt;
}

std::string Ints(const RecordedCall& call, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += " " + std::to_string(call.Int(i));
  return text;
}

class Ending : public testing::Test {
 protected:
  void SetUp() override {
    // The ending follows a game.
    ResetModeState();
    NewGameInit();
    ResetCallRecorder();
    for (Call call : {Call::CreateObject, Call::StartSound, Call::SetBlendMode, Call::DrawRect, Call::DrawGraphAt}) {
      SetForwarding(call, false);
    }
    RecordDrawing(true);
    for (int slot = 0; slot < kPoolSize; ++slot) ResetObject(slot);
    for (int tile = 0; tile < kCellsPerSet; ++tile) SpriteHandles[24 * kCellsPerSet + tile] = 2400 + tile;
    SeHandles.fill(-1);  // sound effects are logged as PlaySe alone
    // As the run's end leaves the game for the ending.
    std::tie(Scene, StageTimeline, EndFadeTimer, ReplayMode, BgmHandles[2]) = std::tuple(kSceneEnding, 0, 270, 1, 7);
    EndingSkip = EndingSkipFade = CreditPictureState = CreditPictureAlpha = EndingFadeIn = DeathFrames = FlashFade = 0;
    EndFadeFlag = EndingReached = Paused = BgmFadeMode[2] = 0;
    BgmVolume[2] = 0.0f;
  }
  void TearDown() override { ResetCallRecorder(); }

  // One call: its events appended as the fixture's "F" lines, its draws as a "D" line.
  static std::string RunFrame(std::vector<std::string>& events) {
    const int frame = StageTimeline + 1;
    const float volume = BgmVolume[2];
    const int replayMode = ReplayMode;
    const std::string at = "F" + std::to_string(frame) + " ";
    GameObject& figure = ObjectPool[12];
    figure.animStep = 3;
    if (frame >= 9000) std::tie(figure.x, figure.y) = std::tuple(440.9f, -0.5f);
    ClearCallLog();
    RunEnding();
    std::string draws = "D" + std::to_string(frame);
    for (const RecordedCall& c : CallLog()) {
      const std::string call = CallName(c.call) + Ints(c, c.argumentCount);
      if (IsDrawing(c.call)) draws += " | " + call;
      if (!IsDrawing(c.call)) events.push_back(at + call);
    }
    if (BgmVolume[2] != volume) events.push_back(at + "music volume " + std::to_string(static_cast<int>(BgmVolume[2])));
    if (ReplayMode != replayMode) events.push_back(at + "replay mode " + std::to_string(ReplayMode));
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
  const auto box = [](int mode, int parameter, const char* colour) {
    return " | SetBlendMode " + std::to_string(mode) + " " + std::to_string(parameter) + " | MakeScreenColor " + colour +
           " | DrawRect 0 0 1024 768 0 1";
  };
  for (const auto& [paused, flash, additive] : {std::tuple(0, 12, 11), std::tuple(1, 10, 10)}) {
    std::tie(StageTimeline, EndFadeTimer, EndingFadeIn, DeathFrames, FlashFade, EndFadeFlag) = std::tuple(5000, 10, 10, 10, 10, 28);
    std::tie(Paused, ActionHold[4], EndingSkip, EndingSkipFade, BgmFadeMode[2]) = std::tuple(paused, 2, 0, 0, 0);
    std::vector<std::string> events;
    EXPECT_EQ(RunFrame(events), "D5001" + box(1, 9, "0 0 0") + box(1, 9, "255 255 255") + box(1, 11, "0 0 0") +
                                    box(2, flash, "255 255 255") + box(2, additive, "255 255 255") + box(1, 1, "0 0 0"));
    EXPECT_EQ(std::tuple(EndingSkip, BgmFadeMode[2]), std::tuple(1, 1));
  }
}

}  // namespace
