#include "private_lock_folders.h"

#include <cstdlib>
#include <filesystem>

#include "process_temporary_folder.h"
#include "testing.h"

namespace {

// The runtime folders and /tmp that the double-start check looks in, in the program's
// own temporary folder.
struct PrivateLockFolders {
  PrivateLockFolders() : root(ProcessTemporaryFolder() / "locks") {
    std::error_code failed;
    // Reachable by the other users that tests run as; only its "tmp" may be written.
    std::filesystem::create_directories(root / "run-user", failed);
    std::filesystem::create_directory(root / "tmp", failed);
    std::filesystem::permissions(root, std::filesystem::perms(0755), failed);
    std::filesystem::permissions(root / "tmp", std::filesystem::perms::all | std::filesystem::perms::sticky_bit,
                                 failed);
    // The runtime folder a desktop session names is the machine's too.
    unsetenv("XDG_RUNTIME_DIR");
    Use();
  }
  void Use() const { TestSetLockFolderRoots((root / "run-user").c_str(), (root / "tmp").c_str()); }
  const std::filesystem::path root;
};

PrivateLockFolders& PrivateLockFolderSet() {
  static PrivateLockFolders folders;
  return folders;
}

const bool g_privateLockFoldersMade = (PrivateLockFolderSet(), true);

}  // namespace

void UsePrivateLockFolders() { PrivateLockFolderSet().Use(); }
