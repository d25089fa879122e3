// Test controls of the sound device (part of platform/testing.h).
#pragma once

#include <cstdint>

#include "kernel/wave_format.h"
#include "kernel/win_types.h"

// Calls of the sound device whose failure a test can force.
enum class SoundFault {
  CreateDevice,           // CoCreateInstance(CLSID_DirectSound)
  Initialize,
  SetCooperativeLevel,
  CreatePrimaryBuffer,
  SetFormat,              // of the primary buffer
  CreateSecondaryBuffer,
  DuplicateBuffer,
  Lock,
  Count
};

// With 1, devices initialised from now on open no SDL audio device: nothing plays
// until the test steps the mixer with StepSoundMixer. 0 goes back to SDL.
void SetManualSoundDevice(int on);

// Mixes `frames` stereo frames (16-bit, 44100 Hz) on the manual device into `out`
// (may be null) and advances every playing buffer. -1 when no manual device is open.
int StepSoundMixer(std::int16_t* out, int frames);

// Capabilities that devices report from now on (DSCAPS flags, maximum secondary rate).
void SetSoundDeviceCaps(DWORD flags, DWORD maxSecondaryRate);

// The format last set on the manual device's primary buffer; -1 when no manual device.
int GetPrimaryBufferFormat(WAVEFORMATEX* format);

// The call `fault` fails `failures` times in a row, after `succeedFirst` calls that
// succeed.
void InjectSoundFault(SoundFault fault, int succeedFirst, int failures = 1);

// Back to a fresh process's controls: SDL output, every capability, no faults.
void ResetSoundDeviceControls();

// Device objects and sound buffers not yet released.
int LiveSoundObjectCount();
