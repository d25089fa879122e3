// The textured triangle and quadrilateral kernels: coverage (the worked examples,
// tie rules, negative coordinates, clipping), the shared diagonal drawn once, the
// per-pixel examples, mirrored quadrilaterals, and random triangles that must stay
// inside the clip rectangle and the source.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <utility>

#include "graphics/blend_tables.h"
#include "primitive_reference.h"
#include "softrender/triangle_kernels.h"

namespace {

std::set<Pixel> Covered(const std::map<Pixel, int>& counts) {
  std::set<Pixel> pixels;
  for (const auto& [pixel, count] : counts) pixels.insert(pixel);
  return pixels;
}

// The pixels a triangle draws from a source of the given size.
std::set<Pixel> TriangleCoverage(const QuadVertex* vertices, int srcWidth = 64, int srcHeight = 64) {
  auto src = CountingSource(srcWidth, srcHeight);
  TestImage canvas(40, 40, 1);
  BlitMemImgTriangleKernels(canvas.get(), src->get(), vertices, 0, nullptr, kCounting);
  return Covered(Counts(canvas));
}

TEST(TriangleKernel, IdentityQuadShowsTheImageOnceWithTheSharedDiagonalOfBothTriangles) {
  // W = 8, H = 6 at (2, 3).
  const QuadVertex quad[4] = {{2, 3, 0, 0}, {10, 3, 8, 0}, {2, 9, 0, 6}, {10, 9, 8, 6}};
  auto numbered = NumberedSource(8, 6);
  TestImage canvas(20, 20, 1);
  BlitMemImgQuadTriangles(canvas.get(), numbered->get(), quad, 0, nullptr, MakeState(0, 255));
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= 2 && x < 10 && y >= 3 && y < 9;
      EXPECT_EQ(canvas.Get(x, y), inside ? static_cast<std::uint32_t>((y - 3) * 256 + (x - 2) + 1) : 0u)
          << x << ", " << y;
    }
  }
  // Each triangle alone covers the diagonal pixels; the pair draws every pixel once.
  const std::set<Pixel> a = TriangleCoverage(quad, 8, 6), b = TriangleCoverage(quad + 1, 8, 6);
  std::set<Pixel> both;
  std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::inserter(both, both.begin()));
  EXPECT_EQ(both, (std::set<Pixel>{{9, 4}, {7, 5}, {6, 6}, {5, 7}, {3, 8}}));
  auto ones = CountingSource(8, 6);
  TestImage counts(20, 20, 1);
  BlitMemImgQuadTriangles(counts.get(), ones->get(), quad, 0, nullptr, kCounting);
  const auto drawn = Counts(counts);
  EXPECT_EQ(drawn.size(), 48u);
  for (const auto& [pixel, count] : drawn) EXPECT_EQ(count, 1) << pixel.first << ", " << pixel.second;
}

TEST(TriangleKernel, CoverageRules) {
  // Three vertices on one line, or a repeated vertex: nothing.
  const QuadVertex line[3] = {{1, 1, 0, 0}, {5, 5, 4, 4}, {9, 9, 8, 8}};
  const QuadVertex repeated[3] = {{1, 1, 0, 0}, {1, 1, 4, 0}, {9, 3, 8, 8}};
  EXPECT_TRUE(TriangleCoverage(line).empty());
  EXPECT_TRUE(TriangleCoverage(repeated).empty());
  // A flat top draws its top row, a flat bottom not its bottom row.
  const QuadVertex flatTop[3] = {{2, 2, 0, 0}, {12, 2, 10, 0}, {7, 8, 5, 6}};
  const QuadVertex flatBottom[3] = {{7, 2, 5, 0}, {2, 8, 0, 6}, {12, 8, 10, 6}};
  const auto rowsOf = [](const std::set<Pixel>& pixels) {
    std::set<int> rows;
    for (const auto& p : pixels) rows.insert(p.second);
    return rows;
  };
  EXPECT_EQ(rowsOf(TriangleCoverage(flatTop)), (std::set<int>{2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(rowsOf(TriangleCoverage(flatBottom)), (std::set<int>{2, 3, 4, 5, 6, 7}));
  // One row high: exactly row y.
  const QuadVertex oneRow[3] = {{3, 5, 0, 0}, {9, 5, 6, 0}, {6, 6, 3, 1}};
  EXPECT_EQ(rowsOf(TriangleCoverage(oneRow)), (std::set<int>{5}));
  // Coordinates outside -8192..8191 (destination or texture) are not drawn.
  const QuadVertex tooFarLeft[3] = {{-8193, 0, 0, 0}, {30, 0, 8, 0}, {30, 30, 8, 8}};
  const QuadVertex tooFarTexel[3] = {{0, 0, 0, 0}, {30, 0, 8192, 0}, {30, 30, 8, 8}};
  const QuadVertex farButInRange[3] = {{-8192, 0, 0, 0}, {30, 0, 8, 0}, {30, 30, 8, 8}};
  EXPECT_TRUE(TriangleCoverage(tooFarLeft).empty());
  EXPECT_TRUE(TriangleCoverage(tooFarTexel).empty());
  EXPECT_FALSE(TriangleCoverage(farButInRange).empty());
  // Vertex order and winding do not matter without ties.
  QuadVertex general[3] = {{3, 1, 0, 0}, {17, 6, 14, 2}, {6, 15, 1, 13}};
  const auto reference = TriangleCoverage(general);
  EXPECT_GT(reference.size(), 50u);
  std::sort(general, general + 3, [](const QuadVertex& p, const QuadVertex& q) { return p.x < q.x; });
  do {
    EXPECT_EQ(TriangleCoverage(general), reference);
  } while (std::next_permutation(general, general + 3, [](const QuadVertex& p, const QuadVertex& q) { return p.x < q.x; }));
}

// Every conversion of a destination position to whole pixels is a floor, so a
// triangle above row 0 covers the same pixels as the same triangle moved down, and
// its middle row is drawn once.
TEST(TriangleKernel, NegativeCoordinatesDoNotShiftTheTriangle) {
  const QuadVertex high[3] = {{5, -3, 0, 0}, {12, 5, 7, 8}, {0, 12, 0, 15}};
  const QuadVertex low[3] = {{5, 17, 0, 0}, {12, 25, 7, 8}, {0, 32, 0, 15}};
  auto src = CountingSource(64, 64);
  TestImage highCanvas(40, 40, 1), lowCanvas(40, 40, 1);
  BlitMemImgTriangleKernels(highCanvas.get(), src->get(), high, 0, nullptr, kCounting);
  BlitMemImgTriangleKernels(lowCanvas.get(), src->get(), low, 0, nullptr, kCounting);
  const auto highCounts = Counts(highCanvas);
  std::set<Pixel> shifted;
  for (const auto& [pixel, count] : Counts(lowCanvas)) {
    if (pixel.second - 20 >= 0) shifted.insert({pixel.first, pixel.second - 20});
  }
  EXPECT_EQ(Covered(highCounts), shifted);
  std::set<int> rows;
  for (const auto& [pixel, count] : highCounts) {
    rows.insert(pixel.second);
    EXPECT_EQ(count, 1);
  }
  EXPECT_EQ(*rows.begin(), 0);
  EXPECT_EQ(*rows.rbegin(), 11);
}

// Clipping cuts pixels away and changes nothing else: the texel of the first
// drawn column is the one the unclipped draw puts there.
TEST(TriangleKernel, ClippingKeepsEveryPixelsTexel) {
  auto src = NumberedSource(30, 30);
  const QuadVertex tri[3] = {{-4, 2, 0, 0}, {25, 7, 29, 3}, {3, 27, 2, 29}};
  TestImage whole(32, 32, 1), clipped(32, 32, 1);
  BlitMemImgTriangleKernels(whole.get(), src->get(), tri, 0, nullptr, MakeState(0, 255));
  const RECT clip{5, 6, 17, 20};
  BlitMemImgTriangleKernels(clipped.get(), src->get(), tri, 0, nullptr, MakeState(0, 255, 0xFFFFFF, 0, clip));
  int drawn = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
      EXPECT_EQ(clipped.Get(x, y), inside ? whole.Get(x, y) : 0u) << x << ", " << y;
      drawn += inside && clipped.Get(x, y) != 0;
    }
  }
  EXPECT_GT(drawn, 100);
}

// The per-pixel examples, each drawn as a 1 x 1 image at (1, 1).
TEST(TriangleKernel, PixelExamples) {
  struct Example {
    const char* what;
    int kind, palette, alpha;
    std::uint32_t key, texel, paletteEntry;
    int transparent, mode, param;
    std::uint32_t tint, before, after;
  };
  const Example examples[] = {
      {"palette key skips the index", 1, 1, 0, 7, 7, 0x123456, 1, 0, 255, 0xFFFFFF, 0xAA, 0xAA},
      {"same colour, other index is drawn", 1, 1, 0, 7, 8, 0x123456, 1, 0, 255, 0xFFFFFF, 0xAA, 0x123456},
      {"key off draws the index", 1, 1, 0, 7, 7, 0x123456, 0, 0, 255, 0xFFFFFF, 0xAA, 0x123456},
      {"16-bit palette multiply", 0, 1, 0, 0, 3, 0xFFFF, 0, 4, 0, 0xFFFFFF, 0xFFFF, 0xF7DE},
      {"tint 254 is a tint", 0, 1, 0, 0, 3, 0x001F, 0, 0, 255, 0xFFFFFE, 0, 0x001E},
      {"32-bit key", 1, 0, 0, 0x11223344, 0x11223344, 0, 1, 0, 255, 0xFFFFFF, 0xAA, 0xAA},
      {"32-bit key differs in byte 3", 1, 0, 0, 0x11223344, 0x12223344, 0, 1, 0, 255, 0xFFFFFF, 0xAA, 0x12223344},
      {"alpha source ignores the key", 1, 0, 1, 0x80223344, 0x80223344, 0, 1, 0, 255, 0xFFFFFF, 0, 0x00111922},
      {"alpha 0 skipped in mode 4", 1, 0, 1, 0, 0x00FFFFFF, 0, 1, 4, 255, 0xFFFFFF, 0x808080, 0x808080},
      {"alpha 0 with the flag clear, mode 0", 1, 0, 1, 0, 0x00FFFFFF, 0, 0, 0, 255, 0xFFFFFF, 0x808080, 0x808080},
      {"alpha 0 with the flag clear, mode 3", 1, 0, 1, 0, 0x00FFFFFF, 0, 0, 3, 255, 0xFFFFFF, 0, 0x00010100},
      {"alpha 0 with the flag clear, mode 4", 1, 0, 1, 0, 0x00FFFFFF, 0, 0, 4, 255, 0xFFFFFF, 0xFF808080, 0xFF000000},
      {"16-bit alpha 0, flag clear, mode 3", 0, 0, 1, 0, 0x0000FFFF, 0, 0, 3, 255, 0xFFFFFF, 0, 0x0800},
      {"16-bit alpha 0, flag clear, mode 4", 0, 0, 1, 0, 0x0000FFFF, 0, 0, 4, 255, 0xFFFFFF, 0xFFFF, 0},
      {"mode 2 byte 3 is the red carry", 1, 0, 0, 0, 0x00800000, 0, 0, 2, 255, 0xFFFFFF, 0x42800000, 0x01FF0000},
      {"mode 2 byte 3 without carry", 1, 0, 0, 0, 0x00010000, 0, 0, 2, 255, 0xFFFFFF, 0x42000000, 0x00010000},
      {"mode 3 byte 3 becomes 0", 1, 0, 0, 0, 0x00000001, 0, 0, 3, 255, 0xFFFFFF, 0x42000010, 0x0001010F},
      {"alpha before tint", 0, 0, 1, 0, 0x00C807E0, 0, 0, 2, 255, 0xFF64FF, 0, 0x0260},
      {"mode 3 at 0 draws nothing", 1, 1, 0, 0, 3, 0xFFFFFF, 0, 3, 0, 0xFFFFFF, 0x808080, 0x808080},
      {"mode 5 draws nothing", 1, 0, 0, 0, 0xFFFFFF, 0, 0, 5, 255, 0xFFFFFF, 0x808080, 0x808080},
      {"mode -1 draws nothing", 1, 0, 0, 0, 0xFFFFFF, 0, 0, -1, 255, 0xFFFFFF, 0x808080, 0x808080},
      {"mode 1 at 255 copies", 1, 0, 0, 0, 0x12345678, 0, 0, 1, 255, 0xFFFFFF, 0x808080, 0x12345678},
  };
  for (const Example& e : examples) {
    TestImage src(1, 1, e.kind, e.palette, e.alpha, e.key);
    src.Set(0, 0, e.texel);
    if (e.palette) src.SetPaletteEntry(static_cast<int>(e.texel), e.paletteEntry);
    TestImage dst(3, 3, e.kind);
    dst.Set(1, 1, e.before);
    const int corners[8] = {1, 1, 2, 1, 1, 2, 2, 2};
    BlitMemImgQuad(dst.get(), src.get(), corners, e.transparent, nullptr, MakeState(e.mode, e.param, e.tint));
    EXPECT_EQ(dst.Get(1, 1), e.after) << e.what;
  }
}

// A quadrilateral with its left and right corners exchanged draws the mirrored
// image, every column kept, one column to the right of the plain one.
TEST(TriangleKernel, MirroredQuadIsTheMirroredImage) {
  std::mt19937 rng(5);
  for (int kind = 0; kind <= 1; ++kind) {
    for (int form = 0; form <= 2; ++form) {
      auto src = RandomSource(rng, 9, 7, kind, form);
      TestImage dst(20, 20, kind);
      FillRandom(dst, rng);
      TestImage want(20, 20, kind);
      want.SetBytes(dst.Bytes());
      const SoftDrawState state = MakeState(1, 100);
      for (int sy = 0; sy < 7; ++sy) {
        for (int sx = 0; sx < 9; ++sx) {
          const int x = 4 + 9 - sx, y = 5 + sy;
          if (auto out = RefTexelOver(*src, nullptr, sx, sy, dst.Get(x, y), state, 1)) want.Set(x, y, *out);
        }
      }
      const int corners[8] = {13, 5, 4, 5, 13, 12, 4, 12};
      BlitMemImgQuad(dst.get(), src->get(), corners, 1, nullptr, state);
      EXPECT_EQ(dst.Bytes(), want.Bytes()) << "kind " << kind << " form " << form;
    }
  }
}

// Corners in outline order are not the image's: the two triangles then map the
// source's bottom-left corner to the bottom right.
TEST(TriangleKernel, OutlineOrderCornersAreNotTheImage) {
  auto src = NumberedSource(8, 8);
  TestImage dst(20, 20, 1);
  const int corners[8] = {2, 2, 10, 2, 10, 10, 2, 10};
  BlitMemImgQuad(dst.get(), src->get(), corners, 0, nullptr, MakeState(0, 255));
  EXPECT_EQ(dst.Get(2, 2), 1u);
  // Near (10, 10) the texel is near the source's bottom-left corner (0, 7).
  const std::uint32_t corner = dst.Get(9, 9);
  ASSERT_NE(corner, 0u);
  EXPECT_LE((corner - 1) % 256, 1u);
  EXPECT_GE((corner - 1) / 256, 6u);
}

TEST(TriangleKernel, QuadWithCollinearFirstCornersDrawsOnlyItsSecondTriangle) {
  // Corners 0, 1, 2 on one line: only triangle B (corners 1, 2, 3).
  const QuadVertex quad[4] = {{2, 2, 0, 0}, {6, 6, 8, 0}, {10, 10, 0, 8}, {14, 2, 8, 8}};
  auto src = CountingSource(16, 16);
  TestImage canvas(20, 20, 1);
  BlitMemImgQuadTriangles(canvas.get(), src->get(), quad, 0, nullptr, kCounting);
  EXPECT_EQ(Covered(Counts(canvas)), TriangleCoverage(quad + 1));
  EXPECT_FALSE(TriangleCoverage(quad + 1).empty());
}

// Random quadrilaterals, convex or not, crossing or not: no pixel twice.
TEST(TriangleKernel, QuadrilateralsDrawNoPixelTwice) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> coordinate(-5, 45);
  auto src = CountingSource(16, 16);
  for (int i = 0; i < 400; ++i) {
    QuadVertex quad[4] = {{0, 0, 0, 0}, {0, 0, 16, 0}, {0, 0, 0, 16}, {0, 0, 16, 16}};
    for (QuadVertex& corner : quad) {
      corner.x = coordinate(rng);
      corner.y = coordinate(rng);
    }
    TestImage canvas(40, 40, 1);
    BlitMemImgQuadTriangles(canvas.get(), src->get(), quad, 0, nullptr, kCounting);
    for (const auto& [pixel, count] : Counts(canvas)) ASSERT_EQ(count, 1) << "quad " << i;
  }
}

// Random triangles, partly outside the fixed-point range, over a canvas larger
// than the clip rectangle: writes stay inside the clip rectangle and the write box,
// texels come from inside the source, and each texel is the affine map's.
TEST(TriangleKernel, RandomTrianglesStayInsideAndSampleTheAffineMap) {
  std::mt19937 rng(9);
  std::uniform_int_distribution<int> near(-20, 60), far(-9000, 9000), texel(-10, 40);
  auto src = NumberedSource(23, 20);  // a padded row: a texel past the edge reads 0
  const RECT clip{3, 4, 37, 33};
  for (int i = 0; i < 3000; ++i) {
    QuadVertex tri[3];
    for (QuadVertex& v : tri) {
      const bool extreme = rng() % 16 == 0;
      v = QuadVertex{extreme ? far(rng) : near(rng), extreme ? far(rng) : near(rng), texel(rng), texel(rng)};
    }
    TestImage canvas(40, 40, 1);
    canvas.Fill(0xFFFFFFFF);
    BlitMemImgTriangleKernels(canvas.get(), src->get(), tri, 0, nullptr, MakeState(0, 255, 0xFFFFFF, 0, clip));
    const RECT box = GetTriangleWriteBox(tri, 3);
    // The affine map from destination positions to texels.
    const double x1 = tri[1].x - tri[0].x, y1 = tri[1].y - tri[0].y, x2 = tri[2].x - tri[0].x,
                 y2 = tri[2].y - tri[0].y;
    const double det = x1 * y2 - x2 * y1;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) {
        const std::uint32_t v = canvas.Get(x, y);
        if (v == 0xFFFFFFFF) continue;
        ASSERT_TRUE(x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom) << "triangle " << i;
        ASSERT_TRUE(x >= box.left && x < box.right && y >= box.top && y < box.bottom) << "triangle " << i;
        ASSERT_NE(v, 0u) << "a texel from outside the source, triangle " << i;
        const int sx = static_cast<int>((v - 1) % 256), sy = static_cast<int>((v - 1) / 256);
        if (std::fabs(det) < 40) continue;  // slivers: only the bounds above hold
        const double a = ((x - tri[0].x) * y2 - (y - tri[0].y) * x2) / det;
        const double b = ((y - tri[0].y) * x1 - (x - tri[0].x) * y1) / det;
        const double u = tri[0].u + a * (tri[1].u - tri[0].u) + b * (tri[2].u - tri[0].u);
        const double w = tri[0].v + a * (tri[1].v - tri[0].v) + b * (tri[2].v - tri[0].v);
        // Cut down to the texel, give or take the fixed-point steps from the vertices.
        double distance = 0;
        for (const QuadVertex& p : tri) distance = std::max(distance, std::fabs(x - p.x) + std::fabs(y - p.y));
        const double tolerance = 0.5 + 0.001 + distance / 65536;
        ASSERT_NEAR(sx + 0.5, u, tolerance) << "triangle " << i << " at " << x << ", " << y;
        ASSERT_NEAR(sy + 0.5, w, tolerance) << "triangle " << i << " at " << x << ", " << y;
      }
    }
  }
}

}  // namespace
