#include <gtest/gtest.h>

#include "../support/sound_system_fixture.h"

namespace {

using testdata::SoundSystemTest;

TEST_F(SoundSystemTest, StartsWithStereoSixteenBitPrimaryAndReportsTheDevice) {
  ASSERT_EQ(InitSoundSystem(), 0);
  ASSERT_NE(GetDirectSoundObject(), nullptr);
  WAVEFORMATEX primary{};
  ASSERT_EQ(GetPrimaryBufferFormat(&primary), 0);
  EXPECT_EQ(primary.nSamplesPerSec, 44100u);  // the device offers 48000
  EXPECT_EQ(primary.nChannels, 2);
  EXPECT_EQ(primary.wBitsPerSample, 16);
  EXPECT_EQ(primary.nBlockAlign, 4);
  EXPECT_EQ(primary.nAvgBytesPerSec, 176400u);
  EXPECT_EQ(LiveSoundObjectCount(), 3);  // device, primary and the silent buffer

  const std::string log = Log();
  for (const char* line : {"DirectSound の初期化を行います", "DirectSound インターフェースの取得を行います....  成功",
                           "引き続きインターフェースの初期化処理...  成功", "DirectSound デバイスを列挙します",
                           "モジュール名:", "最大サンプリングレート:48.00KHz 最小サンプリングレート:0.10KHz",
                           "総サウンドメモリ領域:0.00KB 空きサウンドメモリ領域:0.00KB",
                           " プライマリ １６bit = OK  ８bit = OK", " セカンダリ MONO = OK  STEREO = OK",
                           "DirectSound の初期化は正常に終了しました"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line;
  }
  // The silent buffer plays: the device keeps running, and mixes silence.
  for (int sample : Mix(200)) EXPECT_EQ(sample, 0);

  // A second start is refused and keeps the first device.
  IDirectSound* device = GetDirectSoundObject();
  EXPECT_EQ(InitSoundSystem(), -1);
  EXPECT_EQ(GetDirectSoundObject(), device);

  ASSERT_EQ(EndSoundSystem(), 0);
  EXPECT_EQ(GetDirectSoundObject(), nullptr);
  EXPECT_EQ(EndSoundSystem(), -1);
  EXPECT_NE(Log().find("DirectSound の終了処理は正常に終了しました"), std::string::npos);
}

TEST_F(SoundSystemTest, PrimaryFormatFollowsTheDeviceCapabilities) {
  SetSoundDeviceCaps(DSCAPS_PRIMARYMONO | DSCAPS_PRIMARY8BIT, 22050);
  ASSERT_EQ(InitSoundSystem(), 0);
  WAVEFORMATEX primary{};
  ASSERT_EQ(GetPrimaryBufferFormat(&primary), 0);
  EXPECT_EQ(primary.nSamplesPerSec, 22050u);
  EXPECT_EQ(primary.nChannels, 1);
  EXPECT_EQ(primary.wBitsPerSample, 8);
  EXPECT_EQ(primary.nAvgBytesPerSec, 22050u);
  EXPECT_NE(Log().find(" プライマリ １６bit = NO  ８bit = OK"), std::string::npos);
}

TEST_F(SoundSystemTest, EndFreesTheSoundsTheGameNeverFreed) {
  ASSERT_EQ(InitSoundSystem(), 0);
  const int a = Load(testdata::Ramp(100, 10), 3);
  const int b = Load(testdata::Ramp(50, 10), 1);
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  EXPECT_EQ(LiveSoundObjectCount(), 3 + 4);
  ASSERT_EQ(EndSoundSystem(), 0);
  EXPECT_EQ(LiveSoundObjectCount(), 0);
  EXPECT_EQ(TrackedBlocksInUse(), blocksBefore_);
  // Nothing works while the system is down.
  EXPECT_EQ(StartSoundBody(a, 1, 1), -1);
  EXPECT_EQ(IsSoundPlayingBody(a), -1);
  EXPECT_EQ(FreeSoundBody(a, 0), -1);
  EXPECT_EQ(FreeAllSounds(), -1);
  EXPECT_EQ(Load(testdata::Ramp(100, 10), 1), -1);
}

struct StartFailure {
  SoundFault fault;
  const char* log;
};

TEST_F(SoundSystemTest, DeviceFailuresLeaveTheSystemDownAndReleased) {
  const StartFailure failures[] = {
      {SoundFault::CreateDevice, "DirectSoundインターフェースの作成に失敗しました"},
      {SoundFault::Initialize, "初期化に失敗しました"},
      {SoundFault::SetCooperativeLevel, "DirectSoundの協調レベルの設定に失敗しました"},
      {SoundFault::CreatePrimaryBuffer, "DirectSoundのプライマリサウンドバッファの作成に失敗しました"},
  };
  for (const StartFailure& failure : failures) {
    InjectSoundFault(failure.fault, 0);
    EXPECT_EQ(InitSoundSystem(), -1) << failure.log;
    EXPECT_EQ(GetDirectSoundObject(), nullptr);
    EXPECT_EQ(LiveSoundObjectCount(), 0) << failure.log;
    EXPECT_NE(Log().find(failure.log), std::string::npos) << failure.log;
  }
  EXPECT_EQ(InitSoundSystem(), 0);
}

TEST_F(SoundSystemTest, FormatSilentBufferAndReportFailuresOnlyLog) {
  InjectSoundFault(SoundFault::SetFormat, 0);
  InjectSoundFault(SoundFault::CreateSecondaryBuffer, 0);
  FailNextModuleCall(1, 0);
  ASSERT_EQ(InitSoundSystem(), 0);
  EXPECT_EQ(LiveSoundObjectCount(), 2);  // no silent buffer
  std::string log = Log();
  EXPECT_NE(log.find("DirectSoundのプライマリサウンドバッファのフォーマット設定に失敗しました"), std::string::npos);
  EXPECT_NE(log.find("無音バッファの作成に失敗しました"), std::string::npos);
  EXPECT_NE(log.find("DSOUND.DLL のロードに失敗しました"), std::string::npos);
  EXPECT_EQ(log.find("モジュール名:"), std::string::npos);
  EXPECT_NE(log.find("DirectSound の初期化は正常に終了しました"), std::string::npos);
  ASSERT_EQ(EndSoundSystem(), 0);

  InjectSoundFault(SoundFault::Lock, 0);
  FailNextModuleCall(0, 1);
  ASSERT_EQ(InitSoundSystem(), 0);
  EXPECT_EQ(LiveSoundObjectCount(), 2);
  log = Log();
  EXPECT_NE(log.find("無音バッファのロックに失敗しました"), std::string::npos);
  EXPECT_NE(log.find("DirectSound デバイスの列挙用関数のポインタ取得に失敗しました"), std::string::npos);
  // The sounds still play.
  const int sound = Load(testdata::Ramp(10, 100), 1);
  ASSERT_GE(sound, 0);
  ASSERT_EQ(StartSoundBody(sound, 1, 1), 0);
  EXPECT_EQ(Mix(3), (std::vector<int>{0, 100, 200}));
}

TEST_F(SoundSystemTest, UpkeepHasNothingToDo) {
  EXPECT_EQ(RefillAllStreamSounds(), 0);
  EXPECT_EQ(PollMusicPlaying(), 0);
  EXPECT_EQ(OnMciMusicNotify(), 0);
  EXPECT_EQ(StopBackgroundMusic(), 0);
}

}  // namespace
