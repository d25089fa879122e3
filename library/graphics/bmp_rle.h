// Private to the BMP loader: the run-length decoders of 8-bit and 4-bit BMP data.
#pragma once

#include <cstddef>
#include <cstdint>

// Decodes RLE8 (rle4 false) or RLE4 data into out, a zero-filled block of `rows`
// rows of `pitch` one-byte indices. The first row of the data is the bottom row
// when bottomUp. false when a code is cut off by the end of the data, a run or
// copy would leave its row or the block, or the data ends without the
// end-of-picture code.
bool DecodeBmpRle(const std::uint8_t* data, std::size_t size, bool rle4, std::uint8_t* out, int pitch,
                  int rows, bool bottomUp);
