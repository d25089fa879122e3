#include "dshow/sound_decoder.h"

#include <algorithm>
#include <cerrno>
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
  decoder->resampler_ = swr_alloc();
  decoder->decoded_ = av_frame_alloc();
  decoder->converted_ = av_frame_alloc();
  if (decoder->resampler_ == nullptr || decoder->decoded_ == nullptr || decoder->converted_ == nullptr) return nullptr;
  return decoder;
}

SoundDecoder::~SoundDecoder() {
  swr_free(&resampler_);
  av_frame_free(&decoded_);
  av_frame_free(&converted_);
}

// The decoded frame in the device's format; the first call sets the conversion up.
int SoundDecoder::Convert() {
  if (!ConvertibleRate(decoded_->sample_rate)) return AVERROR(EINVAL);
  av_frame_unref(converted_);
  converted_->format = AV_SAMPLE_FMT_S16;
  converted_->sample_rate = kRate;
  av_channel_layout_default(&converted_->ch_layout, kChannels);
  return swr_convert_frame(resampler_, converted_, decoded_);
}

// Converts the next decoded frame into pending_; false at the end of the sound.
bool SoundDecoder::DecodeMore() {
  LONGLONG time = 0;
  if (ended_ || !file_->Next(decoded_, &time)) {
    ended_ = true;
    return false;
  }
  int result = Convert();
  if (result == AVERROR_INPUT_CHANGED || result == AVERROR_OUTPUT_CHANGED) {
    // A stream whose layout changes: the conversion sets itself up anew.
    swr_close(resampler_);
    result = Convert();
  }
  if (result < 0) return true;  // a frame that cannot be converted is left out
  std::size_t skip = 0;
  if (seekTarget_ >= 0) {
    if (time < seekTarget_) {
      const LONGLONG early = seekTarget_ - time;
      // To the nearest frame: the frame's own time is rounded to 100 ns.
      skip = static_cast<std::size_t>(early / 10000000 * kRate + (early % 10000000 * kRate + 5000000) / 10000000);
    }
    seekTarget_ = -1;
  }
  const std::size_t frames = static_cast<std::size_t>(std::max(converted_->nb_samples, 0));
  skip = std::min(skip, frames);
  const auto* samples = reinterpret_cast<const std::int16_t*>(converted_->data[0]);
  pending_.assign(samples + skip * kChannels, samples + frames * kChannels);
  pendingRead_ = 0;
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
  swr_close(resampler_);
  pending_.clear();
  pendingRead_ = 0;
  seekTarget_ = time;
  ended_ = false;
}
