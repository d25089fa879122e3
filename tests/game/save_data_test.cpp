#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "../support/as_another_user.h"
#include "../support/file_limits.h"
#include "../support/scratch_directory.h"
#include "../support/unreadable_files.h"
#include "../support/word_file_layouts.h"
#include "core/game_state.h"
#include "core/save_data.h"

namespace {

// Whatever a game before it in the same process left in the words.
TEST(SaveData, AFreshStartWritesTheDefaults) {
  ScratchDirectory scratch;
  for (const SavedWord& word : DocumentedLayout()) *word.variable = 1;
  LoadSaveData();
  EXPECT_EQ(WriteSaveData(), 0);
  const std::string bytes = scratch.Read(kSaveFileName);
  ASSERT_EQ(bytes.size(), 360u);
  EXPECT_EQ(DecodeWords(bytes), DefaultWords());
}

TEST(SaveData, EveryWordGoesToItsVariableAndBack) {
  ScratchDirectory scratch;
  // Distinct key bits, so the key configuration is accepted as it is, and option
  // words the options page can set, so they are too.
  std::vector<int> words(90);
  for (int i = 0; i < 90; ++i) words[i] = 1000 + i;
  for (int word = 26; word <= 41; ++word) words[word - 1] = word % 2;
  for (int word : {29, 88, 89}) words[word - 1] = 2;
  words[89] = 1;
  const int keys[] = {8192, 4096, 2048, 1024, 512};
  for (int i = 0; i < 5; ++i) words[20 + i] = keys[i];
  scratch.Write(kSaveFileName, EncodeWords(words));
  LoadSaveData();
  for (const SavedWord& saved : DocumentedLayout()) {
    EXPECT_EQ(*saved.variable, words[saved.word - 1]) << "word " << saved.word;
  }
  std::filesystem::remove(scratch.path() / kSaveFileName);
  ASSERT_EQ(WriteSaveData(), 0);
  // The reserved words 1, 7-10, 19 and 20 are kept as they were read.
  EXPECT_EQ(DecodeWords(scratch.Read(kSaveFileName)), words);
}

TEST(SaveData, AShortFileSetsOnlyTheWordsItHolds) {
  ScratchDirectory scratch;
  std::vector<int> words = DefaultWords();
  words.resize(40);
  words[1] = 12;  // TotalLevel
  words[31] = 0;  // HitBoxOverlayOff
  scratch.Write(kSaveFileName, EncodeWords(words) + "\x07\x00");  // and half a word
  LoadSaveData();
  EXPECT_EQ(TotalLevel, 12);
  EXPECT_EQ(HitBoxOverlayOff, 0);
  EXPECT_EQ(RecordOptionB, 1);
  EXPECT_EQ(RankingBoards[0][3][0], 9999);
  EXPECT_EQ(VibrationOption, 2);
}

TEST(SaveData, ALongerFileIsReadOnlyToItsNinetiethWord) {
  ScratchDirectory scratch;
  std::vector<int> words = DefaultWords();
  words[89] = 1;
  words.push_back(55);
  scratch.Write(kSaveFileName, EncodeWords(words));
  LoadSaveData();
  EXPECT_EQ(LightMode, 1);
  ASSERT_EQ(WriteSaveData(), 0);
  EXPECT_EQ(scratch.Read(kSaveFileName).size(), 360u);
}

TEST(SaveData, AnUnusableKeyConfigurationIsReplacedByTheDefaults) {
  const std::vector<std::vector<int>> broken = {
      {32, 16, 64, 128, 0},     // no button
      {32, 16, 8, 128, 256},    // a direction
      {32, 16, 64, 64, 256},    // one button twice
      {32, 16, 64, 128, 16384}, // no such button
  };
  for (const std::vector<int>& keys : broken) {
    ScratchDirectory scratch;
    std::vector<int> words = DefaultWords();
    for (int i = 0; i < 5; ++i) words[20 + i] = keys[i];
    words[1] = 3;
    scratch.Write(kSaveFileName, EncodeWords(words));
    LoadSaveData();
    const int defaults[] = {32, 16, 64, 128, 256};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(KeyConfig[i], defaults[i]);
    EXPECT_EQ(TotalLevel, 3);  // the other words are taken as read
  }
}

// The option words and the highest value the options page gives each (words 26-41,
// 88-90); every one of them can also be 0.
struct OptionRange {
  int word;
  int highest;
};
constexpr OptionRange kOptionRanges[] = {
    {26, 1}, {27, 1}, {28, 1}, {29, 2}, {30, 1}, {31, 1}, {32, 1}, {33, 1}, {34, 1}, {35, 1},
    {36, 1}, {37, 1}, {38, 1}, {39, 1}, {40, 1}, {41, 1}, {88, 2}, {89, 2}, {90, 1},
};

TEST(SaveData, AnOptionWordThePageCannotSetIsReplacedByItsDefault) {
  for (const OptionRange& option : kOptionRanges) {
    const int byDefault = DefaultWords()[option.word - 1];
    // (stored, loaded); the title pictures also know 999 as their first set.
    std::vector<std::pair<int, int>> cases = {
        {option.highest, option.highest}, {option.highest + 1, byDefault}, {-1, byDefault}, {0x7FFFFFFF, byDefault}};
    if (option.word == 33) cases[1] = {999, 999};
    for (const auto& [stored, loaded] : cases) {
      ScratchDirectory scratch;
      std::vector<int> words = DefaultWords();
      words[option.word - 1] = stored;
      scratch.Write(kSaveFileName, EncodeWords(words));
      LoadSaveData();
      ASSERT_EQ(WriteSaveData(), 0);
      words[option.word - 1] = loaded;  // the layout and the other words stay
      EXPECT_EQ(DecodeWords(scratch.Read(kSaveFileName)), words) << "word " << option.word << " = " << stored;
    }
  }
}

TEST(SaveData, AFailedWriteKeepsThePreviousFile) {
  ScratchDirectory scratch;
  const std::vector<int> previous = DefaultWords();
  scratch.Write(kSaveFileName, EncodeWords(previous));
  TotalLevel = 77;
  {
    const FileLimit fullDisk(RLIMIT_FSIZE, 100);  // the 360 bytes do not fit
    EXPECT_EQ(WriteSaveData(), -1);
  }
  EXPECT_EQ(DecodeWords(scratch.Read(kSaveFileName)), previous);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path()), {}), 1);  // no temporary file left
}

// Beside a linked save's target, a file of the name a temporary file might take (the
// user's, or another game's saving the same file at once) is left alone.
TEST(SaveData, SavingTouchesNothingBesideTheSave) {
  ScratchDirectory scratch;
  const std::string temporary = "synced/save.dat.tmp";
  scratch.Write(temporary, "the user's");
  std::filesystem::permissions(scratch.path() / temporary, std::filesystem::perms::owner_read);
  std::filesystem::create_symlink("synced/save.dat", scratch.path() / kSaveFileName);
  LoadSaveData();
  ASSERT_EQ(WriteSaveData(), 0);
  EXPECT_EQ(scratch.Read(temporary), "the user's");
  EXPECT_EQ(scratch.Read("synced/save.dat").size(), 360u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path() / "synced"), {}), 2);
}

// The save keeps its permissions; one read-only by its mode is not written, whoever runs the game.
TEST(SaveData, ASaveKeepsItsPermissionsAndAReadOnlyOneIsNotWritten) {
  for (const auto mode : {std::filesystem::perms(0600), std::filesystem::perms(0640), std::filesystem::perms(0444)}) {
    ScratchDirectory scratch;
    scratch.Write(kSaveFileName, EncodeWords(DefaultWords()));
    std::filesystem::permissions(scratch.path() / kSaveFileName, mode);
    LoadSaveData();
    TotalLevel = 5;
    const bool readOnly = mode == std::filesystem::perms(0444);
    EXPECT_EQ(WriteSaveData(), readOnly ? -1 : 0);
    EXPECT_EQ(std::filesystem::status(scratch.path() / kSaveFileName).permissions(), mode);
    EXPECT_EQ(DecodeWords(scratch.Read(kSaveFileName))[1], readOnly ? 0 : 5);
  }
}

// Names of the files in `folder` whose attributes (permissions among them) changed during `act`.
std::vector<std::string> AttributeChangesDuring(const std::filesystem::path& folder, const std::function<void()>& act) {
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  EXPECT_GE(::inotify_add_watch(watch, folder.c_str(), IN_ATTRIB), 0);
  act();
  std::vector<std::string> names;
  alignas(inotify_event) char events[4096];
  for (ssize_t got, at; (got = ::read(watch, events, sizeof events)) > 0;) {
    for (at = 0; at < got; at += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(events + at)->len) {
      names.emplace_back(reinterpret_cast<inotify_event*>(events + at)->name);
    }
  }
  ::close(watch);
  return names;
}

// The new contents are never open to more users than the save's: the temporary file is
// made with the save's permissions (which this umask leaves whole), not changed after.
TEST(SaveData, TheTemporaryFileIsMadeWithTheSavesPermissions) {
  const mode_t previousUmask = ::umask(022);
  for (const mode_t mode : {0600, 0640, 0644}) {
    ScratchDirectory scratch;
    scratch.Write(kSaveFileName, EncodeWords(DefaultWords()));
    ::chmod(kSaveFileName, mode);
    LoadSaveData();
    EXPECT_EQ(AttributeChangesDuring(scratch.path(), [] { EXPECT_EQ(WriteSaveData(), 0); }), std::vector<std::string>())
        << std::oct << mode;
  }
  ::umask(previousUmask);
}

// A group the user may give its files other than its own: any for root, else one it is also in.
std::optional<gid_t> AnotherGroupOfTheUser() {
  if (::geteuid() == 0) return ::getegid() + 1;
  std::vector<gid_t> groups(::getgroups(0, nullptr));
  groups.resize(std::max(::getgroups(static_cast<int>(groups.size()), groups.data()), 0));
  const auto other = std::find_if(groups.begin(), groups.end(), [](gid_t group) { return group != ::getegid(); });
  return other == groups.end() ? std::nullopt : std::optional<gid_t>(*other);
}

// A save shared through its group keeps that group, also behind a link. A user outside
// it (root acting as an ordinary user) may not give it, so the save is written in the
// user's group, where the group and others get only what both had before.
TEST(SaveData, ASharedSaveKeepsItsGroupWhereTheUserMayGiveIt) {
  const std::optional<gid_t> group = AnotherGroupOfTheUser();
  if (!group) GTEST_SKIP() << "the user is in no other group";
  constexpr uid_t kOutsider = 65534;
  // (file, its mode, written by the outsider, the mode written); only root can be the outsider
  const std::tuple<std::string, mode_t, bool, mode_t> cases[] = {
      {kSaveFileName, 0660, false, 0660}, {"synced/save.dat", 0660, false, 0660}, {kSaveFileName, 0660, true, 0600},
      {kSaveFileName, 0664, true, 0644},  {kSaveFileName, 0604, true, 0600}};
  for (const auto& [file, mode, outsider, writtenMode] : cases) {
    if (outsider && ::geteuid() != 0) continue;
    ScratchDirectory scratch;
    scratch.Write(file, EncodeWords(DefaultWords()));
    if (file != kSaveFileName) std::filesystem::create_symlink(file, scratch.path() / kSaveFileName);
    const uid_t owner = outsider ? kOutsider : ::geteuid();
    ASSERT_EQ(::chown(scratch.path().c_str(), owner, static_cast<gid_t>(-1)) | ::chown(file.c_str(), owner, *group), 0);
    ::chmod(file.c_str(), mode);
    const auto loadAndWrite = [] { return LoadSaveData(), TotalLevel = 5, WriteSaveData(); };
    EXPECT_EQ(outsider ? ExitStatusAs(kOutsider, loadAndWrite) : loadAndWrite(), 0);
    struct stat written {};
    ASSERT_EQ(::stat(file.c_str(), &written), 0);
    EXPECT_EQ(written.st_gid, outsider ? kOutsider : *group) << file << " by the outsider " << outsider;
    EXPECT_EQ(written.st_mode & 07777, writtenMode) << std::oct << mode << " by the outsider " << outsider;
    EXPECT_EQ(DecodeWords(scratch.Read(file))[1], 5);
  }
}

// Whatever stands under the name unread (permissions are judged by the mode, for root too).
TEST(SaveData, AnUnreadableFileIsKeptAsideAndNeverWrittenOver) {
  ExpectUnreadableKeptAside(kSaveFileName, "SaveData.unreadable.dat", 360u, [] {
    LoadSaveData();
    return WriteSaveData();
  });
}

// Descriptors that have run out are a failure that passes: the good file stays as it is.
TEST(SaveData, AFailureThatMayPassLeavesTheFileAsItIs) {
  ScratchDirectory scratch;
  scratch.Write(kSaveFileName, "old");
  {
    const FileLimit noDescriptors(RLIMIT_NOFILE, 0);
    LoadSaveData();
  }
  EXPECT_EQ(WriteSaveData(), -1);
  EXPECT_EQ(scratch.Read(kSaveFileName), "old");  // neither moved nor written over
}

// A save of another size is kept as it was, beside the file a link names, before the
// first write replaces it (keeping its permissions); its name taken, nothing is saved.
TEST(SaveData, ASaveOfAnotherSizeIsKeptBeforeItIsReplaced) {
  const std::string save = EncodeWords([] { std::vector<int> words = DefaultWords(); words[1] = 12; return words; }());
  const std::tuple<std::string, std::string, std::string, bool> cases[] = {
      {kSaveFileName, save.substr(0, 100), "SaveData.100-bytes.dat", false},
      {"synced/save.dat", save + std::string(1 << 20, '\x01'), "synced/save.1048936-bytes.dat", false},
      {kSaveFileName, save.substr(0, 100), "SaveData.100-bytes.dat", true}};
  for (const auto& [file, bytes, kept, taken] : cases) {
    ScratchDirectory scratch;
    scratch.Write(file, bytes);
    ::chmod(file.c_str(), 0600);
    if (file != kSaveFileName) std::filesystem::create_symlink(file, kSaveFileName);
    if (taken) scratch.Write(kept, "earlier");
    LoadSaveData();
    EXPECT_EQ(WriteSaveData(), taken ? -1 : 0) << kept;
    EXPECT_EQ(scratch.Read(kept), taken ? "earlier" : bytes) << kept;
    EXPECT_EQ(scratch.Read(file), taken ? bytes : save) << kept;  // the words read as far as they go
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0600)) << kept;
  }
}

// A save kept elsewhere through a link (into a synced folder, or through a folder that is
// a link of the user's, whose ".." is the folder above the one it names) is written
// there; the links stay.
TEST(SaveData, ASaveThatIsALinkIsWrittenThroughIt) {
  for (const std::string target : {"deep/synced/save.dat", "mine/../synced/save.dat"}) {
    ScratchDirectory scratch;
    scratch.Write("deep/synced/save.dat", "old");
    std::filesystem::create_directory("deep/mine");
    std::filesystem::create_directory_symlink("deep/mine", "mine");
    std::filesystem::create_symlink(target, kSaveFileName);
    LoadSaveData();
    ASSERT_EQ(WriteSaveData(), 0) << target;
    EXPECT_TRUE(std::filesystem::is_symlink(kSaveFileName)) << target;
    EXPECT_EQ(scratch.Read("deep/synced/save.dat").size(), 360u) << target;
  }
}

}  // namespace
