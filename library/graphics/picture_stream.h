// Private to the picture loaders: exact reads and lengths over a DataStream, and
// the limits every loader applies to what a header may ask for.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/streams.h"

// No side of a decoded picture may exceed this, nor its area kMaxPicturePixels.
constexpr int kMaxPictureSide = 16384;
constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 26;

inline bool PictureSizeAllowed(std::int64_t width, std::int64_t height) {
  return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

// Bytes from the stream's position to its end; the position is kept. -1 on failure.
inline std::int64_t StreamRemaining(DataStream* stream) {
  const std::int64_t here = stream->ops->tell(stream->handle);
  if (here < 0 || stream->ops->seek(stream->handle, 0, 2) != 0) return -1;
  const std::int64_t end = stream->ops->tell(stream->handle);
  if (stream->ops->seek(stream->handle, here, 0) != 0) return -1;
  return end >= here ? end - here : -1;
}

inline bool StreamSeekTo(DataStream* stream, std::int64_t offset) {
  return stream->ops->seek(stream->handle, offset, 0) == 0 && stream->ops->tell(stream->handle) == offset;
}

// Reads exactly size bytes; false on a short read.
inline bool StreamReadExact(DataStream* stream, void* buffer, std::size_t size) {
  if (size == 0) return true;
  return stream->ops->read(buffer, 1, size, stream->handle) == size;
}
