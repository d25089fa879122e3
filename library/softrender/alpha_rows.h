// The vector body of the untinted mode-0 alpha row (see AlphaCopyRow32), written
// once over a lane type so that each instruction set instantiates it in its own
// source file. Each channel becomes (d x 256 + (s - d) x a) >> 8, byte 3 is kept;
// with Trans, alpha 0 keeps the pixel and alpha 255 stores the whole source pixel.
// Include only from the files that instantiate it.
#pragma once

#include <cstddef>
#include <cstdint>

// Draws, in every row, the whole groups of L::kPixels pixels from the row's start;
// returns how many pixels of each row it drew.
template <class L, bool Trans>
int AlphaCopyVectorBody(std::uint8_t* dst, std::ptrdiff_t dstPitch, const std::uint8_t* src, std::ptrdiff_t srcPitch,
                        int width, int height) {
  using V = typename L::V;
  const V zero = L::Zero();
  const V alphaBits = L::Set1(0xFF000000u);
  const V colourLanes = L::ColourLanes();
  const int groups = width - width % L::kPixels;
  for (int row = 0; row < height; ++row) {
    std::uint8_t* d = dst + row * dstPitch;
    const std::uint8_t* s = src + row * srcPitch;
    for (int x = 0; x < groups; x += L::kPixels) {
      const V sv = L::Load(s + 4 * x);
      const V alpha = L::And(sv, alphaBits);
      [[maybe_unused]] const V isOpaque = L::CmpEq32(alpha, alphaBits);
      if constexpr (Trans) {
        if (L::AllSet(L::CmpEq32(alpha, zero))) continue;
        if (L::AllSet(isOpaque)) {
          L::Store(d + 4 * x, sv);
          continue;
        }
      }
      const V dv = L::Load(d + 4 * x);
      const V sLo = L::UnpackLo8(sv, zero), sHi = L::UnpackHi8(sv, zero);
      const V dLo = L::UnpackLo8(dv, zero), dHi = L::UnpackHi8(dv, zero);
      // The pixel's alpha in its three colour lanes, 0 in the lane of byte 3.
      const V aLo = L::And(L::BroadcastLane3(sLo), colourLanes);
      const V aHi = L::And(L::BroadcastLane3(sHi), colourLanes);
      // d x 256 + (s - d) x a lies in 0 .. 255 x 256, so it comes out exact in 16-bit
      // lanes even though the product wraps on the way.
      const V lo = L::Shr8(L::Add16(L::Shl8(dLo), L::Mul16(L::Sub16(sLo, dLo), aLo)));
      const V hi = L::Shr8(L::Add16(L::Shl8(dHi), L::Mul16(L::Sub16(sHi, dHi), aHi)));
      V out = L::Pack(lo, hi);
      if constexpr (Trans) out = L::Or(L::And(isOpaque, sv), L::AndNot(isOpaque, out));
      L::Store(d + 4 * x, out);
    }
  }
  return groups;
}
