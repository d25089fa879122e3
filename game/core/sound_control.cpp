#include "core/sound_control.h"

#include "core/game_state.h"
#include "game_library.h"

namespace {

constexpr float kFullVolume = 255.0f;
constexpr int kPlayBackground = 1;
constexpr int kPlayLoop = 3;

void ApplyVolume(int channel) {
  if (BgmHandles[channel] != kNoHandle) SetSoundVolume(FloatToInt(BgmVolume[channel]), BgmHandles[channel]);
}

// A fade-in brings the channel's piece from the top when it is not playing: newly
// loaded, or stopped. The volume alone cannot tell, since a new piece may be loaded
// while the channel's last fade-out is still stepping down. A playing piece goes on.
void StartLoopingUnlessPlaying(int channel) {
  const int handle = BgmHandles[channel];
  if (handle != kNoHandle && IsSoundPlaying(handle) == 0) StartSound(handle, kPlayLoop, 1);
}

void Stop(int channel) {
  if (BgmHandles[channel] != kNoHandle) StopSound(BgmHandles[channel]);
}

// A fade-out step: the volume falls, is applied, and at `floor` or below the fade ends.
void StepDown(int channel, double step, float floor, bool stopAtEnd) {
  BgmVolume[channel] = static_cast<float>(BgmVolume[channel] - step);
  ApplyVolume(channel);
  if (BgmVolume[channel] > floor) return;
  BgmFadeMode[channel] = kFadeNone;
  if (stopAtEnd) {
    BgmVolume[channel] = 0.0f;
    Stop(channel);
  } else {
    BgmVolume[channel] = 1.0f;
  }
}

void StepUp(int channel, double step) {
  BgmVolume[channel] = static_cast<float>(BgmVolume[channel] + step);
  ApplyVolume(channel);
  if (BgmVolume[channel] >= kFullVolume) BgmFadeMode[channel] = kFadeNone;
}

void StepChannel(int channel) {
  // Each test reads the mode afresh; every step that ends a fade sets it to 0.
  if (BgmFadeMode[channel] == kFadeOutStop) StepDown(channel, 1.0, 0.0f, true);
  if (BgmFadeMode[channel] == kFadeIn) StepUp(channel, 1.0);
  if (BgmFadeMode[channel] == kFadeOutStopFast) StepDown(channel, 3.0, 0.0f, true);
  if (BgmFadeMode[channel] == kFadeInFast) StepUp(channel, 3.0);
  if (BgmFadeMode[channel] == kFadeDown) StepDown(channel, 1.0, 2.0f, false);
  if (BgmFadeMode[channel] == kFadeOutStopSlow) StepDown(channel, 0.2, 0.0f, true);
  if (BgmFadeMode[channel] == kFadeInSlow) StepUp(channel, 0.2);
  if (BgmFadeMode[channel] == kFadeStop) StepDown(channel, 255.0, 0.0f, true);
}

}  // namespace

void PlaySe(int se, int volume) {
  const int handle = SeHandles[se];
  if (handle == kNoHandle) return;
  SetSoundVolume(volume, handle);
  StartSound(handle, kPlayBackground, 1);
}

void PlaySeIfIdle(int se, int volume) {
  if (IsSoundPlaying(SeHandles[se]) != 0) return;
  PlaySe(se, volume);
}

void SetBgmFade(int channel, int mode) {
  BgmFadeMode[channel] = mode;
  switch (mode) {
    case kFadeIn:
    case kFadeInFast:
      StartLoopingUnlessPlaying(channel);
      break;
    case kFadeFull:
      StartLoopingUnlessPlaying(channel);
      BgmVolume[channel] = kFullVolume;
      ApplyVolume(channel);
      break;
    default:
      break;
  }
}

void UpdateBgmFades() {
  for (int channel = 0; channel < kBgmChannels; ++channel) StepChannel(channel);
}

void FreeBgmChannel(int channel) {
  if (BgmHandles[channel] == kNoHandle) return;
  StopSound(BgmHandles[channel]);
  FreeSound(BgmHandles[channel], 0);
  BgmHandles[channel] = kNoHandle;
}
