#include "edge_band_check.h"

#include <algorithm>
#include <cstdlib>

#include "canvas.h"

namespace {

constexpr int kThinnest = 4, kDeepest = 160, kInnerDepth = 64, kSampleStep = 8;

// Colours a reader tells apart.
bool Near(const Colour& a, const Colour& b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)}) <= 16;
}

}  // namespace

std::vector<std::string> EdgeBandsOf(const Canvas& frame) {
  std::vector<std::string> bands;
  for (const std::string edge : {"top", "bottom", "left", "right"}) {
    const bool rows = edge == "top" || edge == "bottom", far = edge == "bottom" || edge == "right";
    const int length = rows ? frame.width : frame.height, depth = rows ? frame.height : frame.width;
    // The pixel `line` lines in from the edge, `along` it.
    const auto at = [&](int line, int along) -> const Colour& {
      const int across = far ? depth - 1 - line : line;
      return frame.pixels[static_cast<std::size_t>(rows ? across : along) * frame.width + (rows ? along : across)];
    };
    // The share of places along the edge where `holds` holds.
    const auto share = [&](auto holds) {
      int count = 0;
      for (int along = 0; along < length; along += kSampleStep) count += holds(along) ? 1 : 0;
      return static_cast<double>(count) * kSampleStep / length;
    };
    for (int line = kThinnest; line <= std::min(kDeepest, depth / 4); ++line) {
      if (share([&](int along) { return Near(at(line - 1, along), at(line, along)); }) > 0.1) continue;
      const int inner = line + std::max(line, kInnerDepth);
      const double found = share([&](int along) {
        for (int in = line; in < inner; ++in) {
          if (Near(at(line / 2, along), at(in, along))) return true;
        }
        return false;
      });
      if (found < 0.25) bands.push_back("the " + edge + " " + std::to_string(line) + (rows ? " rows" : " columns"));
    }
  }
  return bands;
}
