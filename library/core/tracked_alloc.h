// The library's allocator: every block is listed with the source file and line that
// asked for it, and whatever is still listed at shut-down is written as the leak report.
#pragma once

#include <cstddef>

void* TrackedAlloc(std::size_t size, const char* file, int line);
void* TrackedCalloc(std::size_t size, const char* file, int line);
void TrackedFree(void* block);

// Writes every live block to the log. Returns the last LogWrite result (-1).
int DumpTrackedBlocks();
// 0 when every block header is intact, -1 after logging the first damaged one.
int CheckTrackedBlocks();

#define TRACKED_ALLOC(size) TrackedAlloc((size), __FILE__, __LINE__)
#define TRACKED_CALLOC(size) TrackedCalloc((size), __FILE__, __LINE__)
