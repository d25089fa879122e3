// Sound effects by number and the twenty music channels with their fades. Fades
// step once per frame, so they run on frames, not on time.
#pragma once

constexpr int kNoHandle = -1;  // a freed or never loaded handle variable

// Music fade modes of SetBgmFade.
enum BgmFade : int {
  kFadeNone = 0,
  kFadeOutStop = 1,   // -1 per frame, stop at 0
  kFadeIn = 2,        // +1 per frame to 255 (starts a channel not playing)
  kFadeOutStopFast = 3,
  kFadeInFast = 4,
  kFadeDown = 5,      // -1 per frame to 1, keeps playing
  kFadeFull = 6,      // full volume at once
  kFadeOutStopSlow = 7,
  kFadeInSlow = 8,    // does not start the channel
  kFadeStop = 9,
};

void PlaySe(int se, int volume);
void PlaySeIfIdle(int se, int volume);
void SetBgmFade(int channel, int mode);
void UpdateBgmFades();

// Stops and frees a channel's sound; the channel keeps its volume and fade mode.
void FreeBgmChannel(int channel);
