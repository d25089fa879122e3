// The shown-texel bits of a texture against a plain scan of its texels: for every row
// and column range (widths ending inside a word, ranges starting and ending anywhere in
// one), the first and last texel that shows must be the same.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "d3d/shown_texel_bits.h"

namespace {

struct BitsCase { const char* name; DDrawPixelKind kind; TransparentTexels test; int width; };  // 32-bit or A1R5G5B5

class ShownTexelBitsTest : public ::testing::TestWithParam<BitsCase> {};

TEST_P(ShownTexelBitsTest, FirstAndLastShownTexelMatchAScan) {
  const BitsCase& param = GetParam();
  constexpr int kHeight = 6;
  const bool wide = param.kind != DDrawPixelKind::A1R5G5B5;
  const DWORD alphaMask = wide ? 0xFF000000u : 0x8000u, colourMask = wide ? 0x00FFFFFFu : 0x7FFFu, key = 0x7F00u;
  // Rows all hidden, all shown, and runs of both crossing word edges; texels stored as `wide` says.
  std::mt19937 random(7);
  std::vector<DWORD> texels(static_cast<std::size_t>(param.width) * kHeight);
  std::vector<std::uint16_t> narrow(texels.size());
  for (std::size_t i = 0; i < texels.size(); ++i) {
    const int x = static_cast<int>(i) % param.width, y = static_cast<int>(i) / param.width;
    const bool hidden = y == 0 || (y != 1 && (random() % (y + 2) != 0) == ((x / (3 + y * 11)) % 2 == 0));
    const DWORD colour = random() & colourMask;
    texels[i] = hidden ? (param.test.keyed ? key : colour) : (colour | alphaMask);
    narrow[i] = static_cast<std::uint16_t>(texels[i]);
  }
  const TextureSampler t{wide ? reinterpret_cast<const BYTE*>(texels.data()) : reinterpret_cast<const BYTE*>(narrow.data()),
                         param.width * (wide ? 4 : 2), param.width, kHeight, param.kind, param.test.keyed, key, colourMask,
                         false, false, 1};
  const ShownTexelBits bits(t, param.test);
  auto shows = [&](int x, int y) {
    const DWORD texel = texels[static_cast<std::size_t>(y) * param.width + x];
    return !(param.test.keyed && (texel & colourMask) == key) &&
           !(param.test.alphaZero && param.kind != DDrawPixelKind::X8R8G8B8 && (texel & alphaMask) == 0);
  };
  for (int y = 0; y < kHeight; ++y) {
    for (int left = 0; left < param.width; ++left) {
      int first = left, last = -1;
      for (int right = left; right < param.width; ++right) {
        if (shows(right, y)) last = right;
        while (first <= last && !shows(first, y)) ++first;
        const TexelColumns got = bits.ShownIn(y, left, right);
        ASSERT_EQ(last < 0 ? std::pair(1, 0) : std::pair(first, last), std::pair(got.first, got.last))
            << "row " << y << " [" << left << ", " << right << "]";
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    KindsAndTests, ShownTexelBitsTest,
    ::testing::Values(BitsCase{"Alpha32", DDrawPixelKind::A8R8G8B8, {false, true}, 150},
                      BitsCase{"Keyed32", DDrawPixelKind::X8R8G8B8, {true, false}, 64},
                      BitsCase{"KeyedAlpha32", DDrawPixelKind::A8R8G8B8, {true, true}, 129},
                      BitsCase{"Alpha16", DDrawPixelKind::A1R5G5B5, {false, true}, 200},
                      BitsCase{"Keyed16", DDrawPixelKind::A1R5G5B5, {true, false}, 37}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
