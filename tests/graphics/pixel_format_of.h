#pragma once
// A pixel format built from its bit count and channel masks.

#include <cstdint>

#include "graphics/pixel_format.h"

inline PixelFormat PixelFormatOf(int bits, std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a) {
  PixelFormat pf{};
  BuildPixelFormatBody(&pf, bits, r, g, b, a);
  return pf;
}
