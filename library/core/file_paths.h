// Absolute paths in the library's form: "X:\dir\file" or "\dir\file" for the root,
// elements joined by "\"; or, built on a folder the system gave ("/home/x" from the
// current directory), in the system's form "/home/x/dir/file", elements joined by "/" and
// the system's own bytes kept (a "\" in them is part of a name). "." and ".." are
// resolved. The archive layer uses the upper-cased form as the key of an archive and of
// the folder prefix it covers.
#pragma once

#include <cstddef>

// Room for any path the library handles; a longer result fails the operation.
constexpr std::size_t kFilePathMax = 4096;

// The absolute form of `path` against `base` (a null path gives the base), letters
// a-z upper-cased when `upper` is set. -1 for an empty element ("a\\b") or when the
// result does not fit in outSize bytes.
int BuildFullPath(const char* path, const char* base, bool upper, char* out, std::size_t outSize);

// Against `base`, or the current directory when base is null.
int MakeFullPath(const char* path, char* out, std::size_t outSize, const char* base);
// The archive layer's form: against the current directory, upper-cased.
int MakeUpperFullPath(const char* path, char* out, std::size_t outSize);

// Bytes of the element at p: up to a separator of the path's form (see
// IsSystemFormPath) or the terminator.
std::size_t PathElementLength(const char* p, bool systemForm);

// True when the two paths differ at most in the case of letters a-z outside two-byte characters.
bool IsSamePathIgnoringCase(const char* a, const char* b);
