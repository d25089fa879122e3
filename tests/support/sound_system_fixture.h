// Tests of the sound system: a started system on the manual device, whose mixer the
// test steps, with the log written into a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "com/com.h"
#include "core/log.h"
#include "core/sound_loading.h"
#include "core/sound_system.h"
#include "core/sound_table.h"
#include "core/sound_workers.h"
#include "core/tracked_alloc.h"
#include "scratch_directory.h"
#include "testing.h"
#include "wave_builder.h"

namespace testdata {

class SoundSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    OpenLogFile();
    SetManualSoundDevice(1);
    blocksBefore_ = TrackedBlocksInUse();
  }

  void TearDown() override {
    EndSoundSystem();
    ResetSoundDeviceControls();
    FailNextModuleCall(0, 0);
    EXPECT_EQ(LiveSoundObjectCount(), 0);
    EXPECT_EQ(TrackedBlocksInUse(), blocksBefore_);
  }

  // The log so far (Shift-JIS, as the tests' literals are).
  std::string Log() const { return scratch_.Read("Log.txt"); }

  // A sound of `pcm` (16-bit stereo, 44100 Hz).
  static int Load(const std::vector<std::int16_t>& pcm, int buffers) {
    const Bytes file = Wav(PcmFmt(2, 44100, 16), AsBytes(pcm));
    return CreateSoundFromMemory(file.data(), static_cast<std::uint32_t>(file.size()), buffers, -1);
  }

  // The left channel of `frames` mixed frames.
  static std::vector<int> Mix(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2);
    EXPECT_EQ(StepSoundMixer(out.data(), frames), frames);
    std::vector<int> left;
    for (int i = 0; i < frames; ++i) left.push_back(out[2 * i]);
    return left;
  }

  ScratchDirectory scratch_;  // the current directory, holding the log
  std::size_t blocksBefore_ = 0;
};

// Stereo frames whose left sample is `step` x the frame number.
inline std::vector<std::int16_t> Ramp(int frames, int step) {
  std::vector<std::int16_t> s;
  for (int i = 0; i < frames; ++i) {
    s.push_back(static_cast<std::int16_t>(step * i));
    s.push_back(0);
  }
  return s;
}

}  // namespace testdata
