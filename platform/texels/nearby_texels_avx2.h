// Eight point-sampled 32-bit texels of a straight run of pixels, fetched without a
// gather when the run moves at most a texel a pixel across: the eight texels then lie
// within eight side-by-side columns and a few rows. Each row crossed is loaded as eight
// texels at once and every pixel picks its lane. Both drawing paths use it from their
// AVX2 files, which alone include it.
#pragma once

#ifdef __AVX2__
#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace {

constexpr int kNearbyLanes = 8;
// Past this many rows per eight pixels a gather costs less than the row loads.
constexpr int kMostNearbyRows = 4;

// What a run's groups of eight share: the bytes from one texel row to the next, how many
// rows eight pixels cross at most, the last column and row a group's loads may start at
// for all of them to stay inside the picture, and the offsets from a group's first
// position to its smallest column and row (at its last pixel where the run goes back
// or up).
struct NearbyTexelRun {
  std::ptrdiff_t pitch;
  int rows;
  std::int64_t lastStartColumn;
  std::int64_t lastTopRow;
  std::int64_t leastU, leastV;
  int fractionBits;
};

// The run's shared part, or false where it needs the gather: a step of more than a texel
// a pixel across, or too many rows crossed. Steps are in texels x 2^fractionBits a pixel.
inline bool PrepareNearbyTexels(std::ptrdiff_t pitch, int readableColumns, int readableRows, std::int64_t du,
                                std::int64_t dv, int fractionBits, NearbyTexelRun* run) {
  const std::int64_t one = std::int64_t{1} << fractionBits;
  if (du > one || du < -one || dv > one || dv < -one) return false;
  // Eight pixels move 7 |dv| down or up, so they cross its ceiling plus one rows.
  const std::int64_t rise = (kNearbyLanes - 1) * (dv < 0 ? -dv : dv);
  const int rows = static_cast<int>((rise + one - 1) >> fractionBits) + 1;
  if (rows > kMostNearbyRows) return false;
  constexpr int kLast = kNearbyLanes - 1;
  *run = {pitch, rows, readableColumns - kNearbyLanes, readableRows - rows, du < 0 ? kLast * du : 0,
          dv < 0 ? kLast * dv : 0, fractionBits};
  return true;
}

// The smallest column and row of the group whose first pixel is at (u, v), and whether
// the group's loads from there stay inside the picture.
inline bool NearbyGroupFits(const NearbyTexelRun& run, std::int64_t u, std::int64_t v, std::int64_t* start,
                            std::int64_t* top) {
  *start = (u + run.leastU) >> run.fractionBits;
  *top = (v + run.leastV) >> run.fractionBits;
  return *start >= 0 && *start <= run.lastStartColumn && *top >= 0 && *top <= run.lastTopRow;
}

// The eight texels of a group that fits, from `corner`, the address of its smallest
// column in its smallest row; `lanes` and `rowsDown` hold each pixel's column and row
// counted from there. Rows is the run's row count.
template <int Rows>
inline __m256i FetchNearbyTexels(std::ptrdiff_t pitch, const std::uint8_t* corner, __m256i lanes, __m256i rowsDown) {
  auto rowTexels = [&](int row) {
    const auto* at = reinterpret_cast<const __m256i*>(corner + row * pitch);
    return _mm256_permutevar8x32_epi32(_mm256_loadu_si256(at), lanes);
  };
  // The first row fills every lane; each later one overwrites the pixels on it.
  __m256i texels = rowTexels(0);
  for (int k = 1; k < Rows; ++k) {
    texels = _mm256_blendv_epi8(texels, rowTexels(k), _mm256_cmpeq_epi32(rowsDown, _mm256_set1_epi32(k)));
  }
  return texels;
}

// Calls `fetch` with the row count of a run as a constant, std::integral_constant<int,
// rows>: 1 to kMostNearbyRows, or 0 for a run left to the gather.
template <typename Fetch>
inline void WithNearbyRows(int rows, Fetch fetch) {
  static_assert(kMostNearbyRows == 4, "one case per row count");
  switch (rows) {
    case 1: return fetch(std::integral_constant<int, 1>());
    case 2: return fetch(std::integral_constant<int, 2>());
    case 3: return fetch(std::integral_constant<int, 3>());
    case 4: return fetch(std::integral_constant<int, 4>());
    default: return fetch(std::integral_constant<int, 0>());
  }
}

}  // namespace

#endif
