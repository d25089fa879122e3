// Graph handles: check numbers, stale handles, the high-water slot rule and its
// fall-back, and the full table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/graph_records.h"
#include "graphics/graphics_fatal.h"
#include "graphics_fixture.h"

namespace {

int NewRecord() { return AllocGraphRecord(4, 4, 0, nullptr, 0, 0); }
int SlotOf(int handle) { return handle & 0xFFFF; }
int CheckOf(int handle) { return (handle >> 16) & 0x7FF; }

std::vector<std::string> g_fatalTexts;
void RecordFatal(const char* text) { g_fatalTexts.emplace_back(text); }

// Each case starts from an empty table, as the graph system's start leaves it.
class GraphHandles : public ::testing::Test {
 protected:
  void SetUp() override { GraphTable.Clear(); }
};

}  // namespace

TEST_F(GraphHandles, HandlesCarryTypeCheckAndSlot) {
  const int first = NewRecord();
  const int second = NewRecord();
  EXPECT_EQ(first, 0x08000000);
  EXPECT_EQ(second, 0x08010001);
  EXPECT_EQ(GetGraphRecord(second)->handle, second);
  // Another type, a negative value or a slot past the table are no graph.
  EXPECT_EQ(GetGraphRecord(0x28000000 | 1), nullptr);
  EXPECT_EQ(GetGraphRecord(-1), nullptr);
  EXPECT_EQ(GetGraphRecord(first | 0x8000), nullptr);
  FreeGraphBody(first, 0);
  FreeGraphBody(second, 0);
}

TEST_F(GraphHandles, StaleHandleIsRefusedUntilTheCheckNumberComesRoundAgain) {
  const int stale = NewRecord();
  ASSERT_EQ(FreeGraphBody(stale, 0), 0);
  EXPECT_EQ(GetGraphRecord(stale), nullptr);
  EXPECT_EQ(FreeGraphBody(stale, 0), -1);
  EXPECT_EQ(QueryGraphSize(stale, nullptr, nullptr), -1);
  // The slot is reused with the following check numbers: the stale handle stays
  // refused until the counter has wrapped at 2048.
  for (int i = 1; i < 2048; ++i) {
    const int handle = NewRecord();
    ASSERT_EQ(SlotOf(handle), 0);
    ASSERT_EQ(CheckOf(handle), i);
    EXPECT_EQ(GetGraphRecord(stale), nullptr);
    FreeGraphBody(handle, 0);
  }
  const int wrapped = NewRecord();
  EXPECT_EQ(wrapped, stale);
  EXPECT_NE(GetGraphRecord(stale), nullptr);
  FreeGraphBody(wrapped, 0);
}

TEST_F(GraphHandles, NewRecordsTakeTheHighWaterMark) {
  const int a = NewRecord();
  const int b = NewRecord();
  const int c = NewRecord();
  EXPECT_EQ(GraphTable.highWater, 3);
  FreeGraphBody(b, 0);
  EXPECT_EQ(GraphTable.highWater, 3);  // a hole below the mark keeps it
  const int d = NewRecord();
  EXPECT_EQ(SlotOf(d), 3);  // the mark, not the freed slot
  FreeGraphBody(d, 0);
  FreeGraphBody(c, 0);
  EXPECT_EQ(GraphTable.highWater, 1);  // drops past every empty slot below
  FreeGraphBody(a, 0);
  EXPECT_EQ(GraphTable.highWater, 0);
  EXPECT_EQ(GraphTable.liveCount, 0);
}

TEST_F(GraphHandles, FullMarkFallsBackToTheLowestFreeSlotAndAFullTableIsFatal) {
  std::vector<int> handles;
  handles.reserve(kGraphTableSize);
  for (int i = 0; i < kGraphTableSize; ++i) handles.push_back(NewRecord());
  ASSERT_EQ(GraphTable.highWater, kGraphTableSize);
  FreeGraphBody(handles[700], 0);
  FreeGraphBody(handles[5], 0);
  EXPECT_EQ(SlotOf(NewRecord()), 5);
  EXPECT_EQ(SlotOf(NewRecord()), 700);

  SetGraphicsFatalHookForTest(RecordFatal);
  EXPECT_EQ(NewRecord(), -1);
  ASSERT_EQ(g_fatalTexts.size(), 1u);
  EXPECT_EQ(g_fatalTexts[0], "グラフィックの数が許容量を越えました終了します");
  EXPECT_EQ(GraphTable.liveCount, kGraphTableSize);
  SetGraphicsFatalHookForTest(nullptr);
  for (int slot = 0; slot < kGraphTableSize; ++slot) FreeGraphBody(GraphTable.HandleOf(slot), 0);
  EXPECT_EQ(GraphTable.liveCount, 0);
}

TEST_F(GraphicsTest, DeletionSetsTheWatcherAndReleasesThePixels) {
  Start();
  const std::size_t before = TrackedBlocksInUse();
  const int graph = CreateBlankGraph(16, 8, 1, 0, 0);
  ASSERT_GE(graph, 0);
  int watcher = 7;
  EXPECT_EQ(WatchGraphLoss(graph, &watcher), 0);
  EXPECT_EQ(watcher, 0);
  EXPECT_EQ(FreeGraph(graph, 0), 0);
  EXPECT_EQ(watcher, 1);
  EXPECT_EQ(TrackedBlocksInUse(), before);
}

TEST_F(GraphicsTest, TextureRequestsGiveTwoDimensionalGraphsWithoutADevice) {
  Start();
  GraphRecord* record = nullptr;
  const int graph = AllocGraphRecord(8, 8, 1, &record, 1, 0);
  EXPECT_EQ(record->flags.texture, 0);
  EXPECT_EQ(record->flags.alphaChannel, 1);
  EXPECT_EQ(record->flags.alphaMode2D, 1);
  EXPECT_EQ(record->flags.colourDepth, 32);
  FreeGraphBody(graph, 0);
}

TEST_F(GraphicsTest, AGraphWhoseSurfacesCannotBeMadeLeavesNothingBehind) {
  Start();
  const int live = GraphTable.liveCount;
  const std::size_t blocks = TrackedBlocksInUse();
  EXPECT_EQ(CreateBlankGraph(70000, 4, 1, 0, 0), -1);
  EXPECT_EQ(GraphTable.liveCount, live);
  EXPECT_EQ(TrackedBlocksInUse(), blocks);
  EXPECT_TRUE(LogHas("グラフィックの作成に失敗しました"));
}

TEST(GraphSizes, ScreensReadAs640By480BeforeAnyMode) {
  int width = 0;
  int height = 0;
  EXPECT_EQ(QueryGraphSize(-2, &width, &height), 0);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
  EXPECT_EQ(QueryGraphSize(-4, nullptr, &height), 0);
}
