#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "archive_test_support.h"
#include "core/archive_reader.h"
#include "core/file_layer.h"
#include "file_layer_fixture.h"

namespace {

// A version 3 archive of the sample members, kept unscrambled so tests can damage it.
class DamagedArchiveTest : public FileLayerTest {
 protected:
  void SetUp() override {
    FileLayerTest::SetUp();
    BuildArchiveKey("Tovl8", key_);
    image_ = PlainImage(3, true);
    ParseArchiveHeader(image_.data(), &header_);
  }

  std::vector<std::uint8_t> PlainImage(int version, bool compress) {
    MuaPackOptions options;
    options.version = version;
    options.compress = compress;
    options.keyString = "Tovl8";
    std::vector<std::uint8_t> image = BuildArchiveOrDie(SampleMembers(), options);
    UnscrambleArchiveBytes(static_cast<std::uint32_t>(image.size()), image.data(), 0, key_);
    return image;
  }

  // Writes `image` scrambled as data\se.pop and tries to read one member from it.
  bool Opens(std::vector<std::uint8_t> image, const char* member = "data\\se\\readme.txt") {
    UnscrambleArchiveBytes(static_cast<std::uint32_t>(image.size()), image.data(), 0, key_);
    scratch_.Write("data/se.pop", std::string(image.begin(), image.end()));
    Restart("Tovl8");
    return ReadThroughLayer(member).has_value();
  }

  std::vector<std::uint8_t> WithHeaderWord(std::size_t offset, std::uint32_t value, bool wide = true) const {
    std::vector<std::uint8_t> image = image_;
    if (wide) {
      StoreLe32(image.data() + offset, value);
    } else {
      StoreLe16(image.data() + offset, static_cast<std::uint16_t>(value));
    }
    return image;
  }

  std::size_t LogLines() const {
    const std::string log = LogText();
    return static_cast<std::size_t>(std::count(log.begin(), log.end(), '\n'));
  }

  std::uint8_t key_[kArchiveKeySize];
  std::vector<std::uint8_t> image_;
  ArchiveHeader header_{};
};

}  // namespace

TEST_F(DamagedArchiveTest, TheUndamagedArchiveOpens) { EXPECT_TRUE(Opens(image_)); }

TEST_F(DamagedArchiveTest, EveryHeaderFieldOutOfRangeRefusesTheArchiveWithALogLine) {
  const auto size = static_cast<std::uint32_t>(image_.size());
  const ArchiveHeader& h = header_;
  struct Field {
    const char* what;
    std::size_t offset;
    bool wide;
    std::vector<std::uint32_t> values;
    const char* message;
  };
  const char* notArchive = "アーカイブファイルではないか、鍵が違います";
  const char* broken = "アーカイブファイルのヘッダが壊れています";
  const std::vector<Field> fields = {
      {"magic", 0, false, {0x4D55, 0, 0xFFFF}, notArchive},
      {"version", 2, false, {4, 0xFFFF}, notArchive},
      {"directory size", 4, true, {0, size - h.directoryOffset + 1, 0xFFFFFFFF}, broken},
      {"data offset", 8, true, {size + 1, 0xFFFFFFFF}, broken},
      {"directory offset", 12, true, {size, size - h.directorySize + 1, 0xFFFFFFFF}, broken},
      {"file table offset", 16, true, {h.directorySize + 1, 0xFFFFFFFF}, broken},
      {"folder table offset", 20, true, {h.directorySize - 15, h.directorySize, 0xFFFFFFFF}, broken},
  };
  for (const Field& field : fields) {
    for (std::uint32_t value : field.values) {
      SCOPED_TRACE(std::string(field.what) + " " + std::to_string(value));
      const std::size_t before = LogLines();
      EXPECT_FALSE(Opens(WithHeaderWord(field.offset, value, field.wide)));
      EXPECT_EQ(LogLines(), before + 1);
      EXPECT_NE(LogText().rfind(field.message), std::string::npos);
    }
  }
}

TEST_F(DamagedArchiveTest, ArchivesCutAtEveryKilobyteFailCleanly) {
  for (const auto& image : {image_, PlainImage(1, false)}) {
    for (std::size_t cut = 0; cut < image.size(); cut += 1024) {
      SCOPED_TRACE(cut);
      const std::size_t before = LogLines();
      EXPECT_FALSE(Opens({image.begin(), image.begin() + static_cast<std::ptrdiff_t>(cut)}));
      EXPECT_EQ(LogLines(), before + 1);
    }
  }
}

TEST_F(DamagedArchiveTest, DamagedCompressedDataFailsOnlyThatMember) {
  MemoryArchive archive;
  std::vector<std::uint8_t> scrambled = image_;
  UnscrambleArchiveBytes(static_cast<std::uint32_t>(scrambled.size()), scrambled.data(), 0, key_);
  ASSERT_EQ(LoadMemoryArchive(scrambled, key_, &archive), 0);
  const std::uint8_t* entry = FindArchiveEntry("SE\\DEEP\\ER\\X.BIN", &archive.state);
  ASSERT_NE(entry, nullptr);
  ASSERT_TRUE(ArchiveEntryIsCompressed(&archive.state, entry));
  const std::size_t block = header_.dataOffset + LoadLe32(entry + kFileEntryDataOffset);
  for (std::size_t field : {std::size_t{0}, std::size_t{4}}) {  // output size, block size
    SCOPED_TRACE(field);
    std::vector<std::uint8_t> image = image_;
    StoreLe32(image.data() + block + field, LoadLe32(image.data() + block + field) + 1);
    EXPECT_FALSE(Opens(image, "data\\se\\se\\deep\\er\\x.bin"));
    EXPECT_NE(LogText().rfind("アーカイブ内のファイルの圧縮データが壊れています"), std::string::npos);
    EXPECT_EQ(ReadThroughLayer("data\\se\\se\\rising01.wav"), SampleMembers()[1].data);
  }
}
