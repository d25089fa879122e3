// The vector parts of the untinted mode-0 alpha draw: each draws, in every row of
// the area, the whole groups of pixels from the row's start and returns how many
// pixels of each row it drew (AVX2 eight, SSE2 four at a time; 0 where the
// instruction set is missing). Same bytes as the scalar pixel operation.
#pragma once

#include <cstddef>
#include <cstdint>

int AlphaCopyVector32Sse2(std::uint8_t* d, std::ptrdiff_t dPitch, const std::uint8_t* s, std::ptrdiff_t sPitch, int width,
                          int height, bool trans);
int AlphaCopyVector32Avx2(std::uint8_t* d, std::ptrdiff_t dPitch, const std::uint8_t* s, std::ptrdiff_t sPitch, int width,
                          int height, bool trans);
bool CpuHasAvx2();
