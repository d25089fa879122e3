// The emulated 60 Hz raster: headless (status flips on every query) and real time (on a
// manual clock, so nothing here depends on timing).
#include "ddraw_fixture.h"

namespace {

constexpr std::int64_t kFrame = 16666;  // microseconds
// A 768-line display has 806 lines; its blank starts at the first microsecond of line 768.
constexpr std::int64_t kBlankStart = (kFrame * 768 + 805) / 806;

}  // namespace

using DDrawVBlank = DDrawTest;

TEST_F(DDrawVBlank, HeadlessStatusAlternatesAndWaitsReturnAtOnce) {
  BOOL first = FALSE, second = FALSE, third = FALSE;
  ASSERT_EQ(dd_->GetVerticalBlankStatus(&first), DD_OK);
  ASSERT_EQ(dd_->GetVerticalBlankStatus(&second), DD_OK);
  ASSERT_EQ(dd_->GetVerticalBlankStatus(&third), DD_OK);
  EXPECT_NE(first, second);
  EXPECT_EQ(first, third);
  DWORD line = 0;
  ASSERT_EQ(dd_->GetScanLine(&line), DD_OK);
  EXPECT_EQ(line >= 768, third == TRUE);
  ASSERT_EQ(dd_->GetScanLine(&line), DD_OK);
  EXPECT_EQ(line >= 768, third == TRUE);  // reading the line does not move the beam

  ASSERT_EQ(dd_->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr), DD_OK);
  ASSERT_EQ(dd_->GetScanLine(&line), DD_OK);
  EXPECT_GE(line, 768u);
  EXPECT_EQ(dd_->WaitForVerticalBlank(0x2 /* an event wait */, nullptr), DDERR_UNSUPPORTED);

  // The library's synchronisation: until in the blank (or the line went down), then until
  // out of it, reading the scan line between the status polls. Ends within a few polls.
  int polls = 0;
  for (int round = 0; round < 4; ++round) {
    DWORD previous = 0;
    dd_->GetScanLine(&previous);
    BOOL inBlank = FALSE;
    for (;;) {
      ++polls;
      dd_->GetVerticalBlankStatus(&inBlank);
      dd_->GetScanLine(&line);
      if (inBlank || line < previous) break;
      previous = line;
    }
    do {
      ++polls;
      dd_->GetVerticalBlankStatus(&inBlank);
      dd_->GetScanLine(&line);
    } while (inBlank && polls < 100);
  }
  EXPECT_LE(polls, 16);
}

TEST_F(DDrawVBlank, RealTimeRasterFollowsTheClock) {
  DDrawTestSetVBlankMode(DDrawVBlankMode::RealTime);
  DDrawTestUseManualRasterClock(true);
  DWORD line = 0;
  BOOL inBlank = TRUE;
  ASSERT_EQ(dd_->GetScanLine(&line), DD_OK);
  ASSERT_EQ(dd_->GetVerticalBlankStatus(&inBlank), DD_OK);
  EXPECT_EQ(line, 0u);
  EXPECT_FALSE(inBlank);

  DDrawTestAdvanceRasterClock(kFrame / 2);
  ASSERT_EQ(dd_->GetScanLine(&line), DD_OK);
  EXPECT_EQ(line, 403u);
  ASSERT_EQ(dd_->GetVerticalBlankStatus(&inBlank), DD_OK);
  EXPECT_FALSE(inBlank);
  ASSERT_EQ(dd_->GetVerticalBlankStatus(&inBlank), DD_OK);
  EXPECT_FALSE(inBlank);  // polling alone does not move a real raster

  DDrawTestAdvanceRasterClock(kFrame / 2 - 100);
  ASSERT_EQ(dd_->GetScanLine(&line), DD_OK);
  EXPECT_GE(line, 768u);
  EXPECT_LT(line, 806u);
  ASSERT_EQ(dd_->GetVerticalBlankStatus(&inBlank), DD_OK);
  EXPECT_TRUE(inBlank);
}

TEST_F(DDrawVBlank, RealTimeWaitsEndAtTheNextBlankEdge) {
  DDrawTestSetVBlankMode(DDrawVBlankMode::RealTime);
  DDrawTestUseManualRasterClock(true);
  ASSERT_EQ(dd_->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr), DD_OK);
  EXPECT_EQ(DDrawTestRasterClock(), kBlankStart);
  BOOL inBlank = FALSE;
  ASSERT_EQ(dd_->GetVerticalBlankStatus(&inBlank), DD_OK);
  EXPECT_TRUE(inBlank);

  // Already in a blank: the wait is for the next one.
  ASSERT_EQ(dd_->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr), DD_OK);
  EXPECT_EQ(DDrawTestRasterClock(), kFrame + kBlankStart);
  ASSERT_EQ(dd_->WaitForVerticalBlank(DDWAITVB_BLOCKEND, nullptr), DD_OK);
  EXPECT_EQ(DDrawTestRasterClock(), 2 * kFrame);
  ASSERT_EQ(dd_->GetVerticalBlankStatus(&inBlank), DD_OK);
  EXPECT_FALSE(inBlank);
}

TEST_F(DDrawVBlank, FlipWaitsForTheBlankUnlessToldNotTo) {
  DDrawTestSetVBlankMode(DDrawVBlankMode::RealTime);
  DDrawTestUseManualRasterClock(true);
  IDirectDrawSurface7* back = nullptr;
  IDirectDrawSurface7* front = MakeFlippingChain(640, 480, 32, &back);
  ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT | DDFLIP_NOVSYNC), DD_OK);
  EXPECT_EQ(DDrawTestRasterClock(), 0);
  ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  EXPECT_EQ(DDrawTestRasterClock(), (kFrame * 480 + 503) / 504);  // the 640 x 480 mode's blank
  back->Release();
  front->Release();
}
