// Point-sampled, clamped 32-bit texels fetched eight at a time (AVX2 gathers), for the
// stretched and turned runs that cannot be read in place. Compiled with AVX2 enabled;
// called only on processors that have it.
#include "d3d/texel_gather.h"

#include <immintrin.h>

#include <climits>
#include <cstdint>

namespace {

constexpr int kLanes = 8;
constexpr std::int64_t kTexelOne = std::int64_t{1} << kTexelFractionBits;

// Whether every texel index of the run, along one coordinate, fits in 32 bits: the
// lanes clamp the low words of the indices.
bool IndicesFit(std::int64_t start, std::int64_t step, int count) {
  const std::int64_t first = start >> kTexelFractionBits;
  const std::int64_t last = (start + step * (count - 1)) >> kTexelFractionBits;
  return first >= INT_MIN && first <= INT_MAX && last >= INT_MIN && last <= INT_MAX;
}

// The texel indices (the high words) of eight 64-bit coordinates, in order.
__m256i HighWords(__m256i firstFour, __m256i nextFour) {
  const __m256i odd = _mm256_setr_epi32(1, 3, 5, 7, 1, 3, 5, 7);
  return _mm256_permute2x128_si256(_mm256_permutevar8x32_epi32(firstFour, odd),
                                   _mm256_permutevar8x32_epi32(nextFour, odd), 0x20);
}

// The coordinates of eight pixels from pixel `first` on, four to a register.
struct Coordinates {
  __m256i u[2], v[2];
};

Coordinates CoordinatesAt(std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dv, int first) {
  Coordinates at;
  for (int half = 0; half < 2; ++half) {
    const std::int64_t pixel = first + 4 * half;
    at.u[half] = _mm256_setr_epi64x(u + pixel * du, u + (pixel + 1) * du, u + (pixel + 2) * du, u + (pixel + 3) * du);
    at.v[half] = _mm256_setr_epi64x(v + pixel * dv, v + (pixel + 1) * dv, v + (pixel + 2) * dv, v + (pixel + 3) * dv);
  }
  return at;
}

__m256i Clamped(__m256i index, __m256i highest) {
  return _mm256_min_epi32(_mm256_max_epi32(index, _mm256_setzero_si256()), highest);
}

// One run of whole groups of eight; an upright run (dv 0) stays on one texel row. An
// upright run stepping forward at most a texel a pixel (a sprite at its size or larger)
// reads at most eight side-by-side texels per eight pixels: they are loaded at once and
// spread over the lanes, but where they would reach past the row's end.
template <bool Upright>
void GatherRun(const TextureSampler& t, std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dv, int count,
               DWORD* out) {
  const int pitchWords = static_cast<int>(t.pitch / 4);
  const int* base = reinterpret_cast<const int*>(t.bits);
  if constexpr (Upright) base += static_cast<std::ptrdiff_t>(AddressTexel(v, t.height, false)) * pitchWords;
  const __m256i highestU = _mm256_set1_epi32(t.width - 1), highestV = _mm256_set1_epi32(t.height - 1);
  const __m256i rowWords = _mm256_set1_epi32(pitchWords);
  const __m256i uEight = _mm256_set1_epi64x(kLanes * du), vEight = _mm256_set1_epi64x(kLanes * dv);
  const bool spread = Upright && du >= 0 && du <= kTexelOne;
  Coordinates at = CoordinatesAt(u, v, du, dv, 0);
  auto gather = [&](int i) {
    __m256i index = Clamped(HighWords(at.u[0], at.u[1]), highestU);
    if (spread) {
      const int first = _mm256_cvtsi256_si32(index);  // the lowest: indices never fall
      if (first + kLanes <= t.width) {
        const __m256i texels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + first));
        const __m256i lane = _mm256_sub_epi32(index, _mm256_set1_epi32(first));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_permutevar8x32_epi32(texels, lane));
        return;
      }
    }
    if constexpr (!Upright) {
      const __m256i row = Clamped(HighWords(at.v[0], at.v[1]), highestV);
      index = _mm256_add_epi32(_mm256_mullo_epi32(row, rowWords), index);
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), _mm256_i32gather_epi32(base, index, 4));
  };
  int i = 0;
  for (; i + kLanes <= count; i += kLanes) {
    gather(i);
    for (int half = 0; half < 2; ++half) {
      at.u[half] = _mm256_add_epi64(at.u[half], uEight);
      if constexpr (!Upright) at.v[half] = _mm256_add_epi64(at.v[half], vEight);
    }
  }
  if (i < count) {
    // The last eight pixels, overlapping the ones before: the same texels again.
    at = CoordinatesAt(u, v, du, dv, count - kLanes);
    gather(count - kLanes);
  }
}

}  // namespace

bool GatherTexels(const TextureSampler& t, std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dv,
                  int count, DWORD* out) {
  const std::int64_t pitchWords = t.pitch / 4;
  if (count < kLanes || t.pitch <= 0 || t.pitch % 4 != 0 || pitchWords * t.height > INT_MAX ||
      !IndicesFit(u, du, count) || !IndicesFit(v, dv, count)) {
    return false;
  }
  if (dv == 0) {
    GatherRun<true>(t, u, v, du, dv, count, out);
  } else {
    GatherRun<false>(t, u, v, du, dv, count, out);
  }
  return true;
}
