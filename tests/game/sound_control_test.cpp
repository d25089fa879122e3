#include <gtest/gtest.h>

#include "../support/call_recorder.h"
#include "core/game_state.h"
#include "core/sound_control.h"

namespace {

// Steps the fades until the channel's mode ends; the frames it took.
int FramesUntilDone(int channel, int limit = 2000) {
  int frames = 0;
  while (BgmFadeMode[channel] != kFadeNone && frames < limit) {
    UpdateBgmFades();
    ++frames;
  }
  return frames;
}

TEST(SoundControl, FadingOutFromFullVolumeStopsAfter255Frames) {
  BgmVolume[2] = 255.0f;
  SetBgmFade(2, kFadeOutStop);
  EXPECT_EQ(FramesUntilDone(2), 255);
  EXPECT_EQ(BgmVolume[2], 0.0f);
}

TEST(SoundControl, FadingDownEndsNearlySilentAndKeepsPlaying) {
  BgmVolume[5] = 255.0f;
  SetBgmFade(5, kFadeDown);
  EXPECT_EQ(FramesUntilDone(5), 253);
  EXPECT_EQ(BgmVolume[5], 1.0f);
}

TEST(SoundControl, FadesInAndOutAtTheirSteps) {
  struct Case {
    int mode;
    float start;
    int frames;
    float end;
  };
  const Case cases[] = {
      {kFadeIn, 0.0f, 255, 255.0f},        {kFadeInFast, 0.0f, 85, 255.0f},
      {kFadeOutStopFast, 255.0f, 85, 0.0f}, {kFadeStop, 100.0f, 1, 0.0f},
      {kFadeIn, 100.0f, 155, 255.0f},
  };
  for (const Case& c : cases) {
    BgmVolume[7] = c.start;
    SetBgmFade(7, c.mode);
    EXPECT_EQ(FramesUntilDone(7), c.frames) << "mode " << c.mode;
    EXPECT_EQ(BgmVolume[7], c.end) << "mode " << c.mode;
  }
}

TEST(SoundControl, SlowFadesStepByAFifth) {
  BgmVolume[1] = 10.0f;
  SetBgmFade(1, kFadeInSlow);
  UpdateBgmFades();
  EXPECT_FLOAT_EQ(BgmVolume[1], 10.2f);
  SetBgmFade(1, kFadeOutStopSlow);
  const int frames = FramesUntilDone(1);
  EXPECT_GE(frames, 51);
  EXPECT_LE(frames, 52);
  EXPECT_EQ(BgmVolume[1], 0.0f);
}

TEST(SoundControl, FullVolumeIsSetAtOnceAndStays) {
  BgmVolume[3] = 40.0f;
  SetBgmFade(3, kFadeFull);
  EXPECT_EQ(BgmVolume[3], 255.0f);
  UpdateBgmFades();
  EXPECT_EQ(BgmFadeMode[3], kFadeFull);
  EXPECT_EQ(BgmVolume[3], 255.0f);
}

// A fade-in starts its channel whenever the piece is not playing, also from a volume a
// fade-out left above 0; a playing piece is never restarted, also at volume 0.
TEST(SoundControl, FadeInsStartAPieceThatIsNotPlayingAndLeaveAPlayingOneAlone) {
  struct Case {
    int mode;
    float volume;
    int playing;  // what the library answers
    bool starts;
  };
  const Case cases[] = {
      {kFadeIn, 0.0f, 0, true},       {kFadeIn, 180.0f, 0, true},    {kFadeInFast, 180.0f, 0, true},
      {kFadeFull, 180.0f, 0, true},   {kFadeIn, 180.0f, 1, false},   {kFadeInFast, 180.0f, 1, false},
      {kFadeFull, 180.0f, 1, false},  {kFadeFull, 0.0f, 1, false},   {kFadeInSlow, 0.0f, 0, false},
  };
  constexpr int kHandle = 4321;
  for (Call faked : {Call::IsSoundPlaying, Call::StartSound, Call::SetSoundVolume}) SetForwarding(faked, false);
  BgmHandles[2] = kHandle;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " volume " << c.volume << " playing " << c.playing);
    ClearCallLog();
    SetScriptedResult(Call::IsSoundPlaying, c.playing);
    BgmVolume[2] = c.volume;
    SetBgmFade(2, c.mode);
    const std::vector<RecordedCall> starts = CallsOf(Call::StartSound);
    EXPECT_EQ(starts.size(), c.starts ? 1u : 0u);
    if (c.starts && starts.size() == 1) {
      EXPECT_EQ(starts[0].Int(0), kHandle);
      EXPECT_EQ(starts[0].Int(1), 3);  // looping
      EXPECT_EQ(starts[0].Int(2), 1);  // from the top
    }
    // The volume rules stand: only full volume moves it at once.
    EXPECT_EQ(BgmVolume[2], c.mode == kFadeFull ? 255.0f : c.volume);
  }
  BgmHandles[2] = kNoHandle;
  BgmFadeMode[2] = kFadeNone;
  ResetCallRecorder();
}

TEST(SoundControl, OtherModesDoNothing) {
  BgmVolume[4] = 80.0f;
  SetBgmFade(4, 12);
  for (int i = 0; i < 10; ++i) UpdateBgmFades();
  EXPECT_EQ(BgmVolume[4], 80.0f);
  EXPECT_EQ(BgmFadeMode[4], 12);
}

TEST(SoundControl, SoundsThatWereNeverLoadedAreSkipped) {
  EXPECT_EQ(SeHandles[14], kNoHandle);
  PlaySe(14, 255);
  PlaySeIfIdle(37, 255);
  FreeBgmChannel(0);
  EXPECT_EQ(BgmHandles[0], kNoHandle);
}

}  // namespace
