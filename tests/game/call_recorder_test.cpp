// The shared call recorder: the game's calls reach its log in order, scripted results
// stand in for the real ones, and the frame hash tells frames apart.
#include <gtest/gtest.h>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "core/sound_control.h"
#include "game_library.h"
#include "objects/objects.h"

namespace {

class CallRecorderTest : public testing::Test {
 protected:
  void SetUp() override { ResetCallRecorder(); }
  void TearDown() override {
    ResetCallRecorder();
    SeHandles[91] = kNoHandle;
  }
};

TEST_F(CallRecorderTest, LogsASoundEffectAndTheCallsItMakesOnAFakeHandle) {
  SetForwarding(Call::SetSoundVolume, false);
  SetForwarding(Call::StartSound, false);
  SeHandles[91] = 7777;
  PlaySe(91, 200);
  const std::vector<RecordedCall>& log = CallLog();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].call, Call::PlaySe);
  EXPECT_EQ(log[0].Int(0), 91);
  EXPECT_EQ(log[1].call, Call::SetSoundVolume);
  EXPECT_EQ(log[1].Int(0), 200);
  EXPECT_EQ(log[1].Int(1), 7777);
  EXPECT_EQ(log[2].call, Call::StartSound);
  EXPECT_EQ(log[2].Int(0), 7777);
  SetScriptedResult(Call::IsSoundPlaying, 1);
  SetForwarding(Call::IsSoundPlaying, false);
  PlaySeIfIdle(91, 255);
  EXPECT_EQ(CallsOf(Call::PlaySe).size(), 1u);
}

TEST_F(CallRecorderTest, ScriptedRandomDrawsReplaceTheGenerator) {
  SeedRandom(5);
  const int real[] = {RandomInRange(99), RandomInRange(99)};
  SeedRandom(5);
  ScriptRandom(RandomScript::Max);
  EXPECT_EQ(RandomInRange(22), 22);
  ScriptRandom(RandomScript::Zero);
  EXPECT_EQ(RandomInRange(22), 0);
  ScriptRandom(RandomScript::Listed, {4, 8});
  EXPECT_EQ(RandomInRange(99), 4);
  EXPECT_EQ(RandomInRange(99), 8);
  // After the list the generator draws again, from where it stood.
  EXPECT_EQ(RandomInRange(99), real[0]);
  EXPECT_EQ(RandomDrawsSinceSeed(), 5);
  const std::vector<RecordedCall> draws = CallsOf(Call::RandomInRange);
  ASSERT_EQ(draws.size(), 7u);
  EXPECT_EQ(draws[2].Int(0), 22);
  EXPECT_EQ(draws[2].result, 22);
  EXPECT_EQ(draws[6].result, real[0]);
}

TEST_F(CallRecorderTest, TheFrameHashFollowsTheHashedCallsAndTheirArguments) {
  SetForwarding(Call::CreateObject, false);
  SetForwarding(Call::StopPadRumble, false);
  auto frame = [](int templateId, bool rumble) {
    CreateObject(templateId, 10, 20, 1, 0);
    if (rumble) StopPadRumble(1);
    return EndRecordedFrame();
  };
  const std::uint64_t first = frame(2099, false);
  EXPECT_EQ(frame(2099, true), first);
  EXPECT_NE(frame(2101, false), first);
  EXPECT_EQ(EndRecordedFrame(), 0u);
  EXPECT_EQ(CallLog().back().frame, 2);
  EXPECT_EQ(RecordedFrame(), 4);
}

}  // namespace
