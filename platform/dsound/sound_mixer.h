// The software mixer behind the sound device: every playing voice is resampled to the
// device rate (linear interpolation), scaled by its gain and summed into 16-bit stereo.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "kernel/wave_format.h"

constexpr int kMixerRate = 44100;
constexpr int kMixerChannels = 2;

// PCM of one secondary buffer, shared with its duplicates.
struct SharedPcm {
  std::unique_ptr<BYTE[]> bytes;
  DWORD size = 0;
};

// The play state of one secondary buffer.
struct MixerVoice {
  WAVEFORMATEX format{};
  std::shared_ptr<SharedPcm> pcm;
  DWORD frames = 0;             // whole frames in the PCM
  std::uint64_t position = 0;   // in frames, 32.32 fixed point
  bool playing = false;
  bool looping = false;
  float gain = 1.0f;
  // On the tests' virtual clock: the moment (microseconds) and position from which the
  // voice has played on undisturbed.
  bool anchored = false;
  std::uint64_t anchorTime = 0;
  std::uint64_t anchorPosition = 0;
};

// While the tests' virtual clock runs, the voices of a device with an audio output
// move with that clock instead of with the output (which then plays silence): a
// position is then a function of the clock alone, whatever thread asks and however
// often, so a headless run hears the same ends at the same moments every time. The
// manual test device is stepped by hand only.
struct SoundMixer {
  std::mutex lock;  // guards every voice; the audio callback takes it too
  std::vector<MixerVoice*> voices;
  std::vector<float> accumulator;
  bool steppedByHand = false;

  // Mixes `frames` stereo frames into `out`, advancing every playing voice. A voice
  // that is not looping stops at its end and goes back to position 0. Caller holds lock.
  void Render(std::int16_t* out, int frames);

  // The calls below keep a voice on the virtual clock; without it they do nothing.
  // Caller holds lock.
  // Brings the voice's position and play state to the clock's present.
  void CatchUp(MixerVoice& voice) const;
  // After a change of position or of play: the voice plays on from here and now.
  void Reanchor(MixerVoice& voice) const;

 private:
  bool OnTestClock() const;
};

// 10^(volume / 2000): the amplitude of a volume in hundredths of a decibel; the minimum
// volume is silence.
float VolumeToGain(long volume);
