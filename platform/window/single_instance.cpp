// Double-start check. A process that looks for a window of a class with FindWindowA and
// finds none, or creates one, holds a lock file for that class until it unregisters the
// class (removing the file) or exits; FindWindowA in another process of the same user on
// the same display (or, with no display, in the same working folder) then finds "a
// window". Looking and locking are one step, so two processes started at one instant
// cannot both find none. A file left by a killed process holds no lock and is taken over.
//
// These lock files, and the working folder's claim, live only in folders where no other
// user may write: otherwise anyone could hold one and stop the game starting or switch
// the check off, or plant a link there for the game to create a file through. Every such
// folder of the user's that can be had is used, whatever this process's environment
// says: the runtime folder it names, the system's runtime folder of the user, and the
// user's own folders under /tmp. Two copies started from different environments (a
// desktop session and a remote shell, say) then meet in at least one of them, and take
// their locks in one order. The folders and files are the owner's to use whatever the
// umask: 0700 and 0600.
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
#include <set>
#include <string>
#include <string_view>
#include <tuple>
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

// An X display's name in one spelling: "unix:0.0", ":0.0", ":00" and ":0" are one display.
// The "unix" host is the local one, the display number is read as a number, and the
// screen number only picks a screen of the display.
std::string XDisplayName(const std::string& name) {
  const std::size_t colon = name.rfind(':');
  if (colon == std::string::npos) return name;
  const std::string host = name.compare(0, colon, "unix") == 0 ? "" : name.substr(0, colon);
  std::string number = name.substr(colon + 1, name.find('.', colon) - colon - 1);
  if (!number.empty() && std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    number.erase(0, std::min(number.find_first_not_of('0'), number.size() - 1));
  }
  return host + ":" + number;
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

// Gives a file or folder of the user's own, open only by its path (O_PATH), the owner's
// bits `bits` besides those it has: a umask that took them leaves a folder its owner
// cannot write in, or a lock file they cannot open.
bool GiveOwnersBits(int opened, mode_t bits) {
  struct stat info {};
  return fstat(opened, &info) == 0 && info.st_uid == geteuid() &&
         ((info.st_mode & bits) == bits ||
          chmod(("/proc/self/fd/" + std::to_string(opened)).c_str(), (info.st_mode & 07777) | bits) == 0);
}

// A real folder (never through a link) of this user that no one else may write to,
// opened only to name files in; -1 for anything else. With `mend`, one that lacks its
// owner's bits gets them.
int OpenPrivateFolder(const std::string& path, bool mend) {
  const int folder = open(path.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  struct stat info {};
  if (folder >= 0 && (fstat(folder, &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid() ||
                      (info.st_mode & (S_IWGRP | S_IWOTH)) != 0 || (mend && !GiveOwnersBits(folder, S_IRWXU)))) {
    close(folder);
    return -1;
  }
  return folder;
}

// An open private folder, known by what it is whatever path led to it.
struct LockFolder {
  int descriptor;
  dev_t device;
  ino_t inode;
  bool operator<(const LockFolder& other) const {
    return std::tie(device, inode) < std::tie(other.device, other.inode);
  }
};

// The names under the temporary root that may be the user's lock folders: `own`, and
// those made beside it ("own.XXXXXX") while another user held that name.
std::vector<std::string> OwnFolderNames(const std::string& own) {
  std::vector<std::string> names{own};
  if (DIR* root = opendir(Roots().temporary.c_str())) {
    while (const dirent* entry = readdir(root)) {
      if (std::string_view(entry->d_name).starts_with(own + ".")) names.emplace_back(entry->d_name);
    }
    closedir(root);
  }
  return names;
}

// Every private folder of the user's for lock files, each open once, ordered by what
// they are (not by the paths this process's environment gives), so that every copy
// takes its locks in one order. With `make`, the user's own folder under the temporary
// root is made when missing, and, when another user holds its name, one beside it of a
// name of its own.
std::vector<LockFolder> OpenLockFolders(const char* className, bool make) {
  std::set<LockFolder> folders;
  const auto add = [&folders](int descriptor) {
    struct stat info {};
    if (descriptor < 0) return false;
    if (fstat(descriptor, &info) != 0 || !folders.insert({descriptor, info.st_dev, info.st_ino}).second) {
      close(descriptor);
    }
    return true;
  };
  const std::string uid = std::to_string(getuid());
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] != '\0') add(OpenPrivateFolder(runtime, false));
  add(OpenPrivateFolder(Roots().runtime + "/" + uid, false));
  const std::string own = Sanitise(className) + "-" + uid;
  const std::string root = Roots().temporary + "/";
  if (make) mkdir((root + own).c_str(), 0700);
  bool ownFound = false;
  for (const std::string& name : OwnFolderNames(own)) ownFound = add(OpenPrivateFolder(root + name, true)) || ownFound;
  std::string beside = root + own + ".XXXXXX";
  if (make && !ownFound && mkdtemp(beside.data()) != nullptr) add(OpenPrivateFolder(beside, true));
  return {folders.begin(), folders.end()};
}

constexpr int kLockFileOpen = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

bool IsOwnRegularFile(int file) {
  struct stat info {};
  return fstat(file, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid();
}

// Opens the lock file `name`, made when missing, 0600 whatever the umask; one of the
// user's own that a umask left unreadable is mended. Never through a link, never
// waiting on a FIFO; a file that is not this user's own is not used. Only read: a lock
// needs no more.
int OpenLockFile(int folder, const std::string& name) {
  int file = openat(folder, name.c_str(), kLockFileOpen | O_CREAT, 0600);
  if (file < 0 && errno == EACCES) {
    const int path = openat(folder, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (path >= 0 && IsOwnRegularFile(path) && GiveOwnersBits(path, S_IRUSR | S_IWUSR)) {
      file = openat(folder, name.c_str(), kLockFileOpen);
    }
    if (path >= 0) close(path);
  }
  struct stat info {};
  if (file >= 0 && (!IsOwnRegularFile(file) || fstat(file, &info) != 0 ||
                    ((info.st_mode & 07777) != 0600 && fchmod(file, 0600) != 0))) {
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
    const int file = OpenLockFile(folder, name);
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

// Locks `name` in each folder into `locks`, in order, stopping at the first that
// another copy holds (and then holding none). The folders' descriptors go to the locks
// or are closed.
LockTaken LockInEach(const std::vector<LockFolder>& folders, const std::string& name,
                     std::vector<HeldLock>* locks) {
  LockTaken taken = LockTaken::kUnavailable;
  for (const LockFolder& folder : folders) {
    int file = -1;
    const LockTaken here =
        taken == LockTaken::kHeldElsewhere ? taken : TakeLockFile(folder.descriptor, name, &file);
    if (here == LockTaken::kHeld) {
      locks->push_back({folder.descriptor, file, name});
      taken = here;
    } else {
      close(folder.descriptor);
      if (here == LockTaken::kHeldElsewhere) taken = here;
    }
  }
  if (taken == LockTaken::kHeldElsewhere) DropLocks(*locks);
  return taken;
}

// Locks the class's lock file of `scope` in every private folder of the user's into
// `locks`, as LockInEach does. Copies that found none of the user's folders in the
// temporary root at one instant have each made one, and would each lock only their own:
// so a copy that holds its locks looks again, and while there is a folder it did not
// try, it gives them up and tries all. Of two such copies, the one that locks last sees
// the other's folder. Unavailable when no folder could keep one.
LockTaken TakeLocks(const char* className, const std::string& scope, std::vector<HeldLock>* locks) {
  constexpr int kAttempts = 8;  // each new folder is a copy's that found none: a few at most
  const std::string name = LockName(className, scope);
  for (int attempt = 1;; ++attempt) {
    const std::vector<LockFolder> tried = OpenLockFolders(className, true);
    const LockTaken taken = LockInEach(tried, name, locks);
    if (taken != LockTaken::kHeld || attempt == kAttempts) return taken;
    const std::vector<LockFolder> now = OpenLockFolders(className, false);
    for (const LockFolder& folder : now) close(folder.descriptor);
    if (std::includes(tried.begin(), tried.end(), now.begin(), now.end())) return taken;
    DropLocks(*locks);
  }
}

}  // namespace

void TestSetSingleInstanceCheck(int on) {
  g_checkOn.store(on != 0);
  if (on) return;
  ReleaseWorkingFolder();
  std::lock_guard<std::mutex> lock(LocksMutex());
  for (auto& [className, locks] : HeldLocks()) DropLocks(locks);
  HeldLocks().clear();
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

bool TakeInstanceLock(const char* className) {
  if (!g_checkOn.load()) return true;
  std::lock_guard<std::mutex> lock(LocksMutex());
  if (HeldLocks().count(className) != 0) return true;
  std::vector<HeldLock> held;
  const LockTaken taken = TakeLocks(className, DisplayScope(), &held);
  if (taken == LockTaken::kHeld) HeldLocks()[className] = std::move(held);
  return taken != LockTaken::kHeldElsewhere;
}

void ReleaseInstanceLock(const char* className) {
  std::lock_guard<std::mutex> lock(LocksMutex());
  const auto held = HeldLocks().find(className);
  if (held == HeldLocks().end()) return;
  DropLocks(held->second);
  HeldLocks().erase(held);
}

}  // namespace window_internal
