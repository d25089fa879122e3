// Internals shared by the device object, its buffers and the test controls.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "dsound/dsound.h"
#include "dsound/sound_mixer.h"
#include "dsound/sound_testing.h"

// What a device and all of its buffers share; outlives the device while buffers live.
struct SoundDeviceState {
  SoundMixer mixer;
  std::vector<IDirectSoundBuffer*> secondaryBuffers;  // guarded by mixer.lock
  WAVEFORMATEX primaryFormat{};
  DWORD cooperativeLevel = 0;
};

// True when a test asked this call to fail now (consumes the request).
bool SoundFaultFires(SoundFault fault);

// Device objects and buffers alive, for leak checks.
extern std::atomic<int> g_liveSoundObjects;

// Capabilities the device reports.
DWORD ReportedCapsFlags();
DWORD ReportedMaxSampleRate();

// Test mode: no SDL device; the mixer is stepped by hand.
bool ManualSoundDeviceRequested();
void SetManualSoundDeviceState(std::shared_ptr<SoundDeviceState> state);

// A PCM format a secondary buffer can play: 1-2 channels, 8 or 16 bits, a rate the
// mixer accepts, and the block alignment those imply.
bool IsMixablePcmFormat(const WAVEFORMATEX& format);

// New buffers (null when out of memory).
IDirectSoundBuffer* NewPrimaryBuffer(std::shared_ptr<SoundDeviceState> state);
IDirectSoundBuffer* NewSecondaryBuffer(std::shared_ptr<SoundDeviceState> state, DWORD flags,
                                       const WAVEFORMATEX& format, DWORD bytes);
// A buffer sharing the PCM of `original`; DSERR_INVALIDPARAM when `original` is not a
// secondary buffer of this device.
HRESULT DuplicateSecondaryBuffer(const std::shared_ptr<SoundDeviceState>& state, IDirectSoundBuffer* original,
                                 IDirectSoundBuffer** duplicate);
