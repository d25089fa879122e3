// Software drawing on DirectDraw surfaces: failed locks draw nothing, the work images
// follow every lock, the work copy is written back once, and RGB555 screens draw
// through the in-memory format.
#include <gtest/gtest.h>

#include "graphics/draw_area_bracket.h"
#include "graphics_fixture.h"

TEST_F(GraphicsTest, AFailedLockDrawsNothing) {
  Start(32, 1, 0);
  SetUse3DGraphs(0);  // boxes by the software routines
  SetDrawTarget(kDrawTargetBackScreen);
  DDrawTestFailCall(DDrawTestCall::Lock, 0, 1, DDERR_SURFACEBUSY);
  EXPECT_EQ(DrawRect(10, 10, 20, 20, MakeScreenColor(255, 255, 255), 1), -1);
  EXPECT_EQ(TargetPixel(15, 15) & 0xFFFFFF, 0u);
  EXPECT_EQ(DrawRect(10, 10, 20, 20, MakeScreenColor(255, 255, 255), 1), 0);
  EXPECT_EQ(TargetPixel(15, 15) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(GraphicsTest, EveryDrawUsesItsOwnLock) {
  Start(32, 1, 0);
  SetDrawTarget(kDrawTargetBackScreen);
  // Each lock hands out fresh memory: a work image kept from an earlier draw would
  // write into freed memory.
  DDrawTestSetMovingLocks(true);
  DrawRect(10, 10, 20, 20, MakeScreenColor(255, 0, 0), 1);
  SetBlendMode(2, 255);
  DrawRect(100, 100, 120, 120, MakeScreenColor(0, 255, 0), 1);
  DrawLineSegment(0, 200, 50, 200, MakeScreenColor(0, 0, 255));
  SetBlendMode(0, 0);
  DDrawTestSetMovingLocks(false);
  EXPECT_EQ(TargetPixel(15, 15) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(TargetPixel(110, 110) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(TargetPixel(25, 200) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(GraphicsTest, TheWorkCopyIsWrittenBackOnce) {
  Start(32, 1, 0);
  SetDrawTarget(kDrawTargetBackScreen);
  // A blended draw on a video-memory target goes through the work surface.
  ASSERT_EQ(DrawState.targetInVideoMemory, 1);
  SetBlendMode(1, 128);
  ASSERT_EQ(DrawRect(0, 0, 8, 8, MakeScreenColor(200, 200, 200), 1), 0);
  SetBlendMode(0, 0);
  const std::uint32_t drawn = TargetPixel(4, 4);
  DDBLTFX junk{};
  junk.dwSize = sizeof(junk);
  junk.dwFillColor = 0x123456;
  ScreenSurfaces.work->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &junk);
  EXPECT_EQ(SyncScreenMemImg(), 0);
  EXPECT_EQ(TargetPixel(4, 4), drawn);
}

TEST_F(GraphicsTest, AnRGB555ScreenBlendsThroughTheInMemoryFormat) {
  DDrawTestFakeDesktop(1024, 768, 16);
  DDrawTestUseRgb555(true);
  Start(16, 1, 0);
  SetDrawTarget(kDrawTargetBackScreen);
  DrawRect(0, 0, 8, 8, MakeScreenColor(255, 255, 255), 1);
  EXPECT_EQ(TargetPixel(1, 1) & 0x7FFF, 0x7FFFu);
  SetBlendMode(1, 128);
  DrawRect(0, 0, 8, 8, MakeScreenColor(0, 0, 0), 1);
  SetBlendMode(0, 0);
  const std::uint32_t grey = TargetPixel(1, 1);
  for (const int shift : {10, 5, 0}) {
    const std::uint32_t channel = (grey >> shift) & 0x1F;
    EXPECT_GE(channel, 14u) << shift;
    EXPECT_LE(channel, 16u) << shift;
  }
  EXPECT_EQ(TargetPixel(9, 9) & 0x7FFF, 0u);
}
