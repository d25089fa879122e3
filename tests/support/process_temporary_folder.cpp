#include "process_temporary_folder.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Removes `folder` once this process and every child forked from it have ended, however
// they ended (a sanitizer's report, a signal), from a process of its own: a grandchild in
// a session of its own, so no test waits for it or ends it with its process group. It
// waits on a pipe whose writing end only those processes hold (a program they start
// does not).
void RemoveWhenEnded(const std::filesystem::path& folder) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return;
  const pid_t child = fork();
  if (child == 0) {
    if (fork() == 0) {
      setsid();
      const int nothing = open("/dev/null", O_RDWR);
      dup2(ends[0], STDIN_FILENO);
      dup2(nothing, STDOUT_FILENO);
      dup2(nothing, STDERR_FILENO);
      close_range(STDERR_FILENO + 1, UINT_MAX, 0);
      char unused;
      while (read(STDIN_FILENO, &unused, 1) < 0 && errno == EINTR) {
      }
      std::error_code ignored;
      std::filesystem::remove_all(folder, ignored);
    }
    _exit(0);
  }
  close(ends[0]);
  if (child > 0) waitpid(child, nullptr, 0);
}

struct ProcessFolder {
  ProcessFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantorel-tests-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror(("no temporary folder of the test program's own: " + pattern).c_str());
      std::abort();
    }
    path = pattern;
    // A /tmp of the program's own: the other users that tests run as make files in it too.
    std::filesystem::permissions(path, std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
    setenv("TMPDIR", path.c_str(), 1);
    RemoveWhenEnded(path);
  }
  // At once as the program ends, so a passing run leaves nothing however soon it is looked
  // at; only by the process that made it (a forked child that ends leaves it to its parent).
  ~ProcessFolder() {
    std::error_code ignored;
    if (getpid() == maker) std::filesystem::remove_all(path, ignored);
  }
  const pid_t maker = getpid();
  std::filesystem::path path;
};

ProcessFolder& Folder() {
  static ProcessFolder folder;
  return folder;
}

const bool g_processFolderMade = (Folder(), true);

}  // namespace

const std::filesystem::path& ProcessTemporaryFolder() { return Folder().path; }
