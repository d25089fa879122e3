// The movie's sound through the sound device stand-in (its manual mixer): it plays while
// the movie runs, stops with it, follows seeks and falls silent at its end.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "dshow_fixture.h"

namespace {

class DShowSound : public DShowTest {
 protected:
  void SetUp() override {
    SetManualSoundDevice(1);
    DShowTest::SetUp();
  }
  void TearDown() override {
    DShowTest::TearDown();
    SetManualSoundDevice(0);
  }

  // The loudest sample of the next `frames` stereo frames the device mixes.
  static int Loudest(int frames, int from = 0) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2);
    EXPECT_EQ(StepSoundMixer(out.data(), frames), frames);
    int loudest = 0;
    for (std::size_t i = static_cast<std::size_t>(from) * 2; i < out.size(); ++i) {
      loudest = std::max(loudest, std::abs(static_cast<int>(out[i])));
    }
    return loudest;
  }
};

}  // namespace

TEST_F(DShowSound, TheSoundPlaysWhileTheMovieRuns) {
  TestMovieSpec spec;
  spec.withSound = true;
  OpenWithSample(WriteMovie(spec));
  EXPECT_EQ(LiveSoundObjectCount(), 2);  // the renderer's device and buffer
  EXPECT_EQ(Loudest(512), 0);
  ASSERT_EQ(Run(), S_OK);
  EXPECT_GT(Loudest(512), 2000);
  ASSERT_EQ(control_->Pause(), S_OK);
  EXPECT_EQ(Loudest(512), 0);
  ASSERT_EQ(Run(), S_OK);
  EXPECT_GT(Loudest(512), 2000);

  // 10 ms before the end: 441 frames of sound, then silence.
  ASSERT_EQ(stream_->Seek(7900000), S_OK);
  std::vector<std::int16_t> out(2048);
  ASSERT_EQ(StepSoundMixer(out.data(), 1024), 1024);
  EXPECT_GT(*std::max_element(out.begin(), out.begin() + 2 * 441), 2000);
  EXPECT_TRUE(std::all_of(out.begin() + 2 * 441, out.end(), [](std::int16_t s) { return s == 0; }));

  Close();
  EXPECT_EQ(LiveSoundObjectCount(), 0);
}

// Sought while it stands still, the sound plays from there once the movie runs: never
// started, and paused after playing.
TEST_F(DShowSound, ASeekWhileStoppedPlaysFromThereOnTheNextRun) {
  TestMovieSpec spec;
  spec.withSound = true;
  const std::string file = WriteMovie(spec);
  for (bool playedBefore : {false, true}) {
    SCOPED_TRACE(playedBefore);
    OpenWithSample(file);
    if (playedBefore) {
      ASSERT_EQ(Run(), S_OK);
      EXPECT_GT(Loudest(512), 2000);
      ASSERT_EQ(control_->Pause(), S_OK);
    }
    // 10 ms before the end: 441 frames of sound, then silence.
    ASSERT_EQ(stream_->Seek(7900000), S_OK);
    EXPECT_EQ(Loudest(512), 0);
    ASSERT_EQ(Run(), S_OK);
    EXPECT_GT(Loudest(441), 2000);
    EXPECT_EQ(Loudest(583), 0);
    Close();
  }
}

TEST_F(DShowSound, TheSoundIsToppedUpAsItPlays) {
  TestMovieSpec spec;
  spec.withSound = true;
  spec.frames = 20;  // two seconds, longer than what is queued at once
  OpenWithSample(WriteMovie(spec));
  ASSERT_EQ(Run(), S_OK);
  // A second of mixing at no more than the real rate: four times what is queued at once.
  int quiet = 0;
  for (int step = 0; step < 100; ++step) {
    if (Loudest(441) < 2000) ++quiet;
    const timespec pause = {0, 10000000};
    nanosleep(&pause, nullptr);
  }
  EXPECT_EQ(quiet, 0);
}

TEST_F(DShowSound, AMovieWithoutASoundDevicePlaysSilently) {
  InjectSoundFault(SoundFault::Initialize, 0, 1);
  TestMovieSpec spec;
  spec.withSound = true;
  OpenWithSample(WriteMovie(spec));
  EXPECT_EQ(LiveSoundObjectCount(), 0);
  ASSERT_EQ(Run(), S_OK);
  ClockAt(300);
  EXPECT_EQ(Update(), S_OK);
  EXPECT_EQ(ShownFrame(), 3);
}
