// Row loops for the commonest 32-bit draws: the untinted copy of an opaque row, a
// keyed row and an alpha row, with vector instructions where the processor has them. Each gives
// exactly the bytes of DrawSourcePixel with the same choices (the tests compare
// them), and finishes a row's last pixels with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "softrender/alpha_row_vector.h"
#include "softrender/last_pixels.h"
#include "softrender/source_pixels.h"
#include "softrender/sse2_lanes.h"

inline void CopyRow32(std::uint8_t* d, const std::uint8_t* s, int count) {
  std::memcpy(d, s, static_cast<std::size_t>(count) * 4);
}

// Copies the pixels whose whole 32-bit value differs from key.
inline void KeyedCopyRow32(std::uint8_t* d, const std::uint8_t* s, int count, std::uint32_t key) {
#ifdef __SSE2__
  using L = Sse2Lanes;
  const auto groups = [key](std::uint8_t* to, const std::uint8_t* from, int n) {
    const auto keys = L::Set32(key);
    int x = 0;
    for (; x + L::kPixels <= n; x += L::kPixels) {
      const auto sv = L::Load(from + 4 * x);
      const auto hit = L::Equal32(sv, keys);
      const int mask = L::ByteMask(hit);
      if (mask == L::kAllBytes) continue;
      if (mask == 0) {
        L::Store(to + 4 * x, sv);
        continue;
      }
      L::Store(to + 4 * x, L::Or(L::And(hit, L::Load(to + 4 * x)), L::AndNot(hit, sv)));
    }
    return x;
  };
  const int x = groups(d, s, count);
  if (x < count) DrawLastPixels<L::kPixels>(d + 4 * x, s + 4 * x, count - x, groups);
#else
  for (int x = 0; x < count; ++x) {
    std::uint32_t v;
    std::memcpy(&v, s + 4 * x, 4);
    if (v != key) std::memcpy(d + 4 * x, &v, 4);
  }
#endif
}

// Mode 0, untinted, no blend graph, from an alpha source, over a width x height
// area: each channel becomes (d x 256 + (s - d) x a) >> 8 and byte 3 is kept. With
// Trans, alpha 0 leaves the pixel and alpha 255 stores the whole source pixel. The
// widest vector form the processor has does the bulk of each row.
template <bool Trans>
inline void AlphaCopyRect32(std::uint8_t* d, std::ptrdiff_t dPitch, const std::uint8_t* s, std::ptrdiff_t sPitch,
                            int width, int height, const SourceDraw& draw) {
  static const bool wide = CpuHasAvx2();
  int done = wide && width >= 8 ? AlphaCopyVector32Avx2(d, dPitch, s, sPitch, width, height, Trans) : 0;
  if (width - done >= 4) {
    done += AlphaCopyVector32Sse2(d + 4 * done, dPitch, s + 4 * done, sPitch, width - done, height, Trans);
  }
  for (int row = 0; row < height && done < width; ++row) {
    for (int x = done; x < width; ++x) {
      DrawSourcePixel<PIXEL_KIND_32, SOURCE_ALPHA, BLEND_OP_COPY, false, true, Trans>(d + row * dPitch + 4 * x,
                                                                                      s + row * sPitch + 4 * x, 0, draw);
    }
  }
}
