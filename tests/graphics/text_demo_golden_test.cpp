// The fonts' demo scene saved by SaveScreenToBmp equals its golden picture exactly on
// every drawing path of a 32-bit and a 16-bit screen: golden/textBITS.bmp where glyphs
// come from memory caches, golden/textBITS-device.bmp where they come from texture
// caches through the device (the pictures were looked at: the Japanese text is
// legible). The device picture equals the software one except where the two compose
// glyphs with different arithmetic (kComposedDifferently below).
#include <gtest/gtest.h>

#include <string>

#include "../../tools/text_demo_scene.h"
#include "graphics_fixture.h"

namespace {

class TextDemoGolden : public GraphicsTest, public ::testing::WithParamInterface<GoldenCase> {};

}  // namespace

TEST_P(TextDemoGolden, SceneMatchesTheGoldenPicture) {
  const GoldenCase& c = GetParam();
  if (c.windowed && c.bits == 16) DDrawTestFakeDesktop(1024, 768, 16);
  Start(c.bits, c.windowed, c.path);
  ASSERT_EQ(text_scene::DrawScene(), 0) << Log();
  ASSERT_EQ(SaveScreenToBmp(0, 0, text_scene::kScreenWidth, text_scene::kScreenHeight, "text.bmp"), 0);
  const std::string name = "text" + std::to_string(c.bits) + (c.path == demo_scene::kHardwarePath ? "-device" : "");
  const std::string golden = ReadGoldenPicture(name);
  ASSERT_FALSE(golden.empty());
  EXPECT_TRUE(scratch_.Read("text.bmp") == golden) << "the scene differs from golden/" << name << ".bmp";
}

namespace {

// Where the scene's texture-cache text differs from its memory-cache text:
// - anti-aliased glyphs: the memory path takes level l (0..15) as alpha 16 l, the
//   device widens the texture's four alpha bits to 17 l;
// - anti-aliased edged glyphs: the memory path mixes body and edge into one pixel, the
//   device blends the edge cell and then the body cell; where glyph boxes overlap, a
//   later memory glyph replaces the earlier one's pixels, a texture glyph blends over them;
// - blend modes: alpha rounding, add mode adding the edge under the body as well, and
//   subtraction through the device's two inversions.
// Plain and edged (not anti-aliased) text, tinted text, horizontal or turned, is the same.
struct SceneArea {
  const char* what;
  RECT rect;
};
constexpr SceneArea kComposedDifferently[] = {
    {"anti-aliased lines", {0, 196, 555, 262}},
    {"anti-aliased spacing line", {0, 286, 555, 312}},
    {"blended lines", {0, 336, 640, 368}},
    {"turned anti-aliased edged text", {592, 140, 640, 340}},
};

bool InsideAnArea(int x, int y) {
  for (const SceneArea& area : kComposedDifferently) {
    if (x >= area.rect.left && x < area.rect.right && y >= area.rect.top && y < area.rect.bottom) return true;
  }
  return false;
}

// Pixels of two 24-bit BMPs of the same size that differ outside the areas.
int DifferencesOutsideTheAreas(const std::string& a, const std::string& b) {
  const int width = text_scene::kScreenWidth;
  const std::size_t row = (static_cast<std::size_t>(3 * width) + 3) & ~std::size_t{3};
  int differences = 0;
  for (int y = 0; y < text_scene::kScreenHeight; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::size_t at = 54 + static_cast<std::size_t>(text_scene::kScreenHeight - 1 - y) * row + 3 * x;
      if (!InsideAnArea(x, y) && a.compare(at, 3, b, at, 3) != 0) ++differences;
    }
  }
  return differences;
}

class TextDeviceAndSoftware : public GraphicsTest, public ::testing::WithParamInterface<int> {};

}  // namespace

TEST_P(TextDeviceAndSoftware, DifferOnlyWhereTheyComposeGlyphsDifferently) {
  const int bits = GetParam();
  const std::string device = ReadGoldenPicture("text" + std::to_string(bits) + "-device");
  const std::string software = ReadGoldenPicture("text" + std::to_string(bits));
  ASSERT_EQ(device.size(), software.size());
  EXPECT_NE(device, software);
  EXPECT_EQ(DifferencesOutsideTheAreas(device, software), 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, TextDeviceAndSoftware, ::testing::Values(32, 16));

INSTANTIATE_TEST_SUITE_P(Paths, TextDemoGolden,
                         ::testing::Values(GoldenCase{"Window32", 32, 1, 0}, GoldenCase{"WindowSoftware32", 32, 1, 1},
                                           GoldenCase{"WindowDevice32", 32, 1, 2},
                                           GoldenCase{"FullScreen32", 32, 0, 0},
                                           GoldenCase{"FullScreenDevice32", 32, 0, 2},
                                           GoldenCase{"FullScreen16", 16, 0, 0},
                                           GoldenCase{"FullScreenSoftware16", 16, 0, 1},
                                           GoldenCase{"FullScreenDevice16", 16, 0, 2},
                                           GoldenCase{"Window16", 16, 1, 0}, GoldenCase{"WindowDevice16", 16, 1, 2}),
                         GoldenCaseName);
