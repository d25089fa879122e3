#include "core/log.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "../support/file_limits.h"
#include "../support/scratch_directory.h"
#include "testing.h"

namespace {

constexpr std::uint64_t kMs = 1000;

// A log opened in a scratch folder at virtual time 5000 ms; the clock stands still
// until the test moves it.
class LogFile : public ::testing::Test {
 protected:
  void SetUp() override {
    TestClockStart(5000 * kMs, 0);
    OpenLogFile();
  }
  void TearDown() override { TestClockStop(); }
  std::string Contents() const { return scratch_.Read("Log.txt"); }

  ScratchDirectory scratch_;
};

// Puts something at the log's name, at the start or while the log is written as `user` in a
// child process; returns what that said on standard error. An alarm ends a child that
// waits for ever, which fails the test instead of holding the suite.
std::string StandardErrorOfLogWrites(bool atTheStart, const std::function<void()>& plant, uid_t user = 65534) {
  if (atTheStart) plant();
  testing::internal::CaptureStderr();
  const pid_t child = fork();
  if (child == 0) {
    alarm(20);
    if (user != geteuid() && setresuid(user, user, user) != 0) _exit(1);
    OpenLogFile();
    if (!atTheStart) plant();
    for (const char* text : {"a\n", "b\n"}) LogWrite(text);
    _exit(0);
  }
  int status = -1;
  waitpid(child, &status, 0);
  EXPECT_EQ(status, 0) << "the log waited for ever";
  return testing::internal::GetCapturedStderr();
}

}  // namespace

TEST_F(LogFile, GoldenTextWithStampsIndentsCrLfAndShiftJis) {
  TestClockSet(5012 * kMs);
  LogWrite("開始");
  TestClockSet(5020 * kMs);
  LogWrite("します\n");
  IncreaseLogIndent();
  TestClockSet(5345 * kMs);
  LogWrite("一行目\n二行目\n");
  IncreaseLogIndent();
  LogPrintf("%s:%d", "ファイル", 7);
  DecreaseLogIndent();
  DecreaseLogIndent();
  DecreaseLogIndent();  // stays at 0
  TestClockSet(6000 * kMs);
  LogWrite("済み\r\n残り\nそのまま\n");

  const std::string expected =
      "12:開始します\r\n"
      "345:\t一行目\r\n"
      "345:\t二行目\r\n"
      "345:\t\tファイル:7\r\n"
      "1000:済み\r\n"
      "1000:残り\n"
      "1000:そのまま\n";
  EXPECT_EQ(Contents(), expected);
  EXPECT_EQ(static_cast<unsigned char>(expected[3]), 0x8A);  // "開" as Shift-JIS
}

TEST_F(LogFile, OpeningAgainEmptiesTheFileAndRestartsClockAndIndent) {
  LogWrite("old\n");
  IncreaseLogIndent();
  LogWrite("no line end");
  TestClockSet(9000 * kMs);
  OpenLogFile();
  TestClockSet(9001 * kMs);
  LogWrite("new\n");
  EXPECT_EQ(Contents(), "1:new\r\n");
}

TEST_F(LogFile, LongAndAllLineFeedTextsAreWrittenWhole) {
  const std::string longText(300, 'x');
  LogWrite((longText + "\n").c_str());
  const std::string lineFeeds(600, '\n');
  LogWrite(lineFeeds.c_str());

  std::string expected = "0:" + longText + "\r\n";
  for (int i = 0; i < 600; ++i) expected += "0:\r\n";
  EXPECT_EQ(Contents(), expected);
}

TEST_F(LogFile, LeadByteBeforeTheTerminatorEndsTheText) {
  // Exactly sized, so reading past the terminator would be caught.
  std::unique_ptr<char[]> text(new char[5]{'a', 'b', 'c', '\x81', '\0'});
  LogWrite(text.get());
  LogWrite("\n");
  EXPECT_EQ(Contents(), "0:abc\x81\r\n");
}

TEST_F(LogFile, LogPrintfCutsOverlongTextOnAWholeCharacter) {
  const std::string fill(1021, 'a');
  EXPECT_EQ(LogPrintf("%s%s", fill.c_str(), "漢字"), -1);  // 1021 + 4 bytes do not fit in 1022
  EXPECT_EQ(Contents(), "0:" + fill + "\r\n");

  const std::string huge(5000, 'b');
  LogPrintf("%s", huge.c_str());
  EXPECT_EQ(Contents().size(), 2 + 1021 + 2 + 2 + 1022 + 2);
}

TEST_F(LogFile, SettingsTurnOffStampsOrTheWholeFile) {
  SetLogTimeStampOff(1);
  IncreaseLogIndent();
  LogWrite("a\n");
  SetLogTimeStampOff(0);
  DecreaseLogIndent();
  SetLogOff(1);
  EXPECT_EQ(LogWrite("hidden\n"), -1);
  EXPECT_EQ(LogWrite(nullptr), -1);
  SetLogOff(0);
  EXPECT_EQ(Contents(), "\ta\r\n");
}

// A log that cannot be written (a full disk) is said on standard error, once per reason.
// A log that cannot be written (a full disk, or a link put in its place, which is never
// followed) is said on standard error once per reason, however often it is written.
TEST_F(LogFile, ALogThatCannotBeWrittenIsSaidOncePerReason) {
  scratch_.Write("elsewhere.txt", "kept");
  std::filesystem::resize_file("Log.txt", 1000);
  for (const bool link : {false, true}) {
    if (link) std::filesystem::remove("Log.txt"), std::filesystem::create_symlink("elsewhere.txt", "Log.txt");
    testing::internal::CaptureStderr();
    {
      const FileLimit fullDisk(RLIMIT_FSIZE, 1000);
      for (const char* text : {"a\n", "b\n"}) LogWrite(text);
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find(link ? "Too many levels of symbolic links" : "File too large"), std::string::npos) << said;
  }
  EXPECT_EQ(scratch_.Read("elsewhere.txt"), "kept");
}

// A umask that takes the owner's own bits (0277) still leaves the log its maker's to
// append every line to: made at the start, or made again after it was deleted in the run.
TEST_F(LogFile, ALogMadeUnderAnyUmaskTakesEveryLine) {
  std::filesystem::permissions(scratch_.path(), std::filesystem::perms::all);
  for (const bool atTheStart : {true, false}) {
    SCOPED_TRACE(atTheStart ? "made at the start" : "made again");
    std::filesystem::remove("Log.txt");
    const mode_t before = umask(0277);
    const std::string said = StandardErrorOfLogWrites(
        atTheStart, [] { std::filesystem::remove("Log.txt"); }, geteuid() == 0 ? 65534 : geteuid());
    umask(before);
    EXPECT_EQ(said, "");
    EXPECT_EQ(Contents(), "0:a\r\n0:b\r\n");
  }
}

TEST(LogFileName, DatedNameUsesTheLocalTimeWithoutPadding) {
  ScratchDirectory scratch;
  SetLogDatedFileName(1);
  OpenLogFile();
  SetLogDatedFileName(0);
  LogWrite("dated\n");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(scratch.path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(name.rfind("Log", 0), 0u);
    EXPECT_EQ(name.substr(name.size() - 4), ".txt");
    EXPECT_EQ(std::count(name.begin(), name.end(), '_'), 5);
    ++files;
  }
  EXPECT_EQ(files, 1);
}

// The user's own `log.txt` or `LOG.TXT` is another file than the log: neither deleted nor written.
TEST(LogFileName, AFileOfTheNameInAnotherLetterCaseIsLeftAlone) {
  ScratchDirectory scratch;
  for (const char* name : {"log.txt", "LOG.TXT"}) scratch.Write(name, name);
  OpenLogFile();
  LogWrite("line\n");
  CloseLogFile();
  for (const char* name : {"log.txt", "LOG.TXT"}) EXPECT_EQ(scratch.Read(name), name);
  EXPECT_NE(scratch.Read("Log.txt").find(":line\r\n"), std::string::npos);
}

// A FIFO at "Log.txt" is never waited on, whether swapped in while the game runs or
// another user's at the start: it is a log that cannot be written, said once.
TEST(LogFileName, AFifoAtTheNameIsNeverWaitedOn) {
  for (const bool atTheStart : {false, true}) {
    if (atTheStart && geteuid() != 0) GTEST_SKIP() << "another user's FIFO needs root";
    ScratchDirectory scratch;
    std::filesystem::permissions(scratch.path(), std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
    const std::string said = StandardErrorOfLogWrites(atTheStart, [&] {
      std::filesystem::remove("Log.txt");
      // At the start one whose reader takes nothing; swapped in, one that no one reads.
      atTheStart ? scratch.MakeFifo("Log.txt") : void(mkfifo("Log.txt", 0));
      chmod("Log.txt", 0666);
      lchown("Log.txt", 1234, 1234);
    });
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("Log.txt"), std::string::npos) << said;
  }
}

// Another user's "Log.txt" (0666, in a folder shared with the sticky bit) is theirs, for
// root's game as for uid 65534's, whether it stood there at the start or was put there
// while the game ran (after the user removed the log): no more log that run, and one line
// naming its owner.
TEST(LogFileName, AnotherUsersLogIsLeftAsItIs) {
  if (geteuid() != 0) GTEST_SKIP() << "another user's file needs root";
  for (const auto& [atTheStart, user] : {std::pair{true, 0u}, {true, 65534u}, {false, 0u}}) {
    SCOPED_TRACE(std::string(atTheStart ? "at the start, uid " : "during the run, uid ") + std::to_string(user));
    ScratchDirectory scratch;
    std::filesystem::permissions(scratch.path(), std::filesystem::perms(01777));
    const std::string said = StandardErrorOfLogWrites(
        atTheStart,
        [&] {
          std::filesystem::remove("Log.txt");
          scratch.Write("Log.txt", "theirs"), chmod("Log.txt", 0666), chown("Log.txt", 1234, 1234);
        },
        user);
    EXPECT_EQ(scratch.Read("Log.txt"), "theirs");
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("uid 1234"), std::string::npos) << said;
  }
}

// The log's lines follow the folder the game runs in when it is renamed while the game
// runs: nothing is written at the old path, not into a folder another user makes there.
TEST_F(LogFile, LinesFollowTheFolderWhenItIsRenamed) {
  LogWrite("before\n");
  const std::filesystem::path folder = scratch_.path(), moved = folder.string() + "-moved";
  std::filesystem::rename(folder, moved);
  std::filesystem::create_directory(folder);
  std::filesystem::permissions(folder, std::filesystem::perms::all);
  if (geteuid() == 0) {
    ASSERT_EQ(chown(folder.c_str(), 1234, 1234), 0);
  }
  LogWrite("after\n");
  CloseLogFile();
  const bool nothingAtTheOldPath = std::filesystem::is_empty(folder);
  std::filesystem::remove_all(folder);
  std::filesystem::rename(moved, folder);
  EXPECT_TRUE(nothingAtTheOldPath);
  EXPECT_EQ(Contents(), "0:before\r\n0:after\r\n");
}
