// The placeholder data folder holds every file the resource tables name, in the form
// the library's loaders read: RGB PNG at the tables' sizes, 16-bit PCM WAV, Ogg
// Vorbis.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/resource_table.h"

namespace {

const std::filesystem::path kData = std::filesystem::path(E2E_DATA_DIR) / "data";

std::string Head(const std::filesystem::path& file, std::size_t bytes) {
  std::ifstream in(file, std::ios::binary);
  std::string head(bytes, '\0');
  in.read(head.data(), static_cast<std::streamsize>(bytes));
  head.resize(static_cast<std::size_t>(in.gcount()));
  return head;
}

std::uint32_t BigEndian(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::uint32_t LittleEndian(const std::string& bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

TEST(GeneratedData, EveryPictureIsAnRgbPngOfItsTablesSize) {
  for (const PictureFile& picture : AllPictureFiles()) {
    SCOPED_TRACE(picture.name);
    const std::string head = Head(kData / "image011" / picture.name, 33);
    ASSERT_EQ(head.size(), 33u);
    EXPECT_EQ(head.substr(1, 3), "PNG");
    EXPECT_EQ(head.substr(12, 4), "IHDR");
    const int across = picture.count > 0 ? picture.across : 1;
    const int down = picture.count > 0 ? picture.down : 1;
    EXPECT_EQ(BigEndian(head, 16), static_cast<std::uint32_t>(picture.width * across));
    EXPECT_EQ(BigEndian(head, 20), static_cast<std::uint32_t>(picture.height * down));
    EXPECT_EQ(head[24], 8);  // bits per channel
    EXPECT_EQ(head[25], 2);  // RGB, never indexed
  }
}

TEST(GeneratedData, EverySoundEffectIsSixteenBitPcm) {
  for (const char* name : AllSoundFiles()) {
    SCOPED_TRACE(name);
    const std::string head = Head(kData / "se" / name, 44);
    ASSERT_EQ(head.size(), 44u);
    EXPECT_EQ(head.substr(0, 4), "RIFF");
    EXPECT_EQ(head.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(LittleEndian(head, 20, 2), 1u);   // PCM
    EXPECT_EQ(LittleEndian(head, 34, 2), 16u);  // bits per sample
    EXPECT_EQ(head.substr(36, 4), "data");
    EXPECT_GT(LittleEndian(head, 40, 4), 0u);
  }
}

TEST(GeneratedData, EveryPieceOfMusicIsOggVorbis) {
  for (const char* name : AllMusicFiles()) {
    SCOPED_TRACE(name);
    const std::string head = Head(kData / "bgm" / name, 64);
    ASSERT_EQ(head.size(), 64u);
    EXPECT_EQ(head.substr(0, 4), "OggS");
    EXPECT_EQ(head.substr(29, 6), "vorbis");
  }
}

TEST(GeneratedData, NoArchiveHidesTheLooseFiles) {
  EXPECT_FALSE(std::filesystem::exists(kData.parent_path() / "data.pop"));
  for (const char* folder : {"image011", "se", "bgm"}) {
    EXPECT_FALSE(std::filesystem::exists(kData / (std::string(folder) + ".pop"))) << folder;
  }
}

}  // namespace
