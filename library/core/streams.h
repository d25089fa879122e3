// Streams: what every sound and picture decoder reads through. A DataStream is a set
// of six operations and the handle they work on; one set reads files through the
// file layer, one reads a memory block.
#pragma once

#include <cstddef>
#include <cstdint>

// A file-layer handle or a memory-stream pointer, whichever the operations expect.
typedef std::uintptr_t StreamHandle;

struct StreamOps {
  std::int64_t (*tell)(StreamHandle handle);
  int (*seek)(StreamHandle handle, std::int64_t offset, int origin);  // 0 start, 1 current, 2 end
  std::size_t (*read)(void* buffer, std::size_t size, std::size_t count, StreamHandle handle);
  int (*eof)(StreamHandle handle);        // non-zero at the end: -1 for files, the eof flag for memory
  int (*idleCheck)(StreamHandle handle);  // 1 when no asynchronous request is pending
  int (*close)(StreamHandle handle);
};

struct DataStream {
  const StreamOps* ops;
  StreamHandle handle;
};

// The file set reads through the installed file-function table (core/file_layer.h).
const StreamOps* GetFileStreamOps();

// A memory stream reads a block that stays the caller's; closing frees only the record.
struct MemoryStream {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
  int eof;
};

MemoryStream* MemoryStreamOpen(const void* data, std::size_t size);
int MemoryStreamClose(StreamHandle stream);
std::int64_t MemoryStreamTell(StreamHandle stream);
int MemoryStreamSeek(StreamHandle stream, std::int64_t offset, int origin);
std::size_t MemoryStreamRead(void* buffer, std::size_t size, std::size_t count, StreamHandle stream);
int MemoryStreamEof(StreamHandle stream);  // the stream's eof flag (1 after reading at the end)

const StreamOps* GetMemoryStreamOps();
