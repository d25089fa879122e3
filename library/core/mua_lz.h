// The LZ scheme of MUA archives. A compressed block is a 9-byte header (u32 output
// size, u32 block size including the header, u8 escape code E) and a token stream:
//   any byte other than E   a literal
//   E E                     the literal E
//   E K                     a match; K above E is stored as K + 1. Length (K >> 3) + 4,
//                           or with bit 2 of K set ((K >> 3) | next byte << 5) + 4.
//                           K & 3 gives the distance: 0, 1, 2 = a 1-, 2- or 3-byte
//                           little-endian value + 1 after that byte; 3 = the previous
//                           match's distance (1 before any match).
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::size_t kMuaLzHeaderSize = 9;
constexpr std::uint32_t kMuaLzMinMatch = 4;
constexpr std::uint32_t kMuaLzMaxShortMatch = 31 + kMuaLzMinMatch;
constexpr std::uint32_t kMuaLzMaxMatch = (31u | 255u << 5) + kMuaLzMinMatch;  // 8195
constexpr std::uint32_t kMuaLzMaxDistance = 1u << 24;
constexpr std::uint8_t kMuaLzWideLength = 4;      // bit of K: a length byte follows
constexpr std::uint8_t kMuaLzRepeatDistance = 3;  // distance form: previous distance

// The most any block of blockSize bytes can decode to (a 3-byte token copies at most
// kMuaLzMaxMatch bytes): an output size above it marks a damaged block.
inline std::uint64_t MuaLzOutputLimit(std::size_t blockSize) {
  return std::uint64_t{blockSize} * (kMuaLzMaxMatch / 3 + 1);
}

// Output size from a block's header, or -1 when fewer than kMuaLzHeaderSize bytes.
std::int64_t MuaLzOutputSize(const std::uint8_t* source, std::size_t sourceSize);

// Decodes a whole block of sourceSize bytes into destination (destinationSize bytes).
// Returns the output size; with no destination, only the header's output size. -1
// when the block does not decode to exactly destinationSize bytes within its own size.
std::int64_t DecompressMuaLz(const std::uint8_t* source, std::size_t sourceSize, std::uint8_t* destination,
                             std::size_t destinationSize);
