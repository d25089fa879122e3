// with_private_temporary FOLDER [KEEP...] -- PROGRAM [ARGUMENT...]
//
// Runs PROGRAM where the machine's /tmp and /run/user are, for it alone, folders of
// FOLDER's: the lock folders a program of the game makes there are the test's own and go
// with FOLDER, and none of the machine's is met. The working folder, PROGRAM and each
// KEEP keep their paths, also where they lie under /tmp. A mount namespace of its own
// (with a user namespace of its own where the caller is not root); status 125 when it
// cannot be had.
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

bool WriteFile(const char* path, const std::string& text) {
  const int file = open(path, O_WRONLY | O_CLOEXEC);
  const bool written = file >= 0 && write(file, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  if (file >= 0) close(file);
  return written;
}

// Root may mount in a mount namespace of its own; anyone else in a user namespace of
// their own, as the same user and group.
bool EnterOwnNamespace() {
  if (geteuid() == 0) return unshare(CLONE_NEWNS) == 0;
  const std::string uid = std::to_string(geteuid()), gid = std::to_string(getegid());
  return unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0 && WriteFile("/proc/self/setgroups", "deny") &&
         WriteFile("/proc/self/uid_map", uid + " " + uid + " 1") &&
         WriteFile("/proc/self/gid_map", gid + " " + gid + " 1");
}

bool Bind(const std::string& from, const std::string& to) {
  return mount(from.c_str(), to.c_str(), nullptr, MS_BIND | MS_REC, nullptr) == 0;
}

int Fail(const char* what) {
  std::fprintf(stderr, "with_private_temporary: %s: %s\n", what, std::strerror(errno));
  return 125;
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  int separator = 2;
  while (separator < argc && std::strcmp(argv[separator], "--") != 0) ++separator;
  if (argc < 3 || separator + 1 >= argc) {
    std::fprintf(stderr, "usage: with_private_temporary FOLDER [KEEP...] -- PROGRAM [ARGUMENT...]\n");
    return 2;
  }
  std::error_code ignored;
  const fs::path folder = fs::absolute(argv[1]);
  // The first names under /tmp of what must stay where it is.
  std::set<std::string> kept;
  std::vector<fs::path> keep = {fs::current_path(), argv[separator + 1]};
  for (int i = 2; i < separator; ++i) keep.emplace_back(argv[i]);
  for (const fs::path& path : keep) {
    const fs::path real = fs::weakly_canonical(fs::absolute(path), ignored);
    auto part = real.begin();
    if (real.has_root_directory() && ++part != real.end() && *part == "tmp" && ++part != real.end()) kept.insert(*part);
  }
  fs::create_directories(folder / "tmp", ignored);
  fs::create_directories(folder / "run-user", ignored);
  fs::permissions(folder / "tmp", fs::perms::all | fs::perms::sticky_bit, ignored);
  if (!EnterOwnNamespace()) return Fail("a namespace of its own");
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return Fail("private mounts");
  if (fs::is_directory("/run/user") && !Bind(folder / "run-user", "/run/user")) return Fail("/run/user");
  // The machine's /tmp as this namespace has it, still reached through this once covered.
  const int machineTmp = open("/tmp", O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (machineTmp < 0) return Fail("/tmp");
  if (!Bind(folder / "tmp", "/tmp")) return Fail("/tmp");
  for (const std::string& name : kept) {
    const std::string from = "/proc/self/fd/" + std::to_string(machineTmp) + "/" + name;
    if (fs::is_directory(from)) {
      fs::create_directory("/tmp/" + name, ignored);
    } else {
      close(open(("/tmp/" + name).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    }
    if (!Bind(from, "/tmp/" + name)) return Fail(name.c_str());
  }
  close(machineTmp);
  // The working folder again through its path: the one inherited is the same folder.
  if (chdir(fs::current_path().c_str()) != 0) return Fail("the working folder");
  execv(argv[separator + 1], argv + separator + 1);
  return Fail(argv[separator + 1]);
}
