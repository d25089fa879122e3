// The vector forms of the alpha and keyed rows give the bytes of the scalar pixel
// operation, for every instruction set this processor has, on random rows of
// every width and alignment.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "soft_test_images.h"
#include "softrender/alpha_row_vector.h"
#include "softrender/blit_rows32.h"

namespace {

using VectorForm = int (*)(std::uint8_t*, std::ptrdiff_t, const std::uint8_t*, std::ptrdiff_t, int, int, bool);

std::vector<std::uint8_t> RandomPixels(std::mt19937& rng, int count) {
  std::vector<std::uint8_t> bytes(4 * static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const std::uint32_t r = rng();
    const std::uint32_t pick = r % 5;
    bytes[4 * i + 0] = static_cast<std::uint8_t>(rng());
    bytes[4 * i + 1] = static_cast<std::uint8_t>(rng());
    bytes[4 * i + 2] = static_cast<std::uint8_t>(rng());
    bytes[4 * i + 3] = static_cast<std::uint8_t>(pick == 0 ? 0 : pick == 1 ? 255 : rng());
  }
  return bytes;
}

// Whole runs of clear or opaque pixels take the shortcuts; mixed ones the blend.
void MakeRuns(std::vector<std::uint8_t>& src, std::mt19937& rng) {
  for (std::size_t i = 0; i + 32 <= src.size(); i += 32) {
    if (rng() % 3 == 0) {
      const std::uint8_t a = rng() % 2 ? 0 : 255;
      for (std::size_t j = i + 3; j < i + 32; j += 4) src[j] = a;
    }
  }
}

TEST(VectorRows, AlphaFormsMatchTheScalarOperation) {
  EnsureBlendTables();
  std::vector<VectorForm> forms{&AlphaCopyVector32Sse2};
  if (CpuHasAvx2()) forms.push_back(&AlphaCopyVector32Avx2);
  const SourceDraw draw{MakeBlendRows(255, 0xFFFFFF), nullptr, 0};
  std::mt19937 rng(5);
  for (int round = 0; round < 400; ++round) {
    const int width = 1 + static_cast<int>(rng() % 40);
    const int offset = static_cast<int>(rng() % 8);
    auto src = RandomPixels(rng, width + 8);
    MakeRuns(src, rng);
    const auto dst = RandomPixels(rng, width + 8);
    for (bool trans : {false, true}) {
      auto want = dst;
      for (int x = 0; x < width; ++x) {
        std::uint8_t* d = want.data() + 4 * (offset + x);
        const std::uint8_t* s = src.data() + 4 * (offset + x);
        if (trans) DrawSourcePixel<PIXEL_KIND_32, SOURCE_ALPHA, BLEND_OP_COPY, false, true, true>(d, s, 0, draw);
        else DrawSourcePixel<PIXEL_KIND_32, SOURCE_ALPHA, BLEND_OP_COPY, false, true, false>(d, s, 0, draw);
      }
      for (VectorForm form : forms) {
        auto got = dst;
        const int done = form(got.data() + 4 * offset, 0, src.data() + 4 * offset, 0, width, 1, trans);
        ASSERT_EQ(done % 4, 0);
        ASSERT_LE(width - done, form == &AlphaCopyVector32Sse2 ? 3 : 7);
        // The pixels it did are right; the ones after them untouched.
        for (int i = 0; i < 4 * (offset + done); ++i) ASSERT_EQ(got[i], want[i]) << round << " " << i;
        for (std::size_t i = 4 * (offset + done); i < got.size(); ++i) ASSERT_EQ(got[i], dst[i]) << round;
      }
    }
  }
}

TEST(VectorRows, KeyedRowSkipsExactlyTheKey) {
  std::mt19937 rng(8);
  for (int round = 0; round < 300; ++round) {
    const int width = 1 + static_cast<int>(rng() % 40);
    const int offset = static_cast<int>(rng() % 8);
    auto src = RandomPixels(rng, width + 8);
    const std::uint32_t key = 0x0000FF00;
    for (int x = 0; x < width + 8; ++x) {
      if (rng() % 3 == 0) std::memcpy(src.data() + 4 * x, &key, 4);
    }
    const auto dst = RandomPixels(rng, width + 8);
    auto got = dst;
    KeyedCopyRow32(got.data() + 4 * offset, src.data() + 4 * offset, width, key);
    for (int x = 0; x < width + 8; ++x) {
      std::uint32_t s, d, g;
      std::memcpy(&s, src.data() + 4 * x, 4);
      std::memcpy(&d, dst.data() + 4 * x, 4);
      std::memcpy(&g, got.data() + 4 * x, 4);
      const bool inside = x >= offset && x < offset + width;
      ASSERT_EQ(g, inside && s != key ? s : d) << round << " " << x;
    }
  }
}

}  // namespace
