// The vector operations of the specialised span kernels, four pixels to a register
// (SSE2, every x86-64 processor).
#pragma once

#include <emmintrin.h>

#include "kernel/win_types.h"

namespace {

struct Sse2Lanes {
  using V = __m128i;
  static constexpr int kPixels = 4;
  static constexpr int kAllBytes = 0xFFFF;  // ByteMask of an all-ones register
  static constexpr bool kPermutes = false;  // no lane permute by register

  static V Load(const DWORD* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
  static void Store(DWORD* p, V v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
  static V Set32(DWORD x) { return _mm_set1_epi32(static_cast<int>(x)); }
  static V Set16(short x) { return _mm_set1_epi16(x); }
  static V Zero() { return _mm_setzero_si128(); }
  static V Or(V a, V b) { return _mm_or_si128(a, b); }
  static V And(V a, V b) { return _mm_and_si128(a, b); }
  static V AndNot(V a, V b) { return _mm_andnot_si128(a, b); }  // ~a & b
  template <int N>
  static V ShiftRight32(V v) { return _mm_srli_epi32(v, N); }
  static V Equal32(V a, V b) { return _mm_cmpeq_epi32(a, b); }
  static V Greater32(V a, V b) { return _mm_cmpgt_epi32(a, b); }
  static V Sub32(V a, V b) { return _mm_sub_epi32(a, b); }
  static V Add16(V a, V b) { return _mm_add_epi16(a, b); }
  static V Sub16(V a, V b) { return _mm_sub_epi16(a, b); }
  static V MulLow16(V a, V b) { return _mm_mullo_epi16(a, b); }
  static V MulHighUnsigned16(V a, V b) { return _mm_mulhi_epu16(a, b); }
  static V AddSaturate8(V a, V b) { return _mm_adds_epu8(a, b); }
  // Interleaving and packing work within each 128-bit half, so pixels keep their order.
  static V UnpackLow8(V a, V b) { return _mm_unpacklo_epi8(a, b); }
  static V UnpackHigh8(V a, V b) { return _mm_unpackhi_epi8(a, b); }
  static V PackUnsigned16(V a, V b) { return _mm_packus_epi16(a, b); }
  static int ByteMask(V v) { return _mm_movemask_epi8(v); }
  // Bytes of `a` where `mask` is set, else of `b`.
  static V Select(V mask, V a, V b) { return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b)); }
  // Each pixel's 0..255 value (one per 32-bit lane) over its four 16-bit channel lanes:
  // for the pixels the low and the high byte interleave hold.
  static V SpreadLow(V value) {
    const V doubled = _mm_or_si128(value, _mm_slli_epi32(value, 16));
    return _mm_unpacklo_epi32(doubled, doubled);
  }
  static V SpreadHigh(V value) {
    const V doubled = _mm_or_si128(value, _mm_slli_epi32(value, 16));
    return _mm_unpackhi_epi32(doubled, doubled);
  }
};

}  // namespace
