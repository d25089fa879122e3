// Row loops for the commonest 32-bit draws: the untinted copy of an opaque row, a
// keyed row and an alpha row, with vector instructions where the processor has them. Each gives
// exactly the bytes of DrawSourcePixel with the same choices (the tests compare
// them), and finishes a row's last pixels with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "softrender/alpha_row_vector.h"
#include "softrender/source_pixels.h"

inline void CopyRow32(std::uint8_t* d, const std::uint8_t* s, int count) {
  std::memcpy(d, s, static_cast<std::size_t>(count) * 4);
}

// Copies the pixels whose whole 32-bit value differs from key.
inline void KeyedCopyRow32(std::uint8_t* d, const std::uint8_t* s, int count, std::uint32_t key) {
  int x = 0;
#ifdef __SSE2__
  const __m128i keys = _mm_set1_epi32(static_cast<int>(key));
  for (; x + 4 <= count; x += 4) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 4 * x));
    const __m128i hit = _mm_cmpeq_epi32(sv, keys);
    const int mask = _mm_movemask_epi8(hit);
    if (mask == 0xFFFF) continue;
    if (mask == 0) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * x), sv);
      continue;
    }
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 4 * x));
    const __m128i out = _mm_or_si128(_mm_and_si128(hit, dv), _mm_andnot_si128(hit, sv));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * x), out);
  }
#endif
  for (; x < count; ++x) {
    std::uint32_t v;
    std::memcpy(&v, s + 4 * x, 4);
    if (v != key) std::memcpy(d + 4 * x, &v, 4);
  }
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
