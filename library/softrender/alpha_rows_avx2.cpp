// The alpha row's vector body on AVX2 (eight pixels a step). The build compiles
// this one file for AVX2 on x86 and it runs only on processors that have it; it
// includes nothing but the body and the intrinsics, so no inline code shared with
// other files is compiled with AVX2 instructions.
#include "softrender/alpha_row_vector.h"

#ifdef __AVX2__
#include <immintrin.h>

#include "softrender/alpha_rows.h"

namespace {

struct Avx2Lanes {
  using V = __m256i;
  static constexpr int kPixels = 8;
  static V Load(const std::uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const V*>(p)); }
  static void Store(std::uint8_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<V*>(p), v); }
  static V Zero() { return _mm256_setzero_si256(); }
  static V Set1(std::uint32_t v) { return _mm256_set1_epi32(static_cast<int>(v)); }
  static V ColourLanes() {
    return _mm256_set_epi16(0, -1, -1, -1, 0, -1, -1, -1, 0, -1, -1, -1, 0, -1, -1, -1);
  }
  static V And(V a, V b) { return _mm256_and_si256(a, b); }
  static V Or(V a, V b) { return _mm256_or_si256(a, b); }
  static V AndNot(V a, V b) { return _mm256_andnot_si256(a, b); }
  static V CmpEq32(V a, V b) { return _mm256_cmpeq_epi32(a, b); }
  static bool AllSet(V v) { return _mm256_movemask_epi8(v) == -1; }
  // Unpacks and packs work within each 128-bit half, which keeps the pixel order.
  static V UnpackLo8(V a, V b) { return _mm256_unpacklo_epi8(a, b); }
  static V UnpackHi8(V a, V b) { return _mm256_unpackhi_epi8(a, b); }
  static V BroadcastLane3(V v) { return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(v, 0xFF), 0xFF); }
  static V Add16(V a, V b) { return _mm256_add_epi16(a, b); }
  static V Sub16(V a, V b) { return _mm256_sub_epi16(a, b); }
  static V Mul16(V a, V b) { return _mm256_mullo_epi16(a, b); }
  static V Shl8(V v) { return _mm256_slli_epi16(v, 8); }
  static V Shr8(V v) { return _mm256_srli_epi16(v, 8); }
  static V Pack(V a, V b) { return _mm256_packus_epi16(a, b); }
};

}  // namespace

int AlphaCopyVector32Avx2(std::uint8_t* d, std::ptrdiff_t dPitch, const std::uint8_t* s, std::ptrdiff_t sPitch, int width,
                         int height, bool trans) {
  return trans ? AlphaCopyVectorBody<Avx2Lanes, true>(d, dPitch, s, sPitch, width, height)
               : AlphaCopyVectorBody<Avx2Lanes, false>(d, dPitch, s, sPitch, width, height);
}

#else

int AlphaCopyVector32Avx2(std::uint8_t*, std::ptrdiff_t, const std::uint8_t*, std::ptrdiff_t, int, int, bool) {
  return 0;
}

#endif
