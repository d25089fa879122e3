#include "softrender/affine_gather.h"

#include "softrender/affine_span.h"

#if defined(__AVX2__)

#include <immintrin.h>

namespace {

constexpr int kLanes = 8;

// Byte offsets of four positions: row x pitch + column x 4, in 64 bits.
__m256i Offsets(__m256i u, __m256i v, __m256i pitch) {
  const __m256i column = _mm256_srli_epi64(u, kFixedShift);
  const __m256i row = _mm256_srli_epi64(v, kFixedShift);
  return _mm256_add_epi64(_mm256_mul_epu32(row, pitch), _mm256_slli_epi64(column, 2));
}

}  // namespace

int GatherAffineTexels32Avx2(const std::uint8_t* pixels, std::ptrdiff_t pitch, std::int64_t u, std::int64_t v,
                             std::int64_t du, std::int64_t dv, int count, std::uint32_t* out) {
  if (pitch < 0 || pitch > 0xFFFFFFFF) return 0;
  const auto* base = reinterpret_cast<const int*>(pixels);
  const __m256i pitches = _mm256_set1_epi64x(pitch);
  __m256i u0 = _mm256_setr_epi64x(u, u + du, u + 2 * du, u + 3 * du);
  __m256i v0 = _mm256_setr_epi64x(v, v + dv, v + 2 * dv, v + 3 * dv);
  const __m256i uFour = _mm256_set1_epi64x(4 * du), vFour = _mm256_set1_epi64x(4 * dv);
  __m256i u1 = _mm256_add_epi64(u0, uFour), v1 = _mm256_add_epi64(v0, vFour);
  const __m256i uEight = _mm256_add_epi64(uFour, uFour), vEight = _mm256_add_epi64(vFour, vFour);
  int i = 0;
  for (; i + kLanes <= count; i += kLanes) {
    const __m128i low = _mm256_i64gather_epi32(base, Offsets(u0, v0, pitches), 1);
    const __m128i high = _mm256_i64gather_epi32(base, Offsets(u1, v1, pitches), 1);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_set_m128i(high, low));
    u0 = _mm256_add_epi64(u0, uEight), u1 = _mm256_add_epi64(u1, uEight);
    v0 = _mm256_add_epi64(v0, vEight), v1 = _mm256_add_epi64(v1, vEight);
  }
  return i;
}

#else

int GatherAffineTexels32Avx2(const std::uint8_t*, std::ptrdiff_t, std::int64_t, std::int64_t, std::int64_t,
                             std::int64_t, int, std::uint32_t*) {
  return 0;
}

#endif
