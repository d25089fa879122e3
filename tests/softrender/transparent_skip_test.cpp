// Draws with the transparent flag leave out the pixels over transparent texels: the
// targets must match drawing every pixel, byte for byte, across pixel kinds, source
// forms, blend modes, turns, scales, clip edges and blend graphs, for whole images and
// cells of a sheet; and a source whose pixels change between draws must not be drawn
// with what was known of the old ones.
#include <gtest/gtest.h>

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

struct SkipCase {
  int kind, palette, alpha;
};

constexpr int kSheetWidth = 48, kSheetHeight = 20, kCellWidth = 24;

// Sprites: random texels inside a disc per cell (off its centre by `shift`),
// transparent ones (alpha 0, or the transparent colour) around it.
void FillSprites(TestImage& sheet, std::mt19937& rng, int shift) {
  FillRandom(sheet, rng);
  const MEMIMG* img = sheet.get();
  for (int y = 0; y < img->height; ++y) {
    for (int x = 0; x < img->width; ++x) {
      const int dx = x % kCellWidth - 12 - shift, dy = y - 10;
      if (dx * dx + dy * dy < 40) continue;
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
  TestImage sheet(kSheetWidth, kSheetHeight, c.kind, c.palette, c.alpha, key);
  TestImage dst(64, 48, c.kind);
  TestImage graph(64, 64, MEMIMG_KIND_BYTE);
  FillSprites(sheet, rng, 0);
  FillRandom(dst, rng);
  FillRandom(graph, rng);
  MEMIMG cell{};
  InitMemImgView(&cell, sheet.get(), kCellWidth, 0, kCellWidth, kSheetHeight);
  for (int draw = 0; draw < 60; ++draw) {
    if (draw == 30) {
      FillSprites(sheet, rng, 5);
      InitMemImgView(&cell, sheet.get(), kCellWidth, 0, kCellWidth, kSheetHeight);
    }
    const MEMIMG* src = pick(2) == 0 ? sheet.get() : &cell;
    const RECT clip = pick(3) == 0 ? RECT{pick(20), pick(20), 30 + pick(40), 25 + pick(30)} : RECT{0, 0, 64, 48};
    const SoftDrawState state = MakeState(pick(5), pick(4) == 0 ? 255 : pick(256),
                                          pick(3) == 0 ? 0xFFFFFF & rng() : 0xFFFFFF, 0, clip);
    const int transparent = pick(4) != 0;
    const MEMIMG* blend = pick(5) == 0 ? graph.get() : nullptr;
    const int x = pick(80) - 8, y = pick(64) - 8;
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
  const SkipCase cases[] = {{MEMIMG_KIND_32BIT, 0, 0}, {MEMIMG_KIND_32BIT, 0, 1}, {MEMIMG_KIND_32BIT, 1, 0},
                            {MEMIMG_KIND_16BIT, 0, 0}, {MEMIMG_KIND_16BIT, 0, 1}, {MEMIMG_KIND_16BIT, 1, 0}};
  for (const SkipCase& c : cases) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
      EXPECT_TRUE(SameValues(DrawSequence(c, seed, false), DrawSequence(c, seed, true)))
          << "kind " << c.kind << " palette " << c.palette << " alpha " << c.alpha << " seed " << seed;
    }
  }
}

// A draw after a transfer (of the whole picture, some rows, a block) shows the new
// marks: nothing known of the old ones stays. 16-bit pixels are added in pairs.
TEST(TransparentTexels, ATransferChangesWhatTheNextDrawShows) {
  static constexpr int kWidth = 200, kHeight = 40;
  static constexpr std::uint32_t kKey = 0xFF00FF00u;
  auto marks = [](unsigned seed) {  // the key colour but for 4 x 4 marks
    std::vector<std::uint32_t> pixels(kWidth * kHeight, kKey);
    std::mt19937 rng(seed);
    for (int mark = 0; mark < 15; ++mark) {
      const int left = static_cast<int>(rng() % (kWidth - 4)), top = static_cast<int>(rng() % (kHeight - 4));
      for (int i = 0; i < 16; ++i) pixels[(top + i / 4) * kWidth + left + i % 4] = 0xFF000000u | rng();
    }
    return pixels;
  };
  struct Case {
    int kind, mode, param;
    RECT written;
  };
  const Case cases[] = {{MEMIMG_KIND_32BIT, 1, 200, {0, 0, kWidth, kHeight}}, {MEMIMG_KIND_32BIT, 1, 200, {0, 8, kWidth, 24}},
                        {MEMIMG_KIND_16BIT, 2, 255, {0, 0, kWidth, kHeight}}, {MEMIMG_KIND_16BIT, 2, 255, {30, 5, 120, 35}}};
  for (const Case& c : cases) {
    const RECT& written = c.written;
    std::vector<std::uint32_t> before = marks(1), after = marks(2);
    GraphImage picture{};
    BuildPixelFormatBody(&picture.format, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    picture.width = kWidth, picture.height = kHeight, picture.pitch = kWidth * 4, picture.pixels = before.data();
    TestImage src(kWidth, kHeight, c.kind, 0, 0, c.kind == MEMIMG_KIND_16BIT ? 0x07E0 : kKey, 1);
    ASSERT_EQ(TransferGraphImageToMemImg(&picture, nullptr, src.get(), 0, 0, kWidth, kHeight, 0, 0, DITHER_NONE), 0);
    auto drawClipped = [&](bool visitAll) {
      SetVisitsTransparentTexels(visitAll);
      TestImage dst(64, 48, c.kind);
      BlitMemImgKernels(dst.get(), src.get(), -41, 4, 1, nullptr, MakeState(c.mode, c.param));
      SetVisitsTransparentTexels(false);
      return dst.Bytes();
    };
    drawClipped(false);
    picture.pixels = after.data();
    const int w = written.right - written.left, h = written.bottom - written.top;
    ASSERT_EQ(TransferGraphImageToMemImg(&picture, nullptr, src.get(), written.left, written.top, w, h, written.left,
                                         written.top, DITHER_NONE),
              0);
    EXPECT_TRUE(SameValues(drawClipped(false), drawClipped(true)))
        << "kind " << c.kind << " rows " << written.top << "-" << written.bottom;
  }
}

}  // namespace
