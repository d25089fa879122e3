// What the software kernels read of the library's draw state. The graphics core
// fills one from its draw state for each draw; tests build their own.
#pragma once

#include <cstdint>

#include "kernel/win_types.h"

struct SoftDrawState {
  RECT clip;            // right and bottom exclusive
  int blendMode;        // 0 copy, 1 alpha blend, 2 add, 3 subtract, 4 multiply; others draw nothing
  int blendParam;       // 0..255
  std::uint32_t tint;   // 0x00RRGGBB (bytes blue, green, red in memory); 0xFFFFFF = no tint
  int mmxUsable;        // 1: the saturating bytewise add and subtract forms are in use
};
