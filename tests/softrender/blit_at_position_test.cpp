// The image-at-position kernel: its rejections and clipping, and the worked
// examples of its own loops (32-bit and 16-bit) and of its run-table path.
#include <gtest/gtest.h>

#include "graphics/blend_tables.h"
#include "../support/same_values.h"
#include "primitive_reference.h"
#include "row_draw.h"
#include "soft_test_images.h"
#include "softrender/blit_kernels.h"

namespace {

constexpr auto kLoops = RowKernel::AtPosition;
constexpr auto kRuns = RowKernel::RunTable;

RowDraw Draw(int kind, int mode, int param, int form = SOURCE_DIRECT) {
  RowDraw d;
  d.kind = kind;
  d.mode = mode;
  d.param = param;
  d.form = form;
  return d;
}

TEST(BlitAtPosition, RefusedDestinationsAndModesDrawNothing) {
  TestImage src(4, 4, MEMIMG_KIND_32BIT);
  src.Fill(0x00FFFFFF);
  const SoftDrawState copy = MakeState(0, 255);
  for (auto [kind, palette, alpha] : {std::tuple{0, 0, 0}, std::tuple{1, 1, 0}, std::tuple{1, 0, 1}}) {
    TestImage dst(8, 8, kind, palette, alpha);
    const auto before = dst.Bytes();
    BlitMemImgKernels(dst.get(), src.get(), 0, 0, 0, nullptr, copy);
    EXPECT_EQ(dst.Bytes(), before);
  }
  TestImage dst(8, 8, MEMIMG_KIND_32BIT);
  const auto before = dst.Bytes();
  for (int mode : {-1, 5}) BlitMemImgKernels(dst.get(), src.get(), 0, 0, 0, nullptr, MakeState(mode, 128));
  BlitMemImgKernels(dst.get(), src.get(), 0, 0, 0, nullptr, MakeState(0, 255, 0xFFFFFF, 0, RECT{2, 2, 2, 8}));
  BlitMemImgKernels(dst.get(), src.get(), 20, 3, 0, nullptr, copy);
  BlitMemImgKernels(dst.get(), src.get(), -4, 3, 0, nullptr, copy);
  EXPECT_EQ(dst.Bytes(), before);
}

TEST(BlitAtPosition, ClipsToTheDestinationAndTheClipRectangle) {
  TestImage src(6, 6, MEMIMG_KIND_32BIT);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) src.Set(x, y, 0x100 * y + x + 1);
  // A clip rectangle larger than the destination: the destination's edge holds.
  TestImage dst(5, 4, MEMIMG_KIND_32BIT);
  BlitMemImgKernels(dst.get(), src.get(), -2, -3, 0, nullptr, MakeState(0, 255, 0xFFFFFF, 0, RECT{-100, -100, 100, 100}));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(dst.Get(x, y), y < 3 && x < 4 ? 0x100u * (y + 3) + x + 3 : 0u) << x << y;
  // Positions at the ends of the int range draw nothing and do not overflow.
  const auto before = dst.Bytes();
  BlitMemImgKernels(dst.get(), src.get(), INT32_MAX - 2, 0, 0, nullptr, MakeState(0, 255));
  BlitMemImgKernels(dst.get(), src.get(), INT32_MIN, INT32_MIN, 0, nullptr, MakeState(0, 255));
  EXPECT_EQ(dst.Bytes(), before);
}

TEST(BlitAtPosition, BlendGraphIsReadAtTheSourcePixelsOwnPosition) {
  for (int i = 0; i < 256; ++i) BlendGraphRamp[i] = static_cast<std::uint8_t>(i);
  TestImage src(4, 1, MEMIMG_KIND_32BIT);
  src.Fill(0x00FFFFFF);
  TestImage graph(4, 1, MEMIMG_KIND_BYTE);
  const std::uint8_t weights[4] = {0, 64, 128, 255};
  for (int x = 0; x < 4; ++x) graph.Set(x, 0, weights[x]);
  for (int left : {0, 3, -2}) {
    TestImage dst(8, 1, MEMIMG_KIND_32BIT);
    // The clip cuts the first source column when the source starts at 0 or 3.
    BlitMemImgKernels(dst.get(), src.get(), left, 0, 0, graph.get(), MakeState(0, 255, 0xFFFFFF, 0, RECT{1, 0, 8, 1}));
    for (int sx = 0; sx < 4; ++sx) {
      const int x = left + sx;
      if (x < 1) continue;
      const std::uint32_t c = (255u * weights[sx]) >> 8;
      EXPECT_EQ(dst.Get(x, 0), c | c << 8 | c << 16) << left << " " << sx;
    }
  }
  // A blend graph smaller than the source limits the drawn area to its extent.
  TestImage small(2, 1, MEMIMG_KIND_BYTE);
  small.Set(0, 0, 255);
  small.Set(1, 0, 255);
  TestImage dst(8, 1, MEMIMG_KIND_32BIT);
  BlitMemImgKernels(dst.get(), src.get(), 0, 0, 0, small.get(), MakeState(0, 255));
  EXPECT_EQ(dst.Get(1, 0), 0x00FEFEFEu);
  EXPECT_EQ(dst.Get(2, 0), 0u);
}

TEST(BlitAtPosition, ParameterGates) {
  for (int kind : {PIXEL_KIND_16, PIXEL_KIND_32}) {
    const std::uint32_t s = kind ? 0x80FF4020 : 0xF81F, d = kind ? 0x11223344 : 0x1234;
    EXPECT_EQ(DrawPixel(Draw(kind, 1, 255), s, d, kLoops), s);
    EXPECT_EQ(DrawPixel(Draw(kind, 1, 0), s, d, kLoops), d);
    EXPECT_EQ(DrawPixel(Draw(kind, 2, 0), s, d, kLoops), d);
    EXPECT_EQ(DrawPixel(Draw(kind, 3, 0), s, d, kLoops), d);
    // A palette source still subtracts a zero source at parameter 0.
    RowDraw palette = Draw(kind, 3, 0, SOURCE_PALETTE);
    palette.key = 7;
    palette.palette = {kind ? 0x00FFFFFFu : 0xFFFFu};
    for (RowKernel k : {kLoops, kRuns}) {
      if (kind) {
        EXPECT_EQ(DrawPixel(palette, 0, 0xAB000000, k), 0x00010100u);
        EXPECT_EQ(DrawPixel(palette, 0, 0xFF123456, k), 0x00133556u);
      } else {
        EXPECT_EQ(DrawPixel(palette, 0, 0x0000, k), 0x0800u);
        EXPECT_EQ(DrawPixel(palette, 0, 0xFFFF, k), 0xFFDFu);
        EXPECT_EQ(DrawPixel(palette, 0, 0x1234, k), 0x1A14u);
      }
    }
  }
}

TEST(BlitAtPosition, TransparentTestAndSourceAlpha32) {
  RowDraw alpha = Draw(PIXEL_KIND_32, 0, 255, SOURCE_ALPHA);
  alpha.transparent = 1;
  alpha.source = {0x00FFFFFF, 0xFF102030, 0x80FFFFFF};
  alpha.dest = {0x11111111, 0, 0};
  for (RowKernel k : {kLoops, kRuns}) {
    EXPECT_EQ(DrawRow(alpha, k), (std::vector<std::uint32_t>{0x11111111, 0xFF102030, 0x0000007F7F7F}));
  }
  alpha.transparent = 0;
  EXPECT_EQ(DrawPixel(alpha, 0xFF0000FF, 0, kLoops), 0x000000FEu);

  RowDraw key = Draw(PIXEL_KIND_32, 0, 255);
  key.transparent = 1;
  key.key = 0x0000FF00;
  for (RowKernel k : {kLoops, kRuns}) {
    EXPECT_EQ(DrawPixel(key, 0xFF00FF00, 1, k), 0xFF00FF00u);
    EXPECT_EQ(DrawPixel(key, 0x0000FF00, 1, k), 1u);
  }

  // Mode 4, alpha 0: skipped with the transparent flag (as on every other path),
  // black without it.
  RowDraw multiply = Draw(PIXEL_KIND_32, 4, 128, SOURCE_ALPHA);
  multiply.transparent = 1;
  for (RowKernel k : {kLoops, kRuns}) EXPECT_EQ(DrawPixel(multiply, 0x00FFFFFF, 0x00808080, k), 0x00808080u);
  multiply.transparent = 0;
  EXPECT_EQ(DrawPixel(multiply, 0x00FFFFFF, 0x77808080, kLoops), 0x77000000u);
}

TEST(BlitAtPosition, FixedParameterForms32) {
  // Mode 2 at 255, blue 200 + 100 saturates in every form; byte 3 saturates with
  // the MMX-usable flag and takes the carry out of red without it.
  RowDraw add = Draw(PIXEL_KIND_32, 2, 255);
  add.mmx = 1;
  EXPECT_EQ(DrawPixel(add, 0x0A0200C8, 0x00FF0064, kLoops), 0x0AFF00FFu);
  EXPECT_EQ(DrawPixel(add, 0x000101C8, 0x00010164, kLoops), 0x000202FFu);
  add.mmx = 0;
  // (green takes the carry out of blue).
  EXPECT_EQ(DrawPixel(add, 0x0A0200C8, 0x00FF0064, kLoops), 0x01FF01FFu);
  // Without the low-bit OR term the lowest bits of 1 + 1 are lost: red 0, green
  // only the blue carry.
  EXPECT_EQ(DrawPixel(add, 0x000101C8, 0x00010164, kLoops), 0x000001FFu);
  // The run-table path has no fixed-parameter forms: the general add.
  EXPECT_EQ(DrawPixel(add, 0x000101C8, 0x00010164, kRuns), 0x000101FFu);

  RowDraw sub = Draw(PIXEL_KIND_32, 3, 255);
  sub.mmx = 1;
  EXPECT_EQ(DrawPixel(sub, 0x10000100, 0x30000200, kLoops), 0x20000100u);
  EXPECT_EQ(DrawPixel(sub, 0x10000100, 0x30000200, kRuns), 0x00010300u);
  sub.mmx = 0;
  EXPECT_EQ(DrawPixel(sub, 0x10000100, 0x30000200, kLoops), 0x00010300u);

  // Mode 1 at 128: the halves summed, byte 3 cleared; 3 and 5 give 3.
  RowDraw half = Draw(PIXEL_KIND_32, 1, 128);
  for (int mmx : {0, 1}) {
    half.mmx = mmx;
    EXPECT_EQ(DrawPixel(half, 0xFF030303, 0xFF050505, kLoops), 0x00030303u);
  }
  EXPECT_EQ(DrawPixel(half, 0xFF030303, 0xFF050505, kRuns), 0xFF030303u + 0x010101u);
}

TEST(BlitAtPosition, Rgb565Loops) {
  // Mode 1 untinted: the 6-bit mix table.
  for (int p : {1, 2, 3}) EXPECT_EQ(DrawPixel(Draw(PIXEL_KIND_16, 1, p), 0xFFFF, 0x1234, kLoops), 0x1234u) << p;
  for (int p : {252, 253, 254}) EXPECT_EQ(DrawPixel(Draw(PIXEL_KIND_16, 1, p), 0x1234, 0xFFFF, kLoops), 0x1234u) << p;
  EXPECT_EQ(DrawPixel(Draw(PIXEL_KIND_16, 1, 128), 0xFFFF, 0xFFFF, kLoops), 0xF7DEu);
  // The run-table path uses the difference table instead: at 254 each channel stops
  // short of the source (red 31 - trunc(29 x 254 / 255) = 3, not 2).
  EXPECT_EQ(DrawPixel(Draw(PIXEL_KIND_16, 1, 254), 0x1234, 0xFFFF, kRuns), 0x1A55u);

  RowDraw alpha = Draw(PIXEL_KIND_16, 0, 255, SOURCE_ALPHA);
  EXPECT_EQ(DrawPixel(alpha, 0xFF0000 | 0xF800, 0x0000, kLoops), 0xF000u);
  alpha.transparent = 1;
  EXPECT_EQ(DrawPixel(alpha, 0x000000 | 0xF800, 0x1234, kLoops), 0x1234u);
  EXPECT_EQ(DrawPixel(alpha, 0xFF0000 | 0xF800, 0x1234, kLoops), 0xF800u);

  RowDraw multiply = Draw(PIXEL_KIND_16, 4, 0);
  EXPECT_EQ(DrawPixel(multiply, 0xFFFF, 0xFFFF, kLoops), 0xF7DEu);
  multiply.form = SOURCE_ALPHA;
  EXPECT_EQ(DrawPixel(multiply, 0x00FFFF, 0xFFFF, kLoops), 0x0000u);
  multiply.transparent = 1;
  EXPECT_EQ(DrawPixel(multiply, 0x00FFFF, 0xFFFF, kLoops), 0xFFFFu);

  // Mode 2 at 255: an opaque alpha pixel takes the one-pixel add.
  RowDraw opaque = Draw(PIXEL_KIND_16, 2, 255, SOURCE_ALPHA);
  opaque.transparent = 1;
  EXPECT_EQ(DrawPixel(opaque, 0xFF0000 | 0xFFFF, 0x0000, kLoops), 0xFFFFu);
}

TEST(BlitAtPosition, Rgb565PairFormsAt255) {
  RowDraw add = Draw(PIXEL_KIND_16, 2, 255);
  add.source = {0xFFFF, 0xFFFF, 0xFFFF};
  add.dest = {0, 0, 0};
  EXPECT_EQ(DrawRow(add, kLoops), (std::vector<std::uint32_t>{0xF7DF, 0xF7DE, 0xF7DF}));
  add.source = {0xF800, 0x0000};
  add.dest = {0xF800, 0x0000};
  EXPECT_EQ(DrawRow(add, kLoops), (std::vector<std::uint32_t>{0xF800, 0x0001}));
  // A pair with one transparent pixel draws the other alone.
  add.transparent = 1;
  add.key = 0x0000;
  EXPECT_EQ(DrawRow(add, kLoops), (std::vector<std::uint32_t>{0xF800, 0x0000}));

  RowDraw sub = Draw(PIXEL_KIND_16, 3, 255);
  sub.source = {0xFFFF, 0xFFFF};
  sub.dest = {0xFFFF, 0xFFFF};
  EXPECT_EQ(DrawRow(sub, kLoops), (std::vector<std::uint32_t>{0x0800, 0x0801}));
  sub.dest = {0x1234, 0x1234};
  EXPECT_EQ(DrawRow(sub, kLoops), (std::vector<std::uint32_t>{0x0000, 0x0000}));

  // A clipped width of 1 takes the single-pixel path.
  TestImage src(2, 1, MEMIMG_KIND_16BIT);
  src.Fill(0xFFFF);
  TestImage dst(4, 1, MEMIMG_KIND_16BIT);
  BlitMemImgKernels(dst.get(), src.get(), 0, 0, 0, nullptr, MakeState(2, 255, 0xFFFFFF, 0, RECT{1, 0, 4, 1}));
  EXPECT_EQ(dst.Get(0, 0), 0u);
  EXPECT_EQ(dst.Get(1, 0), 0xF7DFu);

  // A tint of (255, 255, 254) is a tint: no pair form.
  sub.tint = 0xFFFFFE;
  sub.dest = {0xFFFF, 0xFFFF};
  EXPECT_EQ(DrawRow(sub, kLoops), (std::vector<std::uint32_t>{0x0801, 0x0801}));
}

TEST(BlitAtPosition, RunTablePath) {
  // A fully transparent image writes nothing.
  RowDraw none = Draw(PIXEL_KIND_32, 0, 255);
  none.key = 0x00123456;
  none.source = std::vector<std::uint32_t>(70, 0x00123456);
  none.dest = std::vector<std::uint32_t>(70, 9);
  EXPECT_EQ(DrawRow(none, kRuns), none.dest);
  // A 65-pixel opaque row (runs 0x7F 0x40 0xC0) is drawn completely.
  TestImage src(65, 1, MEMIMG_KIND_32BIT, 0, 0, 0, 1);
  src.Fill(0x00ABCDEF);
  src.BuildRunTable();
  const std::uint8_t* runs = src->runData;
  EXPECT_EQ((std::vector<int>{runs[0], runs[1], runs[2]}), (std::vector<int>{0x7F, 0x40, 0xC0}));
  TestImage dst(65, 1, MEMIMG_KIND_32BIT);
  BlitMemImgKernels(dst.get(), src.get(), 0, 0, 1, nullptr, MakeState(0, 255));
  for (int x = 0; x < 65; ++x) EXPECT_EQ(dst.Get(x, 0), 0x00ABCDEFu);

  // Mode 2: blue 255 + 1 stays 255 and carries into green's lowest bit; red 254 + 2
  // gives 255 and byte 3 1.
  RowDraw add = Draw(PIXEL_KIND_32, 2, 255);
  EXPECT_EQ(DrawPixel(add, 0x00000001, 0x000000FF, kRuns), 0x000001FFu);
  EXPECT_EQ(DrawPixel(add, 0x00020000, 0x00FE0000, kRuns), 0x01FF0000u);
  // With a ramp weight of 255 at p = 255: 255 x 255 x 255 >> 16 = 253.
  add.graph = {255};
  EXPECT_EQ(DrawPixel(add, 0x000000FF, 0, kRuns), 0x000000FDu);
  // Mode 4 without a blend graph: 255 becomes 254, and a 5-bit 31 becomes 30.
  EXPECT_EQ(DrawPixel(Draw(PIXEL_KIND_32, 4, 0), 0x00FFFFFF, 0x00FFFFFF, kRuns), 0x00FEFEFEu);
  EXPECT_EQ(DrawPixel(Draw(PIXEL_KIND_16, 4, 0), 0x001F, 0x001F, kRuns), 0x001Eu);

  // Skipped runs still advance the blend graph.
  RowDraw graph = Draw(PIXEL_KIND_32, 0, 255);
  graph.key = 1;
  graph.source = {1, 0x00FFFFFF, 1, 0x00FFFFFF};
  graph.dest = {0, 0, 0, 0};
  graph.graph = {10, 20, 30, 128};
  EXPECT_EQ(DrawRow(graph, kRuns), (std::vector<std::uint32_t>{0, 0x00131313, 0, 0x007F7F7F}));
}

TEST(BlitAtPosition, StaleOrDamagedRunTablesAreNotFollowed) {
  TestImage src(4, 2, MEMIMG_KIND_32BIT, 0, 0, 0, 1);
  src.Fill(0x00FFFFFF);
  src.BuildRunTable();
  // Drawing into the image invalidates its runs: the changed pixels then show.
  TestImage spot(1, 1, MEMIMG_KIND_32BIT);
  spot.Set(0, 0, 0);
  BlitMemImgKernels(src.get(), spot.get(), 1, 0, 0, nullptr, MakeState(0, 255));
  EXPECT_EQ(src->runDataValid, 0);
  src->transparentColor = 0;  // the changed pixel is now transparent
  TestImage dst(4, 2, MEMIMG_KIND_32BIT);
  dst.Fill(7);
  BlitMemImgKernels(dst.get(), src.get(), 0, 0, 1, nullptr, MakeState(0, 255));
  EXPECT_EQ(dst.Get(1, 0), 7u);
  // Runs that claim more pixels than a row holds stop at the row's end.
  std::fill(src->runData, src->runData + 9 * 2, 0x7F);
  src->runDataValid = 1;
  TestImage wide(8, 2, MEMIMG_KIND_32BIT);
  BlitMemImgKernels(wide.get(), src.get(), 0, 0, 1, nullptr, MakeState(0, 255));
  EXPECT_EQ(wide.Get(4, 0), 0u);
}

TEST(BlitAtPosition, PaletteCopyTakesAtMost256EntriesAndZeroesTheRest) {
  RowDraw palette = Draw(PIXEL_KIND_32, 0, 255, SOURCE_PALETTE);
  palette.source = {0, 1, 2, 255};
  palette.dest = {9, 9, 9, 9};
  palette.palette = std::vector<std::uint32_t>(256, 0x00112233);
  TestImage src(4, 1, MEMIMG_KIND_32BIT, 1);
  for (int x = 0; x < 4; ++x) src.Set(x, 0, palette.source[x]);
  for (int i = 0; i < 256; ++i) src.SetPaletteEntry(i, 0x00112233);
  for (int count : {2, 1000, -5}) {
    src->paletteCount = count;
    TestImage dst(4, 1, MEMIMG_KIND_32BIT);
    BlitMemImgKernels(dst.get(), src.get(), 0, 0, 0, nullptr, MakeState(0, 255));
    const std::uint32_t beyond = count > 2 ? 0x00112233 : 0;
    EXPECT_EQ(dst.Get(0, 0), count > 0 ? 0x00112233u : 0u) << count;
    EXPECT_EQ(dst.Get(2, 0), beyond) << count;
    EXPECT_EQ(dst.Get(3, 0), beyond) << count;
  }
}

// Images with valid run tables, drawn at their own size (at a position, and stretched
// to the same size) whole and in bands of rows that cut them: every band writes the
// whole draw's bytes, on the path the draw's own clip gives it, in the modes whose
// run-table forms differ from the per-pixel shortcuts and in a plain one.
TEST(BlitAtPosition, DrawsCutIntoBandsMatchTheWholeDraw) {
  EnsureBlendTables();
  struct Case {
    int alpha, mode, param, mmx;
    bool stretched;
  };
  const Case cases[] = {{0, 1, 128, 0, false}, {0, 2, 255, 1, false}, {0, 3, 255, 1, false}, {1, 2, 255, 0, false},
                        {0, 0, 0, 0, false},   {0, 1, 128, 0, true},  {0, 2, 255, 0, true}};
  std::mt19937 rng(17);
  for (const Case& c : cases) {
    TestImage src(13, 11, 1, 0, c.alpha, 0x00FF00FF, 1);
    FillRandom(src, rng);
    src.BuildRunTable();
    TestImage whole(40, 40, 1), banded(40, 40, 1);
    FillRandom(whole, rng);
    banded.SetBytes(whole.Bytes());
    const SoftDrawState state = MakeState(c.mode, c.param, 0xFFFFFF, c.mmx);
    const RECT rect{5, 7, 18, 18};
    const auto draw = [&](TestImage& dst, const RECT& band) {
      if (c.stretched) {
        BlitMemImgScaledInTile(dst.get(), src.get(), &rect, 1, nullptr, state, band);
      } else {
        BlitMemImgInTile(dst.get(), src.get(), rect.left, rect.top, 1, nullptr, state, band);
      }
    };
    draw(whole, RECT{0, 0, 40, 40});
    for (int top = 0; top < 40; top += 3) draw(banded, RECT{0, top, 40, top + 3});
    EXPECT_TRUE(SameValues(banded.Bytes(), whole.Bytes(), banded->pitch)) << "mode " << c.mode << " param " << c.param << " stretched " << c.stretched;
  }
}

}  // namespace
