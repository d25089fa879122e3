// Starts the program refuses, run as child processes: a second copy beside a running
// one, and a start without any display. Each ends at once, non-zero, saying why on
// standard error, and leaves the running copy's log as it was.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "../support/scratch_directory.h"

namespace {

struct Child {
  pid_t pid = -1;
  int errorPipe = -1;
};

// The program in the current folder, with the display settings of `environment`
// ("name=value" pairs; an empty value removes the variable).
Child StartProgram(std::initializer_list<std::pair<const char*, const char*>> environment) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeEnds[1], STDERR_FILENO);
    close(pipeEnds[0]);
    for (const auto& [name, value] : environment) {
      if (value[0] == '\0') {
        unsetenv(name);
      } else {
        setenv(name, value, 1);
      }
    }
    execl(GAME_PROGRAM, GAME_PROGRAM, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeEnds[1]);
  return {pid, pipeEnds[0]};
}

// Its exit status, or -1 when it was still running after 20 s (it is then killed).
int WaitForExit(const Child& child) {
  int status = 0;
  for (int tick = 0; tick < 2000; ++tick) {
    if (waitpid(child.pid, &status, WNOHANG) == child.pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    usleep(10000);
  }
  kill(child.pid, SIGKILL);
  waitpid(child.pid, &status, 0);
  return -1;
}

// What the program wrote on standard error, less the audio and display libraries' own
// complaints, which are not the program's.
std::string ProgramLines(const Child& child) {
  std::string all;
  char buffer[512];
  for (ssize_t got; (got = read(child.errorPipe, buffer, sizeof buffer)) > 0;) all.append(buffer, got);
  close(child.errorPipe);
  std::string ours;
  for (std::size_t start = 0, end; start < all.size(); start = end + 1) {
    end = all.find('\n', start);
    if (end == std::string::npos) end = all.size();
    const std::string line = all.substr(start, end - start);
    if (line.rfind("vantorel: ", 0) == 0) ours += line + "\n";
  }
  return ours;
}

// Standard error carries UTF-8; the log and this file's plain literals are Shift-JIS.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class RefusedStart : public testing::Test {
 protected:
  RefusedStart() {
    std::filesystem::create_directory_symlink(std::filesystem::path(E2E_DATA_DIR) / "data", scratch_.path() / "data");
    std::filesystem::create_directory(scratch_.path() / "locks");
    lockFolder_ = (scratch_.path() / "locks").string();
  }
  ScratchDirectory scratch_;
  std::string lockFolder_;
};

TEST_F(RefusedStart, ASecondCopyEndsAndLeavesTheFirstCopysLog) {
  const Child first = StartProgram({{"SDL_VIDEODRIVER", "dummy"}, {"SDL_AUDIODRIVER", "dummy"},
                                    {"DISPLAY", ""}, {"XDG_RUNTIME_DIR", lockFolder_.c_str()}});
  ASSERT_GT(first.pid, 0);
  // Until the first copy has its window (and so the lock).
  const std::string windowMade = "ＩＭＥを無効にしました";
  for (int tick = 0; tick < 2000 && scratch_.Read("Log.txt").find(windowMade) == std::string::npos; ++tick) {
    usleep(10000);
  }
  const std::string firstLog = scratch_.Read("Log.txt");
  ASSERT_NE(firstLog.find(windowMade), std::string::npos);

  const Child second = StartProgram({{"SDL_VIDEODRIVER", "dummy"}, {"SDL_AUDIODRIVER", "dummy"},
                                     {"DISPLAY", ""}, {"XDG_RUNTIME_DIR", lockFolder_.c_str()}});
  EXPECT_EQ(WaitForExit(second), 255);
  EXPECT_EQ(ProgramLines(second), Utf8(u8"vantorel: 二重起動されています、ソフトを終了します\n"));
  const std::string log = scratch_.Read("Log.txt");
  EXPECT_EQ(log.compare(0, firstLog.size(), firstLog), 0);
  EXPECT_EQ(log.find("二重起動されています"), std::string::npos);

  kill(first.pid, SIGKILL);
  waitpid(first.pid, nullptr, 0);
  close(first.errorPipe);
}

TEST_F(RefusedStart, WithoutADisplayTheProgramEndsSayingSo) {
  const Child child = StartProgram({{"SDL_VIDEODRIVER", ""}, {"SDL_AUDIODRIVER", "dummy"}, {"DISPLAY", ""},
                                    {"WAYLAND_DISPLAY", ""}, {"XDG_RUNTIME_DIR", lockFolder_.c_str()}});
  EXPECT_EQ(WaitForExit(child), 255);
  EXPECT_EQ(ProgramLines(child), Utf8(u8"vantorel: ウインドウの作成に失敗しました\n"));
  EXPECT_NE(scratch_.Read("Log.txt").find("ウインドウの作成に失敗しました"), std::string::npos);
}

}  // namespace
