// The library's allocator: every block is listed with the source file and line that
// asked for it, and whatever is still listed at shut-down is written as the leak report.
// Called under the library lock only; the list has no lock of its own.
#pragma once

#include <cstddef>

// `size` bytes (not zeroed), or null. Sizes that do not fit the block header's 32-bit
// size field are refused. On failure the live blocks are written to the log.
void* TrackedAlloc(std::size_t size, const char* file, int line);
void* TrackedCalloc(std::size_t size, const char* file, int line);
// Null is ignored.
void TrackedFree(void* block);

// Writes every live block to the log. Returns the last LogWrite result (-1).
int DumpTrackedBlocks();
// 0 when every block header is intact, -1 after logging the first damaged one.
int CheckTrackedBlocks();

// Debug settings, all 0 by default; nothing in the system sets them.
// logSize: a block of exactly this size is logged at allocation and release
// (negative: every block); logAll: every block; logTotals: the totals after every
// allocation and release; checkEveryCall: CheckTrackedBlocks on every call.
void SetTrackedAllocDebug(int logSize, int logAll, int logTotals, int checkEveryCall);

// Live bytes and live blocks.
std::size_t TrackedBytesInUse();
std::size_t TrackedBlocksInUse();

#define TRACKED_ALLOC(size) TrackedAlloc((size), __FILE__, __LINE__)
#define TRACKED_CALLOC(size) TrackedCalloc((size), __FILE__, __LINE__)
