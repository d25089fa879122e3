// MP3 sources: Layer III frames, after an optional ID3v2 tag and before an optional
// 128-byte ID3v1 tag, converted by the compression manager.
#include <algorithm>
#include <climits>
#include <cstring>

#include "core/sound_source_kinds.h"
#include "core/tracked_alloc.h"

namespace {

constexpr int kLayer3 = 2;
constexpr int kBitRatesMpeg1[15] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr int kBitRatesMpeg2[15] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
constexpr int kSampleRatesMpeg1[3] = {44100, 48000, 32000};
constexpr int kSampleRatesMpeg2[3] = {22050, 24000, 16000};
constexpr std::int64_t kTrailingTagBytes = 128;
constexpr WORD kCodecDelay = 700;

// Reads the stream byte by byte through a window, for the frame scan.
class ByteWindow {
 public:
  explicit ByteWindow(SoundSource* source) : source_(source) {}

  // The byte at `position`, or -1 past the end of the stream.
  int At(std::int64_t position) {
    if (position < start_ || position >= start_ + count_) {
      StreamSeek(source_, position);
      start_ = position;
      count_ = ReadUpTo(source_, bytes_, sizeof bytes_);
      if (count_ == 0) return -1;
    }
    return bytes_[position - start_];
  }

  // The first frame sync (0xFF, then a byte with its top four bits set) starting at or
  // after `position` and before `end`; -1 when there is none. Searched a window at a
  // time: the scan passes over whatever precedes the audio, byte by byte.
  std::int64_t FindSync(std::int64_t position, std::int64_t end) {
    while (position < end) {
      if (At(position) < 0) return -1;
      const std::int64_t stop = std::min(start_ + count_, end);
      const void* hit = std::memchr(bytes_ + (position - start_), 0xFF, static_cast<std::size_t>(stop - position));
      if (hit == nullptr) {
        position = stop;
        continue;
      }
      position = start_ + (static_cast<const BYTE*>(hit) - bytes_);
      const int next = At(position + 1);
      if (next >= 0 && (next & 0xF0) == 0xF0) return position;
      ++position;
    }
    return -1;
  }

 private:
  SoundSource* source_;
  BYTE bytes_[4096];
  std::int64_t start_ = 0;
  std::int64_t count_ = 0;
};

std::int64_t LeadingTagLength(SoundSource* source) {
  BYTE tag[10];
  StreamSeek(source, 0);
  if (!ReadExact(source, tag, sizeof tag) || std::memcmp(tag, "ID3", 3) != 0) return 0;
  const int major = tag[3];
  const int flags = tag[5];
  std::int64_t size = 0;
  for (int i = 6; i < 10; ++i) size = (size << 7) | (tag[i] & 0x7F);
  const bool footer = major == 4 && (flags & 0x10);
  return size + 10 + (footer ? 10 : 0);
}

bool HasTrailingTag(SoundSource* source, std::int64_t size) {
  if (size <= kTrailingTagBytes) return false;
  BYTE tag[3];
  StreamSeek(source, size - kTrailingTagBytes);
  return ReadExact(source, tag, sizeof tag) && std::memcmp(tag, "TAG", 3) == 0;
}

struct FrameRun {
  std::int64_t first = -1;
  std::int64_t end = 0;
  std::uint64_t samples = 0;
};

// Finds the frames from `start`: each found header must parse; after a frame the scan
// goes on at its end, byte by byte until the next sync. -1 when a header fails.
int ScanFrames(SoundSource* source, std::int64_t start, std::int64_t audioEnd, FrameRun* run) {
  ByteWindow window(source);
  std::int64_t position = start;
  for (;;) {
    position = window.FindSync(position, audioEnd);
    if (position < 0) return 0;
    std::uint8_t header[4];
    for (int i = 0; i < 4; ++i) {
      const int value = window.At(position + i);
      if (value < 0) return 0;
      header[i] = static_cast<std::uint8_t>(value);
    }
    MpegFrameInfo frame;
    if (ParseMpegFrameHeader(header, &frame) != 0) return -1;
    if (run->first < 0) run->first = position;
    run->samples += static_cast<std::uint64_t>(frame.samplesPerFrame);
    position += frame.frameLength;
    run->end = position;
    if (position >= audioEnd) return 0;
  }
}

}  // namespace

int ParseMpegFrameHeader(const std::uint8_t header[4], MpegFrameInfo* out) {
  if (header[0] != 0xFF || (header[1] & 0xF0) != 0xF0) return -2;
  MpegFrameInfo info;
  info.lowSamplingFrequency = (header[1] & 0x08) == 0;
  info.layer = 3 - ((header[1] >> 1) & 3);
  const int bitRateIndex = header[2] >> 4;
  const int sampleRateIndex = (header[2] >> 2) & 3;
  // Free format has no frame length to step by; only Layer III lengths are known here.
  if (info.layer != kLayer3 || bitRateIndex == 0 || bitRateIndex == 15 || sampleRateIndex == 3) return -1;
  info.bitRate = info.lowSamplingFrequency ? kBitRatesMpeg2[bitRateIndex] : kBitRatesMpeg1[bitRateIndex];
  info.sampleRate = info.lowSamplingFrequency ? kSampleRatesMpeg2[sampleRateIndex] : kSampleRatesMpeg1[sampleRateIndex];
  info.padding = (header[2] >> 1) & 1;
  info.channels = (header[3] & 0xC0) == 0xC0 ? 1 : 2;
  if (info.lowSamplingFrequency) {
    info.frameLength = 72000 * info.bitRate / info.sampleRate + info.padding;
    info.samplesPerFrame = 576;
  } else {
    info.frameLength = 144000 * info.bitRate / info.sampleRate + info.padding;
    info.samplesPerFrame = 1152;
  }
  *out = info;
  return 0;
}

int OpenMp3Source(SoundSource* source) {
  const std::int64_t size = StreamSize(source);
  const std::int64_t tagLength = LeadingTagLength(source);
  const std::int64_t audioEnd = HasTrailingTag(source, size) ? size - kTrailingTagBytes : size;
  FrameRun run;
  if (ScanFrames(source, tagLength, audioEnd, &run) != 0 || run.first < 0 || run.samples > INT_MAX) return -1;

  std::uint8_t header[4];
  StreamSeek(source, run.first);
  MpegFrameInfo first;
  if (!ReadExact(source, header, sizeof header) || ParseMpegFrameHeader(header, &first) != 0) return -1;

  auto* format = static_cast<MPEGLAYER3WAVEFORMAT*>(TRACKED_CALLOC(sizeof(MPEGLAYER3WAVEFORMAT)));
  if (format == nullptr) return -1;
  format->wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  format->wfx.nChannels = static_cast<WORD>(first.channels);
  format->wfx.nSamplesPerSec = static_cast<DWORD>(first.sampleRate);
  format->wfx.nAvgBytesPerSec = static_cast<DWORD>(first.bitRate * 1000 / 8);
  format->wfx.nBlockAlign = 1;
  format->wfx.wBitsPerSample = 0;
  format->wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
  format->wID = MPEGLAYER3_ID_MPEG;
  format->fdwFlags = static_cast<DWORD>(first.padding);
  format->nBlockSize = static_cast<WORD>(first.frameLength);
  format->nFramesPerBlock = 1;
  format->nCodecDelay = kCodecDelay;

  const std::int64_t dataEnd = std::min(run.end, size);
  return StartAcmConversion(source, reinterpret_cast<BYTE*>(format), static_cast<std::uint32_t>(run.first),
                            static_cast<std::uint32_t>(dataEnd - run.first), static_cast<std::int32_t>(run.samples));
}
