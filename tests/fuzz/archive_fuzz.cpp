// The archive opener on damaged archives: the directory check, the folder walk, member
// lookup, decompression and reads. An input is either a whole archive or, when its
// first byte is odd, byte patches (offset low, offset high, value) to a valid archive,
// so that damage deep inside a well-formed archive is reached quickly. Archives are
// given to the reader unscrambled (stored with the fall-back key).
#include <string>
#include <vector>

#include "core/archive_reader.h"
#include "mua_writer.h"
#include "patched_input.h"
#include "scratch_files.h"

namespace {

const char* const kMembers[] = {"A.TXT", "SE\\B.WAV", "SE\\DEEP\\C.BIN", "SE\\..\\SE\\B.WAV", "\\SE\\DEEP\\D.BIN",
                                "SE\\MISSING\\A.TXT", "SE", "\x95\x5C.PNG"};

std::vector<std::uint8_t> templateImage;
std::string archivePath;

std::vector<std::uint8_t> Bytes(std::size_t size, std::uint8_t step) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i / 7) * step);
  return bytes;
}

void Scramble(std::vector<std::uint8_t>* image) {
  std::uint8_t key[kArchiveKeySize];
  BuildFallbackArchiveKey(key);
  UnscrambleArchiveBytes(static_cast<std::uint32_t>(image->size()), image->data(), 0, key);
}

void ReadMember(ArchiveState* state, const char* path) {
  ArchiveMemberStream member;
  if (OpenArchiveMember(&member, state, path) < 0) return;
  std::uint8_t buffer[700];
  while (ReadArchiveMember(&member, buffer, sizeof buffer) > 0) {
  }
  SeekArchiveMember(&member, -3, 2);
  ReadArchiveMember(&member, buffer, sizeof buffer);
  CloseArchiveMember(&member);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  MuaPackOptions options;
  options.compress = true;
  options.keyMode = MuaKeyMode::kFallbackKey;
  std::string error;
  templateImage = BuildMuaArchive({{"a.txt", Bytes(40, 1)},
                                   {"se/b.wav", Bytes(900, 3)},
                                   {"se/deep/c.bin", Bytes(300, 0)},
                                   {"se/deep/d.bin", Bytes(5, 9)},
                                   {"\x95\x5C.png", Bytes(64, 5)}},
                                  options, &error);
  Scramble(&templateImage);
  archivePath = MakeScratchFolder(/*enter=*/false) + "/archive.pop";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> image = PatchedInput(templateImage, data, size);
  Scramble(&image);
  WriteWholeFile(archivePath.c_str(), image);
  ArchiveState state{};
  if (OpenArchive(&state, archivePath.c_str(), nullptr) == 0) {
    for (const char* member : kMembers) ReadMember(&state, member);
    ChangeArchiveFolder(&state, "SE\\DEEP\\..\\..\\..", 1, nullptr);
    CloseArchive(&state);
  }
  return 0;
}
