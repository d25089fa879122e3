#include "softrender/affine_gather.h"

#include "softrender/affine_span.h"

#if defined(__AVX2__)

#include <immintrin.h>

#include "texels/nearby_texels_avx2.h"

namespace {

constexpr int kLanes = 8;
constexpr std::int64_t kLaneRange = std::int64_t{1} << 31;
constexpr std::ptrdiff_t kMaxPitch = std::ptrdiff_t{1} << 17;

// Whether every position of the run fits a 32-bit lane: both ends do, as the run is a line.
bool FitsLanes(std::int64_t p, std::int64_t step, int count) {
  const std::int64_t last = p + static_cast<std::int64_t>(count - 1) * step;
  return p >= 0 && p < kLaneRange && last >= 0 && last < kLaneRange;
}

// Eight positions p, p + step, ... p + 7 x step, each modulo 2^32.
__m256i Positions(std::int64_t p, std::int64_t step) {
  const __m256i steps = _mm256_mullo_epi32(_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7),
                                           _mm256_set1_epi32(static_cast<int>(static_cast<std::uint32_t>(step))));
  return _mm256_add_epi32(_mm256_set1_epi32(static_cast<int>(static_cast<std::uint32_t>(p))), steps);
}

// The whole groups of eight of a run that fits the lanes; a run that moves at most a
// texel a pixel across reads its `Rows` nearby texel rows instead of gathering, but where
// they reach past the readable texels (0: it always gathers).
template <int Rows>
void GatherGroups(const std::uint8_t* pixels, std::ptrdiff_t pitch, const NearbyTexelRun& nearby, std::int64_t u,
                  std::int64_t v, std::int64_t du, std::int64_t dv, int groups, std::uint32_t* out) {
  const auto* base = reinterpret_cast<const int*>(pixels);
  const __m256i pitches = _mm256_set1_epi32(static_cast<int>(pitch));
  // The lanes step modulo 2^32; every position used is one of the run's.
  const __m256i uStep = _mm256_set1_epi32(static_cast<int>(static_cast<std::uint32_t>(kLanes * du)));
  const __m256i vStep = _mm256_set1_epi32(static_cast<int>(static_cast<std::uint32_t>(kLanes * dv)));
  __m256i us = Positions(u, du), vs = Positions(v, dv);
  for (int i = 0; i < groups; i += kLanes) {
    const __m256i rows = _mm256_srli_epi32(vs, kFixedShift);
    const __m256i columns = _mm256_srli_epi32(us, kFixedShift);
    std::int64_t start, top;
    __m256i texels;
    if (Rows > 0 && NearbyGroupFits(nearby, u + i * du, v + i * dv, &start, &top)) {
      texels = FetchNearbyTexels<Rows>(pitch, pixels + top * pitch + start * 4,
                                       _mm256_sub_epi32(columns, _mm256_set1_epi32(static_cast<int>(start))),
                                       _mm256_sub_epi32(rows, _mm256_set1_epi32(static_cast<int>(top))));
    } else {
      const __m256i offsets = _mm256_add_epi32(_mm256_mullo_epi32(rows, pitches), _mm256_slli_epi32(columns, 2));
      texels = _mm256_i32gather_epi32(base, offsets, 1);
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), texels);
    us = _mm256_add_epi32(us, uStep);
    vs = _mm256_add_epi32(vs, vStep);
  }
}

}  // namespace

// Positions below 2^31 hold a row below 2^13 and a column below 2^13: with a pitch up
// to 2^17 the byte offset fits a 32-bit lane too. Other runs are left to the caller.
int GatherAffineTexels32Avx2(const std::uint8_t* pixels, std::ptrdiff_t pitch, int readableColumns, int readableRows,
                             std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dv, int count,
                             std::uint32_t* out) {
  const int groups = count - count % kLanes;
  if (groups == 0 || pitch < 0 || pitch > kMaxPitch || !FitsLanes(u, du, groups) || !FitsLanes(v, dv, groups)) {
    return 0;
  }
  NearbyTexelRun nearby{};
  const int rows =
      PrepareNearbyTexels(pitch, readableColumns, readableRows, du, dv, kFixedShift, &nearby) ? nearby.rows : 0;
  WithNearbyRows(rows, [&](auto fetchedRows) {
    GatherGroups<fetchedRows()>(pixels, pitch, nearby, u, v, du, dv, groups, out);
  });
  return groups;
}

#else

int GatherAffineTexels32Avx2(const std::uint8_t*, std::ptrdiff_t, int, int, std::int64_t, std::int64_t, std::int64_t,
                             std::int64_t, int, std::uint32_t*) {
  return 0;
}

#endif
