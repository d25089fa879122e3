// Private to the conversion blit: the rectangle being copied, resolved to row
// pointers, and the walk over it with pixel widths fixed at compile time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "graphics/pixel_bytes.h"
#include "graphics/pixel_format.h"

struct ConvertArea {
  const std::uint8_t* src;  // first source pixel of the rectangle
  std::ptrdiff_t srcPitch;
  std::uint8_t* dst;        // destination pixel of the rectangle's top-left
  std::ptrdiff_t dstPitch;
  const std::uint8_t* alpha;  // alpha image pixel under the first source pixel, or NULL
  std::ptrdiff_t alphaPitch;
  int width;
  int height;
  bool mirror;  // each row written right to left
};

// Calls op(sourcePixel, destinationPixel, x, y) for every pixel, x and y counted
// from the rectangle's top-left in source order.
template <int SrcBytes, int DstBytes, typename PixelOp>
inline void WalkConvertArea(const ConvertArea& a, PixelOp&& op) {
  const std::ptrdiff_t dstStep = a.mirror ? -DstBytes : DstBytes;
  for (int y = 0; y < a.height; ++y) {
    const std::uint8_t* s = a.src + y * a.srcPitch;
    std::uint8_t* d = a.dst + y * a.dstPitch + (a.mirror ? (a.width - 1) * DstBytes : 0);
    for (int x = 0; x < a.width; ++x, s += SrcBytes, d += dstStep) op(s, d, x, y);
  }
}

// Calls f(std::integral_constant<int, bytes>) for a pixel width of 1 to 4 bytes;
// returns false for any other width.
template <typename F>
inline bool WithPixelBytes(int bytes, F&& f) {
  switch (bytes) {
    case 1: f(std::integral_constant<int, 1>{}); return true;
    case 2: f(std::integral_constant<int, 2>{}); return true;
    case 3: f(std::integral_constant<int, 3>{}); return true;
    case 4: f(std::integral_constant<int, 4>{}); return true;
    default: return false;
  }
}

// The fixed conversions between the library's common layouts. Returns true when
// it handled the area.
bool ConvertFixedLayouts(const ConvertArea& a, const PixelFormat& dst, const PixelFormat& src,
                         bool keyToAlpha, std::uint32_t key);

struct GeneralConvertOptions {
  bool keyToAlpha;
  bool skipKey;
  bool alphaOnly;
  bool alphaFromRed;
  bool alphaFromImage;
  std::uint32_t key;
  int ditherMode;
};

// Every other conversion, channel by channel.
void ConvertGeneral(const ConvertArea& a, const PixelFormat& dst, const PixelFormat& src,
                    const PixelFormat& alphaFormat, const GeneralConvertOptions& options);
