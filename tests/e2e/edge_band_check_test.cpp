// The edge-band check finds a page that stops short of an edge, and only that: frames
// in memory, a tiled ground whose own lines run along every edge, a band planted on it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas.h"
#include "core/display.h"
#include "edge_band_check.h"

namespace {

// 16-pixel tiles of two colours over the whole screen.
Canvas TiledGround() {
  Canvas frame(kScreenWidth, kScreenHeight, {60, 80, 140});
  for (int y = 0; y < kScreenHeight; y += 16) {
    for (int x = (y / 16 % 2) * 16; x < kScreenWidth; x += 32) frame.FillRect(x, y, 16, 16, {120, 140, 200});
  }
  return frame;
}

struct Strip {
  int x, y, w, h;
  const char* band;  // the first finding it makes, or null for none
};

TEST(EdgeBandCheck, FindsABandAtEachEdgeAndNothingOnAWholeGround) {
  const Strip strips[] = {
      {0, 0, kScreenWidth, 40, "the top 40 rows"},
      {0, kScreenHeight - 12, kScreenWidth, 12, "the bottom 12 rows"},
      {0, 0, 100, kScreenHeight, "the left 100 columns"},
      {kScreenWidth - 4, 0, 4, kScreenHeight, "the right 4 columns"},
      {0, 0, 0, 0, nullptr},             // the ground alone
      {0, 0, kScreenWidth, 3, nullptr},  // a rim, thinner than a band
  };
  for (const Strip& strip : strips) {
    Canvas frame = TiledGround();
    frame.FillRect(strip.x, strip.y, strip.w, strip.h, {0, 0, 0});
    const std::vector<std::string> bands = EdgeBandsOf(frame);
    if (strip.band == nullptr) {
      EXPECT_TRUE(bands.empty()) << strip.h << ": " << testing::PrintToString(bands);
      continue;
    }
    ASSERT_FALSE(bands.empty()) << strip.band;
    EXPECT_EQ(bands.front(), strip.band);
    // Lines of the ground within the band's reach may follow, on its edge alone.
    const auto edgeOf = [](const std::string& band) { return band.substr(0, band.find(' ', 4)); };
    for (const std::string& band : bands) EXPECT_EQ(edgeOf(band), edgeOf(strip.band));
  }
}

}  // namespace
