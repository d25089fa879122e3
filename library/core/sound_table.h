// The sound table: every loaded sound, effects and music alike, is a record of up to
// ten sound buffers holding the whole decoded PCM (one buffer and its duplicates).
#pragma once

#include "dsound/dsound.h"
#include "kernel/wave_format.h"

constexpr int kSoundHandleType = 2;
constexpr int kMaxSounds = 4096;
constexpr int kMaxSoundBuffers = 10;

struct SoundBufferSlot {
  int inUse;
  IDirectSoundBuffer* buffer;
};

// The check number lives in the handle table.
struct SoundRecord {
  SoundBufferSlot buffers[kMaxSoundBuffers];
  WAVEFORMATEX format;  // PCM of the buffers
  int bufferCount;      // 0..10
  int currentBuffer;    // the buffer of the last start
};

// A new, zeroed record in a free slot: its handle, or -1 when the table is full or
// memory runs out.
int AddSoundData(int ignored);
// The record of a valid sound handle, or null.
SoundRecord* GetSoundRecord(int handle);
// Frees every sound in the table; -1 when the sound system is not started.
int FreeAllSounds();
