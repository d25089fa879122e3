// The AVX2 texel fetch against a texel-by-texel reading: upright runs (spread from one
// load unless they reach the row's end), backward, shrunk and turned ones, across the
// texture's edges, must fetch exactly the texels point sampling clamps to.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "d3d/texel_gather.h"

namespace {

constexpr std::int64_t kOne = std::int64_t{1} << kTexelFractionBits;

struct TexelRun { const char* name; std::int64_t u, v, du, dv; };  // in texels x kOne

TEST(D3DTexelGather, FetchesTheTexelsPointSamplingClampsTo) {
  if (!__builtin_cpu_supports("avx2")) GTEST_SKIP() << "no AVX2";
  const TexelRun runs[] = {
      {"unscaled", 3 * kOne, 2 * kOne, kOne, 0},
      {"enlarged 1.5x", kOne / 3, 5 * kOne, 2 * kOne / 3, 0},
      {"enlarged 1.5x to the row's end", 20 * kOne + 7, kOne, 2 * kOne / 3, 0},
      {"enlarged from left of the texture", -9 * kOne - 5, 3 * kOne, kOne / 4, 0},
      {"standing still", 7 * kOne + 99, 4 * kOne, 0, 0},
      {"shrunk", kOne / 2, 6 * kOne, 3 * kOne / 2, 0},
      {"backward", 29 * kOne, 2 * kOne, -kOne / 3, 0},
      {"turned", 4 * kOne, kOne, 7 * kOne / 10, 7 * kOne / 10},
      {"turned out of the texture", 30 * kOne, -kOne, -kOne / 2, kOne / 3},
  };
  constexpr int kWidth = 31, kHeight = 9, kPitchWords = 36;
  std::vector<DWORD> texels(kPitchWords * kHeight);
  for (std::size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<DWORD>(i * 2654435761u);
  const TextureSampler t{reinterpret_cast<const BYTE*>(texels.data()), kPitchWords * 4, kWidth, kHeight,
                         DDrawPixelKind::A8R8G8B8, false, 0, 0, false, false, 1};
  auto clamp = [](std::int64_t coordinate, int size) { return std::clamp<std::int64_t>(coordinate >> 32, 0, size - 1); };
  for (const TexelRun& run : runs) {
    for (int count : {8, 13, 16, 40}) {
      std::vector<DWORD> got(count);
      ASSERT_TRUE(GatherTexels(t, run.u, run.v, run.du, run.dv, count, got.data())) << run.name;
      for (int i = 0; i < count; ++i) {
        const int x = clamp(run.u + i * run.du, kWidth), y = clamp(run.v + i * run.dv, kHeight);
        ASSERT_EQ(got[i], texels[y * kPitchWords + x]) << run.name << ", " << count << " pixels, pixel " << i;
      }
    }
  }
}

}  // namespace
