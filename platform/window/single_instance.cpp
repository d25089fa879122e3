// Double-start check. A process that creates a window of a class holds a lock file for
// that class until it unregisters the class (removing the file) or exits; FindWindowA
// in another process of the same user on the same display (or, with no display, in the
// same working folder) then finds "a window". A file left by a killed process holds no
// lock and is taken over. These lock files, and the working folder's claim, live only in
// a folder where no other user may write: otherwise anyone could hold one and stop the
// game starting or switch the check off, or plant a link there for the game to create a
// file through.
#include "window/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "testing.h"
#include "window/window_internal.h"

namespace {

std::atomic<bool> g_checkOn{true};

std::mutex& LocksMutex() {
  static std::mutex mutex;
  return mutex;
}

// Where the user's own lock folder is made when there is no private runtime folder.
std::string& LockFolderRoot() {
  static std::string root = "/tmp";
  return root;
}

// A lock file this process holds: the folder it is in, the file, and its name there.
struct HeldLock {
  int folder = -1;
  int file = -1;
  std::string name;
};

// The working folder's claim; file -1 for none.
HeldLock g_claim;

// The windows' lock files, by class name.
std::map<std::string, HeldLock>& HeldLocks() {
  static std::map<std::string, HeldLock> held;
  return held;
}

std::string Sanitise(const std::string& text) {
  std::string out;
  for (char c : text) out += (isalnum(static_cast<unsigned char>(c)) || c == '.') ? c : '_';
  return out;
}

// The working folder by device and inode: the same whatever path led to it, and a
// folder made later at the same path is another one.
std::string WorkingFolderIdentity() {
  struct stat info {};
  if (stat(".", &info) != 0) return "";
  return std::to_string(info.st_dev) + "-" + std::to_string(info.st_ino);
}

std::string DisplayScope() {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* display = std::getenv(variable);
    if (display != nullptr && display[0] != '\0') return "display" + Sanitise(display);
  }
  return "folder" + WorkingFolderIdentity();
}

std::string LockName(const char* className, const std::string& scope) {
  return Sanitise(className) + "-" + std::to_string(getuid()) + "-" + scope + ".lock";
}

// A real folder (never through a link) of this user that no one else may write to,
// opened only to name files in; -1 for anything else.
int OpenPrivateFolder(const std::string& path) {
  const int folder = open(path.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat info {};
  if (folder >= 0 && (fstat(folder, &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid() ||
                      (info.st_mode & (S_IWGRP | S_IWOTH)) != 0)) {
    close(folder);
    return -1;
  }
  return folder;
}

// The runtime folder when it is private, else the user's own folder under the root
// (made by the first holder); -1 when neither is private.
int OpenLockFolder(const char* className, bool make) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] != '\0') {
    const int folder = OpenPrivateFolder(runtime);
    if (folder >= 0) return folder;
  }
  const std::string own = LockFolderRoot() + "/" + Sanitise(className) + "-" + std::to_string(getuid());
  if (make) mkdir(own.c_str(), 0700);
  return OpenPrivateFolder(own);
}

// Never through a link, never waiting on a FIFO; a file that is not this user's own is
// not used. Only read: a lock needs no more.
int OpenLockFile(int folder, const std::string& name, int create) {
  const int file =
      openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | create, 0600);
  struct stat info {};
  if (file >= 0 && (fstat(file, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid())) {
    close(file);
    return -1;
  }
  return file;
}

// Whether the locked file is still the one at `name`: its holder may have removed it
// between our open and our lock.
bool StillAtName(int folder, int file, const std::string& name) {
  struct stat opened {};
  struct stat named {};
  return fstat(file, &opened) == 0 && fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         opened.st_ino == named.st_ino && opened.st_dev == named.st_dev;
}

enum class LockTaken { kHeld, kHeldElsewhere, kUnavailable };

// Locks the lock file `name` in `folder`, making it when missing; `held` gets its
// descriptor. Unavailable when it cannot be made or used.
LockTaken TakeLockFile(int folder, const std::string& name, int* held) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int file = OpenLockFile(folder, name, O_CREAT);
    if (file < 0) return LockTaken::kUnavailable;
    const bool locked = flock(file, LOCK_EX | LOCK_NB) == 0;
    const bool busy = !locked && errno == EWOULDBLOCK;
    if (locked && StillAtName(folder, file, name)) {
      *held = file;
      return LockTaken::kHeld;
    }
    close(file);
    if (!locked) return busy ? LockTaken::kHeldElsewhere : LockTaken::kUnavailable;
  }
  return LockTaken::kUnavailable;
}

// Locks the class's lock file of `scope` in the user's lock folder into `lock`.
LockTaken TakeLock(const char* className, const std::string& scope, HeldLock* lock) {
  const int folder = OpenLockFolder(className, true);
  if (folder < 0) return LockTaken::kUnavailable;
  const std::string name = LockName(className, scope);
  int file = -1;
  const LockTaken taken = TakeLockFile(folder, name, &file);
  if (taken == LockTaken::kHeld) {
    *lock = {folder, file, name};
  } else {
    close(folder);
  }
  return taken;
}

// Removed while still locked, so no other process can lock the old file in between.
void DropLock(HeldLock& lock) {
  if (StillAtName(lock.folder, lock.file, lock.name)) unlinkat(lock.folder, lock.name.c_str(), 0);
  close(lock.file);
  close(lock.folder);
  lock = HeldLock{};
}

}  // namespace

void TestSetSingleInstanceCheck(int on) {
  g_checkOn.store(on != 0);
  if (!on) ReleaseWorkingFolder();
}

void TestSetLockFolderRoot(const char* root) {
  std::lock_guard<std::mutex> lock(LocksMutex());
  LockFolderRoot() = root != nullptr ? root : "/tmp";
}

FolderClaim ClaimWorkingFolder(const char* className) {
  if (!g_checkOn.load()) return FolderClaim::kMade;
  std::lock_guard<std::mutex> lock(LocksMutex());
  if (g_claim.file >= 0) return FolderClaim::kMade;
  const std::string folder = WorkingFolderIdentity();
  if (folder.empty()) return FolderClaim::kNoPrivatePlace;
  switch (TakeLock(className, "claim" + folder, &g_claim)) {
    case LockTaken::kHeld:
      return FolderClaim::kMade;
    case LockTaken::kHeldElsewhere:
      return FolderClaim::kTakenByAnotherCopy;
    case LockTaken::kUnavailable:
      break;
  }
  return FolderClaim::kNoPrivatePlace;
}

void ReleaseWorkingFolder() {
  std::lock_guard<std::mutex> lock(LocksMutex());
  if (g_claim.file >= 0) DropLock(g_claim);
}

namespace window_internal {

void HoldInstanceLock(const char* className) {
  if (!g_checkOn.load()) return;
  std::lock_guard<std::mutex> lock(LocksMutex());
  if (HeldLocks().count(className) != 0) return;
  HeldLock held;
  if (TakeLock(className, DisplayScope(), &held) == LockTaken::kHeld) HeldLocks()[className] = held;
}

void ReleaseInstanceLock(const char* className) {
  std::lock_guard<std::mutex> lock(LocksMutex());
  const auto held = HeldLocks().find(className);
  if (held == HeldLocks().end()) return;
  DropLock(held->second);
  HeldLocks().erase(held);
}

bool IsInstanceLockHeldElsewhere(const char* className) {
  if (!g_checkOn.load()) return false;
  std::lock_guard<std::mutex> lock(LocksMutex());
  if (HeldLocks().count(className) != 0) return false;
  // No file: nobody holds it, and the check leaves none behind.
  const int folder = OpenLockFolder(className, false);
  if (folder < 0) return false;
  const int file = OpenLockFile(folder, LockName(className, DisplayScope()), 0);
  close(folder);
  if (file < 0) return false;
  const bool heldElsewhere = flock(file, LOCK_EX | LOCK_NB) != 0;
  close(file);
  return heldElsewhere;
}

}  // namespace window_internal
