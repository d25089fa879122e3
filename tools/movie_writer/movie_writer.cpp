#include "movie_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace {

constexpr std::uint32_t kFrameColours[] = {
    0xE02020, 0x20E020, 0x2020E0, 0xE0E020, 0x20E0E0, 0xE020E0,
    0xF0F0F0, 0x404040, 0x906010, 0x109060, 0x601090, 0xA0A0A0,
};
constexpr int kColourCount = static_cast<int>(sizeof(kFrameColours) / sizeof(kFrameColours[0]));
constexpr int kSoundRate = 44100;
constexpr double kPi = 3.14159265358979323846;

int Channel(std::uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

bool Fail(const char* what) {
  std::fprintf(stderr, "movie writer: %s\n", what);
  return false;
}

// One encoder with its output stream.
struct Track {
  AVStream* stream = nullptr;
  AVCodecContext* codec = nullptr;
  AVFrame* frame = nullptr;
  std::int64_t next = 0;  // pts of the next frame, in the codec's time base

  ~Track() {
    av_frame_free(&frame);
    avcodec_free_context(&codec);
  }
};

class MovieFile {
 public:
  ~MovieFile() {
    sws_freeContext(scaler_);
    av_packet_free(&packet_);
    if (format_ != nullptr && !(format_->oformat->flags & AVFMT_NOFILE)) avio_closep(&format_->pb);
    avformat_free_context(format_);
  }

  bool Write(const std::string& path, const TestMovieSpec& spec) {
    if (avformat_alloc_output_context2(&format_, nullptr, spec.container.c_str(), path.c_str()) < 0) {
      return Fail("unknown container");
    }
    packet_ = av_packet_alloc();
    if (packet_ == nullptr || !OpenVideo(spec)) return false;
    if (spec.withSound && !OpenSound()) return false;
    if (avio_open(&format_->pb, path.c_str(), AVIO_FLAG_WRITE) < 0) return Fail("cannot create the file");
    if (avformat_write_header(format_, nullptr) < 0) return Fail("cannot write the header");
    const std::int64_t soundSamples =
        static_cast<std::int64_t>(spec.frames) * kSoundRate / spec.framesPerSecond;
    // Pictures and sound in time order, so the container interleaves them.
    while (video_.next < spec.frames || (spec.withSound && sound_.next < soundSamples)) {
      const bool pictureFirst =
          !spec.withSound || sound_.next >= soundSamples ||
          av_compare_ts(video_.next, video_.codec->time_base, sound_.next, sound_.codec->time_base) <= 0;
      if (pictureFirst && video_.next < spec.frames) {
        if (!WritePicture(static_cast<int>(video_.next))) return false;
      } else if (!WriteSound(soundSamples)) {
        return false;
      }
    }
    if (!Drain(video_) || (spec.withSound && !Drain(sound_))) return false;
    return av_write_trailer(format_) == 0 || Fail("cannot finish the file");
  }

 private:
  bool OpenVideo(const TestMovieSpec& spec) {
    const AVCodec* encoder = avcodec_find_encoder_by_name(spec.videoCodec.c_str());
    if (encoder == nullptr) return Fail("no such video encoder");
    video_.stream = avformat_new_stream(format_, nullptr);
    video_.codec = avcodec_alloc_context3(encoder);
    if (video_.stream == nullptr || video_.codec == nullptr) return Fail("out of memory");
    AVCodecContext* codec = video_.codec;
    codec->width = spec.width;
    codec->height = spec.height;
    codec->time_base = AVRational{1, spec.framesPerSecond};
    codec->framerate = AVRational{spec.framesPerSecond, 1};
    codec->gop_size = spec.keyFrameInterval;
    codec->max_b_frames = 0;
    codec->pix_fmt = AV_PIX_FMT_YUV420P;
    codec->flags |= AV_CODEC_FLAG_QSCALE;
    codec->global_quality = FF_QP2LAMBDA * 2;
    if (format_->oformat->flags & AVFMT_GLOBALHEADER) codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (avcodec_open2(codec, encoder, nullptr) < 0) return Fail("cannot open the video encoder");
    video_.stream->time_base = codec->time_base;
    if (avcodec_parameters_from_context(video_.stream->codecpar, codec) < 0) return Fail("bad video parameters");
    video_.frame = av_frame_alloc();
    if (video_.frame == nullptr) return Fail("out of memory");
    video_.frame->format = codec->pix_fmt;
    video_.frame->width = codec->width;
    video_.frame->height = codec->height;
    if (av_frame_get_buffer(video_.frame, 0) < 0) return Fail("out of memory");
    scaler_ = sws_getContext(spec.width, spec.height, AV_PIX_FMT_BGR0, spec.width, spec.height, AV_PIX_FMT_YUV420P,
                             SWS_POINT, nullptr, nullptr, nullptr);
    rgb_.assign(static_cast<std::size_t>(spec.width) * spec.height, 0);
    return scaler_ != nullptr || Fail("no colour conversion");
  }

  bool OpenSound() {
    const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
    if (encoder == nullptr) return Fail("no PCM encoder");
    sound_.stream = avformat_new_stream(format_, nullptr);
    sound_.codec = avcodec_alloc_context3(encoder);
    if (sound_.stream == nullptr || sound_.codec == nullptr) return Fail("out of memory");
    AVCodecContext* codec = sound_.codec;
    codec->sample_fmt = AV_SAMPLE_FMT_S16;
    codec->sample_rate = kSoundRate;
    av_channel_layout_default(&codec->ch_layout, 2);
    codec->time_base = AVRational{1, kSoundRate};
    if (avcodec_open2(codec, encoder, nullptr) < 0) return Fail("cannot open the sound encoder");
    sound_.stream->time_base = codec->time_base;
    if (avcodec_parameters_from_context(sound_.stream->codecpar, codec) < 0) return Fail("bad sound parameters");
    sound_.frame = av_frame_alloc();
    if (sound_.frame == nullptr) return Fail("out of memory");
    return true;
  }

  bool WritePicture(int index) {
    const std::uint32_t colour = TestMovieFrameColour(index);
    for (std::uint32_t& pixel : rgb_) pixel = colour;
    const std::uint8_t* planes[1] = {reinterpret_cast<const std::uint8_t*>(rgb_.data())};
    const int pitches[1] = {video_.codec->width * 4};
    if (av_frame_make_writable(video_.frame) < 0) return Fail("out of memory");
    sws_scale(scaler_, planes, pitches, 0, video_.codec->height, video_.frame->data, video_.frame->linesize);
    video_.frame->pts = video_.next++;
    return Encode(video_, video_.frame);
  }

  bool WriteSound(std::int64_t total) {
    constexpr int kChunk = 1024;
    const int samples = static_cast<int>(total - sound_.next < kChunk ? total - sound_.next : kChunk);
    AVFrame* frame = sound_.frame;
    av_frame_unref(frame);
    frame->format = AV_SAMPLE_FMT_S16;
    frame->sample_rate = kSoundRate;
    frame->nb_samples = samples;
    if (av_channel_layout_copy(&frame->ch_layout, &sound_.codec->ch_layout) < 0 || av_frame_get_buffer(frame, 0) < 0) {
      return Fail("out of memory");
    }
    auto* pcm = reinterpret_cast<std::int16_t*>(frame->data[0]);
    for (int i = 0; i < samples; ++i) {
      const double t = static_cast<double>(sound_.next + i) / kSoundRate;
      const auto value = static_cast<std::int16_t>(8000.0 * std::sin(2.0 * kPi * 440.0 * t));
      pcm[2 * i] = value;
      pcm[2 * i + 1] = value;
    }
    frame->pts = sound_.next;
    sound_.next += samples;
    return Encode(sound_, frame);
  }

  bool Encode(Track& track, AVFrame* frame) {
    if (avcodec_send_frame(track.codec, frame) < 0) return Fail("encoding failed");
    for (;;) {
      const int received = avcodec_receive_packet(track.codec, packet_);
      if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return true;
      if (received < 0) return Fail("encoding failed");
      av_packet_rescale_ts(packet_, track.codec->time_base, track.stream->time_base);
      packet_->stream_index = track.stream->index;
      if (av_interleaved_write_frame(format_, packet_) < 0) return Fail("cannot write a packet");
    }
  }

  bool Drain(Track& track) { return Encode(track, nullptr); }

  AVFormatContext* format_ = nullptr;
  AVPacket* packet_ = nullptr;
  SwsContext* scaler_ = nullptr;
  Track video_;
  Track sound_;
  std::vector<std::uint32_t> rgb_;
};

}  // namespace

std::uint32_t TestMovieFrameColour(int frame) { return kFrameColours[((frame % kColourCount) + kColourCount) % kColourCount]; }

int NearestTestMovieFrame(std::uint32_t pixel, int* distance) {
  int best = 0;
  int bestDistance = 256;
  for (int i = 0; i < kColourCount; ++i) {
    int worst = 0;
    for (int shift : {0, 8, 16}) worst = std::max(worst, std::abs(Channel(pixel, shift) - Channel(kFrameColours[i], shift)));
    if (worst < bestDistance) {
      best = i;
      bestDistance = worst;
    }
  }
  if (distance != nullptr) *distance = bestDistance;
  return best;
}

bool WriteTestMovie(const std::string& path, const TestMovieSpec& spec) {
  if (spec.width <= 0 || spec.height <= 0 || spec.frames <= 0 || spec.framesPerSecond <= 0 ||
      spec.keyFrameInterval <= 0) {
    return Fail("bad movie spec");
  }
  MovieFile file;
  return file.Write(path, spec);
}
