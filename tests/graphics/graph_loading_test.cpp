// Graph creation and loading: tile sheets, derived graphs, alpha companions and the
// clean-up of every failure.
#include <gtest/gtest.h>

#include <string>

#include "graphics/graph_loading.h"
#include "graphics/surface_2d.h"
#include "graphics/surface_data.h"
#include "graphics_fixture.h"

namespace {

// Each 32 x 32 cell of a 128 x 64 sheet has its own colour.
std::uint32_t CellColour(int x, int y) {
  return 0x101010u * static_cast<std::uint32_t>(1 + (y / 32) * 4 + x / 32);
}

const SurfaceData* DataOf(int graph) {
  const GraphRecord* record = GetGraphRecord(graph);
  return GetSurfaceDataRecord(GetSurface2DRecord(record->pieces[0])->surfaceData);
}

}  // namespace

TEST_F(GraphicsTest, TilesAreCutRowByRowAndShareTheSheetsPixels) {
  Start();
  WriteFile("sheet.bmp", MakeBmp(128, 64, CellColour));
  int tiles[6];
  const int fontCaches = GraphTable.liveCount;  // the glyph caches of the fonts made at start
  ASSERT_EQ(LoadDivGraphFile("sheet.bmp", 6, 4, 2, 32, 32, tiles), 0);
  EXPECT_EQ(GraphTable.liveCount, fontCaches + 6);  // the parent is gone
  const int expectedX[6] = {0, 32, 64, 96, 0, 32};
  const int expectedY[6] = {0, 0, 0, 0, 32, 32};
  for (int k = 0; k < 6; ++k) {
    const GraphRecord* tile = GetGraphRecord(tiles[k]);
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(tile->sourceX, expectedX[k]);
    EXPECT_EQ(tile->sourceY, expectedY[k]);
    EXPECT_STREQ(tile->fileName, "sheet.bmp");
    EXPECT_EQ(DataOf(tiles[k]), DataOf(tiles[0]));
  }
  EXPECT_EQ(DataOf(tiles[0])->references, 6);
  // Drawing tile 5 shows cell 5's colour.
  SetDrawTarget(kDrawTargetBack);
  DrawGraphAt(10, 10, tiles[5], 0);
  EXPECT_EQ(TargetPixel(20, 20) & 0xFFFFFF, CellColour(32, 32));
  // The pixels live until the last tile goes.
  for (int k = 0; k < 5; ++k) FreeGraph(tiles[k], 0);
  EXPECT_EQ(DataOf(tiles[5])->references, 1);
}

TEST_F(GraphicsTest, ASheetWithFewerTilesThanAskedLeavesTheRestUnset) {
  Start();
  WriteFile("sheet.bmp", MakeBmp(128, 64, CellColour));
  const int live = GraphTable.liveCount;
  // Unset entries must not be taken for graphs: here they all name a live one.
  const int other = CreateBlankGraph(4, 4, 1, 0, 0);
  int tiles[10];
  for (int& t : tiles) t = other;
  ASSERT_EQ(LoadDivGraphFile("sheet.bmp", 10, 4, 2, 32, 32, tiles), 0);
  for (int k = 0; k < 8; ++k) EXPECT_NE(GetGraphRecord(tiles[k]), nullptr);
  EXPECT_EQ(tiles[8], -1);
  EXPECT_EQ(tiles[9], -1);
  EXPECT_STREQ(GetGraphRecord(other)->fileName, "");  // not renamed
  EXPECT_EQ(GraphTable.liveCount, live + 9);
}

TEST_F(GraphicsTest, AMissingSheetSetsEveryHandleToMinusOne) {
  Start();
  int tiles[3] = {5, 6, 7};
  const int fontCaches = GraphTable.liveCount;
  EXPECT_EQ(LoadDivGraphFile("none.bmp", 3, 3, 1, 8, 8, tiles), -1);
  for (const int t : tiles) EXPECT_EQ(t, -1);
  EXPECT_EQ(LoadGraphFile("none.bmp"), -1);
  EXPECT_TRUE(LogHas("グラフィックファイル none.bmp がありません"));
  WriteFile("junk.bmp", "not a picture at all");
  EXPECT_EQ(LoadGraphFile("junk.bmp"), -1);
  EXPECT_TRUE(LogHas("右記のグラフィックファイルのロードに失敗しました：junk.bmp"));
  EXPECT_EQ(GraphTable.liveCount, fontCaches);
}

TEST_F(GraphicsTest, DerivedGraphsAreClippedAndNegativePositionsRefused) {
  Start();
  WriteFile("big.bmp", MakeBmp(128, 128, [](int x, int) { return static_cast<std::uint32_t>(x); }));
  const int parent = LoadGraphFile("big.bmp");
  ASSERT_GE(parent, 0);
  const int derived = DeriveGraph(100, 0, 64, 64, parent);
  ASSERT_GE(derived, 0);
  EXPECT_EQ(GetGraphRecord(derived)->width, 28);
  EXPECT_EQ(GetGraphRecord(derived)->height, 64);
  EXPECT_EQ(GetGraphRecord(derived)->sourceX, 100);
  const int live = GraphTable.liveCount;
  const std::size_t blocks = TrackedBlocksInUse();
  EXPECT_EQ(DeriveGraph(-4, 0, 16, 16, parent), -1);
  EXPECT_EQ(DeriveGraph(0, -1, 16, 16, parent), -1);
  EXPECT_EQ(DeriveGraph(128, 0, 16, 16, parent), -1);
  EXPECT_EQ(DeriveGraph(0, 0, 0, 16, parent), -1);
  EXPECT_EQ(GraphTable.liveCount, live);
  EXPECT_EQ(TrackedBlocksInUse(), blocks);
}

TEST_F(GraphicsTest, AnAlphaCompanionGivesTheGraphItsAlpha) {
  Start();
  WriteFile("ship.bmp", MakeBmp(8, 8, [](int, int) { return 0xFF8040u; }));
  WriteFile("ship_a.bmp", MakeBmp(8, 8, [](int x, int) { return x < 4 ? 0x000000u : 0xFFFFFFu; }));
  const int ship = LoadGraphFile("ship.bmp");
  ASSERT_GE(ship, 0);
  EXPECT_EQ(GetGraphRecord(ship)->flags.alphaChannel, 1);
  const MEMIMG& image = DataOf(ship)->image;
  EXPECT_EQ(image.alphaFlag, 1);
  const auto* row = static_cast<const std::uint8_t*>(image.pixels);
  EXPECT_EQ(row[3], 0);          // alpha of pixel 0
  EXPECT_EQ(row[4 * 7 + 3], 255);  // alpha of pixel 7
  char companion[64];
  ASSERT_TRUE(MakeAlphaCompanionName("data\\v1.2\\ship", companion, sizeof(companion)));
  EXPECT_STREQ(companion, "data\\v1.2\\ship_a");
  // A companion of another size is refused with the picture, leaving nothing.
  WriteFile("odd.bmp", MakeBmp(8, 8, [](int, int) { return 1u; }));
  WriteFile("odd_a.bmp", MakeBmp(7, 8, [](int, int) { return 1u; }));
  const int live = GraphTable.liveCount;
  EXPECT_EQ(LoadGraphFile("odd.bmp"), -1);
  EXPECT_EQ(GraphTable.liveCount, live);
}

TEST_F(GraphicsTest, SourceNamesAreStoredBoundedAndAnOverlongOneIsNotReloadable) {
  Start();
  WriteFile("a.bmp", MakeBmp(4, 4, [](int, int) { return 1u; }));
  const int graph = LoadGraphFile("a.bmp");
  ASSERT_GE(graph, 0);
  const std::string longName(kGraphFileNameSize + 10, 'n');
  EXPECT_EQ(SetGraphSourceFile(graph, longName.c_str()), 0);
  EXPECT_STREQ(GetGraphRecord(graph)->fileName, "");
  EXPECT_TRUE(LogHas("グラフィックのファイル名が長すぎるため復帰できません"));
  EXPECT_EQ(SetGraphSourceFile(0x08007777, "x"), -1);
}

TEST_F(GraphicsTest, DrawGraphFileAtDrawsAndForgets) {
  Start();
  WriteFile("dot.bmp", MakeBmp(2, 2, [](int, int) { return 0x0000FFu; }));
  SetDrawTarget(kDrawTargetBack);
  const int fontCaches = GraphTable.liveCount;
  EXPECT_EQ(DrawGraphFileAt(7, 9, "dot.bmp", 0), 0);
  EXPECT_EQ(TargetPixel(8, 10) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(GraphTable.liveCount, fontCaches);
}
