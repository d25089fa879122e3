// The sound system: the sound device, its primary buffer and format, a silent looping
// buffer that keeps the device running, and the device report in the log.
#pragma once

#include "dsound/dsound.h"

// 0, or -1 after logging when the device cannot be started (or it already is).
int InitSoundSystem();
// Frees every sound and releases the device; -1 when not started.
int EndSoundSystem();
// The device, or null while the sound system is not started.
IDirectSound* GetDirectSoundObject();

// Logs one output device of the device list.
BOOL SoundDeviceEnumCallback(LPGUID guid, LPCSTR description, LPCSTR module, LPVOID context);

// Upkeep other parts call. Every sound is a whole decoded buffer, so there are no
// streams to refill and no music objects: each returns 0 at once.
int RefillAllStreamSounds();
int PollMusicPlaying();
int OnMciMusicNotify();
int StopBackgroundMusic();
