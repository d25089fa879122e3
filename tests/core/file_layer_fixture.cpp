#include "file_layer_fixture.h"

#include "core/archive_reader.h"
#include "core/log.h"
#include "core/tracked_alloc.h"

void FileLayerTest::SetUp() {
  OpenLogFile();
  blocksAtStart_ = TrackedBlocksInUse();
  SetArchiveAccessBody(1);
  Restart("Tovl8");
}

void FileLayerTest::TearDown() {
  EXPECT_EQ(GetOpenFileCount(), 0);
  CloseAllArchives();
  EXPECT_EQ(GetOpenArchiveCount(), 0);
  EXPECT_EQ(TrackedBlocksInUse(), blocksAtStart_);
}

void FileLayerTest::Restart(const char* key) {
  CloseAllArchives();
  InitFileSystem();
  InstallFileFunctionTable(nullptr);
  SetArchiveFileExtensionBody("pop");
  SetArchiveKeyBody(key);
}

void FileLayerTest::WriteLoose(const std::string& folder, const std::vector<MuaMember>& members) {
  for (const MuaMember& member : members) {
    scratch_.Write(folder + "/" + member.path, std::string(member.data.begin(), member.data.end()));
  }
}

void FileLayerTest::Pack(const std::string& folder, const std::string& archive, const MuaPackOptions& options) {
  std::string error;
  std::filesystem::create_directories((scratch_.path() / archive).parent_path());
  ASSERT_TRUE(PackFolderToMuaArchive(scratch_.path() / folder, scratch_.path() / archive, options, &error)) << error;
}

std::optional<std::vector<std::uint8_t>> FileLayerTest::ReadThroughLayer(const std::string& path, std::size_t piece,
                                                                         int async) {
  const StreamHandle file = FileOpen(path.c_str(), async);
  if (file == 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint8_t> buffer(piece);
  for (;;) {
    const std::size_t got = FileReadBlock(buffer.data(), 1, piece, file);
    if (got == 0) break;
    bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got));
  }
  EXPECT_NE(FileEof(file), 0) << path;
  FileClose(file);
  return bytes;
}

std::string FileLayerTest::LogText() const { return scratch_.Read("Log.txt"); }

std::string GamePath(const std::string& folder, const std::string& member) {
  std::string path = folder + "\\" + member;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}
