// The demo scene saved by SaveScreenToBmp equals its golden picture exactly, on
// every drawing path of a 32-bit and of a 16-bit screen: golden/demoBITS.bmp for the
// software renderer (on surfaces or in-memory images), golden/demoBITS-device.bmp for
// the device.
#include <gtest/gtest.h>

#include <string>

#include "graphics_fixture.h"

namespace {

class DemoGolden : public GraphicsTest, public ::testing::WithParamInterface<GoldenCase> {};

}  // namespace

TEST_P(DemoGolden, SceneMatchesTheGoldenPicture) {
  const GoldenCase& c = GetParam();
  if (c.windowed && c.bits == 16) DDrawTestFakeDesktop(1024, 768, 16);
  ASSERT_TRUE(demo_scene::WriteTileSheet(demo_scene::kSheetName));
  Start(c.bits, c.windowed, c.path);
  int tiles[demo_scene::kTileCount];
  ASSERT_EQ(demo_scene::LoadTiles(tiles), 0);
  ASSERT_EQ(demo_scene::DrawScene(tiles), 0);
  ASSERT_EQ(SaveScreenToBmp(0, 0, demo_scene::kScreenWidth, demo_scene::kScreenHeight, "scene.bmp"), 0);
  const std::string name = "demo" + std::to_string(c.bits) + (c.path == demo_scene::kHardwarePath ? "-device" : "");
  const std::string golden = ReadGoldenPicture(name);
  ASSERT_FALSE(golden.empty());
  EXPECT_TRUE(scratch_.Read("scene.bmp") == golden) << "the scene differs from golden/" << name << ".bmp";
  EXPECT_EQ(PresentScreen(), 0);
}

INSTANTIATE_TEST_SUITE_P(Paths, DemoGolden,
                         ::testing::Values(GoldenCase{"Window32", 32, 1, 0}, GoldenCase{"WindowSoftware32", 32, 1, 1},
                                           GoldenCase{"FullScreen32", 32, 0, 0},
                                           GoldenCase{"FullScreenSoftware32", 32, 0, 1},
                                           GoldenCase{"FullScreen16", 16, 0, 0},
                                           GoldenCase{"FullScreenSoftware16", 16, 0, 1},
                                           GoldenCase{"Window16", 16, 1, 0}, GoldenCase{"Device32", 32, 1, 2},
                                           GoldenCase{"DeviceFullScreen32", 32, 0, 2},
                                           GoldenCase{"DeviceFullScreen16", 16, 0, 2},
                                           GoldenCase{"DeviceWindow16", 16, 1, 2}),
                         GoldenCaseName);
