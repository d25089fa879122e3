// The worked examples of the shared pixel operations (32-bit and RGB565), through
// the word operations and through the stretched kernel's loops.
#include <gtest/gtest.h>

#include "row_draw.h"
#include "softrender/saturate_ops.h"

namespace {

constexpr auto kStretched = RowKernel::Stretched;

RowDraw Draw32(int mode, int param, int form = SOURCE_DIRECT) {
  RowDraw d;
  d.mode = mode;
  d.param = param;
  d.form = form;
  return d;
}

RowDraw Draw16(int mode, int param, int form = SOURCE_DIRECT) {
  RowDraw d = Draw32(mode, param, form);
  d.kind = PIXEL_KIND_16;
  return d;
}

TEST(PixelOps, PackedSaturatingWordOperations) {
  EXPECT_EQ(AddSaturate8888(0x000000FF, 0x00000001), 0x000001FFu);
  EXPECT_EQ(AddSaturate8888(0x00808080, 0x00808080), 0x01FFFFFFu);
  EXPECT_EQ(SubSaturate8888(0x00000000, 0x00000000), 0x00010100u);
  EXPECT_EQ(SubSaturate8888(0x00000200, 0x00000100), 0x00010300u);
  EXPECT_EQ(SubSaturate8888(0x00FFFFFF, 0x00010101), 0x00FFFFFEu);

  EXPECT_EQ(AddSaturate565(0x0800, 0x0800), 0x0800u);
  EXPECT_EQ(AddSaturate565(0xF000, 0x1000), 0xF800u);
  EXPECT_EQ(AddSaturate565(0x001F, 0x0001), 0x003Fu);
  EXPECT_EQ(SubSaturate565(0xFFFF, 0xFFFF), 0x0800u);
  EXPECT_EQ(SubSaturate565(0x07E0, 0x0020), 0x0FC0u);
  for (std::uint32_t d = 0; d <= 0xFFFF; ++d) {
    ASSERT_EQ(AddSaturate565(d, 0), d);
    ASSERT_EQ(SubSaturate565(d, 0), (d & 0xFFDF) | 0x0800);
  }
}

TEST(PixelOps, ModeGatesOfTheParameter32) {
  const std::uint32_t s = 0x80FF4020, d = 0x11223344;
  // Mode 1 at 255 is the mode-0 copy, byte 3 included.
  EXPECT_EQ(DrawPixel(Draw32(1, 255), s, d, kStretched), s);
  for (int mode : {1, 2, 3}) EXPECT_EQ(DrawPixel(Draw32(mode, 0), s, d, kStretched), d) << mode;
  EXPECT_EQ(DrawPixel(Draw32(3, 0, SOURCE_PALETTE), 0, d, kStretched), d);
  // Mode 4 ignores the parameter: 0xFF x 0x44 >> 8 = 0x43 ...
  EXPECT_EQ(DrawPixel(Draw32(4, 0), 0x00FFFFFF, d, kStretched), 0x11213243u);
  EXPECT_EQ(DrawPixel(Draw32(5, 128), s, d, kStretched), d);
  EXPECT_EQ(DrawPixel(Draw32(-1, 128), s, d, kStretched), d);
}

TEST(PixelOps, AlphaSourceAndTheTransparentFlag32) {
  RowDraw draw = Draw32(0, 255, SOURCE_ALPHA);
  draw.transparent = 1;
  EXPECT_EQ(DrawPixel(draw, 0x00FFFFFF, 0x00123456, kStretched), 0x00123456u);
  EXPECT_EQ(DrawPixel(draw, 0xFFFFFFFF, 0x00000000, kStretched), 0xFFFFFFFFu);
  EXPECT_EQ(DrawPixel(draw, 0x800000FF, 0x00000000, kStretched), 0x0000007Fu);
  draw.transparent = 0;
  EXPECT_EQ(DrawPixel(draw, 0xFF0000FF, 0x00000000, kStretched), 0x000000FEu);
  EXPECT_EQ(DrawPixel(draw, 0x00FFFFFF, 0x00123456, kStretched), 0x00123456u);
  // Mode 4, alpha 0: cleared with the flag off, skipped with it on.
  draw.mode = 4;
  EXPECT_EQ(DrawPixel(draw, 0x00FFFFFF, 0x00123456, kStretched), 0x00000000u);
  draw.transparent = 1;
  EXPECT_EQ(DrawPixel(draw, 0x00FFFFFF, 0x00123456, kStretched), 0x00123456u);
}

TEST(PixelOps, BlendGraphWeightAndKeys32) {
  RowDraw graph = Draw32(0, 255);
  graph.graph = {255};
  EXPECT_EQ(DrawPixel(graph, 0x000000FF, 0, kStretched), 0x000000FEu);

  RowDraw palette = Draw32(0, 255, SOURCE_PALETTE);
  palette.palette = {0, 0, 0, 0, 0, 0x00ABCDEF};
  palette.transparent = 1;
  palette.key = 5;
  EXPECT_EQ(DrawPixel(palette, 5, 0x11111111, kStretched), 0x11111111u);
  palette.key = 0x105;
  EXPECT_EQ(DrawPixel(palette, 5, 0x11111111, kStretched), 0x00ABCDEFu);

  RowDraw direct = Draw32(0, 255);
  direct.transparent = 1;
  direct.key = 0x0000FF00;
  EXPECT_EQ(DrawPixel(direct, 0xFF00FF00, 0, kStretched), 0xFF00FF00u);
  EXPECT_EQ(DrawPixel(direct, 0x0000FF00, 7, kStretched), 7u);
}

TEST(PixelOps, SubtractAt255FollowsTheMmxFlag32) {
  RowDraw draw = Draw32(3, 255);
  draw.mmx = 1;
  EXPECT_EQ(DrawPixel(draw, 0x00000100, 0x00000200, kStretched), 0x00000100u);
  draw.mmx = 0;
  EXPECT_EQ(DrawPixel(draw, 0x00000100, 0x00000200, kStretched), 0x00010300u);
  // Byte 3 takes part only in the bytewise form.
  draw.mmx = 1;
  EXPECT_EQ(DrawPixel(draw, 0x10000000, 0x30000000, kStretched), 0x20000000u);
  draw.mmx = 0;
  EXPECT_EQ(DrawPixel(draw, 0x10000000, 0x30000000, kStretched), 0x00010100u);
}

TEST(PixelOps, Rgb565Examples) {
  EXPECT_EQ(DrawPixel(Draw16(4, 128), 0xFFFF, 0xFFFF, kStretched), 0xF7DEu);
  EXPECT_EQ(DrawPixel(Draw16(4, 0), 0xFFFF, 0xFFFF, kStretched), 0xF7DEu);
  EXPECT_EQ(DrawPixel(Draw16(1, 128), 0xFFFF, 0x0000, kStretched), 0x7BEFu);
  EXPECT_EQ(DrawPixel(Draw16(1, 128), 0x0000, 0xFFFF, kStretched), 0x8410u);
  for (int mode : {1, 2, 3}) {
    EXPECT_EQ(DrawPixel(Draw16(mode, 0), 0xFFFF, 0x1234, kStretched), 0x1234u);
    EXPECT_EQ(DrawPixel(Draw16(mode, 0, SOURCE_PALETTE), 0, 0x1234, kStretched), 0x1234u);
  }

  RowDraw alpha = Draw16(0, 255, SOURCE_ALPHA);
  alpha.transparent = 1;
  EXPECT_EQ(DrawPixel(alpha, 0xFF0000 | 0xFFFF, 0x0000, kStretched), 0xFFFFu);
  alpha.transparent = 0;
  EXPECT_EQ(DrawPixel(alpha, 0xFF0000 | 0xFFFF, 0x0000, kStretched), 0xF7DEu);

  // A blend-graph weight of 0.
  RowDraw graph = Draw16(0, 255);
  graph.graph = {0};
  for (int mode : {0, 1, 2}) {
    graph.mode = mode;
    EXPECT_EQ(DrawPixel(graph, 0xFFFF, 0x1234, kStretched), 0x1234u) << mode;
  }
  graph.mode = 3;
  EXPECT_EQ(DrawPixel(graph, 0xFFFF, 0xFFFF, kStretched), 0xFFDFu);
  graph.mode = 4;
  EXPECT_EQ(DrawPixel(graph, 0xFFFF, 0xFFFF, kStretched), 0x0000u);

  RowDraw key = Draw16(0, 255);
  key.transparent = 1;
  key.key = 0x10000;
  EXPECT_EQ(DrawPixel(key, 0x0000, 0x1234, kStretched), 0x0000u);

  RowDraw palette = Draw16(0, 255, SOURCE_PALETTE);
  palette.palette = {0, 0, 0, 0, 0xF800, 0xF800};
  palette.transparent = 1;
  palette.key = 5;
  palette.source = {4, 5};
  palette.dest = {0x0001, 0x0001};
  EXPECT_EQ(DrawRow(palette, kStretched), (std::vector<std::uint32_t>{0xF800, 0x0001}));

  // Alpha before tint when the alpha is the only weight: green 63 x 200 / 256 = 49,
  // then 49 x 100 / 255 = 19.
  RowDraw tinted = Draw16(2, 255, SOURCE_ALPHA);
  tinted.tint = 0xFF64FF;
  EXPECT_EQ(DrawPixel(tinted, (200u << 16) | 0x07E0, 0x0000, kStretched), 0x0260u);
  // With a blend graph instead, the tint comes first: 63 x 100 / 255 = 24, x 200 / 256 = 18.
  RowDraw tintedGraph = Draw16(2, 255);
  tintedGraph.tint = 0xFF64FF;
  tintedGraph.graph = {200};
  EXPECT_EQ(DrawPixel(tintedGraph, 0x07E0, 0x0000, kStretched), 0x0240u);

  RowDraw almostWhite = Draw16(0, 255);
  almostWhite.tint = 0xFFFFFE;
  EXPECT_EQ(DrawPixel(almostWhite, 0x001F, 0x0000, kStretched), 0x001Eu);
}

}  // namespace
