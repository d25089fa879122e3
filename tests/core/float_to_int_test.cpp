#include "float_to_int.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

TEST(FloatToInt, TruncatesTowardZero) {
  EXPECT_EQ(FloatToInt(2.99f), 2);
  EXPECT_EQ(FloatToInt(-2.99f), -2);
  EXPECT_EQ(FloatToInt(-0.5f), 0);
  EXPECT_EQ(DoubleToInt(1e-300), 0);
  EXPECT_EQ(DoubleToInt(2147483647.9), INT_MAX);
  EXPECT_EQ(DoubleToInt(-2147483648.9), INT_MIN);
  EXPECT_EQ(FloatToInt(2147483520.0f), 2147483520);  // the largest float below 2^31
  static_assert(DoubleToInt(-7.5) == -7);
}

TEST(FloatToInt, NanInfinityAndOutOfRangeGiveIntMin) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double infinity = std::numeric_limits<double>::infinity();
  EXPECT_EQ(DoubleToInt(nan), INT_MIN);
  EXPECT_EQ(DoubleToInt(-nan), INT_MIN);
  EXPECT_EQ(DoubleToInt(infinity), INT_MIN);
  EXPECT_EQ(DoubleToInt(-infinity), INT_MIN);
  EXPECT_EQ(DoubleToInt(2147483648.0), INT_MIN);
  EXPECT_EQ(DoubleToInt(-2147483649.0), INT_MIN);
  EXPECT_EQ(DoubleToInt(1e20), INT_MIN);
  EXPECT_EQ(FloatToInt(2147483648.0f), INT_MIN);
  EXPECT_EQ(FloatToInt(std::numeric_limits<float>::quiet_NaN()), INT_MIN);
  EXPECT_EQ(FloatToInt(-3e9f), INT_MIN);
}
