// RIFF WAV sources: PCM data read as it is, any other format through the compression
// manager.
#include <algorithm>
#include <cstring>

#include "core/sound_source_kinds.h"
#include "core/tracked_alloc.h"

namespace {

constexpr std::uint32_t kMinFmtSize = 16;
constexpr int kMaxChannels = 8;

// The fmt chunk (a tracked block of at least 18 bytes, zero past the chunk) and its
// fields.
struct WavLayout {
  BYTE* fmt;
  WAVEFORMATEX format;
};

WAVEFORMATEX ParseFormat(const BYTE* fmt) {
  WAVEFORMATEX f{};
  f.wFormatTag = LoadLe16u(fmt);
  f.nChannels = LoadLe16u(fmt + 2);
  f.nSamplesPerSec = LoadLe32(fmt + 4);
  f.nAvgBytesPerSec = LoadLe32(fmt + 8);
  f.nBlockAlign = LoadLe16u(fmt + 12);
  f.wBitsPerSample = LoadLe16u(fmt + 14);
  f.cbSize = LoadLe16u(fmt + 16);
  return f;
}

bool ChunkIdIs(const BYTE* header, const char* id) { return std::memcmp(header, id, 4) == 0; }

// Reads the RIFF and WAVE marks and the fmt chunk, which must come first, and walks
// the chunks to "data". On success the stream stands at the first data byte.
int ReadWavLayout(SoundSource* source, WavLayout* layout) {
  BYTE header[12];
  if (!ReadExact(source, header, 8) || !ChunkIdIs(header, "RIFF")) return -1;
  if (!ReadExact(source, header, 4) || !ChunkIdIs(header, "WAVE")) return -1;
  if (!ReadExact(source, header, 8) || !ChunkIdIs(header, "fmt ")) return -1;
  const std::uint32_t fmtSize = LoadLe32(header + 4);
  const std::int64_t fmtPosition = StreamTell(source);
  if (fmtSize < kMinFmtSize || fmtSize > StreamSize(source) - fmtPosition) return -1;

  BYTE* fmt = static_cast<BYTE*>(TRACKED_CALLOC(std::max<std::uint32_t>(fmtSize, sizeof(WAVEFORMATEX))));
  if (fmt == nullptr) return -1;
  if (!ReadExact(source, fmt, fmtSize)) {
    TrackedFree(fmt);
    return -1;
  }
  layout->format = ParseFormat(fmt);
  const WAVEFORMATEX& f = layout->format;
  if (f.nChannels < 1 || f.nChannels > kMaxChannels || f.nSamplesPerSec == 0 || f.nBlockAlign == 0) {
    TrackedFree(fmt);
    return -1;
  }
  source->fmtPosition = static_cast<std::uint32_t>(fmtPosition);
  source->fmtSize = fmtSize;

  // Every chunk, the fmt chunk included, is padded to an even size.
  std::int64_t next = fmtPosition + fmtSize + (fmtSize & 1);
  for (;;) {
    StreamSeek(source, next);
    if (!ReadExact(source, header, 8)) {
      TrackedFree(fmt);
      return -1;
    }
    const std::uint32_t size = LoadLe32(header + 4);
    if (ChunkIdIs(header, "data")) {
      const std::int64_t start = StreamTell(source);
      source->dataStart = static_cast<std::uint32_t>(start);
      source->dataSize = static_cast<std::uint32_t>(std::min<std::int64_t>(size, StreamSize(source) - start));
      layout->fmt = fmt;
      return 0;
    }
    next = StreamTell(source) + size + (size & 1);
  }
}

// A 16-byte fmt chunk of PCM data leaves the sample size to be worked out.
void RepairPcmBits(const SoundSource* source, WAVEFORMATEX* format) {
  if (format->wFormatTag == WAVE_FORMAT_PCM && source->fmtSize == kMinFmtSize) {
    format->wBitsPerSample = static_cast<WORD>(format->nBlockAlign / format->nChannels * 8);
  }
}

bool PcmBitsSupported(const WAVEFORMATEX& format) { return format.wBitsPerSample == 8 || format.wBitsPerSample == 16; }

std::uint32_t DecodeWavPcm(SoundSource* source, BYTE* out, std::uint32_t capacity) {
  const std::int64_t position = StreamTell(source) - source->dataStart;
  if (position < 0 || position >= source->dataSize) return 0;
  const std::uint32_t want = std::min<std::uint32_t>(capacity, source->dataSize - static_cast<std::uint32_t>(position));
  return ReadUpTo(source, out, want);
}

int WavPcmWholeSize(SoundSource* source, std::uint64_t* bytes) {
  *bytes = source->dataSize;
  return 0;
}

int RewindWavPcm(SoundSource* source) {
  StreamSeek(source, source->dataStart);
  return 0;
}

void ReleaseNothing(SoundSource*) {}

int StartWavPcm(SoundSource* source, WAVEFORMATEX format) {
  format.cbSize = 0;
  // A file cut inside a sample frame keeps only its whole frames.
  const std::uint32_t frameBytes = format.nChannels * format.wBitsPerSample / 8u;
  source->dataSize -= source->dataSize % frameBytes;
  source->format = format;
  source->bufferCapacity = DecodeChunkSize(format);
  source->kind = kSourceWavPcm;
  return 0;
}

// Takes over `fmt`, the chunk's tracked block.
int StartWavAcm(SoundSource* source, BYTE* fmt, WAVEFORMATEX format) {
  // The converter reads cbSize bytes of format data after the head: never more than
  // the chunk holds.
  const std::uint32_t available = source->fmtSize > sizeof(WAVEFORMATEX) ? source->fmtSize - sizeof(WAVEFORMATEX) : 0;
  format.cbSize = static_cast<WORD>(std::min<std::uint32_t>(format.cbSize, available));
  fmt[14] = static_cast<BYTE>(format.wBitsPerSample);
  fmt[15] = static_cast<BYTE>(format.wBitsPerSample >> 8);
  fmt[16] = static_cast<BYTE>(format.cbSize);
  fmt[17] = static_cast<BYTE>(format.cbSize >> 8);
  return StartAcmConversion(source, fmt, source->dataStart, source->dataSize, -1);
}

}  // namespace

const SourceKindOps kWavPcmSourceOps = {DecodeWavPcm, WavPcmWholeSize, RewindWavPcm, ReleaseNothing};

int OpenWavSource(SoundSource* source) {
  WavLayout layout;
  if (ReadWavLayout(source, &layout) != 0) return -1;
  WAVEFORMATEX format = layout.format;
  RepairPcmBits(source, &format);
  if (format.wFormatTag != WAVE_FORMAT_PCM) return StartWavAcm(source, layout.fmt, format);
  TrackedFree(layout.fmt);
  return PcmBitsSupported(format) ? StartWavPcm(source, format) : -1;
}
