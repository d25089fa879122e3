// Little-endian 32-bit word files for the save and replay file tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline std::string EncodeWords(const std::vector<int>& words) {
  std::string bytes;
  for (int word : words) {
    const auto value = static_cast<std::uint32_t>(word);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
  return bytes;
}

inline std::vector<int> DecodeWords(const std::string& bytes) {
  std::vector<int> words(bytes.size() / 4);
  for (std::size_t i = 0; i < words.size(); ++i) {
    std::uint32_t value = 0;
    for (int b = 0; b < 4; ++b) value |= std::uint32_t{static_cast<unsigned char>(bytes[4 * i + b])} << (8 * b);
    words[i] = static_cast<int>(value);
  }
  return words;
}
