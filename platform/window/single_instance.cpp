// Double-start check. A process that creates a window of a class holds a lock file for
// that class until it unregisters the class (removing the file) or exits; FindWindowA
// in another process of the same user on the same display (or, with no display, in the
// same working folder) then finds "a window". A file left by a killed process holds no
// lock and is taken over.
//
// These lock files, and the working folder's claim, live only in folders where no other
// user may write: otherwise anyone could hold one and stop the game starting or switch
// the check off, or plant a link there for the game to create a file through. Every such
// folder of the user's that can be had is used, whatever this process's environment
// says: the runtime folder it names, the system's runtime folder of the user, and the
// user's own folders under /tmp. Two copies started from different environments (a
// desktop session and a remote shell, say) then meet in at least one of them.
#include "window/single_instance.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "testing.h"
#include "window/window_internal.h"

namespace {

std::atomic<bool> g_checkOn{true};

std::mutex& LocksMutex() {
  static std::mutex mutex;
  return mutex;
}

// Where the system keeps each user's runtime folder, and where the user's own lock
// folders are made.
struct LockFolderRoots {
  std::string runtime = "/run/user";
  std::string temporary = "/tmp";
};

LockFolderRoots& Roots() {
  static LockFolderRoots roots;
  return roots;
}

// A lock file this process holds: the folder it is in, the file, and its name there.
struct HeldLock {
  int folder = -1;
  int file = -1;
  std::string name;
};

// The working folder's claim: one lock in each private folder; none when not made.
std::vector<HeldLock> g_claim;

// The windows' lock files, by class name.
std::map<std::string, std::vector<HeldLock>>& HeldLocks() {
  static std::map<std::string, std::vector<HeldLock>> held;
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

// An X display's name without what only says how it is reached: "unix:0.0", ":0.0" and
// ":0" are one display (the screen number picks a screen of it).
std::string XDisplayName(std::string name) {
  const std::size_t colon = name.rfind(':');
  if (colon == std::string::npos) return name;
  const std::size_t screen = name.find('.', colon);
  if (screen != std::string::npos) name.erase(screen);
  if (name.compare(0, colon, "unix") == 0) name.erase(0, colon);
  return name;
}

std::string DisplayScope() {
  const char* display = std::getenv("DISPLAY");
  if (display != nullptr && display[0] != '\0') return "display" + Sanitise(XDisplayName(display));
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (wayland != nullptr && wayland[0] != '\0') return "display" + Sanitise(wayland);
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

// Adds an open private folder (or nothing, for -1) unless it is one already there.
void AddFolder(std::vector<int>& folders, int folder) {
  struct stat added {};
  if (folder < 0 || fstat(folder, &added) != 0) {
    if (folder >= 0) close(folder);
    return;
  }
  for (const int other : folders) {
    struct stat info {};
    if (fstat(other, &info) == 0 && info.st_dev == added.st_dev && info.st_ino == added.st_ino) {
      close(folder);
      return;
    }
  }
  folders.push_back(folder);
}

// The names under the temporary root that may be the user's lock folders: `own`, then
// those made beside it ("own.XXXXXX") while another user held that name, by name, so
// that every copy tries them in one order.
std::vector<std::string> OwnFolderNames(const std::string& own) {
  std::vector<std::string> names;
  if (DIR* root = opendir(Roots().temporary.c_str())) {
    while (const dirent* entry = readdir(root)) {
      if (std::string_view(entry->d_name).starts_with(own + ".")) names.emplace_back(entry->d_name);
    }
    closedir(root);
  }
  std::sort(names.begin(), names.end());
  names.insert(names.begin(), own);
  return names;
}

// Every private folder of the user's for lock files, each open once, in one order for
// all copies. With `make`, the user's own folder under the temporary root is made when
// missing, and, when another user holds its name, one beside it of a name of its own.
std::vector<int> OpenLockFolders(const char* className, bool make) {
  std::vector<int> folders;
  const std::string uid = std::to_string(getuid());
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] != '\0') AddFolder(folders, OpenPrivateFolder(runtime));
  AddFolder(folders, OpenPrivateFolder(Roots().runtime + "/" + uid));
  const std::string own = Sanitise(className) + "-" + uid;
  const std::string root = Roots().temporary + "/";
  if (make) mkdir((root + own).c_str(), 0700);
  bool ownFound = false;
  for (const std::string& name : OwnFolderNames(own)) {
    const int folder = OpenPrivateFolder(root + name);
    ownFound = ownFound || folder >= 0;
    AddFolder(folders, folder);
  }
  std::string beside = root + own + ".XXXXXX";
  if (make && !ownFound && mkdtemp(beside.data()) != nullptr) AddFolder(folders, OpenPrivateFolder(beside));
  return folders;
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

// Removed while still locked, so no other process can lock the old file in between.
void DropLocks(std::vector<HeldLock>& locks) {
  for (const HeldLock& lock : locks) {
    if (StillAtName(lock.folder, lock.file, lock.name)) unlinkat(lock.folder, lock.name.c_str(), 0);
    close(lock.file);
    close(lock.folder);
  }
  locks.clear();
}

// Locks the class's lock file of `scope` in every private folder of the user's into
// `locks`, in the one order, stopping at the first that another copy holds (and then
// holding none). Unavailable when no folder could keep one.
LockTaken TakeLocks(const char* className, const std::string& scope, std::vector<HeldLock>* locks) {
  const std::string name = LockName(className, scope);
  LockTaken taken = LockTaken::kUnavailable;
  for (const int folder : OpenLockFolders(className, true)) {
    int file = -1;
    const LockTaken here = taken == LockTaken::kHeldElsewhere ? taken : TakeLockFile(folder, name, &file);
    if (here == LockTaken::kHeld) {
      locks->push_back({folder, file, name});
      taken = here;
    } else {
      close(folder);
      if (here == LockTaken::kHeldElsewhere) taken = here;
    }
  }
  if (taken == LockTaken::kHeldElsewhere) DropLocks(*locks);
  return taken;
}

}  // namespace

void TestSetSingleInstanceCheck(int on) {
  g_checkOn.store(on != 0);
  if (!on) ReleaseWorkingFolder();
}

void TestSetLockFolderRoots(const char* runtime, const char* temporary) {
  std::lock_guard<std::mutex> lock(LocksMutex());
  Roots() = {runtime != nullptr ? runtime : "/run/user", temporary != nullptr ? temporary : "/tmp"};
}

FolderClaim ClaimWorkingFolder(const char* className) {
  if (!g_checkOn.load()) return FolderClaim::kMade;
  std::lock_guard<std::mutex> lock(LocksMutex());
  if (!g_claim.empty()) return FolderClaim::kMade;
  const std::string folder = WorkingFolderIdentity();
  if (folder.empty()) return FolderClaim::kNoPrivatePlace;
  switch (TakeLocks(className, "claim" + folder, &g_claim)) {
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
  DropLocks(g_claim);
}

namespace window_internal {

void HoldInstanceLock(const char* className) {
  if (!g_checkOn.load()) return;
  std::lock_guard<std::mutex> lock(LocksMutex());
  if (HeldLocks().count(className) != 0) return;
  std::vector<HeldLock> held;
  if (TakeLocks(className, DisplayScope(), &held) == LockTaken::kHeld) HeldLocks()[className] = std::move(held);
}

void ReleaseInstanceLock(const char* className) {
  std::lock_guard<std::mutex> lock(LocksMutex());
  const auto held = HeldLocks().find(className);
  if (held == HeldLocks().end()) return;
  DropLocks(held->second);
  HeldLocks().erase(held);
}

bool IsInstanceLockHeldElsewhere(const char* className) {
  if (!g_checkOn.load()) return false;
  std::lock_guard<std::mutex> lock(LocksMutex());
  if (HeldLocks().count(className) != 0) return false;
  // No file: nobody holds it, and the check leaves none behind.
  const std::string name = LockName(className, DisplayScope());
  bool heldElsewhere = false;
  for (const int folder : OpenLockFolders(className, false)) {
    const int file = OpenLockFile(folder, name, 0);
    close(folder);
    if (file < 0) continue;
    heldElsewhere = heldElsewhere || flock(file, LOCK_EX | LOCK_NB) != 0;
    close(file);
  }
  return heldElsewhere;
}

}  // namespace window_internal
