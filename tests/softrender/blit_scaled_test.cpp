// The stretched-image kernel: which source pixel each destination pixel shows,
// the hand-over to the image-at-position kernel, and the refused draws.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/blend_tables.h"
#include "soft_test_images.h"
#include "softrender/blit_kernels.h"

namespace {

// A 32-bit source row whose pixel x holds x + 1.
struct Numbered : TestImage {
  explicit Numbered(int width) : TestImage(width, 1, MEMIMG_KIND_32BIT) {
    for (int x = 0; x < width; ++x) Set(x, 0, static_cast<std::uint32_t>(x + 1));
  }
};

// The source column (0-based, -1 = untouched) each destination column shows.
std::vector<int> ShownColumns(const TestImage& src, RECT rect, const SoftDrawState& state, int dstWidth = 16) {
  TestImage dst(dstWidth, 1, src->kind);
  BlitMemImgScaledKernels(dst.get(), src.get(), &rect, 0, nullptr, state);
  std::vector<int> shown(dstWidth);
  for (int x = 0; x < dstWidth; ++x) shown[x] = static_cast<int>(dst.Get(x, 0)) - 1;
  return shown;
}

TEST(BlitScaled, NearestSourceColumns) {
  const SoftDrawState copy = MakeState(0, 255);
  EXPECT_EQ(ShownColumns(Numbered(4), RECT{0, 0, 2, 1}, copy, 3), (std::vector<int>{0, 2, -1}));
  EXPECT_EQ(ShownColumns(Numbered(2), RECT{0, 0, 4, 1}, copy, 5), (std::vector<int>{0, 0, 1, 1, -1}));
  // Mirrored, width 3 from a 3-wide source: starts at column 2.
  EXPECT_EQ(ShownColumns(Numbered(3), RECT{3, 0, 0, 1}, copy, 4), (std::vector<int>{2, 1, 0, -1}));
  // Every mode maps the same way (mode 2 at 255 adds onto a zero destination).
  EXPECT_EQ(ShownColumns(Numbered(4), RECT{0, 0, 2, 1}, MakeState(2, 255), 3), (std::vector<int>{0, 2, -1}));
  // Flipped rows: the bottom source row comes first.
  TestImage tall(1, 3, MEMIMG_KIND_32BIT);
  for (int y = 0; y < 3; ++y) tall.Set(0, y, 10 + y);
  TestImage dst(1, 6, MEMIMG_KIND_32BIT);
  const RECT flipped{0, 6, 1, 0};
  BlitMemImgScaledKernels(dst.get(), tall.get(), &flipped, 0, nullptr, copy);
  for (int y = 0; y < 6; ++y) EXPECT_EQ(dst.Get(0, y), 12u - y / 2) << y;
}

TEST(BlitScaled, ClippingKeepsTheSourceColumns) {
  const Numbered src(5);
  const RECT rect{-3, 0, 9, 1};  // 12 wide from 5: scale 2.4
  const std::vector<int> whole = ShownColumns(src, rect, MakeState(0, 255), 16);
  for (int clipLeft : {0, 1, 4}) {
    const auto clipped = ShownColumns(src, rect, MakeState(0, 255, 0xFFFFFF, 0, RECT{clipLeft, 0, 7, 1}), 16);
    for (int x = 0; x < 16; ++x) EXPECT_EQ(clipped[x], x >= clipLeft && x < 7 ? whole[x] : -1) << clipLeft << " " << x;
  }
  // Column d of the rectangle shows floor(d x 65536 / scale).
  const std::int64_t scale = 12 * 65536 / 5;
  for (int x = 0; x < 9; ++x) EXPECT_EQ(whole[x], static_cast<int>((x + 3) * 65536 / scale)) << x;
}

TEST(BlitScaled, ExactSizeGoesToTheImageAtPositionKernel) {
  // Mode 1 at 128 over RGB565 takes the image-at-position kernel's halving form only
  // when handed over: the mirrored draw of the same size runs the shared blend.
  TestImage src(1, 1, MEMIMG_KIND_16BIT);
  src.Set(0, 0, 0xFFFF);
  const SoftDrawState half = MakeState(1, 128);
  TestImage straight(1, 1, MEMIMG_KIND_16BIT), mirrored(1, 1, MEMIMG_KIND_16BIT);
  const RECT forward{0, 0, 1, 1}, backward{1, 0, 0, 1};
  BlitMemImgScaledKernels(straight.get(), src.get(), &forward, 0, nullptr, half);
  BlitMemImgScaledKernels(mirrored.get(), src.get(), &backward, 0, nullptr, half);
  EXPECT_EQ(straight.Get(0, 0), 0x7BEFu);  // (0xFFFF >> 1) & 0x7BEF
  EXPECT_EQ(mirrored.Get(0, 0), 0x7BEFu);  // 31 x 128 / 255 = 15, 63 x 128 / 255 = 31
  straight.Set(0, 0, 0xFFFF);
  mirrored.Set(0, 0, 0xFFFF);
  src.Set(0, 0, 0x0000);
  BlitMemImgScaledKernels(straight.get(), src.get(), &forward, 0, nullptr, half);
  BlitMemImgScaledKernels(mirrored.get(), src.get(), &backward, 0, nullptr, half);
  EXPECT_EQ(straight.Get(0, 0), 0x7BEFu);
  EXPECT_EQ(mirrored.Get(0, 0), 0x8410u);
}

TEST(BlitScaled, EmptyOversizedAndRefusedDrawsDrawNothing) {
  const Numbered src(4);
  TestImage dst(8, 1, MEMIMG_KIND_32BIT);
  const auto before = dst.Bytes();
  const SoftDrawState copy = MakeState(0, 255);
  for (RECT rect : {RECT{2, 0, 2, 1}, RECT{0, 0, 8, 0}, RECT{0, 0, 32768, 1}, RECT{-40000, 0, 4, 1},
                    RECT{INT32_MIN, 0, INT32_MAX, 1}, RECT{0, 0, 8, 32768}}) {
    BlitMemImgScaledKernels(dst.get(), src.get(), &rect, 0, nullptr, copy);
  }
  // A scale of 0: a source wider than 65536 times the rectangle.
  TestImage wide(70000, 1, MEMIMG_KIND_32BIT);
  wide.Fill(5);
  const RECT one{0, 0, 1, 1};
  BlitMemImgScaledKernels(dst.get(), wide.get(), &one, 0, nullptr, copy);
  // Parameter 0 in modes 1 to 3 (a palette source too).
  const RECT stretch{0, 0, 8, 1};
  for (int mode : {1, 2, 3}) BlitMemImgScaledKernels(dst.get(), src.get(), &stretch, 0, nullptr, MakeState(mode, 0));
  TestImage palette(4, 1, MEMIMG_KIND_32BIT, 1);
  palette.SetPaletteEntry(0, 0x00FFFFFF);
  BlitMemImgScaledKernels(dst.get(), palette.get(), &stretch, 0, nullptr, MakeState(3, 0));
  // Destinations of another kind, with a palette or with alpha.
  for (auto [kind, pal, alpha] : {std::tuple{0, 0, 0}, std::tuple{1, 1, 0}, std::tuple{1, 0, 1}}) {
    TestImage other(8, 1, kind, pal, alpha);
    const auto otherBefore = other.Bytes();
    BlitMemImgScaledKernels(other.get(), src.get(), &stretch, 0, nullptr, copy);
    EXPECT_EQ(other.Bytes(), otherBefore);
  }
  EXPECT_EQ(dst.Bytes(), before);
  // Mode 4 at parameter 0 still draws.
  dst.Fill(0x00FFFFFF);
  BlitMemImgScaledKernels(dst.get(), src.get(), &stretch, 0, nullptr, MakeState(4, 0));
  EXPECT_EQ(dst.Get(0, 0), 0u);  // 0xFF x 0x01 >> 8 = 0 in blue, 0 elsewhere
}

TEST(BlitScaled, PixelsOutsideASmallBlendGraphAreSkipped) {
  for (int i = 0; i < 256; ++i) BlendGraphRamp[i] = 255;
  TestImage src(4, 1, MEMIMG_KIND_32BIT);
  src.Fill(0x00FFFFFF);
  TestImage graph(2, 1, MEMIMG_KIND_BYTE);
  for (RECT rect : {RECT{0, 0, 8, 1}, RECT{8, 0, 0, 1}}) {
    TestImage dst(8, 1, MEMIMG_KIND_32BIT);
    BlitMemImgScaledKernels(dst.get(), src.get(), &rect, 0, graph.get(), MakeState(0, 255));
    const bool mirrored = rect.left > rect.right;
    for (int x = 0; x < 8; ++x) {
      const int column = mirrored ? 3 - x / 2 : x / 2;
      EXPECT_EQ(dst.Get(x, 0), column < 2 ? 0x00FEFEFEu : 0u) << x;
    }
  }
}

TEST(BlitScaled, WritesInvalidateTheDestinationsRunTable) {
  TestImage src(2, 1, MEMIMG_KIND_32BIT);
  TestImage dst(4, 1, MEMIMG_KIND_32BIT, 0, 0, 0, 1);
  dst.BuildRunTable();
  dst->premultipliedValid = 1;
  const RECT rect{0, 0, 4, 1};
  BlitMemImgScaledKernels(dst.get(), src.get(), &rect, 0, nullptr, MakeState(0, 255));
  EXPECT_EQ(dst->runDataValid, 0);
  EXPECT_EQ(dst->premultipliedValid, 0);
}

TEST(BlitScaled, SourceRectangleOfAClippedStretchedDraw) {
  const RECT open{-1000, -1000, 1000, 1000};
  RECT dest, source;
  // Unclipped: the whole source; the ceiling span of a scale that is not exact
  // (3 into 4: 4 x 65536 / 87381 rounds up to 4) is kept inside the source.
  ASSERT_TRUE(GetStretchedDrawRects(RECT{10, 20, 14, 26}, 3, 3, open, &dest, &source));
  EXPECT_EQ((std::vector<LONG>{dest.left, dest.top, dest.right, dest.bottom}), (std::vector<LONG>{10, 20, 14, 26}));
  EXPECT_EQ((std::vector<LONG>{source.left, source.top, source.right, source.bottom}), (std::vector<LONG>{0, 0, 3, 3}));
  // Clipped on the left: 12 wide from 5 (scale 2.4); 4 columns cut show source 0 and 1.
  ASSERT_TRUE(GetStretchedDrawRects(RECT{-3, 0, 9, 1}, 5, 1, RECT{1, 0, 7, 1}, &dest, &source));
  EXPECT_EQ((std::vector<LONG>{dest.left, dest.right}), (std::vector<LONG>{1, 7}));
  EXPECT_EQ((std::vector<LONG>{source.left, source.right}), (std::vector<LONG>{1, 4}));
  // Mirrored, the same clip takes the mirrored part of the source.
  ASSERT_TRUE(GetStretchedDrawRects(RECT{9, 0, -3, 1}, 5, 1, RECT{1, 0, 7, 1}, &dest, &source));
  EXPECT_EQ((std::vector<LONG>{source.left, source.right}), (std::vector<LONG>{1, 4}));
  ASSERT_TRUE(GetStretchedDrawRects(RECT{9, 0, -3, 1}, 5, 1, RECT{-5, 0, 4, 1}, &dest, &source));
  EXPECT_EQ((std::vector<LONG>{source.left, source.right}), (std::vector<LONG>{2, 5}));
  // Nothing to draw.
  EXPECT_FALSE(GetStretchedDrawRects(RECT{5, 0, 5, 4}, 2, 2, open, &dest, &source));
  EXPECT_FALSE(GetStretchedDrawRects(RECT{0, 0, 32768, 4}, 2, 2, RECT{0, 0, 1 << 20, 1 << 20}, &dest, &source));
  EXPECT_FALSE(GetStretchedDrawRects(RECT{0, 0, 1, 1}, 70000, 1, open, &dest, &source));
  EXPECT_FALSE(GetStretchedDrawRects(RECT{0, 0, 4, 4}, 2, 2, RECT{10, 10, 20, 20}, &dest, &source));
  EXPECT_FALSE(GetStretchedDrawRects(RECT{INT32_MIN, 0, INT32_MAX, 4}, 2, 2, open, &dest, &source));
}

}  // namespace
