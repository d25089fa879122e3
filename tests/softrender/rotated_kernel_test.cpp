// The rotated-image kernel: the worked examples, exact quarter turns (plain and
// mirrored) against the plainly turned picture, the sampling of other angles and
// scales against exact geometry, seams, refusals and clipping.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "../support/same_values.h"
#include "graphics/blend_tables.h"
#include "primitive_reference.h"
#include "softrender/rotated_kernels.h"

namespace {

const float kQuarterTurns[4] = {0.0f, static_cast<float>(M_PI / 2), static_cast<float>(M_PI),
                                static_cast<float>(3 * M_PI / 2)};

// The rectangle of pixels that differ from 0, as left, top, right, bottom (exclusive).
RECT DrawnBox(const TestImage& dst) {
  RECT box{dst->width, dst->height, -1, -1};
  for (int y = 0; y < dst->height; ++y)
    for (int x = 0; x < dst->width; ++x)
      if (dst.Get(x, y) != 0) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

// A rectangle's edges, left, top, right, bottom, as one comparable value.
std::tuple<LONG, LONG, LONG, LONG> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// NumberedSource's texel at column x, row y.
constexpr std::uint32_t Numbered(int x, int y) { return static_cast<std::uint32_t>(y * 256 + x + 1); }

struct WorkedExample {
  const char* name;
  int width, height, size, x, y, turn, mirror;
  RECT drawn;  // the pixels drawn
  RECT box;    // the draw box, where known (else empty)
  struct Shown {
    int x, y;
    std::uint32_t texel;
  } shown[4];  // pixels and the texels they show (texel 0: none)
};

const WorkedExample kWorkedExamples[] = {
    {"10 x 10 at 100: box 93 to 109", 10, 10, 200, 100, 100, 0, 0, {95, 95, 105, 105}, {93, 93, 109, 109}, {}},
    // The box follows the algorithm: corners 47.5 and 52.5 cut to 47 and 52, then -2 and +4.
    {"5 x 5 at 50: texel 2 on 50", 5, 5, 100, 50, 50, 0, 0, {48, 48, 53, 53}, {45, 45, 56, 56},
     {{50, 50, Numbered(2, 2)}}},
    {"4 x 2 a quarter turned: top-left texel at the top right", 4, 2, 30, 10, 10, 1, 0, {10, 8, 12, 12}, {},
     {{11, 8, Numbered(0, 0)}, {10, 8, Numbered(0, 1)}, {11, 11, Numbered(3, 0)}, {10, 11, Numbered(3, 1)}}},
    {"10 x 4 mirrored: texel 0 at 105", 10, 4, 200, 100, 100, 0, 1, {96, 98, 106, 102}, {},
     {{105, 98, Numbered(0, 0)}}},
};

TEST(RotatedKernel, WorkedExamples) {
  for (const WorkedExample& example : kWorkedExamples) {
    SCOPED_TRACE(example.name);
    auto src = NumberedSource(example.width, example.height);
    TestImage dst(example.size, example.size, 1);
    ASSERT_EQ(BlitMemImgRotatedKernels(dst.get(), src->get(), example.x, example.y, kQuarterTurns[example.turn], 1.0f,
                                       0, example.mirror, nullptr, MakeState(0, 255)),
              0);
    EXPECT_EQ(Edges(DrawnBox(dst)), Edges(example.drawn)) << "drawn";
    for (const auto& shown : example.shown) {
      EXPECT_TRUE(shown.texel == 0 || dst.Get(shown.x, shown.y) == shown.texel)
          << shown.x << ", " << shown.y << " shows " << dst.Get(shown.x, shown.y);
    }
    if (example.box.right == 0) continue;
    RECT box;
    ASSERT_EQ(GetRotatedDrawBox(example.x, example.y, kQuarterTurns[example.turn], 1.0f, example.width, example.height,
                                &box),
              0);
    EXPECT_EQ(Edges(box), Edges(example.box)) << "draw box";
  }
}

struct TurnDraw {
  int mode, param;
  std::uint32_t tint;
  int transparent;
};

// Every blend mode, the parameter gates (modes 1-3 at 0 draw nothing, mode 4 at 0
// multiplies, mode 1 at 255 copies), modes outside 0..4, tints.
const TurnDraw kTurnDraws[] = {{0, 255, 0xFFFFFF, 1}, {0, 0, 0xFFFFFF, 0}, {1, 128, 0xFFFFFF, 1},
                               {2, 200, 0x80FF40, 1}, {3, 255, 0xFFFFFF, 0}, {4, 9, 0xFFFFFF, 1},
                               {1, 0, 0xFFFFFF, 1},   {2, 0, 0xFFFFFF, 0},   {3, 0, 0x123456, 1},
                               {4, 0, 0xFFFFFF, 0},   {1, 255, 0xFFFFFE, 1}, {5, 255, 0xFFFFFF, 0},
                               {-1, 255, 0xFFFFFF, 1}, {2, 160, 0xFFFFFF, 1}, {2, 255, 0xFFFFFF, 0},
                               {3, 77, 0xFFFFFF, 1},  {1, 1, 0xFFFFFF, 0},   {4, 255, 0xFFFFFF, 0}};
const int kTurnSizes[][2] = {{8, 6}, {7, 5}, {6, 9}, {1, 1}, {2, 3}, {21, 11}};

// Draws random images of every pixel kind, source form and size in every quarter
// turn at (16, 15), now and then through a blend graph, and compares the result with want(), which places each texel:
// it sets *x, *y to the destination of texel (sx, sy), or returns false when the
// texel is not drawn.
template <class Placement>
void CheckQuarterTurns(int mirror, Placement place) {
  std::mt19937 rng(11 + mirror);
  int cases = 0;
  for (int kind = 0; kind <= 1; ++kind) {
    for (int form = 0; form <= 2; ++form) {
      for (const auto& size : kTurnSizes) {
        auto src = RandomSource(rng, size[0], size[1], kind, form);
        for (int turn = 0; turn < 4; ++turn) {
          const TurnDraw& d = kTurnDraws[cases++ % std::size(kTurnDraws)];
          // Every third draw through a blend graph, smaller or larger than the source.
          std::unique_ptr<TestImage> graph;
          if (cases % 3 == 0) {
            graph = std::make_unique<TestImage>(std::max(1, size[0] + static_cast<int>(rng() % 5) - 2),
                                                std::max(1, size[1] + static_cast<int>(rng() % 5) - 2),
                                                MEMIMG_KIND_BYTE);
            FillRandom(*graph, rng);
            for (auto& weight : BlendGraphRamp) weight = static_cast<std::uint8_t>(rng());
          }
          const SoftDrawState state = MakeState(d.mode, d.param, d.tint);
          TestImage dst(32, 32, kind);
          FillRandom(dst, rng);
          TestImage want(32, 32, kind);
          want.SetBytes(dst.Bytes());
          for (int sy = 0; sy < size[1]; ++sy) {
            for (int sx = 0; sx < size[0]; ++sx) {
              int x, y;
              if (!place(size[0], size[1], turn, sx, sy, &x, &y)) continue;
              const auto out = RefTexelOver(*src, graph.get(), sx, sy, dst.Get(x, y), state, d.transparent);
              if (out) want.Set(x, y, *out);
            }
          }
          ASSERT_EQ(BlitMemImgRotatedKernels(dst.get(), src->get(), 16, 15, kQuarterTurns[turn], 1.0f, d.transparent,
                                             mirror, graph ? graph->get() : nullptr, state),
                    0);
          ASSERT_TRUE(SameValues(dst.Bytes(), want.Bytes(), dst->pitch))
              << "kind " << kind << " form " << form << " size " << size[0] << "x" << size[1] << " turn " << turn;
        }
      }
    }
  }
}

// Quarter turns are exact: the drawn image is the plainly turned picture with the
// source's centre texel (width / 2, height / 2) on (x, y), pixel for pixel.
TEST(RotatedKernel, QuarterTurnsEqualTheTurnedPicture) {
  CheckQuarterTurns(0, [](int w, int h, int turn, int sx, int sy, int* x, int* y) {
    int tx, ty, cx, cy;
    TurnTexel(w, h, turn, false, sx, sy, &tx, &ty);
    TurnTexel(w, h, turn, false, w / 2, h / 2, &cx, &cy);
    *x = 16 + tx - cx;
    *y = 15 + ty - cy;
    return true;
  });
}

// A mirrored draw is the quadrilateral of the turned corners, whole pixels cut
// down, with the source's top-left corner on the turned top-right corner: the
// plainly mirrored and turned picture with texel (0, 0) there. Quadrilaterals draw
// both edge columns but not the bottom row, so every texel column is kept, and a
// texel row that the turn puts on the bottom edge is not drawn.
TEST(RotatedKernel, MirroredQuarterTurnsEqualTheMirroredPicture) {
  CheckQuarterTurns(1, [](int w, int h, int turn, int sx, int sy, int* x, int* y) {
    // The image's top-right corner, (w / 2, -h / 2) from the centre, turned clockwise.
    double cornerX = w / 2.0, cornerY = -h / 2.0, boxBottom = h / 2.0;
    for (int i = 0; i < turn; ++i) {
      const double turnedX = -cornerY;
      cornerY = cornerX;
      cornerX = turnedX;
    }
    if (turn % 2 == 1) boxBottom = w / 2.0;
    int tx, ty, ox, oy;
    TurnTexel(w, h, turn, true, sx, sy, &tx, &ty);
    TurnTexel(w, h, turn, true, 0, 0, &ox, &oy);
    *x = static_cast<int>(std::floor(16 + cornerX)) + tx - ox;
    *y = static_cast<int>(std::floor(15 + cornerY)) + ty - oy;
    return *y < static_cast<int>(std::floor(15 + boxBottom));
  });
}

// Other angles and scales: a drawn pixel shows the texel its position maps back to
// (cut down), a pixel whose position lies inside the source is drawn, and nothing
// is drawn outside the draw box.
TEST(RotatedKernel, AnglesAndScalesSampleTheInverseMap) {
  const int sizes[][2] = {{9, 7}, {16, 16}, {1, 3}};
  const float scales[] = {0.5f, 0.77f, 1.0f, 1.5f, 2.0f};
  const double kSlack = 0.005;  // the fixed-point steps' error over the box, in texels
  int drawnPixels = 0;
  for (const auto& size : sizes) {
    auto src = NumberedSource(size[0], size[1]);
    for (int degrees = 0; degrees < 360; degrees += 7) {
      for (const float scale : scales) {
        const float angle = static_cast<float>(degrees * M_PI / 180);
        const int x = 40, y = 41;
        TestImage dst(80, 80, 1);
        dst.Fill(0xFFFFFFFF);
        ASSERT_EQ(BlitMemImgRotatedKernels(dst.get(), src->get(), x, y, angle, scale, 0, 0, nullptr, MakeState(0, 255)),
                  0);
        RECT box;
        ASSERT_EQ(GetRotatedDrawBox(x, y, angle, scale, size[0], size[1], &box), 0);
        const double c = std::cos(static_cast<double>(angle)), s = std::sin(static_cast<double>(angle));
        for (int py = 0; py < 80; ++py) {
          for (int px = 0; px < 80; ++px) {
            const double u = ((px - x) * c + (py - y) * s) / scale + size[0] / 2;
            const double v = (-(px - x) * s + (py - y) * c) / scale + size[1] / 2;
            const std::uint32_t value = dst.Get(px, py);
            if (value == 0xFFFFFFFF) {
              ASSERT_FALSE(u > kSlack && u < size[0] - kSlack && v > kSlack && v < size[1] - kSlack)
                  << degrees << " degrees, scale " << scale << ": (" << px << ", " << py << ") not drawn";
              continue;
            }
            ++drawnPixels;
            ASSERT_TRUE(px >= box.left && px < box.right && py >= box.top && py < box.bottom);
            const int sx = static_cast<int>((value - 1) % 256), sy = static_cast<int>((value - 1) / 256);
            ASSERT_TRUE(sx <= u + kSlack && u - kSlack < sx + 1 && sy <= v + kSlack && v - kSlack < sy + 1)
                << degrees << " degrees, scale " << scale << ": (" << px << ", " << py << ") shows (" << sx << ", "
                << sy << ") for (" << u << ", " << v << ")";
          }
        }
      }
    }
  }
  EXPECT_GT(drawnPixels, 100000);
}

// A uniform half-transparent or additive sprite over a uniform background leaves
// two values, the background and the background drawn over once, at every angle,
// mirrored (through the quadrilateral's two triangles) or not.
TEST(RotatedKernel, TranslucentSpritesLeaveNoSeam) {
  struct Sprite {
    int kind, alpha;
    std::uint32_t texel, background;
    int mode, param;
  };
  const Sprite sprites[] = {{1, 1, 0x80C08040, 0x00204060, 0, 255},
                            {1, 0, 0x00402010, 0x00204060, 2, 128},
                            {0, 1, 0x0080C618, 0x2104, 0, 255},
                            {0, 0, 0x2104, 0x1082, 2, 255}};
  for (const Sprite& sprite : sprites) {
    TestImage src(12, 9, sprite.kind, 0, sprite.alpha, 0xFFFFFFFF);
    src.Fill(sprite.texel);
    const SoftDrawState state = MakeState(sprite.mode, sprite.param);
    const std::uint32_t once = *RefTexelOver(src, nullptr, 0, 0, sprite.background, state, 1);
    ASSERT_NE(once, sprite.background);
    for (int mirror = 0; mirror <= 1; ++mirror) {
      for (int degrees = 0; degrees < 360; degrees += 13) {
        for (const float scale : {0.6f, 1.0f, 1.7f}) {
          TestImage dst(48, 48, sprite.kind);
          dst.Fill(sprite.background);
          BlitMemImgRotatedKernels(dst.get(), src.get(), 24, 23, static_cast<float>(degrees * M_PI / 180), scale, 1,
                                   mirror, nullptr, state);
          int drawn = 0;
          for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 48; ++x) {
              const std::uint32_t v = dst.Get(x, y);
              ASSERT_TRUE(v == sprite.background || v == once)
                  << "mirror " << mirror << ", " << degrees << " degrees, scale " << scale << ": (" << x << ", " << y
                  << ") is " << v;
              drawn += v == once;
            }
          }
          EXPECT_GT(drawn, 30);
        }
      }
    }
  }
}

TEST(RotatedKernel, RefusesScalesAnglesAndPositionsOutsideTheFixedPointRange) {
  auto src = NumberedSource(10, 10);
  TestImage dst(40, 40, 1);
  const SoftDrawState state = MakeState(0, 255);
  const float nan = std::nanf(""), inf = INFINITY;
  const float badScales[] = {0.0f, -0.0f, nan, inf, -inf, 1e-7f};
  for (const float scale : badScales) {
    RECT box;
    EXPECT_EQ(BlitMemImgRotatedKernels(dst.get(), src->get(), 20, 20, 0.3f, scale, 0, 0, nullptr, state), -1) << scale;
    EXPECT_EQ(BlitMemImgRotatedKernels(dst.get(), src->get(), 20, 20, 0.3f, scale, 0, 1, nullptr, state), -1) << scale;
    EXPECT_EQ(GetRotatedDrawBox(20, 20, 0.3f, scale, 10, 10, &box), -1) << scale;
  }
  for (const float angle : {nan, inf, -inf}) {
    EXPECT_EQ(BlitMemImgRotatedKernels(dst.get(), src->get(), 20, 20, angle, 1.0f, 0, 0, nullptr, state), -1);
  }
  EXPECT_EQ(BlitMemImgRotatedKernels(dst.get(), src->get(), 9000, 20, 0.0f, 1.0f, 0, 0, nullptr, state), -1);
  EXPECT_EQ(BlitMemImgRotatedKernels(dst.get(), src->get(), 20, -8190, 0.0f, 1.0f, 0, 0, nullptr, state), -1);
  EXPECT_EQ(BlitMemImgRotatedKernels(dst.get(), src->get(), 20, 20, 0.0f, 2000.0f, 0, 0, nullptr, state), -1);
  for (int i = 0; i < 40 * 40; ++i) ASSERT_EQ(dst.Get(i % 40, i / 40), 0u);
  // Far away but inside the range: drawn, nothing visible.
  EXPECT_EQ(BlitMemImgRotatedKernels(dst.get(), src->get(), 8000, -8000, 0.0f, 1.0f, 0, 0, nullptr, state), 0);
  for (int i = 0; i < 40 * 40; ++i) ASSERT_EQ(dst.Get(i % 40, i / 40), 0u);
}

// A negative scale turns the image half way round.
TEST(RotatedKernel, NegativeScaleIsAHalfTurn) {
  std::mt19937 rng(2);
  auto src = RandomSource(rng, 9, 6, 1, 1);
  TestImage a(30, 30, 1), b(30, 30, 1);
  const SoftDrawState state = MakeState(1, 77);
  BlitMemImgRotatedKernels(a.get(), src->get(), 14, 15, 0.0f, -1.0f, 1, 0, nullptr, state);
  BlitMemImgRotatedKernels(b.get(), src->get(), 14, 15, kQuarterTurns[2], 1.0f, 1, 0, nullptr, state);
  EXPECT_TRUE(SameValues(a.Bytes(), b.Bytes(), a->pitch));
  EXPECT_NE(a.Bytes(), TestImage(30, 30, 1).Bytes());
}

// Random draws over an image larger than the clip rectangle change nothing outside
// the clip rectangle and the draw box.
TEST(RotatedKernel, WritesStayInsideTheClipAndTheDrawBox) {
  std::mt19937 rng(8);
  std::uniform_real_distribution<float> angles(-10.0f, 10.0f), logScales(-3.0f, 1.5f);
  std::uniform_int_distribution<int> positions(-30, 90), clipEdges(-5, 70), sizes(1, 20);
  for (int i = 0; i < 1500; ++i) {
    const int kind = static_cast<int>(rng() % 2);
    auto src = RandomSource(rng, sizes(rng), sizes(rng), kind, static_cast<int>(rng() % 3));
    TestImage dst(64, 64, kind);
    FillRandom(dst, rng);
    const auto before = dst.Bytes();
    TestImage original(64, 64, kind);
    original.SetBytes(before);
    const RECT clip{clipEdges(rng), clipEdges(rng), clipEdges(rng), clipEdges(rng)};
    const float angle = angles(rng), scale = std::exp(logScales(rng));
    const int x = positions(rng), y = positions(rng), mirror = static_cast<int>(rng() % 2);
    ASSERT_EQ(BlitMemImgRotatedKernels(dst.get(), src->get(), x, y, angle, scale, static_cast<int>(rng() % 2), mirror,
                                       nullptr, MakeState(static_cast<int>(rng() % 5), 200, 0xFFFFFF, 0, clip)),
              0);
    RECT box;
    ASSERT_EQ(GetRotatedDrawBox(x, y, angle, scale, (*src)->width, (*src)->height, &box), 0);
    for (int py = 0; py < 64; ++py) {
      for (int px = 0; px < 64; ++px) {
        if (dst.Get(px, py) == original.Get(px, py)) continue;
        ASSERT_TRUE(px >= clip.left && px < clip.right && py >= clip.top && py < clip.bottom) << "draw " << i;
        ASSERT_TRUE(px >= box.left && px < box.right && py >= box.top && py < box.bottom) << "draw " << i;
      }
    }
  }
}

// A palette source is read through all 256 entries of its own palette, also past
// its entry count; a draw marks the destination's run table and premultiplied
// copy out of date.
TEST(RotatedKernel, PaletteEntriesAndWrittenMarks) {
  TestImage src(2, 1, 1, 1, 0, 0x1FF);
  src->paletteCount = 1;
  src.Set(0, 0, 0);
  src.Set(1, 0, 200);
  src.SetPaletteEntry(0, 0x00112233);
  src.SetPaletteEntry(200, 0x00ABCDEF);
  TestImage dst(8, 8, 1);
  dst->runDataValid = 1;
  dst->premultipliedValid = 1;
  ASSERT_EQ(BlitMemImgRotatedKernels(dst.get(), src.get(), 4, 4, 0.0f, 1.0f, 1, 0, nullptr, MakeState(0, 255)), 0);
  EXPECT_EQ(dst.Get(3, 4), 0x00112233u);
  EXPECT_EQ(dst.Get(4, 4), 0x00ABCDEFu);
  EXPECT_EQ(dst->runDataValid, 0);
  EXPECT_EQ(dst->premultipliedValid, 0);
}

}  // namespace

// Screen-sized turned images, plain and mirrored, added onto a random picture under a
// clip: drawn tile by tile (tiles of odd sizes, some across the clip's edges), they
// leave the whole draw's every byte.
TEST(RotatedKernel, DrawsCutIntoTilesMatchTheWholeDraw) {
  std::mt19937 rng(5);
  auto src = RandomSource(rng, 64, 48, 1, 1);
  TestImage background(640, 480, 1);
  FillRandom(background, rng);
  SoftDrawState state = MakeState(2, 200, 0xE0C0FF);
  state.clip = RECT{13, 17, 601, 450};
  constexpr int kTileWidth = 97, kTileHeight = 61;
  for (int mirror = 0; mirror <= 1; ++mirror) {
    TestImage whole(640, 480, 1), tiled(640, 480, 1);
    whole.SetBytes(background.Bytes());
    tiled.SetBytes(background.Bytes());
    for (float angle : {0.4f, 2.5f, 5.0f}) {
      ASSERT_EQ(BlitMemImgRotatedKernels(whole.get(), src->get(), 310, 250, angle, 8.5f, 0, mirror, nullptr, state), 0);
      for (int top = 0; top < 480; top += kTileHeight) {
        for (int left = 0; left < 640; left += kTileWidth) {
          const RECT tile{left, top, std::min(left + kTileWidth, 640), std::min(top + kTileHeight, 480)};
          ASSERT_EQ(BlitMemImgRotatedInTile(tiled.get(), src->get(), 310, 250, angle, 8.5f, 0, mirror, nullptr, state,
                                            tile),
                    0);
        }
      }
    }
    EXPECT_TRUE(SameValues(tiled.Bytes(), whole.Bytes(), tiled->pitch)) << "mirror " << mirror;
    EXPECT_NE(whole.Get(310, 250), background.Get(310, 250));
  }
}
