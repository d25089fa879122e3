// Path canonicalisation for the file layer. Walks are Shift-JIS aware: the second byte
// of a two-byte character is never a separator.
#include "core/file_paths.h"

#include "core/sjis.h"
#include "kernel/files.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Length of the element at p: up to a separator or the terminator.
std::size_t ElementLength(const char* p) {
  std::size_t n = 0;
  while (p[n] != '\0' && !IsSeparator(p[n])) {
    n += IsSjisLeadByte(static_cast<unsigned char>(p[n])) && p[n + 1] != '\0' ? 2 : 1;
  }
  return n;
}

class PathBuilder {
 public:
  PathBuilder(char* out, std::size_t size, bool upper) : out_(out), size_(size), upper_(upper) {}

  bool Append(const char* text, std::size_t n) {
    if (n >= size_ - length_) return false;
    for (std::size_t i = 0; i < n; ++i) {
      char c = text[i];
      if (IsSjisLeadByte(static_cast<unsigned char>(c)) && i + 1 < n) {
        out_[length_++] = c;
        c = text[++i];
      } else if (upper_ && c >= 'a' && c <= 'z') {
        c = static_cast<char>(c - 'a' + 'A');
      }
      out_[length_++] = c;
    }
    out_[length_] = '\0';
    return true;
  }

  // ".." : back to the previous separator, or to just behind a drive colon.
  void RemoveLastElement() {
    std::size_t cut = 0;
    for (std::size_t i = 0; i < length_; ++i) {
      if (IsSeparator(out_[i])) cut = i;
      if (out_[i] == ':') cut = i + 1;
      if (IsSjisLeadByte(static_cast<unsigned char>(out_[i]))) ++i;
    }
    length_ = cut;
    out_[length_] = '\0';
  }

  std::size_t length() const { return length_; }

 private:
  char* out_;
  std::size_t size_;
  bool upper_;
  std::size_t length_ = 0;
};

bool HasDrive(const char* path) {
  return path[0] != '\0' && !IsSjisLeadByte(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

// The base less one trailing separator.
std::size_t BaseLength(const char* base) {
  std::size_t n = 0;
  std::size_t lastCharacter = 0;
  while (base[n] != '\0') {
    lastCharacter = n;
    n += IsSjisLeadByte(static_cast<unsigned char>(base[n])) && base[n + 1] != '\0' ? 2 : 1;
  }
  return n > 0 && IsSeparator(base[lastCharacter]) ? lastCharacter : n;
}

// The current directory into a buffer of kFilePathMax bytes.
int GetCurrentDirectoryPath(char* current) {
  const DWORD length = GetCurrentDirectoryA(kFilePathMax, current);
  return length == 0 || length >= kFilePathMax ? -1 : 0;
}

}  // namespace

int BuildFullPath(const char* path, const char* base, bool upper, char* out, std::size_t outSize) {
  if (out == nullptr || outSize == 0 || base == nullptr) return -1;
  out[0] = '\0';
  PathBuilder builder(out, outSize, upper);
  const char* p = path != nullptr ? path : "";
  bool ok;
  if (IsSeparator(p[0])) {
    // The root of the base's drive; a base without a drive has the bare root.
    ok = builder.Append(base, HasDrive(base) ? 2 : 0);
    p += 1;
  } else if (HasDrive(p)) {
    ok = builder.Append(p, 2);
    p += IsSeparator(p[2]) ? 3 : 2;
  } else {
    ok = builder.Append(base, BaseLength(base));
  }
  while (ok && *p != '\0') {
    const std::size_t n = ElementLength(p);
    if (n == 0) return -1;  // two separators in a row
    if (n == 2 && p[0] == '.' && p[1] == '.') {
      builder.RemoveLastElement();
    } else if (n != 1 || p[0] != '.') {
      ok = builder.Append("\\", 1) && builder.Append(p, n);
    }
    p += n;
    if (IsSeparator(*p)) ++p;
  }
  if (ok && builder.length() == 0) ok = builder.Append("\\", 1);
  return ok ? 0 : -1;
}

int MakeFullPath(const char* path, char* out, std::size_t outSize, const char* base) {
  if (base != nullptr) return BuildFullPath(path, base, false, out, outSize);
  char current[kFilePathMax];
  return GetCurrentDirectoryPath(current) == 0 ? BuildFullPath(path, current, false, out, outSize) : -1;
}

int MakeUpperFullPath(const char* path, char* out, std::size_t outSize) {
  char current[kFilePathMax];
  return GetCurrentDirectoryPath(current) == 0 ? BuildFullPath(path, current, true, out, outSize) : -1;
}

bool IsSamePathIgnoringCase(const char* a, const char* b) {
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (std::size_t i = 0;; ++i) {
    if (IsSjisLeadByte(static_cast<unsigned char>(a[i])) && a[i + 1] != '\0') {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (upper(a[i]) != upper(b[i])) return false;
    if (a[i] == '\0') return true;
  }
}
