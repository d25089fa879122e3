// The sound device object: opens the SDL output (or the manual test device), creates
// and duplicates buffers, reports capabilities, and lists the output devices.
#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <new>
#include <string>

#include "com/com_object.h"
#include "dsound/sound_device_state.h"

const CLSID CLSID_DirectSound = {0x5A0E3C01, 0x7D21, 0x4B6E, {0x9A, 0x31, 0x10, 0x53, 0x6F, 0x75, 0x6E, 0x64}};
const IID IID_IDirectSound = {0x5A0E3C02, 0x7D21, 0x4B6E, {0x9A, 0x31, 0x10, 0x53, 0x6F, 0x75, 0x6E, 0x64}};
const IID IID_IDirectSoundBuffer = {0x5A0E3C03, 0x7D21, 0x4B6E, {0x9A, 0x31, 0x10, 0x53, 0x6F, 0x75, 0x6E, 0x64}};

namespace {

constexpr int kDevicePeriodFrames = 1024;

// A sound card shows as PCM device files; without one, the drivers that open the card
// directly (ALSA, and sndio over it) find nothing and their libraries complain on
// standard error, while the sound servers' drivers fail quietly.
bool HasSoundCard() {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/snd", error)) {
    if (entry.path().filename().string().rfind("pcmC", 0) == 0) return true;
  }
  return false;
}

bool IsOneOf(const char* driver, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    if (std::strcmp(driver, name) == 0) return true;
  }
  return false;
}

// Starts SDL's audio; unless SDL_AUDIODRIVER names a driver, with the drivers that can
// reach a device here, in SDL's order (never the file and null outputs, which SDL takes
// only when they are named).
bool StartSdlAudio() {
  const char* named = std::getenv("SDL_AUDIODRIVER");
  if (named == nullptr || named[0] == '\0') {
    const bool card = HasSoundCard();
    std::string drivers;
    for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i) {
      const char* driver = SDL_GetAudioDriver(i);
      if (driver == nullptr || IsOneOf(driver, {"disk", "dummy"})) continue;
      if (!card && IsOneOf(driver, {"alsa", "sndio"})) continue;
      drivers += drivers.empty() ? driver : std::string(",") + driver;
    }
    if (drivers.empty()) return false;
    SDL_SetHint(SDL_HINT_AUDIODRIVER, drivers.c_str());
  }
  return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

void SDLCALL FillAudio(void* userdata, Uint8* stream, int length) {
  SoundDeviceState* state = static_cast<SoundDeviceState*>(userdata);
  std::lock_guard<std::mutex> hold(state->mixer.lock);
  state->mixer.Render(reinterpret_cast<std::int16_t*>(stream), length / (kMixerChannels * 2));
}

class DirectSoundDevice final : public ComObject<IDirectSound, IID_IDirectSound> {
 public:
  DirectSoundDevice() { ++g_liveSoundObjects; }
  ~DirectSoundDevice() override {
    if (sdlDevice_ != 0) {
      SDL_CloseAudioDevice(sdlDevice_);  // returns once the callback has finished
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    --g_liveSoundObjects;
  }

  HRESULT Initialize(const GUID* device) override {
    if (state_ != nullptr) return DSERR_ALREADYINITIALIZED;
    if (device != nullptr || SoundFaultFires(SoundFault::Initialize)) return DSERR_NODRIVER;
    auto state = std::make_shared<SoundDeviceState>();
    if (ManualSoundDeviceRequested()) {
      SetManualSoundDeviceState(state);
    } else if (!OpenSdlOutput(state.get())) {
      return DSERR_NODRIVER;
    }
    state_ = std::move(state);
    return DS_OK;
  }

  HRESULT SetCooperativeLevel(HWND, DWORD level) override {
    if (state_ == nullptr) return DSERR_UNINITIALIZED;
    if (level != DSSCL_NORMAL && level != DSSCL_PRIORITY) return DSERR_INVALIDPARAM;
    if (SoundFaultFires(SoundFault::SetCooperativeLevel)) return DSERR_GENERIC;
    std::lock_guard<std::mutex> hold(state_->mixer.lock);
    state_->cooperativeLevel = level;
    return DS_OK;
  }

  HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer, IUnknown* outer) override {
    if (state_ == nullptr) return DSERR_UNINITIALIZED;
    if (desc == nullptr || buffer == nullptr || outer != nullptr || desc->dwSize != sizeof(DSBUFFERDESC)) {
      return DSERR_INVALIDPARAM;
    }
    *buffer = nullptr;
    if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
      if (desc->dwBufferBytes != 0 || desc->lpwfxFormat != nullptr) return DSERR_INVALIDPARAM;
      if (SoundFaultFires(SoundFault::CreatePrimaryBuffer)) return DSERR_GENERIC;
      *buffer = NewPrimaryBuffer(state_);
    } else {
      if (desc->lpwfxFormat == nullptr) return DSERR_INVALIDPARAM;
      if (!IsMixablePcmFormat(*desc->lpwfxFormat)) return DSERR_BADFORMAT;
      if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX ||
          desc->dwBufferBytes < desc->lpwfxFormat->nBlockAlign) {
        return DSERR_INVALIDPARAM;
      }
      if (SoundFaultFires(SoundFault::CreateSecondaryBuffer)) return DSERR_OUTOFMEMORY;
      *buffer = NewSecondaryBuffer(state_, desc->dwFlags, *desc->lpwfxFormat, desc->dwBufferBytes);
    }
    return *buffer != nullptr ? DS_OK : DSERR_OUTOFMEMORY;
  }

  HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** duplicate) override {
    if (state_ == nullptr) return DSERR_UNINITIALIZED;
    if (original == nullptr || duplicate == nullptr) return DSERR_INVALIDPARAM;
    *duplicate = nullptr;
    if (SoundFaultFires(SoundFault::DuplicateBuffer)) return DSERR_OUTOFMEMORY;
    return DuplicateSecondaryBuffer(state_, original, duplicate);
  }

  // The mixer is software only: every format, any rate the buffers accept, no
  // hardware memory.
  HRESULT GetCaps(DSCAPS* caps) override {
    if (state_ == nullptr) return DSERR_UNINITIALIZED;
    if (caps == nullptr || caps->dwSize != sizeof(DSCAPS)) return DSERR_INVALIDPARAM;
    caps->dwFlags = ReportedCapsFlags();
    caps->dwMinSecondarySampleRate = DSBFREQUENCY_MIN;
    caps->dwMaxSecondarySampleRate = ReportedMaxSampleRate();
    caps->dwTotalHwMemBytes = 0;
    caps->dwFreeHwMemBytes = 0;
    return DS_OK;
  }


 private:

  bool OpenSdlOutput(SoundDeviceState* state) {
    if (!StartSdlAudio()) return false;
    SDL_AudioSpec want{};
    want.freq = kMixerRate;
    want.format = AUDIO_S16SYS;
    want.channels = kMixerChannels;
    want.samples = kDevicePeriodFrames;
    want.callback = FillAudio;
    want.userdata = state;
    SDL_AudioSpec have{};
    sdlDevice_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (sdlDevice_ == 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    SDL_PauseAudioDevice(sdlDevice_, 0);
    return true;
  }

  std::shared_ptr<SoundDeviceState> state_;
  SDL_AudioDeviceID sdlDevice_ = 0;
};

}  // namespace

HRESULT CreateDirectSoundObject(REFIID iid, void** object) {
  if (!(iid == IID_IDirectSound)) return E_NOINTERFACE;
  if (SoundFaultFires(SoundFault::CreateDevice)) return E_OUTOFMEMORY;
  IDirectSound* device = new (std::nothrow) DirectSoundDevice();
  *object = device;
  return device != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT DirectSoundEnumerateA(LPDSENUMCALLBACKA callback, LPVOID context) {
  if (callback == nullptr) return DSERR_INVALIDPARAM;
  if (!callback(nullptr, "Primary Sound Driver", "", context)) return DS_OK;
  const bool ownInit = SDL_WasInit(SDL_INIT_AUDIO) == 0;
  if (ownInit && !StartSdlAudio()) return DS_OK;
  const char* driver = SDL_GetCurrentAudioDriver();
  const int count = SDL_GetNumAudioDevices(0);
  for (int i = 0; i < count; ++i) {
    GUID id = {static_cast<DWORD>(i + 1), 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
    const char* name = SDL_GetAudioDeviceName(i, 0);
    if (!callback(&id, name != nullptr ? name : "", driver != nullptr ? driver : "", context)) break;
  }
  if (ownInit) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return DS_OK;
}
