// Ogg Vorbis sources: vorbisfile reads the source's DataStream through callbacks and
// delivers 16-bit signed little-endian PCM.
#include <cstdint>
#include <cstring>

#include "core/sound_source_kinds.h"

namespace {

constexpr std::uint32_t kOggChunk = 4096;
constexpr std::uint64_t kOggSizeSlack = 44100;  // samples allowed beyond the stated length
constexpr int kBytesPerSample = 2;
// vorbisfile looks for the first page only this far into a stream (its CHUNKSIZE).
constexpr std::int64_t kFirstPageReach = 65536;
constexpr char kCapturePattern[4] = {'O', 'g', 'g', 'S'};

// False when no page can start within reach of the stream's start: vorbisfile would
// read that far and give up, after setting up its decoder state for nothing.
bool PageMayStartInReach(SoundSource* source) {
  BYTE window[4096];
  std::int64_t windowStart = 0;  // the stream offset of window[0]
  std::uint32_t held = 0;
  while (windowStart < kFirstPageReach) {
    const std::uint32_t got = ReadUpTo(source, window + held, sizeof window - held);
    held += got;
    const void* found = memmem(window, held, kCapturePattern, sizeof kCapturePattern);
    if (found != nullptr) return windowStart + (static_cast<const BYTE*>(found) - window) < kFirstPageReach;
    if (got == 0 || held < sizeof kCapturePattern) return false;
    // The last three bytes may begin the pattern.
    const std::uint32_t kept = sizeof kCapturePattern - 1;
    std::memmove(window, window + held - kept, kept);
    windowStart += held - kept;
    held = kept;
  }
  return false;
}

DataStream* StreamOf(void* datasource) { return static_cast<DataStream*>(datasource); }

std::size_t OggRead(void* buffer, std::size_t size, std::size_t count, void* datasource) {
  if (datasource == nullptr) return 0;
  DataStream* stream = StreamOf(datasource);
  return stream->ops->read(buffer, size, count, stream->handle);
}

int OggSeek(void* datasource, ogg_int64_t offset, int origin) {
  if (datasource == nullptr) return -1;
  DataStream* stream = StreamOf(datasource);
  return stream->ops->seek(stream->handle, static_cast<std::int32_t>(static_cast<std::uint32_t>(offset)), origin);
}

int OggClose(void*) { return 0; }

long OggTell(void* datasource) {
  if (datasource == nullptr) return -1;
  DataStream* stream = StreamOf(datasource);
  return static_cast<long>(stream->ops->tell(stream->handle));
}

// A hole in the data is skipped; any other error ends the stream.
std::uint32_t DecodeOgg(SoundSource* source, BYTE* out, std::uint32_t capacity) {
  for (;;) {
    int section = 0;
    const long got = ov_read(&source->ogg, reinterpret_cast<char*>(out), static_cast<int>(capacity), 0,
                             kBytesPerSample, 1, &section);
    if (got == OV_HOLE) continue;
    return got > 0 ? static_cast<std::uint32_t>(got) : 0;
  }
}

// The stated length plus one block of slack, for streams that run past it.
int OggWholeSize(SoundSource* source, std::uint64_t* bytes) {
  const ogg_int64_t total = ov_pcm_total(&source->ogg, -1);
  if (total < 0) return -1;
  *bytes = (static_cast<std::uint64_t>(total) + kOggSizeSlack) * source->format.nChannels * kBytesPerSample;
  return 0;
}

int RewindOgg(SoundSource* source) { return ov_pcm_seek(&source->ogg, 0) == 0 ? 0 : -1; }

void ReleaseOgg(SoundSource* source) {
  if (source->oggOpen) ov_clear(&source->ogg);
  source->oggOpen = 0;
}

}  // namespace

const SourceKindOps kOggSourceOps = {DecodeOgg, OggWholeSize, RewindOgg, ReleaseOgg};

int OpenOggSource(SoundSource* source) {
  if (!PageMayStartInReach(source)) return -1;
  StreamSeek(source, 0);
  const ov_callbacks callbacks = {OggRead, OggSeek, OggClose, OggTell};
  if (ov_open_callbacks(&source->stream, &source->ogg, nullptr, 0, callbacks) != 0) return -1;
  source->oggOpen = 1;
  const vorbis_info* info = ov_info(&source->ogg, -1);
  const std::uint64_t rate = info != nullptr && info->rate > 0 ? static_cast<std::uint64_t>(info->rate) : 0;
  const std::uint64_t blockAlign = info != nullptr ? static_cast<std::uint64_t>(info->channels) * kBytesPerSample : 0;
  if (rate == 0 || blockAlign == 0 || blockAlign > 0xFFFF || rate * blockAlign > 0xFFFFFFFFu) {
    ReleaseOgg(source);
    return -1;
  }
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = static_cast<WORD>(info->channels);
  format.nSamplesPerSec = static_cast<DWORD>(rate);
  format.wBitsPerSample = 16;
  format.nBlockAlign = static_cast<WORD>(blockAlign);
  format.nAvgBytesPerSec = static_cast<DWORD>(rate * blockAlign);
  format.cbSize = 0;
  source->format = format;
  source->bytesPerSample = kBytesPerSample;
  source->bufferCapacity = kOggChunk;
  source->kind = kSourceOgg;
  return 0;
}
