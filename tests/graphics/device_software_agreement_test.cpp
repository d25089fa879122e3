// The demo scene drawn by the device agrees with the software drawing's picture
// (golden/demo32.bmp, which every software path matches exactly) wherever the two do
// the same arithmetic: exactly for sprites at a position and mirrored, boxes, grid
// lines and outlines in mode 0; within 1 per channel in modes 1 and 2, where the
// device rounds the blend to nearest once and the software blenders truncate.
//
// Known differences, outside the compared areas:
// - rotated and stretched sprites: the device samples each pixel centre through two
//   triangles, the software kernels step their own spans, so texels next to a texel
//   boundary and the sprites' edges come out one texel apart;
// - slanted lines: the device lights the pixels a line leaves, the software line
//   steps its own way;
// - blend mode 3 on the device is two inversions around an addition (a few units
//   apart from the software's scaled difference);
// - blend mode 4 on the device ignores texel alpha, so the transparent pixels of a
//   sprite multiply the destination by green.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "graphics/d3d_device.h"
#include "graphics_fixture.h"

namespace {

struct Area {
  const char* what;
  int left, top, right, bottom;
  int tolerance;  // per channel
};

// Areas of the demo scene (tools/graphics_demo_scene.h).
constexpr Area kSameArithmetic[] = {
    {"sprites at a position", 0, 12, 640, 52, 0},
    {"mirrored sprites", 0, 60, 640, 100, 0},
    {"background boxes and grid lines", 560, 100, 640, 180, 0},
    {"mode 0 sprite and box", 16, 272, 60, 336, 0},
    {"outlines", 10, 348, 200, 470, 0},
    {"mode 1 sprite and box", 140, 272, 184, 336, 1},
    {"mode 2 sprite and box", 264, 272, 308, 336, 1},
    {"alpha and add boxes", 200, 356, 390, 470, 1},
};

int ChannelDistance(std::uint32_t a, std::uint32_t b) {
  int distance = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    distance = std::max(distance, std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)));
  }
  return distance;
}

// Pixel (x, y) of a 24-bit bottom-up BMP as 0xRRGGBB.
std::uint32_t BmpPixel(const std::string& bmp, int x, int y) {
  const int width = static_cast<unsigned char>(bmp[18]) | static_cast<unsigned char>(bmp[19]) << 8;
  const int height = static_cast<unsigned char>(bmp[22]) | static_cast<unsigned char>(bmp[23]) << 8;
  const std::size_t row = (static_cast<std::size_t>(3 * width) + 3) & ~std::size_t{3};
  const std::size_t at = 54 + (static_cast<std::size_t>(height - 1 - y)) * row + 3 * static_cast<std::size_t>(x);
  return static_cast<unsigned char>(bmp[at + 2]) << 16 | static_cast<unsigned char>(bmp[at + 1]) << 8 |
         static_cast<unsigned char>(bmp[at]);
}

}  // namespace

TEST_F(GraphicsTest, DeviceAndSoftwareDrawingAgreeWhereTheirArithmeticIsTheSame) {
  ASSERT_TRUE(demo_scene::WriteTileSheet(demo_scene::kSheetName));
  Start(32, 1, demo_scene::kHardwarePath);
  ASSERT_NE(GetCurrentD3DDeviceRecord(), nullptr);
  int tiles[demo_scene::kTileCount];
  ASSERT_EQ(demo_scene::LoadTiles(tiles), 0);
  ASSERT_EQ(demo_scene::DrawScene(tiles), 0);
  ASSERT_EQ(SaveScreenToBmp(0, 0, demo_scene::kScreenWidth, demo_scene::kScreenHeight, "device.bmp"), 0);
  const std::string device = scratch_.Read("device.bmp");
  const std::string software = ReadGoldenPicture("demo32");
  ASSERT_EQ(device.size(), software.size());
  for (const Area& area : kSameArithmetic) {
    int outside = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        outside += ChannelDistance(BmpPixel(device, x, y), BmpPixel(software, x, y)) > area.tolerance;
      }
    }
    EXPECT_EQ(outside, 0) << area.what;
  }
}
