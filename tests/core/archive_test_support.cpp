#include "archive_test_support.h"

#include <gtest/gtest.h>

#include <random>

std::vector<std::uint8_t> RepetitiveBytes(std::size_t size, std::uint32_t seed) {
  // Phrases from a small vocabulary, now and then a stray byte or a run.
  std::mt19937 random(seed);
  std::vector<std::vector<std::uint8_t>> phrases(24);
  for (auto& phrase : phrases) {
    phrase.resize(4 + random() % 60);
    for (auto& b : phrase) b = static_cast<std::uint8_t>(random());
  }
  std::vector<std::uint8_t> bytes;
  while (bytes.size() < size) {
    const std::uint32_t r = random();
    if (r % 10 == 0) {
      bytes.push_back(static_cast<std::uint8_t>(r >> 8));
    } else if (r % 10 == 1) {
      bytes.insert(bytes.end(), r >> 8 & 0x3FF, static_cast<std::uint8_t>(r >> 20));
    } else {
      const auto& phrase = phrases[(r >> 8) % phrases.size()];
      bytes.insert(bytes.end(), phrase.begin(), phrase.end());
    }
  }
  bytes.resize(size);
  return bytes;
}

std::vector<std::uint8_t> NoiseBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<std::uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  return bytes;
}

namespace {
std::vector<std::uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }
}  // namespace

std::vector<MuaMember> SampleMembers() {
  return {
      {"readme.txt", Text("a small text member\r\n")},
      {"se/rising01.wav", RepetitiveBytes(5000, 1)},
      {"se/Damage03.WAV", NoiseBytes(3001, 2)},
      {"se/empty.wav", {}},
      {"se/deep/er/x.bin", RepetitiveBytes(140 * 1024 + 5, 3)},
      {"image011/\x95\x5C.png", NoiseBytes(77, 4)},  // "表": second byte is "\"
      {"image011/\x83\x63.png", RepetitiveBytes(600, 5)},  // second byte is "c"
  };
}

std::vector<std::uint8_t> BuildArchiveOrDie(const std::vector<MuaMember>& members, const MuaPackOptions& options) {
  std::string error;
  std::vector<std::uint8_t> image = BuildMuaArchive(members, options, &error);
  EXPECT_FALSE(image.empty()) << error;
  return image;
}

int LoadMemoryArchive(const std::vector<std::uint8_t>& scrambled, const std::uint8_t key[kArchiveKeySize],
                      MemoryArchive* out) {
  out->image = scrambled;
  if (out->image.size() < kArchiveHeaderSize) return -1;
  UnscrambleArchiveBytes(static_cast<std::uint32_t>(out->image.size()), out->image.data(), 0, key);
  ArchiveState& state = out->state;
  ParseArchiveHeader(out->image.data(), &state.header);
  if (state.header.magic != kArchiveMagic || state.header.version >= kArchiveVersionCount) return -1;
  state.fileSize = static_cast<std::uint32_t>(out->image.size());
  const std::uint64_t end = std::uint64_t{state.header.directoryOffset} + state.header.directorySize;
  if (end > out->image.size()) return -1;
  out->directory.assign(out->image.begin() + state.header.directoryOffset, out->image.begin() + end);
  state.directory = out->directory.data();
  std::memcpy(state.key, key, kArchiveKeySize);
  return AttachArchiveDirectory(&state);
}
