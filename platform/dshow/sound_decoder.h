// The sound of a movie file as the sound device mixes it: decoded and converted to
// 16-bit stereo at 44100 Hz with libswresample.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dshow/media_file.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

struct AVFrame;
struct SwrContext;

class SoundDecoder {
 public:
  static constexpr int kRate = 44100;
  static constexpr int kChannels = 2;

  // The file's sound, or nullptr when it has none that decodes or its rate is beyond
  // conversion; `sibling` as for MediaFile::Open. A frame at such a rate is left out.
  static std::unique_ptr<SoundDecoder> Open(const std::string& path, const MediaFile* sibling);
  ~SoundDecoder();
  SoundDecoder(const SoundDecoder&) = delete;
  SoundDecoder& operator=(const SoundDecoder&) = delete;

  // Up to `frames` stereo frames; fewer only at the end of the sound.
  int Read(std::int16_t* out, int frames);
  // The next frames start at `time` (100-nanosecond units).
  void Seek(LONGLONG time);

 private:
  SoundDecoder() = default;
  bool Configure();
  int Convert();
  bool DecodeMore();

  std::unique_ptr<MediaFile> file_;
  SwrContext* resampler_ = nullptr;
  // The decoded format the conversion is set up for (sample format, rate, channels).
  int inputFormat_ = -1;
  int inputRate_ = 0;
  AVChannelLayout inputLayout_{};
  AVFrame* decoded_ = nullptr;
  std::vector<std::int16_t> pending_;  // converted, not yet read
  std::size_t pendingRead_ = 0;        // samples of pending_ already read
  LONGLONG seekTarget_ = -1;           // frames before it are dropped after a seek
  bool ended_ = false;
};
