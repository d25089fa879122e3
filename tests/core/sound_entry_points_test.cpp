// The sound entry points in a running library, on SDL's dummy audio device (which
// plays in real time): loading from the data folder and waiting for a sound to end.
#include <gtest/gtest.h>
#include <time.h>

#include <atomic>
#include <thread>

#include "../support/wave_builder.h"
#include "library_fixture.h"

namespace {

class SoundEntryPoints : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    ASSERT_EQ(InitLibrary(), 0);
  }
  void TearDown() override {
    EXPECT_EQ(EndLibrary(), 0);
    LibraryTest::TearDown();
  }

  // A tone of `frames` frames written as a WAV file and loaded with `buffers` buffers.
  int LoadTone(const std::string& path, int frames, int buffers) {
    const testdata::Bytes wav = testdata::Wav(testdata::PcmFmt(2, 44100, 16),
                                              testdata::AsBytes(testdata::Sine(frames, 2, 440, 44100, 8000)));
    scratch_.Write(path, std::string(wav.begin(), wav.end()));
    std::string gamePath = path;
    for (char& c : gamePath) c = c == '/' ? '\\' : c;
    return LoadSoundFile(gamePath.c_str(), buffers, -1);
  }
};

TEST_F(SoundEntryPoints, EveryEntryPointReachesItsWorker) {
  const int sound = LoadTone("data/se/beep.wav", 44100, 3);
  ASSERT_GE(sound, 0);
  EXPECT_EQ(StartSound(sound, 1, 1), 0);
  EXPECT_EQ(IsSoundPlaying(sound), 1);
  EXPECT_EQ(SetSoundVolume(128, sound), 0);
  EXPECT_EQ(StopSound(sound), 0);
  EXPECT_EQ(IsSoundPlaying(sound), 0);
  EXPECT_EQ(FreeSound(sound, 0), 0);
  EXPECT_EQ(IsSoundPlaying(sound), -1);
  EXPECT_EQ(LoadSoundFile("data\\se\\missing.wav", 1, -1), -1);
  EXPECT_TRUE(LogContains("右記の音声ファイルのロードに失敗しました_1：data\\se\\missing.wav\r\n"));
}

TEST_F(SoundEntryPoints, WaitUntilFinishedPumpsMessagesUntilTheSoundHasEnded) {
  const int sound = LoadTone("data/se/short.wav", 2205, 1);  // 50 ms
  ASSERT_GE(sound, 0);
  // Should the device never finish the sound, the window closes after 10 s and the
  // wait ends through the pump; the checks below then fail.
  std::atomic<bool> returned{false};
  std::thread watchdog([&returned] {
    for (int i = 0; i < 1000 && !returned; ++i) {
      const timespec pause = {0, 10000000};
      nanosleep(&pause, nullptr);
    }
    if (!returned) TestRequestWindowClose();
  });
  EXPECT_EQ(StartSound(sound, 0, 1), 0);
  returned = true;
  watchdog.join();
  EXPECT_EQ(IsSoundPlaying(sound), 0);
  EXPECT_EQ(ProcessMessage(), 0);
}

TEST_F(SoundEntryPoints, WaitingEndsAsSoonAsThePumpReportsQuit) {
  const int sound = LoadTone("data/bgm/long.wav", 5 * 44100, 1);
  ASSERT_GE(sound, 0);
  TestRequestWindowClose();
  EXPECT_EQ(StartSound(sound, 0, 1), 0);
  EXPECT_EQ(IsSoundPlaying(sound), 1);
  EXPECT_EQ(StopSound(sound), 0);
}

}  // namespace
