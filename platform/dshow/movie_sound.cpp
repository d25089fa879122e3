// The default sound renderer: the movie's sound streams through a looping DirectSound
// buffer on a sound device of its own, topped up a little ahead of the play cursor.
#include "dshow/movie_sound.h"

#include <algorithm>
#include <cstring>

#include "dshow/sound_decoder.h"
#include "dsound/dsound.h"

namespace {

constexpr DWORD kFrameBytes = SoundDecoder::kChannels * sizeof(std::int16_t);
constexpr DWORD kBufferFrames = SoundDecoder::kRate / 4;  // a quarter of a second queued
constexpr DWORD kBufferBytes = kBufferFrames * kFrameBytes;

class DirectSoundMovieSound final : public MovieSound {
 public:
  DirectSoundMovieSound(std::unique_ptr<SoundDecoder> decoder, IDirectSound* device, IDirectSoundBuffer* buffer)
      : decoder_(std::move(decoder)), device_(device), buffer_(buffer) {}

  ~DirectSoundMovieSound() override {
    buffer_->Stop();
    buffer_->Release();
    device_->Release();
  }

  void Start() override {
    if (!filled_) Refill();
    playing_ = true;
    buffer_->Play(0, 0, DSBPLAY_LOOPING);
  }

  void Stop() override {
    playing_ = false;
    buffer_->Stop();
  }

  // A stopped sound is filled when it starts: a movie sought before it plays (or
  // again) decodes only the sound it plays.
  void Seek(LONGLONG time) override {
    buffer_->Stop();
    decoder_->Seek(time);
    filled_ = false;
    if (!playing_) return;
    Refill();
    buffer_->Play(0, 0, DSBPLAY_LOOPING);
  }

  void Feed() override {
    DWORD play = 0;
    if (!playing_ || buffer_->GetCurrentPosition(&play, nullptr) != DS_OK) return;
    // Everything from the write position up to the frame before the play cursor.
    const DWORD free = (play + kBufferBytes - writePosition_) % kBufferBytes;
    if (free > kFrameBytes) Write(free - kFrameBytes);
  }

 private:
  // The whole buffer from its start, all but one frame (the write position then never
  // catches up with the play cursor).
  void Refill() {
    buffer_->SetCurrentPosition(0);
    writePosition_ = 0;
    Write(kBufferBytes - kFrameBytes);
    filled_ = true;
  }

  // The next `bytes` of sound at the write position; silence past the sound's end.
  void Write(DWORD bytes) {
    void* regions[2] = {nullptr, nullptr};
    DWORD sizes[2] = {0, 0};
    if (buffer_->Lock(writePosition_, bytes, &regions[0], &sizes[0], &regions[1], &sizes[1], 0) != DS_OK) return;
    for (int i = 0; i < 2; ++i) {
      auto* samples = static_cast<std::int16_t*>(regions[i]);
      const int frames = static_cast<int>(sizes[i] / kFrameBytes);
      if (samples == nullptr || frames == 0) continue;
      const int decoded = decoder_->Read(samples, frames);
      std::memset(samples + decoded * SoundDecoder::kChannels, 0, (frames - decoded) * kFrameBytes);
    }
    buffer_->Unlock(regions[0], sizes[0], regions[1], sizes[1]);
    writePosition_ = (writePosition_ + bytes) % kBufferBytes;
  }

  std::unique_ptr<SoundDecoder> decoder_;
  IDirectSound* device_;
  IDirectSoundBuffer* buffer_;
  DWORD writePosition_ = 0;
  bool filled_ = false;  // the buffer holds the sound from the decoder's position on
  bool playing_ = false;
};

}  // namespace

std::unique_ptr<MovieSound> MovieSound::Open(const std::string& path, const MediaFile* sibling) {
  std::unique_ptr<SoundDecoder> decoder = SoundDecoder::Open(path, sibling);
  if (decoder == nullptr) return nullptr;
  IDirectSound* device = nullptr;
  if (CoCreateInstance(CLSID_DirectSound, nullptr, CLSCTX_INPROC_SERVER, IID_IDirectSound,
                       reinterpret_cast<void**>(&device)) != S_OK) {
    return nullptr;
  }
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = SoundDecoder::kChannels;
  format.nSamplesPerSec = SoundDecoder::kRate;
  format.wBitsPerSample = 16;
  format.nBlockAlign = kFrameBytes;
  format.nAvgBytesPerSec = SoundDecoder::kRate * kFrameBytes;
  DSBUFFERDESC description{};
  description.dwSize = sizeof(description);
  description.dwFlags = DSBCAPS_GLOBALFOCUS;
  description.dwBufferBytes = kBufferBytes;
  description.lpwfxFormat = &format;
  IDirectSoundBuffer* buffer = nullptr;
  if (device->Initialize(nullptr) != DS_OK || device->SetCooperativeLevel(nullptr, DSSCL_NORMAL) != DS_OK ||
      device->CreateSoundBuffer(&description, &buffer, nullptr) != DS_OK) {
    device->Release();
    return nullptr;
  }
  return std::make_unique<DirectSoundMovieSound>(std::move(decoder), device, buffer);
}
