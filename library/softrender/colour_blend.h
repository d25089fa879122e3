// One colour combined with many destination pixels (rectangle fills and lines):
// the blend operations of blend_ops.h with the colour as an untinted source without
// weights, and what depends on the colour alone worked out once per draw.
#pragma once

#include <cstdint>

#include "softrender/blend_ops.h"
#include "softrender/source_pixels.h"

// The colour under the draw tint as fills and lines apply it: each channel times
// its tint byte divided by 256 (images divide by 255); byte 3 of a 32-bit colour
// stays. A 16-bit colour is its low 16 bits.
inline std::uint32_t TintFillColour(std::uint32_t colour, int kind, std::uint32_t tint) {
  if (kind == PIXEL_KIND_16) colour &= 0xFFFFu;
  if (IsWhiteTint(tint)) return colour;
  std::uint32_t out = kind == PIXEL_KIND_32 ? colour & 0xFF000000u : 0u;
  for (int c = 0; c < 3; ++c) {
    const std::uint32_t shift = kind == PIXEL_KIND_32 ? 8 * c : kRgb565Shift[c];
    const std::uint32_t mask = kind == PIXEL_KIND_32 ? 0xFFu : (1u << kRgb565Width[c]) - 1u;
    const std::uint32_t channel = (colour >> shift) & mask;
    out |= ((channel * ((tint >> (8 * c)) & 0xFFu)) >> 8) << shift;
  }
  return out;
}

// The blend of a tinted colour over a destination pixel, for one pixel kind and
// blend operation (modes 0-4; mode 1 at parameter 255 is the copy).
template <int Kind, int Op>
struct ColourBlend {
  std::uint32_t colour;
  std::uint32_t strength;  // the add and subtract: the scaled colour they combine with the pixel
  BlendRows rows;

  ColourBlend(std::uint32_t tintedColour, const BlendRows& blendRows)
      : colour(tintedColour),
        // Added to a black pixel, the scaled colour is the result itself.
        strength(DestPixels<Kind>::template Blend<BLEND_OP_ADD, FACTORS_NONE, true>(tintedColour, 0, 0, blendRows)),
        rows(blendRows) {}

  std::uint32_t operator()(std::uint32_t d) const {
    if constexpr (Op == BLEND_OP_COPY) {
      return colour;
    } else if constexpr (Op == BLEND_OP_ADD) {
      return Kind == PIXEL_KIND_32 ? AddSaturate8888(d, strength) : AddSaturate565(d, strength);
    } else if constexpr (Op == BLEND_OP_SUB) {
      return Kind == PIXEL_KIND_32 ? SubSaturate8888(d, strength) : SubSaturate565(d, strength);
    } else {
      return DestPixels<Kind>::template Blend<Op, FACTORS_NONE, true>(colour, d, 0, rows);
    }
  }
};
