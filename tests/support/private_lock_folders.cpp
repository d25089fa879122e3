#include "private_lock_folders.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "testing.h"

namespace {

struct PrivateLockFolders {
  PrivateLockFolders() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantorel-locks-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    root = pattern;
    // Reachable by the other users that tests run as; only its "tmp" may be written.
    std::filesystem::permissions(root, std::filesystem::perms(0755));
    std::filesystem::create_directory(root / "run-user");
    std::filesystem::create_directory(root / "tmp");
    std::filesystem::permissions(root / "tmp", std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
    // The runtime folder a desktop session names is the machine's too.
    unsetenv("XDG_RUNTIME_DIR");
    Use();
  }
  // Only by the process that made them: a child that exits normally leaves them.
  ~PrivateLockFolders() {
    std::error_code ignored;
    if (getpid() == maker && !root.empty()) std::filesystem::remove_all(root, ignored);
  }
  void Use() const {
    if (!root.empty()) TestSetLockFolderRoots((root / "run-user").c_str(), (root / "tmp").c_str());
  }
  const pid_t maker = getpid();
  std::filesystem::path root;
};

PrivateLockFolders& PrivateLockFolderSet() {
  static PrivateLockFolders folders;
  return folders;
}

const bool g_privateLockFoldersMade = (PrivateLockFolderSet(), true);

}  // namespace

void UsePrivateLockFolders() { PrivateLockFolderSet().Use(); }
