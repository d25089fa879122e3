#include "dshow/sound_decoder.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
}

namespace {

// The rates a sound is converted from. The converter's filter grows with the ratio of
// the rates: a damaged header's rate of some million samples a second had it compute
// a filter of a gigabyte for minutes, and a rate of a few samples a second would make
// seconds of sound out of every sample.
constexpr int kLowestRate = 1000;
constexpr int kHighestRate = 384000;

bool ConvertibleRate(int rate) { return rate >= kLowestRate && rate <= kHighestRate; }

}  // namespace

std::unique_ptr<SoundDecoder> SoundDecoder::Open(const std::string& path, const MediaFile* sibling) {
  std::unique_ptr<SoundDecoder> decoder(new SoundDecoder());
  if (MediaFile::Open(path, MediaKind::Audio, &decoder->file_, sibling) != S_OK) return nullptr;
  if (!ConvertibleRate(decoder->file_->Codec().sample_rate)) return nullptr;
  decoder->decoded_ = av_frame_alloc();
  if (decoder->decoded_ == nullptr) return nullptr;
  return decoder;
}

SoundDecoder::~SoundDecoder() {
  swr_free(&resampler_);
  av_frame_free(&decoded_);
  av_channel_layout_uninit(&inputLayout_);
}

// Sets the conversion up for the decoded frame's format. Its settings are made by
// name, so they are made anew only when the format changes; after a seek closed the
// conversion it starts again on the settings it has.
bool SoundDecoder::Configure() {
  const AVFrame& in = *decoded_;
  const bool same = in.format == inputFormat_ && in.sample_rate == inputRate_ &&
                    av_channel_layout_compare(&in.ch_layout, &inputLayout_) == 0;
  if (same && swr_is_initialized(resampler_)) return true;
  if (!same) {
    inputFormat_ = -1;
    if (resampler_ != nullptr) swr_close(resampler_);
    AVChannelLayout out{};
    av_channel_layout_default(&out, kChannels);
    // On failure the context is freed and the pointer cleared.
    if (swr_alloc_set_opts2(&resampler_, &out, AV_SAMPLE_FMT_S16, kRate, &decoded_->ch_layout,
                            static_cast<AVSampleFormat>(in.format), in.sample_rate, 0, nullptr) < 0 ||
        av_channel_layout_copy(&inputLayout_, &in.ch_layout) < 0) {
      return false;
    }
    inputFormat_ = in.format;
    inputRate_ = in.sample_rate;
  }
  return swr_init(resampler_) >= 0;
}

// Converts the decoded frame into the empty pending_; the number of stereo frames, or
// a negative error. There is room for all the conversion can give, as
// much as a whole-frame conversion would have room for.
int SoundDecoder::Convert() {
  if (!ConvertibleRate(decoded_->sample_rate) || !Configure()) return AVERROR(EINVAL);
  const std::int64_t room = swr_get_delay(resampler_, kRate) + 3 +
                            std::int64_t{decoded_->nb_samples} * kRate / decoded_->sample_rate;
  if (room > INT_MAX / kChannels) return AVERROR(EINVAL);
  pending_.resize(static_cast<std::size_t>(room) * kChannels);
  std::uint8_t* out = reinterpret_cast<std::uint8_t*>(pending_.data());
  const int frames = swr_convert(resampler_, &out, static_cast<int>(room),
                                 const_cast<const std::uint8_t**>(decoded_->extended_data), decoded_->nb_samples);
  pending_.resize(static_cast<std::size_t>(std::max(frames, 0)) * kChannels);
  return frames;
}

// Converts the next decoded frame into pending_; false at the end of the sound.
bool SoundDecoder::DecodeMore() {
  LONGLONG time = 0;
  if (ended_ || !file_->Next(decoded_, &time)) {
    ended_ = true;
    return false;
  }
  pending_.clear();
  pendingRead_ = 0;
  const int converted = Convert();
  if (converted < 0) return true;  // a frame that cannot be converted is left out
  std::size_t skip = 0;
  if (seekTarget_ >= 0) {
    if (time < seekTarget_) {
      const LONGLONG early = seekTarget_ - time;
      // To the nearest frame: the frame's own time is rounded to 100 ns.
      skip = static_cast<std::size_t>(early / 10000000 * kRate + (early % 10000000 * kRate + 5000000) / 10000000);
    }
    seekTarget_ = -1;
  }
  pendingRead_ = std::min(skip, static_cast<std::size_t>(converted)) * kChannels;
  return true;
}

int SoundDecoder::Read(std::int16_t* out, int frames) {
  int done = 0;
  while (done < frames) {
    if (pendingRead_ >= pending_.size()) {
      if (!DecodeMore()) break;
      continue;
    }
    const std::size_t available = (pending_.size() - pendingRead_) / kChannels;
    const std::size_t take = std::min<std::size_t>(available, static_cast<std::size_t>(frames - done));
    std::memcpy(out + static_cast<std::size_t>(done) * kChannels, pending_.data() + pendingRead_,
                take * kChannels * sizeof(std::int16_t));
    pendingRead_ += take * kChannels;
    done += static_cast<int>(take);
  }
  return done;
}

void SoundDecoder::Seek(LONGLONG time) {
  file_->Seek(time);
  if (resampler_ != nullptr) swr_close(resampler_);
  pending_.clear();
  pendingRead_ = 0;
  seekTarget_ = time;
  ended_ = false;
}
