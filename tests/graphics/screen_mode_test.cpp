// Headless start of the screen in window mode and full screen at 32 and 16 bits,
// the software fall-back when DirectDraw fails, and the mode change's refusals.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <string>

#include "graphics_fixture.h"

namespace {

struct StartCase {
  const char* name;
  int bits;
  int windowed;
  int path;  // demo_scene::DrawPath
  const char* modeLine;
  const char* masksLine;
  const char* placementLine;
};

class ScreenStart : public GraphicsTest, public ::testing::WithParamInterface<StartCase> {};

constexpr char kMasks32[] = "A:00000000  B:00ff0000  G:0000ff00  B:000000ff";
constexpr char kMasks565[] = "A:00000000  B:0000f800  G:000007e0  B:0000001f";

}  // namespace

TEST_P(ScreenStart, StartsWithTheExpectedLogLines) {
  const StartCase& c = GetParam();
  if (c.windowed && c.bits == 16) DDrawTestFakeDesktop(1024, 768, 16);
  Start(c.bits, c.windowed, c.path);
  EXPECT_EQ(ScreenMode.width, 640);
  EXPECT_EQ(ScreenMode.height, 480);
  EXPECT_EQ(ScreenMode.bits, c.bits);
  EXPECT_EQ(IsSoftwareRenderMode(), c.path == demo_scene::kSoftwarePath ? 1 : 0);
  for (const char* line : {"DirectDraw 関連の初期化を行います", "DirectDraw オブジェクトの取得を行います....  成功",
                           "画面モード変更処理を開始します", "画面モードの変更処理を開始します 640 x 480  ", c.modeLine,
                           "カラー情報", c.masksLine, "出力画面用の DirectDrawSurface を作成します", c.placementLine,
                           c.path == demo_scene::kHardwarePath ? "Direct3D 関連の初期化は正常に終了しました"
                                                               : "DirectDraw 関連の初期化を行います",
                           "グラフィック管理系の初期化は正常に終了しました",
                           "画面モード変更処理は正常に終了しました", "オーバーレイサーフェスは使用しません",
                           "DirectDraw 関連の初期化は正常に終了しました"}) {
    EXPECT_TRUE(LogHas(line)) << line;
  }
  demo_scene::EndGraphics();
  started_ = false;
  EXPECT_TRUE(LogHas("DirectDraw 関連の終了処理は正常に終了しました"));
  EXPECT_EQ(GetDirectDrawObject(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ScreenStart,
    ::testing::Values(
        StartCase{"Window32", 32, 1, demo_scene::kHardwarePath, "ウインドウモードにします", kMasks32, "PrimaryBuffer : VIDEOMEMORY"},
        StartCase{"FullScreen32", 32, 0, demo_scene::kHardwarePath, "画面解像度を変更します... 成功しました", kMasks32,
                  "BaskBuffer : VIDEOMEMORY"},
        StartCase{"FullScreen16", 16, 0, demo_scene::kHardwarePath, "画面解像度を変更します... 成功しました", kMasks565,
                  "PrimaryBuffer : VIDEOMEMORY"},
        StartCase{"Window16", 16, 1, demo_scene::kHardwarePath, "ウインドウモードにします", kMasks565, "PrimaryBuffer : VIDEOMEMORY"},
        StartCase{"Software32", 32, 1, 1, "ウインドウモードにします", kMasks32, "PrimaryBuffer : SYSTEMMEMORY( MEMIMG )"},
        StartCase{"Software16", 16, 0, 1, "画面解像度を変更します... 成功しました", kMasks565,
                  "BaskBuffer : SYSTEMMEMORY( MEMIMG )"}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

TEST_F(GraphicsTest, ADirectDrawFailureFallsBackToSoftwareDrawing) {
  // The screen's Z buffer cannot be made: the DirectDraw screens fail.
  DDrawTestFailCall(DDrawTestCall::CreateSurface, 0, 1, DDERR_OUTOFVIDEOMEMORY, DDSCAPS_ZBUFFER);
  ASSERT_TRUE(demo_scene::WriteTileSheet(demo_scene::kSheetName));
  TestClockStart(1000000, 3000000);  // the second start need not wait for the first
  Start(32, 1, 0);
  TestClockStop();
  EXPECT_TRUE(LogHas("Ｚバッファの作成に失敗しました"));
  EXPECT_TRUE(LogHas("DirectDrawSurface の初期化に失敗しました"));
  EXPECT_TRUE(LogHas("ソフトウエアレンダリングモードに変更します"));
  EXPECT_TRUE(LogHas("PrimaryBuffer : SYSTEMMEMORY( MEMIMG )"));
  EXPECT_EQ(IsSoftwareRenderMode(), 1);
  int tiles[demo_scene::kTileCount];
  ASSERT_EQ(demo_scene::LoadTiles(tiles), 0);
  ASSERT_EQ(demo_scene::DrawScene(tiles), 0);
  ASSERT_EQ(SaveScreenToBmp(0, 0, 640, 480, "scene.bmp"), 0);
  std::ifstream golden(std::string(GRAPHICS_GOLDEN_DIR) + "/demo32.bmp", std::ios::binary);
  EXPECT_TRUE(scratch_.Read("scene.bmp") ==
              std::string(std::istreambuf_iterator<char>(golden), std::istreambuf_iterator<char>()));
}

TEST_F(GraphicsTest, SetScreenModeRefusesBadSizesAndDepths) {
  // Every clock read moves on 3 s: mode changes need not wait for each other.
  TestClockStart(1000000, 3000000);
  Start(32, 0, 0);
  for (const auto& mode : {std::array<int, 4>{-5, 480, 32, 60}, std::array<int, 4>{640, 0, 32, 60},
                           std::array<int, 4>{640, -2, 32, 60}, std::array<int, 4>{640, 480, 15, 60},
                           std::array<int, 4>{640, 480, 32, -3}, std::array<int, 4>{9000, 480, 32, 60}}) {
    EXPECT_EQ(SetScreenMode(mode[0], mode[1], mode[2], mode[3]), -1) << mode[0] << " " << mode[1] << " " << mode[2];
  }
  EXPECT_EQ(ScreenMode.width, 640);
  EXPECT_EQ(ScreenMode.bits, 32);
  // 24 bits is refused by the display and the old mode stays.
  EXPECT_EQ(SetScreenMode(800, 600, 24, 60), -1);
  EXPECT_EQ(ScreenMode.width, 640);
  EXPECT_EQ(ScreenMode.bits, 32);
  EXPECT_EQ(SetScreenMode(800, 600, 16, 60), 0);
  EXPECT_EQ(ScreenMode.bits, 16);
  EXPECT_EQ(SetScreenMode(-1, -1, -1, -1), 0);
  TestClockStop();
}

TEST_F(GraphicsTest, AModeChangeWhoseScreenSurfacesFailReportsIt) {
  TestClockStart(1000000, 3000000);
  Start(32, 1, 0);
  DDrawTestFailCall(DDrawTestCall::CreateSurface, 0, 1, DDERR_OUTOFVIDEOMEMORY, DDSCAPS_ZBUFFER);
  EXPECT_EQ(SetScreenMode(800, 600, 32, 60), -1);
  EXPECT_TRUE(LogHas("DirectDrawSurface の初期化に失敗しました"));
  TestClockStop();
}

TEST_F(GraphicsTest, AModeChangeKeepsNoDeadClipper) {
  TestClockStart(1000000, 3000000);
  Start(32, 1, 0);
  ASSERT_EQ(SetScreenMode(800, 600, 32, 60), 0);
  SetDrawTarget(kDrawTargetFrontScreen);
  SetDrawTarget(kDrawTargetBackScreen);
  DrawRect(0, 0, 20, 20, MakeScreenColor(255, 0, 0), 1);
  PresentScreen();
  EXPECT_EQ(DDrawTestDeadObjectUses(), 0);
  TestClockStop();
}

TEST_F(GraphicsTest, AFrozenDisplayLeavesTheFrameTimeUnknownInsteadOfHanging) {
  DDrawTestSetVBlankMode(DDrawVBlankMode::RealTime);
  DDrawTestUseManualRasterClock(true);
  TestClockStart(1000000, 1000);
  Start(32, 1, 0);
  EXPECT_TRUE(LogHas("１フレームの時間を正常に取得できませんでした"));
  EXPECT_EQ(VBlankTiming.frameTime, -1);
  EXPECT_EQ(VBlankTiming.sleepThreshold, -1);
  TestClockStop();
}

TEST_F(GraphicsTest, ScreenColoursPackAndSplitByTheScreenFormat) {
  DDrawTestFakeDesktop(1024, 768, 16);
  DDrawTestUseRgb555(true);
  Start(16, 1, 0);
  EXPECT_EQ(ScreenColorKind, SCREEN_RGB555);
  // The bit of no channel is set, as in every screen colour.
  EXPECT_EQ(MakeScreenColor(255, 255, 255), 0xFFFFu);
  EXPECT_EQ(MakeScreenColor(300, -4, 0), 0xFC00u);  // clamped, no spill into green
  int r = 0, g = 0, b = 0;
  EXPECT_EQ(SplitScreenColor(0x03E0, &r, &g, &b), 0);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(g, 255);
  EXPECT_EQ(b, 0);
}

TEST_F(GraphicsTest, PresentsAreCountedFromTheLastModeChange) {
  Start(32, 0, 0);
  SetDrawTarget(kDrawTargetBackScreen);
  const std::uint64_t before = GetPresentCount();
  PresentScreen();
  PresentScreen();
  EXPECT_EQ(GetPresentCount(), before + 2);
  SetSyncToVBlank(1);
  SetDrawTarget(kDrawTargetFrontScreen);
  EXPECT_EQ(PresentScreen(), 0);  // only one vertical blank awaited
  EXPECT_EQ(GetPresentCount(), before + 3);
}

class WindowPresent : public GraphicsTest, public ::testing::WithParamInterface<int> {};

TEST_P(WindowPresent, TheBackScreenLandsOnTheClientArea) {
  Start(32, 1, GetParam());
  int client[4];
  GetClientAreaSize(client);
  const int x = client[0];
  const int y = client[1];
  SetDrawTarget(kDrawTargetBackScreen);
  DrawRect(0, 0, 2, 2, MakeScreenColor(0, 255, 0), 1);
  DrawRect(639, 479, 640, 480, MakeScreenColor(255, 0, 255), 1);
  ASSERT_EQ(PresentScreen(), 0);
  DDrawTestImage primary;
  ASSERT_TRUE(DDrawTestReadPrimary(&primary));
  EXPECT_EQ(primary.pixels[y * primary.width + x], 0x00FF00u);
  EXPECT_EQ(primary.pixels[(y + 479) * primary.width + x + 639], 0xFF00FFu);
  EXPECT_NE(primary.pixels[(y - 1) * primary.width + x], 0x00FF00u);
}

INSTANTIATE_TEST_SUITE_P(Paths, WindowPresent, ::testing::Values(0, 1));
