// Loading and storing little-endian pixel values of 1 to 4 bytes.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "pixel values are little-endian in memory");

inline std::uint32_t LoadPixelBytes(const std::uint8_t* p, int bytes) {
  switch (bytes) {
    case 1: return p[0];
    case 2: return static_cast<std::uint32_t>(p[0] | (p[1] << 8));
    case 3: return static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16));
    default: {
      std::uint32_t v;
      std::memcpy(&v, p, 4);
      return v;
    }
  }
}

inline void StorePixelBytes(std::uint8_t* p, int bytes, std::uint32_t v) {
  switch (bytes) {
    case 1: p[0] = static_cast<std::uint8_t>(v); break;
    case 2:
      p[0] = static_cast<std::uint8_t>(v);
      p[1] = static_cast<std::uint8_t>(v >> 8);
      break;
    case 3:
      p[0] = static_cast<std::uint8_t>(v);
      p[1] = static_cast<std::uint8_t>(v >> 8);
      p[2] = static_cast<std::uint8_t>(v >> 16);
      break;
    default: std::memcpy(p, &v, 4); break;
  }
}

// Template forms for loops that fix the pixel width at compile time.
template <int Bytes>
inline std::uint32_t LoadPixel(const std::uint8_t* p) {
  return LoadPixelBytes(p, Bytes);
}

template <int Bytes>
inline void StorePixel(std::uint8_t* p, std::uint32_t v) {
  StorePixelBytes(p, Bytes, v);
}

// Read a little-endian field of a file header.
inline std::uint16_t ReadLE16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t ReadLE32(const std::uint8_t* p) { return LoadPixelBytes(p, 4); }
