#include <gtest/gtest.h>

#include <cstring>

#include "graphics/graph_image.h"

TEST(GraphImage, Rgb24ImageSizeAndFill) {
  GraphImage img;
  ASSERT_EQ(CreateRgb24GraphImage(5, 2, &img), 0);
  EXPECT_EQ(img.pitch, 16);
  EXPECT_EQ(img.format.bitsPerPixel, 24);
  std::memset(img.pixels, 0xEE, 32);
  FillGraphImageColor(&img, 1, 2, 3, 4);
  const std::uint8_t* p = static_cast<const std::uint8_t*>(img.pixels);
  for (int row = 0; row < 2; ++row) {
    EXPECT_EQ(p[row * 16 + 0], 3);  // blue first
    EXPECT_EQ(p[row * 16 + 1], 2);
    EXPECT_EQ(p[row * 16 + 14], 1);
    EXPECT_EQ(p[row * 16 + 15], 0xEE);  // padding untouched
  }
  EXPECT_EQ(GetGraphImagePixel(&img, 4, 1), 0x010203u);
  FreeGraphImage(&img);
  EXPECT_EQ(img.pixels, nullptr);
  EXPECT_EQ(img.width, 0);
}

TEST(GraphImage, Rgb24ImageRefusesBadSizes) {
  GraphImage img;
  EXPECT_EQ(CreateRgb24GraphImage(0, 2, &img), -1);
  EXPECT_EQ(img.pixels, nullptr);
  EXPECT_EQ(CreateRgb24GraphImage(0x7FFFFFFF, 2, &img), -1);
  EXPECT_EQ(img.pixels, nullptr);
}

TEST(GraphImage, PixelReadsPlaceNarrowChannelsHigh) {
  std::uint16_t pixels[2] = {0xFFFF, 0x0821};
  GraphImage img{};
  BuildPixelFormatBody(&img.format, 16, 0xF800, 0x7E0, 0x1F, 0);
  img.width = 2;
  img.height = 1;
  img.pitch = 4;
  img.pixels = pixels;
  EXPECT_EQ(GetGraphImagePixel(&img, 0, 0), 0x00F8FCF8u);
  EXPECT_EQ(GetGraphImagePixel(&img, 1, 0), 0x00080408u);

  std::uint16_t argb4444 = 0x8F0A;
  BuildPixelFormatBody(&img.format, 16, 0xF00, 0xF0, 0xF, 0xF000);
  img.width = 1;
  img.pixels = &argb4444;
  EXPECT_EQ(GetGraphImagePixel(&img, 0, 0), 0x80F000A0u);

  // A palette image gives its palette colour with alpha 0.
  std::uint8_t index = 7;
  BuildPalette8PixelFormat(&img.format);
  img.format.palette[7] = 0x123456;
  img.pixels = &index;
  EXPECT_EQ(GetGraphImagePixel(&img, 0, 0), 0x123456u);

  img.pixels = nullptr;
  EXPECT_EQ(GetGraphImagePixel(&img, 0, 0), 0u);
}

TEST(GraphImage, MirrorReversesEveryRow) {
  std::uint8_t pixels[2][12] = {{1, 1, 1, 2, 2, 2, 3, 3, 3, 9, 9, 9}, {4, 4, 4, 5, 5, 5, 6, 6, 6, 9, 9, 9}};
  GraphImage img{};
  BuildRgb24PixelFormat(&img.format);
  img.width = 3;
  img.height = 2;
  img.pitch = 12;
  img.pixels = pixels;
  ASSERT_EQ(MirrorGraphImage(&img), 0);
  const std::uint8_t expected[2][12] = {{3, 3, 3, 2, 2, 2, 1, 1, 1, 9, 9, 9}, {6, 6, 6, 5, 5, 5, 4, 4, 4, 9, 9, 9}};
  EXPECT_EQ(std::memcmp(pixels, expected, sizeof pixels), 0);
  img.width = 0;
  EXPECT_EQ(MirrorGraphImage(&img), -1);
}
