#include <gtest/gtest.h>

#include <array>

#include "picture_fixtures.h"

namespace {

struct TgaCase {
  int type;
  int bits;
  int descriptor;
};

class TgaTrueColour : public ::testing::TestWithParam<TgaCase> {};

}  // namespace

// Every depth and row/column order, plain and run-length encoded, with an image
// ID and a footer.
TEST_P(TgaTrueColour, Decodes) {
  const TgaCase c = GetParam();
  const ArgbPicture pic = MakeArgbPicture(9, 5, c.bits == 32);
  TgaLayout layout;
  layout.type = c.type;
  layout.bits = c.bits;
  layout.descriptor = c.descriptor;
  layout.idLength = 7;
  layout.footer = true;
  GraphImage img{};
  ASSERT_EQ(DecodeWith(LoadTgaImage, TgaFile(pic, layout), &img), 0);
  EXPECT_EQ(img.width, 9);
  EXPECT_EQ(img.pitch, 9 * c.bits / 8);
  EXPECT_EQ(img.format.bitsPerPixel, c.bits);
  if (c.bits == 16) {
    EXPECT_EQ(img.format.noUseMask, 0x8000u);
  }
  EXPECT_EQ(ComparePixels(img, [&](int x, int y) { return TgaStoredColour(pic.At(x, y), c.bits); }), "");
  FreeGraphImage(&img);
}

INSTANTIATE_TEST_SUITE_P(Layouts, TgaTrueColour,
                         ::testing::Values(TgaCase{2, 32, 0x28}, TgaCase{2, 32, 0x08}, TgaCase{2, 32, 0x18},
                                           TgaCase{2, 32, 0x38}, TgaCase{2, 24, 0x00}, TgaCase{2, 16, 0x20},
                                           TgaCase{10, 32, 0x08}, TgaCase{10, 24, 0x30}, TgaCase{10, 16, 0x00}));

TEST(TgaLoader, ColourMapped) {
  for (int type : {1, 9}) {
    for (int bits : {24, 32}) {
      SCOPED_TRACE(testing::Message() << "type " << type << " bits " << bits);
      const IndexedPicture pic = MakeIndexedPicture(10, 4, 6);
      TgaLayout layout;
      layout.type = type;
      layout.bits = bits;
      layout.descriptor = 0x00;
      layout.mapFirst = 3;
      layout.idLength = 2;
      GraphImage img{};
      ASSERT_EQ(DecodeWith(LoadTgaImage, TgaFile(pic, layout), &img), 0);
      EXPECT_EQ(img.format.bitsPerPixel, bits);
      EXPECT_EQ(ComparePixels(img, [&](int x, int y) {
                  return pic.palette[pic.At(x, y)] | (bits == 32 ? 0xFF000000u : 0u);
                }),
                "");
      FreeGraphImage(&img);
    }
  }
}

TEST(TgaLoader, RefusesBadFiles) {
  const ArgbPicture pic = MakeArgbPicture(4, 3, false);
  TgaLayout layout;
  layout.bits = 24;
  layout.type = 10;
  const Bytes good = TgaFile(pic, layout);
  GraphImage img{};
  ASSERT_EQ(DecodeWith(LoadTgaImage, good, &img), 0);
  FreeGraphImage(&img);

  auto with = [&](int offset, std::uint8_t value) {
    Bytes b = good;
    b[offset] = value;
    return b;
  };
  EXPECT_EQ(DecodeWith(LoadTgaImage, with(2, 3), &img), -1);     // grey
  EXPECT_EQ(DecodeWith(LoadTgaImage, with(8, 1), &img), -1);     // x origin
  EXPECT_EQ(DecodeWith(LoadTgaImage, with(13, 0x10), &img), -1); // width 4096 or more
  EXPECT_EQ(DecodeWith(LoadTgaImage, with(16, 8), &img), -1);    // 8-bit true colour
  // A run packet that would write past the picture, and data cut short.
  Bytes overrun = good;
  overrun[18] = 0xFF;  // a run of 128
  EXPECT_EQ(DecodeWith(LoadTgaImage, overrun, &img), -1);
  EXPECT_EQ(DecodeWith(LoadTgaImage, Bytes(good.begin(), good.end() - 2), &img), -1);

  // A colour map that would pass the 256th entry.
  const IndexedPicture mapped = MakeIndexedPicture(4, 3, 6);
  TgaLayout mapLayout;
  mapLayout.type = 1;
  mapLayout.bits = 24;
  mapLayout.mapFirst = 251;
  EXPECT_EQ(DecodeWith(LoadTgaImage, TgaFile(mapped, mapLayout), &img), -1);
  mapLayout.mapFirst = 250;
  EXPECT_EQ(DecodeWith(LoadTgaImage, TgaFile(mapped, mapLayout), &img), 0);
  FreeGraphImage(&img);
}

TEST(DdsLoader, MaskAndCodeLayouts) {
  const ArgbPicture pic = MakeArgbPicture(5, 3, true);
  struct Case {
    int bits;
    std::uint32_t flags;
    std::uint32_t code;
    std::uint32_t masks[4];
    std::function<std::uint32_t(std::uint32_t)> store;
    std::function<std::uint32_t(std::uint32_t)> read;  // as GetGraphImagePixel gives it
  };
  const Case cases[] = {
      {32, 0x41, 0, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, [](std::uint32_t c) { return c; },
       [](std::uint32_t c) { return c; }},
      {24, 0x40, 0, {0xFF0000, 0xFF00, 0xFF, 0}, [](std::uint32_t c) { return c & 0xFFFFFF; },
       [](std::uint32_t c) { return c & 0xFFFFFF; }},
      {32, 0x4, 21, {}, [](std::uint32_t c) { return c; }, [](std::uint32_t c) { return c; }},
      {16, 0x4, 23, {},
       [](std::uint32_t c) { return ((c >> 8) & 0xF800) | ((c >> 5) & 0x7E0) | ((c >> 3) & 0x1F); },
       [](std::uint32_t c) { return c & 0xF8FCF8; }},
      {32, 0x4, 32, {},  // red in the low byte
       [](std::uint32_t c) { return (c & 0xFF00FF00) | ((c >> 16) & 0xFF) | ((c & 0xFF) << 16); },
       [](std::uint32_t c) { return c; }},
  };
  for (const Case& k : cases) {
    for (int pitch : {0, 5 * k.bits / 8 + 3}) {
      SCOPED_TRACE(testing::Message() << "bits " << k.bits << " code " << k.code << " pitch " << pitch);
      const int rowBytes = pitch > 0 ? pitch : 5 * k.bits / 8;
      Bytes rows(static_cast<std::size_t>(rowBytes) * 3, 0xCD);
      for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
          const std::uint32_t v = k.store(pic.At(x, y));
          for (int i = 0; i < k.bits / 8; ++i) rows[y * rowBytes + x * (k.bits / 8) + i] = static_cast<std::uint8_t>(v >> (8 * i));
        }
      }
      GraphImage img{};
      ASSERT_EQ(DecodeWith(LoadDdsImage, DdsFile(5, 3, k.bits, k.flags, k.code, k.masks, pitch, rows), &img), 0);
      EXPECT_EQ(img.pitch, rowBytes);
      EXPECT_EQ(ComparePixels(img, [&](int x, int y) { return k.read(pic.At(x, y)); }), "");
      FreeGraphImage(&img);
    }
  }
}

// Every format code: a pixel of full red, and one of every channel full, read
// back with each channel's top bits in place (a one-byte layout through its
// palette, every channel scaled to 8 bits).
TEST(DdsLoader, EveryFormatCode) {
  struct Row {
    std::uint32_t code;
    int bits;
    std::uint32_t r, g, b, a;
  };
  const Row rows[] = {
      {20, 24, 0xFF0000, 0xFF00, 0xFF, 0},          {21, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000},
      {22, 32, 0xFF0000, 0xFF00, 0xFF, 0},          {23, 16, 0xF800, 0x7E0, 0x1F, 0},
      {24, 16, 0x7C00, 0x3E0, 0x1F, 0},             {25, 16, 0x7C00, 0x3E0, 0x1F, 0x8000},
      {26, 16, 0xF00, 0xF0, 0xF, 0xF000},           {27, 8, 0xE0, 0x1C, 0x3, 0},
      {29, 16, 0xE0, 0x1C, 0x3, 0xFF00},            {30, 16, 0xF00, 0xF0, 0xF, 0},
      {31, 32, 0x3FF, 0xFFC00, 0x3FF00000, 0xC0000000}, {32, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000},
      {33, 32, 0xFF, 0xFF00, 0xFF0000, 0},          {35, 32, 0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000},
  };
  const std::uint32_t unused[4] = {};
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "code " << row.code);
    const int bytes = row.bits / 8;
    Bytes pixels;
    for (std::uint32_t v : {row.r, row.r | row.g | row.b | row.a}) {
      for (int i = 0; i < bytes; ++i) pixels.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    GraphImage img{};
    ASSERT_EQ(DecodeWith(LoadDdsImage, DdsFile(2, 1, 0, 0x4, row.code, unused, 0, pixels), &img), 0);
    EXPECT_EQ(img.pitch, 2 * bytes);
    auto full = [&](std::uint32_t mask) -> std::uint32_t {
      const int width = __builtin_popcount(mask);
      return row.bits == 8 || width >= 8 ? 0xFF : (0xFFu << (8 - width)) & 0xFF;
    };
    const std::uint32_t alpha = row.bits > 8 && row.a != 0 ? full(row.a) << 24 : 0;
    EXPECT_EQ(GetGraphImagePixel(&img, 0, 0), full(row.r) << 16);
    EXPECT_EQ(GetGraphImagePixel(&img, 1, 0), alpha | full(row.r) << 16 | full(row.g) << 8 | full(row.b));
    FreeGraphImage(&img);
  }
}

TEST(DdsLoader, ByteLayoutBecomesPalette) {
  // Code 27: red 3 bits, green 3 bits, blue 2 bits.
  const Bytes rows = {0xE0, 0x1C, 0x03, 0xFF, 0x00, 0x24};
  GraphImage img{};
  ASSERT_EQ(DecodeWith(LoadDdsImage, DdsFile(3, 2, 8, 0x4, 27, std::array<std::uint32_t, 4>{}.data(), 0, rows), &img), 0);
  EXPECT_EQ(img.format.bytesPerPixel, 1);
  EXPECT_EQ(GetGraphImagePixel(&img, 0, 0), 0xFF0000u);
  EXPECT_EQ(GetGraphImagePixel(&img, 1, 0), 0x00FF00u);
  EXPECT_EQ(GetGraphImagePixel(&img, 2, 0), 0x0000FFu);
  EXPECT_EQ(GetGraphImagePixel(&img, 0, 1), 0xFFFFFFu);
  EXPECT_EQ(GetGraphImagePixel(&img, 2, 1), 0x002400u | (1 * 255 / 7) << 16);
  FreeGraphImage(&img);
}

TEST(DdsLoader, RefusesBadFiles) {
  const std::uint32_t masks[4] = {0xFF0000, 0xFF00, 0xFF, 0};
  const Bytes rows(4 * 2 * 3, 0x11);
  GraphImage img{};
  ASSERT_EQ(DecodeWith(LoadDdsImage, DdsFile(4, 2, 24, 0x40, 0, masks, 0, rows), &img), 0);
  FreeGraphImage(&img);
  const std::uint32_t dxt1 = 0x31545844;  // compressed
  EXPECT_EQ(DecodeWith(LoadDdsImage, DdsFile(4, 2, 24, 0x4, dxt1, masks, 0, rows), &img), -1);
  EXPECT_EQ(DecodeWith(LoadDdsImage, DdsFile(4, 2, 12, 0x40, 0, masks, 0, rows), &img), -1);
  EXPECT_EQ(DecodeWith(LoadDdsImage, DdsFile(4, 2, 24, 0x40, 0, masks, 11, rows), &img), -1);  // pitch below a row
  EXPECT_EQ(DecodeWith(LoadDdsImage, DdsFile(4, 3, 24, 0x40, 0, masks, 0, rows), &img), -1);   // short data
  EXPECT_EQ(DecodeWith(LoadDdsImage, DdsFile(0, 2, 24, 0x40, 0, masks, 0, rows), &img), -1);
  EXPECT_EQ(DecodeWith(LoadDdsImage, DdsFile(70000, 1, 8, 0x40, 0, masks, 0, rows), &img), -1);
  EXPECT_EQ(img.pixels, nullptr);
}

TEST(BgraLoader, EightAndSixteenBitChannels) {
  const ArgbPicture pic = MakeArgbPicture(6, 4, true);
  for (bool sixteen : {false, true}) {
    GraphImage img{};
    ASSERT_EQ(DecodeWith(LoadBgraImage, BgraFile(pic, sixteen), &img), 0);
    EXPECT_EQ(img.pitch, 24);
    EXPECT_EQ(img.format.maskA, 0xFF000000u);
    EXPECT_EQ(img.format.noUseMask, 0u);
    EXPECT_EQ(ComparePixels(img, [&](int x, int y) { return pic.At(x, y); }), "");
    FreeGraphImage(&img);
  }
}

TEST(BgraLoader, RefusesBadFiles) {
  const ArgbPicture pic = MakeArgbPicture(6, 4, true);
  const Bytes good = BgraFile(pic, false);
  GraphImage img{};
  Bytes badDepth = good;
  badDepth[4] = 0x07;
  EXPECT_EQ(DecodeWith(LoadBgraImage, badDepth, &img), -1);
  EXPECT_EQ(DecodeWith(LoadBgraImage, Bytes(good.begin(), good.end() - 1), &img), -1);
  Bytes huge = good;
  huge[11] = 0x40;  // width 0x40000006: more than the stream holds, and overflowing
  huge[15] = 0x40;
  EXPECT_EQ(DecodeWith(LoadBgraImage, huge, &img), -1);
  EXPECT_EQ(DecodeWith(LoadBgraImage, BgraFile(MakeArgbPicture(0, 4, true), false), &img), -1);
  EXPECT_EQ(img.pixels, nullptr);
}
