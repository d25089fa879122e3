#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "../support/process_temporary_folder.h"
#include "archive_test_support.h"
#include "core/archive_reader.h"
#include "core/file_layer.h"
#include "core/file_paths.h"
#include "file_layer_fixture.h"
#include "kernel/files.h"
#include "kernel/handles.h"

namespace {

struct PackCase {
  int version;
  bool compress;
  MuaKeyMode keyMode;
  const char* readerKey;  // the key the layer is given; null for none
};

std::string Describe(const PackCase& c) {
  const char* modes[] = {"key", "no key", "fall-back key"};
  return "version " + std::to_string(c.version) + (c.compress ? " compressed, " : " stored, ") +
         modes[static_cast<int>(c.keyMode)] + ", reader key " + (c.readerKey ? c.readerKey : "none");
}

class ArchiveFileLayerTest : public FileLayerTest {
 protected:
  void SetUp() override {
    FileLayerTest::SetUp();
    WriteLoose("source/se", SampleMembers());
  }

  void PackSe(const PackCase& c) {
    MuaPackOptions options;
    options.version = c.version;
    options.compress = c.compress;
    options.keyMode = c.keyMode;
    options.keyString = "Tovl8";
    Pack("source/se", "data/se.pop", options);
  }
};

}  // namespace

TEST_F(ArchiveFileLayerTest, EveryVersionKeyAndCompressionReadsBackByteIdentical) {
  std::vector<PackCase> cases;
  for (int version = 0; version < 4; ++version) {
    for (bool compress : {false, true}) {
      if (compress && version < 2) continue;
      cases.push_back({version, compress, MuaKeyMode::kKeyString, "Tovl8"});
      cases.push_back({version, compress, MuaKeyMode::kNoKeyString, nullptr});
      cases.push_back({version, compress, MuaKeyMode::kFallbackKey, "Tovl8"});
    }
  }
  cases.push_back({3, true, MuaKeyMode::kFallbackKey, nullptr});
  cases.push_back({3, true, MuaKeyMode::kNoKeyString, ""});  // an empty key counts as none
  for (const PackCase& c : cases) {
    SCOPED_TRACE(Describe(c));
    PackSe(c);
    Restart(c.readerKey);
    for (const MuaMember& member : SampleMembers()) {
      // No loose "data\se" folder exists: every byte comes from the archive.
      const auto bytes = ReadThroughLayer(GamePath("data\\se", member.path), 777);
      ASSERT_TRUE(bytes.has_value()) << member.path;
      EXPECT_EQ(*bytes, member.data) << member.path;
    }
    EXPECT_EQ(GetOpenArchiveCount(), 1);
  }
}

TEST_F(ArchiveFileLayerTest, WrongKeyRefusesTheArchiveWithALogLineAndFallsBackToLooseFiles) {
  PackSe({3, true, MuaKeyMode::kKeyString, nullptr});
  Restart("another");
  EXPECT_FALSE(ReadThroughLayer("data\\se\\readme.txt").has_value());
  EXPECT_NE(LogText().find("アーカイブファイルではないか、鍵が違います"), std::string::npos);
  WriteLoose("data/se", {{"readme.txt", {'l', 'o', 'o', 's', 'e'}}});
  EXPECT_EQ(ReadThroughLayer("data\\se\\readme.txt"), (std::vector<std::uint8_t>{'l', 'o', 'o', 's', 'e'}));
}

TEST_F(ArchiveFileLayerTest, ArchiveHidesLooseFilesOfItsFolderAndLooseFoldersStayReadable) {
  PackSe({2, false, MuaKeyMode::kKeyString, "Tovl8"});
  WriteLoose("data/se", {{"only_loose.wav", {1, 2, 3}}, {"readme.txt", {9}}});
  WriteLoose("data/image011", {{"title.png", {4, 5, 6}}});
  // The member wins over the loose file of the same name; a member missing from the
  // archive fails the open even though the loose file exists.
  EXPECT_EQ(ReadThroughLayer("data\\se\\readme.txt"), SampleMembers()[0].data);
  EXPECT_FALSE(ReadThroughLayer("data\\se\\only_loose.wav").has_value());
  // No archive on this path: the loose file, whatever the letter case.
  EXPECT_EQ(ReadThroughLayer("DATA\\Image011\\TITLE.PNG"), (std::vector<std::uint8_t>{4, 5, 6}));
  EXPECT_FALSE(ReadThroughLayer("data\\image011\\missing.png").has_value());
}

TEST_F(ArchiveFileLayerTest, ThreadedLooseFilesReadTheSameThroughTheLayer) {
  const std::vector<std::uint8_t> big = NoiseBytes(300000, 9);
  WriteLoose("data/bgm", {{"stage1.ogg", big}});
  EXPECT_EQ(ReadThroughLayer("data\\bgm\\stage1.ogg", 131072 + 3, 1), big);
}

TEST_F(ArchiveFileLayerTest, TheCachedFolderIsReusedButNeverMatchesALongerFolderName) {
  PackSe({3, false, MuaKeyMode::kKeyString, "Tovl8"});
  // se2 holds a loose "readme.txt" unlike the archive's one.
  WriteLoose("data/se2", {{"readme.txt", {'s', 'e', '2'}}});
  ASSERT_TRUE(ReadThroughLayer("data\\se\\readme.txt").has_value());
  ASSERT_TRUE(ReadThroughLayer("data/SE/se/rising01.wav").has_value());
  EXPECT_EQ(GetOpenArchiveCount(), 1);
  EXPECT_EQ(ReadThroughLayer("data\\se2\\readme.txt"), (std::vector<std::uint8_t>{'s', 'e', '2'}));
}

TEST_F(ArchiveFileLayerTest, AbsolutePathsWalkFromTheRoot) {
  PackSe({3, true, MuaKeyMode::kKeyString, "Tovl8"});
  const std::string absolute = (scratch_.path() / "data/se/se/Damage03.WAV").string();
  EXPECT_EQ(ReadThroughLayer(absolute), SampleMembers()[2].data);
  std::string backslashed = absolute;
  for (char& c : backslashed) c = c == '/' ? '\\' : c;
  EXPECT_EQ(ReadThroughLayer(backslashed), SampleMembers()[2].data);
  scratch_.Write("data\\se/readme.txt", "own");
  std::filesystem::current_path("data\\se");
  EXPECT_EQ(ReadThroughLayer("readme.txt"), (std::vector<std::uint8_t>{'o', 'w', 'n'}));
}

TEST_F(ArchiveFileLayerTest, MembersAndLooseFilesReadWholeElementsAlike) {
  const std::vector<std::uint8_t> ten = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  WriteLoose("source/bgm", {{"ten.bin", ten}});
  WriteLoose("data/image011", {{"ten.bin", ten}});
  MuaPackOptions options;
  options.keyString = "Tovl8";
  Pack("source/bgm", "data/bgm.pop", options);
  for (const char* path : {"data\\bgm\\ten.bin", "data\\image011\\ten.bin"}) {
    SCOPED_TRACE(path);
    const StreamHandle file = FileOpen(path);
    ASSERT_NE(file, 0u);
    std::uint8_t buffer[16] = {};
    EXPECT_EQ(FileReadBlock(buffer, 4, 10, file), 2u);
    EXPECT_EQ(FileTell(file), 8);
    EXPECT_EQ(FileReadBlock(buffer, 4, 1, file), 0u);  // two bytes left: no whole element
    EXPECT_EQ(FileReadBlock(buffer, 0, 5, file), 0u);
    EXPECT_EQ(FileReadBlock(buffer, 5, 0, file), 0u);
    EXPECT_EQ(FileReadBlock(buffer, SIZE_MAX / 2, 4, file), 0u);
    EXPECT_EQ(FileTell(file), 8);
    EXPECT_EQ(FileReadBlock(buffer, 1, 16, file), 2u);
    EXPECT_EQ(buffer[1], 9);
    EXPECT_EQ(FileReadBlock(buffer, 1, 16, file), 0u);
    EXPECT_NE(FileEof(file), 0);
    EXPECT_EQ(FileSeek(file, -3, 2), 0);
    EXPECT_EQ(FileEof(file), 0);
    EXPECT_EQ(FileReadBlock(buffer, 1, 1, file), 1u);
    EXPECT_EQ(buffer[0], 7);
    EXPECT_EQ(FileClose(file), 0);
  }
}

TEST_F(ArchiveFileLayerTest, FailedSeeksKeepThePositionAndMemberSeeksClamp) {
  WriteLoose("data/image011", {{"ten.bin", std::vector<std::uint8_t>(10, 1)}});
  PackSe({3, true, MuaKeyMode::kKeyString, "Tovl8"});
  const StreamHandle loose = FileOpen("data\\image011\\ten.bin");
  ASSERT_NE(loose, 0u);
  ASSERT_EQ(FileSeek(loose, 4, 0), 0);
  EXPECT_EQ(FileSeek(loose, -5, 1), -1);
  EXPECT_EQ(FileSeek(loose, -11, 2), -1);
  EXPECT_EQ(FileTell(loose), 4);
  FileClose(loose);
  const StreamHandle member = FileOpen("data\\se\\se\\rising01.wav");
  ASSERT_NE(member, 0u);
  EXPECT_EQ(FileSeek(member, -5, 0), 0);
  EXPECT_EQ(FileTell(member), 0);
  EXPECT_EQ(FileSeek(member, 100, 2), 0);
  EXPECT_EQ(FileTell(member), 5000);
  FileClose(member);
}

TEST_F(ArchiveFileLayerTest, StrayHandlesAreRefused) {
  WriteLoose("data/image011", {{"a.bin", {1}}});
  const StreamHandle file = FileOpen("data\\image011\\a.bin");
  ASSERT_NE(file, 0u);
  std::uint8_t byte;
  for (StreamHandle stray : {StreamHandle{0}, StreamHandle{0x12345}, StreamHandle{0xF0000FFF},
                             StreamHandle{0xF00001FF}, file + 1, file | (StreamHandle{1} << 40),
                             ~StreamHandle{0}}) {
    SCOPED_TRACE(stray);
    EXPECT_EQ(FileClose(stray), -1);
    EXPECT_EQ(FileTell(stray), -1);
    EXPECT_EQ(FileSeek(stray, 0, 0), -1);
    EXPECT_EQ(FileEof(stray), -1);
    EXPECT_EQ(FileReadBlock(&byte, 1, 1, stray), 0u);
  }
  EXPECT_EQ(FileClose(file), 0);
  EXPECT_EQ(FileClose(file), -1);
}

TEST_F(ArchiveFileLayerTest, AtMost512FilesAreOpenAtOnce) {
  WriteLoose("data/image011", {{"a.bin", {1}}});
  PackSe({3, false, MuaKeyMode::kKeyString, "Tovl8"});
  std::vector<StreamHandle> files;
  for (int i = 0; i < 512; ++i) {
    files.push_back(FileOpen(i % 2 ? "data\\image011\\a.bin" : "data\\se\\readme.txt"));
    ASSERT_NE(files.back(), 0u) << i;
  }
  EXPECT_EQ(FileOpen("data\\image011\\a.bin"), 0u);
  EXPECT_NE(LogText().find("同時に開けるファイルの数が限界を超えました"), std::string::npos);
  for (StreamHandle file : files) EXPECT_EQ(FileClose(file), 0);
  // The archive stays open, unreferenced, until the archives are closed.
  EXPECT_EQ(GetOpenArchiveCount(), 1);
  CloseAllArchives();
  EXPECT_EQ(GetOpenArchiveCount(), 0);
}

TEST_F(ArchiveFileLayerTest, AFullArchiveTableClosesUnusedArchivesForANewOne) {
  MuaPackOptions options;
  options.keyString = "Tovl8";
  WriteLoose("source/one", {{"x.bin", {7}}});
  std::vector<std::uint8_t> image;
  std::string error;
  std::vector<MuaMember> members;
  ASSERT_TRUE(CollectMuaMembers(scratch_.path() / "source/one", &members, &error)) << error;
  image = BuildMuaArchive(members, options, &error);
  for (int i = 0; i <= kArchiveTableSize; ++i) {
    scratch_.Write("data/f" + std::to_string(i) + ".pop", std::string(image.begin(), image.end()));
  }
  for (int i = 0; i <= kArchiveTableSize; ++i) {
    EXPECT_EQ(ReadThroughLayer("data\\f" + std::to_string(i) + "\\x.bin"), std::vector<std::uint8_t>{7}) << i;
    EXPECT_EQ(GetOpenArchiveCount(), i < kArchiveTableSize ? i + 1 : 1);
  }
}

TEST_F(ArchiveFileLayerTest, FileStreamOpsReadThroughTheInstalledTable) {
  PackSe({3, true, MuaKeyMode::kKeyString, "Tovl8"});
  const DataStream stream = {GetFileStreamOps(), FileOpen("data\\se\\se\\Damage03.wav")};
  ASSERT_NE(stream.handle, 0u);
  std::vector<std::uint8_t> bytes(SampleMembers()[2].data.size());
  EXPECT_EQ(stream.ops->seek(stream.handle, 0, 2), 0);
  EXPECT_EQ(stream.ops->tell(stream.handle), static_cast<std::int64_t>(bytes.size()));
  EXPECT_EQ(stream.ops->seek(stream.handle, 0, 0), 0);
  EXPECT_EQ(stream.ops->read(bytes.data(), 1, bytes.size(), stream.handle), bytes.size());
  EXPECT_EQ(bytes, SampleMembers()[2].data);
  EXPECT_EQ(stream.ops->idleCheck(stream.handle), 1);
  EXPECT_EQ(stream.ops->close(stream.handle), 0);
}

TEST_F(ArchiveFileLayerTest, ArchivesOffReadsLooseFilesOnly) {
  PackSe({3, false, MuaKeyMode::kKeyString, "Tovl8"});
  WriteLoose("data/se", {{"readme.txt", {'L'}}});
  SetArchiveAccessBody(0);
  Restart("Tovl8");  // the setting survives the restart and chooses the plain set
  EXPECT_EQ(ReadThroughLayer("data\\se\\readme.txt"), (std::vector<std::uint8_t>{'L'}));
  EXPECT_EQ(GetOpenArchiveCount(), 0);
  // A change after the start does not switch the installed table.
  SetArchiveAccessBody(1);
  EXPECT_EQ(ReadThroughLayer("data\\se\\readme.txt"), (std::vector<std::uint8_t>{'L'}));
  InstallFileFunctionTable(nullptr);
  EXPECT_EQ(ReadThroughLayer("data\\se\\readme.txt"), SampleMembers()[0].data);
}

TEST_F(ArchiveFileLayerTest, StartUpClearsExtensionAndKey) {
  MuaPackOptions options;
  options.keyString = "Tovl8";
  Pack("source/se", "data/se.MUA", options);
  SetArchiveFileExtensionBody("pop");
  SetArchiveKeyBody("other");
  InitFileSystem();
  InstallFileFunctionTable(nullptr);
  // The default extension "MUA" finds the archive; made with a key, it is refused without one.
  EXPECT_FALSE(ReadThroughLayer("data\\se\\readme.txt").has_value());
  SetArchiveKeyBody("Tovl8");
  EXPECT_EQ(ReadThroughLayer("data\\se\\readme.txt"), SampleMembers()[0].data);
  // Extensions of 64 characters or more, and the empty one, give the default back.
  SetArchiveFileExtensionBody(std::string(64, 'x').c_str());
  EXPECT_STREQ(GetArchiveFileExtension(), "MUA");
  SetArchiveFileExtensionBody(std::string(63, 'x').c_str());
  EXPECT_EQ(std::string(GetArchiveFileExtension()), std::string(63, 'x'));
  SetArchiveFileExtensionBody("");
  EXPECT_STREQ(GetArchiveFileExtension(), "MUA");
  SetArchiveKeyBody("abcdefghijklmnop");
  EXPECT_STREQ(GetArchiveKeyString(), "abcdefghijkl");
  SetArchiveKeyBody(nullptr);
  EXPECT_EQ(GetArchiveKeyString(), nullptr);
}

TEST_F(ArchiveFileLayerTest, ACallersTableReplacesTheStandardOne) {
  static int opens = 0;
  FileFunctionTable table = {};
  table.open = [](const char*, int, int) -> StreamHandle {
    ++opens;
    return 0;
  };
  InstallFileFunctionTable(&table);
  WriteLoose("data/image011", {{"a.bin", {1}}});
  EXPECT_FALSE(ReadThroughLayer("data\\image011\\a.bin").has_value());
  EXPECT_EQ(opens, 1);
  InstallFileFunctionTable(nullptr);
  EXPECT_TRUE(ReadThroughLayer("data\\image011\\a.bin").has_value());
}

TEST_F(ArchiveFileLayerTest, CurrentDirectoryGoesThroughTheTable) {
  std::filesystem::create_directories(scratch_.path() / "data/se");
  char start[kFilePathMax];
  ASSERT_EQ(FileGetCurrentDir(start, sizeof start), 0);
  EXPECT_EQ(std::filesystem::path(start), scratch_.path());
  EXPECT_EQ(FileSetCurrentDir("DATA\\se"), 0);
  char now[kFilePathMax];
  ASSERT_EQ(FileGetCurrentDir(now, sizeof now), 0);
  EXPECT_EQ(std::filesystem::path(now), scratch_.path() / "data/se");
  char tiny[4];
  EXPECT_EQ(FileGetCurrentDir(tiny, sizeof tiny), -1);
  EXPECT_EQ(FileSetCurrentDir("missing"), -1);
  EXPECT_EQ(FileSetCurrentDir(start), 0);
}

TEST_F(ArchiveFileLayerTest, ThePackerToolWritesWhatTheLayerReads) {
  std::filesystem::create_directories(scratch_.path() / "data");
  const std::string command = std::string(MUA_PACK_PATH) + " --version 3 --compress --key Tovl8 " +
                              (scratch_.path() / "source/se").string() + " " +
                              (scratch_.path() / "data/se.pop").string() + " > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const MuaMember& member : SampleMembers()) {
    EXPECT_EQ(ReadThroughLayer(GamePath("data\\se", member.path)), member.data) << member.path;
  }
  // Without an archive name it writes FOLDER.pop beside the folder.
  std::filesystem::rename(scratch_.path() / "source/se", scratch_.path() / "data/bgm");
  const std::string beside = std::string(MUA_PACK_PATH) + " --fallback-key " +
                             (scratch_.path() / "data/bgm").string() + "/ > /dev/null";
  ASSERT_EQ(std::system(beside.c_str()), 0);
  EXPECT_TRUE(std::filesystem::exists(scratch_.path() / "data/bgm.pop"));
}

// In a temporary folder named "t\mp", not in "t/mp".
TEST_F(ArchiveFileLayerTest, TempFilesAreNewEmptyAndNamedInFull) {
  for (const char* folder : {"t\\mp", "t/mp"}) std::filesystem::create_directories(folder);
  setenv("TMPDIR", (scratch_.path() / "t\\mp").c_str(), 1);
  char path[kFilePathMax];
  HANDLE file = WriteTempFile(path, sizeof path);
  ASSERT_NE(file, nullptr);
  EXPECT_NE(std::string(path).find("tmp"), std::string::npos);
  char first[kFilePathMax];
  std::strcpy(first, path);
  HANDLE second = WriteTempFile(path, sizeof path);
  ASSERT_NE(second, nullptr);
  EXPECT_STRNE(first, path);
  setenv("TMPDIR", ProcessTemporaryFolder().c_str(), 1);
  EXPECT_EQ(std::filesystem::path(path).parent_path(), scratch_.path() / "t\\mp");
  EXPECT_TRUE(std::filesystem::is_empty("t/mp"));
  CloseHandle(file);
  CloseHandle(second);
  const StreamHandle reread = FileOpen(first);
  ASSERT_NE(reread, 0u);
  std::uint8_t byte;
  EXPECT_EQ(FileReadBlock(&byte, 1, 1, reread), 0u);
  FileClose(reread);
  DeleteFileA(first);
  DeleteFileA(path);
  char tiny[4];
  EXPECT_EQ(WriteTempFile(tiny, sizeof tiny), nullptr);
}
