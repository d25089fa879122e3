#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <utility>
#include <vector>

#include "graphics/memimg.h"
#include "graphics/pixel_convert_blt.h"

namespace {

MEMIMG Blank() {
  MEMIMG img;
  std::memset(static_cast<void*>(&img), 0, sizeof img);
  return img;
}

// A GraphImage over a caller's vector of 32-bit pixels.
GraphImage Argb32Image(std::vector<std::uint32_t>& pixels, int width, int height, bool alpha) {
  GraphImage img{};
  BuildPixelFormatBody(&img.format, 32, 0xFF0000, 0xFF00, 0xFF, alpha ? 0xFF000000 : 0);
  img.width = width;
  img.height = height;
  img.pitch = width * 4;
  img.pixels = pixels.data();
  return img;
}

std::uint32_t Pixel32(const MEMIMG& img, int x, int y) {
  std::uint32_t v;
  std::memcpy(&v, static_cast<const std::uint8_t*>(img.pixels) + y * img.pitch + x * 4, 4);
  return v;
}

std::uint16_t Pixel16(const MEMIMG& img, int x, int y) {
  std::uint16_t v;
  std::memcpy(&v, static_cast<const std::uint8_t*>(img.pixels) + y * img.pitch + x * img.format->bytesPerPixel, 2);
  return v;
}

}  // namespace

TEST(MemImg, PitchAndFormatsOfTheKinds) {
  MEMIMG a = Blank();
  ASSERT_EQ(InitMemImg(&a, 100, 2, -1, 0, MEMIMG_KIND_16BIT, 0, 0, 0), 0);
  EXPECT_EQ(a.pitch, 208);
  EXPECT_EQ(a.pitchShift, -1);
  EXPECT_EQ(a.magic, MEMIMG_MAGIC);
  EXPECT_EQ(a.palette, static_cast<void*>(&a.paletteStorage));
  TerminateMemImg(&a);
  EXPECT_EQ(a.magic, 0u);

  MEMIMG b = Blank();
  ASSERT_EQ(InitMemImg(&b, 1024, 2, -1, 0, MEMIMG_KIND_16BIT, 0, 0, 0), 0);
  EXPECT_EQ(b.pitch, 2048);
  EXPECT_EQ(b.pitchShift, 11);
  TerminateMemImg(&b);

  MEMIMG c = Blank();
  ASSERT_EQ(InitMemImg(&c, 10, 2, -1, 0, MEMIMG_KIND_16BIT, 0, 1, 0), 0);
  EXPECT_EQ(c.format->bytesPerPixel, 4);
  EXPECT_EQ(c.format->maskA, 0xFF0000u);
  EXPECT_EQ(c.pitch, 48);
  TerminateMemImg(&c);

  // A palette image has no alpha; the single-channel kinds have neither.
  MEMIMG d = Blank();
  ASSERT_EQ(InitMemImg(&d, 10, 2, -1, 0, MEMIMG_KIND_32BIT, 1, 1, 0), 0);
  EXPECT_EQ(d.alphaFlag, 0);
  EXPECT_EQ(d.format->bytesPerPixel, 1);
  EXPECT_EQ(d.format->maskR, 0xFF0000u);
  TerminateMemImg(&d);

  MEMIMG z = Blank();
  ASSERT_EQ(CreateZBufferMemImg(&z, 7, 3), 0);
  EXPECT_EQ(z.kind, MEMIMG_KIND_DEPTH);
  EXPECT_EQ(z.pitch, 16);
  EXPECT_EQ(z.format->maskR, 0xFFFFu);
  TerminateMemImg(&z);

  EXPECT_EQ(GetStandardPixelFormat(2, 1, 1)->bitsPerPixel, 8);
  EXPECT_EQ(GetStandardPixelFormat(0, 0, 0)->maskG, 0x7E0u);
  EXPECT_EQ(GetStandardPixelFormat(1, 1, 0)->maskA, 0xFF000000u);
  EXPECT_EQ(GetStandardPixelFormat(4, 0, 0), nullptr);
  EXPECT_EQ(MemImgKindForDepth(16), MEMIMG_KIND_16BIT);
  EXPECT_EQ(MemImgKindForDepth(32), MEMIMG_KIND_32BIT);
}

TEST(MemImg, RefusalsLeaveTheRecordAlone) {
  MEMIMG img = Blank();
  ASSERT_EQ(CreateMemImgForScreen(&img, 8, 8, MEMIMG_KIND_32BIT), 0);
  const MEMIMG before = img;
  EXPECT_EQ(InitMemImg(&img, 4, 4, -1, 0, MEMIMG_KIND_16BIT, 0, 0, 0), -1);
  EXPECT_EQ(std::memcmp(&before, &img, sizeof img), 0);
  TerminateMemImg(&img);
  TerminateMemImg(&img);  // no magic: nothing happens

  MEMIMG bad = Blank();
  EXPECT_EQ(InitMemImg(&bad, 0, 4, -1, 0, 1, 0, 0, 0), -1);
  EXPECT_EQ(InitMemImg(&bad, 4, -1, -1, 0, 1, 0, 0, 0), -1);
  EXPECT_EQ(InitMemImg(&bad, 4, 4, -1, 0, 5, 0, 0, 0), -1);
  EXPECT_EQ(InitMemImg(&bad, 4, 4, 8, 0, 1, 0, 0, 0), -1);  // pitch below a row
  EXPECT_EQ(InitMemImg(&bad, INT_MAX, INT_MAX, -1, 0, 1, 0, 1, 1), -1);
  EXPECT_EQ(InitMemImg(&bad, 0x7FFFFFF0, 1, -1, 0, 1, 0, 0, 0), -1);
  EXPECT_EQ(bad.magic, 0u);
  EXPECT_EQ(bad.pixels, nullptr);
  EXPECT_EQ(bad.runData, nullptr);
}

TEST(MemImg, BorrowedPixelsAndViews) {
  std::vector<std::uint8_t> memory(64 * 8, 0);
  MEMIMG img = Blank();
  img.pixels = memory.data();
  ASSERT_EQ(InitMemImg(&img, 16, 8, 64, 5, MEMIMG_KIND_32BIT, 0, 0, 0), 0);
  EXPECT_EQ(img.pixelsBorrowed, 1);
  EXPECT_EQ(img.pitchShift, 6);
  img.paletteCount = 3;

  MEMIMG view = Blank();
  InitMemImgView(&view, &img, 2, 3, 4, 2);
  EXPECT_EQ(view.pixels, memory.data() + 3 * 64 + 2 * 4);
  EXPECT_EQ(view.width, 4);
  EXPECT_EQ(view.pitch, 64);
  EXPECT_EQ(view.transparentColor, 5u);
  EXPECT_EQ(view.paletteCount, 3);
  EXPECT_EQ(view.palette, img.palette);
  EXPECT_EQ(view.pixelsBorrowed, 0);
  EXPECT_EQ(view.runData, nullptr);
  FillMemImgRect(&view, nullptr, 0x11223344);
  EXPECT_EQ(Pixel32(img, 2, 3), 0x11223344u);
  EXPECT_EQ(Pixel32(img, 5, 4), 0x11223344u);
  EXPECT_EQ(Pixel32(img, 6, 4), 0u);
  EXPECT_EQ(Pixel32(img, 2, 5), 0u);
  TerminateMemImg(&img);  // the vector still owns the memory
  EXPECT_EQ(IsMemImgValid(&img), 0);
}

TEST(MemImg, FillIsClippedToTheImage) {
  MEMIMG img = Blank();
  ASSERT_EQ(CreateMemImgForScreen(&img, 5, 4, MEMIMG_KIND_16BIT), 0);
  FillMemImgRect(&img, nullptr, 0);
  const RECT partly{3, -2, 9, 2};
  FillMemImgRect(&img, &partly, 0x1F1F1234);
  EXPECT_EQ(Pixel16(img, 3, 0), 0x1234u);
  EXPECT_EQ(Pixel16(img, 4, 1), 0x1234u);
  EXPECT_EQ(Pixel16(img, 2, 0), 0u);
  EXPECT_EQ(Pixel16(img, 3, 2), 0u);
  const RECT reversed{4, 3, 1, 1};
  FillMemImgRect(&img, &reversed, 0xFFFF);
  EXPECT_EQ(Pixel16(img, 2, 2), 0u);
  TerminateMemImg(&img);
}

// Values whose bytes are alike and values whose bytes differ, on every pixel width:
// each pixel inside the rectangle holds the value's low bytes, every other byte is kept.
TEST(MemImg, FillWritesTheValueInsideTheRectangleOnly) {
  const std::pair<int, std::uint32_t> cases[] = {
      {MEMIMG_KIND_32BIT, 0},          {MEMIMG_KIND_32BIT, 0xFFFFFFFF}, {MEMIMG_KIND_32BIT, 0x11223344},
      {MEMIMG_KIND_32BIT, 1},          {MEMIMG_KIND_16BIT, 0xABCDFFFF}, {MEMIMG_KIND_16BIT, 0x1234},
      {MEMIMG_KIND_DEPTH, 0x00FF},     {MEMIMG_KIND_BYTE, 0x77},        {MEMIMG_KIND_BYTE, 0x1234}};
  const RECT area{2, 1, 7, 4};
  for (const auto& [kind, value] : cases) {
    MEMIMG img = Blank();
    ASSERT_EQ(InitMemImg(&img, 9, 5, -1, 0, kind, 0, 0, 0), 0);
    const int bytes = img.format->bytesPerPixel;
    auto* pixels = static_cast<std::uint8_t*>(img.pixels);
    std::memset(pixels, 0x5A, static_cast<std::size_t>(img.pitch) * img.height);
    FillMemImgRect(&img, &area, value);
    for (int i = 0; i < img.pitch * img.height; ++i) {
      const int x = i % img.pitch / bytes, y = i / img.pitch;
      const bool inside = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
      ASSERT_EQ(pixels[i], inside ? static_cast<std::uint8_t>(value >> (8 * (i % bytes))) : 0x5A)
          << "kind " << kind << " value " << std::hex << value << " at " << std::dec << x << "," << y;
    }
    TerminateMemImg(&img);
  }
}

TEST(MemImg, TransferBuildsRunData) {
  // 73 pixels: 70 of the transparent colour, then 3 others.
  std::vector<std::uint32_t> pixels(73 * 2, 0xFF00FF00);
  for (int x = 70; x < 73; ++x) pixels[x] = 0xFF123456;
  const GraphImage src = Argb32Image(pixels, 73, 2, false);
  MEMIMG img = Blank();
  ASSERT_EQ(InitMemImg(&img, 73, 2, -1, 0xFF00FF00, MEMIMG_KIND_32BIT, 0, 0, 1), 0);
  ASSERT_NE(img.runData, nullptr);
  ASSERT_EQ(TransferGraphImageToMemImg(&src, nullptr, &img, 0, 0, 73, 2, 0, 0, DITHER_NONE), 0);
  EXPECT_EQ(img.runDataValid, 1);
  const std::uint8_t expected[] = {0x3F, 0x05, 0x42, 0xC0, 0x3F, 0x08, 0xC0};
  EXPECT_EQ(std::memcmp(img.runData, expected, sizeof expected), 0);
  EXPECT_EQ(Pixel32(img, 71, 0), 0xFF123456u);

  // A partial write leaves the run data stale.
  ASSERT_EQ(TransferGraphImageToMemImg(&src, nullptr, &img, 0, 0, 10, 1, 5, 1, DITHER_NONE), 0);
  EXPECT_EQ(img.runDataValid, 0);
  TerminateMemImg(&img);
}

TEST(MemImg, AlphaImagesGetTranslucentRunsAndAPremultipliedCopy) {
  std::vector<std::uint32_t> pixels = {0x00FFFFFF, 0xFF204080, 0x80204080, 0x80FFFFFF};
  const GraphImage src = Argb32Image(pixels, 4, 1, true);
  MEMIMG img32 = Blank();
  ASSERT_EQ(InitMemImg(&img32, 4, 1, -1, 0, MEMIMG_KIND_32BIT, 0, 1, 1), 0);
  ASSERT_EQ(TransferGraphImageToMemImg(&src, nullptr, &img32, 0, 0, 4, 1, 0, 0, DITHER_NONE), 0);
  const std::uint8_t runs[] = {0x00, 0x40, 0x81, 0xC0};
  EXPECT_EQ(std::memcmp(img32.runData, runs, sizeof runs), 0);
  EXPECT_EQ(img32.premultipliedValid, 1);
  const std::uint32_t* pre = static_cast<const std::uint32_t*>(img32.premultiplied);
  EXPECT_EQ(pre[1], 0xFF1F3F7Fu);  // x 255 >> 8
  EXPECT_EQ(pre[2], 0x80102040u);
  TerminateMemImg(&img32);

  MEMIMG img16 = Blank();
  ASSERT_EQ(InitMemImg(&img16, 4, 1, -1, 0, MEMIMG_KIND_16BIT, 0, 1, 1), 0);
  ASSERT_EQ(TransferGraphImageToMemImg(&src, nullptr, &img16, 0, 0, 4, 1, 0, 0, DITHER_NONE), 0);
  EXPECT_EQ(Pixel32(img16, 3, 0), 0xFF80FFFFu);  // RGB565 low half, alpha in the third byte
  EXPECT_EQ(std::memcmp(img16.runData, runs, sizeof runs), 0);
  const std::uint32_t* pre16 = static_cast<const std::uint32_t*>(img16.premultiplied);
  EXPECT_EQ(pre16[3], 0xFF807BEFu);  // 31 x 128 >> 8 = 15, 63 x 128 >> 8 = 31
  TerminateMemImg(&img16);
}

TEST(MemImg, PaletteImagesGetAllEntries) {
  std::vector<std::uint8_t> indices = {0, 1, 200, 255, 3, 3};
  GraphImage src{};
  BuildPalette8PixelFormat(&src.format);
  for (int i = 0; i < 256; ++i) src.format.palette[i] = static_cast<std::uint32_t>(i * 0x010203) & 0xFFFFFF;
  src.width = 3;
  src.height = 2;
  src.pitch = 3;
  src.pixels = indices.data();
  for (int kind : {MEMIMG_KIND_16BIT, MEMIMG_KIND_32BIT}) {
    MEMIMG img = Blank();
    ASSERT_EQ(InitMemImg(&img, 3, 2, -1, 3, kind, 1, 0, 1), 0);
    ASSERT_EQ(TransferGraphImageToMemImg(&src, nullptr, &img, 0, 0, 3, 2, 0, 0, DITHER_NONE), 0);
    EXPECT_EQ(img.paletteCount, 256);
    const MemImgPalette* table = static_cast<const MemImgPalette*>(img.palette);
    const std::uint32_t c = src.format.palette[200];
    if (kind == MEMIMG_KIND_16BIT) {
      EXPECT_EQ(table->rgb565[200], ((c >> 8) & 0xF800) | ((c >> 5) & 0x7E0) | ((c >> 3) & 0x1F));
    } else {
      EXPECT_EQ(table->xrgb[200], c);
    }
    EXPECT_EQ(std::memcmp(img.workPalette, img.palette, kind == MEMIMG_KIND_16BIT ? 512 : 1024), 0);
    EXPECT_EQ(static_cast<const std::uint8_t*>(img.pixels)[2], 200);
    const std::uint8_t runs[] = {0x42, 0xC0, 0x40, 0x01, 0xC0};  // index 3 is transparent
    EXPECT_EQ(std::memcmp(img.runData, runs, sizeof runs), 0);
    TerminateMemImg(&img);
  }
  // A palette image accepts only indices.
  std::vector<std::uint32_t> colour(4, 0);
  const GraphImage direct = Argb32Image(colour, 2, 2, false);
  MEMIMG img = Blank();
  ASSERT_EQ(InitMemImg(&img, 2, 2, -1, 0, MEMIMG_KIND_32BIT, 1, 0, 0), 0);
  EXPECT_EQ(TransferGraphImageToMemImg(&direct, nullptr, &img, 0, 0, 2, 2, 0, 0, DITHER_NONE), -1);
  TerminateMemImg(&img);
}

TEST(MemImg, TransferRectanglesAreClipped) {
  std::vector<std::uint32_t> pixels(4 * 4);
  for (int i = 0; i < 16; ++i) pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(i);
  const GraphImage src = Argb32Image(pixels, 4, 4, false);
  MEMIMG img = Blank();
  ASSERT_EQ(CreateMemImgForScreen(&img, 3, 3, MEMIMG_KIND_32BIT), 0);
  FillMemImgRect(&img, nullptr, 0xEEEEEEEE);
  // Larger than both images, to a negative position.
  ASSERT_EQ(TransferGraphImageToMemImg(&src, nullptr, &img, -1, 0, 10, 10, -1, 1, DITHER_NONE), 0);
  EXPECT_EQ(Pixel32(img, 0, 0), 0xEEEEEEEEu);
  EXPECT_EQ(Pixel32(img, 0, 1), 0xFF000000u);  // source (0, 0): both corners moved alike
  EXPECT_EQ(Pixel32(img, 2, 2), 0xFF000006u);  // source (2, 1)
  ASSERT_EQ(TransferGraphImageToMemImg(&src, nullptr, &img, 0, 0, 4, 4, 5, 5, DITHER_NONE), 0);

  // Copying out, mirrored and clipped on the right.
  std::vector<std::uint32_t> out(4 * 2, 0);
  GraphImage dest = Argb32Image(out, 4, 2, false);
  TransferMemImg(&dest, &img, 0, 1, 3, 2, 2, 0, 1, DITHER_NONE);
  // Destination columns 2 and 3 show source columns 2 and 1 (column 0 would land at 4).
  EXPECT_EQ(out[2], 0xFF000002u);
  EXPECT_EQ(out[3], 0xFF000001u);
  EXPECT_EQ(out[1], 0u);
  EXPECT_EQ(out[4 + 2], 0xFF000006u);
  TerminateMemImg(&img);
}

TEST(MemImg, SingleChannelKindsTakeIndices) {
  std::vector<std::uint8_t> weights = {0, 64, 128, 255};
  GraphImage src{};
  BuildGray8PixelFormat(&src.format);
  src.width = 4;
  src.height = 1;
  src.pitch = 4;
  src.pixels = weights.data();
  MEMIMG img = Blank();
  ASSERT_EQ(InitMemImg(&img, 4, 1, -1, 0, MEMIMG_KIND_BYTE, 1, 1, 1), 0);
  EXPECT_EQ(img.runData, nullptr);
  ASSERT_EQ(TransferGraphImageToMemImg(&src, nullptr, &img, 0, 0, 4, 1, 0, 0, DITHER_NONE), 0);
  EXPECT_EQ(std::memcmp(img.pixels, weights.data(), 4), 0);
  TerminateMemImg(&img);
}
