#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "archive_test_support.h"
#include "core/archive_reader.h"

namespace {

class ArchiveDirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MuaPackOptions options;
    options.version = 1;
    options.keyString = "Tovl8";
    scrambled_ = BuildArchiveOrDie(SampleMembers(), options);
    BuildArchiveKey("Tovl8", key_);
    ASSERT_EQ(LoadMemoryArchive(scrambled_, key_, &archive_), 0);
  }

  ArchiveState* state() { return &archive_.state; }

  // The member's bytes as stored (version 1 never compresses).
  std::vector<std::uint8_t> StoredBytes(const std::uint8_t* entry) {
    const std::size_t at = archive_.state.header.dataOffset + LoadLe32(entry + kFileEntryDataOffset);
    return {archive_.image.begin() + at, archive_.image.begin() + at + ArchiveEntrySize(entry)};
  }

  // Runs `damage` on a fresh copy of the unscrambled image and reloads it.
  int LoadDamaged(const std::function<void(std::vector<std::uint8_t>&, const ArchiveHeader&)>& damage) {
    std::vector<std::uint8_t> image = archive_.image;
    damage(image, archive_.state.header);
    UnscrambleArchiveBytes(static_cast<std::uint32_t>(image.size()), image.data(), 0, key_);
    MemoryArchive damaged;
    return LoadMemoryArchive(image, key_, &damaged);
  }

  std::vector<std::uint8_t> scrambled_;
  std::uint8_t key_[kArchiveKeySize];
  MemoryArchive archive_;
};

std::uint8_t* DirectoryAt(std::vector<std::uint8_t>& image, const ArchiveHeader& h, std::uint32_t offset) {
  return image.data() + h.directoryOffset + offset;
}

}  // namespace

TEST_F(ArchiveDirectoryTest, EveryMemberIsFoundWhateverTheLetterCase) {
  for (const MuaMember& member : SampleMembers()) {
    std::string path = member.path;
    for (char& c : path) c = c == '/' ? '\\' : c;
    const std::uint8_t* entry = FindArchiveEntry(path.c_str(), state());
    ASSERT_NE(entry, nullptr) << path;
    EXPECT_EQ(StoredBytes(entry), member.data) << path;
  }
  EXPECT_NE(FindArchiveEntry("SE\\RISING01.WAV", state()), nullptr);
  EXPECT_NE(FindArchiveEntry("Se\\rIsInG01.wav", state()), nullptr);
  EXPECT_EQ(state()->currentFolder, 0u);
}

TEST_F(ArchiveDirectoryTest, TwoByteCharactersMatchExactly) {
  EXPECT_NE(FindArchiveEntry("image011\\\x95\x5C.PNG", state()), nullptr);
  EXPECT_NE(FindArchiveEntry("IMAGE011\\\x83\x63.png", state()), nullptr);
  // "イ" differs from "ツ" only by the case of its second byte.
  EXPECT_EQ(FindArchiveEntry("IMAGE011\\\x83\x43.png", state()), nullptr);
}

TEST_F(ArchiveDirectoryTest, FoldersAreNotFilesAndMissingFoldersFindNothing) {
  EXPECT_EQ(FindArchiveEntry("se", state()), nullptr);
  EXPECT_EQ(FindArchiveEntry("se\\deep", state()), nullptr);
  EXPECT_EQ(FindArchiveEntry("se\\deep\\", state()), nullptr);
  // A missing folder never falls back to a same-named file where the walk stopped.
  EXPECT_EQ(FindArchiveEntry("missing\\readme.txt", state()), nullptr);
  EXPECT_EQ(FindArchiveEntry("se\\missing\\rising01.wav", state()), nullptr);
  EXPECT_EQ(FindArchiveEntry("readme.txt\\x", state()), nullptr);
  EXPECT_EQ(FindArchiveEntry("se\\\\rising01.wav", state()), nullptr);
  EXPECT_EQ(FindArchiveEntry(std::string(300, 'a').c_str(), state()), nullptr);
}

TEST_F(ArchiveDirectoryTest, DetoursThroughParentResolveLikeTheDirectPath) {
  const std::uint8_t* direct = FindArchiveEntry("SE\\DEEP\\ER\\X.BIN", state());
  ASSERT_NE(direct, nullptr);
  EXPECT_EQ(FindArchiveEntry("SE\\..\\SE\\DEEP\\ER\\X.BIN", state()), direct);
  EXPECT_EQ(FindArchiveEntry("SE\\DEEP\\.\\..\\DEEP\\ER\\X.BIN", state()), direct);
  EXPECT_EQ(FindArchiveEntry("\\SE\\DEEP\\ER\\X.BIN", state()), direct);
  EXPECT_EQ(FindArchiveEntry("..\\SE\\DEEP\\ER\\X.BIN", state()), nullptr);
}

TEST_F(ArchiveDirectoryTest, ChangeFolderWalksAndRestores) {
  ArchiveNameEntry last;
  EXPECT_EQ(ChangeArchiveFolder(state(), "..", 1, &last), -1);  // at the root
  ASSERT_EQ(ChangeArchiveFolder(state(), "se\\deep", 1, &last), 0);
  const std::uint32_t deep = state()->currentFolder;
  EXPECT_NE(deep, 0u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(last.name)), "DEEP");
  EXPECT_EQ(ChangeArchiveFolder(state(), ".", 1, nullptr), 0);
  EXPECT_EQ(state()->currentFolder, deep);
  // A failed walk with restore 1 comes back; with 0 it stays where it stopped.
  EXPECT_EQ(ChangeArchiveFolder(state(), "er\\nothing\\x", 1, &last), -1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(last.name)), "NOTHING");
  EXPECT_EQ(state()->currentFolder, deep);
  EXPECT_EQ(ChangeArchiveFolder(state(), "er\\nothing\\x", 0, &last), -1);
  EXPECT_NE(state()->currentFolder, deep);
  EXPECT_EQ(ChangeArchiveFolder(state(), "\\", 1, nullptr), 0);
  EXPECT_EQ(state()->currentFolder, 0u);
}

TEST_F(ArchiveDirectoryTest, DamagedDirectoryFieldsRefuseTheArchive) {
  const std::size_t entrySize = ArchiveFileEntrySize(1);
  struct Damage {
    const char* what;
    std::function<void(std::vector<std::uint8_t>&, const ArchiveHeader&)> apply;
  };
  const std::vector<Damage> damages = {
      {"folder count", [](auto& img, const auto& h) {
         StoreLe32(DirectoryAt(img, h, h.folderTableOffset + kFolderEntryCount), 1000000);
       }},
      {"first file entry", [](auto& img, const auto& h) {
         StoreLe32(DirectoryAt(img, h, h.folderTableOffset + kFolderEntryFirstFile), h.directorySize);
       }},
      {"root parent", [](auto& img, const auto& h) {
         StoreLe32(DirectoryAt(img, h, h.folderTableOffset + kFolderEntryParent), 0);
       }},
      {"name offset", [&](auto& img, const auto& h) {
         StoreLe32(DirectoryAt(img, h, h.fileTableOffset + kFileEntryNameOffset), h.directorySize - 2);
       }},
      {"name length", [&](auto& img, const auto& h) {
         const std::uint32_t name = LoadLe32(DirectoryAt(img, h, h.fileTableOffset + kFileEntryNameOffset));
         StoreLe16(DirectoryAt(img, h, name), 0xFFFF);
       }},
      {"empty name", [&](auto& img, const auto& h) {
         const std::uint32_t name = LoadLe32(DirectoryAt(img, h, h.fileTableOffset + kFileEntryNameOffset));
         StoreLe16(DirectoryAt(img, h, name), 0);
       }},
      {"member data offset", [&](auto& img, const auto& h) {
         for (std::uint32_t at = h.fileTableOffset; at < h.folderTableOffset; at += entrySize) {
           StoreLe32(DirectoryAt(img, h, at + kFileEntryDataOffset), 0x7FFFFFF0);
         }
       }},
      {"member size", [&](auto& img, const auto& h) {
         for (std::uint32_t at = h.fileTableOffset; at < h.folderTableOffset; at += entrySize) {
           if (!(LoadLe32(DirectoryAt(img, h, at + kFileEntryAttributes)) & kArchiveFolderAttribute)) {
             StoreLe32(DirectoryAt(img, h, at + kFileEntrySize), 0xFFFFFFF0);
           }
         }
       }},
      {"folder entry offset", [&](auto& img, const auto& h) {
         for (std::uint32_t at = h.fileTableOffset; at < h.folderTableOffset; at += entrySize) {
           if (LoadLe32(DirectoryAt(img, h, at + kFileEntryAttributes)) & kArchiveFolderAttribute) {
             StoreLe32(DirectoryAt(img, h, at + kFileEntryDataOffset), 0xFFFFFF00);
           }
         }
       }},
      {"folder looping to the root", [&](auto& img, const auto& h) {
         for (std::uint32_t at = h.fileTableOffset; at < h.folderTableOffset; at += entrySize) {
           if (LoadLe32(DirectoryAt(img, h, at + kFileEntryAttributes)) & kArchiveFolderAttribute) {
             StoreLe32(DirectoryAt(img, h, at + kFileEntryDataOffset), 0);
           }
         }
       }},
  };
  for (const Damage& damage : damages) EXPECT_EQ(LoadDamaged(damage.apply), -1) << damage.what;
  EXPECT_EQ(LoadDamaged([](auto&, const auto&) {}), 0);
}
