// The one float-to-int conversion of the library and the game, with the result an
// x86 truncating conversion gives: truncation toward zero, and INT_MIN for NaN, the
// infinities and every value whose truncation is outside the int range. (A plain
// cast leaves those cases undefined.)
#pragma once

#include <climits>

constexpr int DoubleToInt(double value) {
  // Written so that NaN fails both comparisons.
  if (value > -2147483649.0 && value < 2147483648.0) return static_cast<int>(value);
  return INT_MIN;
}

constexpr int FloatToInt(float value) { return DoubleToInt(static_cast<double>(value)); }
