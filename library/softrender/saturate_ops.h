// Whole-pixel saturating add and subtract on packed 32-bit (B, G, R, X bytes) and
// RGB565 pixels. All channels are combined in one word operation; the guard-bit
// tricks give blue exactly and approximate the lowest bit of green and red, and
// those low-bit effects are part of the renderer's results.
#pragma once

#include <cstdint>

// D + Q per channel, saturating at 255. Byte 3 becomes the carry out of red; green
// and red take as lowest bit the OR of both lowest bits and the carry from below.
inline std::uint32_t AddSaturate8888(std::uint32_t d, std::uint32_t q) {
  const std::uint32_t sum = (d & 0x00FEFEFFu) + (q & 0x00FEFEFFu);
  const std::uint32_t carries = sum & 0x01010100u;
  return sum | (carries - (carries >> 8)) | ((d | q) & 0x00010100u);
}

// The packed add without the lowest-bit OR term: green's and red's lowest bit is
// only the carry from the channel below.
inline std::uint32_t AddSaturate8888NoLowBits(std::uint32_t d, std::uint32_t q) {
  const std::uint32_t sum = (d & 0x00FEFEFFu) + (q & 0x00FEFEFFu);
  const std::uint32_t carries = sum & 0x01010100u;
  return sum | (carries - (carries >> 8));
}

// D - Q per channel, floored at 0. Byte 3 becomes 0; green and red subtract their
// upper seven bits and take as lowest bit 1 when the channel below did not borrow.
inline std::uint32_t SubSaturate8888(std::uint32_t d, std::uint32_t q) {
  const std::uint32_t diff = (d | 0x01010100u) - (q & 0xFEFEFEFFu);
  const std::uint32_t guards = diff & 0x01010100u;
  return diff & (guards - (guards >> 8));
}

// Exact unsigned saturating add and subtract of all four bytes, byte 3 included
// (the MMX-usable forms).
inline std::uint32_t AddSaturateBytes(std::uint32_t d, std::uint32_t s) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const std::uint32_t sum = ((d >> shift) & 0xFFu) + ((s >> shift) & 0xFFu);
    out |= (sum > 0xFFu ? 0xFFu : sum) << shift;
  }
  return out;
}

inline std::uint32_t SubSaturateBytes(std::uint32_t d, std::uint32_t s) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const std::uint32_t a = (d >> shift) & 0xFFu;
    const std::uint32_t b = (s >> shift) & 0xFFu;
    out |= (a > b ? a - b : 0u) << shift;
  }
  return out;
}

// RGB565 add: blue exact with saturation at 31; green and red add their upper bits
// with saturation and take as lowest bit the OR of both lowest bits and the carry
// from below. Result in the low 16 bits.
inline std::uint32_t AddSaturate565(std::uint32_t d, std::uint32_t u) {
  const std::uint32_t sum = (d & 0xF7DEF7DFu) + (u & 0xF7DEF7DFu);
  const std::uint32_t carries = sum & 0x08210820u;
  return ((carries - (carries >> 5)) | ((d | u) & 0x0820u) | sum) & 0xFFFFu;
}

// The RGB565 add without the lowest-bit OR term.
inline std::uint32_t AddSaturate565NoLowBits(std::uint32_t d, std::uint32_t u) {
  const std::uint32_t sum = (d & 0xF7DEF7DFu) + (u & 0xF7DEF7DFu);
  const std::uint32_t carries = sum & 0x08210820u;
  return ((carries - (carries >> 5)) | sum) & 0xFFFFu;
}

// RGB565 subtract: blue exact with a floor of 0; green's lowest bit is always 0, red's
// is 1 when green did not borrow.
inline std::uint32_t SubSaturate565(std::uint32_t d, std::uint32_t u) {
  const std::uint32_t x = (d | 0x08210820u) - (u & 0xF7DEF7DFu);
  const std::uint32_t guards = x & 0x08210820u;
  return (x & (guards - (guards >> 5))) & 0xFFFFu;
}
