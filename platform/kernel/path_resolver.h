// The one path resolver of the kernel stand-in. Every file call (open, create,
// delete, change directory) goes through it:
// - A path in the system's own form (see IsSystemFormPath) is separated by "/" alone;
//   in any other path "\" and "/" are both separators. A leading separator is the root.
//   Paths are Shift-JIS: the second byte of a double-byte character ("表" is 0x95 0x5C)
//   is never a separator.
// - Each element is matched against the folder it lies in: an exact match first,
//   then its UTF-8 spelling (names on disk are UTF-8), then the first entry (in byte
//   order) that matches either ignoring ASCII case.
// - An element that matches nothing keeps its given spelling (in UTF-8 when it is
//   Japanese), so a new file is created under the name the caller gave, inside
//   folders found as above.
// - What is written, created or deleted is the file of its exact name: `log.txt` and
//   `Log.txt` are two files here. The folders on the way are still found as above.
#pragma once

#include <fcntl.h>

#include <string>

// A path that starts with "/" is in the system's own form: the working folder, the
// temporary folder, or a path built on one of them. Only "/" separates its elements; a
// "\" is a byte of a name, as the system made it. Any other path is one of the program's
// own Windows-like names, in which "\" separates too.
inline bool IsSystemFormPath(const char* path) { return path != nullptr && path[0] == '/'; }
inline bool IsPathSeparator(char c, bool systemForm) { return c == '/' || (c == '\\' && !systemForm); }

enum class LastElement {
  kAnyCase,    // a file to read: found whatever its letter case
  kExactName,  // a file to write, create or delete: only its own name (or its UTF-8 spelling)
};

// A relative path is resolved in the folder `base` (a descriptor of it; AT_FDCWD: the
// current directory) and stays relative to it.
std::string ResolvePath(const char* path, LastElement last = LastElement::kAnyCase, int base = AT_FDCWD);
