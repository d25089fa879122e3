// Path canonicalisation for the file layer. Walks are Shift-JIS aware: the second byte
// of a two-byte character is never a separator.
#include "core/file_paths.h"

#include "core/sjis.h"
#include "kernel/files.h"
#include "kernel/path_resolver.h"

namespace {

// Bytes in the character at p. "/" is no second byte of a two-byte character, so a lead
// byte before it (a name on disk in another encoding) stands alone.
std::size_t CharacterWidth(const char* p) {
  return IsSjisLeadByte(static_cast<unsigned char>(p[0])) && p[1] != '\0' && p[1] != '/' ? 2 : 1;
}

class PathBuilder {
 public:
  PathBuilder(char* out, std::size_t size, bool upper, bool systemForm)
      : out_(out), size_(size), upper_(upper), systemForm_(systemForm) {}

  bool Append(const char* text, std::size_t n) {
    if (n >= size_ - length_) return false;
    for (std::size_t i = 0; i < n; ++i) {
      char c = text[i];
      if (CharacterWidth(text + i) == 2 && i + 1 < n) {
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

  bool AppendSeparator() { return Append(systemForm_ ? "/" : "\\", 1); }

  // ".." : back to the previous separator, or, in the Windows-like form, to just behind
  // a drive colon.
  void RemoveLastElement() {
    std::size_t cut = 0;
    for (std::size_t i = 0; i < length_; i += CharacterWidth(out_ + i)) {
      if (IsPathSeparator(out_[i], systemForm_)) cut = i;
      if (out_[i] == ':' && !systemForm_) cut = i + 1;
    }
    length_ = cut;
    out_[length_] = '\0';
  }

  std::size_t length() const { return length_; }

 private:
  char* out_;
  std::size_t size_;
  bool upper_;
  bool systemForm_;
  std::size_t length_ = 0;
};

bool HasDrive(const char* path) {
  return path[0] != '\0' && !IsSjisLeadByte(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

// The base less one trailing separator.
std::size_t BaseLength(const char* base) {
  const bool systemForm = IsSystemFormPath(base);
  std::size_t n = 0;
  std::size_t lastCharacter = 0;
  while (base[n] != '\0') {
    lastCharacter = n;
    n += CharacterWidth(base + n);
  }
  return n > 0 && IsPathSeparator(base[lastCharacter], systemForm) ? lastCharacter : n;
}

// The current directory into a buffer of kFilePathMax bytes.
int GetCurrentDirectoryPath(char* current) {
  const DWORD length = GetCurrentDirectoryA(kFilePathMax, current);
  return length == 0 || length >= kFilePathMax ? -1 : 0;
}

}  // namespace

std::size_t PathElementLength(const char* p, bool systemForm) {
  std::size_t n = 0;
  while (p[n] != '\0' && !IsPathSeparator(p[n], systemForm)) n += CharacterWidth(p + n);
  return n;
}

int BuildFullPath(const char* path, const char* base, bool upper, char* out, std::size_t outSize) {
  if (out == nullptr || outSize == 0 || base == nullptr) return -1;
  out[0] = '\0';
  const char* p = path != nullptr ? path : "";
  // A path of the system's form stays one; a relative name takes the base's form, so
  // that a base the system gave keeps every byte of its own.
  const bool pathSystemForm = IsSystemFormPath(p);
  const bool rooted = IsPathSeparator(p[0], false);
  const bool systemForm = pathSystemForm || (!rooted && !HasDrive(p) && IsSystemFormPath(base));
  PathBuilder builder(out, outSize, upper, systemForm);
  bool ok;
  if (rooted) {
    // The root of the base's drive; a base without a drive has the bare root.
    ok = builder.Append(base, !pathSystemForm && HasDrive(base) ? 2 : 0);
    p += 1;
  } else if (HasDrive(p)) {
    ok = builder.Append(p, 2);
    p += IsPathSeparator(p[2], false) ? 3 : 2;
  } else {
    ok = builder.Append(base, BaseLength(base));
  }
  while (ok && *p != '\0') {
    const std::size_t n = PathElementLength(p, pathSystemForm);
    if (n == 0) return -1;  // two separators in a row
    if (n == 2 && p[0] == '.' && p[1] == '.') {
      builder.RemoveLastElement();
    } else if (n != 1 || p[0] != '.') {
      ok = builder.AppendSeparator() && builder.Append(p, n);
    }
    p += n;
    if (IsPathSeparator(*p, pathSystemForm)) ++p;
  }
  if (ok && builder.length() == 0) ok = builder.AppendSeparator();
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
