// How the file-reading targets turn an input into a file: an input whose first byte
// is odd patches a valid file (each three bytes: offset low, offset high, value), so
// that damage deep inside a well-formed file is reached quickly; otherwise the rest
// of the input is the file itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

inline std::vector<std::uint8_t> PatchedInput(const std::vector<std::uint8_t>& valid, const std::uint8_t* data,
                                              std::size_t size) {
  if (size == 0) return {};
  if ((data[0] & 1) == 0) return std::vector<std::uint8_t>(data + 1, data + size);
  std::vector<std::uint8_t> file = valid;
  if (file.empty()) return file;
  for (std::size_t i = 1; i + 3 <= size; i += 3) file[(data[i] | data[i + 1] << 8) % file.size()] = data[i + 2];
  return file;
}
