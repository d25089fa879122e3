// Starts the program refuses, run as child processes: a second copy beside a running
// one, and a start without any display. Each ends at once, non-zero, with one line of
// its own on standard error, and leaves the running copy's log as it was.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "../support/scratch_directory.h"

namespace {

struct Child {
  pid_t pid;
  int errors;  // read end of its standard error
};

// The program in the current folder, with lock files in `locks` and these display
// variables ("" removes one).
Child StartProgram(const std::string& locks, const char* videoDriver, const char* display = "") {
  int ends[2];
  if (pipe(ends) != 0) return {-1, -1};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(ends[1], STDERR_FILENO);
    setenv("XDG_RUNTIME_DIR", locks.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::pair<const char*, const char*> displayVariables[] = {
        {"SDL_VIDEODRIVER", videoDriver}, {"DISPLAY", display}, {"WAYLAND_DISPLAY", ""}};
    for (const auto& [name, value] : displayVariables) {
      value[0] == '\0' ? unsetenv(name) : setenv(name, value, 1);
    }
    execl(GAME_PROGRAM, GAME_PROGRAM, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(ends[1]);
  return {pid, ends[0]};
}

// Its exit status (-1 when it still ran after 20 s) and the program's own lines on
// standard error (the audio and display libraries' complaints left out).
std::pair<int, std::string> Finish(const Child& child) {
  int status = 0;
  int tick = 0;
  while (waitpid(child.pid, &status, WNOHANG) != child.pid && ++tick < 2000) usleep(10000);
  if (tick == 2000) {
    kill(child.pid, SIGKILL);
    waitpid(child.pid, &status, 0);
  }
  std::string all(1, '\n');
  char buffer[512];
  for (ssize_t got; (got = read(child.errors, buffer, sizeof buffer)) > 0;) all.append(buffer, got);
  close(child.errors);
  std::string ours;
  for (std::size_t at = all.find("\nvantorel: "); at != std::string::npos; at = all.find("\nvantorel: ", at + 1)) {
    ours += all.substr(at + 1, all.find('\n', at + 1) - at);
  }
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ours};
}

// Standard error carries UTF-8; the log and this file's plain literals are Shift-JIS.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class RefusedStart : public testing::Test {
 protected:
  RefusedStart() : locks_((scratch_.path() / "locks").string()) {
    std::filesystem::create_directory_symlink(std::filesystem::path(E2E_DATA_DIR) / "data", scratch_.path() / "data");
    std::filesystem::create_directory(locks_);
  }
  ScratchDirectory scratch_;
  std::string locks_;
};

TEST_F(RefusedStart, ASecondCopyEndsAndLeavesTheFirstCopysLog) {
  const Child first = StartProgram(locks_, "dummy");
  const std::string windowMade = "ＩＭＥを無効にしました";  // the first copy holds the lock
  for (int tick = 0; tick < 2000 && scratch_.Read("Log.txt").find(windowMade) == std::string::npos; ++tick) {
    usleep(10000);
  }
  const std::string firstLog = scratch_.Read("Log.txt");
  ASSERT_NE(firstLog.find(windowMade), std::string::npos);

  const auto [status, lines] = Finish(StartProgram(locks_, "dummy"));
  EXPECT_EQ(status, 255);
  EXPECT_EQ(lines, Utf8(u8"vantorel: 二重起動されています、ソフトを終了します\n"));
  const std::string log = scratch_.Read("Log.txt");
  EXPECT_EQ(log.compare(0, firstLog.size(), firstLog), 0);
  EXPECT_EQ(log.find("二重起動されています"), std::string::npos);
  kill(first.pid, SIGKILL);
  Finish(first);
}

TEST_F(RefusedStart, WithoutADisplayTheProgramEndsSayingSo) {
  const auto [status, lines] = Finish(StartProgram(locks_, ""));
  EXPECT_EQ(status, 255);
  EXPECT_EQ(lines, Utf8(u8"vantorel: ウインドウの作成に失敗しました\n"));
  EXPECT_NE(scratch_.Read("Log.txt").find("ウインドウの作成に失敗しました"), std::string::npos);
}

}  // namespace
