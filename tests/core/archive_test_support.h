// Shared by the archive tests: sample member sets and archives loaded from memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/archive_reader.h"
#include "mua_writer.h"

// Bytes that compress well, bytes that do not, and text.
std::vector<std::uint8_t> RepetitiveBytes(std::size_t size, std::uint32_t seed);
std::vector<std::uint8_t> NoiseBytes(std::size_t size, std::uint32_t seed);

// A small tree: files in the root, in a folder and a sub-folder, an empty file, a
// Shift-JIS name whose second byte is "\", a member larger than 128 KiB.
std::vector<MuaMember> SampleMembers();

// An archive image unscrambled and its directory attached, as the reader holds it.
struct MemoryArchive {
  std::vector<std::uint8_t> image;
  std::vector<std::uint8_t> directory;
  ArchiveState state{};
};

// 0 when the header is an archive header and the directory passes the checks.
int LoadMemoryArchive(const std::vector<std::uint8_t>& scrambled, const std::uint8_t key[kArchiveKeySize],
                      MemoryArchive* out);

std::vector<std::uint8_t> BuildArchiveOrDie(const std::vector<MuaMember>& members, const MuaPackOptions& options);
