#include "core/tracked_alloc.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/log.h"
#include "core/text_format.h"

namespace {

// The header before every block. The guard is a copy of everything before it, so a
// write over the name, the numbers or the links shows.
struct TrackedBlockHeader {
  char file[16];
  std::uint16_t serial;
  std::uint16_t line;
  std::uint32_t size;
  TrackedBlockHeader* older;
  TrackedBlockHeader* newer;
  unsigned char guard[40];
  unsigned char padding[16];  // keeps the data 16-byte aligned
};
static_assert(sizeof(TrackedBlockHeader) == 96);
static_assert(offsetof(TrackedBlockHeader, guard) == 40);
static_assert(offsetof(TrackedBlockHeader, padding) == 80);

constexpr std::size_t kHeaderSize = sizeof(TrackedBlockHeader);
constexpr std::size_t kGuardedBytes = offsetof(TrackedBlockHeader, guard);
constexpr std::size_t kLargestSize = UINT32_MAX - kHeaderSize;
constexpr std::size_t kFileNameKept = sizeof(TrackedBlockHeader::file) - 1;
constexpr std::uint32_t kBytesShown = 16;

struct TrackedList {
  TrackedBlockHeader end;        // stands after the oldest block
  TrackedBlockHeader* newest;    // the end record while the list is empty
  std::uint32_t totalBytes;
  std::uint32_t count;
  std::uint16_t serialCounter;
  int logSize;
  int logAll;
  int logTotals;
  int checkEveryCall;
};

TrackedList list = {{}, &list.end, 0, 0, 0, 0, 0, 0, 0};

void RefreshGuard(TrackedBlockHeader* header) {
  if (header != nullptr) std::memcpy(header->guard, header, kGuardedBytes);
}

bool GuardIntact(const TrackedBlockHeader* header) {
  return std::memcmp(header->guard, header, kGuardedBytes) == 0;
}

unsigned char* DataOf(TrackedBlockHeader* header) { return reinterpret_cast<unsigned char*>(header + 1); }

void StoreFileName(TrackedBlockHeader* header, const char* file) {
  std::memset(header->file, 0, sizeof header->file);
  if (file == nullptr) return;
  const std::size_t length = std::strlen(file);
  const char* kept = length > kFileNameKept ? file + (length - kFileNameKept) : file;
  std::memcpy(header->file, kept, std::strlen(kept));
}

// "\tsize:..  file:..  line:..  ID:..  data:<ab.cd> [61 62 0a 63 64]\n"
void LogBlockLine(TrackedBlockHeader* header, std::uint32_t bytesReadable) {
  const std::uint32_t shown = bytesReadable < kBytesShown ? bytesReadable : kBytesShown;
  const unsigned char* data = DataOf(header);
  char line[256];
  char name[sizeof header->file];
  std::memcpy(name, header->file, sizeof name);
  name[sizeof name - 1] = '\0';
  FormatString(line, sizeof line, "\tsize:%u(%.3fkb)  file:%s  line:%u  ID:%u  data:<", header->size,
               header->size / 1024.0, name, static_cast<unsigned>(header->line),
               static_cast<unsigned>(header->serial));
  std::size_t used = std::strlen(line);
  for (std::uint32_t i = 0; i < shown; ++i) line[used++] = (data[i] < 0x20 || data[i] >= 0x80) ? '.' : data[i];
  line[used++] = '>';
  line[used++] = ' ';
  line[used++] = '[';
  for (std::uint32_t i = 0; i < shown; ++i) {
    FormatString(line + used, sizeof line - used, i + 1 < shown ? "%02x " : "%02x", data[i]);
    used += std::strlen(line + used);
  }
  line[used++] = ']';
  line[used++] = '\n';
  line[used] = '\0';
  LogWrite(line);
}

void LogTotals() {
  LogPrintf("\tTotal size:%u(%.3fkb)  Alloc num:%u", list.totalBytes, list.totalBytes / 1024.0, list.count);
}

void LogIfWatched(const char* what, TrackedBlockHeader* header) {
  if (list.logSize < 0 || static_cast<std::uint32_t>(list.logSize) == header->size || list.logAll == 1) {
    LogWrite(what);
    LogBlockLine(header, header->size);
  }
  if (list.logTotals == 1) LogTotals();
}

}  // namespace

void* TrackedAlloc(std::size_t size, const char* file, int line) {
  void* memory = size <= kLargestSize ? std::malloc(size + kHeaderSize) : nullptr;
  if (memory == nullptr) {
    DumpTrackedBlocks();
    return nullptr;
  }
  TrackedBlockHeader* header = static_cast<TrackedBlockHeader*>(memory);
  std::memset(header, 0, kHeaderSize);
  header->size = static_cast<std::uint32_t>(size);
  StoreFileName(header, file);
  header->line = static_cast<std::uint16_t>(line);
  header->serial = list.serialCounter++;

  TrackedBlockHeader* previous = list.newest;
  previous->newer = header;
  header->older = previous;
  header->newer = nullptr;
  list.newest = header;
  RefreshGuard(header);
  RefreshGuard(previous);

  list.totalBytes += header->size;
  list.count += 1;
  LogIfWatched("mem alloc  ", header);
  if (list.checkEveryCall == 1) CheckTrackedBlocks();
  return DataOf(header);
}

void* TrackedCalloc(std::size_t size, const char* file, int line) {
  void* block = TrackedAlloc(size, file, line);
  if (block != nullptr) std::memset(block, 0, size);
  return block;
}

void TrackedFree(void* block) {
  if (block == nullptr) return;
  TrackedBlockHeader* header = static_cast<TrackedBlockHeader*>(block) - 1;
  list.totalBytes -= header->size;
  list.count -= 1;
  if (list.checkEveryCall == 1) CheckTrackedBlocks();

  TrackedBlockHeader* older = header->older;
  TrackedBlockHeader* newer = header->newer;
  older->newer = newer;
  if (newer != nullptr) newer->older = older;
  if (list.newest == header) list.newest = older;
  RefreshGuard(newer);
  RefreshGuard(older);

  LogIfWatched("mem free  ", header);
  std::free(header);
}

int DumpTrackedBlocks() {
  LogWrite("\n");
  LogWrite("Alloc memory dump\n");
  for (TrackedBlockHeader* header = list.newest; header != &list.end; header = header->older) {
    LogBlockLine(header, header->size);
  }
  LogTotals();
  return LogWrite("\n");
}

int CheckTrackedBlocks() {
  for (TrackedBlockHeader* header = list.newest; header != &list.end; header = header->older) {
    if (GuardIntact(header)) continue;
    // Read no more data than the intact copy says the block holds.
    TrackedBlockHeader saved;
    std::memcpy(&saved, header->guard, kGuardedBytes);
    const std::uint32_t readable = saved.size < header->size ? saved.size : header->size;
    LogWrite("以下のメモリ確保情報が破損しました\n");
    LogBlockLine(header, readable);
    return -1;
  }
  return 0;
}

void SetTrackedAllocDebug(int logSize, int logAll, int logTotals, int checkEveryCall) {
  list.logSize = logSize;
  list.logAll = logAll;
  list.logTotals = logTotals;
  list.checkEveryCall = checkEveryCall;
}

std::size_t TrackedBytesInUse() { return list.totalBytes; }
std::size_t TrackedBlocksInUse() { return list.count; }
