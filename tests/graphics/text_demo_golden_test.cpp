// The fonts' demo scene saved by SaveScreenToBmp equals its golden picture exactly on
// every drawing path of a 32-bit and a 16-bit screen (the pictures were looked at: the
// Japanese text is legible).
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
  const std::string golden = ReadGoldenPicture("text" + std::to_string(c.bits));
  ASSERT_FALSE(golden.empty());
  EXPECT_TRUE(scratch_.Read("text.bmp") == golden) << "the scene differs from golden/text" << c.bits << ".bmp";
}

INSTANTIATE_TEST_SUITE_P(Paths, TextDemoGolden,
                         ::testing::Values(GoldenCase{"Window32", 32, 1, 0}, GoldenCase{"WindowSoftware32", 32, 1, 1},
                                           GoldenCase{"FullScreen32", 32, 0, 0},
                                           GoldenCase{"FullScreen16", 16, 0, 0},
                                           GoldenCase{"FullScreenSoftware16", 16, 0, 1},
                                           GoldenCase{"Window16", 16, 1, 0}),
                         GoldenCaseName);
