// Whether two rectangles have the same edges; a difference names both.
#pragma once

#include <gtest/gtest.h>

#include "kernel/win_types.h"

inline ::testing::AssertionResult SameRect(const RECT& got, const RECT& want) {
  if (got.left == want.left && got.top == want.top && got.right == want.right && got.bottom == want.bottom) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "(" << got.left << ", " << got.top << ") to (" << got.right << ", "
                                       << got.bottom << ") for (" << want.left << ", " << want.top << ") to ("
                                       << want.right << ", " << want.bottom << ")";
}
