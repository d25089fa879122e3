// Targets whose code reads files work in a folder of their own, made once per process
// in memory when the system has a memory file system: a file truncated and rewritten
// on a disk is flushed on every close, which would cost more than the parsing.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Makes the folder and returns its path; `enter` also makes it the working folder.
inline std::string MakeScratchFolder(bool enter) {
  static std::string folder;
  const char* root = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
  std::string pattern = std::string(root) + "/vantorel-fuzz-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr || (enter && ::chdir(pattern.c_str()) != 0)) std::abort();
  folder = pattern;
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  });
  return folder;
}

inline void WriteWholeFile(const char* name, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(name, "wb");
  if (file == nullptr) std::abort();
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
}

inline void WriteWholeFile(const char* name, const std::vector<std::uint8_t>& bytes) {
  WriteWholeFile(name, bytes.data(), bytes.size());
}

inline std::vector<std::uint8_t> ReadWholeFile(const char* name) {
  std::ifstream in(name, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The little-endian word at word index `index`.
inline int WordAt(const std::vector<std::uint8_t>& bytes, std::size_t index) {
  const std::uint8_t* b = bytes.data() + 4 * index;
  return static_cast<int>(std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 |
                          std::uint32_t{b[3]} << 24);
}
