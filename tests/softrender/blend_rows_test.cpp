// The vector rows of the 32-bit blends give the bytes of the per-pixel operation.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "graphics/blend_tables.h"
#include "soft_test_images.h"
#include "softrender/blend_rows32.h"

namespace {

// Rows of every length up to a few vector groups: each ends in a different part group.
// The pixels of a vector group past the row's end must be left alone.
template <int Op, int Form, bool Trans>
void CompareRows(std::mt19937& rng) {
  std::uniform_int_distribution<std::uint32_t> any;
  for (const int param : {1, 2, 77, 128, 200, 254, 255}) {
    if (Op == BLEND_OP_ALPHA && param == 255) continue;  // drawn as a copy
    const int count = 1 + static_cast<int>(rng() % 37);
    const std::uint32_t key = any(rng);
    std::vector<std::uint32_t> src(count + 8), dst(count + 8);
    for (int i = 0; i < count + 8; ++i) {
      src[i] = any(rng);
      dst[i] = any(rng);
      if (Form == SOURCE_ALPHA && i % 5 < 2) src[i] = (src[i] & 0xFFFFFF) | (i % 5 == 0 ? 0 : 0xFF000000u);
      if (Form == SOURCE_DIRECT && i % 4 == 0) src[i] = key;
    }
    // A group that is all key or all alpha 0 is skipped as a whole.
    if (Trans && count >= 8) std::fill(src.begin(), src.begin() + 8, Form == SOURCE_ALPHA ? src[0] & 0xFFFFFF : key);
    const SourceDraw draw{MakeBlendRows(param, 0xFFFFFF), nullptr, key};
    std::vector<std::uint32_t> want = dst, got = dst;
    for (int i = 0; i < count; ++i) {
      DrawSourcePixel<PIXEL_KIND_32, Form, Op, false, true, Trans>(reinterpret_cast<std::uint8_t*>(&want[i]),
                                                                  reinterpret_cast<const std::uint8_t*>(&src[i]), 0,
                                                                  draw);
    }
    BlendRow32<Op, Form, Trans>(reinterpret_cast<std::uint8_t*>(got.data()), src.data(), count, draw);
    for (int i = 0; i < count + 8; ++i) {
      ASSERT_EQ(got[i], want[i]) << "op " << Op << " form " << Form << " trans " << Trans << " param " << param
                                 << " pixel " << i << ": source " << std::hex << src[i] << " over " << dst[i];
    }
  }
}

template <int Op, int Form>
void CompareBothKeys(std::mt19937& rng) {
  for (int round = 0; round < 200; ++round) {
    CompareRows<Op, Form, false>(rng);
    CompareRows<Op, Form, true>(rng);
  }
}

TEST(BlendRows32, MatchThePixelOperation) {
  EnsureBlendTables();
  std::mt19937 rng(21);
  CompareBothKeys<BLEND_OP_ALPHA, SOURCE_DIRECT>(rng);
  CompareBothKeys<BLEND_OP_ADD, SOURCE_DIRECT>(rng);
  CompareBothKeys<BLEND_OP_SUB, SOURCE_DIRECT>(rng);
  CompareBothKeys<BLEND_OP_MUL, SOURCE_DIRECT>(rng);
  CompareBothKeys<BLEND_OP_ALPHA, SOURCE_ALPHA>(rng);
  CompareBothKeys<BLEND_OP_ADD, SOURCE_ALPHA>(rng);
  CompareBothKeys<BLEND_OP_SUB, SOURCE_ALPHA>(rng);
  CompareBothKeys<BLEND_OP_MUL, SOURCE_ALPHA>(rng);
  CompareBothKeys<BLEND_OP_ADD_BYTES, SOURCE_DIRECT>(rng);
  CompareBothKeys<BLEND_OP_SUB_BYTES, SOURCE_DIRECT>(rng);
}

}  // namespace
