// The kernels against the plain per-pixel reference on random images, positions
// (clipped, negative, beyond the destination), clip rectangles, blend modes,
// parameters, tints, transparent flags, blend graphs and both MMX-usable values.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "../support/same_values.h"
#include "graphics/blend_tables.h"
#include "reference_blits.h"
#include "softrender/blit_kernels.h"

namespace {

struct RandomDraw {
  std::unique_ptr<TestImage> dst, src, graph;
  SoftDrawState state{};
  int transparent = 0;
};

int Pick(std::mt19937& rng, std::initializer_list<int> values) {
  return *(values.begin() + std::uniform_int_distribution<std::size_t>(0, values.size() - 1)(rng));
}

int Range(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

// A random draw. maxSource bounds the source size; kind and form are random.
RandomDraw MakeRandomDraw(std::mt19937& rng, int maxSource) {
  RandomDraw r;
  const int kind = Range(rng, 0, 1);
  const int form = Range(rng, 0, 2);  // direct, alpha, palette
  const int sw = Range(rng, 1, maxSource), sh = Range(rng, 1, maxSource / 2 + 1);
  std::uint32_t key;
  if (form == 2) {
    key = Range(rng, 0, 9) == 0 ? 0x105 : Range(rng, 0, 255);
  } else if (kind == 0) {
    key = Range(rng, 0, 9) == 0 ? 0x10000 : Range(rng, 0, 0xFFFF);
  } else {
    key = static_cast<std::uint32_t>(rng());
  }
  r.src = std::make_unique<TestImage>(sw, sh, kind, form == 2, form == 1, key, 1);
  FillRandom(*r.src, rng);
  if (Range(rng, 0, 1)) r.src->BuildRunTable();
  // Now and then a destination of another kind, or with a palette or alpha.
  const int refusal = Range(rng, 0, 30);
  r.dst = std::make_unique<TestImage>(Range(rng, 1, 60), Range(rng, 1, 40), refusal == 0 ? 1 - kind : kind,
                                      refusal == 1, refusal == 2);
  FillRandom(*r.dst, rng);
  if (Range(rng, 0, 1)) {
    // Graph sizes: mostly covering the source, sometimes smaller.
    const int gw = Range(rng, 0, 4) == 0 ? Range(rng, 1, sw) : sw + Range(rng, 0, 5);
    const int gh = Range(rng, 0, 4) == 0 ? Range(rng, 1, sh) : sh + Range(rng, 0, 5);
    r.graph = std::make_unique<TestImage>(gw, gh, MEMIMG_KIND_BYTE);
    FillRandom(*r.graph, rng);
    for (int i = 0; i < 256; ++i) BlendGraphRamp[i] = static_cast<std::uint8_t>(Range(rng, 0, 4) == 0 ? 255 : rng());
  }
  RECT clip{0, 0, 1 << 20, 1 << 20};
  if (Range(rng, 0, 1)) {
    clip.left = Range(rng, -10, 40);
    clip.top = Range(rng, -10, 30);
    clip.right = clip.left + Range(rng, -3, 60);
    clip.bottom = clip.top + Range(rng, -3, 40);
  }
  const int mode = Pick(rng, {-1, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5});
  const int param = Range(rng, 0, 3) == 0 ? Range(rng, 0, 255) : Pick(rng, {0, 1, 2, 3, 127, 128, 129, 252, 254, 255});
  const int tintKind = Range(rng, 0, 9);
  const std::uint32_t tint = tintKind < 6 ? 0xFFFFFF : tintKind < 9 ? rng() & 0xFFFFFF : 0xFFFFFE;
  r.state = MakeState(mode, param, tint, Range(rng, 0, 1), clip);
  r.transparent = Pick(rng, {0, 1, 1, 2});
  return r;
}

TEST(BlitReference, ImageAtPositionMatchesTheReference) {
  std::mt19937 rng(1234);
  for (int i = 0; i < 6000; ++i) {
    RandomDraw r = MakeRandomDraw(rng, 40);
    // Half the draws sit wholly inside so that the run-table path gets its share.
    int x, y;
    if (i % 2 == 0 && r.dst->get()->width >= r.src->get()->width && r.dst->get()->height >= r.src->get()->height) {
      x = Range(rng, 0, r.dst->get()->width - r.src->get()->width);
      y = Range(rng, 0, r.dst->get()->height - r.src->get()->height);
      r.state.clip = RECT{0, 0, r.dst->get()->width, r.dst->get()->height};
    } else {
      x = Range(rng, -45, 65);
      y = Range(rng, -25, 45);
    }
    TestImage want(r.dst->get()->width, r.dst->get()->height, r.dst->get()->kind, r.dst->get()->paletteFlag,
                   r.dst->get()->alphaFlag);
    want.SetBytes(r.dst->Bytes());
    const auto sourceBefore = r.src->Bytes();
    RefBlitAtPosition(want, *r.src, x, y, r.transparent, r.graph.get(), r.state);
    BlitMemImgKernels(r.dst->get(), r.src->get(), x, y, r.transparent, r.graph ? r.graph->get() : nullptr, r.state);
    ASSERT_TRUE(SameValues(r.dst->Bytes(), want.Bytes(), r.dst->get()->pitch)) << "case " << i;
    ASSERT_EQ(r.src->Bytes(), sourceBefore);
  }
}

TEST(BlitReference, StretchedImageMatchesTheReference) {
  std::mt19937 rng(99);
  for (int i = 0; i < 5000; ++i) {
    RandomDraw r = MakeRandomDraw(rng, 24);
    const int sw = r.src->get()->width, sh = r.src->get()->height;
    RECT rect;
    rect.left = Range(rng, -30, 60);
    rect.top = Range(rng, -20, 40);
    // Exact sizes, mirrored exact sizes, up- and down-scales, empty rectangles.
    const int shape = Range(rng, 0, 5);
    const int w = shape == 0 ? sw : shape == 1 ? -sw : Range(rng, -70, 70);
    const int h = shape == 0 ? sh : shape == 1 ? sh : Range(rng, -50, 50);
    rect.right = rect.left + w;
    rect.bottom = rect.top + h;
    TestImage want(r.dst->get()->width, r.dst->get()->height, r.dst->get()->kind, r.dst->get()->paletteFlag,
                   r.dst->get()->alphaFlag);
    want.SetBytes(r.dst->Bytes());
    RefBlitScaled(want, *r.src, rect, r.transparent, r.graph.get(), r.state);
    BlitMemImgScaledKernels(r.dst->get(), r.src->get(), &rect, r.transparent, r.graph ? r.graph->get() : nullptr,
                            r.state);
    ASSERT_TRUE(SameValues(r.dst->Bytes(), want.Bytes(), r.dst->get()->pitch)) << "case " << i;
  }
}

}  // namespace
