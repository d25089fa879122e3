// Bit helpers shared by the pixel-format code.
#pragma once

#include <cstdint>

struct ChannelScan {
  std::uint8_t shift;  // index of the lowest set bit (0 for an empty mask)
  std::uint8_t width;  // consecutive set bits from there (a gap ends the count)
};

inline ChannelScan ScanChannelMask(std::uint32_t mask) {
  if (mask == 0) return {0, 0};
  const int shift = __builtin_ctz(mask);
  const std::uint32_t run = mask >> shift;
  const int width = run == 0xFFFFFFFFu ? 32 : __builtin_ctz(~run);
  return {static_cast<std::uint8_t>(shift), static_cast<std::uint8_t>(width)};
}

// The low `bits` bits set; all ones from 32 bits up, none for 0 or less.
inline std::uint32_t LowBitsMask(int bits) {
  if (bits >= 32) return 0xFFFFFFFFu;
  if (bits <= 0) return 0;
  return (1u << bits) - 1u;
}
