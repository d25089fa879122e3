// Double-start check. A process that creates a window of a class holds a lock file for
// that class until it unregisters the class (removing the file) or exits; FindWindowA
// in another process of the same user on the same display (or, with no display, in the
// same working folder) then finds "a window". A file left by a killed process holds no
// lock and is taken over. These lock files live only where no other user may write:
// otherwise anyone could hold one and stop the game starting, or plant a link there for
// the game to create a file through. The working folder's claim is a lock file in that
// folder, opened as carefully, so a file or link another user planted there is not used.
#include "window/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
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

// The working folder this process has claimed and the lock file held in it; -1 for none.
struct FolderClaim {
  int folder = -1;
  int file = -1;
  std::string name;
};
FolderClaim g_claim;

// Lock files held by this process, by class name.
std::map<std::string, int>& HeldLocks() {
  static std::map<std::string, int> held;
  return held;
}

std::string Sanitise(const std::string& text) {
  std::string out;
  for (char c : text) out += (isalnum(static_cast<unsigned char>(c)) || c == '.') ? c : '_';
  return out;
}

std::string Scope() {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* display = std::getenv(variable);
    if (display != nullptr && display[0] != '\0') return "display" + Sanitise(display);
  }
  char folder[PATH_MAX];
  if (getcwd(folder, sizeof(folder)) == nullptr) return "folder";
  std::uint64_t hash = 14695981039346656037ull;
  for (const char* c = folder; *c != '\0'; ++c) hash = (hash ^ static_cast<unsigned char>(*c)) * 1099511628211ull;
  return "folder" + std::to_string(hash);
}

// A real folder (not a link) of this user that no one else may write to.
bool IsPrivateFolder(const std::string& folder) {
  struct stat info {};
  return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
         (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The runtime folder, else the user's own folder in /tmp (made by the holder); "" when
// neither is private, and then no lock is taken nor found.
std::string LockPath(const char* className, bool makeFolder = false) {
  const std::string user = std::to_string(getuid());
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string folder = runtime != nullptr && runtime[0] != '\0' ? runtime : "";
  if (folder.empty() || !IsPrivateFolder(folder)) {
    folder = "/tmp/" + Sanitise(className) + "-" + user;
    if (makeFolder) mkdir(folder.c_str(), 0700);
    if (!IsPrivateFolder(folder)) return "";
  }
  return folder + "/" + Sanitise(className) + "-" + user + "-" + Scope() + ".lock";
}

// Never through a link, never waiting on a FIFO; a file that is not this user's own is
// not used. Only read: a lock needs no more. `name` is taken in `folder` when relative.
int OpenLockFile(int folder, const std::string& name, int create) {
  if (name.empty()) return -1;
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

}  // namespace

void TestSetSingleInstanceCheck(int on) {
  g_checkOn.store(on != 0);
  if (!on) ReleaseWorkingFolder();
}

bool ClaimWorkingFolder(const char* className) {
  if (!g_checkOn.load()) return true;
  std::lock_guard<std::mutex> lock(LocksMutex());
  if (g_claim.file >= 0) return true;
  // Only a handle to name files by: it needs no read permission, and holds no lock.
  const int folder = open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return true;
  const std::string name = "." + Sanitise(className) + ".lock";
  int file = -1;
  const LockTaken taken = TakeLockFile(folder, name, &file);
  if (taken == LockTaken::kHeld) {
    g_claim = {folder, file, name};
    return true;
  }
  close(folder);
  return taken != LockTaken::kHeldElsewhere;
}

void ReleaseWorkingFolder() {
  std::lock_guard<std::mutex> lock(LocksMutex());
  if (g_claim.file < 0) return;
  // Removed while still locked, so no other process can lock the old file in between.
  if (StillAtName(g_claim.folder, g_claim.file, g_claim.name)) unlinkat(g_claim.folder, g_claim.name.c_str(), 0);
  close(g_claim.file);
  close(g_claim.folder);
  g_claim = FolderClaim{};
}

namespace window_internal {

void HoldInstanceLock(const char* className) {
  if (!g_checkOn.load()) return;
  std::lock_guard<std::mutex> lock(LocksMutex());
  if (HeldLocks().count(className) != 0) return;
  int file = -1;
  if (TakeLockFile(AT_FDCWD, LockPath(className, true), &file) == LockTaken::kHeld) HeldLocks()[className] = file;
}

void ReleaseInstanceLock(const char* className) {
  std::lock_guard<std::mutex> lock(LocksMutex());
  const auto held = HeldLocks().find(className);
  if (held == HeldLocks().end()) return;
  // Removed while still locked, so no other process can lock the old file in between.
  unlink(LockPath(className).c_str());
  close(held->second);
  HeldLocks().erase(held);
}

bool IsInstanceLockHeldElsewhere(const char* className) {
  if (!g_checkOn.load()) return false;
  std::lock_guard<std::mutex> lock(LocksMutex());
  if (HeldLocks().count(className) != 0) return false;
  // No file: nobody holds it, and the check leaves none behind.
  const int file = OpenLockFile(AT_FDCWD, LockPath(className), 0);
  if (file < 0) return false;
  const bool heldElsewhere = flock(file, LOCK_EX | LOCK_NB) != 0;
  close(file);
  return heldElsewhere;
}

}  // namespace window_internal
