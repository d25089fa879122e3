#include "dsound/sound_mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "kernel/clock.h"

namespace {

constexpr std::uint64_t kOne = std::uint64_t{1} << 32;
constexpr float kFractionScale = 1.0f / 4294967296.0f;

struct Unsigned8 {
  static constexpr int kBytes = 1;
  static float Read(const BYTE* p) { return (static_cast<int>(*p) - 128) * 256.0f; }
};
struct Signed16 {
  static constexpr int kBytes = 2;
  static float Read(const BYTE* p) {
    std::int16_t v;
    std::memcpy(&v, p, 2);
    return static_cast<float>(v);
  }
};

// Adds one voice into the stereo accumulator for `frames` output frames.
template <int Channels, typename Sample>
void MixVoice(MixerVoice& voice, float* out, int frames) {
  const BYTE* pcm = voice.pcm->bytes.get();
  const DWORD stride = voice.format.nBlockAlign;
  const std::uint64_t total = voice.frames;
  const std::uint64_t end = total << 32;
  const std::uint64_t step = (static_cast<std::uint64_t>(voice.format.nSamplesPerSec) << 32) / kMixerRate;
  const DWORD wrapTo = voice.looping ? 0 : static_cast<DWORD>(total - 1);
  constexpr int kRight = Channels > 1 ? 1 : 0;
  std::uint64_t position = voice.position;
  const float gain = voice.gain;

  for (int i = 0; i < frames; ++i) {
    if (position >= end) {
      if (!voice.looping) {
        voice.playing = false;
        position = 0;
        break;
      }
      position %= end;
    }
    const DWORD index = static_cast<DWORD>(position >> 32);
    const DWORD next = index + 1 < total ? index + 1 : wrapTo;
    const float fraction = static_cast<float>(position & (kOne - 1)) * kFractionScale;
    const BYTE* a = pcm + static_cast<std::size_t>(index) * stride;
    const BYTE* b = pcm + static_cast<std::size_t>(next) * stride;
    const float left = Sample::Read(a);
    const float right = Sample::Read(a + kRight * Sample::kBytes);
    const float leftNext = Sample::Read(b);
    const float rightNext = Sample::Read(b + kRight * Sample::kBytes);
    out[2 * i] += (left + (leftNext - left) * fraction) * gain;
    out[2 * i + 1] += (right + (rightNext - right) * fraction) * gain;
    position += step;
  }
  if (voice.playing && position >= end) {
    if (voice.looping) {
      position %= end;
    } else {
      voice.playing = false;
      position = 0;
    }
  }
  voice.position = position;
}

}  // namespace

float VolumeToGain(long volume) {
  if (volume <= -10000) return 0.0f;
  return static_cast<float>(std::pow(10.0, static_cast<double>(volume) / 2000.0));
}

void SoundMixer::Render(std::int16_t* out, int frames) {
  if (OnTestClock()) {
    std::fill_n(out, static_cast<std::size_t>(frames) * kMixerChannels, std::int16_t{0});
    return;
  }
  accumulator.assign(static_cast<std::size_t>(frames) * kMixerChannels, 0.0f);
  float* sum = accumulator.data();
  for (MixerVoice* voice : voices) {
    if (!voice->playing || voice->frames == 0) continue;
    const bool stereo = voice->format.nChannels == 2;
    if (voice->format.wBitsPerSample == 8) {
      stereo ? MixVoice<2, Unsigned8>(*voice, sum, frames) : MixVoice<1, Unsigned8>(*voice, sum, frames);
    } else {
      stereo ? MixVoice<2, Signed16>(*voice, sum, frames) : MixVoice<1, Signed16>(*voice, sum, frames);
    }
  }
  for (std::size_t i = 0; i < accumulator.size(); ++i) {
    const float clamped = std::clamp(std::nearbyint(sum[i]), -32768.0f, 32767.0f);
    out[i] = static_cast<std::int16_t>(clamped);
  }
}

bool SoundMixer::OnTestClock() const { return !steppedByHand && ClockIsVirtual(); }

void SoundMixer::CatchUp(MixerVoice& voice) const {
  if (!OnTestClock() || !voice.playing) {
    voice.anchored = false;
    return;
  }
  const std::uint64_t now = PeekClockMicroseconds();
  if (!voice.anchored || now < voice.anchorTime) {
    Reanchor(voice);
    return;
  }
  constexpr unsigned __int128 kMicrosecondsPerSecond = 1'000'000;
  const unsigned __int128 played =
      (static_cast<unsigned __int128>(now - voice.anchorTime) * voice.format.nSamplesPerSec << 32) /
      kMicrosecondsPerSecond;
  const unsigned __int128 end = static_cast<unsigned __int128>(voice.frames) << 32;
  const unsigned __int128 position = voice.anchorPosition + played;
  if (position < end) {
    voice.position = static_cast<std::uint64_t>(position);
  } else if (voice.looping && end > 0) {
    voice.position = static_cast<std::uint64_t>(position % end);
  } else {
    voice.playing = false;
    voice.anchored = false;
    voice.position = 0;
  }
}

void SoundMixer::Reanchor(MixerVoice& voice) const {
  voice.anchored = OnTestClock() && voice.playing;
  if (!voice.anchored) return;
  voice.anchorTime = PeekClockMicroseconds();
  voice.anchorPosition = voice.position;
}
