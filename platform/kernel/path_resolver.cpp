#include "kernel/path_resolver.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <string_view>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool Exists(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0;
}

// The name in `folder` that stands for `element`, or the element itself.
std::string MatchElement(const std::string& folder, std::string_view element) {
  std::string exact = folder;
  exact.append(element);
  if (Exists(exact)) return std::string(element);

  DIR* directory = ::opendir(folder.empty() ? "." : folder.c_str());
  if (directory == nullptr) return std::string(element);
  std::string best;
  while (const dirent* entry = ::readdir(directory)) {
    std::string_view name(entry->d_name);
    if (!EqualIgnoringAsciiCase(name, element)) continue;
    if (best.empty() || name < std::string_view(best)) best.assign(name);
  }
  ::closedir(directory);
  return best.empty() ? std::string(element) : best;
}

}  // namespace

std::string ResolvePath(const char* path) {
  std::string resolved;
  if (path == nullptr) return resolved;
  const std::size_t length = std::strlen(path);
  std::size_t position = 0;
  if (length > 0 && IsSeparator(path[0])) {
    resolved = "/";
    position = 1;
  }
  while (position < length) {
    std::size_t end = position;
    while (end < length && !IsSeparator(path[end])) ++end;
    const std::string_view element(path + position, end - position);
    if (!element.empty()) {
      if (element == "." || element == "..") {
        resolved.append(element);
      } else {
        resolved += MatchElement(resolved, element);
      }
      if (end < length) resolved += '/';
    }
    position = end + 1;
  }
  return resolved;
}
