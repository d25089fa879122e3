#pragma once
// Pixel formats built from their bit count and channel masks, and those the library
// meets most.

#include <cstdint>

#include "graphics/pixel_format.h"

inline PixelFormat Format(int bits, std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a) {
  PixelFormat pf{};
  BuildPixelFormatBody(&pf, bits, r, g, b, a);
  return pf;
}

inline const PixelFormat kXrgb8888 = Format(32, 0xFF0000, 0xFF00, 0xFF, 0);
inline const PixelFormat kArgb8888 = Format(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
inline const PixelFormat kRgb24 = Format(24, 0xFF0000, 0xFF00, 0xFF, 0);
inline const PixelFormat kRgb565 = Format(16, 0xF800, 0x7E0, 0x1F, 0);
inline const PixelFormat kXrgb1555 = Format(16, 0x7C00, 0x3E0, 0x1F, 0);
inline const PixelFormat kArgb4444 = Format(16, 0xF00, 0xF0, 0xF, 0xF000);
inline const PixelFormat kArgb1555 = Format(16, 0x7C00, 0x3E0, 0x1F, 0x8000);
