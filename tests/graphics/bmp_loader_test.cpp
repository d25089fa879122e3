#include <gtest/gtest.h>

#include <cstring>

#include "picture_fixtures.h"

namespace {

// 5-bit and 6-bit values widened so that the maximum maps to 255.
std::uint32_t Widen(std::uint32_t v, int bits) { return v * 255 / ((1u << bits) - 1); }

class BmpIndexed : public ::testing::TestWithParam<std::tuple<int, bool>> {};

}  // namespace

// 1-, 4- and 8-bit pictures, both row orders: the colour table's colours.
TEST_P(BmpIndexed, DecodesColourTableColours) {
  const auto [bits, topDown] = GetParam();
  const IndexedPicture pic = MakeIndexedPicture(13, 6, 1 << bits);
  BmpLayout layout;
  layout.bitCount = bits;
  layout.topDown = topDown;
  const Bytes file = BmpFile(pic.width, pic.height, layout, pic.palette,
                             PackBmpRows(pic.width, pic.height, bits, topDown, [&](int x, int y) { return pic.At(x, y); }));
  GraphImage img{};
  ASSERT_EQ(DecodeWith(LoadBmpImage, file, &img), 0);
  EXPECT_EQ(img.width, 13);
  EXPECT_EQ(img.height, 6);
  // 1-bit pictures become RGB24; 4- and 8-bit ones palette images of 256 entries.
  EXPECT_EQ(img.format.bytesPerPixel, bits == 1 ? 3 : 1);
  if (bits == 4) {
    EXPECT_EQ(img.pitch, 16);
    EXPECT_EQ(img.format.palette[15], pic.palette[15]);
    EXPECT_EQ(img.format.palette[16], 0u);
  }
  const ArgbPicture colours = pic.Colours();
  EXPECT_EQ(ComparePixels(img, [&](int x, int y) { return colours.At(x, y); }), "");
  FreeGraphImage(&img);
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpIndexed,
                         ::testing::Combine(::testing::Values(1, 4, 8), ::testing::Bool()));

TEST(BmpLoader, TrueColourDepthsAndBitFields) {
  const ArgbPicture pic = MakeArgbPicture(7, 4, false);
  struct Case {
    int bits;
    std::uint32_t compression;
    std::uint32_t masks[3];
    std::function<std::uint32_t(std::uint32_t)> store;     // colour -> stored value
    std::function<std::uint32_t(std::uint32_t)> decoded;   // colour -> decoded colour
  };
  auto c8 = [](std::uint32_t c, int shift) { return (c >> shift) & 0xFF; };
  const Case cases[] = {
      {24, 0, {}, [](std::uint32_t c) { return c & 0xFFFFFF; }, [](std::uint32_t c) { return c & 0xFFFFFF; }},
      {32, 0, {}, [](std::uint32_t c) { return c & 0xFFFFFF; }, [](std::uint32_t c) { return c & 0xFFFFFF; }},
      // 16-bit without bit fields is 5-5-5.
      {16, 0, {}, [&](std::uint32_t c) { return (c8(c, 16) >> 3) << 10 | (c8(c, 8) >> 3) << 5 | c8(c, 0) >> 3; },
       [&](std::uint32_t c) {
         return Widen(c8(c, 16) >> 3, 5) << 16 | Widen(c8(c, 8) >> 3, 5) << 8 | Widen(c8(c, 0) >> 3, 5);
       }},
      {16, 3, {0xF800, 0x7E0, 0x1F},
       [&](std::uint32_t c) { return (c8(c, 16) >> 3) << 11 | (c8(c, 8) >> 2) << 5 | c8(c, 0) >> 3; },
       [&](std::uint32_t c) {
         return Widen(c8(c, 16) >> 3, 5) << 16 | Widen(c8(c, 8) >> 2, 6) << 8 | Widen(c8(c, 0) >> 3, 5);
       }},
      // Bit fields in blue-green-red order.
      {32, 3, {0xFF, 0xFF00, 0xFF0000},
       [&](std::uint32_t c) { return c8(c, 16) | c8(c, 8) << 8 | c8(c, 0) << 16; },
       [](std::uint32_t c) { return c & 0xFFFFFF; }},
  };
  for (const Case& k : cases) {
    for (bool topDown : {false, true}) {
      SCOPED_TRACE(testing::Message() << "bits " << k.bits << " compression " << k.compression << " top-down " << topDown);
      BmpLayout layout;
      layout.bitCount = k.bits;
      layout.compression = k.compression;
      layout.topDown = topDown;
      std::copy(k.masks, k.masks + 3, layout.masks);
      const Bytes file = BmpFile(pic.width, pic.height, layout, {},
                                 PackBmpRows(pic.width, pic.height, k.bits, topDown,
                                             [&](int x, int y) { return k.store(pic.At(x, y)); }));
      GraphImage img{};
      ASSERT_EQ(DecodeWith(LoadBmpImage, file, &img), 0);
      EXPECT_EQ(img.format.bitsPerPixel, 24);
      EXPECT_EQ(img.pitch, 24);  // (3 x 7 + 3) rounded down to 4
      EXPECT_EQ(ComparePixels(img, [&](int x, int y) { return k.decoded(pic.At(x, y)); }), "");
      FreeGraphImage(&img);
    }
  }
}

TEST(BmpLoader, BottomUpRowsAreReordered) {
  // Width 3: stored rows of 12 bytes, the last file row first in memory.
  const ArgbPicture pic = MakeArgbPicture(3, 3, false);
  BmpLayout layout;
  const Bytes data = PackBmpRows(3, 3, 24, false, [&](int x, int y) { return pic.At(x, y); });
  GraphImage img{};
  ASSERT_EQ(DecodeWith(LoadBmpImage, BmpFile(3, 3, layout, {}, data), &img), 0);
  EXPECT_EQ(img.pitch, 12);
  const std::uint8_t* rows = static_cast<const std::uint8_t*>(img.pixels);
  EXPECT_EQ(std::memcmp(rows, data.data() + 24, 12), 0);
  EXPECT_EQ(std::memcmp(rows + 24, data.data(), 12), 0);
  FreeGraphImage(&img);
}

TEST(BmpLoader, LongHeaderAndShortColourTable) {
  const IndexedPicture pic = MakeIndexedPicture(6, 3, 5);
  BmpLayout layout;
  layout.bitCount = 8;
  layout.headerSize = 124;
  layout.coloursUsed = 5;
  const Bytes file = BmpFile(6, 3, layout, pic.palette,
                             PackBmpRows(6, 3, 8, false, [&](int x, int y) { return pic.At(x, y); }));
  GraphImage img{};
  ASSERT_EQ(DecodeWith(LoadBmpImage, file, &img), 0);
  EXPECT_EQ(img.format.palette[4], pic.palette[4]);
  EXPECT_EQ(img.format.palette[5], 0u);  // beyond the used colours
  const ArgbPicture colours = pic.Colours();
  EXPECT_EQ(ComparePixels(img, [&](int x, int y) { return colours.At(x, y); }), "");
  FreeGraphImage(&img);
}

TEST(BmpLoader, RunLengthEncoded) {
  for (bool rle4 : {false, true}) {
    for (bool topDown : {false, true}) {
      SCOPED_TRACE(testing::Message() << (rle4 ? "RLE4" : "RLE8") << " top-down " << topDown);
      const IndexedPicture pic = MakeIndexedPicture(21, 5, rle4 ? 16 : 200);
      BmpLayout layout;
      layout.bitCount = rle4 ? 4 : 8;
      layout.compression = rle4 ? 2 : 1;
      layout.topDown = topDown;
      const Bytes data = rle4 ? EncodeRle4(pic, !topDown) : EncodeRle8(pic, !topDown);
      GraphImage img{};
      ASSERT_EQ(DecodeWith(LoadBmpImage, BmpFile(21, 5, layout, pic.palette, data), &img), 0);
      EXPECT_EQ(img.format.bytesPerPixel, 1);
      EXPECT_EQ(img.pitch, 24);
      const ArgbPicture colours = pic.Colours();
      EXPECT_EQ(ComparePixels(img, [&](int x, int y) { return colours.At(x, y); }), "");
      FreeGraphImage(&img);
    }
  }
}

TEST(BmpLoader, Rle8EscapesEndOfLineDeltaAndOddAbsoluteRun) {
  // Bottom-up 6 x 3: row 2 (bottom) "3 3 absolute(4 5 6) then end of line",
  // a delta of (2, 1) to row 0, column 2, then "7 7", end of picture.
  const Bytes data = {2, 3, 0, 3, 4, 5, 6, 0, 0, 0, 0, 2, 2, 1, 2, 7, 0, 1};
  BmpLayout layout;
  layout.bitCount = 8;
  layout.compression = 1;
  std::vector<std::uint32_t> palette(256);
  for (int i = 0; i < 256; ++i) palette[i] = static_cast<std::uint32_t>(i * 0x010101);
  GraphImage img{};
  ASSERT_EQ(DecodeWith(LoadBmpImage, BmpFile(6, 3, layout, palette, data), &img), 0);
  const std::uint8_t* p = static_cast<const std::uint8_t*>(img.pixels);
  const std::uint8_t expected[3][6] = {{0, 0, 7, 7, 0, 0}, {0, 0, 0, 0, 0, 0}, {3, 3, 4, 5, 6, 0}};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 6; ++x) EXPECT_EQ(p[y * img.pitch + x], expected[y][x]) << x << "," << y;
  }
  FreeGraphImage(&img);
}

TEST(BmpLoader, RefusesBadFiles) {
  const IndexedPicture pic = MakeIndexedPicture(8, 4, 16);
  auto file = [&](BmpLayout layout, const Bytes& data, int width = 8, int height = 4) {
    return BmpFile(width, height, layout, pic.palette, data);
  };
  const Bytes rows4 = PackBmpRows(8, 4, 4, false, [&](int x, int y) { return pic.At(x, y); });
  GraphImage img{};
  BmpLayout bits4;
  bits4.bitCount = 4;
  ASSERT_EQ(DecodeWith(LoadBmpImage, file(bits4, rows4), &img), 0);
  FreeGraphImage(&img);

  // Short pixel data (the last byte missing).
  EXPECT_EQ(DecodeWith(LoadBmpImage, file(bits4, Bytes(rows4.begin(), rows4.end() - 1)), &img), -1);
  // Sizes.
  EXPECT_EQ(DecodeWith(LoadBmpImage, file(bits4, rows4, 0, 4), &img), -1);
  EXPECT_EQ(DecodeWith(LoadBmpImage, file(bits4, rows4, 8, 0), &img), -1);
  // RLE8 needs 8 bits, RLE4 4 bits; unknown compressions and depths are refused.
  BmpLayout bad = bits4;
  bad.compression = 1;
  EXPECT_EQ(DecodeWith(LoadBmpImage, file(bad, rows4), &img), -1);
  bad.compression = 4;
  EXPECT_EQ(DecodeWith(LoadBmpImage, file(bad, rows4), &img), -1);
  bad.compression = 0;
  bad.bitCount = 2;
  EXPECT_EQ(DecodeWith(LoadBmpImage, file(bad, rows4), &img), -1);
  // A pixel offset beyond the end of the file.
  Bytes beyond = file(bits4, rows4);
  beyond[10] = 0xFF;
  beyond[11] = 0xFF;
  EXPECT_EQ(DecodeWith(LoadBmpImage, beyond, &img), -1);

  BmpLayout rle8;
  rle8.bitCount = 8;
  rle8.compression = 1;
  const Bytes runPastRow = {9, 1, 0, 1};       // 9 pixels into an 8-wide (pitch 8) row
  const Bytes noEnd = {2, 1, 0, 0};            // no end-of-picture code
  const Bytes cutAbsolute = {0, 5, 1, 2};      // absolute run of 5 with 2 bytes
  const Bytes deltaPastBottom = {0, 2, 0, 9, 1, 1, 0, 1};
  for (const Bytes& data : {runPastRow, noEnd, cutAbsolute, deltaPastBottom}) {
    EXPECT_EQ(DecodeWith(LoadBmpImage, file(rle8, data), &img), -1);
  }
  EXPECT_EQ(img.pixels, nullptr);
}
