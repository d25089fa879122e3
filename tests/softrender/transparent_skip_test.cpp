// Draws with the transparent flag leave out the pixels over transparent texels: the
// targets must match drawing every pixel, byte for byte, across pixel kinds, source
// forms, blend modes, turns, scales, clip edges and blend graphs, for whole images and
// cells of a sheet; and a source whose pixels change between draws must not be drawn
// with what was known of the old ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "../support/same_values.h"
#include "soft_test_images.h"
#include "graphics/pixel_convert_blt.h"
#include "softrender/blit_kernels.h"
#include "softrender/rotated_kernels.h"
#include "softrender/shown_texels.h"
#include "softrender/triangle_kernels.h"

namespace {

// A sheet of two cells: small ones, or wide ones whose rows show two stretches far
// apart.
struct SheetSize {
  int cellWidth, height;
};
constexpr SheetSize kSmallCells{24, 20}, kWideCells{80, 44};

struct SkipCase {
  int kind, palette, alpha;
  SheetSize size;
};

// Sprites: random texels inside an ellipse 12 texels wide per cell (off its centre by
// `shift`), transparent ones (alpha 0, or the transparent colour) around it.
void FillSprites(TestImage& sheet, std::mt19937& rng, int cellWidth, int shift) {
  FillRandom(sheet, rng);
  const MEMIMG* img = sheet.get();
  const int rx = 6, ry = img->height / 2 - 2;
  for (int y = 0; y < img->height; ++y) {
    for (int x = 0; x < img->width; ++x) {
      const int dx = x % cellWidth - 12 - shift, dy = y - img->height / 2;
      if (dx * dx * ry * ry + dy * dy * rx * rx < rx * rx * ry * ry) continue;
      std::uint32_t v = sheet.Get(x, y);
      if (img->alphaFlag) {
        v &= img->kind == MEMIMG_KIND_16BIT ? 0xFF00FFFFu : 0x00FFFFFFu;
      } else {
        v = img->transparentColor;
      }
      sheet.Set(x, y, v);
    }
  }
}

// One random sequence of draws at a position, turned and scaled, and on quadrilaterals;
// the target's bytes.
std::vector<std::uint8_t> DrawSequence(const SkipCase& c, unsigned seed, bool visitAll) {
  SetVisitsTransparentTexels(visitAll);
  std::mt19937 rng(seed);
  auto pick = [&rng](int count) { return static_cast<int>(rng() % count); };
  const std::uint32_t key = c.palette ? 3 : (c.kind == MEMIMG_KIND_16BIT ? 0x07E0 : 0xFF00FF);
  const int cellWidth = c.size.cellWidth, sheetHeight = c.size.height;
  TestImage sheet(2 * cellWidth, sheetHeight, c.kind, c.palette, c.alpha, key);
  // 64 x 48 for the small cells.
  const int dstWidth = 2 * cellWidth + 16, dstHeight = sheetHeight + 28;
  TestImage dst(dstWidth, dstHeight, c.kind);
  TestImage graph(dstWidth, dstHeight + 16, MEMIMG_KIND_BYTE);
  FillSprites(sheet, rng, cellWidth, 0);
  FillRandom(dst, rng);
  FillRandom(graph, rng);
  MEMIMG cell{};
  InitMemImgView(&cell, sheet.get(), cellWidth, 0, cellWidth, sheetHeight);
  for (int draw = 0; draw < 60; ++draw) {
    if (draw == 30) {
      FillSprites(sheet, rng, cellWidth, 5);
      InitMemImgView(&cell, sheet.get(), cellWidth, 0, cellWidth, sheetHeight);
    }
    const MEMIMG* src = pick(2) == 0 ? sheet.get() : &cell;
    const RECT clip = pick(3) == 0 ? RECT{pick(20), pick(20), dstWidth - 34 + pick(40), dstHeight - 23 + pick(30)}
                                   : RECT{0, 0, dstWidth, dstHeight};
    const SoftDrawState state = MakeState(pick(5), pick(4) == 0 ? 255 : pick(256),
                                          pick(3) == 0 ? 0xFFFFFF & rng() : 0xFFFFFF, 0, clip);
    const int transparent = pick(4) != 0;
    const MEMIMG* blend = pick(5) == 0 ? graph.get() : nullptr;
    const int x = pick(dstWidth + 16) - 8, y = pick(dstHeight + 16) - 8;
    const int shape = pick(3);
    if (shape == 0) {
      BlitMemImgKernels(dst.get(), src, x, y, transparent, blend, state);
    } else if (shape == 1) {
      static const float kScales[] = {1.0f, 1.5f, 0.75f, 2.25f};
      const float angle = pick(3) == 0 ? 0.0f : static_cast<float>(pick(628)) * 0.01f;
      BlitMemImgRotatedKernels(dst.get(), src, x, y, angle, kScales[pick(4)], transparent, pick(2), blend, state);
    } else {
      const int w = 8 + pick(40), h = 6 + pick(30), lean = pick(9) - 4;
      const QuadVertex corners[4] = {{x, y, 0, 0},
                                     {x + w, y + lean, src->width, 0},
                                     {x - lean, y + h, 0, src->height},
                                     {x + w - lean, y + h + lean, src->width, src->height}};
      BlitMemImgQuadTriangles(dst.get(), src, corners, transparent, blend, state);
    }
  }
  SetVisitsTransparentTexels(false);
  return dst.Bytes();
}

TEST(TransparentTexels, SkippingThemChangesNoByte) {
  for (const SheetSize size : {kSmallCells, kWideCells}) {
    const SkipCase cases[] = {{MEMIMG_KIND_32BIT, 0, 0, size}, {MEMIMG_KIND_32BIT, 0, 1, size},
                              {MEMIMG_KIND_32BIT, 1, 0, size}, {MEMIMG_KIND_16BIT, 0, 0, size},
                              {MEMIMG_KIND_16BIT, 0, 1, size}, {MEMIMG_KIND_16BIT, 1, 0, size}};
    for (const SkipCase& c : cases) {
      for (unsigned seed = 1; seed <= 4; ++seed) {
        EXPECT_TRUE(SameValues(DrawSequence(c, seed, false), DrawSequence(c, seed, true)))
            << "kind " << c.kind << " palette " << c.palette << " alpha " << c.alpha << " cells "
            << c.size.cellWidth << " seed " << seed;
      }
    }
  }
}

// A sparse picture: the transparent colour but for three marks per row band, placed by
// `seed`, as a 32-bit GraphImage.
std::vector<std::uint32_t> SparseMarks(int width, int height, std::uint32_t key, unsigned seed) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, key);
  std::mt19937 rng(seed);
  for (int band = 0; band < height; band += 8) {
    for (int mark = 0; mark < 3; ++mark) {
      const int left = static_cast<int>(rng() % (width - 4)), top = band + static_cast<int>(rng() % 4);
      for (int y = top; y < std::min(top + 4, height); ++y) {
        for (int x = left; x < left + 4; ++x) pixels[static_cast<std::size_t>(y) * width + x] = 0xFF000000u | rng();
      }
    }
  }
  return pixels;
}

struct TransferCase {
  const char* name;
  RECT written;  // of the picture, loaded at the same place
};

}  // namespace

// What is known of a picture's shown texels goes with its content: after a transfer
// brings new marks, a draw shows them, wherever the transfer wrote.
TEST(TransparentTexels, ATransferChangesWhatTheNextDrawShows) {
  constexpr int kWidth = 200, kHeight = 40;
  constexpr std::uint32_t kKey = 0xFF00FF00u;
  const TransferCase cases[] = {{"whole picture", {0, 0, kWidth, kHeight}},
                                {"some rows", {0, 8, kWidth, 24}},
                                {"a block inside", {30, 5, 120, 35}}};
  for (const TransferCase& c : cases) {
    std::vector<std::uint32_t> before = SparseMarks(kWidth, kHeight, kKey, 1), after = SparseMarks(kWidth, kHeight, kKey, 2);
    GraphImage picture{};
    BuildPixelFormatBody(&picture.format, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    picture.width = kWidth, picture.height = kHeight, picture.pitch = kWidth * 4;
    TestImage src(kWidth, kHeight, MEMIMG_KIND_32BIT, 0, 0, kKey, 1);
    picture.pixels = before.data();
    ASSERT_EQ(TransferGraphImageToMemImg(&picture, nullptr, src.get(), 0, 0, kWidth, kHeight, 0, 0, DITHER_NONE), 0);

    const SoftDrawState state = MakeState(1, 200);
    auto drawClipped = [&](bool visitAll) {
      SetVisitsTransparentTexels(visitAll);
      TestImage dst(64, 48, MEMIMG_KIND_32BIT);
      dst.Fill(0x00404040u);
      BlitMemImgKernels(dst.get(), src.get(), -40, 4, 1, nullptr, state);
      SetVisitsTransparentTexels(false);
      return dst.Bytes();
    };
    drawClipped(false);  // what is known of the old marks
    picture.pixels = after.data();
    const RECT& w = c.written;
    ASSERT_EQ(TransferGraphImageToMemImg(&picture, nullptr, src.get(), w.left, w.top, w.right - w.left,
                                         w.bottom - w.top, w.left, w.top, DITHER_NONE),
              0);
    EXPECT_TRUE(SameValues(drawClipped(false), drawClipped(true))) << c.name;
  }
}
