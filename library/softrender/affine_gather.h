// The vector part of an affine span's texel rows: 32-bit texels at the span's
// positions, gathered from the start of the run in whole groups of eight (AVX2).
#pragma once

#include <cstddef>
#include <cstdint>

// The texels of the first count / 8 x 8 positions (u, v), (u + du, v + dv), ... of a
// run whose positions all lie inside the source (so none is negative), as 32-bit words
// at pixels + (v >> 18) x pitch + (u >> 18) x 4, where the columns and rows below
// readableColumns and readableRows may be read. Returns how many it gathered (0 where
// AVX2 is missing, or for positions of 2^31 or more or a pitch outside 0 .. 2^17).
int GatherAffineTexels32Avx2(const std::uint8_t* pixels, std::ptrdiff_t pitch, int readableColumns, int readableRows,
                             std::int64_t u, std::int64_t v, std::int64_t du, std::int64_t dv, int count,
                             std::uint32_t* out);
