// The alpha row's vector body on SSE2 (four pixels a step), and the processor test
// that picks the AVX2 form (compiled, like this file, for the baseline processor).
#include "softrender/alpha_row_vector.h"

#ifdef __SSE2__
#include <emmintrin.h>

#include "softrender/alpha_rows.h"

namespace {

struct Sse2Lanes {
  using V = __m128i;
  static constexpr int kPixels = 4;
  static V Load(const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const V*>(p)); }
  static void Store(std::uint8_t* p, V v) { _mm_storeu_si128(reinterpret_cast<V*>(p), v); }
  static V Zero() { return _mm_setzero_si128(); }
  static V Set1(std::uint32_t v) { return _mm_set1_epi32(static_cast<int>(v)); }
  static V ColourLanes() { return _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1); }
  static V And(V a, V b) { return _mm_and_si128(a, b); }
  static V Or(V a, V b) { return _mm_or_si128(a, b); }
  static V AndNot(V a, V b) { return _mm_andnot_si128(a, b); }
  static V CmpEq32(V a, V b) { return _mm_cmpeq_epi32(a, b); }
  static bool AllSet(V v) { return _mm_movemask_epi8(v) == 0xFFFF; }
  static V UnpackLo8(V a, V b) { return _mm_unpacklo_epi8(a, b); }
  static V UnpackHi8(V a, V b) { return _mm_unpackhi_epi8(a, b); }
  static V BroadcastLane3(V v) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0xFF), 0xFF); }
  static V Add16(V a, V b) { return _mm_add_epi16(a, b); }
  static V Sub16(V a, V b) { return _mm_sub_epi16(a, b); }
  static V Mul16(V a, V b) { return _mm_mullo_epi16(a, b); }
  static V Shl8(V v) { return _mm_slli_epi16(v, 8); }
  static V Shr8(V v) { return _mm_srli_epi16(v, 8); }
  static V Pack(V a, V b) { return _mm_packus_epi16(a, b); }
};

}  // namespace

int AlphaCopyVector32Sse2(std::uint8_t* d, std::ptrdiff_t dPitch, const std::uint8_t* s, std::ptrdiff_t sPitch, int width,
                         int height, bool trans) {
  return trans ? AlphaCopyVectorBody<Sse2Lanes, true>(d, dPitch, s, sPitch, width, height)
               : AlphaCopyVectorBody<Sse2Lanes, false>(d, dPitch, s, sPitch, width, height);
}

#else

int AlphaCopyVector32Sse2(std::uint8_t*, std::ptrdiff_t, const std::uint8_t*, std::ptrdiff_t, int, int, bool) {
  return 0;
}

#endif

bool CpuHasAvx2() {
#if defined(__x86_64__) || defined(__i386__)
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
#else
  return false;
#endif
}
