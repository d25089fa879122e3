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
  const V alphaBits = L::Set32(0xFF000000u);
  const V colourLanes = L::Set64(0x0000FFFFFFFFFFFFull);  // each pixel's three colour lanes
  const int groups = width - width % L::kPixels;
  for (int row = 0; row < height; ++row) {
    std::uint8_t* d = dst + row * dstPitch;
    const std::uint8_t* s = src + row * srcPitch;
    for (int x = 0; x < groups; x += L::kPixels) {
      const V sv = L::Load(s + 4 * x);
      const V alpha = L::And(sv, alphaBits);
      [[maybe_unused]] const V isOpaque = L::Equal32(alpha, alphaBits);
      if constexpr (Trans) {
        if (L::ByteMask(L::Equal32(alpha, zero)) == L::kAllBytes) continue;
        if (L::ByteMask(isOpaque) == L::kAllBytes) {
          L::Store(d + 4 * x, sv);
          continue;
        }
      }
      const V dv = L::Load(d + 4 * x);
      const V sLo = L::UnpackLow8(sv, zero), sHi = L::UnpackHigh8(sv, zero);
      const V dLo = L::UnpackLow8(dv, zero), dHi = L::UnpackHigh8(dv, zero);
      // The pixel's alpha in its three colour lanes, 0 in the lane of byte 3.
      const V aLo = L::And(L::SpreadFourthLane(sLo), colourLanes);
      const V aHi = L::And(L::SpreadFourthLane(sHi), colourLanes);
      // d x 256 + (s - d) x a lies in 0 .. 255 x 256, so it comes out exact in 16-bit
      // lanes even though the product wraps on the way.
      const auto mix = [](V d16, V s16, V a16) {
        const V sum = L::Add16(L::template ShiftLeft16<8>(d16), L::MulLow16(L::Sub16(s16, d16), a16));
        return L::template ShiftRight16<8>(sum);
      };
      const V lo = mix(dLo, sLo, aLo);
      const V hi = mix(dHi, sHi, aHi);
      V out = L::PackUnsigned16(lo, hi);
      if constexpr (Trans) out = L::Or(L::And(isOpaque, sv), L::AndNot(isOpaque, out));
      L::Store(d + 4 * x, out);
    }
  }
  return groups;
}
