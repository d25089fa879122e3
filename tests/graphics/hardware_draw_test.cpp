// The hardware drawing routines on the Direct3D stand-in: what they put into the
// vertex batch, what reaches the device, and where the pixels land.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "graphics/d3d_device.h"
#include "graphics/draw_entry_points.h"
#include "graphics/draw_state.h"
#include "graphics/surface_3d_data.h"
#include "graphics/surface_data.h"
#include "graphics_fixture.h"

namespace {

// A 16 x 16 picture whose every pixel differs: red 16x, green 16y, blue 0x40.
std::uint32_t Numbered(int x, int y) {
  return static_cast<std::uint32_t>(x * 16) << 16 | static_cast<std::uint32_t>(y * 16) << 8 | 0x40u;
}

std::vector<D3DTestCallRecord> DrawPrimitiveCalls() {
  std::vector<D3DTestCallRecord> calls = D3DTestCallLog();
  calls.erase(std::remove_if(calls.begin(), calls.end(),
                             [](const D3DTestCallRecord& r) { return r.call != D3DTestCall::DrawPrimitive; }),
              calls.end());
  return calls;
}

class HardwareDrawTest : public GraphicsTest {
 protected:
  void SetUp() override {
    Start(32, 1, demo_scene::kHardwarePath);
    ASSERT_NE(GetCurrentD3DDeviceRecord(), nullptr) << "the device path is the default";
    SetDrawTarget(kDrawTargetBackScreen);
    WriteFile("n.bmp", MakeBmp(16, 16, Numbered));
    graph_ = LoadGraphFile("n.bmp");
    ASSERT_GE(graph_, 0);
    EndDeviceScene();
  }
  const D3DDeviceRecord& Device() const { return *GetCurrentD3DDeviceRecord(); }
  std::uint32_t Rgb(int x, int y) const { return TargetPixel(x, y) & 0xFFFFFF; }
  float TextureWidth() const {
    const Surface3DData* piece = GetSurface3DData(GetGraphRecord(graph_)->pieces[0]);
    return static_cast<float>(GetSurfaceDataRecord(piece->surfaceData)->width);
  }

  int graph_ = -1;
};

}  // namespace

TEST_F(HardwareDrawTest, TwoDrawsOfOneGraphReachTheDeviceAsOneBatch) {
  D3DTestRecordCalls(true);
  ASSERT_EQ(DrawGraphAt(10, 10, graph_, 0), 0);
  ASSERT_EQ(DrawGraphAt(40, 10, graph_, 0), 0);
  EXPECT_EQ(Device().vertexCount, 12);
  EndDeviceScene();
  const std::vector<D3DTestCallRecord> draws = DrawPrimitiveCalls();
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].arguments[0], D3DPT_TRIANGLELIST);
  EXPECT_EQ(draws[0].arguments[2], 12u);
  EXPECT_EQ(Rgb(45, 13), Numbered(5, 3));
}

TEST_F(HardwareDrawTest, AGraphOverTheClipEdgeIsCutWithItsPixelsInPlace) {
  SetClipRect(20, 20, 100, 100);
  ASSERT_EQ(DrawGraphAt(12, 14, graph_, 0), 0);
  // The top-left corner moved onto the clip corner, its texture coordinates with it.
  const TextureVertex& topLeft = Device().textureVertices[0];
  EXPECT_FLOAT_EQ(topLeft.x, 20.0f);
  EXPECT_FLOAT_EQ(topLeft.y, 20.0f);
  EXPECT_FLOAT_EQ(topLeft.u * TextureWidth(), 8.5f);  // 20 - 11.5 texels in
  EXPECT_FLOAT_EQ(topLeft.v * TextureWidth(), 6.5f);   // a square texture
  ASSERT_EQ(DrawGraphStretched(60, 14, 92, 46, graph_, 0), 0);  // twice the size, same cut
  EndDeviceScene();
  for (int y = 20; y < 30; ++y) {
    for (int x = 20; x < 28; ++x) EXPECT_EQ(Rgb(x, y), Numbered(x - 12, y - 14)) << x << "," << y;
    EXPECT_EQ(Rgb(19, y), 0u);
    EXPECT_EQ(Rgb(70, y), Numbered(5, (y - 14) / 2));
  }
  EXPECT_EQ(Rgb(20, 19), 0u);
  EXPECT_EQ(Rgb(70, 19), 0u);
}

TEST_F(HardwareDrawTest, AxisLinesEndATenthShortAndEqualEndsDrawNothing) {
  const std::uint32_t white = MakeScreenColor(255, 255, 255);
  ASSERT_EQ(DrawLineSegment(10, 10, 10, 20, white), 0);
  ASSERT_EQ(DrawLineSegment(10, 10, 20, 10, white), 0);
  const ColourVertex* ends = Device().colourVertices;
  EXPECT_FLOAT_EQ(ends[1].x, 10.0f);
  EXPECT_FLOAT_EQ(ends[1].y, 19.9f);
  EXPECT_FLOAT_EQ(ends[3].x, 19.9f);
  EXPECT_FLOAT_EQ(ends[3].y, 10.0f);
  EXPECT_EQ(DrawLineSegment(30, 30, 30, 30, white), 0);
  EXPECT_EQ(Device().vertexCount, 4);
  EndDeviceScene();
  EXPECT_EQ(Rgb(10, 19), 0xFFFFFFu);
  EXPECT_EQ(Rgb(10, 20), 0u);
  EXPECT_EQ(Rgb(19, 10), 0xFFFFFFu);
  EXPECT_EQ(Rgb(20, 10), 0u);
  EXPECT_EQ(Rgb(30, 30), 0u);
}

TEST_F(HardwareDrawTest, BoxesScaleTheTintByTheirColourAndSubtractThroughTwoInversions) {
  SetDrawTint(255, 128, 255);
  ASSERT_EQ(DrawRect(0, 0, 8, 8, MakeScreenColor(200, 200, 100), 1), 0);
  SetDrawTint(255, 255, 255);
  EndDeviceScene();
  EXPECT_EQ(Rgb(3, 3), 0xC86464u);  // 200, 200 x 128 / 255, 100

  SetBlendMode(3, 255);
  ASSERT_EQ(DrawRect(2, 2, 6, 6, MakeScreenColor(50, 60, 70), 1), 0);
  ASSERT_EQ(DrawGraphAt(4, 4, graph_, 0), 0);
  EXPECT_EQ(DrawState.blendMode, 3);
  EXPECT_EQ(DrawState.tint, 0xFFFFFFu);
  EndDeviceScene();
  EXPECT_EQ(Rgb(2, 2), 0x96281Eu);  // 200 - 50, 100 - 60, 100 - 70
  EXPECT_EQ(Rgb(5, 5), 0x861800u);  // less the graph's (16, 16, 0x40) too
  EXPECT_EQ(Rgb(10, 10), 0u);       // black stays black
}
