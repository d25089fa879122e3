// The edge-band check finds a page that stops short of an edge, and only that: frames
// in memory, a tiled ground whose own lines run along every edge, a band planted on it.
#include "edge_band_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas.h"
#include "core/display.h"

namespace {

TEST(EdgeBandCheck, FindsABandAtEachEdgeAndNothingOnAWholeGround) {
  Canvas ground(kScreenWidth, kScreenHeight, {60, 80, 140});
  for (int y = 0; y < kScreenHeight; y += 16) {
    for (int x = (y / 16 % 2) * 16; x < kScreenWidth; x += 32) ground.FillRect(x, y, 16, 16, {120, 140, 200});
  }
  const struct {
    int x, y, w, h;
    std::string firstFound;
  } plants[] = {
      {0, 0, kScreenWidth, 40, "the top 40 rows"},
      {0, kScreenHeight - 12, kScreenWidth, 12, "the bottom 12 rows"},
      {0, 0, 100, kScreenHeight, "the left 100 columns"},
      {kScreenWidth - 4, 0, 4, kScreenHeight, "the right 4 columns"},
      {0, 0, 0, 0, ""},             // the ground alone
      {0, 0, kScreenWidth, 3, ""},  // a rim, thinner than a band
  };
  for (const auto& [x, y, w, h, firstFound] : plants) {
    Canvas frame = ground;
    frame.FillRect(x, y, w, h, {0, 0, 0});
    const std::vector<std::string> found = EdgeBandsOf(frame);
    EXPECT_EQ(found.empty() ? "" : found.front(), firstFound) << testing::PrintToString(found);
  }
}

}  // namespace
