#include "kernel/path_resolver.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string_view>

#include "kernel/code_page.h"

namespace {

// A Shift-JIS lead byte followed by a trail byte (never the terminator): the two are one
// character.
bool StartsDoubleByteCharacter(const char* text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const auto trail = static_cast<unsigned char>(text[1]);
  const bool isLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
  const bool isTrail = (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC);
  return isLead && isTrail;
}

// The UTF-8 spelling of a Shift-JIS element; empty for plain ASCII and for bytes that
// are no Shift-JIS text (those are matched only as given).
std::string Utf8Spelling(std::string_view element) {
  bool ascii = true;
  for (char c : element) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return {};
  const std::string given(element);
  std::string utf8 = Cp932ToUtf8(given.c_str());
  return Utf8ToCp932(utf8.c_str()) == given ? utf8 : std::string();
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool Exists(int base, const std::string& path) {
  struct stat info;
  return ::fstatat(base, path.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

DIR* OpenDirectory(int base, const std::string& folder) {
  const int descriptor = ::openat(base, folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* directory = descriptor >= 0 ? ::fdopendir(descriptor) : nullptr;
  if (directory == nullptr && descriptor >= 0) ::close(descriptor);
  return directory;
}

// The name in `folder` (of `base`) that stands for `element`, or the element itself.
std::string MatchElement(int base, const std::string& folder, std::string_view element, LastElement match) {
  if (Exists(base, folder + std::string(element))) return std::string(element);
  const std::string utf8 = Utf8Spelling(element);
  if (!utf8.empty() && Exists(base, folder + utf8)) return utf8;
  const std::string_view spelt = utf8.empty() ? element : std::string_view(utf8);
  if (match == LastElement::kExactName) return std::string(spelt);

  DIR* directory = OpenDirectory(base, folder);
  if (directory == nullptr) return std::string(spelt);
  std::string best;
  while (const dirent* entry = ::readdir(directory)) {
    std::string_view name(entry->d_name);
    if (!EqualIgnoringAsciiCase(name, element) && !EqualIgnoringAsciiCase(name, spelt)) continue;
    if (best.empty() || name < std::string_view(best)) best.assign(name);
  }
  ::closedir(directory);
  return best.empty() ? std::string(spelt) : best;
}

}  // namespace

std::string ResolvePath(const char* path, LastElement last, int base) {
  std::string resolved;
  if (path == nullptr) return resolved;
  const std::size_t length = std::strlen(path);
  const bool systemForm = IsSystemFormPath(path);
  std::size_t position = 0;
  if (length > 0 && IsPathSeparator(path[0], systemForm)) {
    resolved = "/";
    position = 1;
  }
  while (position < length) {
    std::size_t end = position;
    while (end < length && !IsPathSeparator(path[end], systemForm)) {
      end += StartsDoubleByteCharacter(path + end) ? 2 : 1;
    }
    const std::string_view element(path + position, end - position);
    if (!element.empty()) {
      if (element == "." || element == "..") {
        resolved.append(element);
      } else {
        resolved += MatchElement(base, resolved, element, end >= length ? last : LastElement::kAnyCase);
      }
      if (end < length) resolved += '/';
    }
    position = end + 1;
  }
  return resolved;
}
