// The temporary copy of a movie file that the multimedia stream cannot open by name.
#pragma once

#include <cstddef>

// Copies the file (read through the file layer, so archives are reached) into a new
// temporary file whose full path goes to `path`. 0, or -1 with nothing left on disk
// (a copy that comes out short fails too).
int CopyMovieToTempFile(const char* file, char* path, std::size_t pathSize);
