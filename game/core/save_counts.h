// Sums of the counts and totals kept in the save file. A long-played or damaged
// file can hold values near the ends of int, so the sums are formed in 64 bits and
// held at the nearest end of int instead of wrapping.
#pragma once

#include <climits>
#include <cstdint>
#include <initializer_list>

#include "float_to_int.h"

constexpr int ClampedToInt(std::int64_t value) {
  return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

constexpr int SumOfCounts(std::initializer_list<int> counts) {
  std::int64_t sum = 0;
  for (int count : counts) sum += count;  // at most a few terms: no 64-bit overflow
  return ClampedToInt(sum);
}

// A float total truncated as FloatToInt does, held at INT_MAX above the int range
// (where FloatToInt would give INT_MIN).
constexpr int TruncatedTotal(float total) { return total >= 2147483648.0f ? INT_MAX : FloatToInt(total); }
