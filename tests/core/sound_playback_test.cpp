#include <gtest/gtest.h>

#include "../support/sound_system_fixture.h"
#include "core/sound_table.h"

namespace {

using testdata::Ramp;

class SoundPlayback : public testdata::SoundSystemTest {
 protected:
  void SetUp() override {
    testdata::SoundSystemTest::SetUp();
    ASSERT_EQ(InitSoundSystem(), 0);
  }
};

TEST_F(SoundPlayback, ThreeStartsOfOneEffectOverlapAndTheFourthRestartsTheOldest) {
  const int sound = Load(Ramp(1000, 1), 3);
  ASSERT_GE(sound, 0);
  EXPECT_EQ(LiveSoundObjectCount(), 3 + 3);
  ASSERT_EQ(StartSoundBody(sound, 1, 1), 0);
  Mix(100);
  ASSERT_EQ(StartSoundBody(sound, 1, 1), 0);
  Mix(100);
  ASSERT_EQ(StartSoundBody(sound, 1, 1), 0);
  EXPECT_EQ(Mix(1)[0], 200 + 100 + 0);
  ASSERT_EQ(StartSoundBody(sound, 1, 1), 0);  // the oldest play starts again
  EXPECT_EQ(Mix(1)[0], 1 + 0 + 101);
  EXPECT_EQ(IsSoundPlayingBody(sound), 1);
  ASSERT_EQ(StopSoundBody(sound), 0);
  EXPECT_EQ(IsSoundPlayingBody(sound), 0);
  EXPECT_EQ(Mix(1)[0], 0);
}

TEST_F(SoundPlayback, FromStartDecidesBetweenContinuingRestartingAndResuming) {
  const int sound = Load(Ramp(1000, 1), 1);
  ASSERT_EQ(StartSoundBody(sound, 1, 1), 0);
  Mix(50);
  ASSERT_EQ(StartSoundBody(sound, 1, 0), 0);  // playing: left alone
  EXPECT_EQ(Mix(1)[0], 50);
  ASSERT_EQ(StartSoundBody(sound, 1, 1), 0);  // playing: restarted
  EXPECT_EQ(Mix(1)[0], 0);
  Mix(29);
  ASSERT_EQ(StopSoundBody(sound), 0);
  Mix(10);
  ASSERT_EQ(StartSoundBody(sound, 1, 0), 0);  // stopped: resumes where it stopped
  EXPECT_EQ(Mix(1)[0], 30);
}

TEST_F(SoundPlayback, AnEndedSoundStartsAgainFromTheTop) {
  const int sound = Load(Ramp(100, 1), 1);
  ASSERT_EQ(StartSoundBody(sound, 1, 1), 0);
  Mix(150);
  EXPECT_EQ(IsSoundPlayingBody(sound), 0);
  ASSERT_EQ(StartSoundBody(sound, 1, 0), 0);
  EXPECT_EQ(Mix(2), (std::vector<int>{0, 1}));
}

TEST_F(SoundPlayback, LoopingPlayWrapsUntilStopped) {
  const int sound = Load(Ramp(10, 100), 1);
  ASSERT_EQ(StartSoundBody(sound, 3, 1), 0);
  const std::vector<int> out = Mix(25);
  for (int i = 0; i < 25; ++i) EXPECT_EQ(out[i], 100 * (i % 10)) << i;
  EXPECT_EQ(IsSoundPlayingBody(sound), 1);
  ASSERT_EQ(StopSoundBody(sound), 0);
  EXPECT_EQ(IsSoundPlayingBody(sound), 0);
}

TEST_F(SoundPlayback, VolumeIsTheSquareRootOfItsShareAndZeroIsSilence) {
  const int sound = Load(std::vector<std::int16_t>(2 * 100, 20000), 2);
  ASSERT_EQ(StartSoundBody(sound, 3, 1), 0);
  ASSERT_EQ(SetSoundVolumeBody(300, sound), 0);  // above 255: full volume
  EXPECT_EQ(Mix(1)[0], 20000);
  ASSERT_EQ(SetSoundVolumeBody(64, sound), 0);  // -600: half the amplitude
  EXPECT_NEAR(Mix(1)[0], 20000 * std::pow(10.0, -0.3), 1.0);
  ASSERT_EQ(SetSoundVolumeBody(128, sound), 0);  // -299
  EXPECT_NEAR(Mix(1)[0], 20000 * std::pow(10.0, -299 / 2000.0), 1.0);
  ASSERT_EQ(SetSoundVolumeBody(1, sound), 0);  // -2406
  EXPECT_NEAR(Mix(1)[0], 20000 * std::pow(10.0, -2406 / 2000.0), 1.0);
  ASSERT_EQ(SetSoundVolumeBody(0, sound), 0);
  EXPECT_EQ(Mix(1)[0], 0);
  // Every buffer of the sound has the volume.
  ASSERT_EQ(StartSoundBody(sound, 3, 1), 0);
  EXPECT_EQ(Mix(1)[0], 0);
  ASSERT_EQ(SetSoundVolumeBody(-5, sound), 0);
  EXPECT_EQ(Mix(1)[0], 0);
  // A new sound starts at full volume.
  const int other = Load(std::vector<std::int16_t>(2 * 100, 20000), 1);
  ASSERT_EQ(StopSoundBody(sound), 0);
  ASSERT_EQ(StartSoundBody(other, 1, 1), 0);
  EXPECT_EQ(Mix(1)[0], 20000);
}

TEST_F(SoundPlayback, BufferCountIsClampedAndZeroBuffersCannotStart) {
  const int ten = Load(Ramp(100, 1), 10);
  ASSERT_GE(ten, 0);
  EXPECT_EQ(LiveSoundObjectCount(), 3 + 10);
  EXPECT_EQ(Load(Ramp(100, 1), 11), -1);

  const int none = Load(Ramp(100, 1), 0);
  ASSERT_GE(none, 0);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(StartSoundBody(none, 1, 1), -1);
  EXPECT_EQ(IsSoundPlayingBody(none), 0);
  EXPECT_EQ(StopSoundBody(none), 0);
  EXPECT_EQ(SetSoundVolumeBody(100, none), 0);
  EXPECT_EQ(FreeSoundBody(none, 0), 0);
}

TEST_F(SoundPlayback, FailedDuplicateEndsTheBufferList) {
  InjectSoundFault(SoundFault::DuplicateBuffer, 1);
  const int sound = Load(Ramp(1000, 1), 3);
  ASSERT_GE(sound, 0);
  EXPECT_EQ(LiveSoundObjectCount(), 3 + 2);
  // Two buffers: the third start restarts the first play.
  ASSERT_EQ(StartSoundBody(sound, 1, 1), 0);
  Mix(10);
  ASSERT_EQ(StartSoundBody(sound, 1, 1), 0);
  Mix(10);
  ASSERT_EQ(StartSoundBody(sound, 1, 1), 0);
  EXPECT_EQ(Mix(1)[0], 10 + 0);
}

TEST_F(SoundPlayback, FirstBufferFallsBackToFewerControls) {
  InjectSoundFault(SoundFault::CreateSecondaryBuffer, 0);
  const int sound = Load(Ramp(100, 1), 1);
  ASSERT_GE(sound, 0);
  ASSERT_EQ(StartSoundBody(sound, 1, 1), 0);
  EXPECT_EQ(Mix(2), (std::vector<int>{0, 1}));
}

TEST_F(SoundPlayback, FirstBufferThatCannotBeMadeEndsTheProgram) {
  EXPECT_EXIT(
      {
        InjectSoundFault(SoundFault::CreateSecondaryBuffer, 0, 2);
        Load(Ramp(100, 1), 1);
      },
      ::testing::ExitedWithCode(255), "");
}

TEST_F(SoundPlayback, StaleAndForeignHandlesAreRefused) {
  const int a = Load(Ramp(100, 1), 1);
  ASSERT_GE(a, 0);
  EXPECT_EQ(a & 0x78000000, 0x10000000);
  ASSERT_EQ(FreeSoundBody(a, 0), 0);
  const int b = Load(Ramp(100, 1), 1);
  ASSERT_GE(b, 0);
  EXPECT_EQ(b & 0xFFFF, a & 0xFFFF);  // the same slot, another check number
  EXPECT_NE(b, a);
  EXPECT_EQ(StartSoundBody(a, 1, 1), -1);
  EXPECT_EQ(IsSoundPlayingBody(a), -1);
  EXPECT_EQ(FreeSoundBody(a, 0), -1);
  EXPECT_EQ(SetSoundVolumeBody(10, a), -1);
  EXPECT_EQ(StopSoundBody(a), -1);
  EXPECT_EQ(StartSoundBody((b & ~0x78000000) | 0x08000000, 1, 1), -1);  // a graph handle's type
  EXPECT_EQ(StartSoundBody(-1, 1, 1), -1);
  EXPECT_EQ(StartSoundBody(b | 0x0FFF, 1, 1), -1);  // slot beyond the table
  EXPECT_EQ(StartSoundBody(b, 1, 1), 0);
}

TEST_F(SoundPlayback, FreeingTheTopSoundLowersTheNextFreeSlot) {
  std::vector<int> sounds;
  for (int i = 0; i < 4; ++i) sounds.push_back(AddSoundData(-1));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(sounds[i] & 0xFFFF, i);
  ASSERT_EQ(FreeSoundBody(sounds[1], 0), 0);
  EXPECT_EQ(AddSoundData(-1) & 0xFFFF, 4);  // a freed slot below the top stays free
  ASSERT_EQ(FreeSoundBody(sounds[2], 0), 0);
  ASSERT_EQ(FreeSoundBody(sounds[3], 0), 0);
  EXPECT_EQ(AddSoundData(-1) & 0xFFFF, 5);  // slot 4 is still in use
  ASSERT_EQ(FreeAllSounds(), 0);
  EXPECT_EQ(AddSoundData(-1) & 0xFFFF, 0);
}

TEST_F(SoundPlayback, FullTableRefusesAndThenReusesTheLowestFreeSlot) {
  std::vector<int> sounds;
  for (int i = 0; i < kMaxSounds; ++i) sounds.push_back(AddSoundData(-1));
  EXPECT_EQ(sounds.back() & 0xFFFF, kMaxSounds - 1);
  EXPECT_EQ(AddSoundData(-1), -1);
  EXPECT_NE(Log().find("サウンドの数が許容量を越えました"), std::string::npos);
  ASSERT_EQ(FreeSoundBody(sounds[7], 0), 0);
  ASSERT_EQ(FreeSoundBody(sounds[3], 0), 0);
  EXPECT_EQ(AddSoundData(-1) & 0xFFFF, 3);
  // The check numbers wrapped after 2048 sounds, and stay within 11 bits.
  EXPECT_EQ((sounds[2048] >> 16) & 0x7FF, (sounds[0] >> 16) & 0x7FF);
}

TEST_F(SoundPlayback, LoadsThatFailGiveBackEverything) {
  const std::size_t blocks = TrackedBlocksInUse();
  const int objects = LiveSoundObjectCount();
  // Data no decoder takes.
  const testdata::Bytes junk(1000, 0x11);
  EXPECT_EQ(CreateSoundFromMemory(junk.data(), 1000, 1, -1), -1);
  EXPECT_NE(Log().find("音声ファイルのＰＣＭへの変換に失敗しました"), std::string::npos);
  // A WAV with no samples: the load fails, the program goes on.
  const testdata::Bytes empty = testdata::Wav(testdata::PcmFmt(2, 44100, 16), {});
  EXPECT_EQ(CreateSoundFromMemory(empty.data(), static_cast<std::uint32_t>(empty.size()), 1, -1), -1);
  // PCM the device cannot take: too many channels, too high a rate.
  const testdata::Bytes wide = testdata::Wav(testdata::PcmFmt(6, 44100, 16), testdata::Bytes(1200, 0));
  EXPECT_EQ(CreateSoundFromMemory(wide.data(), static_cast<std::uint32_t>(wide.size()), 1, -1), -1);
  const testdata::Bytes fast = testdata::Wav(testdata::PcmFmt(1, 400000, 16), testdata::Bytes(1200, 0));
  EXPECT_EQ(CreateSoundFromMemory(fast.data(), static_cast<std::uint32_t>(fast.size()), 1, -1), -1);
  // The buffers cannot be filled.
  InjectSoundFault(SoundFault::Lock, 1);
  const testdata::Bytes good = testdata::Wav(testdata::PcmFmt(2, 44100, 16), testdata::Bytes(400, 0));
  EXPECT_EQ(CreateSoundFromMemory(good.data(), static_cast<std::uint32_t>(good.size()), 3, -1), -1);
  EXPECT_NE(Log().find("サウンドデータの転送に失敗しました_1"), std::string::npos);

  EXPECT_EQ(TrackedBlocksInUse(), blocks);
  EXPECT_EQ(LiveSoundObjectCount(), objects);
  // Every failed load gave its table slot back.
  EXPECT_EQ(AddSoundData(-1) & 0xFFFF, 0);
}

}  // namespace
