// Workers of the sound entry points.
#pragma once

int LoadSoundFileBody(const char* file, int bufferCount, int ignored);
int FreeSoundBody(int sound, int ignored);
int StartSoundBody(int sound, int playType, int fromStart);
int StopSoundBody(int sound);
int IsSoundPlayingBody(int sound);
int SetSoundVolumeBody(int volume, int sound);
