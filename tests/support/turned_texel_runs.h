// Straight runs of texel positions over a 31 x 9 texture for the texel fetches: still, magnified
// up to 7x, unscaled and shrunk, turned every 15 degrees, from its corners, middle and outside.
#pragma once

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

struct TexelRun { std::int64_t u, v, du, dv; };  // in texels x 2^fractionBits

inline std::vector<TexelRun> TurnedTexelRuns(int fractionBits) {
  const double one = std::ldexp(1.0, fractionBits);
  std::vector<TexelRun> runs;
  for (double step : {0.0, 0.14, 0.27, 0.5, 1.0, 1.3}) {
    for (double turn = 0; turn < 2 * M_PI; turn += M_PI / 12) {
      const std::int64_t du = std::llround(step * std::cos(turn) * one), dv = std::llround(step * std::sin(turn) * one);
      for (auto [x, y] : {std::pair{0.0, 0.0}, {30.9, 8.9}, {15.3, 4.6}, {0.2, 8.7}, {29.5, 0.1}, {-3.2, 10.4}}) {
        runs.push_back({std::llround(x * one), std::llround(y * one), du, dv});
      }
    }
  }
  return runs;
}
