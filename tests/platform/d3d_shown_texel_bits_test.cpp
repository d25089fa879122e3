// The shown-texel bits of a texture against a plain scan of its texels: for every row
// and every column range, the first and last texel that shows must be the same, on
// widths that end inside a word and ranges that start and end anywhere in one.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "d3d/shown_texel_bits.h"

namespace {

struct BitsCase {
  const char* name;
  DDrawPixelKind kind;
  TransparentTexels test;
  int width;
};

class ShownTexelBitsTest : public ::testing::TestWithParam<BitsCase> {};

TEST_P(ShownTexelBitsTest, FirstAndLastShownTexelMatchAScan) {
  const BitsCase& param = GetParam();
  constexpr int kHeight = 6;
  constexpr DWORD kKey = 0x0000FF00u;
  const bool wide = param.kind == DDrawPixelKind::A8R8G8B8 || param.kind == DDrawPixelKind::X8R8G8B8;
  const DWORD alphaMask = wide ? 0xFF000000u : 0x8000u;  // the 16-bit case is A1R5G5B5
  // Rows of runs: all hidden, all shown, and mixtures whose runs cross word edges.
  std::mt19937 random(7);
  std::vector<DWORD> texels(static_cast<std::size_t>(param.width) * kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < param.width; ++x) {
      const bool hidden = y == 0 || (y != 1 && (random() % (y + 2) != 0) == ((x / (3 + y * 11)) % 2 == 0));
      const DWORD colour = random() & 0x00FFFFFFu & ~alphaMask;
      DWORD& texel = texels[static_cast<std::size_t>(y) * param.width + x];
      texel = hidden ? (param.test.keyed ? kKey : colour & ~alphaMask) : (colour | alphaMask);
      if (!hidden && param.test.keyed && (texel & 0x00FFFFFFu) == kKey) texel ^= 1;
    }
  }
  std::vector<std::uint16_t> narrow(texels.begin(), texels.end());
  TextureSampler t{};
  t.bits = wide ? reinterpret_cast<const BYTE*>(texels.data()) : reinterpret_cast<const BYTE*>(narrow.data());
  t.pitch = param.width * (wide ? 4 : 2);
  t.width = param.width;
  t.height = kHeight;
  t.kind = param.kind;
  t.keyed = param.test.keyed;
  t.key = kKey & (wide ? 0x00FFFFFFu : 0x7FFFu);
  t.keyMask = wide ? 0x00FFFFFFu : 0x7FFFu;
  t.contentStamp = 1;
  const ShownTexelBits bits(t, param.test);

  auto shows = [&](int x, int y) {
    const DWORD texel = texels[static_cast<std::size_t>(y) * param.width + x];
    const DWORD stored = wide ? texel : texel & 0xFFFFu;
    return !(param.test.keyed && (stored & t.keyMask) == t.key) &&
           !(param.test.alphaZero && param.kind != DDrawPixelKind::X8R8G8B8 && (stored & alphaMask) == 0);
  };
  for (int y = 0; y < kHeight; ++y) {
    for (int left = 0; left < param.width; ++left) {
      int first = left, last = -1;
      for (int right = left; right < param.width; ++right) {
        if (shows(right, y)) last = right;
        while (first <= last && !shows(first, y)) ++first;
        const TexelColumns got = bits.ShownIn(y, left, right);
        if (last < 0) {
          ASSERT_GT(got.first, got.last) << "row " << y << " [" << left << ", " << right << "]";
        } else {
          ASSERT_EQ(got.first, first) << "row " << y << " [" << left << ", " << right << "]";
          ASSERT_EQ(got.last, last) << "row " << y << " [" << left << ", " << right << "]";
        }
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
