// Writing MUA archives: the packer tool and the tests build archives with this, using
// the library's own format definitions (key, scrambling, name entries, LZ tokens).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The LZ compressor matching DecompressMuaLz: a whole block, header included.
std::vector<std::uint8_t> CompressMuaLz(const std::uint8_t* data, std::size_t size);

enum class MuaKeyMode {
  kKeyString,    // the key built from the key string (an empty string counts as none)
  kNoKeyString,  // the key built without a key string
  kFallbackKey,  // the fall-back key the reader tries when the magic does not match
};

struct MuaPackOptions {
  int version = 3;        // 0..3
  bool compress = false;  // versions 2 and 3: members that shrink are stored compressed
  MuaKeyMode keyMode = MuaKeyMode::kKeyString;
  std::string keyString;
};

struct MuaMember {
  std::string path;  // relative to the archive's folder, elements separated by "\" or "/"
  std::vector<std::uint8_t> data;
};

// The whole archive file. Empty with *error set when the members cannot be packed
// (bad version, an empty, overlong or clashing name, more than 4 GiB).
std::vector<std::uint8_t> BuildMuaArchive(const std::vector<MuaMember>& members, const MuaPackOptions& options,
                                          std::string* error);

// Every regular file below `folder` as members, in name order.
bool CollectMuaMembers(const std::filesystem::path& folder, std::vector<MuaMember>* members, std::string* error);

// Packs `folder` into the archive file `archive`.
bool PackFolderToMuaArchive(const std::filesystem::path& folder, const std::filesystem::path& archive,
                            const MuaPackOptions& options, std::string* error);
