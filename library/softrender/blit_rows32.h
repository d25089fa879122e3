// Row loops for the commonest 32-bit draws: the untinted copy of an opaque row, a
// keyed row and an alpha row, with SSE2 where the compiler offers it. Each gives
// exactly the bytes of DrawSourcePixel with the same choices (the tests compare
// them), and finishes a row's last pixels with it.
#pragma once

#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// Mode 0, untinted, no blend graph, from an alpha source: each channel becomes
// (d x 256 + (s - d) x a) >> 8 and byte 3 is kept. With Trans, alpha 0 leaves the
// pixel and alpha 255 stores the whole source pixel.
template <bool Trans>
inline void AlphaCopyRow32(std::uint8_t* d, const std::uint8_t* s, int count, const SourceDraw& draw) {
  int x = 0;
#ifdef __SSE2__
  const __m128i zero = _mm_setzero_si128();
  const __m128i opaque = _mm_set1_epi32(255);
  const __m128i full = _mm_set1_epi16(256);
  // The alpha weighs the three colour lanes of each pixel; byte 3 gets weight 0 and so keeps d.
  const __m128i colourLanes = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
  for (; x + 4 <= count; x += 4) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 4 * x));
    const __m128i alpha = _mm_srli_epi32(sv, 24);
    [[maybe_unused]] const __m128i isOpaque = _mm_cmpeq_epi32(alpha, opaque);
    if constexpr (Trans) {
      const int clear = _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, zero));
      if (clear == 0xFFFF) continue;
      if (_mm_movemask_epi8(isOpaque) == 0xFFFF) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * x), sv);
        continue;
      }
    }
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 4 * x));
    const __m128i alphaWords = _mm_or_si128(alpha, _mm_slli_epi32(alpha, 16));
    const __m128i aLo = _mm_and_si128(_mm_unpacklo_epi32(alphaWords, alphaWords), colourLanes);
    const __m128i aHi = _mm_and_si128(_mm_unpackhi_epi32(alphaWords, alphaWords), colourLanes);
    // d x (256 - a) + s x a never exceeds 255 x 256, so 16-bit lanes hold it exactly.
    const __m128i lo = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(dv, zero), _mm_sub_epi16(full, aLo)),
                      _mm_mullo_epi16(_mm_unpacklo_epi8(sv, zero), aLo)),
        8);
    const __m128i hi = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(dv, zero), _mm_sub_epi16(full, aHi)),
                      _mm_mullo_epi16(_mm_unpackhi_epi8(sv, zero), aHi)),
        8);
    __m128i out = _mm_packus_epi16(lo, hi);
    if constexpr (Trans) out = _mm_or_si128(_mm_and_si128(isOpaque, sv), _mm_andnot_si128(isOpaque, out));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * x), out);
  }
#endif
  for (; x < count; ++x) {
    DrawSourcePixel<PIXEL_KIND_32, SOURCE_ALPHA, BLEND_OP_COPY, false, true, Trans>(d + 4 * x, s + 4 * x, 0, draw);
  }
}
