#include <gtest/gtest.h>

#include "graphics/dd_pixel_format.h"
#include "graphics/pixel_format.h"
#include "common_pixel_formats.h"

TEST(PixelFormat, BuildScansChannelsAndTheUnusedBits) {
  const PixelFormat x888 = Format(32, 0xFF0000, 0xFF00, 0xFF, 0);
  EXPECT_EQ(x888.noUseMask, 0xFF000000u);
  EXPECT_EQ(x888.noUseShift, 24);
  EXPECT_EQ(x888.noUseWidth, 8);
  EXPECT_EQ(x888.bytesPerPixel, 4);

  const PixelFormat rgb565 = Format(16, 0xF800, 0x7E0, 0x1F, 0);
  EXPECT_EQ(rgb565.widthR, 5);
  EXPECT_EQ(rgb565.widthG, 6);
  EXPECT_EQ(rgb565.widthB, 5);
  EXPECT_EQ(rgb565.shiftR, 11);
  EXPECT_EQ(rgb565.shiftG, 5);
  EXPECT_EQ(rgb565.shiftB, 0);
  EXPECT_EQ(rgb565.noUseMask, 0u);

  // A gap ends the channel; absent channels are all zero.
  const PixelFormat gap = Format(16, 0x0F0F, 0, 0, 0);
  EXPECT_EQ(gap.shiftR, 0);
  EXPECT_EQ(gap.widthR, 4);
  EXPECT_EQ(gap.widthG, 0);
  EXPECT_EQ(gap.shiftG, 0);

  // Bit counts of 32 and more give an all-ones pixel, not an undefined shift.
  EXPECT_EQ(Format(40, 0, 0, 0, 0).noUseMask, 0xFFFFFFFFu);
}

TEST(PixelFormat, FixedFormats) {
  PixelFormat pf{};
  pf.noUseShift = 7;
  BuildRgb24PixelFormat(&pf);
  EXPECT_EQ(pf.bitsPerPixel, 24);
  EXPECT_EQ(pf.maskR, 0xFF0000u);
  EXPECT_EQ(pf.noUseMask, 0u);
  EXPECT_EQ(pf.noUseShift, 7);  // left as it was

  BuildPalette8PixelFormat(&pf);
  EXPECT_EQ(pf.bytesPerPixel, 1);
  EXPECT_EQ(pf.noUseMask, 0xFF000000u);

  PixelFormat grey{};
  BuildGray8PixelFormat(&grey);
  EXPECT_EQ(grey.palette[0], 0u);
  EXPECT_EQ(grey.palette[0x80], 0x808080u);
  EXPECT_EQ(grey.palette[255], 0xFFFFFFu);
}

TEST(PixelFormat, PackPixelKeepsTopBitsAndSetsUnusedBits) {
  const PixelFormat rgb565 = Format(16, 0xF800, 0x7E0, 0x1F, 0);
  const PixelFormat x555 = Format(16, 0x7C00, 0x3E0, 0x1F, 0);
  const PixelFormat argb4444 = Format(16, 0xF00, 0xF0, 0xF, 0xF000);
  const PixelFormat x888 = Format(32, 0xFF0000, 0xFF00, 0xFF, 0);
  const PixelFormat red10 = Format(32, 0x3FF, 0, 0, 0);
  EXPECT_EQ(PackPixel(&rgb565, 255, 255, 255, 0), 0xFFFFu);
  EXPECT_EQ(PackPixel(&x555, 0, 0, 0, 0), 0x8000u);
  EXPECT_EQ(PackPixel(&argb4444, 0x12, 0x34, 0x56, 0x78), 0x7135u);
  EXPECT_EQ(PackPixel(&x888, 1, 2, 3, 4), 0xFF010203u);
  // A channel wider than 8 bits receives the value in its top bits.
  EXPECT_EQ(PackPixel(&red10, 0x80, 0, 0, 0), 0xFFFFFE00u);
}

TEST(PixelFormat, ConvertBetweenFormatsDoesNotReplicateBits) {
  const PixelFormat rgb565 = Format(16, 0xF800, 0x7E0, 0x1F, 0);
  const PixelFormat argb = Format(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
  EXPECT_EQ(ConvertPixelBetweenFormats(&argb, &rgb565, 0xFFFF), 0xFFF8FCF8u);
  EXPECT_EQ(ConvertPixelBetweenFormats(&rgb565, &argb, 0x80FF8040u), 0xFC08u);
  const PixelFormat x555 = Format(16, 0x7C00, 0x3E0, 0x1F, 0);
  EXPECT_EQ(ConvertPixelBetweenFormats(&x555, &argb, 0x00000000u), 0x8000u);
}

TEST(PixelFormat, FixNoUseMask) {
  PixelFormat palette{};
  BuildPalette8PixelFormat(&palette);
  FixPixelFormatNoUseMask(&palette);
  EXPECT_EQ(palette.noUseMask, 0u);

  PixelFormat x555 = Format(16, 0x7C00, 0x3E0, 0x1F, 0);
  x555.noUseMask = 0;
  FixPixelFormatNoUseMask(&x555);
  EXPECT_EQ(x555.noUseMask, 0x8000u);

  PixelFormat greyAlpha = Format(16, 0xFF, 0xFF, 0xFF, 0);
  FixPixelFormatNoUseMask(&greyAlpha);
  EXPECT_EQ(greyAlpha.noUseMask, 0xFF00u);
}

TEST(PixelFormat, SameComparesBitsAndMasksOnly) {
  PixelFormat a = Format(32, 0xFF0000, 0xFF00, 0xFF, 0);
  PixelFormat b = a;
  b.palette[3] = 99;
  b.noUseMask = 0;
  EXPECT_EQ(SamePixelFormat(&a, &b), 1);
  b.maskA = 0xFF000000;
  EXPECT_EQ(SamePixelFormat(&a, &b), 0);
}

TEST(DDPixelFormat, BuildAndConvert) {
  DDPIXELFORMAT dd;
  BuildDDPixelFormatBody(&dd, 16, 0x7C00, 0x3E0, 0x1F, 0x8000);
  EXPECT_EQ(dd.dwSize, 32u);
  EXPECT_EQ(dd.dwFlags, static_cast<DWORD>(DDPF_RGB));  // also with an alpha mask
  EXPECT_EQ(dd.dwRGBAlphaBitMask, 0x8000u);

  PixelFormat pf{};
  PixelFormatFromDDPixelFormat(&dd, &pf);
  EXPECT_EQ(pf.bitsPerPixel, 16);
  EXPECT_EQ(pf.widthA, 1);
  EXPECT_EQ(pf.shiftA, 15);
  EXPECT_EQ(pf.noUseMask, 0u);

  const DDPIXELFORMAT* depth = GetStandardDDPixelFormat(3, 0, 0);
  ASSERT_NE(depth, nullptr);
  EXPECT_EQ(depth->dwRGBBitCount, 16u);
  EXPECT_EQ(depth->dwRBitMask, 0xFFFFu);
  EXPECT_EQ(depth->dwFlags, 0u);
  EXPECT_EQ(GetStandardDDPixelFormat(1, 1, 0)->dwRGBAlphaBitMask, 0xFF000000u);
  EXPECT_EQ(GetStandardDDPixelFormat(4, 0, 0), nullptr);
}
