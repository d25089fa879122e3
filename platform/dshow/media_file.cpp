#include "dshow/media_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include "dshow/dshow.h"

namespace {

constexpr AVRational kStreamTimeBase{1, 10000000};

// The containers a movie may come in. Picture and bare audio formats stay out, so a
// damaged picture never plays as a one-frame movie.
constexpr const char* kMovieContainers = "avi,asf,mov,mp4,matroska,webm,mpeg,mpegts,mpegvideo,ogg,flv";
constexpr int kContainerProbeBytes = 2048;

// A RIFF file of form "AVI " is one for certain. Naming it up front spares probing the
// first kilobytes against every format FFmpeg knows, which costs more than reading the
// headers.
const AVInputFormat* ContainerMarkedIn(const std::string& path) {
  char head[12];
  const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return nullptr;
  const bool whole = ::read(file, head, sizeof head) == static_cast<ssize_t>(sizeof head);
  ::close(file);
  if (!whole || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "AVI ", 4) != 0) return nullptr;
  return av_find_input_format("avi");
}

// The largest frame a decoder may make; a side above the largest DirectDraw surface
// could not be shown anyway.
constexpr std::int64_t kMaxFramePixels = std::int64_t{8192} * 8192;

std::int64_t SaturatingSub(std::int64_t a, std::int64_t b) {
  std::int64_t result = 0;
  if (!__builtin_sub_overflow(a, b, &result)) return result;
  return b < 0 ? INT64_MAX : INT64_MIN;
}

std::int64_t SaturatingAdd(std::int64_t a, std::int64_t b) {
  std::int64_t result = 0;
  if (!__builtin_add_overflow(a, b, &result)) return result;
  return b > 0 ? INT64_MAX : INT64_MIN;
}

// Rescaled with rounding; a value that does not fit comes back as 0 (unknown).
std::int64_t Rescale(std::int64_t value, AVRational from, AVRational to, AVRounding rounding = AV_ROUND_NEAR_INF) {
  const std::int64_t result =
      av_rescale_q_rnd(value, from, to, static_cast<AVRounding>(rounding | AV_ROUND_PASS_MINMAX));
  return result == AV_NOPTS_VALUE ? 0 : result;
}

bool ValidRational(AVRational value) { return value.num > 0 && value.den > 0; }

void QuietLibraries() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

}  // namespace

HRESULT MediaFile::Open(const std::string& path, MediaKind kind, std::unique_ptr<MediaFile>* file,
                        const MediaFile* sibling) {
  file->reset();
  if (::access(path.c_str(), R_OK) != 0) return errno == ENOENT ? VFW_E_NOT_FOUND : VFW_E_UNSUPPORTED_STREAM;
  QuietLibraries();
  std::unique_ptr<MediaFile> opened(new MediaFile());
  // The lists are set on the context itself: as options they would be looked up by name
  // among all of its options.
  opened->format_ = avformat_alloc_context();
  if (opened->format_ == nullptr) return E_OUTOFMEMORY;
  opened->format_->protocol_whitelist = av_strdup("file");
  opened->format_->format_whitelist = av_strdup(kMovieContainers);
  // Any other file is probed against every format FFmpeg knows, the list only checked
  // after. Every container in the list names itself in its first packets, so one look
  // at the smallest probe (2 KB) tells; by default a file that is no movie was probed
  // again at twice the size, up to a megabyte.
  opened->format_->format_probesize = kContainerProbeBytes;
  if (opened->format_->protocol_whitelist == nullptr || opened->format_->format_whitelist == nullptr) {
    return E_OUTOFMEMORY;
  }
  const AVInputFormat* container = sibling != nullptr ? sibling->format_->iformat : ContainerMarkedIn(path);
  const std::string url = "file:" + path;
  // On failure the context is freed and the pointer cleared.
  if (avformat_open_input(&opened->format_, url.c_str(), container, nullptr) < 0) return VFW_E_UNSUPPORTED_STREAM;
  // Analysing the streams opens a decoder for each and decodes their first packets. The
  // sibling's analysis of the same file holds for this one as long as its header gave
  // the same streams (a container that finds its streams while it reads may not).
  const AVFormatContext* analysed = sibling != nullptr ? sibling->format_ : nullptr;
  if (analysed == nullptr || analysed->nb_streams != opened->format_->nb_streams) {
    if (avformat_find_stream_info(opened->format_, nullptr) < 0) return VFW_E_UNSUPPORTED_STREAM;
    analysed = opened->format_;
  }
  if (HRESULT result = opened->OpenStream(kind, *analysed); result != S_OK) return result;
  *file = std::move(opened);
  return S_OK;
}

// The stream is chosen and described by `analysed` (this file's context, or a sibling's
// with the same streams); its packets come from this file's own context.
HRESULT MediaFile::OpenStream(MediaKind kind, const AVFormatContext& analysed) {
  const AVCodec* decoder = nullptr;
  const AVMediaType type = kind == MediaKind::Video ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_AUDIO;
  stream_ = av_find_best_stream(const_cast<AVFormatContext*>(&analysed), type, -1, -1, &decoder, 0);
  if (stream_ == AVERROR_STREAM_NOT_FOUND) return MS_E_NOSTREAM;
  if (stream_ < 0 || decoder == nullptr) return VFW_E_UNSUPPORTED_STREAM;
  const AVStream* stream = analysed.streams[stream_];
  if (kind == MediaKind::Video && (stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) return MS_E_NOSTREAM;
  const AVStream* own = format_->streams[stream_];
  if (own->codecpar->codec_type != type || av_cmp_q(own->time_base, stream->time_base) != 0) {
    return VFW_E_UNSUPPORTED_STREAM;
  }
  timeBase_ = own->time_base;
  if (!ValidRational(timeBase_)) return VFW_E_UNSUPPORTED_STREAM;
  for (unsigned i = 0; i < format_->nb_streams; ++i) {
    if (static_cast<int>(i) != stream_) format_->streams[i]->discard = AVDISCARD_ALL;
  }

  codec_ = avcodec_alloc_context3(decoder);
  packet_ = av_packet_alloc();
  if (codec_ == nullptr || packet_ == nullptr) return E_OUTOFMEMORY;
  if (avcodec_parameters_to_context(codec_, stream->codecpar) < 0) return VFW_E_UNSUPPORTED_STREAM;
  codec_->thread_count = 1;
  codec_->max_pixels = kMaxFramePixels;
  if (avcodec_open2(codec_, decoder, nullptr) < 0) return VFW_E_UNSUPPORTED_STREAM;

  startTimestamp_ = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
  if (kind == MediaKind::Video && ValidRational(stream->avg_frame_rate)) {
    defaultFrameDuration_ = Rescale(1, av_inv_q(stream->avg_frame_rate), kStreamTimeBase);
  }
  if (analysed.duration != AV_NOPTS_VALUE && analysed.duration > 0) {
    duration_ = Rescale(analysed.duration, AV_TIME_BASE_Q, kStreamTimeBase);
  } else if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
    duration_ = Rescale(stream->duration, timeBase_, kStreamTimeBase);
  }
  return S_OK;
}

MediaFile::~MediaFile() {
  av_packet_free(&packet_);
  avcodec_free_context(&codec_);
  avformat_close_input(&format_);
}

int MediaFile::Width() const { return codec_->width > 0 ? codec_->width : 0; }
int MediaFile::Height() const { return codec_->height > 0 ? codec_->height : 0; }

LONGLONG MediaFile::ToStreamTime(std::int64_t timestamp) const {
  const LONGLONG time = Rescale(SaturatingSub(timestamp, startTimestamp_), timeBase_, kStreamTimeBase);
  return time > 0 ? time : 0;
}

LONGLONG MediaFile::FrameDuration(const AVFrame& frame) const {
  if (codec_->codec_type == AVMEDIA_TYPE_AUDIO) {
    if (frame.sample_rate <= 0 || frame.nb_samples <= 0) return 0;
    return Rescale(frame.nb_samples, AVRational{1, frame.sample_rate}, kStreamTimeBase);
  }
  if (frame.pkt_duration > 0) return Rescale(frame.pkt_duration, timeBase_, kStreamTimeBase);
  return defaultFrameDuration_;
}

bool MediaFile::Next(AVFrame* frame, LONGLONG* time) {
  bool refused = false;  // the decoder refused the held packet until its output is read
  for (;;) {
    const int received = avcodec_receive_frame(codec_, frame);
    if (received == 0) {
      const std::int64_t timestamp = frame->best_effort_timestamp;
      LONGLONG start = timestamp != AV_NOPTS_VALUE ? ToStreamTime(timestamp)
                                                   : SaturatingAdd(lastTime_ < 0 ? 0 : lastTime_, lastDuration_);
      if (start < lastTime_) start = lastTime_;
      lastTime_ = start;
      lastDuration_ = FrameDuration(*frame);
      *time = start;
      return true;
    }
    if (received != AVERROR(EAGAIN) || drained_) return false;
    if (refused) DropPacket();  // a decoder that neither takes input nor gives output
    if (!packetHeld_) {
      if (av_read_frame(format_, packet_) < 0) {
        avcodec_send_packet(codec_, nullptr);
        drained_ = true;
        continue;
      }
      if (packet_->stream_index != stream_) {
        av_packet_unref(packet_);
        continue;
      }
      packetHeld_ = true;
    }
    refused = avcodec_send_packet(codec_, packet_) == AVERROR(EAGAIN);
    if (!refused) DropPacket();  // taken, or damaged and skipped
  }
}

void MediaFile::DropPacket() {
  av_packet_unref(packet_);
  packetHeld_ = false;
}

void MediaFile::Seek(LONGLONG time) {
  // Rounded down: a time inside a frame seeks to that frame, not the next.
  const std::int64_t target =
      SaturatingAdd(Rescale(time, kStreamTimeBase, timeBase_, AV_ROUND_DOWN), startTimestamp_);
  if (av_seek_frame(format_, stream_, target, AVSEEK_FLAG_BACKWARD) < 0) {
    avformat_seek_file(format_, stream_, INT64_MIN, startTimestamp_, startTimestamp_, 0);
  }
  avcodec_flush_buffers(codec_);
  DropPacket();
  drained_ = false;
  lastTime_ = -1;
  lastDuration_ = 0;
}
