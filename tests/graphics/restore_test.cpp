// After a display change every graph is rebuilt and reloaded from its file, each
// file decoded once, and the next frame draws the same picture.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "graphics/graph_system.h"
#include "graphics_fixture.h"

namespace {

struct RestoreCase {
  const char* name;
  int bits;
  int windowed;
  int path;  // demo_scene::DrawPath
};

class GraphRestore : public GraphicsTest, public ::testing::WithParamInterface<RestoreCase> {
 protected:
  // The scene plus one graph of a file of its own, saved as `file`.
  void DrawFrame(const int tiles[demo_scene::kTileCount], int badge, const char* file) {
    ASSERT_EQ(demo_scene::DrawScene(const_cast<int*>(tiles)), 0);
    DrawGraphAt(600, 440, badge, 0);
    ASSERT_EQ(SaveScreenToBmp(0, 0, demo_scene::kScreenWidth, demo_scene::kScreenHeight, file), 0);
    PresentScreen();
  }

  void LoadAll(int tiles[demo_scene::kTileCount], int* badge) {
    ASSERT_TRUE(demo_scene::WriteTileSheet(demo_scene::kSheetName));
    WriteFile("badge.bmp", MakeBmp(24, 24, [](int x, int y) { return 0x010203u * static_cast<std::uint32_t>(x + y); }));
    ASSERT_EQ(demo_scene::LoadTiles(tiles), 0);
    *badge = LoadGraphFile("badge.bmp");
    ASSERT_GE(*badge, 0);
  }
};

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

int g_hookRuns = 0;
int g_pendingAtHook = 0;
int g_liveAtHook = -1;
int g_targetAtHook = 0;
std::uint64_t g_presentsBefore = 0;
std::uint64_t g_presentsAtHook = 0;
std::uint32_t g_cornerAtHook = 1;

// What the restore hook finds when it runs.
void CheckStateAtHook() {
  ++g_hookRuns;
  // Live graphs at this moment: a font re-made during the restore may drop its cache graph afterwards.
  g_liveAtHook = GraphTable.liveCount;
  for (int slot = 0; slot < GraphTable.highWater; ++slot) {
    if (GraphTable.slots[slot] != nullptr && GraphTable.slots[slot]->reloadPending) ++g_pendingAtHook;
  }
  g_targetAtHook = GetDrawTarget();
  g_presentsAtHook = GetPresentCount();
  SaveScreenToBmp(0, 0, 1, 1, "corner.bmp");
  std::FILE* file = std::fopen("corner.bmp", "rb");
  unsigned char pixel[3] = {1, 1, 1};
  if (file != nullptr) {
    std::fseek(file, 54, SEEK_SET);
    if (std::fread(pixel, 1, 3, file) != 3) pixel[0] = 1;
    std::fclose(file);
  }
  g_cornerAtHook = static_cast<std::uint32_t>(pixel[0] | pixel[1] << 8 | pixel[2] << 16);
}

}  // namespace

TEST_P(GraphRestore, EveryGraphIsReloadedOnceFromItsFile) {
  const RestoreCase& c = GetParam();
  Start(c.bits, c.windowed, c.path);
  int tiles[demo_scene::kTileCount];
  int badge = -1;
  LoadAll(tiles, &badge);
  DrawFrame(tiles, badge, "before.bmp");

  DDrawTestLoseVideoMemorySurfaces();
  ASSERT_EQ(RecreateObjectsAsTheWindowDoes(), 0);
  const std::string log = Log();
  EXPECT_EQ(Count(log, "グラフィックを復帰します"), 1u);
  // Eight tiles of one sheet and one picture: two decodings.
  EXPECT_EQ(Count(log, "をロードします"), 2u);
  EXPECT_EQ(Count(log, "ファイル:demo_tiles.bmp をロードします"), 1u);
  EXPECT_EQ(Count(log, "ファイル:badge.bmp をロードします"), 1u);
  for (const int tile : tiles) EXPECT_EQ(GetGraphRecord(tile)->reloadPending, 0);

  DrawFrame(tiles, badge, "after.bmp");
  EXPECT_TRUE(scratch_.Read("after.bmp") == scratch_.Read("before.bmp"));
}

TEST_P(GraphRestore, TheHookRunsOnAClearedPresentedTargetWithEveryGraphPending) {
  const RestoreCase& c = GetParam();
  Start(c.bits, c.windowed, c.path);
  int tiles[demo_scene::kTileCount];
  int badge = -1;
  LoadAll(tiles, &badge);
  ASSERT_EQ(demo_scene::DrawScene(tiles), 0);
  ASSERT_NE(TargetPixel(0, 0), 0u);
  g_presentsBefore = GetPresentCount();
  g_hookRuns = 0;
  g_pendingAtHook = 0;
  SetGraphRestoreHook(CheckStateAtHook);
  ASSERT_EQ(RecreateObjectsAsTheWindowDoes(), 0);
  EXPECT_EQ(g_hookRuns, 1);
  EXPECT_EQ(g_pendingAtHook, g_liveAtHook);
  EXPECT_EQ(g_targetAtHook, kDrawTargetBack);
  EXPECT_EQ(g_presentsAtHook, g_presentsBefore + 1);
  EXPECT_EQ(g_cornerAtHook, 0u);
}

INSTANTIATE_TEST_SUITE_P(Screens, GraphRestore,
                         ::testing::Values(RestoreCase{"Window32", 32, 1, 0}, RestoreCase{"FullScreen16", 16, 0, 0},
                                           RestoreCase{"Software32", 32, 1, 1}),
                         [](const ::testing::TestParamInfo<RestoreCase>& info) { return std::string(info.param.name); });

TEST_F(GraphicsTest, AGraphWhoseFileIsGoneKeepsItsPlaceAndTheWalkGoesOn) {
  Start();
  WriteFile("one.bmp", MakeBmp(4, 4, [](int, int) { return 0x123456u; }));
  WriteFile("two.bmp", MakeBmp(4, 4, [](int, int) { return 0x654321u; }));
  const int one = LoadGraphFile("one.bmp");
  const int two = LoadGraphFile("two.bmp");
  std::filesystem::remove(scratch_.path() / "one.bmp");
  ASSERT_EQ(RecreateObjectsAsTheWindowDoes(), 0);
  EXPECT_TRUE(LogHas("ファイル:one.bmp がロードできませんでした"));
  EXPECT_NE(GetGraphRecord(one), nullptr);
  SetDrawTarget(kDrawTargetBackScreen);
  DrawGraphAt(0, 0, two, 0);
  EXPECT_EQ(TargetPixel(1, 1) & 0xFFFFFF, 0x654321u);
}
