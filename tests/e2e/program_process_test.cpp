// The program run as a child process: the starts it refuses (a second copy in the folder
// of a running one, a start without any display, a start without its pictures), each
// ending at once, non-zero, with one line on standard error; a quiet start without a
// sound device; and SIGTERM and SIGINT ending it as closing its window does.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "../support/scratch_directory.h"
#include "../support/wait_until.h"

namespace {

struct Child {
  pid_t pid;
  int errors;  // read end of its standard error
};

// An environment variable for the child; an empty value removes it.
using Variable = std::pair<const char*, std::string>;

// The program in the current folder: lock files in `locks` and in a /tmp and /run/user
// of the test's own (folders of `machine`), SDL's dummy audio, and the display variables
// given ("" removes one), then `more`. A sanitizer build's leak checker keeps its own
// statistics off standard error.
Child StartProgram(const std::string& machine, const std::string& locks, const char* videoDriver,
                   const char* display = "", const std::vector<Variable>& more = {}) {
  std::vector<Variable> variables = {{"XDG_RUNTIME_DIR", locks},  {"SDL_AUDIODRIVER", "dummy"},
                                     {"SDL_VIDEODRIVER", videoDriver}, {"DISPLAY", display},
                                     {"WAYLAND_DISPLAY", ""},          {"LSAN_OPTIONS", "print_suppressions=0"}};
  variables.insert(variables.end(), more.begin(), more.end());
  int ends[2];
  if (pipe(ends) != 0) return {-1, -1};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(ends[1], STDERR_FILENO);
    for (const auto& [name, value] : variables) {
      value.empty() ? unsetenv(name) : setenv(name, value.c_str(), 1);
    }
    execl(PRIVATE_TEMPORARY_RUNNER, PRIVATE_TEMPORARY_RUNNER, machine.c_str(), E2E_DATA_DIR, "--", GAME_PROGRAM,
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(ends[1]);
  return {pid, ends[0]};
}

struct Ending {
  int status;          // the exit status, -1 when it did not exit by itself within 20 s
  std::string errors;  // all of standard error
  std::string ours;    // the program's own lines of it
};

Ending Finish(const Child& child) {
  int status = 0;
  if (!WaitUntil([&] { return waitpid(child.pid, &status, WNOHANG) == child.pid; })) {
    kill(child.pid, SIGKILL);
    waitpid(child.pid, &status, 0);
  }
  std::string all;
  char buffer[512];
  for (ssize_t got; (got = read(child.errors, buffer, sizeof buffer)) > 0;) all.append(buffer, got);
  close(child.errors);
  std::string ours;
  const std::string lines = "\n" + all;
  for (std::size_t at = lines.find("\nvantorel: "); at != std::string::npos; at = lines.find("\nvantorel: ", at + 1)) {
    ours += lines.substr(at + 1, lines.find('\n', at + 1) - at);
  }
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, all, ours};
}

// Standard error carries UTF-8; the log and this file's plain literals are Shift-JIS.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class ProgramProcess : public testing::Test {
 protected:
  ProgramProcess() : machine_((scratch_.path() / "machine").string()), locks_((scratch_.path() / "locks").string()) {
    std::filesystem::create_directory_symlink(std::filesystem::path(E2E_DATA_DIR) / "data", scratch_.path() / "data");
    std::filesystem::create_directory(locks_);
    std::filesystem::permissions(locks_, std::filesystem::perms::owner_all);  // else not used for locks
  }
  // Waits (at most 20 s) until the log holds `line`.
  bool LogReaches(const std::string& line) {
    return WaitUntil([&] { return scratch_.Read("Log.txt").find(line) != std::string::npos; });
  }
  // The lock files in the program's runtime folder and its own folder in the test's /tmp.
  std::set<std::string> LockFiles() const {
    std::set<std::string> files;
    for (const std::string& folder : {locks_, machine_ + "/tmp/M123987U-" + std::to_string(geteuid())}) {
      for (const auto& entry : std::filesystem::directory_iterator(folder)) files.insert(entry.path());
    }
    return files;
  }
  // Starts the program as StartProgram does, in this test's /tmp and /run/user.
  Child Start(const std::string& locks, const char* videoDriver, const char* display = "",
              const std::vector<Variable>& more = {}) {
    return StartProgram(machine_, locks, videoDriver, display, more);
  }
  ScratchDirectory scratch_;
  std::string machine_, locks_;
};

const std::string kWindowMade = "ＩＭＥを無効にしました";
const std::string kStarted = "文字コードバッファの初期化を行います... 完了しました";

// A second copy in the first's folder, whatever its display, or on its display, ends before
// it opens the log or the save, and leaves the lock folders as the first has them. The
// first, killed, leaves nothing that refuses the next.
TEST_F(ProgramProcess, ASecondCopyEndsAndLeavesTheFirstCopysFiles) {
  const std::string display = ":vantorel-test-" + std::to_string(getpid());
  const Child first = Start(locks_, "dummy", display.c_str());
  ASSERT_TRUE(WaitUntil([&] { return scratch_.Read("SaveData.dat").size() == 360; }));
  const std::set<std::string> firstMarks = LockFiles();
  EXPECT_EQ(firstMarks.size(), 4u) << "the folder's claim and the display's mark, in each lock folder";
  const std::string firstLog = scratch_.Read("Log.txt");
  const int saveWatch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);  // any open or change
  ASSERT_GE(inotify_add_watch(saveWatch, (scratch_.path() / "SaveData.dat").c_str(), IN_ALL_EVENTS), 0);

  scratch_.Write("elsewhere/.keep", "");
  for (const auto& [secondDisplay, folder] : std::vector<std::pair<std::string, const char*>>{
           {display, "."}, {display + ".1", "."}, {"", "."}, {display, "elsewhere"}}) {
    SCOPED_TRACE("display '" + secondDisplay + "' in " + folder);
    std::filesystem::current_path(scratch_.path() / folder);
    const Child child = Start(locks_, secondDisplay.empty() ? "" : "dummy", secondDisplay.c_str());
    std::filesystem::current_path(scratch_.path());
    const Ending second = Finish(child);
    EXPECT_EQ(second.status, 255);
    EXPECT_EQ(second.ours, Utf8(u8"vantorel: 二重起動されています、ソフトを終了します\n"));
    const std::string log = scratch_.Read("Log.txt");
    EXPECT_EQ(log.compare(0, firstLog.size(), firstLog), 0);
    EXPECT_EQ(log.find("二重起動されています"), std::string::npos);
    char event[512];
    EXPECT_LT(read(saveWatch, event, sizeof event), 0) << "the save was opened";
    EXPECT_EQ(LockFiles(), firstMarks);
  }
  close(saveWatch);
  kill(first.pid, SIGKILL);
  Finish(first);
  std::filesystem::remove(scratch_.path() / "Log.txt");
  const Child next = Start(locks_, "dummy", display.c_str());
  EXPECT_TRUE(LogReaches(kWindowMade));
  kill(next.pid, SIGKILL);
  EXPECT_EQ(Finish(next).ours, "");
}

// Nothing but the program's one line, also without a runtime folder, where the display
// libraries would complain about it. A save file it could not read stays as it was.
TEST_F(ProgramProcess, WithoutADisplayTheProgramEndsSayingSoInOneLine) {
  scratch_.Write("SaveData.dat/progress", "old");  // a folder opens, then fails to read
  for (const std::string& runtime : {locks_, std::string()}) {
    SCOPED_TRACE(runtime.empty() ? "no runtime folder" : "a runtime folder");
    const Ending ending = Finish(Start(runtime, ""));
    EXPECT_EQ(ending.status, 255);
    EXPECT_EQ(ending.errors, Utf8(u8"vantorel: ウインドウの作成に失敗しました\n"));
    EXPECT_NE(scratch_.Read("Log.txt").find("ウインドウの作成に失敗しました"), std::string::npos);
    EXPECT_EQ(scratch_.Read("SaveData.dat/progress"), "old");
  }
}

// No data folder (as from the repository's root) or a damaged archive in place of the
// pictures' folder: the line names the first picture needed and where it was looked for,
// in a folder named in UTF-8 with the path's own bytes (the log keeps the same bytes).
TEST_F(ProgramProcess, AStartWithoutItsPicturesEndsNamingWhereItLooked) {
  const std::string game = Utf8(u8"ゲーム josé");
  std::filesystem::create_directory(scratch_.path() / game);
  std::filesystem::current_path(scratch_.path() / game);
  const std::string folder = (std::filesystem::canonical(scratch_.path()) / game / "data" / "image011").string();
  for (const char* archive : {static_cast<const char*>(nullptr), "", "\xA5\x13 not an archive"}) {
    SCOPED_TRACE(archive == nullptr ? "no data folder" : std::to_string(std::strlen(archive)) + " bytes of archive");
    std::filesystem::remove_all(scratch_.path() / game / "data");
    if (archive != nullptr) scratch_.Write(game + "/data/image011.pop", archive);
    const Ending ending = Finish(Start(locks_, "dummy"));
    EXPECT_EQ(ending.status, 255);
    EXPECT_EQ(ending.errors, Utf8(u8"vantorel: ゲームのデータの読み込みに失敗しました：") + folder + "/circle.png" +
                                 Utf8(u8"（") + folder + Utf8(u8".pop も探しました）、データは scripts/run.sh が書き出します\n"));
    const std::string log = scratch_.Read(game + "/Log.txt");
    EXPECT_NE(log.find("ゲームのデータの読み込みに失敗しました：" + folder + "/circle.png（" + folder +
                       ".pop も探しました）、データは scripts/run.sh が書き出します\r\n"),
              std::string::npos);
    EXPECT_NE(log.rfind("Alloc num:0\r\n"), std::string::npos);  // the library ended
    EXPECT_FALSE(std::filesystem::exists(scratch_.path() / game / "SaveData.dat"));
  }
}

// SDL's audio left to choose by itself: on a machine without a sound device the start
// is silent on standard error and the log says the game runs without sound. Either
// signal then ends the program as closing its window does: the loop ends, the library
// shuts down to its last log line, and the save file stays as the start wrote it.
TEST_F(ProgramProcess, EndSignalsCloseTheProgramAfterAQuietStart) {
  for (int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(strsignal(signal));
    std::filesystem::remove(scratch_.path() / "SaveData.dat");
    const Child child = Start(locks_, "dummy", "", {{"SDL_AUDIODRIVER", ""}});
    ASSERT_TRUE(LogReaches(kStarted));
    ASSERT_TRUE(WaitUntil([&] { return scratch_.Read("SaveData.dat").size() == 360; }))
        << scratch_.Read("SaveData.dat").size() << " bytes saved";
    const std::string save = scratch_.Read("SaveData.dat");
    kill(child.pid, signal);
    const Ending ending = Finish(child);
    EXPECT_EQ(ending.status, 0);
    EXPECT_EQ(ending.errors, "");
    const std::string log = scratch_.Read("Log.txt");
    const bool silent = log.find("引き続きインターフェースの初期化処理...  初期化に失敗しました") != std::string::npos;
    EXPECT_EQ(log.find("音を出さずに動作します") != std::string::npos, silent);
    EXPECT_NE(log.find("ウインドウを閉じようとしています"), std::string::npos);
    EXPECT_NE(log.rfind("Alloc num:0\r\n"), std::string::npos);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.substr(log.size() - 3), ":\r\n");  // the leak report's closing line
    EXPECT_EQ(scratch_.Read("SaveData.dat"), save);
  }
}

}  // namespace
