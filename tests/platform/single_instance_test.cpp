// The double-start check across processes: a window of a class in one process is found
// by another process of the same user on the same display, or, with no display, in the
// same working folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "../support/private_lock_folders.h"
#include "testing.h"
#include "window/single_instance.h"
#include "window/window.h"

void PrintTo(FolderClaim claim, std::ostream* out) {
  *out << (claim == FolderClaim::kMade                 ? "made"
           : claim == FolderClaim::kTakenByAnotherCopy ? "refused"
           : claim == FolderClaim::kNoPrivatePlace     ? "no private place"
                                                       : "not started");
}

namespace {

constexpr char kClass[] = "SingleInstanceTestClass";
constexpr uid_t kCopy = 65534;  // the user whose copies run
constexpr uid_t kOther = 1234;  // the user who plants things

LRESULT PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// Registers the class and opens a window of it; null when either fails.
HWND OpenWindow(const char* className) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = PlainProc;
  windowClass.lpszClassName = className;
  return RegisterClassA(&windowClass) != 0
             ? CreateWindowExA(0, className, "", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr)
             : nullptr;
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
    HWND window = chdir(folder.c_str()) == 0 ? OpenWindow(className) : nullptr;
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

// The folders of this test process share a name's beginning, so they can be removed after.
std::string FolderPrefix() { return "vantorel-" + std::to_string(getpid()) + "-"; }

std::string MakeFolder(const char* name) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / (FolderPrefix() + name);
  std::filesystem::create_directories(folder);
  return folder.string();
}

// The lock files of this test: in a folder of its own, which only its user may write.
std::string PrivateLockFolder() {
  const std::string folder = MakeFolder("locks");
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
  setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  return folder;
}

std::string SharedFolder(const char* name) {
  const std::string folder = MakeFolder(name);
  std::filesystem::permissions(folder, std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
  return folder;
}

// The folder that stands for /tmp in these tests.
std::string TemporaryRoot() { return (std::filesystem::temp_directory_path() / (FolderPrefix() + "tmp")).string(); }

int FilesIn(const std::string& folder) {
  const std::filesystem::directory_iterator files(folder);
  return static_cast<int>(std::distance(begin(files), end(files)));
}

// Whether FindWindowA finds another process's window of the class. A look that finds
// none takes the class's mark for the window to come: given up again here.
bool OtherWindowFound(const char* className = kClass) {
  const bool found = FindWindowA(className, nullptr) != nullptr;
  TestSetSingleInstanceCheck(0);
  TestSetSingleInstanceCheck(1);
  return found;
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
    // The machine's runtime folders and /tmp stand for themselves in none of these tests.
    TestSetLockFolderRoots(MakeFolder("run-user").c_str(), SharedFolder("tmp").c_str());
  }
  void TearDown() override {
    TestSetSingleInstanceCheck(0);
    UsePrivateLockFolders();
    for (std::size_t i = 0; i < std::size(kSaved); ++i) {
      if (saved_[i]) {
        setenv(kSaved[i], saved_[i]->c_str(), 1);
      } else {
        unsetenv(kSaved[i]);
      }
    }
    std::filesystem::current_path(folder_);
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::temp_directory_path())) {
      if (entry.path().filename().string().starts_with(FolderPrefix())) std::filesystem::remove_all(entry.path());
    }
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
  EXPECT_TRUE(OtherWindowFound());
  TestSetSingleInstanceCheck(0);
  EXPECT_EQ(FindWindowA(kClass, nullptr), nullptr);
  TestSetSingleInstanceCheck(1);
  EXPECT_FALSE(OtherWindowFound("SomeOtherClass"));
  EndWindowOwner(child, release);
  EXPECT_FALSE(OtherWindowFound());
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
  EXPECT_FALSE(OtherWindowFound());
  ASSERT_EQ(chdir(shared.c_str()), 0);
  EXPECT_TRUE(OtherWindowFound());
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

  child = StartWindowOwner(shared, &release);
  ASSERT_GT(child, 0);
  kill(child, SIGKILL);
  EndWindowOwner(child, release);
  EXPECT_EQ(FilesIn(locks), 1);
  EXPECT_EQ(FindWindowA(kClass, nullptr), nullptr);  // takes the file over for the window
  HWND window = OpenWindow(kClass);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(FilesIn(locks), 1);
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_TRUE(UnregisterClassA(kClass, nullptr));
  EXPECT_EQ(FilesIn(locks), 0);
}

constexpr std::pair kSecondRefused{FolderClaim::kMade, FolderClaim::kTakenByAnotherCopy};
constexpr std::pair kBothRun{FolderClaim::kMade, FolderClaim::kMade};

// The copies are user 65534's, or, without root, the test's own user's.
uid_t CopyUser() { return geteuid() == 0 ? kCopy : geteuid(); }

// How a copy is started: its runtime folder and display (empty: none), and its working
// folder (empty: the current one).
struct Start {
  std::string runtime, display, folder;
};

// What a copy started so gets from the checks a start makes: refused
// (kTakenByAnotherCopy) where another copy holds its folder or shows a window of the class
// on its display; else the folder's claim, with a window of the class opened. 'x' when the
// copy could not be started.
char StartCopy(const Start& start) {
  start.runtime.empty() ? unsetenv("XDG_RUNTIME_DIR") : setenv("XDG_RUNTIME_DIR", start.runtime.c_str(), 1);
  start.display.empty() ? unsetenv("DISPLAY") : setenv("DISPLAY", start.display.c_str(), 1);
  unsetenv("WAYLAND_DISPLAY");
  const bool started = (start.folder.empty() || chdir(start.folder.c_str()) == 0) &&
                       (CopyUser() == geteuid() ||
                        (setgroups(0, nullptr) == 0 && setgid(kCopy) == 0 && setuid(kCopy) == 0));
  if (!started) return 'x';
  const FolderClaim claim = ClaimWorkingFolder(kClass);
  if (claim == FolderClaim::kTakenByAnotherCopy || FindWindowA(kClass, nullptr) != nullptr) {
    return static_cast<char>(FolderClaim::kTakenByAnotherCopy);
  }
  usleep(20000);  // as the game reads its save and opens its log before its window
  return OpenWindow(kClass) != nullptr ? static_cast<char>(claim) : 'x';
}

// What copies get, each in a child process that says what it got and holds its claim
// and window until killed: each started after the one before has answered, or all let
// go at one instant (their answers then in any order).
std::vector<FolderClaim> Copies(const std::vector<Start>& starts, bool atOnce) {
  int said[2] = {-1, -1};  // without a pipe every copy's word is lost: 'x'
  int go[2] = {-1, -1};    // its end closed, the copies started at once go
  (void)!pipe(said);
  (void)!pipe(go);
  std::vector<char> got(starts.size(), 'x');
  std::vector<pid_t> copies;
  for (std::size_t i = 0; i < starts.size(); ++i) {
    const pid_t copy = fork();
    if (copy == 0) {
      close(go[1]);
      char unused;
      if (atOnce && read(go[0], &unused, 1) != 0) _exit(1);
      const char answer = StartCopy(starts[i]);
      if (write(said[1], &answer, 1) == 1) pause();
      _exit(0);
    }
    if (copy > 0) copies.push_back(copy);
    if (!atOnce && (copy < 0 || read(said[0], &got[i], 1) != 1)) got[i] = 'x';
  }
  close(go[0]);
  close(go[1]);
  close(said[1]);
  for (char& answer : got) {
    if (atOnce && read(said[0], &answer, 1) != 1) answer = 'x';
  }
  for (const pid_t copy : copies) kill(copy, SIGKILL), waitpid(copy, nullptr, 0);
  close(said[0]);
  std::vector<FolderClaim> claims;
  for (const char answer : got) claims.push_back(static_cast<FolderClaim>(answer));
  return claims;
}

std::pair<FolderClaim, FolderClaim> TwoCopies(const Start& first = {}, const Start& second = {}) {
  const std::vector<FolderClaim> got = Copies({first, second}, false);
  return {got[0], got[1]};
}

// A folder of the copies' user that no one else may write.
std::string PrivateFolderOfTheCopies(const char* name) {
  const std::string folder = MakeFolder(name);
  return chown(folder.c_str(), CopyUser(), CopyUser()) == 0 && chmod(folder.c_str(), 0700) == 0 ? folder : "";
}

// Two copies of one user meet whatever their environments say: a desktop session's
// runtime folder beside none (su, a remote shell, a cron job) or beside another, one
// display named two ways, also when another user holds the user's own folder in /tmp.
TEST_F(SingleInstanceTest, ACopyIsRefusedWhateverEitherCopysEnvironment) {
  const std::string a = PrivateFolderOfTheCopies("runtime-a"), b = PrivateFolderOfTheCopies("runtime-b");
  ASSERT_FALSE(a.empty() || b.empty());
  const std::string game = SharedFolder("game"), other = SharedFolder("other");
  const std::string display = ":" + std::to_string(getpid());
  const std::string own = TemporaryRoot() + "/" + kClass + "-" + std::to_string(CopyUser());
  const struct {
    Start first, second;
    std::pair<FolderClaim, FolderClaim> got;
  } cases[] = {
      {{a, "", game}, {"", "", game}, kSecondRefused},
      {{"", "", game}, {a, "", game}, kSecondRefused},
      {{a, "", game}, {b, "", game}, kSecondRefused},
      {{a, display, game}, {"", display, other}, kSecondRefused},
      {{"", display, game}, {b, "unix" + display + ".0", other}, kSecondRefused},
      {{a, display, game}, {"", ":0" + display.substr(1), other}, kSecondRefused},
      {{a, display, game}, {"", display + "0", other}, kBothRun},
      {{a, display, game}, {"", "", other}, kBothRun},
  };
  for (const bool squatted : {false, true}) {
    if (squatted && geteuid() != 0) GTEST_SKIP() << "another user's folder needs root";
    for (const auto& [first, second, got] : cases) {
      SCOPED_TRACE(first.runtime + " " + first.display + " / " + second.runtime + " " + second.display +
                   (squatted ? ", /tmp's folder another user's" : ""));
      if (squatted) {
        ASSERT_EQ(mkdir(own.c_str(), 0700) | chown(own.c_str(), kOther, kOther), 0);
      }
      EXPECT_EQ(TwoCopies(first, second), got);
      for (const auto& entry : std::filesystem::directory_iterator(TemporaryRoot())) std::filesystem::remove_all(entry);
    }
  }
}

// Copies started at one instant, over several rounds: in one folder, each on a display of
// its own (so the folder's claim alone refuses them), while another user holds the user's
// own folder in /tmp and a long listing beside it widens the gap between finding no folder
// and making one; and on one display, each in a folder of its own. One runs, the others
// are refused.
TEST_F(SingleInstanceTest, CopiesStartedAtOneInstantRunOnce) {
  constexpr int kCopies = 4, kRounds = 4;
  const std::string own = TemporaryRoot() + "/" + kClass + "-" + std::to_string(CopyUser());
  const bool squatted = geteuid() == 0;
  if (squatted) {
    ASSERT_EQ(mkdir(own.c_str(), 0777), 0);
    ASSERT_EQ(chmod(own.c_str(), 0777) + chown(own.c_str(), kOther, kOther), 0);
    for (int i = 0; i < 5000; ++i) {
      close(open((own + "." + std::to_string(i)).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600));
    }
  }
  const std::string display = ":" + std::to_string(getpid());
  std::vector<Start> oneFolder, oneDisplay;
  for (int i = 0; i < kCopies; ++i) {
    oneFolder.push_back({"", display + std::to_string(i), SharedFolder("game")});
    oneDisplay.push_back({"", display, SharedFolder(("game-" + std::to_string(i)).c_str())});
  }
  for (const auto& [where, starts] : {std::pair{"one folder", oneFolder}, std::pair{"one display", oneDisplay}}) {
    for (int round = 0; round < kRounds; ++round) {
      const std::vector<FolderClaim> got = Copies(starts, true);
      EXPECT_EQ(std::count(got.begin(), got.end(), FolderClaim::kTakenByAnotherCopy), kCopies - 1)
          << where << ", round " << round;
      EXPECT_EQ(std::count(got.begin(), got.end(), FolderClaim::kMade), 1) << where << ", round " << round;
      // The folders the copies made: the next round races to make them again.
      for (const auto& entry : std::filesystem::directory_iterator(TemporaryRoot())) {
        if (entry.is_directory() && !(squatted && entry.path() == own)) std::filesystem::remove_all(entry);
      }
    }
  }
}

// With the system's runtime folder of the user there, a copy whose runtime folder is the
// user's own in /tmp and a copy with none name the same two folders in opposite orders.
// Started at one instant, over many rounds, one of them runs.
TEST_F(SingleInstanceTest, CopiesNamingTheFoldersInOppositeOrdersRunOnce) {
  const std::string uid = std::to_string(CopyUser());
  const std::string own = PrivateFolderOfTheCopies(("tmp/" + std::string(kClass) + "-" + uid).c_str());
  ASSERT_FALSE(own.empty() || PrivateFolderOfTheCopies(("run-user/" + uid).c_str()).empty());
  const std::string game = SharedFolder("game");
  for (int round = 0; round < 40; ++round) {
    const std::vector<FolderClaim> got = Copies({{own, "", game}, {"", "", game}}, true);
    EXPECT_EQ(std::count(got.begin(), got.end(), FolderClaim::kMade), 1) << "round " << round;
  }
}

// The lock folders are the user's alone: a runtime folder that others may write (0777, or
// shared as /tmp is) is passed over, and the one the check makes in /tmp is 0700, its
// lock files 0600, whatever the umask: also where a start under a umask that took the
// owner's bits left the folder 0500 and a lock file 0200.
TEST_F(SingleInstanceTest, LockFoldersAreOnesNoOtherUserMayWrite) {
  for (const std::filesystem::perms mode : {std::filesystem::perms(0777), std::filesystem::perms(0770),
                                            std::filesystem::perms(0702), std::filesystem::perms(01777)}) {
    const std::string runtime = MakeFolder("open-runtime");
    std::filesystem::permissions(runtime, mode);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    EXPECT_EQ(ClaimWorkingFolder(kClass), FolderClaim::kMade);
    EXPECT_EQ(FilesIn(runtime), 0) << "a lock in a folder of mode " << std::oct << static_cast<int>(mode);
    ReleaseWorkingFolder();
  }
  unsetenv("XDG_RUNTIME_DIR");
  const std::string own = TemporaryRoot() + "/" + kClass + "-" + std::to_string(CopyUser());
  const std::string game = SharedFolder("game");  // one the copies' user may reach
  struct stat folder {};
  ASSERT_EQ(stat(game.c_str(), &folder), 0);
  const std::string claim = own + "/" + kClass + "-" + std::to_string(CopyUser()) + "-claim" +
                            std::to_string(folder.st_dev) + "-" + std::to_string(folder.st_ino) + ".lock";
  const auto modeOf = [](const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
  };
  for (const mode_t mask : {022, 0277, 0177, 0477}) {
    for (const bool leftDamaged : {false, true}) {
      SCOPED_TRACE(testing::Message() << "umask " << std::oct << mask << (leftDamaged ? ", folder left 0500" : ""));
      if (leftDamaged) {
        ASSERT_EQ(mkdir(own.c_str(), 0700), 0);
        ASSERT_EQ(close(open(claim.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0200)), 0);
        ASSERT_EQ(chown(claim.c_str(), CopyUser(), CopyUser()), 0);
        ASSERT_EQ(chmod(claim.c_str(), 0200), 0);
        ASSERT_EQ(chown(own.c_str(), CopyUser(), CopyUser()), 0);
        ASSERT_EQ(chmod(own.c_str(), 0500), 0);
      }
      const mode_t before = umask(mask);
      EXPECT_EQ(TwoCopies({"", "", game}, {"", "", game}), kSecondRefused);
      umask(before);
      EXPECT_EQ(modeOf(own), 0700u);
      EXPECT_EQ(modeOf(claim), 0600u);
      std::filesystem::remove_all(own);
    }
  }
}

// A new file of another user at `path`, locked while the returned descriptor is open; -2
// when it cannot be made.
int OthersLockedFile(const std::string& path) {
  const int file = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  return file >= 0 && fchown(file, kOther, kOther) == 0 && flock(file, LOCK_EX) == 0 ? file : -2;
}

// What another user may leave where lock files are kept: none of it makes the display
// look taken or is written through, and a real second copy is found wherever a lock can
// still be kept, in a folder made beside the user's own where another user holds that.
// The class is this process's own, so no other run shares its names.
TEST_F(SingleInstanceTest, WhatAnotherUserLeavesNeitherStopsTheStartNorIsWrittenThrough) {
  namespace fs = std::filesystem;
  if (geteuid() != 0) GTEST_SKIP() << "making another user's files needs root";
  const std::string pid = std::to_string(getpid()), className = "LockTest" + pid;
  const std::string lockName = className + "-0-display_" + pid + ".lock";
  const std::string folder = TemporaryRoot() + "/" + className + "-0";
  const std::string aside = MakeFolder("aside"), lock = folder + "/" + lockName;
  setenv("DISPLAY", (":" + pid).c_str(), 1);
  unsetenv("WAYLAND_DISPLAY");
  unsetenv("XDG_RUNTIME_DIR");
  // The user's folder for lock files, as another user or the user left it: -1, nothing to close.
  const auto makeFolder = [&](uid_t owner) {
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms::owner_all);
    return chown(folder.c_str(), owner, owner) == 0 ? -1 : -2;
  };
  const struct {
    const char* what;
    std::function<int()> plant;  // a descriptor to close after, or below 0
    bool copyFound;
  } plants[] = {
      {"a lock held at the shared name", [&] { return OthersLockedFile(TemporaryRoot() + "/" + lockName); }, true},
      {"another user's locked file",
       [&] {
         makeFolder(0);
         return OthersLockedFile(lock);
       },
       false},
      {"a link at the lock file",
       [&] {
         makeFolder(0);
         return symlink((aside + "/lock").c_str(), lock.c_str()) - 1;
       },
       false},
      {"the folder another user's", [&] { return makeFolder(65534); }, true},
      {"a link for the folder", [&] { return symlink(aside.c_str(), folder.c_str()) - 1; }, true},
  };
  for (const auto& [what, plant, copyFound] : plants) {
    SCOPED_TRACE(what);
    const int held = plant();
    const std::size_t before = FilesIn(aside);
    EXPECT_FALSE(OtherWindowFound(className.c_str()));
    int release = -1;
    const pid_t child = StartWindowOwner(MakeFolder("owner"), &release, className.c_str());
    ASSERT_GT(child, 0);
    EXPECT_EQ(OtherWindowFound(className.c_str()), copyFound);
    EndWindowOwner(child, release);
    EXPECT_EQ(FilesIn(aside), before) << "written through a link";
    if (held >= 0) close(held);
    fs::remove(aside + "/lock");
    for (const auto& entry : fs::directory_iterator(TemporaryRoot())) fs::remove_all(entry);
  }
}

// The folder's claim is a lock file of the user's own in the lock folder: while another
// copy holds it the start is refused; one a killed copy left is taken over, and removed at
// the end. A lock on the folder itself, anyone's, counts for nothing, and a folder the user
// may not write is claimed all the same.
TEST_F(SingleInstanceTest, TheFolderClaimIsALockFileOfTheUsersOwn) {
  namespace fs = std::filesystem;
  const std::string locks = PrivateLockFolder();
  ASSERT_EQ(chdir(MakeFolder("game").c_str()), 0);
  const int folder = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_EQ(flock(folder, LOCK_EX), 0);
  EXPECT_EQ(ClaimWorkingFolder(kClass), FolderClaim::kMade);
  ASSERT_EQ(FilesIn(locks), 1);
  const fs::path lock = fs::directory_iterator(locks)->path();
  EXPECT_EQ(fs::status(lock).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  ReleaseWorkingFolder();
  const int copy = open(lock.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_EQ(flock(copy, LOCK_EX), 0);
  EXPECT_EQ(ClaimWorkingFolder(kClass), FolderClaim::kTakenByAnotherCopy);
  flock(copy, LOCK_UN);
  EXPECT_EQ(ClaimWorkingFolder(kClass), FolderClaim::kMade);
  ReleaseWorkingFolder();
  EXPECT_FALSE(fs::exists(lock));
  close(copy);
  close(folder);

  if (geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
  EXPECT_EQ(TwoCopies({"", "", MakeFolder("unwritable")}, {"", "", MakeFolder("unwritable")}), kSecondRefused);
}

// Another user's thing at `path`: a link to `target` ('l') or to a device ('D'), a FIFO
// ('p'), a folder ('d'), or a file they hold locked ('f', its descriptor returned); -2
// when it cannot be made.
int PlantOthers(char kind, const std::string& path, const std::string& target) {
  if (kind == 'f') return OthersLockedFile(path);
  const int made = kind == 'l'   ? symlink(target.c_str(), path.c_str())
                   : kind == 'D' ? symlink("/dev/null", path.c_str())
                   : kind == 'p' ? mkfifo(path.c_str(), 0666)
                                 : mkdir(path.c_str(), 0777);
  return made == 0 && lchown(path.c_str(), kOther, kOther) == 0 ? -1 : -2;
}

// Another user's link, FIFO or locked file (a link to a device, a folder) at any name the
// claim might use: its old place in the game's folder, the user's lock folder, the lock
// file in it or in the runtime folder. Of two copies of the user in a folder shared with
// the sticky bit the second is refused; only where nothing but the claim's own name was
// left (root's doing) does the claim learn that it cannot be kept, and the window's mark
// refuses the second. Nothing is made or used through a link.
TEST_F(SingleInstanceTest, WhatAnotherUserPutsAtTheClaimsNamesNeitherSwitchesItOffNorIsFollowed) {
  namespace fs = std::filesystem;
  if (geteuid() != 0) GTEST_SKIP() << "acting as other users needs root";
  const std::string game = SharedFolder("game"), root = TemporaryRoot(), aside = SharedFolder("aside");
  const std::string runtime = MakeFolder("runtime"), trap = aside + "/private", made = aside + "/made";
  const std::string own = root + "/" + kClass + "-65534";
  const auto makeOwn = [](const std::string& path) {
    fs::create_directory(path);
    return chown(path.c_str(), kCopy, kCopy) == 0 && chmod(path.c_str(), 0700) == 0;
  };
  ASSERT_TRUE(makeOwn(runtime) && makeOwn(trap));
  ASSERT_EQ(chdir(game.c_str()), 0);
  struct stat folder {};
  ASSERT_EQ(stat(".", &folder), 0);
  const std::string lock = std::string("/") + kClass + "-65534-claim" + std::to_string(folder.st_dev) + "-" +
                           std::to_string(folder.st_ino) + ".lock";
  const struct {
    std::string path;
    const char* plants;
    std::string linkTarget;  // one that would pass for the user's own if followed
    std::pair<FolderClaim, FolderClaim> got;
  } names[] = {{game + "/." + kClass + ".lock", "lDpf", made, kSecondRefused},
               {own, "lpfd", trap, kSecondRefused},
               {own + lock, "lpf", made, {FolderClaim::kNoPrivatePlace, FolderClaim::kTakenByAnotherCopy}},
               {runtime + lock, "lpf", made, kSecondRefused}};
  for (const auto& [path, plants, linkTarget, got] : names) {
    for (const char* plant = plants; *plant != '\0'; ++plant) {
      SCOPED_TRACE(path + " " + *plant);
      const Start start{path.starts_with(runtime) ? runtime : "", "", ""};
      ASSERT_TRUE(!path.starts_with(own + "/") || makeOwn(own));
      const int held = PlantOthers(*plant, path, linkTarget);
      ASSERT_NE(held, -2);
      EXPECT_EQ(TwoCopies(start, start), got);
      EXPECT_FALSE(fs::exists(made)) << "made through a link";
      EXPECT_TRUE(fs::is_empty(trap)) << "used through a link";
      if (held >= 0) close(held);
      fs::remove(path);
      for (const auto& entry : fs::directory_iterator(root)) fs::remove_all(entry);
    }
  }
}

}  // namespace
