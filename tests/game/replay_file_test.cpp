#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "../support/as_another_user.h"
#include "../support/file_limits.h"
#include "../support/scratch_directory.h"
#include "../support/unreadable_files.h"
#include "../support/word_file_layouts.h"
#include "core/game_state.h"
#include "core/input.h"
#include "core/replay_files.h"
#include "core/save_data.h"

namespace {

// name A B C, score 900, shots 20 and 70, mode 1, option type 2, option shot 3, coins 44,
// kills 55, clear time 66, facing lock control 2, key bits of actions 1-5.
const std::vector<int> kHeader = {'A', 'B', 'C', 900, 20, 70, 1, 2, 3, 44, 55, 66, 2, 64, 128, 256, 512, 1024};

void Record(const std::vector<int>& words) {
  ReplayMode = kReplayRecording;
  BeginReplayIo();
  for (int word : words) ReplayBuffer[ReplayFrameCount++] = word;
}

TEST(ReplayFiles, ARecordingIsWrittenWordForWordAndListedAtOnce) {
  ScratchDirectory scratch;
  const std::vector<int> header = {'X', 'Y', 'Z', 12345, 30, 40, 1, 3, 1, 11, 22, 33, 1, 16, 32, 64, 128, 256};
  SetRecordedRun(header);
  Score += 0.9f;  // written as its whole part
  Record({5, 0, -1, 8192});
  ReplaySlot = 4;
  EXPECT_EQ(FinishReplay(), 0);
  EXPECT_EQ(ReplayMode, kReplayOff);
  const std::string bytes = scratch.Read("VTReplaydata04.dat");
  ASSERT_EQ(bytes.size(), 4u * (19 + 4 + 300));
  EXPECT_EQ(DecodeWords(bytes), ReplayWords(header, 4, {5, 0, -1, 8192}));
  const ReplayListEntry& entry = ReplayList[4];
  EXPECT_EQ(std::vector<int>({entry.name[0], entry.score, entry.mainShot, entry.gameMode, entry.optionType,
                              entry.clearTime}),
            std::vector<int>({'X', 12345, 30, 1, 3, 33}));
}

// A save and a replay made where none stood are their owner's to read and replace at the
// next start whatever the umask; the group's and others' bits are the umask's.
TEST(ReplayFiles, ASaveAndAReplayMadeUnderAnyUmaskAreReadBackAndWrittenAgain) {
  for (const auto& [mask, mode] : {std::pair<mode_t, int>{022, 0644}, {077, 0600}, {0277, 0600}, {0477, 0600}}) {
    SCOPED_TRACE(testing::Message() << "umask " << std::oct << mask);
    ScratchDirectory scratch;
    const mode_t before = ::umask(mask);
    LoadSaveData();
    LightMode = 1;
    EXPECT_EQ(WriteSaveData(), 0);
    SetRecordedRun(kHeader);
    Record({5});
    ReplaySlot = 2;
    EXPECT_EQ(FinishReplay(), 0);
    LightMode = ReplayList[2].score = 0;
    LoadSaveData();  // the next start
    EXPECT_EQ(std::pair(LightMode, ReplayList[2].score), std::pair(1, 900));
    EXPECT_EQ(WriteSaveData(), 0);
    ::umask(before);
    for (const std::string& name : {std::string(kSaveFileName), ReplayFileName(2)}) {
      EXPECT_EQ(static_cast<int>(std::filesystem::status(name).permissions()), mode) << name;
    }
  }
}

TEST(ReplayFiles, ARecordingWithoutASlotWritesNothing) {
  ScratchDirectory scratch;
  Record({1});
  ReplaySlot = kReplayNoSlot;
  EXPECT_EQ(FinishReplay(), -1);
  EXPECT_EQ(ReplayMode, kReplayOff);
  EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));
}

TEST(ReplayFiles, AFailedWriteKeepsThePreviousReplayAndReportsIt) {
  ScratchDirectory scratch;
  const std::string previous = EncodeWords(ReplayWords(kHeader, 1, {7}));
  scratch.Write("VTReplaydata02.dat", previous);
  LoadSaveData();
  Record({1, 2});
  ReplaySlot = 2;
  {
    const FileLimit fullDisk(RLIMIT_FSIZE, 100);
    EXPECT_EQ(FinishReplay(), -1);
  }
  EXPECT_EQ(scratch.Read("VTReplaydata02.dat"), previous);
}

// A name that leads through a link of another user (`theirs`, given to uid 65534), or
// through the user's own links to something that is no regular file, to what stands at
// "there/...": a file only root may read, a copy of the null device (a usual way to keep
// no save), a folder or a FIFO. NAME is the game's name, SCRATCH the test's folder.
struct LinkCase {
  std::vector<std::pair<std::string, std::string>> links;  // (link, target)
  std::string theirs, reached;
  bool madeAfterLoading = false;
};

const LinkCase kLinkCases[] = {
    {{{"NAME", "there/target"}}, "NAME", "there/target"},
    {{{"NAME", "theirs-NAME"}, {"theirs-NAME", "there/target"}}, "theirs-NAME", "there/target"},
    {{{"NAME", "there/target"}}, "NAME", "there/target", true},
    {{{"NAME", "synced/target"}, {"synced", "there"}}, "synced", "there/target"},
    {{{"NAME", "SCRATCH/mine/synced/target"}, {"mine", "own"}, {"own/synced", "../there"}}, "SCRATCH/own/synced",
     "there/target"},
    {{{"NAME", "there/null"}}, "", "there/null"},
    {{{"NAME", "there/folder"}}, "", "there/folder"},
    {{{"NAME", "there/fifo"}}, "", "there/fifo"},
};

// Nothing is read, written, moved or made there or beside it, the links stay, and
// standard error names the link of the other user (after its owner) or what the links
// reach, each line once however often the game tries.
TEST(ReplayFiles, ALinkLeadsOnlyToARegularFileOfTheUsersOwn) {
  const std::string words = EncodeWords(ReplayWords(kHeader, 1, {7}));  // also a save of level 66
  const std::tuple<std::string, std::function<int()>, std::function<int()>> files[] = {
      {kSaveFileName, [] { return TotalLevel; }, WriteSaveData},
      {ReplayFileName(5), [] { return ReplayList[5].score; },
       [] { Record({1}); ReplaySlot = 5; return FinishReplay(); }}};
  std::vector<std::string> named;
  testing::internal::CaptureStderr();
  for (const auto& [name, read, write] : files) {
    for (const LinkCase& link : kLinkCases) {
      if (::geteuid() != 0 && (!link.theirs.empty() || link.reached == "there/null")) continue;
      ScratchDirectory scratch;
      const auto spelt = [&](const std::string& text) {
        return std::regex_replace(std::regex_replace(text, std::regex("NAME"), name), std::regex("SCRATCH"),
                                  scratch.path().string());
      };
      const std::string theirs = spelt(link.theirs), reached = link.reached;
      SCOPED_TRACE(spelt(link.links[0].second) + ", theirs: " + theirs);
      ReplayList[5] = {};
      if (link.madeAfterLoading) LoadSaveData();
      std::filesystem::create_directory("own");
      scratch.Write("there/target", words);
      if (reached == "there/folder") scratch.Write(reached + "/progress", "old");
      if (reached == "there/fifo") scratch.MakeFifo(reached);
      if (reached == "there/null") {
        ASSERT_EQ(::mknod(reached.c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
      }
      for (const auto& [from, to] : link.links) std::filesystem::create_symlink(spelt(to), spelt(from));
      ASSERT_EQ(::chmod("there/target", 0600) | (theirs.empty() ? 0 : ::lchown(theirs.c_str(), 65534, 65534)), 0);
      struct stat before {}, after {};
      ::lstat(reached.c_str(), &before);
      if (!link.madeAfterLoading) LoadSaveData();
      EXPECT_EQ(read(), 0);
      EXPECT_EQ(write() + write(), -2);
      ::lstat(reached.c_str(), &after);
      EXPECT_EQ(std::tie(after.st_ino, after.st_mode, after.st_rdev), std::tie(before.st_ino, before.st_mode, before.st_rdev));
      EXPECT_EQ(scratch.Read("there/target"), words);
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator("there"), {}), reached == "there/target" ? 1 : 2);
      EXPECT_TRUE(std::filesystem::is_symlink(name));  // no file was made in its place
      // The owner is named before the "：" that the link follows.
      named.push_back(theirs.empty() ? reached : "uid 65534[^\n]*\xEF\xBC\x9A" + theirs + "\n");
    }
  }
  const std::string said = testing::internal::GetCapturedStderr();
  for (const std::string& name : named) EXPECT_TRUE(std::regex_search(said, std::regex(name))) << name;
  std::vector<std::string> lines;
  std::istringstream in(said);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), lines.size()) << said;
}

// Another user's file (0666, in a folder shared with the sticky bit) at one of the game's
// names is theirs, for root's game as for uid 65534's: the save starts fresh and is not
// written, the slot shows empty and is not saved into, nothing is kept aside under their
// name, and standard error names the owner once. A save they make while the game runs,
// after it found none, is left as it is too.
TEST(ReplayFiles, AnotherUsersFileAtTheGamesNamesIsLeftAsItIs) {
  if (::geteuid() != 0) GTEST_SKIP() << "another user's files need root";
  const std::string words = EncodeWords(ReplayWords(kHeader, 1, {7}));  // also a save of level 66
  // Each act gives 0 when the game did as it should.
  int (*const save)() = [] { return LoadSaveData(), int{TotalLevel != 0 || WriteSaveData() + WriteSaveData() != -2}; };
  int (*const slot)() = [] {
    ReplayList[5] = {}, LoadSaveData(), Record({1}), ReplaySlot = 5;
    return int{ReplayList[5].score != 0 || FinishReplay() != -1};
  };
  int (*const saveLater)() = [] { return int{WriteSaveData() + WriteSaveData() != -2}; };
  // (their file, a file "old" of the user's own and its mode, the act, whether it says a
  // line, whether theirs comes after the game loaded)
  const std::tuple<std::string, std::string, mode_t, int (*)(), bool, bool> cases[] = {
      {kSaveFileName, "", 0, save, true, false},
      {kSaveFileName, "", 0, saveLater, true, true},
      {ReplayFileName(5), "", 0, slot, true, false},
      {"SaveData.3-bytes.dat", kSaveFileName, 0600, save, true, false},
      {"VTReplaydata05.unreadable.dat", ReplayFileName(5), 0200, slot, true, false},
      {"SaveData.dat.abc123.tmp", "", 0, [] { return LoadSaveData(), WriteSaveData(); }, false, false}};
  for (const auto& [theirs, ours, oursMode, act, says, afterLoading] : cases) {
    for (const uid_t user : {0u, 65534u}) {
      SCOPED_TRACE(theirs + " by uid " + std::to_string(user) + (afterLoading ? ", after loading" : ""));
      ScratchDirectory scratch;
      std::filesystem::permissions(scratch.path(), std::filesystem::perms(01777));
      if (afterLoading) LoadSaveData();
      scratch.Write(theirs, words);
      ASSERT_EQ(::chmod(theirs.c_str(), 0666) | ::chown(theirs.c_str(), 1234, 1234), 0);
      if (!ours.empty()) scratch.Write(ours, "old"), ::chmod(ours.c_str(), oursMode), ::chown(ours.c_str(), user, user);
      testing::internal::CaptureStderr();
      EXPECT_EQ(ExitStatusAs(user, act), 0);
      const std::string said = testing::internal::GetCapturedStderr();
      EXPECT_EQ(scratch.Read(theirs), words);
      EXPECT_EQ(ours.empty() ? "old" : scratch.Read(ours), "old");
      EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), says) << said;
      EXPECT_EQ(said.find("uid 1234") != std::string::npos && said.find(theirs + "\n") != std::string::npos, says);
    }
  }
}

// What stands in a slot unread may be a replay still: a recording moves it aside first,
// or, when it cannot, keeps it and writes nothing.
TEST(ReplayFiles, ARecordingNeverReplacesAFileThatCouldNotBeRead) {
  ExpectUnreadableKeptAside(ReplayFileName(7), "VTReplaydata07.unreadable.dat", 4u * (19 + 1 + 300), [] {
    LoadSaveData();
    Record({1});
    ReplaySlot = 7;
    return FinishReplay();
  });
}

// A list that could not be read at start-up shows every slot empty: a replay found in
// the chosen slot is kept (and listed from then on); a second choice of it replaces it.
TEST(ReplayFiles, AReplayTheListCouldNotReadIsNotReplacedUnseen) {
  ScratchDirectory scratch;
  const std::string previous = EncodeWords(ReplayWords(kHeader, 1, {7}));
  scratch.Write(ReplayFileName(2), previous);
  for (const auto& [slot, listUnread, result] : {std::tuple{2, true, -1}, {3, true, 0}, {2, false, 0}}) {
    if (listUnread) {
      const FileLimit noDescriptors(RLIMIT_NOFILE, 0);
      LoadSaveData();
    }
    Record({1});
    ReplaySlot = slot;
    EXPECT_EQ(FinishReplay(), result) << "slot " << slot;
    if (result == -1) {  // kept, and listed from now on
      EXPECT_EQ(scratch.Read(ReplayFileName(2)), previous);
      EXPECT_EQ(ReplayList[2].score, 900);
    }
  }
  EXPECT_EQ(scratch.Read(ReplayFileName(3)).size(), 4u * (19 + 1 + 300));
  EXPECT_NE(scratch.Read(ReplayFileName(2)), previous);
}

TEST(ReplayFiles, LoadingReadsTheHeadersOfEverySlot) {
  ScratchDirectory scratch;
  scratch.Write("VTReplaydata03.dat", EncodeWords(ReplayWords(kHeader, 2, {0, 0})));
  ReplayList[5].score = 4242;
  LoadSaveData();
  const ReplayListEntry& entry = ReplayList[3];
  EXPECT_EQ(std::vector<int>({entry.name[0], entry.name[1], entry.name[2], entry.score, entry.mainShot,
                              entry.secondShot, entry.gameMode, entry.optionType, entry.optionShot, entry.coins,
                              entry.kills, entry.clearTime}),
            std::vector<int>(kHeader.begin(), kHeader.begin() + 12));
  EXPECT_EQ(ReplayList[5].score, 4242);  // no file: the entry keeps its values
  EXPECT_EQ(SavedFacingLockControl, 2);
}

TEST(ReplayFiles, PlaybackTakesTheRunFromTheHeader) {
  ScratchDirectory scratch;
  scratch.Write("VTReplaydata01.dat", EncodeWords(ReplayWords(kHeader, 3, {16, 32, 48})));
  FacingLockControl = 0;
  GameMode = 0;
  ReplaySlot = 1;
  StartReplayPlayback();
  EXPECT_EQ(std::vector<int>({ReplayMode, Scene, WatchingReplay, GameMode, FacingLockControl, NShotType, TShotType,
                              OptionType, OptionShot, OptionLevel, Credits}),
            std::vector<int>({kReplayPlayback, kScenePlay, 1, 1, 2, 20, 70, 2, 3, 0, 0}));
  EXPECT_EQ(std::vector<int>(ActiveKeyMap, ActiveKeyMap + 5), std::vector<int>({64, 128, 256, 512, 1024}));
  EXPECT_EQ(ObjectPool[kPlayerSlot].y, static_cast<float>(320.0 + 650.1));
  EXPECT_EQ(CameraY, static_cast<float>(650.1));
  EXPECT_EQ(ReplayFrameCount, 3);
  for (int word : {16, 32, 48}) {
    ReadInput();
    EXPECT_EQ(InputWord, word);
  }
  EndPlaybackIfDue();
  EXPECT_EQ(ReplayMode, kReplayOff);
  EXPECT_EQ(Scene, kSceneResults);
}

TEST(ReplayFiles, TheEndOfAPlaybackRestoresThePlayersSettings) {
  ScratchDirectory scratch;
  scratch.Write("VTReplaydata01.dat", EncodeWords(ReplayWords(kHeader, 1, {0})));
  FacingLockControl = 1;
  SavedFacingLockControl = FacingLockControl;  // as the replay browser does
  ReplaySlot = 1;
  StartReplayPlayback();
  ASSERT_EQ(FacingLockControl, 2);
  ReadInput();
  EndPlaybackIfDue();
  EXPECT_EQ(std::vector<int>(ActiveKeyMap, ActiveKeyMap + 5), std::vector<int>(KeyConfig, KeyConfig + 5));
  EXPECT_EQ(std::vector<int>({FacingLockControl, ScenePhase, WatchingReplay, MenuCursorY}),
            std::vector<int>({1, 6, 1, 143}));
  EXPECT_EQ(MenuState.cursor, 418.0f);
}

// Header words (0-based) and values just outside what the game records, at both ends.
struct DamagedWord {
  int index;
  int value;
};
constexpr DamagedWord kDamagedWords[] = {
    {6, -1},  {6, 4},                                    // game mode
    {4, 9},   {4, 14},  {4, 124}, {4, 130},              // main shot: type 1-12, level 0-3
    {5, 0},   {5, 64},  {5, 131},                        // second shot
    {7, -1},  {7, 4},   {8, -1},  {8, 4},                // option movement and option shot
    {12, -1}, {12, 3},                                   // facing lock control
    {13, 8},  {14, 16384}, {15, 96}, {16, 0}, {17, 64},  // keys: below, above, two bits, none, taken
};

struct RefusedReplay {
  std::string what;
  int slot;
  std::vector<int> words;  // none: no file in the slot
};

std::vector<RefusedReplay> RefusedReplays() {
  std::vector<RefusedReplay> replays = {
      {"no frames", 6, ReplayWords(kHeader, 0, {})},
      {"a negative count", 6, ReplayWords(kHeader, -5, {})},
      {"cut inside the header", 6, {kHeader.begin(), kHeader.begin() + 10}},
      {"frames promised, none there", 6, ReplayWords(kHeader, 9, {}, 0)},
      {"a missing file", 1, {}},
      {"slot 0", 0, {}},
      {"slot 10", 10, {}},
      {"slot -3", -3, {}},
  };
  for (const DamagedWord& damage : kDamagedWords) {
    std::vector<int> header = kHeader;
    header[damage.index] = damage.value;
    replays.push_back({"word " + std::to_string(damage.index + 1) + " = " + std::to_string(damage.value), 5,
                       ReplayWords(header, 2, {1, 2})});
  }
  return replays;
}

// A replay the game could not have recorded, or that holds no frame, is refused whole
// before anything of it is taken; when the file turns so between the start and the
// reading of its frames, the program ends.
TEST(ReplayFiles, AReplayThatCannotPlayIsRefusedWhole) {
  for (const RefusedReplay& replay : RefusedReplays()) {
    SCOPED_TRACE(replay.what);
    ScratchDirectory scratch;
    if (!replay.words.empty()) scratch.Write(ReplayFileName(replay.slot), EncodeWords(replay.words));
    FacingLockControl = 0;
    GameMode = 3;
    ReplaySlot = replay.slot;
    StartReplayPlayback();
    EXPECT_EQ(ReplaySlot, kReplayNoSlot);
    EXPECT_EQ(ReplayMode, kReplayOff);
    EXPECT_EQ(FacingLockControl, 0);
    EXPECT_EQ(GameMode, 3);

    QuitRequest = 0;
    ReplayMode = kReplayPlayback;
    ReplaySlot = replay.slot;
    BeginReplayIo();
    EXPECT_EQ(QuitRequest, 1);
    EXPECT_EQ(FacingLockControl, 0);
    QuitRequest = 0;
    ReplayMode = kReplayOff;
  }
}

// Files a playback starts with: loadouts at both edges of what the game records, and a
// count that promises more frames than the file holds, of which only those held play.
TEST(ReplayFiles, ReplaysAtTheEdgesOfWhatTheGameRecordsPlay) {
  const std::vector<int> lowest = {'A', 'B', 'C', 0, 10, 10, 0, 0, 0, 0, 0, 0, 0, 8192, 16, 32, 64, 128};
  const std::vector<int> highest = {'A', 'B', 'C', 0, 123, 120, 3, 3, 3, 0, 0, 0, 2, 16, 4096, 2048, 1024, 8192};
  const std::pair<std::vector<int>, int> replays[] = {{ReplayWords(lowest, 1, {0}), 1},
                                                      {ReplayWords(highest, 1, {0}), 1},
                                                      {ReplayWords(kHeader, 1000, {8, 9, 10}, 0), 3}};
  for (const auto& [words, frames] : replays) {
    ScratchDirectory scratch;
    scratch.Write("VTReplaydata05.dat", EncodeWords(words));
    ReplaySlot = 5;
    StartReplayPlayback();
    EXPECT_EQ(std::vector<int>({ReplayMode, GameMode, NShotType, FacingLockControl, ReplayFrameCount}),
              std::vector<int>({kReplayPlayback, words[6], words[4], words[12], frames}));
    ReplayMode = kReplayOff;
  }
}

}  // namespace
