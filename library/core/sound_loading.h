// Loading sounds: a whole file image decoded once into the buffers of a new sound.
#pragma once

#include <cstdint>

// LoadSoundFileBody for library-internal callers.
int LoadSoundFileForward(const char* file, int bufferCount, int ignored);

// The whole load once the file is in memory: a sound handle, or -1 (everything taken
// is given back). At most 10 buffers.
int CreateSoundFromMemory(const void* data, std::uint32_t size, int bufferCount, int ignored);
