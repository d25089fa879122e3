// The MUA archive format as stored on disk: header, directory records, the key that
// scrambles every byte, and the name entries the directory is searched by. The reader
// and the archive packer both build on these definitions, so the two cannot disagree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Header: 24 bytes at offset 0.
constexpr std::size_t kArchiveHeaderSize = 24;
constexpr std::uint16_t kArchiveMagic = 0x554D;  // "MU" read as a little-endian u16
constexpr std::uint16_t kArchiveVersionCount = 4;  // versions 0..3 are read
constexpr std::uint16_t kArchiveFirstCompressingVersion = 2;

struct ArchiveHeader {
  std::uint16_t magic;
  std::uint16_t version;
  std::uint32_t directorySize;
  std::uint32_t dataOffset;
  std::uint32_t directoryOffset;
  std::uint32_t fileTableOffset;    // within the directory block
  std::uint32_t folderTableOffset;  // within the directory block
};

// File entries: 40 bytes before version 2, 44 from version 2 (the compressed size).
constexpr std::size_t kArchiveFileEntrySizeV0 = 40;
constexpr std::size_t kArchiveFileEntrySizeV2 = 44;
constexpr std::size_t kFileEntryNameOffset = 0;
constexpr std::size_t kFileEntryAttributes = 4;
constexpr std::size_t kFileEntryDataOffset = 32;
constexpr std::size_t kFileEntrySize = 36;
constexpr std::size_t kFileEntryCompressedSize = 40;
constexpr std::uint32_t kArchiveFolderAttribute = 0x10;
constexpr std::uint32_t kArchiveStoredMarker = 0xFFFFFFFFu;  // compressed size of a stored file

// Folder entries: 16 bytes: unused word, parent, entry count, first file entry.
constexpr std::size_t kArchiveFolderEntrySize = 16;
constexpr std::size_t kFolderEntryParent = 4;
constexpr std::size_t kFolderEntryCount = 8;
constexpr std::size_t kFolderEntryFirstFile = 12;
constexpr std::uint32_t kArchiveNoParent = 0xFFFFFFFFu;

inline std::size_t ArchiveFileEntrySize(std::uint16_t version) {
  return version >= kArchiveFirstCompressingVersion ? kArchiveFileEntrySizeV2 : kArchiveFileEntrySizeV0;
}

inline std::uint16_t LoadLe16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
inline std::uint32_t LoadLe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
inline void StoreLe16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void StoreLe32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void ParseArchiveHeader(const std::uint8_t bytes[kArchiveHeaderSize], ArchiveHeader* out);
void StoreArchiveHeader(const ArchiveHeader& header, std::uint8_t bytes[kArchiveHeaderSize]);

// The key: byte i of the file is stored XOR key[i mod 12].
constexpr std::size_t kArchiveKeySize = 12;
constexpr std::size_t kArchiveKeyStringMax = 12;

// Key string of 1..12 characters (longer strings give their first 12); null or empty
// means no key string, which starts from the constant key before the transforms.
void BuildArchiveKey(const char* keyString, std::uint8_t key[kArchiveKeySize]);
// The key tried once when the magic does not match: the constant, untransformed.
void BuildFallbackArchiveKey(std::uint8_t key[kArchiveKeySize]);
// XORs bytes that lie at the given absolute file position; scrambling is the same call.
void UnscrambleArchiveBytes(std::uint32_t count, std::uint8_t* bytes, std::uint32_t filePosition,
                            const std::uint8_t key[kArchiveKeySize]);

// Name entry: u16 length in 4-byte units, u16 parity (16-bit sum of the upper-cased
// name's bytes), then the name zero-padded to the length (always at least one zero).
constexpr std::size_t kArchiveNameMax = 255;  // longest element, in bytes
constexpr std::size_t kArchiveNameEntryHeader = 4;

struct ArchiveNameEntry {
  std::uint16_t units;
  std::uint16_t parity;
  std::uint8_t name[(kArchiveNameMax + 4) & ~std::size_t{3}];
};

// Builds the entry of the element that starts at `element` and ends at "\" or the
// terminator. -1 (entry unusable) when the element is longer than kArchiveNameMax.
int BuildArchiveNameEntry(const char* element, ArchiveNameEntry* out, std::uint32_t* length);

// True when the stored entry at `stored` (which must hold 4 + units * 4 bytes) is `entry`.
inline bool ArchiveNameEntryMatches(const std::uint8_t* stored, const ArchiveNameEntry& entry) {
  return LoadLe16(stored) == entry.units && LoadLe16(stored + 2) == entry.parity &&
         std::memcmp(stored + kArchiveNameEntryHeader, entry.name, entry.units * std::size_t{4}) == 0;
}
