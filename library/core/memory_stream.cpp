// Streams over a memory block.
#include "core/streams.h"

#include <cstring>

#include "core/file_layer.h"
#include "core/tracked_alloc.h"

namespace {

MemoryStream* AsMemoryStream(StreamHandle handle) { return reinterpret_cast<MemoryStream*>(handle); }

const StreamOps kMemoryStreamOps = {
    MemoryStreamTell, MemoryStreamSeek, MemoryStreamRead, MemoryStreamEof, ArchiveStreamIdleCheck, MemoryStreamClose,
};

}  // namespace

MemoryStream* MemoryStreamOpen(const void* data, std::size_t size) {
  MemoryStream* stream = static_cast<MemoryStream*>(TRACKED_ALLOC(sizeof(MemoryStream)));
  if (stream == nullptr) return nullptr;
  stream->data = static_cast<const std::uint8_t*>(data);
  stream->size = size;
  stream->position = 0;
  stream->eof = 0;
  return stream;
}

int MemoryStreamClose(StreamHandle stream) {
  TrackedFree(AsMemoryStream(stream));
  return 0;
}

std::int64_t MemoryStreamTell(StreamHandle stream) {
  return static_cast<std::int64_t>(AsMemoryStream(stream)->position);
}

int MemoryStreamSeek(StreamHandle handle, std::int64_t offset, int origin) {
  MemoryStream* stream = AsMemoryStream(handle);
  const std::int64_t size = static_cast<std::int64_t>(stream->size);
  std::int64_t target = offset;
  if (origin == 1) target = static_cast<std::int64_t>(stream->position) + offset;
  if (origin == 2) target = size + offset;
  if (target < 0) target = 0;
  if (target > size) target = size;
  stream->position = static_cast<std::size_t>(target);
  stream->eof = 0;
  return 0;
}

std::size_t MemoryStreamRead(void* buffer, std::size_t size, std::size_t count, StreamHandle handle) {
  MemoryStream* stream = AsMemoryStream(handle);
  if (size == 0 || count == 0) return 0;
  if (stream->position >= stream->size) {
    stream->eof = 1;
    return 0;
  }
  const std::size_t rest = stream->size - stream->position;
  std::size_t elements = count;
  std::size_t bytes;
  if (count <= rest / size) {
    bytes = size * count;
  } else {
    // Whole elements when any fit; otherwise the remaining bytes count as one.
    elements = rest / size;
    bytes = elements > 0 ? elements * size : rest;
    if (elements == 0) elements = 1;
  }
  std::memcpy(buffer, stream->data + stream->position, bytes);
  stream->position += bytes;
  stream->eof = 0;
  return elements;
}

int MemoryStreamEof(StreamHandle stream) { return AsMemoryStream(stream)->eof; }

const StreamOps* GetMemoryStreamOps() { return &kMemoryStreamOps; }
