// A test scene drawn in every blend mode on 32-bit and RGB565 targets and compared
// with golden pictures (tests/softrender/golden/scene<bits>_mode<m>.bmp). The scene
// has an alpha sprite (whole, clipped and stretched mirrored), a keyed sprite (whole
// and stretched), a tinted palette sprite and a keyed sprite under a blend graph.
// Run with VANTOREL_UPDATE_GOLDEN=1 to write the pictures anew.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "bmp_file.h"
#include "graphics/blend_tables.h"
#include "soft_test_images.h"
#include "softrender/blit_kernels.h"

namespace {

std::uint32_t Colour(int kind, int r, int g, int b) {
  if (kind == MEMIMG_KIND_16BIT) return static_cast<std::uint32_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
  return static_cast<std::uint32_t>(b | (g << 8) | (r << 16));
}

std::uint32_t WithAlpha(int kind, std::uint32_t colour, int alpha) {
  return colour | static_cast<std::uint32_t>(alpha) << (kind == MEMIMG_KIND_16BIT ? 16 : 24);
}

constexpr std::uint32_t kGreenKey32 = 0x0000FF00;
constexpr std::uint32_t kGreenKey16 = 0x07E0;

struct Scene {
  explicit Scene(int kind)
      : kind(kind),
        target(192, 128, kind),
        disc(40, 40, kind, 0, 1, 0, 1),
        diamond(32, 32, kind, 0, 0, kind == MEMIMG_KIND_16BIT ? kGreenKey16 : kGreenKey32, 1),
        stripes(24, 24, kind, 1, 0, 0, 1),
        graph(32, 32, MEMIMG_KIND_BYTE) {
    for (int y = 0; y < 128; ++y)
      for (int x = 0; x < 192; ++x) target.Set(x, y, Colour(kind, x * 255 / 191, y * 2, ((x / 16 + y / 16) % 2) ? 200 : 90));
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) {
        const double r = std::hypot(x - 19.5, y - 19.5);
        const int alpha = r >= 19 ? 0 : r <= 8 ? 255 : static_cast<int>(255 * (19 - r) / 11);
        disc.Set(x, y, WithAlpha(kind, Colour(kind, 255, 120 + y * 3, 40), alpha));
      }
    }
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        const bool inside = std::abs(x - 16) + std::abs(y - 16) < 15;
        diamond.Set(x, y, inside ? Colour(kind, 30, 90 + x * 5, 255 - y * 4) : diamond->transparentColor);
        graph.Set(x, y, static_cast<std::uint32_t>(x * 255 / 31));
      }
    }
    const int palette[8][3] = {{0, 0, 0},     {255, 255, 255}, {255, 0, 0},   {0, 0, 255},
                               {255, 255, 0}, {0, 255, 255},   {255, 0, 255}, {128, 128, 128}};
    for (int i = 0; i < 8; ++i) stripes.SetPaletteEntry(i, Colour(kind, palette[i][0], palette[i][1], palette[i][2]));
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x) stripes.Set(x, y, (x + y) % 12 < 2 ? 0 : 1 + (x / 4 + y / 6) % 7);
    for (TestImage* img : {&disc, &diamond, &stripes}) img->BuildRunTable();
    MakeBlendRampTable(nullptr, 100, 255);
  }

  void Draw(int mode) {
    const SoftDrawState state = MakeState(mode, mode == 0 || mode == 4 ? 255 : 160, 0xFFFFFF, 1);
    SoftDrawState tinted = state;
    tinted.tint = 0x60A0FF;  // red 96, green 160, blue 255
    BlitMemImgKernels(target.get(), disc.get(), 10, 10, 1, nullptr, state);
    BlitMemImgKernels(target.get(), disc.get(), -15, 80, 1, nullptr, state);
    BlitMemImgKernels(target.get(), diamond.get(), 60, 10, 1, nullptr, state);
    const RECT enlarged{60, 60, 124, 124};
    BlitMemImgScaledKernels(target.get(), diamond.get(), &enlarged, 1, nullptr, state);
    BlitMemImgKernels(target.get(), stripes.get(), 130, 10, 1, nullptr, tinted);
    const RECT mirrored{210, 44, 150, 104};
    BlitMemImgScaledKernels(target.get(), disc.get(), &mirrored, 1, nullptr, state);
    BlitMemImgKernels(target.get(), diamond.get(), 128, 88, 1, graph.get(), state);
  }

  int kind;
  TestImage target, disc, diamond, stripes, graph;
};

class GoldenScene : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(GoldenScene, MatchesThePicture) {
  const auto [kind, mode] = GetParam();
  Scene scene(kind);
  scene.Draw(mode);
  const std::vector<std::uint8_t> picture = EncodeBmp(*scene.target.get());
  const std::string path = std::string(SOFTRENDER_GOLDEN_DIR) + "/scene" + (kind ? "32" : "565") + "_mode" +
                           std::to_string(mode) + ".bmp";
  if (std::getenv("VANTOREL_UPDATE_GOLDEN") != nullptr) {
    ASSERT_TRUE(WriteFileBytes(path, picture)) << path;
    return;
  }
  std::vector<std::uint8_t> golden;
  ASSERT_TRUE(ReadFileBytes(path, &golden)) << path;
  EXPECT_TRUE(golden == picture) << path << " differs from the drawn scene";
}

INSTANTIATE_TEST_SUITE_P(EveryModeAndKind, GoldenScene,
                         ::testing::Combine(::testing::Values(MEMIMG_KIND_16BIT, MEMIMG_KIND_32BIT),
                                            ::testing::Values(0, 1, 2, 3, 4)));

}  // namespace
