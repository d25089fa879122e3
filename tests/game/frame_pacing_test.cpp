// The frame pacing on the virtual clock: a frame lasts its 17 ms plus the slow-down and
// the replay speed, and the wait sleeps most of it instead of reading the timer all along.
#include <gtest/gtest.h>

#include "core/frame_loop.h"
#include "core/game_state.h"
#include "game_library.h"
#include "testing.h"

namespace {

TEST(FramePacing, AFrameIsSleptAndOnlyItsLastMillisecondsAreSpun) {
  struct Case {
    float slowdown;
    int offset;
    int atLeast;
  };
  for (const Case& frame : {Case{0.0f, 0, 17}, Case{2.5f, 0, 20}, Case{0.0f, 50, 67}, Case{0.0f, -8, 9}}) {
    TestClockStart(5'000'000, 1'000);  // every read moves the clock 1 ms on
    SlowdownMs = frame.slowdown;
    FrameWaitOffset = frame.offset;
    FrameStartMs = static_cast<int>(GetMilliseconds());
    const std::uint64_t reads = TestClockReads();
    PaceFrame();
    const int lasted = static_cast<int>(GetMilliseconds() - static_cast<std::uint32_t>(FrameStartMs));
    EXPECT_GE(lasted, frame.atLeast) << frame.atLeast;
    EXPECT_LE(lasted, frame.atLeast + 4) << frame.atLeast;
    EXPECT_LE(TestClockReads() - reads, 5u) << frame.atLeast;
  }
  SlowdownMs = 0.0f;
  FrameWaitOffset = 0;
  TestClockStop();
}

}  // namespace
