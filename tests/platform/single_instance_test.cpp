// The double-start check across processes: a window of a class in one process is found
// by another process of the same user on the same display, or, with no display, in the
// same working folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>

#include "testing.h"
#include "window/window.h"

namespace {

constexpr char kClass[] = "SingleInstanceTestClass";

LRESULT PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// Runs a child process that creates a window of the class in `folder` and keeps it until
// the returned pipe is closed. Returns the child's id; `release` gets the pipe's write end.
pid_t StartWindowOwner(const std::string& folder, int* release, const char* className = kClass) {
  int ready[2];
  int hold[2];
  if (pipe(ready) != 0 || pipe(hold) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    close(ready[0]);
    close(hold[1]);
    bool ok = chdir(folder.c_str()) == 0;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = PlainProc;
    windowClass.lpszClassName = className;
    ok = ok && RegisterClassA(&windowClass) != 0;
    HWND window = ok ? CreateWindowExA(0, className, "", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr)
                     : nullptr;
    const char status = window != nullptr ? 'y' : 'n';
    if (write(ready[1], &status, 1) != 1) _exit(2);
    char unused;
    while (read(hold[0], &unused, 1) > 0) {
    }
    _exit(window != nullptr && DestroyWindow(window) && UnregisterClassA(className, nullptr) ? 0 : 1);
  }
  close(ready[1]);
  close(hold[0]);
  char status = 'n';
  if (read(ready[0], &status, 1) != 1 || status != 'y') status = 'n';
  close(ready[0]);
  *release = hold[1];
  return status == 'y' ? child : -1;
}

std::string MakeFolder(const char* name) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("vantorel-" + std::to_string(getpid()) + "-" + name);
  std::filesystem::create_directories(folder);
  return folder.string();
}

// The lock files of this test: in a folder of its own, which only its user may write.
std::string PrivateLockFolder(const std::string& name = "locks") {
  const std::string folder = MakeFolder(name.c_str());
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
  setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  return folder;
}

int FilesIn(const std::string& folder) {
  const std::filesystem::directory_iterator files(folder);
  return static_cast<int>(std::distance(begin(files), end(files)));
}

void EndWindowOwner(pid_t child, int release) {
  close(release);
  int status = 0;
  waitpid(child, &status, 0);
}

// The check on, as in a fresh process; the display, lock folder and working folder that
// a test changes are put back afterwards.
class SingleInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestSetSingleInstanceCheck(1);
    for (std::size_t i = 0; i < std::size(kSaved); ++i) {
      if (const char* value = std::getenv(kSaved[i])) saved_[i] = value;
    }
  }
  void TearDown() override {
    for (std::size_t i = 0; i < std::size(kSaved); ++i) {
      if (saved_[i]) {
        setenv(kSaved[i], saved_[i]->c_str(), 1);
      } else {
        unsetenv(kSaved[i]);
      }
    }
    std::filesystem::current_path(folder_);
  }

 private:
  static constexpr const char* kSaved[] = {"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"};
  std::optional<std::string> saved_[std::size(kSaved)];
  const std::filesystem::path folder_ = std::filesystem::current_path();
};

TEST_F(SingleInstanceTest, SameDisplayFindsTheOtherProcess) {
  PrivateLockFolder();
  // A display name of this test's own, so nothing else on the machine shares it.
  const std::string display = ":vantorel-test-" + std::to_string(getpid());
  setenv("DISPLAY", display.c_str(), 1);
  int release = -1;
  const pid_t child = StartWindowOwner(MakeFolder("a"), &release);
  ASSERT_GT(child, 0);
  ASSERT_EQ(chdir(MakeFolder("b").c_str()), 0);
  EXPECT_NE(FindWindowA(kClass, nullptr), nullptr);
  TestSetSingleInstanceCheck(0);
  EXPECT_EQ(FindWindowA(kClass, nullptr), nullptr);
  TestSetSingleInstanceCheck(1);
  EXPECT_EQ(FindWindowA("SomeOtherClass", nullptr), nullptr);
  EndWindowOwner(child, release);
  EXPECT_EQ(FindWindowA(kClass, nullptr), nullptr);
}

TEST_F(SingleInstanceTest, WithoutDisplayTheWorkingFolderDecides) {
  PrivateLockFolder();
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  const std::string shared = MakeFolder("shared");
  int release = -1;
  const pid_t child = StartWindowOwner(shared, &release);
  ASSERT_GT(child, 0);
  ASSERT_EQ(chdir(MakeFolder("elsewhere").c_str()), 0);
  EXPECT_EQ(FindWindowA(kClass, nullptr), nullptr);
  ASSERT_EQ(chdir(shared.c_str()), 0);
  EXPECT_NE(FindWindowA(kClass, nullptr), nullptr);
  EndWindowOwner(child, release);
}

TEST_F(SingleInstanceTest, TheHolderRemovesItsLockFileAndAKilledHoldersFileIsTakenOver) {
  const std::string locks = PrivateLockFolder();
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  const std::string shared = MakeFolder("ends");
  ASSERT_EQ(chdir(shared.c_str()), 0);
  int release = -1;
  pid_t child = StartWindowOwner(shared, &release);
  ASSERT_GT(child, 0);
  EXPECT_EQ(FilesIn(locks), 1);
  EndWindowOwner(child, release);
  EXPECT_EQ(FilesIn(locks), 0);
  EXPECT_EQ(FindWindowA(kClass, nullptr), nullptr);
  EXPECT_EQ(FilesIn(locks), 0);

  child = StartWindowOwner(shared, &release);
  ASSERT_GT(child, 0);
  kill(child, SIGKILL);
  EndWindowOwner(child, release);
  EXPECT_EQ(FilesIn(locks), 1);
  EXPECT_EQ(FindWindowA(kClass, nullptr), nullptr);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = PlainProc;
  windowClass.lpszClassName = kClass;
  ASSERT_NE(RegisterClassA(&windowClass), 0);
  HWND window = CreateWindowExA(0, kClass, "", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(FilesIn(locks), 1);
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_TRUE(UnregisterClassA(kClass, nullptr));
  EXPECT_EQ(FilesIn(locks), 0);
}

constexpr uid_t kOtherUser = 65534;

// A new file at `path` given to `owner`, locked through the returned descriptor.
int LockedFile(const std::string& path, uid_t owner) {
  const int file = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  return file >= 0 && fchown(file, owner, owner) == 0 && flock(file, LOCK_EX) == 0 ? file : -1;
}

// What another user can leave where lock files are kept. Root plays the user, so that
// the other user's files can be made; the class is this process's own, so its folder in
// /tmp is shared with no other run.
class OthersLockFilesTest : public SingleInstanceTest {
 protected:
  void SetUp() override {
    SingleInstanceTest::SetUp();
    if (geteuid() != 0) GTEST_SKIP() << "making another user's files needs root";
    setenv("DISPLAY", (":" + pid_).c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
  }
  void TearDown() override {
    for (const std::string& made : {userFolder_, userFolder_ + ".target", "/tmp/" + LockName()}) {
      std::filesystem::remove_all(made);
    }
    SingleInstanceTest::TearDown();
  }
  std::string LockName() const { return className_ + "-0-display_" + pid_ + ".lock"; }
  // Whether a window that another process makes now is found from here; `check` runs
  // while it stands.
  template <typename Check>
  bool FoundWhileAnotherCopyRuns(Check check) {
    int release = -1;
    const pid_t child = StartWindowOwner(MakeFolder("owner"), &release, className_.c_str());
    EXPECT_GT(child, 0);
    const bool found = FindWindowA(className_.c_str(), nullptr) != nullptr;
    check();
    if (child > 0) EndWindowOwner(child, release);
    return found;
  }
  const std::string pid_ = std::to_string(getpid());
  const std::string className_ = "LockTest" + pid_;
  const std::string userFolder_ = "/tmp/" + className_ + "-0";
};

TEST_F(OthersLockFilesTest, AnotherUsersLockAtTheSharedNameDoesNotStopTheStart) {
  unsetenv("XDG_RUNTIME_DIR");
  const int held = LockedFile("/tmp/" + LockName(), kOtherUser);
  ASSERT_GE(held, 0);
  EXPECT_EQ(FindWindowA(className_.c_str(), nullptr), nullptr);
  EXPECT_TRUE(FoundWhileAnotherCopyRuns([&] {
    EXPECT_EQ(std::filesystem::status(userFolder_).permissions(), std::filesystem::perms::owner_all);
  }));
  close(held);
}

// Another user's locked file, or a link, at the lock file's name: neither found nor used,
// and nothing is created through the link.
TEST_F(OthersLockFilesTest, WhatIsPlantedAtTheLockFileIsNeitherFoundNorUsed) {
  const struct {
    const char* what;
    bool link;
    bool locked;
    uid_t owner;
  } plants[] = {{"another user's locked file", false, true, kOtherUser},
                {"a link to a locked file", true, true, 0},
                {"a link to nothing", true, false, 0}};
  for (std::size_t i = 0; i < std::size(plants); ++i) {
    SCOPED_TRACE(plants[i].what);
    const std::string lock = PrivateLockFolder("plant" + std::to_string(i)) + "/" + LockName();
    const std::string target = plants[i].link ? MakeFolder(("aside" + std::to_string(i)).c_str()) + "/lock" : lock;
    const int held = plants[i].locked ? LockedFile(target, plants[i].owner) : -1;
    ASSERT_EQ(held >= 0, plants[i].locked);
    ASSERT_TRUE(!plants[i].link || symlink(target.c_str(), lock.c_str()) == 0);
    EXPECT_EQ(FindWindowA(className_.c_str(), nullptr), nullptr);
    const bool found = FoundWhileAnotherCopyRuns([&] { EXPECT_EQ(std::filesystem::exists(target), plants[i].locked); });
    EXPECT_FALSE(found);
    if (held >= 0) close(held);
  }
}

// A runtime folder that fails is passed over for the user's folder in /tmp; when that
// fails too, no lock is kept and a second copy is not found.
TEST_F(OthersLockFilesTest, AFolderOthersMayWriteOrALinkIsNotUsed) {
  namespace fs = std::filesystem;
  const struct {
    const char* what;
    uid_t owner;
    fs::perms mode;
    bool link;
  } spoilt[] = {{"another user's", kOtherUser, fs::perms::owner_all, false},
                {"writable by all", 0, fs::perms::all, false},
                {"a link", 0, fs::perms::owner_all, true}};
  for (const bool runtime : {true, false}) {
    for (std::size_t i = 0; i < std::size(spoilt); ++i) {
      SCOPED_TRACE(std::string(spoilt[i].what) + (runtime ? " runtime folder" : " folder in /tmp"));
      fs::remove_all(userFolder_);
      const std::string at =
          runtime ? (fs::temp_directory_path() / ("vantorel-" + pid_ + "-runtime" + std::to_string(i))).string()
                  : userFolder_;
      const std::string landing = spoilt[i].link ? at + ".target" : at;  // where a lock file would go
      fs::create_directory(landing);
      fs::permissions(landing, spoilt[i].mode);
      ASSERT_EQ(chown(landing.c_str(), spoilt[i].owner, spoilt[i].owner), 0);
      if (spoilt[i].link) fs::create_directory_symlink(landing, at);
      runtime ? setenv("XDG_RUNTIME_DIR", at.c_str(), 1) : unsetenv("XDG_RUNTIME_DIR");
      const bool found = FoundWhileAnotherCopyRuns([&] { EXPECT_TRUE(fs::is_empty(landing)); });
      EXPECT_EQ(found, runtime);
    }
  }
}

}  // namespace
