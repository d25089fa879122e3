// Upright rows (one column walk for all rows, a gathered row kept while the source
// row repeats) against the same rows drawn one by one as turned spans, byte for byte:
// every pixel kind, source form, blend mode, tint, transparent test and blend graph,
// scales up, down and mirrored, clipped on every side, and a source inside its target.
#include <gtest/gtest.h>

#include <random>

#include "../support/same_values.h"
#include "graphics/blend_tables.h"
#include "primitive_reference.h"
#include "softrender/affine_span.h"

namespace {

struct UprightDraw {
  int mode, param;
  std::uint32_t tint;
  int transparent;
  bool graph;
};

const UprightDraw kDraws[] = {{0, 255, 0xFFFFFF, 1, false}, {0, 255, 0xFFFFFF, 0, false}, {1, 100, 0xFFFFFF, 1, false},
                              {2, 255, 0xFFFFFF, 1, false}, {3, 77, 0xFFFFFF, 0, false},  {4, 0, 0xFFFFFF, 1, false},
                              {2, 200, 0x80FF40, 1, false}, {1, 128, 0xFFFFFF, 0, true},  {0, 255, 0xFFFFFF, 1, true}};

// Column and row steps in 14.18 (negative: read right to left or bottom to top), and the
// first position's fraction.
struct Walk {
  std::int64_t du, dv, fraction;
};
const Walk kWalks[] = {{174762, 174762, 0},        {kFixedOne, kFixedOne, 0},   {kFixedOne / 2, 3 * kFixedOne, 9},
                       {5 * kFixedOne / 2, 87381, 131071}, {-174762, 174762, 262143}, {174762, -kFixedOne, 100}};

// The draw of src at destination rows [top, top + rows), columns [left, right],
// through `draw`: upright, or one turned span per row.
void DrawRows(const AffineDraw& draw, bool upright, const Walk& walk, int srcWidth, int srcHeight, int top, int rows,
              int left, int right) {
  const std::int64_t u = walk.du > 0 ? walk.fraction - 3 * walk.du : srcWidth * kFixedOne - 1 - walk.fraction;
  const std::int64_t v = walk.dv > 0 ? walk.fraction - 2 * walk.dv : srcHeight * kFixedOne - 1 - walk.fraction;
  if (upright) {
    DrawUprightRows(draw, top, rows, left, right, u, v, walk.du, walk.dv);
    return;
  }
  for (int r = 0; r < rows; ++r) DrawAffineRow(draw, top + r, left, right, u, v + r * walk.dv, walk.du, 0);
}

TEST(UprightRows, MatchTheRowsDrawnOneByOne) {
  std::mt19937 rng(29);
  for (auto& weight : BlendGraphRamp) weight = static_cast<std::uint8_t>(rng());
  int cases = 0;
  for (int kind = 0; kind <= 1; ++kind) {
    for (int form = 0; form <= 2; ++form) {
      for (const int width : {5, 23, 90}) {
        auto src = RandomSource(rng, width, 13, kind, form);
        TestImage graph(width - 2, 12, MEMIMG_KIND_BYTE);
        FillRandom(graph, rng);
        for (const UprightDraw& d : kDraws) {
          const Walk& walk = kWalks[cases++ % std::size(kWalks)];
          SoftDrawState state = MakeState(d.mode, d.param, d.tint);
          state.clip = RECT{3, 2, 150, 40};
          TestImage background(160, 48, kind);
          FillRandom(background, rng);
          TestImage upright(160, 48, kind), turned(160, 48, kind);
          upright.SetBytes(background.Bytes());
          turned.SetBytes(background.Bytes());
          for (TestImage* dst : {&upright, &turned}) {
            AffineDraw draw;
            ASSERT_TRUE(PrepareAffineDraw(dst->get(), src->get(), d.transparent, d.graph ? graph.get() : nullptr,
                                          state, &draw));
            DrawRows(draw, dst == &upright, walk, width, 13, 1, 38, 0, 157);
          }
          ASSERT_TRUE(SameValues(upright.Bytes(), turned.Bytes(), upright->pitch))
              << "kind " << kind << " form " << form << " width " << width << " mode " << d.mode << " walk " << walk.du;
          ASSERT_NE(upright.Bytes(), background.Bytes());
        }
      }
    }
  }
}

// A source that is part of its own target is read as the rows before it wrote it.
TEST(UprightRows, ASourceInsideItsTargetIsReadAsWritten) {
  std::mt19937 rng(4);
  for (const Walk& walk : kWalks) {
    TestImage upright(64, 64, 1), turned(64, 64, 1);
    FillRandom(upright, rng);
    turned.SetBytes(upright.Bytes());
    for (TestImage* dst : {&upright, &turned}) {
      MEMIMG view{};
      InitMemImgView(&view, dst->get(), 4, 6, 30, 20);
      AffineDraw draw;
      ASSERT_TRUE(PrepareAffineDraw(dst->get(), &view, 0, nullptr, MakeState(2, 160), &draw));
      DrawRows(draw, dst == &upright, walk, 30, 20, 8, 40, 0, 63);
    }
    ASSERT_TRUE(SameValues(upright.Bytes(), turned.Bytes(), upright->pitch)) << "walk " << walk.du << ", " << walk.dv;
  }
}

}  // namespace
