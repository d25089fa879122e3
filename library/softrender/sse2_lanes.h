// The lane type of the vector rows on SSE2 (every x86-64 processor): four 32-bit
// pixels to a register. The rows are written once against a lane type; the AVX2 file
// has the same operations eight pixels wide.
#pragma once

#ifdef __SSE2__
#include <emmintrin.h>

#include <cstdint>

// Internal linkage: a file built for AVX2 that includes this must not hand its own
// compiled copies of these to the baseline's callers.
namespace {

struct Sse2Lanes {
  using V = __m128i;
  static constexpr int kPixels = 4;
  static constexpr int kAllBytes = 0xFFFF;  // ByteMask of an all-ones register
  static V Load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
  static void Store(void* p, V v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }
  static V Set32(std::uint32_t v) { return _mm_set1_epi32(static_cast<int>(v)); }
  static V Set64(std::uint64_t v) { return _mm_set1_epi64x(static_cast<long long>(v)); }
  static V Set16(int v) { return _mm_set1_epi16(static_cast<short>(v)); }
  static V Zero() { return _mm_setzero_si128(); }
  static V And(V a, V b) { return _mm_and_si128(a, b); }
  static V Or(V a, V b) { return _mm_or_si128(a, b); }
  static V AndNot(V a, V b) { return _mm_andnot_si128(a, b); }  // ~a & b
  static V Xor(V a, V b) { return _mm_xor_si128(a, b); }
  static V Add32(V a, V b) { return _mm_add_epi32(a, b); }
  static V Sub32(V a, V b) { return _mm_sub_epi32(a, b); }
  template <int N>
  static V ShiftRight32(V a) { return _mm_srli_epi32(a, N); }
  static V Add16(V a, V b) { return _mm_add_epi16(a, b); }
  static V Sub16(V a, V b) { return _mm_sub_epi16(a, b); }
  template <int N>
  static V ShiftLeft16(V a) { return _mm_slli_epi16(a, N); }
  template <int N>
  static V ShiftRight16(V a) { return _mm_srli_epi16(a, N); }
  static V MulLow16(V a, V b) { return _mm_mullo_epi16(a, b); }
  static V MulHighUnsigned16(V a, V b) { return _mm_mulhi_epu16(a, b); }
  static V Equal16(V a, V b) { return _mm_cmpeq_epi16(a, b); }
  static V Less16(V a, V b) { return _mm_cmplt_epi16(a, b); }
  static V Equal32(V a, V b) { return _mm_cmpeq_epi32(a, b); }
  static V AddSaturate8(V a, V b) { return _mm_adds_epu8(a, b); }
  static V SubSaturate8(V a, V b) { return _mm_subs_epu8(a, b); }
  static V UnpackLow8(V a, V b) { return _mm_unpacklo_epi8(a, b); }
  static V UnpackHigh8(V a, V b) { return _mm_unpackhi_epi8(a, b); }
  static V PackUnsigned16(V a, V b) { return _mm_packus_epi16(a, b); }
  // Each pixel's fourth 16-bit lane in all four of its lanes.
  static V SpreadFourthLane(V a) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(a, 0xFF), 0xFF); }
  static int ByteMask(V a) { return _mm_movemask_epi8(a); }
};

}  // namespace

#endif
