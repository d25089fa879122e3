// Bounded decoder of the MUA LZ scheme: it never reads past its block nor writes past
// its output, and refuses a block that does not fill the output exactly.
#include "core/mua_lz.h"

#include <cstring>

#include "core/archive_format.h"

std::int64_t MuaLzOutputSize(const std::uint8_t* source, std::size_t sourceSize) {
  if (source == nullptr || sourceSize < kMuaLzHeaderSize) return -1;
  return LoadLe32(source);
}

std::int64_t DecompressMuaLz(const std::uint8_t* source, std::size_t sourceSize, std::uint8_t* destination,
                             std::size_t destinationSize) {
  const std::int64_t outputSize = MuaLzOutputSize(source, sourceSize);
  if (outputSize < 0 || destination == nullptr) return outputSize;
  if (LoadLe32(source + 4) != sourceSize || static_cast<std::uint64_t>(outputSize) != destinationSize) return -1;
  const std::uint8_t escape = source[8];
  std::size_t in = kMuaLzHeaderSize;
  std::size_t out = 0;
  std::size_t distance = 1;
  while (in < sourceSize) {
    const std::uint8_t b = source[in++];
    if (b != escape || (in < sourceSize && source[in] == escape)) {
      if (b == escape) ++in;
      if (out == destinationSize) return -1;
      destination[out++] = b;
      continue;
    }
    if (in == sourceSize) return -1;
    std::uint8_t code = source[in++];
    if (code > escape) --code;
    std::size_t length = code >> 3;
    if (code & kMuaLzWideLength) {
      if (in == sourceSize) return -1;
      length |= static_cast<std::size_t>(source[in++]) << 5;
    }
    length += kMuaLzMinMatch;
    const int form = code & 3;
    if (form != kMuaLzRepeatDistance) {
      const std::size_t bytes = static_cast<std::size_t>(form) + 1;
      if (sourceSize - in < bytes) return -1;
      std::size_t value = 0;
      for (std::size_t i = 0; i < bytes; ++i) value |= static_cast<std::size_t>(source[in + i]) << (8 * i);
      in += bytes;
      distance = value + 1;
    }
    if (distance > out || length > destinationSize - out) return -1;
    std::uint8_t* to = destination + out;
    const std::uint8_t* from = to - distance;
    if (distance >= length) {
      std::memcpy(to, from, length);
    } else {
      // An overlapping match repeats the last `distance` bytes.
      for (std::size_t i = 0; i < length; ++i) to[i] = from[i];
    }
    out += length;
  }
  return out == destinationSize ? outputSize : -1;
}
