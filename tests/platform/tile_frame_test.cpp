// The tile frame runs each recorded draw once in every tile its box meets, clipped to
// tiles that cover the target without overlapping, in call order within each tile,
// at every thread count; and it flushes before a draw on another target is recorded.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <random>
#include <tuple>
#include <vector>

#include "../support/draw_threads.h"

namespace {

struct TileRun {
  int draw;
  RECT area;
};

std::tuple<LONG, LONG, LONG, LONG> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

bool Meets(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

class TileFrameTest : public ::testing::Test {
  KeepDrawThreads kept_;
};

TEST_F(TileFrameTest, EveryDrawRunsOnceInEachTileItMeetsInCallOrder) {
  constexpr int kWidth = 1000, kHeight = 700;  // not a whole number of tiles
  std::mt19937 rng(11);
  std::vector<RECT> boxes;
  for (int i = 0; i < 3000; ++i) {
    const int x = static_cast<int>(rng() % 1200) - 100, y = static_cast<int>(rng() % 900) - 100;
    const int width = static_cast<int>(rng() % 90) + 1, height = static_cast<int>(rng() % 90) + 1;
    // Now and then one over the whole target and beyond.
    boxes.push_back(i % 500 == 0 ? RECT{-10, -10, kWidth + 10, kHeight + 10} : RECT{x, y, x + width, y + height});
  }
  const int target = 0;
  for (int threads : {1, 3, 8}) {
    SCOPED_TRACE(testing::Message() << threads << " threads");
    SetDrawThreads(threads);
    // Each tile's runs, written only by the thread that holds the tile.
    std::vector<std::vector<TileRun>> tiles(static_cast<std::size_t>(TileCount(kWidth, kHeight)));
    UseDrawTarget(&target, kWidth, kHeight);
    for (int i = 0; i < static_cast<int>(boxes.size()); ++i) {
      RecordDraw(boxes[i], [&tiles, i](const DrawTile& tile) { tiles[tile.index].push_back(TileRun{i, tile.area}); });
    }
    FlushTileFrame();

    // Within a tile: one area, draws in call order.
    std::vector<RECT> areas;
    std::vector<int> runs(boxes.size(), 0);
    for (const std::vector<TileRun>& tile : tiles) {
      ASSERT_FALSE(tile.empty()) << "the huge boxes meet every tile";
      areas.push_back(tile.front().area);
      for (std::size_t r = 0; r < tile.size(); ++r) {
        ASSERT_EQ(Edges(tile[r].area), Edges(areas.back())) << "tile " << areas.size() - 1;
        ASSERT_TRUE(r == 0 || tile[r].draw > tile[r - 1].draw) << "tile " << areas.size() - 1 << ", run " << r;
        ++runs[tile[r].draw];
      }
    }
    // The tiles cover the target once: every pixel lies in exactly one tile's area.
    std::vector<int> cover(static_cast<std::size_t>(kWidth) * kHeight, 0);
    for (const RECT& area : areas) {
      ASSERT_TRUE(area.left >= 0 && area.top >= 0 && area.right <= kWidth && area.bottom <= kHeight);
      for (LONG y = area.top; y < area.bottom; ++y) {
        for (LONG x = area.left; x < area.right; ++x) ++cover[static_cast<std::size_t>(y) * kWidth + x];
      }
    }
    EXPECT_EQ(std::count(cover.begin(), cover.end(), 1), static_cast<long>(cover.size()));

    // Each draw ran in exactly the tiles its box meets, once each.
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      const auto meets = [&](const RECT& area) { return Meets(area, boxes[i]); };
      ASSERT_EQ(runs[i], std::count_if(areas.begin(), areas.end(), meets)) << "draw " << i;
    }
  }
}

TEST_F(TileFrameTest, KeptDataLastsUntilTheFlushAndAnotherTargetFlushesFirst) {
  SetDrawThreads(3);
  const int first = 0, second = 0;
  std::vector<int> order;
  UseDrawTarget(&first, 64, 64);
  // More than an arena block of kept data: none of it moves or is overwritten.
  std::vector<const int*> kept;
  for (int i = 0; i < 100; ++i) {
    std::vector<int> values(5000, i);
    kept.push_back(KeepUntilFlush(values.data(), values.size()));
  }
  RecordDraw(RECT{0, 0, 1, 1}, [&order, &kept](const DrawTile&) {
    for (int i = 0; i < 100; ++i) order.push_back(kept[i][i * 37 % 5000] == i ? 1 : -1);
  });
  EXPECT_TRUE(order.empty()) << "recorded draws wait for the flush";
  UseDrawTarget(&second, 64, 64);
  EXPECT_EQ(order, std::vector<int>(100, 1)) << "the draws on the first target ran before the second's";
  RecordDraw(RECT{0, 0, 1, 1}, [&order](const DrawTile&) { order.push_back(2); });
  FlushTileFrame();
  FlushTileFrame();  // nothing left: runs nothing again
  EXPECT_EQ(order.size(), 101u);
  EXPECT_EQ(order.back(), 2);
}

// Draws are handed to the workers while the recording goes on: many recorded draws run
// before any flush, and a process forked among them finds each draw run once, by its
// parent before the fork or by itself at its flush.
TEST_F(TileFrameTest, RecordedDrawsRunBeforeTheFlushAndAForkFindsEachRunOnce) {
  GTEST_FLAG_SET(death_test_style, "fast");
  SetDrawThreads(3);
  const int target = 0;
  constexpr int kDraws = 8000;  // the last few hundred not yet handed over at the fork
  std::vector<std::atomic<int>> runs(kDraws);
  const auto eachRanOnce = [&runs] { return std::ranges::all_of(runs, [](const auto& n) { return n == 1; }); };
  UseDrawTarget(&target, 64, 64);
  for (int i = 0; i < kDraws; ++i) RecordDraw(RECT{0, 0, 1, 1}, [&runs, i](const DrawTile&) { ++runs[i]; });
  for (int waited = 0; runs[0] == 0 && waited < 30000; ++waited) usleep(1000);
  EXPECT_EQ(runs[0], 1) << "the first draws ran unflushed";
  EXPECT_EXIT((alarm(30), FlushTileFrame(), std::exit(eachRanOnce() ? 0 : 1)), testing::ExitedWithCode(0), "");
  FlushTileFrame();
  EXPECT_TRUE(eachRanOnce());
}

// A process forked after tiles were drawn on several threads has none of them: it draws
// on threads of its own, and ends (its statics destroyed) without waiting for its
// parent's.
TEST_F(TileFrameTest, AForkedProcessDrawsInTilesAndEnds) {
  GTEST_FLAG_SET(death_test_style, "fast");  // a fork of this process, workers and all
  SetDrawThreads(3);
  const int target = 0;
  std::atomic<int> runs{0};
  const auto drawOverTheTarget = [&] {
    runs = 0;
    UseDrawTarget(&target, 64, 64);
    RecordDraw(RECT{0, 0, 64, 64}, [&runs](const DrawTile&) { ++runs; });
    FlushTileFrame();
    return runs == TileCount(64, 64);
  };
  ASSERT_TRUE(drawOverTheTarget());
  EXPECT_EXIT(
      {
        alarm(30);  // a wait for the parent's workers ends here
        std::exit(drawOverTheTarget() ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
