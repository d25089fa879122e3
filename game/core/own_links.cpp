#include "core/own_links.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

// As many links as the system itself follows in one name.
constexpr int kLinkHops = 40;

bool MayFollow(const struct stat& link) { return link.st_uid == ::geteuid() || link.st_uid == 0; }

// The folder above `folder`, a path that holds no link, so that its parent is the one
// written in it ("/" has none above).
fs::path Above(const fs::path& folder) {
  if (folder.empty() || folder.filename() == "..") return folder / "..";
  return folder.parent_path();
}

// Puts the elements of `path` before the ones still to walk (the next one is last).
void PutAhead(const fs::path& path, std::vector<fs::path>& ahead) {
  const std::vector<fs::path> elements(path.begin(), path.end());
  ahead.insert(ahead.end(), elements.rbegin(), elements.rend());
}

}  // namespace

LinkWalk FollowOwnLinks(const std::string& name, bool standingOnly) {
  std::vector<fs::path> ahead;
  PutAhead(name, ahead);
  fs::path walked;  // the elements met so far, each link among them replaced by its target
  LinkWalk lastLink;
  int hops = 0;
  while (!ahead.empty()) {
    const fs::path element = std::move(ahead.back());
    ahead.pop_back();
    if (element.empty() || element == ".") continue;
    if (element == "..") {
      walked = Above(walked);
      continue;
    }
    const fs::path next = walked / element;  // an absolute target's "/" replaces what was walked
    struct stat status {};
    const bool stands = ::lstat(next.c_str(), &status) == 0;
    if (!stands || !S_ISLNK(status.st_mode)) {
      walked = next;
      // Nothing stands there, or something no name goes on through (a file): the rest as written.
      if (!stands || !S_ISDIR(status.st_mode)) break;
      continue;
    }
    if (!MayFollow(status)) return {next.string(), hops > 0, true, status.st_uid};
    std::error_code unreadable;
    const fs::path target = fs::read_symlink(next, unreadable);
    if (unreadable) {
      walked = next;
      break;
    }
    if (++hops > kLinkHops) return {name};
    lastLink = {next.string(), hops > 1};
    PutAhead(target, ahead);
  }
  for (auto rest = ahead.rbegin(); rest != ahead.rend(); ++rest) walked /= *rest;
  struct stat status {};
  if (standingOnly && hops > 0 && ::lstat(walked.c_str(), &status) != 0) return lastLink;
  return {walked.string(), hops > 0};
}
