// The one path resolver of the kernel stand-in. Every file call (open, create,
// delete, change directory) goes through it:
// - "\" and "/" are both separators; a leading separator is the root.
// - Each element is matched against the folder it lies in: an exact match first,
//   then the first entry (in byte order) that matches ignoring ASCII case.
// - An element that matches nothing keeps its given spelling, so a new file is
//   created under the name the caller gave, inside folders found as above.
#pragma once

#include <string>

std::string ResolvePath(const char* path);
