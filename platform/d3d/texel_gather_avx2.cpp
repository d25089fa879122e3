// Point-sampled, clamped 32-bit texels fetched eight at a time (AVX2 gathers, or loads
// of the nearby texel rows), for the stretched and turned runs that cannot be read in
// place. Compiled with AVX2 enabled; called only on processors that have it.
#include "d3d/texel_gather.h"

#include <immintrin.h>

#include <algorithm>
#include <climits>
#include <cstdint>

#include "texels/nearby_texels_avx2.h"

namespace {

constexpr int kLanes = 8;

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

// One run of whole groups of eight; an upright run (dv 0) stays on one texel row. A run
// that moves at most a texel a pixel across (a sprite at its size or larger, turned or
// not) reads its `Rows` nearby texel rows instead of gathering, but where they reach past
// the texture (0: it always gathers).
template <bool Upright, int Rows>
void GatherRun(const TextureSampler& t, const NearbyTexelRun& nearby, std::int64_t u, std::int64_t v, std::int64_t du,
               std::int64_t dv, int count, DWORD* out) {
  const int pitchWords = static_cast<int>(t.pitch / 4);
  const int* base = reinterpret_cast<const int*>(t.bits);
  if constexpr (Upright) base += static_cast<std::ptrdiff_t>(AddressTexel(v, t.height, false)) * pitchWords;
  const __m256i highestU = _mm256_set1_epi32(t.width - 1), highestV = _mm256_set1_epi32(t.height - 1);
  const __m256i rowWords = _mm256_set1_epi32(pitchWords);
  const __m256i uEight = _mm256_set1_epi64x(kLanes * du), vEight = _mm256_set1_epi64x(kLanes * dv);
  Coordinates at = CoordinatesAt(u, v, du, dv, 0);
  for (int i = 0;;) {
    __m256i columns = HighWords(at.u[0], at.u[1]);
    __m256i rows = _mm256_setzero_si256();  // upright: rows counted from the run's own
    if constexpr (!Upright) rows = HighWords(at.v[0], at.v[1]);
    std::int64_t start, top;
    __m256i texels;
    if (Rows > 0 && NearbyGroupFits(nearby, u + i * du, Upright ? 0 : v + i * dv, &start, &top)) {
      const auto* corner = reinterpret_cast<const std::uint8_t*>(base) + top * t.pitch + start * 4;
      texels = FetchNearbyTexels<Rows>(t.pitch, corner,
                                       _mm256_sub_epi32(columns, _mm256_set1_epi32(static_cast<int>(start))),
                                       _mm256_sub_epi32(rows, _mm256_set1_epi32(static_cast<int>(top))));
    } else {
      columns = Clamped(columns, highestU);
      if constexpr (!Upright) {
        columns = _mm256_add_epi32(_mm256_mullo_epi32(Clamped(rows, highestV), rowWords), columns);
      }
      texels = _mm256_i32gather_epi32(base, columns, 4);
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), texels);
    if (i + kLanes >= count) return;
    // The last eight pixels overlap the ones before: the same texels again.
    const int next = std::min(i + kLanes, count - kLanes);
    const bool whole = next - i == kLanes;
    const __m256i uAhead = whole ? uEight : _mm256_set1_epi64x((next - i) * du);
    const __m256i vAhead = whole ? vEight : _mm256_set1_epi64x((next - i) * dv);
    for (int half = 0; half < 2; ++half) {
      at.u[half] = _mm256_add_epi64(at.u[half], uAhead);
      if constexpr (!Upright) at.v[half] = _mm256_add_epi64(at.v[half], vAhead);
    }
    i = next;
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
  NearbyTexelRun nearby{};
  const int rows = PrepareNearbyTexels(t.pitch, t.width, dv == 0 ? 1 : t.height, du, dv, kTexelFractionBits, &nearby)
                       ? nearby.rows
                       : 0;
  WithNearbyRows(rows, [&](auto fetchedRows) {
    // An upright run crosses one row at most.
    if constexpr (fetchedRows() <= 1) {
      if (dv == 0) return GatherRun<true, fetchedRows()>(t, nearby, u, v, du, dv, count, out);
    }
    GatherRun<false, fetchedRows()>(t, nearby, u, v, du, dv, count, out);
  });
  return true;
}
