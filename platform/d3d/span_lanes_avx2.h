// The vector operations of the specialised span kernels, eight pixels to a register
// (AVX2). Only span_fast_avx2.cpp, built for AVX2, includes this.
#pragma once

#include <immintrin.h>

#include "kernel/win_types.h"

namespace {

struct Avx2Lanes {
  using V = __m256i;
  static constexpr int kPixels = 8;
  static constexpr int kAllBytes = -1;  // ByteMask of an all-ones register
  static constexpr bool kPermutes = true;

  static V Load(const DWORD* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
  static void Store(DWORD* p, V v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
  static V Set32(DWORD x) { return _mm256_set1_epi32(static_cast<int>(x)); }
  static V Set16(short x) { return _mm256_set1_epi16(x); }
  static V Zero() { return _mm256_setzero_si256(); }
  static V Or(V a, V b) { return _mm256_or_si256(a, b); }
  static V And(V a, V b) { return _mm256_and_si256(a, b); }
  static V AndNot(V a, V b) { return _mm256_andnot_si256(a, b); }  // ~a & b
  template <int N>
  static V ShiftRight32(V v) { return _mm256_srli_epi32(v, N); }
  static V Equal32(V a, V b) { return _mm256_cmpeq_epi32(a, b); }
  static V Greater32(V a, V b) { return _mm256_cmpgt_epi32(a, b); }
  static V Sub32(V a, V b) { return _mm256_sub_epi32(a, b); }
  static V Add16(V a, V b) { return _mm256_add_epi16(a, b); }
  static V Sub16(V a, V b) { return _mm256_sub_epi16(a, b); }
  static V MulLow16(V a, V b) { return _mm256_mullo_epi16(a, b); }
  static V MulHighUnsigned16(V a, V b) { return _mm256_mulhi_epu16(a, b); }
  static V AddSaturate8(V a, V b) { return _mm256_adds_epu8(a, b); }
  // Interleaving and packing work within each 128-bit half, so pixels keep their order.
  static V UnpackLow8(V a, V b) { return _mm256_unpacklo_epi8(a, b); }
  static V UnpackHigh8(V a, V b) { return _mm256_unpackhi_epi8(a, b); }
  static V PackUnsigned16(V a, V b) { return _mm256_packus_epi16(a, b); }
  static int ByteMask(V v) { return _mm256_movemask_epi8(v); }
  // Lane i takes lane lanes[i] of `v`.
  static V Permute(V v, V lanes) { return _mm256_permutevar8x32_epi32(v, lanes); }
  // Bytes of `a` where `mask` is set, else of `b`.
  static V Select(V mask, V a, V b) { return _mm256_blendv_epi8(b, a, mask); }
  // Each pixel's 0..255 value (one per 32-bit lane) over its four 16-bit channel lanes:
  // for the pixels the low and the high byte interleave hold.
  static V SpreadLow(V value) {
    return _mm256_shuffle_epi8(value, _mm256_setr_epi8(0, 1, 0, 1, 0, 1, 0, 1, 4, 5, 4, 5, 4, 5, 4, 5, 0, 1, 0, 1, 0, 1,
                                                       0, 1, 4, 5, 4, 5, 4, 5, 4, 5));
  }
  static V SpreadHigh(V value) {
    return _mm256_shuffle_epi8(value, _mm256_setr_epi8(8, 9, 8, 9, 8, 9, 8, 9, 12, 13, 12, 13, 12, 13, 12, 13, 8, 9, 8,
                                                       9, 8, 9, 8, 9, 12, 13, 12, 13, 12, 13, 12, 13));
  }
};

}  // namespace
