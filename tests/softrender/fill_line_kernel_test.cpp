// Rectangle fills and lines: the worked examples, every blend mode, parameter and
// tint on 32-bit and RGB565 images against the pixel reference, clipping, and
// random lines that must stay near their segment.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "primitive_reference.h"
#include "softrender/fill_kernels.h"
#include "softrender/line_kernels.h"

namespace {

// The pixels a line draws, in the order of a walk from its start.
std::vector<Pixel> LinePixels(int x1, int y1, int x2, int y2, RECT clip = RECT{0, 0, 1 << 20, 1 << 20}) {
  TestImage canvas(120, 120, 1);
  DrawMemImgLineKernels(canvas.get(), x1, y1, x2, y2, 1, MakeState(2, 255, 0xFFFFFF, 0, clip));
  std::vector<Pixel> pixels;
  for (const auto& [pixel, count] : Counts(canvas)) {
    EXPECT_EQ(count, 1);
    pixels.push_back(pixel);
  }
  // Sorted by distance from the start point.
  std::sort(pixels.begin(), pixels.end(), [&](const Pixel& a, const Pixel& b) {
    return std::abs(a.first - x1) + std::abs(a.second - y1) < std::abs(b.first - x1) + std::abs(b.second - y1);
  });
  return pixels;
}

TEST(FillKernel, RectanglesAndCorners) {
  TestImage dst(30, 30, 1);
  const RECT rect{10, 10, 20, 15}, reversed{20, 15, 10, 10};
  FillMemImgRectKernels(dst.get(), &rect, 1, kCounting);
  FillMemImgRectKernels(dst.get(), &reversed, 1, kCounting);
  const auto counts = Counts(dst);
  EXPECT_EQ(counts.size(), 50u);
  for (const auto& [pixel, count] : counts) {
    EXPECT_TRUE(pixel.first >= 10 && pixel.first < 20 && pixel.second >= 10 && pixel.second < 15);
    EXPECT_EQ(count, 2);
  }
  // Empty rectangles and a rectangle outside the clip rectangle draw nothing.
  TestImage empty(30, 30, 1);
  const RECT flat{5, 5, 5, 9}, thin{5, 5, 9, 5};
  FillMemImgRectKernels(empty.get(), &flat, 1, kCounting);
  FillMemImgRectKernels(empty.get(), &thin, 1, kCounting);
  FillMemImgRectKernels(empty.get(), &rect, 1, MakeState(2, 255, 0xFFFFFF, 0, RECT{0, 0, 10, 30}));
  EXPECT_TRUE(Counts(empty).empty());
  // No rectangle: the whole image inside the clip rectangle.
  TestImage whole(30, 30, 1);
  FillMemImgRectKernels(whole.get(), nullptr, 1, MakeState(2, 255, 0xFFFFFF, 0, RECT{-5, 3, 12, 100}));
  EXPECT_EQ(Counts(whole).size(), 12u * 27u);
}

TEST(FillKernel, SixteenBitRowsOfAnyWidthStopAtTheirEdge) {
  for (const int width : {1, 2, 3}) {
    for (const int left : {2, 3}) {
      TestImage dst(9, 4, 0);
      dst.Fill(0x1234);
      const RECT rect{left, 1, left + width, 3};
      FillMemImgRectKernels(dst.get(), &rect, 0xFFFF, MakeState(0, 0));
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x) {
          const bool inside = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
          EXPECT_EQ(dst.Get(x, y), inside ? 0xFFFFu : 0x1234u) << width << " from " << left << " at " << x << ", " << y;
        }
    }
  }
}

TEST(FillKernel, WorkedExamples) {
  const RECT pixel{0, 0, 1, 1};
  struct Example {
    const char* what;
    int kind, mode, param;
    std::uint32_t tint, colour, before, after;
  };
  const Example examples[] = {
      {"white tint", 1, 0, 0, 0xFFFFFF, 0x00FFFFFF, 0, 0x00FFFFFF},
      {"tint 254 scales every channel", 1, 0, 0, 0xFFFFFE, 0x00FFFFFF, 0, 0x00FEFEFD},
      {"tint keeps the fourth byte", 1, 0, 0, 0xFFFF80, 0x12345678, 0, 0x1233553C},
      {"16-bit blend, white over black", 0, 1, 128, 0xFFFFFF, 0xFFFF, 0, 0x7BEF},
      {"16-bit blend, black over white", 0, 1, 128, 0xFFFFFF, 0x0000, 0xFFFF, 0x8410},
      {"16-bit multiply", 0, 4, 0, 0xFFFFFF, 0xFFFF, 0xFFFF, 0xF7DE},
      {"16-bit colour masked", 0, 0, 0, 0xFFFFFF, 0x1ABCD, 0, 0xABCD},
      {"16-bit add of a masked colour", 0, 2, 255, 0xFFFFFF, 0xFFFF0001, 0x0001, 0x0002},
  };
  for (const Example& e : examples) {
    TestImage dst(1, 1, e.kind);
    dst.Set(0, 0, e.before);
    FillMemImgRectKernels(dst.get(), &pixel, e.colour, MakeState(e.mode, e.param, e.tint));
    EXPECT_EQ(dst.Get(0, 0), e.after) << e.what;
  }
  // A fill marks the image's run table and premultiplied copy out of date.
  TestImage marked(4, 4, 1);
  marked->runDataValid = 1;
  marked->premultipliedValid = 1;
  FillMemImgRectKernels(marked.get(), nullptr, 0, MakeState(0, 255));
  EXPECT_EQ(marked->runDataValid, 0);
  EXPECT_EQ(marked->premultipliedValid, 0);
  // Images with a palette or alpha are left alone.
  TestImage palette(4, 4, 1, 1), alpha(4, 4, 0, 0, 1);
  FillMemImgRectKernels(palette.get(), nullptr, 0xFF, MakeState(0, 255));
  FillMemImgRectKernels(alpha.get(), nullptr, 0xFFFF, MakeState(0, 255));
  EXPECT_EQ(palette.Bytes(), TestImage(4, 4, 1, 1).Bytes());
  EXPECT_EQ(alpha.Bytes(), TestImage(4, 4, 0, 0, 1).Bytes());
}

struct ModeCase {
  int mode, param;
};
const ModeCase kModes[] = {{0, 0},   {0, 255}, {1, 0},   {1, 1},   {1, 128}, {1, 254}, {1, 255}, {2, 0},
                           {2, 1},   {2, 200}, {2, 255}, {3, 0},   {3, 77},  {3, 255}, {4, 0},   {4, 255},
                           {5, 255}, {-1, 255}};

// Every mode, parameter and tint on both pixel kinds: the pixels inside the
// clipped rectangle follow the reference, the others stay.
TEST(FillKernel, EveryModeOnBothPixelKinds) {
  std::mt19937 rng(4);
  for (int kind = 0; kind <= 1; ++kind) {
    for (const ModeCase& m : kModes) {
      for (const std::uint32_t tint : {0xFFFFFFu, 0xFFFFFEu, 0x4080C0u, 0x000000u}) {
        TestImage dst(16, 12, kind);
        FillRandom(dst, rng);
        TestImage before(16, 12, kind);
        before.SetBytes(dst.Bytes());
        const std::uint32_t colour = kind == 1 ? static_cast<std::uint32_t>(rng()) : rng() & 0xFFFF;
        const RECT clip{1, 2, 14, 11}, rect{12, 9, 3, 0};
        const SoftDrawState state = MakeState(m.mode, m.param, tint, 1, clip);
        FillMemImgRectKernels(dst.get(), &rect, colour, state);
        for (int y = 0; y < 12; ++y) {
          for (int x = 0; x < 16; ++x) {
            const bool inside = x >= 3 && x < 12 && y >= 2 && y < 9;
            const auto out = RefColourOver(kind, colour, before.Get(x, y), state);
            ASSERT_EQ(dst.Get(x, y), inside && out ? *out : before.Get(x, y))
                << "kind " << kind << " mode " << m.mode << " param " << m.param << " tint " << tint << " at " << x
                << ", " << y;
          }
        }
      }
    }
  }
}

TEST(LineKernel, StepsAndEnds) {
  EXPECT_EQ(LinePixels(0, 0, 3, 1), (std::vector<Pixel>{{0, 0}, {1, 0}, {2, 0}}));
  EXPECT_EQ(LinePixels(3, 1, 0, 0), (std::vector<Pixel>{{3, 1}, {2, 1}, {1, 1}}));
  EXPECT_EQ(LinePixels(0, 0, 4, 2), (std::vector<Pixel>{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
  EXPECT_EQ(LinePixels(0, 0, 2, 2), (std::vector<Pixel>{{0, 0}, {1, 1}}));
  EXPECT_EQ(LinePixels(5, 5, 6, 5), (std::vector<Pixel>{{5, 5}}));
  EXPECT_TRUE(LinePixels(5, 5, 5, 5).empty());
  EXPECT_EQ(LinePixels(0, 0, 10, 3), (std::vector<Pixel>{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 1}, {5, 1}, {6, 1},
                                                         {7, 2}, {8, 2}, {9, 2}}));
}

TEST(LineKernel, ClippedLines) {
  const RECT hundred{0, 0, 100, 100}, ten{0, 0, 10, 10};
  std::vector<Pixel> right, left;
  for (int x = 90; x < 100; ++x) right.push_back({x, 10});
  for (int x = 0; x < 10; ++x) left.push_back({x, 10});
  EXPECT_EQ(LinePixels(90, 10, 200, 10, hundred), right);
  EXPECT_EQ(LinePixels(-50, 10, 10, 10, hundred), left);
  // The end point moves to one pixel outside the clip rectangle and stays out.
  EXPECT_EQ(LinePixels(5, 5, -5, -5, ten), (std::vector<Pixel>{{5, 5}, {4, 4}, {3, 3}, {2, 2}, {1, 1}, {0, 0}}));
  EXPECT_EQ(LinePixels(-5, -5, 5, 5, ten), (std::vector<Pixel>{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}}));
  // The start point clamped to x = 11, its row taken from the line: trunc(4.08).
  EXPECT_EQ(LinePixels(18, 3, 5, 5, RECT{2, 2, 12, 7}),
            (std::vector<Pixel>{{11, 4}, {10, 4}, {9, 4}, {8, 4}, {7, 4}, {6, 4}}));
  // Outside, touching only with the end point, or passing a corner outside: nothing.
  EXPECT_TRUE(LinePixels(-5, 0, 0, 0, ten).empty());
  EXPECT_TRUE(LinePixels(20, 3, 30, 40, ten).empty());
  EXPECT_TRUE(LinePixels(-5, 8, 8, 21, ten).empty());
  EXPECT_TRUE(LinePixels(14, -3, 3, -20, ten).empty());
}

TEST(LineKernel, RectangleOutlines) {
  // Each border pixel of (10, 10, 20, 15) once: 26 pixels, corners included.
  LineRec lines[4];
  MakeRectOutlineLines(10, 10, 20, 15, 1, 255, lines);
  TestImage canvas(30, 30, 1);
  DrawLineListMemImg(canvas.get(), lines, 4, kCounting);
  auto counts = Counts(canvas);
  EXPECT_EQ(counts.size(), 26u);
  for (const auto& [pixel, count] : counts) {
    EXPECT_EQ(count, 1);
    EXPECT_TRUE(pixel.first == 10 || pixel.first == 19 || pixel.second == 10 || pixel.second == 14);
  }
  // One column wide: the right and left edges both cover rows 11..13.
  MakeRectOutlineLines(10, 10, 11, 15, 1, 255, lines);
  TestImage narrow(30, 30, 1);
  DrawLineListMemImg(narrow.get(), lines, 4, kCounting);
  counts = Counts(narrow);
  EXPECT_EQ(counts, (std::map<Pixel, int>{{{10, 10}, 1}, {{10, 11}, 2}, {{10, 12}, 2}, {{10, 13}, 2}, {{10, 14}, 1}}));
  // Reversed corners are taken as given.
  MakeRectOutlineLines(20, 15, 10, 10, 7, 99, lines);
  const int expected[4][4] = {{20, 15, 9, 15}, {9, 15, 9, 9}, {9, 9, 20, 9}, {20, 9, 20, 15}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(lines[i].x1, expected[i][0]);
    EXPECT_EQ(lines[i].y1, expected[i][1]);
    EXPECT_EQ(lines[i].x2, expected[i][2]);
    EXPECT_EQ(lines[i].y2, expected[i][3]);
    EXPECT_EQ(lines[i].colour, 7u);
    EXPECT_EQ(lines[i].blendParam, 99);
  }
  // A count of 0 or less draws nothing.
  TestImage none(30, 30, 1);
  DrawLineListMemImg(none.get(), lines, 0, kCounting);
  DrawLineListMemImg(none.get(), lines, -3, kCounting);
  EXPECT_TRUE(Counts(none).empty());
}

// Every mode on both pixel kinds along one line, and images with alpha: drawn
// into (a 16-bit one keeps its alpha bytes); palette images are not.
TEST(LineKernel, EveryModeOnBothPixelKindsAndOnAlphaImages) {
  std::mt19937 rng(6);
  for (int kind = 0; kind <= 1; ++kind) {
    for (int alpha = 0; alpha <= 1; ++alpha) {
      for (const ModeCase& m : kModes) {
        TestImage dst(12, 8, kind, 0, alpha);
        FillRandom(dst, rng);
        TestImage before(12, 8, kind, 0, alpha);
        before.SetBytes(dst.Bytes());
        const std::uint32_t colour = kind == 1 ? static_cast<std::uint32_t>(rng()) : rng() & 0xFFFF;
        const SoftDrawState state = MakeState(m.mode, m.param, 0xC0FF80);
        DrawMemImgLineKernels(dst.get(), 1, 1, 11, 6, colour, state);
        const std::vector<Pixel> path = {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {6, 3}, {7, 4}, {8, 4}, {9, 5}, {10, 5}};
        for (int y = 0; y < 8; ++y) {
          for (int x = 0; x < 12; ++x) {
            const std::uint32_t old = before.Get(x, y);
            const std::uint32_t colourBits = kind == 0 ? old & 0xFFFF : old;
            const auto out = RefColourOver(kind, colour, colourBits, state);
            std::uint32_t want = old;
            if (out && std::find(path.begin(), path.end(), Pixel{x, y}) != path.end()) {
              want = kind == 0 ? (old & 0xFFFF0000u) | *out : *out;
            }
            ASSERT_EQ(dst.Get(x, y), want) << "kind " << kind << " alpha " << alpha << " mode " << m.mode << " param "
                                           << m.param << " at " << x << ", " << y;
          }
        }
      }
    }
  }
  TestImage palette(8, 8, 1, 1);
  DrawMemImgLineKernels(palette.get(), 0, 0, 7, 7, 0xFF, MakeState(0, 255));
  EXPECT_EQ(palette.Bytes(), TestImage(8, 8, 1, 1).Bytes());
}

// Random lines against a clip rectangle inside a larger image: pixels stay inside
// the clip rectangle, near the segment, one per step along the longer axis; a line
// whose segment misses the clip rectangle's pixels draws nothing.
TEST(LineKernel, RandomLinesStayInsideTheClipAndNearTheSegment) {
  std::mt19937 rng(12);
  std::uniform_int_distribution<int> near(-15, 45), far(-100000, 100000);
  const RECT clip{5, 7, 25, 22};
  for (int i = 0; i < 20000; ++i) {
    const bool extreme = i % 10 == 0;
    const int x1 = extreme ? far(rng) : near(rng), y1 = extreme ? far(rng) : near(rng);
    const int x2 = near(rng), y2 = near(rng);
    TestImage canvas(32, 32, 1);
    DrawMemImgLineKernels(canvas.get(), x1, y1, x2, y2, 1, MakeState(2, 255, 0xFFFFFF, 0, clip));
    const auto counts = Counts(canvas);
    const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
    const double length = std::hypot(dx, dy);
    // One pixel per step of the longer axis; the cut-down clamped end points may add one.
    ASSERT_LE(counts.size(), static_cast<std::size_t>(std::max(std::fabs(dx), std::fabs(dy))) + 1);
    for (const auto& [pixel, count] : counts) {
      ASSERT_EQ(count, 1);
      ASSERT_TRUE(pixel.first >= clip.left && pixel.first < clip.right && pixel.second >= clip.top &&
                  pixel.second < clip.bottom);
      // Distance from the pixel to the segment: the clamped end points are cut down
      // to whole pixels and the walk restarts there, so up to two pixels.
      const double t = std::clamp(((pixel.first - x1) * dx + (pixel.second - y1) * dy) / (length * length), 0.0, 1.0);
      const double distance = std::hypot(x1 + t * dx - pixel.first, y1 + t * dy - pixel.second);
      ASSERT_LT(distance, 2.0) << "line " << i << ": (" << x1 << ", " << y1 << ") to (" << x2 << ", " << y2
                               << ") draws (" << pixel.first << ", " << pixel.second << ")";
    }
  }
}

}  // namespace
