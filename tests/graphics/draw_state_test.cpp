// The draw state: start values, the clip rectangle and its target, the checked
// setters, and the draw target's life.
#include <gtest/gtest.h>

#include <cmath>

#include "graphics/draw_entry_points.h"
#include "graphics/draw_state.h"
#include "graphics/draw_target_transforms.h"
#include "graphics/graph_loading.h"
#include "graphics/graph_system.h"
#include "graphics_fixture.h"
#include "softrender/clip_rect.h"

namespace {

bool ClipIs(int left, int top, int right, int bottom) {
  RECT clip;
  GetClipRect(&clip);
  return clip.left == left && clip.top == top && clip.right == right && clip.bottom == bottom;
}

}  // namespace

TEST_F(GraphicsTest, StartValuesAndADitherModeChosenBeforeTheStart) {
  // Every clock read moves on 3 s: the second mode change need not wait 2 s.
  TestClockStart(1000000, 3000000);
  SetDitherMode(1);
  Start(32, 1, demo_scene::kHardwarePath);
  EXPECT_EQ(GetDitherMode(), 1);
  EXPECT_EQ(DrawState.blendGraph, -1);
  EXPECT_EQ(DrawState.depthFunction, 4);
  EXPECT_FLOAT_EQ(DrawState.vertexDepth, 0.2f);
  EXPECT_EQ(DrawState.use3DGraphs, 1);
  EXPECT_EQ(DrawState.newGraphAlphaTest, 1);
  EXPECT_EQ(DrawState.tint, 0xFFFFFFu);
  EXPECT_EQ(GetDrawTarget(), kDrawTargetFront);
  EXPECT_TRUE(ClipIs(0, 0, 640, 480));
  EXPECT_TRUE(LogHas("グラフィック管理系の初期化は正常に終了しました"));
  // A later mode change clears the state again and keeps the dither mode.
  ASSERT_EQ(SetScreenMode(800, 600, 32, 60), 0);
  EXPECT_EQ(GetDitherMode(), 1);
  EXPECT_TRUE(ClipIs(0, 0, 800, 600));
  TestClockStop();
  SetDitherMode(0);  // the mode outlives the library: later starts expect the default
}

TEST_F(GraphicsTest, ClipRectangleIsSortedAndClampedToTheTarget) {
  Start();
  SetDrawTarget(kDrawTargetBack);
  SetClipRect(300, 200, 100, 50);
  EXPECT_TRUE(ClipIs(100, 50, 300, 200));
  SetClipRect(-20, -5, 900, 700);
  EXPECT_TRUE(ClipIs(0, 0, 640, 480));
  RECT outside{700, 10, 800, 20};
  const RECT screen{0, 0, 640, 480};
  ClipRectangle(&outside, &screen);
  EXPECT_EQ(outside.left, 640);
  EXPECT_EQ(outside.right, 640);
}

TEST_F(GraphicsTest, AnEmptyClipMakesEveryDrawReturnAtOnce) {
  Start();
  SetDrawTarget(kDrawTargetBack);
  int tiles[demo_scene::kTileCount];
  ASSERT_TRUE(demo_scene::WriteTileSheet(demo_scene::kSheetName));
  ASSERT_EQ(demo_scene::LoadTiles(tiles), 0);
  SetClipRect(50, 50, 50, 200);
  EXPECT_EQ(DrawState.clipEmpty, 1);
  EXPECT_EQ(DrawRect(0, 0, 640, 480, MakeScreenColor(255, 255, 255), 1), 0);
  EXPECT_EQ(DrawGraphAt(50, 60, tiles[0], 1), 0);
  EXPECT_EQ(DrawGraphAt(50, 60, 12345, 1), 0);  // not even the handle is checked
  SetClipRect(0, 0, 640, 480);
  EXPECT_EQ(TargetPixel(50, 60) & 0xFFFFFF, 0u);
}

TEST_F(GraphicsTest, TargetsOfTheSameSizeKeepTheClipOthersResetIt) {
  Start();
  SetDrawValidGraphCreateFlag(1);
  const int small = CreateBlankGraph(100, 60, 1, 0, 0);
  const int same = CreateBlankGraph(640, 480, 1, 0, 0);
  SetDrawValidGraphCreateFlag(0);
  ASSERT_GE(small, 0);
  SetDrawTarget(kDrawTargetBack);
  SetClipRect(10, 20, 30, 40);
  SetDrawTarget(same);
  EXPECT_TRUE(ClipIs(10, 20, 30, 40));
  SetDrawTarget(small);
  EXPECT_TRUE(ClipIs(0, 0, 100, 60));
}

TEST_F(GraphicsTest, SettersCheckTheirValues) {
  Start();
  EXPECT_EQ(SetBlendMode(2, 300), 0);
  EXPECT_EQ(DrawState.blendParam, 255);
  EXPECT_EQ(SetBlendMode(2, -5), 0);
  EXPECT_EQ(DrawState.blendParam, 0);
  EXPECT_EQ(SetBlendMode(9, 10), -1);
  EXPECT_EQ(SetBlendMode(-1, 10), -1);
  EXPECT_EQ(DrawState.blendMode, 2);
  EXPECT_EQ(SetTransparentColor(0, 255, 0), 0);
  EXPECT_EQ(DrawState.transparentColor, 0x00FF00u);
  // A draw target must be a live graph.
  SetDrawTarget(kDrawTargetBack);
  EXPECT_EQ(SetDrawTarget(0x08001234), -1);
  EXPECT_EQ(SetDrawTarget(7), -1);
  EXPECT_EQ(GetDrawTarget(), kDrawTargetBack);
  EXPECT_EQ(SetBlendGraph(0x08001234, 0, 0), -1);
}

TEST_F(GraphicsTest, FreeingTheDrawTargetGoesBackToTheBackScreen) {
  Start();
  SetDrawValidGraphCreateFlag(1);
  const int canvas = CreateBlankGraph(64, 64, 1, 0, 0);
  SetDrawValidGraphCreateFlag(0);
  ASSERT_EQ(SetDrawTarget(canvas), 0);
  ASSERT_EQ(SetBlendGraph(canvas, 0, 0), 0);
  ASSERT_EQ(FreeGraph(canvas, 0), 0);
  EXPECT_EQ(GetDrawTarget(), kDrawTargetBack);
  EXPECT_EQ(DrawState.blendGraph, -1);
  EXPECT_TRUE(ClipIs(0, 0, 640, 480));
  EXPECT_EQ(DrawRect(0, 0, 10, 10, MakeScreenColor(255, 0, 0), 1), 0);
  EXPECT_EQ(TargetPixel(5, 5) & 0xFFFFFFu, 0xFF0000u);
}

TEST_F(GraphicsTest, ClearingAMemoryImageTargetIgnoresTheBlendMode) {
  Start();
  SetDrawValidGraphCreateFlag(1);
  const int canvas = CreateBlankGraph(32, 32, 1, 0, 0);
  SetDrawValidGraphCreateFlag(0);
  ASSERT_EQ(SetDrawTarget(canvas), 0);
  DrawRect(0, 0, 32, 32, MakeScreenColor(200, 100, 50), 1);
  ASSERT_NE(TargetPixel(3, 3), 0u);
  SetBlendMode(2, 128);
  EXPECT_EQ(ClearDrawTarget(), 0);
  EXPECT_EQ(TargetPixel(3, 3), 0u);
}

TEST_F(GraphicsTest, DrawingIntoADerivedGraphStaysInsideItsOwnPixels) {
  Start();
  WriteFile("sheet.bmp", MakeBmp(64, 32, [](int, int) { return 0x102030u; }));
  SetDrawValidGraphCreateFlag(1);
  int tiles[2];
  ASSERT_EQ(LoadDivGraphFile("sheet.bmp", 2, 2, 1, 32, 32, tiles), 0);
  SetDrawValidGraphCreateFlag(0);
  ASSERT_EQ(SetDrawTarget(tiles[1]), 0);
  DrawRect(0, 0, 32, 32, MakeScreenColor(255, 255, 255), 1);
  ClearDrawTarget();
  DrawRect(0, 0, 4, 4, MakeScreenColor(255, 0, 0), 1);
  EXPECT_EQ(TargetPixel(0, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(TargetPixel(10, 10) & 0xFFFFFF, 0u);
  ASSERT_EQ(SetDrawTarget(tiles[0]), 0);
  EXPECT_EQ(TargetPixel(0, 0) & 0xFFFFFF, 0x102030u);
  EXPECT_EQ(TargetPixel(31, 31) & 0xFFFFFF, 0x102030u);
}

TEST_F(GraphicsTest, DrawTargetTransformsFollowTheTargetSize) {
  Start();
  SetDrawTarget(kDrawTargetBack);
  const float* view = GetStoredTransform(1);
  EXPECT_NEAR(view[12], -320.0f, 1e-3f);
  EXPECT_NEAR(view[13], -240.0f, 1e-3f);
  EXPECT_NEAR(view[14], 415.366f, 1e-2f);
  const float* projection = GetStoredTransform(2);
  const float q = 1458.366f / (1458.366f - 45.8366f);
  EXPECT_NEAR(projection[14], -q * 45.8366f, 1e-2f);
  EXPECT_NEAR(projection[0], 0.75f * std::sqrt(3.0f), 1e-4f);
  float m[16] = {};
  EXPECT_EQ(MakePerspectiveMatrix(m, 1.0f, 5.0f, 5.0f), -1);
  EXPECT_EQ(m[0], 0.0f);
}
