// Wave format records shared by the sound device and the audio converter. They are
// byte-packed as in the files they describe: WAVEFORMATEX is the 18-byte head of a
// WAV "fmt " chunk.
#pragma once

#include "kernel/win_types.h"

#define WAVE_FORMAT_PCM 0x0001
#define WAVE_FORMAT_ADPCM 0x0002
#define WAVE_FORMAT_IEEE_FLOAT 0x0003
#define WAVE_FORMAT_ALAW 0x0006
#define WAVE_FORMAT_MULAW 0x0007
#define WAVE_FORMAT_IMA_ADPCM 0x0011
#define WAVE_FORMAT_MPEGLAYER3 0x0055
#define WAVE_FORMAT_EXTENSIBLE 0xFFFE

#define MPEGLAYER3_ID_MPEG 1
#define MPEGLAYER3_WFX_EXTRA_BYTES 12

#pragma pack(push, 1)

struct WAVEFORMATEX {
  WORD wFormatTag;
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;
  WORD wBitsPerSample;
  WORD cbSize;  // bytes of format-specific data that follow
};
typedef WAVEFORMATEX* LPWAVEFORMATEX;

struct MPEGLAYER3WAVEFORMAT {
  WAVEFORMATEX wfx;
  WORD wID;
  DWORD fdwFlags;
  WORD nBlockSize;
  WORD nFramesPerBlock;
  WORD nCodecDelay;
};

#pragma pack(pop)

static_assert(sizeof(WAVEFORMATEX) == 18, "WAVEFORMATEX is the 18-byte fmt head");
static_assert(sizeof(MPEGLAYER3WAVEFORMAT) == 30, "MPEGLAYER3WAVEFORMAT is 30 bytes");
