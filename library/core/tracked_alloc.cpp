// Placeholder until the tracked allocator lands: plain heap blocks.
#include "core/tracked_alloc.h"

#include <cstdlib>

void* TrackedAlloc(std::size_t size, const char*, int) { return std::malloc(size ? size : 1); }
void* TrackedCalloc(std::size_t size, const char*, int) { return std::calloc(1, size ? size : 1); }
void TrackedFree(void* block) { std::free(block); }
int DumpTrackedBlocks() { return -1; }
int CheckTrackedBlocks() { return 0; }
