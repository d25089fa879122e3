// Copies of the draw target into texture graphs: the pixels reach every piece, and the
// way of copying that worked is remembered for each alpha kind on its own.
#include <gtest/gtest.h>

#include <string>

#include "graphics/d3d_device.h"
#include "graphics/draw_entry_points.h"
#include "graphics/draw_state.h"
#include "graphics_fixture.h"

namespace {

constexpr int kPlain = 0;
constexpr int kWithAlpha = 1;

std::uint32_t StripeColour(int i) { return static_cast<std::uint32_t>(i * 6) << 16 | 0x8000u | (255 - i * 6); }

class ScreenToTextureTest : public GraphicsTest {
 protected:
  void SetUp() override {
    Start(32, 1, demo_scene::kHardwarePath);
    ASSERT_NE(GetCurrentD3DDeviceRecord(), nullptr);
    SetDrawTarget(kDrawTargetBackScreen);
  }
  // A texture graph without alpha test or alpha channel, or with an alpha channel.
  static int MakeTextureGraph(int width, int height, int alphaKind) {
    const int keptAlphaTest = DrawState.newGraphAlphaTest;
    DrawState.newGraphAlphaTest = 0;
    const int graph = CreateBlankGraph(width, height, 1, alphaKind == kWithAlpha ? 1 : 0, 0);
    DrawState.newGraphAlphaTest = keptAlphaTest;
    return graph;
  }
  int CountInLog(const std::string& text) const {
    const std::string log = Log();
    int count = 0;
    for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++count;
    return count;
  }
};

}  // namespace

TEST_F(ScreenToTextureTest, ACopyReachesEveryPieceOfTheGraph) {
  const int graph = MakeTextureGraph(640, 16, kPlain);
  ASSERT_GE(graph, 0);
  ASSERT_EQ(GetGraphRecord(graph)->pieceCount, 2);  // as wide as the screen: 512 + 128
  for (int i = 0; i < 40; ++i) {
    const std::uint32_t c = StripeColour(i);
    DrawRect(i * 16, 0, i * 16 + 16, 16, MakeScreenColor(c >> 16, c >> 8 & 0xFF, c & 0xFF), 1);
  }
  ASSERT_EQ(CopyDrawTargetToGraph(0, 0, 640, 16, graph, 1), 0);
  EXPECT_EQ(GetRememberedScreenCopyMethod(kPlain), 0);  // the first way worked
  ClearDrawTarget();
  ASSERT_EQ(DrawGraphAt(0, 100, graph, 0), 0);
  EndDeviceScene();
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(TargetPixel(i * 16 + 8, 108) & 0xFFFFFF, StripeColour(i)) << "stripe " << i;
  }
}

TEST_F(ScreenToTextureTest, AWayThatFailedIsPassedOverForItsAlphaKindOnly) {
  const int plain = MakeTextureGraph(32, 32, kPlain);
  const int withAlpha = MakeTextureGraph(32, 32, kWithAlpha);
  ASSERT_GE(plain, 0);
  ASSERT_GE(withAlpha, 0);
  DrawRect(0, 0, 32, 32, MakeScreenColor(10, 20, 30), 1);

  // The work surface cannot be locked once: the first way fails, the BltFast way works.
  DDrawTestFailCall(DDrawTestCall::Lock, 0, 1, DDERR_SURFACEBUSY, DDSCAPS_OFFSCREENPLAIN);
  ASSERT_EQ(CopyDrawTargetToGraph(0, 0, 32, 32, plain, 1), 0);
  EXPECT_EQ(CountInLog("ScreenToTextureMethod5"), 1);
  EXPECT_EQ(GetRememberedScreenCopyMethod(kPlain), 1);
  EXPECT_EQ(GetRememberedScreenCopyMethod(kWithAlpha), -1);

  ASSERT_EQ(CopyDrawTargetToGraph(0, 0, 32, 32, withAlpha, 1), 0);
  EXPECT_EQ(GetRememberedScreenCopyMethod(kWithAlpha), 0);

  // The next copy of a plain graph goes the remembered way first: no new failure.
  DDrawTestFailCall(DDrawTestCall::Lock, 0, 1, DDERR_SURFACEBUSY, DDSCAPS_OFFSCREENPLAIN);
  ASSERT_EQ(CopyDrawTargetToGraph(0, 0, 32, 32, plain, 1), 0);
  EXPECT_EQ(CountInLog("ScreenToTextureMethod5"), 1);
  DDrawTestFailCall(DDrawTestCall::Lock, 0, 0, DD_OK);

  // Larger than the graph: every way refuses, and nothing is remembered.
  EXPECT_EQ(CopyDrawTargetToGraph(0, 0, 64, 32, plain, 1), -1);
  EXPECT_EQ(GetRememberedScreenCopyMethod(kPlain), -1);
}

TEST_F(ScreenToTextureTest, WhenTheDirectDrawWaysFailTheGdiWaysCopy) {
  const int withAlpha = MakeTextureGraph(32, 32, kWithAlpha);
  ASSERT_GE(withAlpha, 0);
  DrawRect(0, 0, 32, 32, MakeScreenColor(10, 20, 30), 1);
  // The work surface cannot be locked and BltFast refuses the alpha texture's format:
  // the GDI copy through a work texture (whose alpha is made opaque) is next.
  DDrawTestFailCall(DDrawTestCall::Lock, 0, 1, DDERR_SURFACEBUSY, DDSCAPS_OFFSCREENPLAIN);
  ASSERT_EQ(CopyDrawTargetToGraph(0, 0, 32, 32, withAlpha, 1), 0);
  EXPECT_EQ(GetRememberedScreenCopyMethod(kWithAlpha), 2);
  EXPECT_EQ(CountInLog("ScreenToTextureMethod1"), 1);
  ClearDrawTarget();
  ASSERT_EQ(DrawGraphAt(100, 100, withAlpha, 0), 0);
  EXPECT_EQ(TargetPixel(116, 116) & 0xFFFFFF, 0x0A141Eu);
}
