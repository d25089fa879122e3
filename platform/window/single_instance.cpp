// Double-start check. A process that creates a window of a class holds a lock file for
// that class until it exits; FindWindowA in another process of the same user on the
// same display (or, with no display, in the same working folder) then finds "a window".
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
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

std::string LockPath(const char* className) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string folder = runtime != nullptr && runtime[0] != '\0' ? runtime : "/tmp";
  return folder + "/" + Sanitise(className) + "-" + std::to_string(getuid()) + "-" + Scope() + ".lock";
}

int OpenLockFile(const char* className) {
  return open(LockPath(className).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

}  // namespace

void TestSetSingleInstanceCheck(int on) { g_checkOn.store(on != 0); }

namespace window_internal {

void HoldInstanceLock(const char* className) {
  if (!g_checkOn.load()) return;
  std::lock_guard<std::mutex> lock(LocksMutex());
  if (HeldLocks().count(className) != 0) return;
  const int file = OpenLockFile(className);
  if (file < 0) return;
  if (flock(file, LOCK_EX | LOCK_NB) != 0) {
    close(file);
    return;
  }
  HeldLocks()[className] = file;
}

bool IsInstanceLockHeldElsewhere(const char* className) {
  if (!g_checkOn.load()) return false;
  std::lock_guard<std::mutex> lock(LocksMutex());
  if (HeldLocks().count(className) != 0) return false;
  const int file = OpenLockFile(className);
  if (file < 0) return false;
  const bool heldElsewhere = flock(file, LOCK_EX | LOCK_NB) != 0;
  close(file);
  return heldElsewhere;
}

}  // namespace window_internal
