// The AVX2 texel fetch of affine spans against a texel-by-texel reading: still,
// magnified, unscaled and shrunk runs at every turn, inside the source up to its edges.
#include <gtest/gtest.h>

#include <vector>

#include "../support/turned_texel_runs.h"
#include "softrender/affine_gather.h"
#include "softrender/affine_span.h"

namespace {

TEST(AffineGather, FetchesTheTexelAtEveryPosition) {
  if (!__builtin_cpu_supports("avx2")) GTEST_SKIP() << "no AVX2";
  constexpr int kWidth = 31, kHeight = 9, kPitchWords = 36;
  // The last row ends the texels: the sanitizers catch a read past the picture.
  std::vector<std::uint32_t> texels(kPitchWords * (kHeight - 1) + kWidth);
  for (std::size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<std::uint32_t>(i * 2654435761u);
  auto inside = [](std::int64_t p, int size) { return p >= 0 && (p >> kFixedShift) < size; };
  for (const TexelRun& run : TurnedTexelRuns(kFixedShift)) {
    int count = 0;
    while (count < 40 && inside(run.u + count * run.du, kWidth) && inside(run.v + count * run.dv, kHeight)) ++count;
    std::uint32_t got[40];
    const int gathered = GatherAffineTexels32Avx2(reinterpret_cast<const std::uint8_t*>(texels.data()),
                                                  kPitchWords * 4, kWidth, kHeight, run.u, run.v, run.du, run.dv, count, got);
    ASSERT_EQ(gathered, count - count % 8);
    for (int i = 0; i < gathered; ++i) {
      const std::int64_t x = (run.u + i * run.du) >> kFixedShift, y = (run.v + i * run.dv) >> kFixedShift;
      ASSERT_EQ(got[i], texels[y * kPitchWords + x]) << run.u << ", " << run.v << " by " << run.du << ", " << run.dv;
    }
  }
}

}  // namespace
