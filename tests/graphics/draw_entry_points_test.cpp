// The drawing entry points' own arithmetic: mirrored draws, part-of-graph draws, the
// front screen in a window, and the refusal of a too-small blend graph.
#include <gtest/gtest.h>

#include "graphics/draw_entry_points.h"
#include "graphics/draw_state.h"
#include "graphics_fixture.h"

namespace {

// A 4 x 4 picture whose pixel (x, y) has blue x + 4y + 1 and red 0x40.
std::uint32_t Numbered(int x, int y) { return 0x400000u | static_cast<std::uint32_t>(x + 4 * y + 1); }

}  // namespace

TEST_F(GraphicsTest, MirroredDrawsAreStretchedDrawsTurnedAround) {
  Start();
  WriteFile("n.bmp", MakeBmp(4, 4, Numbered));
  const int graph = LoadGraphFile("n.bmp");
  SetDrawTarget(kDrawTargetBackScreen);
  ASSERT_EQ(DrawGraphMirrored(10, 20, graph, 0), 0);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(TargetPixel(10 + x, 20 + y) & 0xFFFFFF, Numbered(3 - x, y));
  }
  EXPECT_EQ(DrawGraphMirrored(0, 0, 0x08004444, 0), -1);
}

TEST_F(GraphicsTest, SubRectDrawsShowTheSameWindowMirroredOrNot) {
  Start();
  WriteFile("n.bmp", MakeBmp(4, 4, Numbered));
  const int graph = LoadGraphFile("n.bmp");
  SetDrawTarget(kDrawTargetBackScreen);
  const RECT clip = DrawState.clip;
  ASSERT_EQ(DrawGraphSubRect(50, 60, 1, 2, 2, 2, graph, 0, 0), 0);
  ASSERT_EQ(DrawGraphSubRect(80, 60, 1, 2, 2, 2, graph, 0, 1), 0);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 2; ++x) {
      EXPECT_EQ(TargetPixel(50 + x, 60 + y) & 0xFFFFFF, Numbered(1 + x, 2 + y));
      EXPECT_EQ(TargetPixel(80 + x, 60 + y) & 0xFFFFFF, Numbered(2 - x, 2 + y));
    }
  }
  EXPECT_EQ(TargetPixel(49, 60) & 0xFFFFFF, 0u);
  EXPECT_EQ(TargetPixel(52, 60) & 0xFFFFFF, 0u);
  EXPECT_EQ(TargetPixel(50, 62) & 0xFFFFFF, 0u);
  EXPECT_EQ(DrawState.clip.right, clip.right);  // the clip is back

  // Part (1, 1, 2, 2) scaled twice into (100, 100)-(104, 104).
  ASSERT_EQ(DrawGraphSubRectStretched(100, 100, 104, 104, 1, 1, 2, 2, graph, 0), 0);
  EXPECT_EQ(TargetPixel(100, 100) & 0xFFFFFF, Numbered(1, 1));
  EXPECT_EQ(TargetPixel(103, 103) & 0xFFFFFF, Numbered(2, 2));
  EXPECT_EQ(TargetPixel(104, 104) & 0xFFFFFF, 0u);
  EXPECT_EQ(DrawGraphSubRectStretched(0, 0, 4, 4, 0, 0, 0, 2, graph, 0), 0);  // no source: nothing
}

TEST_F(GraphicsTest, ABlendGraphSmallerThanTheGraphRefusesTheDraw) {
  Start();
  WriteFile("wide.bmp", MakeBmp(64, 16, [](int, int) { return 0x808080u; }));
  WriteFile("square.bmp", MakeBmp(32, 32, [](int, int) { return 0x808080u; }));
  const int wide = LoadGraphFile("wide.bmp");
  const int square = LoadGraphFile("square.bmp");
  SetDrawTarget(kDrawTargetBackScreen);
  ASSERT_EQ(SetBlendGraph(square, 0, 0), 0);
  EXPECT_EQ(DrawGraphAt(0, 0, wide, 0), -1);
  SetBlendGraph(-1, 0, 0);
  EXPECT_EQ(DrawGraphAt(0, 0, wide, 0), 0);
}

TEST_F(GraphicsTest, TheFrontScreenOfAWindowIsDrawnAndSavedAtTheClientArea) {
  Start(32, 1, 0);
  int client[4];
  GetClientAreaSize(client);
  ASSERT_GT(client[0], 4);  // the window does not sit at the desktop's corner
  SetDrawTarget(kDrawTargetFrontScreen);
  EXPECT_EQ(DrawState.drawingOrigin.left, client[0]);
  EXPECT_EQ(DrawState.drawingOrigin.top, client[1]);
  DrawRect(0, 0, 4, 4, MakeScreenColor(0, 0, 255), 1);
  DDrawTestImage primary;
  ASSERT_TRUE(DDrawTestReadPrimary(&primary));
  EXPECT_EQ(primary.pixels[(client[1] + 1) * primary.width + client[0] + 1], 0x0000FFu);
  EXPECT_NE(primary.pixels[1 * primary.width + 1], 0x0000FFu);
  ASSERT_EQ(SaveScreenToBmp(0, 0, 1, 1, "front.bmp"), 0);
  const std::string file = scratch_.Read("front.bmp");
  ASSERT_EQ(file.size(), 58u);
  EXPECT_EQ(static_cast<unsigned char>(file[54]), 255);  // blue
  EXPECT_EQ(static_cast<unsigned char>(file[56]), 0);
}

TEST_F(GraphicsTest, SoftwareDrawingIntoTheFrontScreenShowsAtOnce) {
  Start(32, 1, 1);
  SetDrawTarget(kDrawTargetFrontScreen);
  DrawRect(5, 5, 9, 9, MakeScreenColor(255, 0, 0), 1);
  DDrawTestImage primary;
  ASSERT_TRUE(DDrawTestReadPrimary(&primary));
  int client[4];
  GetClientAreaSize(client);
  EXPECT_EQ(primary.pixels[(client[1] + 6) * primary.width + client[0] + 6], 0xFF0000u);
}

class DrawTargetCopy : public GraphicsTest, public ::testing::WithParamInterface<int> {};

TEST_P(DrawTargetCopy, ARectangleOfTheTargetBecomesTheGraphsPixels) {
  Start(32, 1, GetParam());
  WriteFile("n.bmp", MakeBmp(4, 4, Numbered));
  const int source = LoadGraphFile("n.bmp");
  const int copy = CreateBlankGraph(4, 4, 1, 0, 0);
  SetDrawTarget(kDrawTargetBackScreen);
  DrawGraphAt(30, 40, source, 0);
  EXPECT_EQ(CopyDrawTargetToGraph(30, 40, 35, 44, copy, 0), -1);  // larger than the graph
  EXPECT_EQ(CopyDrawTargetToGraph(-1, 40, 3, 44, copy, 0), -1);   // off the target
  ASSERT_EQ(CopyDrawTargetToGraph(30, 40, 34, 44, copy, 0), 0);
  DrawGraphAt(200, 100, copy, 0);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(TargetPixel(200 + x, 100 + y) & 0xFFFFFF, Numbered(x, y));
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, DrawTargetCopy, ::testing::Values(0, 1));
