// Vector rows of the 32-bit blends for untinted draws without a blend graph: a row
// of source pixels (gathered by the caller) over a destination row, four pixels a
// step with SSE2, the last ones through DrawSourcePixel. Each gives exactly the
// bytes of DrawSourcePixel with the same choices (the tests compare them), for
// modes 1-4 of sources with or without alpha, with or without the transparent test.
// Every intermediate is exact in 16-bit lanes: d x (256 - p) + v x p and v x d stay
// below 2^16; floor(x / 255) = (x + (x >> 8) + 1) >> 8 for x = v x p; the products
// with the alpha are split into high and low halves.
#pragma once

#include <cstdint>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "softrender/source_pixels.h"

// Whether BlendRow32 has a vector form for the operation (of a direct or alpha source).
constexpr bool HasBlendRow32(int op) {
  return op == BLEND_OP_ALPHA || op == BLEND_OP_ADD || op == BLEND_OP_SUB || op == BLEND_OP_MUL;
}

#ifdef __SSE2__
namespace blend_rows32 {

inline __m128i Set32(std::uint32_t v) { return _mm_set1_epi32(static_cast<int>(v)); }

inline __m128i AddSaturate(__m128i d, __m128i q) {
  const __m128i m = Set32(0x00FEFEFFu), guards = Set32(0x01010100u);
  const __m128i sum = _mm_add_epi32(_mm_and_si128(d, m), _mm_and_si128(q, m));
  const __m128i carries = _mm_and_si128(sum, guards);
  const __m128i low = _mm_and_si128(_mm_or_si128(d, q), Set32(0x00010100u));
  return _mm_or_si128(_mm_or_si128(sum, _mm_sub_epi32(carries, _mm_srli_epi32(carries, 8))), low);
}

inline __m128i SubSaturate(__m128i d, __m128i q) {
  const __m128i guards = Set32(0x01010100u);
  const __m128i diff = _mm_sub_epi32(_mm_or_si128(d, guards), _mm_and_si128(q, Set32(0xFEFEFEFFu)));
  const __m128i kept = _mm_and_si128(diff, guards);
  return _mm_and_si128(diff, _mm_sub_epi32(kept, _mm_srli_epi32(kept, 8)));
}

// The blend of one half (two pixels, one byte a 16-bit lane) of source s over
// destination d without weights: the new channel, or the strength of the add and
// subtract (byte 3's lane is replaced by the caller).
template <int Op>
inline __m128i Unweighted(__m128i s, __m128i d, __m128i p) {
  if constexpr (Op == BLEND_OP_ALPHA) {
    const __m128i keep = _mm_sub_epi16(_mm_set1_epi16(256), p);
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(d, keep), _mm_mullo_epi16(s, p)), 8);
  } else if constexpr (Op == BLEND_OP_MUL) {
    return _mm_srli_epi16(_mm_mullo_epi16(s, d), 8);
  } else {
    const __m128i x = _mm_mullo_epi16(s, p);
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), _mm_set1_epi16(1)), 8);
  }
}

// The same weighted by the alpha a (in every lane of its pixel).
template <int Op>
inline __m128i AlphaWeighted(__m128i s, __m128i d, __m128i a, __m128i p) {
  if constexpr (Op == BLEND_OP_ALPHA) {
    // (d x 2^16 + (v - d) x a x p) >> 16 = d + hi(v x ap) - hi(d x ap) - (lo(v x ap) < lo(d x ap)).
    const __m128i ap = _mm_mullo_epi16(a, p);
    const __m128i sign = _mm_set1_epi16(static_cast<short>(0x8000));
    const __m128i borrow = _mm_cmplt_epi16(_mm_xor_si128(_mm_mullo_epi16(s, ap), sign),
                                           _mm_xor_si128(_mm_mullo_epi16(d, ap), sign));
    return _mm_add_epi16(_mm_sub_epi16(_mm_add_epi16(d, _mm_mulhi_epu16(s, ap)), _mm_mulhi_epu16(d, ap)), borrow);
  } else if constexpr (Op == BLEND_OP_MUL) {
    return _mm_mulhi_epu16(_mm_mullo_epi16(s, d), a);  // (v x d x a) >> 16
  } else {
    return _mm_mulhi_epu16(_mm_mullo_epi16(s, a), p);  // (v x a x p) >> 16
  }
}

// One half of the group: the blended lanes of its two pixels.
template <int Op, int Form, bool Trans>
inline __m128i BlendHalf(__m128i s, __m128i d, __m128i p) {
  const __m128i plain = Unweighted<Op>(s, d, p);
  if constexpr (Form != SOURCE_ALPHA) {
    return plain;
  } else {
    const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xFF), 0xFF);
    const __m128i weighted = AlphaWeighted<Op>(s, d, a, p);
    if constexpr (!Trans) return weighted;
    // With the transparent test an opaque pixel drops its alpha.
    const __m128i opaque = _mm_cmpeq_epi16(a, _mm_set1_epi16(255));
    return _mm_or_si128(_mm_and_si128(opaque, plain), _mm_andnot_si128(opaque, weighted));
  }
}

}  // namespace blend_rows32
#endif

template <int Op, int Form, bool Trans>
void BlendRow32(std::uint8_t* d, const std::uint32_t* s, int count, const SourceDraw& draw) {
  static_assert(HasBlendRow32(Op) && Form != SOURCE_PALETTE, "no vector row for this blend");
  int x = 0;
#ifdef __SSE2__
  using namespace blend_rows32;
  const __m128i zero = _mm_setzero_si128();
  const __m128i p = _mm_set1_epi16(static_cast<short>(draw.rows.p));
  const __m128i byte3 = Set32(0xFF000000u);
  for (; x + 4 <= count; x += 4) {
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + x));
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 4 * x));
    __m128i skip = zero;
    if constexpr (Trans && Form == SOURCE_ALPHA) {
      skip = _mm_cmpeq_epi32(_mm_and_si128(sv, byte3), zero);
    } else if constexpr (Trans) {
      skip = _mm_cmpeq_epi32(sv, Set32(draw.key));
    }
    if (_mm_movemask_epi8(skip) == 0xFFFF) continue;
    const __m128i lanes = _mm_packus_epi16(
        BlendHalf<Op, Form, Trans>(_mm_unpacklo_epi8(sv, zero), _mm_unpacklo_epi8(dv, zero), p),
        BlendHalf<Op, Form, Trans>(_mm_unpackhi_epi8(sv, zero), _mm_unpackhi_epi8(dv, zero), p));
    __m128i out;
    if constexpr (Op == BLEND_OP_ADD) {
      out = AddSaturate(dv, lanes);
    } else if constexpr (Op == BLEND_OP_SUB) {
      out = SubSaturate(dv, lanes);
    } else {
      out = _mm_or_si128(_mm_andnot_si128(byte3, lanes), _mm_and_si128(byte3, dv));  // byte 3 kept
    }
    if constexpr (Trans) out = _mm_or_si128(_mm_and_si128(skip, dv), _mm_andnot_si128(skip, out));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * x), out);
  }
#endif
  for (; x < count; ++x) {
    DrawSourcePixel<PIXEL_KIND_32, Form, Op, false, true, Trans>(d + 4 * x, reinterpret_cast<const std::uint8_t*>(s + x),
                                                                  0, draw);
  }
}
