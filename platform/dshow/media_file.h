// One stream of a movie file (its first video or first audio stream), read and decoded
// with FFmpeg. Times are in 100-nanosecond units from the start of the stream.
#pragma once

#include <memory>
#include <string>

extern "C" {
#include <libavutil/rational.h>
}

#include "kernel/win_types.h"

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;

enum class MediaKind { Video, Audio };

class MediaFile {
 public:
  // S_OK; VFW_E_NOT_FOUND when there is no such file; VFW_E_UNSUPPORTED_STREAM when it is
  // no movie container the stand-in plays or cannot be read or decoded; MS_E_NOSTREAM
  // when it has no stream of the kind. `sibling` is another MediaFile of the same file,
  // when there is one: its container and its analysis of the streams are taken over,
  // rather than probed and analysed again. Otherwise an AVI file is known by its first
  // bytes and any other is probed.
  static HRESULT Open(const std::string& path, MediaKind kind, std::unique_ptr<MediaFile>* file,
                      const MediaFile* sibling = nullptr);
  ~MediaFile();
  MediaFile(const MediaFile&) = delete;
  MediaFile& operator=(const MediaFile&) = delete;

  // Decodes the next frame into `frame` with its start time (never earlier than the
  // frame before). False at the end of the stream; damaged data that cannot be read on
  // ends the stream, damaged packets are skipped.
  bool Next(AVFrame* frame, LONGLONG* time);
  // How long a decoded frame lasts (0 when the file does not say).
  LONGLONG FrameDuration(const AVFrame& frame) const;
  // The next frames lead up to `time` from the key frame at or before it (from the
  // start when the file cannot seek).
  void Seek(LONGLONG time);

  const AVCodecContext& Codec() const { return *codec_; }
  int Width() const;   // video: the frame size given by the file
  int Height() const;
  LONGLONG Duration() const { return duration_; }  // 0 when the file does not say

 private:
  MediaFile() = default;
  HRESULT OpenStream(MediaKind kind, const AVFormatContext& analysed);
  LONGLONG ToStreamTime(std::int64_t timestamp) const;
  void DropPacket();

  AVFormatContext* format_ = nullptr;
  AVCodecContext* codec_ = nullptr;
  AVPacket* packet_ = nullptr;
  int stream_ = -1;
  AVRational timeBase_{0, 1};
  std::int64_t startTimestamp_ = 0;  // in the stream's time base
  LONGLONG defaultFrameDuration_ = 0;
  LONGLONG duration_ = 0;
  LONGLONG lastTime_ = -1;
  LONGLONG lastDuration_ = 0;
  bool packetHeld_ = false;  // packet_ waits for the decoder to take it
  bool drained_ = false;     // the decoder was told that no more packets come
};
