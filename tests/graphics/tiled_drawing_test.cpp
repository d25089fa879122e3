// A dense scene (hundreds of overlapping sprites, plain, turned, scaled and mirrored, in
// every blend mode, with boxes, lines and text between them) drawn in tiles by 1, 3 and
// 8 threads leaves every byte the serial drawing leaves, on both drawing paths.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "../support/draw_threads.h"
#include "graphics_fixture.h"

namespace {

int DrawDenseScene(int tiles[demo_scene::kTileCount]) {
  SetDrawTarget(kDrawTargetBackScreen);
  SetBlendMode(0, 0);
  ClearDrawTarget();
  std::mt19937 rng(2024);
  auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (int i = 0; i < 900; ++i) {
    const int x = below(760) - 60, y = below(600) - 60;
    const int mode = below(5);
    SetBlendMode(mode, mode == 0 ? 0 : 40 + below(216));
    const int tile = tiles[below(demo_scene::kTileCount)];
    const std::uint32_t colour = MakeScreenColor(below(256), below(256), below(256));
    int result = 0;
    switch (below(8)) {
      case 0: result = DrawGraphAt(x, y, tile, 1); break;
      case 1: result = DrawGraphMirrored(x, y, tile, 1); break;
      case 2:
      case 3:
        result = DrawGraphRotated(x, y, 0.5 + below(40) / 8.0, below(628) / 100.0, tile, below(2), below(4) == 0);
        break;
      case 4: result = DrawGraphStretched(x, y, x + below(300) - 100, y + below(200) - 60, tile, 1); break;
      case 5: result = DrawRect(x, y, x + below(200), y + below(150), colour, below(3) != 0); break;
      case 6:  // slanted, level and upright
        result = i % 3 == 0   ? DrawLineSegment(x, y, below(640), below(480), colour)
                 : i % 3 == 1 ? DrawLineSegment(x, y, x + below(500) - 250, y, colour)
                              : DrawLineSegment(x, y, x, y + below(400) - 200, colour);
        break;
      default:
        if (i % 3 == 0) result = DrawTextAt(x, y, "TILES 0123", colour, MakeScreenColor(0, 0, 0));
        break;
    }
    if (result != 0 && result != -1) return result;
  }
  SetBlendMode(0, 0);
  return 0;
}

class TiledDrawingTest : public GraphicsTest, public ::testing::WithParamInterface<int> {
 protected:
  // The scene's picture as drawn at the draw-thread count in force.
  std::string Picture() {
    SetHardwareRenderFlag(GetParam() == demo_scene::kHardwarePath ? 1 : 0);  // the flag outlives the library
    EXPECT_TRUE(demo_scene::WriteTileSheet(demo_scene::kSheetName));
    Start(32, 1, GetParam());
    int tiles[demo_scene::kTileCount];
    EXPECT_EQ(demo_scene::LoadTiles(tiles), 0);
    EXPECT_EQ(DrawDenseScene(tiles), 0);
    EXPECT_EQ(SaveScreenToBmp(0, 0, demo_scene::kScreenWidth, demo_scene::kScreenHeight, "dense.bmp"), 0);
    demo_scene::EndGraphics();
    started_ = false;
    return scratch_.Read("dense.bmp");
  }
};

TEST_P(TiledDrawingTest, TilesLeaveTheSerialDrawingsEveryByte) {
  const std::string serial = ExpectTilesMatchTheSerialDrawing([this] { return Picture(); }, "dense scene");
  ASSERT_GT(serial.size(), 54u + 640u * 480u * 3u - 1u);
  // The scene covers the screen: few pixels keep the cleared black.
  std::size_t black = 0;
  for (std::size_t i = 54; i + 2 < serial.size(); i += 3) black += (serial[i] | serial[i + 1] | serial[i + 2]) == 0;
  EXPECT_LT(black, 640u * 480u / 5);
}

INSTANTIATE_TEST_SUITE_P(Paths, TiledDrawingTest,
                         ::testing::Values(demo_scene::kSoftwarePath, demo_scene::kHardwarePath),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param == demo_scene::kSoftwarePath ? std::string("Software")
                                                                          : std::string("Device");
                         });

// The software screen cleared over a full picture, in tiles or at once: the same bytes,
// and only the box drawn after the clear is left lit. The depth twin holds the
// farthest depth after each clear, also when its pixels changed since the last one.
TEST_F(GraphicsTest, SoftwareClearsLeaveTheScreenAndDepthAsTheSerialClear) {
  const std::string serial = ExpectTilesMatchTheSerialDrawing(
      [this] {
        SetHardwareRenderFlag(0);
        Start(32, 1, demo_scene::kSoftwarePath);
        SetDrawTarget(kDrawTargetBackScreen);
        MEMIMG& depth = ScreenSurfaces.zTwin;
        for (int round = 0; round < 2; ++round) {
          const RECT scribbled{3, 5, 40, 9};
          FillMemImgRect(&depth, &scribbled, 0x1234);
          EXPECT_EQ(DrawRect(0, 0, 640, 480, MakeScreenColor(255, 255, 255), 1), 0);
          EXPECT_EQ(ClearDrawTarget(), 0);
          const auto* bytes = static_cast<const std::uint8_t*>(depth.pixels);
          int notFarthest = 0;
          for (int i = 0; i < depth.pitch * depth.height; i += 2) {
            notFarthest += i % depth.pitch < 2 * depth.width && (bytes[i] & bytes[i + 1]) != 0xFF;
          }
          EXPECT_EQ(notFarthest, 0) << "round " << round;
        }
        EXPECT_EQ(DrawRect(100, 100, 120, 130, MakeScreenColor(255, 0, 0), 1), 0);
        EXPECT_EQ(SaveScreenToBmp(0, 0, 640, 480, "cleared.bmp"), 0);
        demo_scene::EndGraphics();
        started_ = false;
        return scratch_.Read("cleared.bmp");
      },
      "cleared screen");
  std::size_t lit = 0;
  for (std::size_t i = 54; i + 2 < serial.size(); i += 3) lit += (serial[i] | serial[i + 1] | serial[i + 2]) != 0;
  EXPECT_EQ(lit, 20u * 30u);
}

}  // namespace
