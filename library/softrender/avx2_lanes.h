// The lane type of the vector rows on AVX2: eight 32-bit pixels to a register. Only
// the files built for AVX2 include it; they run on processors that have it. The
// operations are those of the SSE2 lane type.
#pragma once

#ifdef __AVX2__
#include <immintrin.h>

#include <cstdint>

// Internal linkage, as for the SSE2 lanes.
namespace {

struct Avx2Lanes {
  using V = __m256i;
  static constexpr int kPixels = 8;
  static constexpr int kAllBytes = -1;  // ByteMask of an all-ones register
  static V Load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
  static void Store(void* p, V v) { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }
  static V Set32(std::uint32_t v) { return _mm256_set1_epi32(static_cast<int>(v)); }
  static V Set64(std::uint64_t v) { return _mm256_set1_epi64x(static_cast<long long>(v)); }
  static V Set16(int v) { return _mm256_set1_epi16(static_cast<short>(v)); }
  static V Zero() { return _mm256_setzero_si256(); }
  static V And(V a, V b) { return _mm256_and_si256(a, b); }
  static V Or(V a, V b) { return _mm256_or_si256(a, b); }
  static V AndNot(V a, V b) { return _mm256_andnot_si256(a, b); }  // ~a & b
  static V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
  static V Add32(V a, V b) { return _mm256_add_epi32(a, b); }
  static V Sub32(V a, V b) { return _mm256_sub_epi32(a, b); }
  template <int N>
  static V ShiftRight32(V a) { return _mm256_srli_epi32(a, N); }
  static V Add16(V a, V b) { return _mm256_add_epi16(a, b); }
  static V Sub16(V a, V b) { return _mm256_sub_epi16(a, b); }
  template <int N>
  static V ShiftLeft16(V a) { return _mm256_slli_epi16(a, N); }
  template <int N>
  static V ShiftRight16(V a) { return _mm256_srli_epi16(a, N); }
  static V MulLow16(V a, V b) { return _mm256_mullo_epi16(a, b); }
  static V MulHighUnsigned16(V a, V b) { return _mm256_mulhi_epu16(a, b); }
  static V Equal16(V a, V b) { return _mm256_cmpeq_epi16(a, b); }
  static V Less16(V a, V b) { return _mm256_cmpgt_epi16(b, a); }
  static V Equal32(V a, V b) { return _mm256_cmpeq_epi32(a, b); }
  static V AddSaturate8(V a, V b) { return _mm256_adds_epu8(a, b); }
  static V SubSaturate8(V a, V b) { return _mm256_subs_epu8(a, b); }
  // Unpacks, packs and shuffles work within each 128-bit half, as their pairs undo
  // each other there: the pixels keep their order.
  static V UnpackLow8(V a, V b) { return _mm256_unpacklo_epi8(a, b); }
  static V UnpackHigh8(V a, V b) { return _mm256_unpackhi_epi8(a, b); }
  static V PackUnsigned16(V a, V b) { return _mm256_packus_epi16(a, b); }
  // Each pixel's fourth 16-bit lane in all four of its lanes.
  static V SpreadFourthLane(V a) { return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(a, 0xFF), 0xFF); }
  static int ByteMask(V a) { return _mm256_movemask_epi8(a); }
};

}  // namespace

#endif
