// Header layout, key derivation, scrambling and name entries of MUA archives.
#include "core/archive_format.h"

#include "core/sjis.h"

namespace {

// The byte every key starts from when no key string is given, and the whole fall-back key.
constexpr std::uint8_t kArchiveConstantKeyByte = 0xAA;

// What happens to key byte i, in this order: complement, XOR, nibble swap, left rotation.
struct KeyByteTransform {
  bool complement;
  std::uint8_t xorMask;
  bool swapNibbles;
  std::uint8_t rotateLeft;
};

constexpr KeyByteTransform kKeyTransforms[kArchiveKeySize] = {
    {true, 0x00, false, 0}, {false, 0x5C, false, 0}, {false, 0x00, true, 0}, {false, 0x00, false, 3},
    {true, 0x00, true, 0},  {false, 0x93, false, 5}, {true, 0x2E, false, 0}, {false, 0x00, true, 1},
    {true, 0x00, false, 6}, {false, 0xC7, true, 0},  {false, 0x00, false, 2}, {true, 0x61, true, 7},
};

std::uint8_t TransformKeyByte(std::uint8_t b, const KeyByteTransform& t) {
  if (t.complement) b = static_cast<std::uint8_t>(~b);
  b ^= t.xorMask;
  if (t.swapNibbles) b = static_cast<std::uint8_t>(b << 4 | b >> 4);
  if (t.rotateLeft != 0) b = static_cast<std::uint8_t>(b << t.rotateLeft | b >> (8 - t.rotateLeft));
  return b;
}

}  // namespace

void ParseArchiveHeader(const std::uint8_t bytes[kArchiveHeaderSize], ArchiveHeader* out) {
  out->magic = LoadLe16(bytes);
  out->version = LoadLe16(bytes + 2);
  out->directorySize = LoadLe32(bytes + 4);
  out->dataOffset = LoadLe32(bytes + 8);
  out->directoryOffset = LoadLe32(bytes + 12);
  out->fileTableOffset = LoadLe32(bytes + 16);
  out->folderTableOffset = LoadLe32(bytes + 20);
}

void StoreArchiveHeader(const ArchiveHeader& header, std::uint8_t bytes[kArchiveHeaderSize]) {
  StoreLe16(bytes, header.magic);
  StoreLe16(bytes + 2, header.version);
  StoreLe32(bytes + 4, header.directorySize);
  StoreLe32(bytes + 8, header.dataOffset);
  StoreLe32(bytes + 12, header.directoryOffset);
  StoreLe32(bytes + 16, header.fileTableOffset);
  StoreLe32(bytes + 20, header.folderTableOffset);
}

void BuildArchiveKey(const char* keyString, std::uint8_t key[kArchiveKeySize]) {
  std::size_t length = 0;
  if (keyString != nullptr) {
    while (length < kArchiveKeyStringMax && keyString[length] != '\0') ++length;
  }
  for (std::size_t i = 0; i < kArchiveKeySize; ++i) {
    const std::uint8_t start =
        length > 0 ? static_cast<std::uint8_t>(keyString[i % length]) : kArchiveConstantKeyByte;
    key[i] = TransformKeyByte(start, kKeyTransforms[i]);
  }
}

void BuildFallbackArchiveKey(std::uint8_t key[kArchiveKeySize]) {
  std::memset(key, kArchiveConstantKeyByte, kArchiveKeySize);
}

void UnscrambleArchiveBytes(std::uint32_t count, std::uint8_t* bytes, std::uint32_t filePosition,
                            const std::uint8_t key[kArchiveKeySize]) {
  std::size_t k = filePosition % kArchiveKeySize;
  std::uint32_t i = 0;
  // A byte at a time up to the next key boundary, then whole keys as three words.
  for (; i < count && k != 0; ++i) {
    bytes[i] ^= key[k];
    k = (k + 1) % kArchiveKeySize;
  }
  std::uint32_t keyWords[3];
  std::memcpy(keyWords, key, sizeof keyWords);
  for (; count - i >= kArchiveKeySize; i += kArchiveKeySize) {
    std::uint32_t words[3];
    std::memcpy(words, bytes + i, sizeof words);
    words[0] ^= keyWords[0];
    words[1] ^= keyWords[1];
    words[2] ^= keyWords[2];
    std::memcpy(bytes + i, words, sizeof words);
  }
  for (k = 0; i < count; ++i, ++k) bytes[i] ^= key[k];
}

int BuildArchiveNameEntry(const char* element, ArchiveNameEntry* out, std::uint32_t* length) {
  std::size_t n = 0;
  std::uint16_t parity = 0;
  std::memset(out->name, 0, sizeof out->name);
  const auto* src = reinterpret_cast<const unsigned char*>(element);
  while (src[n] != '\0' && src[n] != '\\') {
    // A two-byte character is copied as it is; a lead byte before the terminator stays alone.
    const std::size_t width = IsSjisLeadByte(src[n]) && src[n + 1] != '\0' ? 2 : 1;
    if (n + width > kArchiveNameMax) return -1;
    for (std::size_t j = 0; j < width; ++j) {
      unsigned char c = src[n + j];
      if (width == 1 && c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
      out->name[n + j] = c;
      parity = static_cast<std::uint16_t>(parity + c);
    }
    n += width;
  }
  out->units = static_cast<std::uint16_t>((n + 4) / 4);
  out->parity = parity;
  if (length != nullptr) *length = static_cast<std::uint32_t>(n);
  return 0;
}
