// Opening, reading, whole decoding and closing of sound sources.
#include <algorithm>
#include <cstring>

#include "core/sound_source_kinds.h"
#include "core/tracked_alloc.h"

namespace {

const SourceKindOps* OpsOf(const SoundSource* source) {
  switch (source->kind) {
    case kSourceWavPcm:
      return &kWavPcmSourceOps;
    case kSourceAcm:
      return &kAcmSourceOps;
    default:
      return &kOggSourceOps;
  }
}

int (*const kOpeners[])(SoundSource*) = {OpenWavSource, OpenOggSource, OpenMp3Source};

}  // namespace

bool ReadExact(SoundSource* source, void* buffer, std::uint32_t bytes) {
  return ReadUpTo(source, buffer, bytes) == bytes;
}

std::uint32_t ReadUpTo(SoundSource* source, void* buffer, std::uint32_t bytes) {
  if (bytes == 0) return 0;
  return static_cast<std::uint32_t>(source->stream.ops->read(buffer, 1, bytes, source->stream.handle));
}

std::int64_t StreamTell(SoundSource* source) { return source->stream.ops->tell(source->stream.handle); }

void StreamSeek(SoundSource* source, std::int64_t position) {
  source->stream.ops->seek(source->stream.handle, position, 0);
}

std::int64_t StreamSize(SoundSource* source) {
  const std::int64_t position = StreamTell(source);
  source->stream.ops->seek(source->stream.handle, 0, 2);
  const std::int64_t size = StreamTell(source);
  StreamSeek(source, position);
  return size;
}

std::uint32_t DecodeChunkSize(const WAVEFORMATEX& format) {
  const std::uint32_t least = std::max<std::uint32_t>(format.nBlockAlign, kMinDecodeChunk);
  return std::clamp<std::uint32_t>(format.nAvgBytesPerSec, least, std::max(least, kMaxDecodeChunk));
}

int OpenSoundSource(const DataStream* stream, SoundSource* source) {
  std::memset(source, 0, sizeof *source);
  source->stream = *stream;
  bool recognised = false;
  for (int (*opener)(SoundSource*) : kOpeners) {
    StreamSeek(source, 0);
    if (opener(source) == 0) {
      recognised = true;
      break;
    }
  }
  if (!recognised) return -1;
  source->buffer = nullptr;
  source->bufferHeld = 0;
  source->bufferOffset = 0;
  source->endReached = 0;
  source->pcmPosition = 0;
  source->open = 1;
  return 0;
}

int ReadSourcePcm(SoundSource* source, void* destination, int bytes) {
  if (!source->open) return -1;
  if (source->endReached) return 0;
  if (source->buffer == nullptr) {
    source->buffer = static_cast<BYTE*>(TRACKED_ALLOC(source->bufferCapacity));
    if (source->buffer == nullptr) return -1;
  }
  BYTE* out = static_cast<BYTE*>(destination);
  int delivered = 0;
  while (delivered < bytes) {
    if (source->bufferOffset == source->bufferHeld) {
      const std::uint32_t held = OpsOf(source)->decode(source, source->buffer, source->bufferCapacity);
      source->bufferOffset = 0;
      source->bufferHeld = held;
      if (held == 0) {
        source->endReached = 1;
        break;
      }
    }
    const std::uint32_t count =
        std::min<std::uint32_t>(static_cast<std::uint32_t>(bytes - delivered), source->bufferHeld - source->bufferOffset);
    std::memcpy(out + delivered, source->buffer + source->bufferOffset, count);
    source->bufferOffset += count;
    source->pcmPosition += count;
    delivered += static_cast<int>(count);
  }
  return delivered;
}

int WholeSourceBytes(SoundSource* source, std::uint64_t* bytes) {
  std::uint64_t size = 0;
  if (!source->open || OpsOf(source)->wholeSize(source, &size) != 0 || size > kMaxWholePcmBytes) return -1;
  *bytes = size;
  return 0;
}

int DecodeWholeSource(SoundSource* source, WAVEFORMATEX* format, void** pcm, std::uint32_t* bytes) {
  const SourceKindOps* ops = OpsOf(source);
  std::uint64_t size = 0;
  if (WholeSourceBytes(source, &size) != 0) return -1;
  BYTE* block = static_cast<BYTE*>(TRACKED_ALLOC(static_cast<std::size_t>(std::max<std::uint64_t>(size, 1))));
  if (block == nullptr) return -1;
  source->bufferHeld = 0;
  source->bufferOffset = 0;
  source->endReached = 0;
  source->pcmPosition = 0;
  std::uint64_t delivered = 0;
  if (ops->rewind(source) == 0) {
    // In the pieces a read decodes, so the PCM is the same.
    while (delivered < size) {
      const std::uint64_t piece = std::min<std::uint64_t>(size - delivered, source->bufferCapacity);
      const std::uint32_t got = ops->decode(source, block + delivered, static_cast<std::uint32_t>(piece));
      if (got == 0) break;
      delivered += got;
    }
  }
  source->pcmPosition = static_cast<std::uint32_t>(delivered);
  *format = source->format;
  *pcm = block;
  *bytes = static_cast<std::uint32_t>(delivered);
  return 0;
}

int CloseSoundSource(SoundSource* source) {
  if (!source->open) return -1;
  TrackedFree(source->buffer);
  source->buffer = nullptr;
  OpsOf(source)->release(source);
  source->open = 0;
  return 0;
}
