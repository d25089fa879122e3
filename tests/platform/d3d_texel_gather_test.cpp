// The AVX2 texel fetch against a texel-by-texel reading: still, magnified, unscaled and
// shrunk runs at every turn, across the texture's edges, must fetch exactly the texels
// point sampling clamps to.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "../support/turned_texel_runs.h"
#include "d3d/texel_gather.h"

namespace {

TEST(D3DTexelGather, FetchesTheTexelsPointSamplingClampsTo) {
  if (!__builtin_cpu_supports("avx2")) GTEST_SKIP() << "no AVX2";
  constexpr int kWidth = 31, kHeight = 9, kPitchWords = 36;
  // The last row ends the texels: the sanitizers catch a read past the picture.
  std::vector<DWORD> texels(kPitchWords * (kHeight - 1) + kWidth);
  for (std::size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<DWORD>(i * 2654435761u);
  const TextureSampler t{reinterpret_cast<const BYTE*>(texels.data()), kPitchWords * 4, kWidth, kHeight,
                         DDrawPixelKind::A8R8G8B8, false, 0, 0, false, false, 1};
  auto clamp = [](std::int64_t coordinate, int size) { return std::clamp<std::int64_t>(coordinate >> 32, 0, size - 1); };
  for (const TexelRun& run : TurnedTexelRuns(kTexelFractionBits)) {
    for (int count : {8, 13, 40}) {
      std::vector<DWORD> got(count);
      ASSERT_TRUE(GatherTexels(t, run.u, run.v, run.du, run.dv, count, got.data()));
      for (int i = 0; i < count; ++i) {
        const int x = clamp(run.u + i * run.du, kWidth), y = clamp(run.v + i * run.dv, kHeight);
        ASSERT_EQ(got[i], texels[y * kPitchWords + x])
            << run.u << ", " << run.v << " by " << run.du << ", " << run.dv << ", " << count << " pixels";
      }
    }
  }
}

}  // namespace
