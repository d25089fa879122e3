// Primary and secondary sound buffers.
#include <algorithm>
#include <new>

#include "com/com_object.h"
#include "dsound/sound_device_state.h"

namespace {

// A buffer of samples the mixer plays. Its PCM is written directly through Lock; the
// mixer reads it at mix time, so the write cursor is the play cursor.
class SecondaryBuffer final : public ComObject<IDirectSoundBuffer, IID_IDirectSoundBuffer> {
 public:
  SecondaryBuffer(std::shared_ptr<SoundDeviceState> state, DWORD flags, const WAVEFORMATEX& format,
                  std::shared_ptr<SharedPcm> pcm, float gain)
      : state_(std::move(state)), flags_(flags) {
    voice_.format = format;
    voice_.pcm = std::move(pcm);
    voice_.frames = voice_.pcm->size / format.nBlockAlign;
    voice_.gain = gain;
    std::lock_guard<std::mutex> hold(state_->mixer.lock);
    state_->mixer.voices.push_back(&voice_);
    state_->secondaryBuffers.push_back(this);
    ++g_liveSoundObjects;
  }

  // A buffer on the same PCM with the same controls and volume, stopped at position 0.
  SecondaryBuffer* Duplicate() {
    float gain;
    {
      std::lock_guard<std::mutex> hold(state_->mixer.lock);
      gain = voice_.gain;
    }
    return new (std::nothrow) SecondaryBuffer(state_, flags_, voice_.format, voice_.pcm, gain);
  }

  HRESULT GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) override {
    std::lock_guard<std::mutex> hold(state_->mixer.lock);
    state_->mixer.CatchUp(voice_);
    const DWORD position = static_cast<DWORD>(voice_.position >> 32) * voice_.format.nBlockAlign;
    if (playCursor != nullptr) *playCursor = position;
    if (writeCursor != nullptr) *writeCursor = position;
    return DS_OK;
  }

  HRESULT GetStatus(DWORD* status) override {
    if (status == nullptr) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> hold(state_->mixer.lock);
    state_->mixer.CatchUp(voice_);
    *status = 0;
    if (voice_.playing) *status = DSBSTATUS_PLAYING | (voice_.looping ? DSBSTATUS_LOOPING : 0);
    return DS_OK;
  }

  HRESULT Lock(DWORD offset, DWORD bytes, void** region1, DWORD* bytes1, void** region2, DWORD* bytes2,
               DWORD flags) override {
    const DWORD size = voice_.pcm->size;
    if (flags & DSBLOCK_ENTIREBUFFER) bytes = size;
    if (region1 == nullptr || bytes1 == nullptr || offset >= size || bytes == 0 || bytes > size) {
      return DSERR_INVALIDPARAM;
    }
    if (SoundFaultFires(SoundFault::Lock)) return DSERR_GENERIC;
    const DWORD first = std::min(bytes, size - offset);
    const DWORD rest = bytes - first;
    if (rest > 0 && (region2 == nullptr || bytes2 == nullptr)) return DSERR_INVALIDPARAM;
    BYTE* base = voice_.pcm->bytes.get();
    *region1 = base + offset;
    *bytes1 = first;
    if (region2 != nullptr) *region2 = rest > 0 ? base : nullptr;
    if (bytes2 != nullptr) *bytes2 = rest;
    return DS_OK;
  }

  HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override {
    if (reserved != 0 || priority != 0) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> hold(state_->mixer.lock);
    state_->mixer.CatchUp(voice_);
    voice_.playing = true;
    voice_.looping = (flags & DSBPLAY_LOOPING) != 0;
    state_->mixer.Reanchor(voice_);
    return DS_OK;
  }

  HRESULT SetCurrentPosition(DWORD position) override {
    if (position >= voice_.pcm->size) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> hold(state_->mixer.lock);
    voice_.position = static_cast<std::uint64_t>(position / voice_.format.nBlockAlign) << 32;
    state_->mixer.Reanchor(voice_);
    return DS_OK;
  }

  HRESULT SetFormat(const WAVEFORMATEX*) override { return DSERR_INVALIDCALL; }

  HRESULT SetVolume(LONG volume) override {
    if ((flags_ & DSBCAPS_CTRLVOLUME) == 0) return DSERR_CONTROLUNAVAIL;
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
    std::lock_guard<std::mutex> hold(state_->mixer.lock);
    voice_.gain = VolumeToGain(volume);
    return DS_OK;
  }

  HRESULT Stop() override {
    std::lock_guard<std::mutex> hold(state_->mixer.lock);
    state_->mixer.CatchUp(voice_);
    voice_.playing = false;
    voice_.anchored = false;
    return DS_OK;
  }

  HRESULT Unlock(void* region1, DWORD bytes1, void*, DWORD) override {
    const BYTE* base = voice_.pcm->bytes.get();
    const BYTE* start = static_cast<const BYTE*>(region1);
    if (start < base || start + bytes1 > base + voice_.pcm->size) return DSERR_INVALIDPARAM;
    return DS_OK;
  }

  // The mixer lets go of the voice before it goes.
  ~SecondaryBuffer() override {
    {
      std::lock_guard<std::mutex> hold(state_->mixer.lock);
      auto& voices = state_->mixer.voices;
      voices.erase(std::remove(voices.begin(), voices.end(), &voice_), voices.end());
      auto& buffers = state_->secondaryBuffers;
      buffers.erase(std::remove(buffers.begin(), buffers.end(), this), buffers.end());
    }
    --g_liveSoundObjects;
  }

 private:

  std::shared_ptr<SoundDeviceState> state_;
  DWORD flags_;
  MixerVoice voice_;
};

// The primary buffer stands for the device output: it records the format it is given
// and whether it was played; it holds no samples of its own.
class PrimaryBuffer final : public ComObject<IDirectSoundBuffer, IID_IDirectSoundBuffer> {
 public:
  explicit PrimaryBuffer(std::shared_ptr<SoundDeviceState> state) : state_(std::move(state)) { ++g_liveSoundObjects; }
  ~PrimaryBuffer() override { --g_liveSoundObjects; }

  HRESULT GetCurrentPosition(DWORD*, DWORD*) override { return DSERR_INVALIDCALL; }
  HRESULT GetStatus(DWORD* status) override {
    if (status == nullptr) return DSERR_INVALIDPARAM;
    *status = playing_ ? DSBSTATUS_PLAYING | DSBSTATUS_LOOPING : 0;
    return DS_OK;
  }
  HRESULT Lock(DWORD, DWORD, void**, DWORD*, void**, DWORD*, DWORD) override { return DSERR_INVALIDCALL; }
  HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override {
    if (reserved != 0 || priority != 0 || (flags & DSBPLAY_LOOPING) == 0) return DSERR_INVALIDPARAM;
    playing_ = true;
    return DS_OK;
  }
  HRESULT SetCurrentPosition(DWORD) override { return DSERR_INVALIDCALL; }
  HRESULT SetFormat(const WAVEFORMATEX* format) override {
    if (format == nullptr || !IsMixablePcmFormat(*format)) return DSERR_BADFORMAT;
    std::lock_guard<std::mutex> hold(state_->mixer.lock);
    if (state_->cooperativeLevel < DSSCL_PRIORITY) return DSERR_PRIOLEVELNEEDED;
    if (SoundFaultFires(SoundFault::SetFormat)) return DSERR_GENERIC;
    state_->primaryFormat = *format;
    return DS_OK;
  }
  HRESULT SetVolume(LONG) override { return DSERR_CONTROLUNAVAIL; }
  HRESULT Stop() override {
    playing_ = false;
    return DS_OK;
  }
  HRESULT Unlock(void*, DWORD, void*, DWORD) override { return DSERR_INVALIDCALL; }

 private:

  std::shared_ptr<SoundDeviceState> state_;
  bool playing_ = false;
};

}  // namespace

bool IsMixablePcmFormat(const WAVEFORMATEX& format) {
  const DWORD channels = format.nChannels;
  const DWORD bits = format.wBitsPerSample;
  return format.wFormatTag == WAVE_FORMAT_PCM && (channels == 1 || channels == 2) && (bits == 8 || bits == 16) &&
         format.nSamplesPerSec >= DSBFREQUENCY_MIN && format.nSamplesPerSec <= DSBFREQUENCY_MAX &&
         format.nBlockAlign == channels * bits / 8;
}

IDirectSoundBuffer* NewPrimaryBuffer(std::shared_ptr<SoundDeviceState> state) {
  return new (std::nothrow) PrimaryBuffer(std::move(state));
}

IDirectSoundBuffer* NewSecondaryBuffer(std::shared_ptr<SoundDeviceState> state, DWORD flags,
                                       const WAVEFORMATEX& format, DWORD bytes) {
  auto pcm = std::make_shared<SharedPcm>();
  pcm->bytes.reset(new (std::nothrow) BYTE[bytes]());
  if (pcm->bytes == nullptr) return nullptr;
  pcm->size = bytes;
  return new (std::nothrow) SecondaryBuffer(std::move(state), flags, format, std::move(pcm), 1.0f);
}

HRESULT DuplicateSecondaryBuffer(const std::shared_ptr<SoundDeviceState>& state, IDirectSoundBuffer* original,
                                 IDirectSoundBuffer** duplicate) {
  bool known;
  {
    std::lock_guard<std::mutex> hold(state->mixer.lock);
    const auto& buffers = state->secondaryBuffers;
    known = std::find(buffers.begin(), buffers.end(), original) != buffers.end();
  }
  if (!known) return DSERR_INVALIDPARAM;
  *duplicate = static_cast<SecondaryBuffer*>(original)->Duplicate();
  return *duplicate != nullptr ? DS_OK : DSERR_OUTOFMEMORY;
}
