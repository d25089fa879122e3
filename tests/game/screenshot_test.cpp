#include <gtest/gtest.h>

#include "../support/as_another_user.h"
#include "../support/scratch_directory.h"
#include "core/screenshot.h"

namespace {

TEST(Screenshot, NamesCarryTheDateAndTimeWithoutPadding) {
  ScratchDirectory scratch;
  const int when[6] = {2025, 3, 5, 9, 7, 3};
  EXPECT_EQ(ScreenshotFileName(when), "VT202535973.bmp");
}

TEST(Screenshot, ATakenNameIsNeverOverwritten) {
  ScratchDirectory scratch;
  const int when[6] = {2025, 11, 1, 0, 0, 0};
  scratch.Write("VT2025111000.bmp", "first");
  EXPECT_EQ(ScreenshotFileName(when), "VT2025111000_2.bmp");
  scratch.Write("VT2025111000_2.bmp", "second");
  EXPECT_EQ(ScreenshotFileName(when), "VT2025111000_3.bmp");
}

// Anything at a name takes it, only looked at: a FIFO no one writes to, a dangling link.
TEST(Screenshot, ANameTakenByAFifoOrADanglingLinkIsSkippedUnopened) {
  ScratchDirectory scratch;
  const int when[6] = {2025, 11, 1, 0, 0, 0};
  ASSERT_EQ(::mkfifo("VT2025111000.bmp", 0666), 0);
  std::filesystem::create_symlink("nowhere", "VT2025111000_2.bmp");
  EXPECT_EQ(ExitStatusAs(::geteuid(), [&] { return ScreenshotFileName(when) == "VT2025111000_3.bmp" ? 0 : 1; }), 0);
}

}  // namespace
