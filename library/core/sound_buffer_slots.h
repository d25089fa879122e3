// The buffers of a sound: creation with duplicates, and the operations on one slot.
// Each slot operation returns -1 when the slot holds no buffer; play, stop, unlock,
// volume and position do not report the device's failures.
#pragma once

#include <cstdint>

#include "core/sound_table.h"

// Buffer 0 with the PCM size and format, then duplicates up to `count` (the first
// failing duplicate ends the list). A device that cannot make buffer 0 even without
// the frequency control ends the program.
int CreateSoundBuffers(const WAVEFORMATEX* format, std::uint32_t bytes, int count, int sound);

int PlayBufferSlot(SoundBufferSlot* slot, int looping);
int StopBufferSlot(SoundBufferSlot* slot);
// The DSBSTATUS bits into *status; -1 when the query fails.
int GetBufferSlotStatus(SoundBufferSlot* slot, DWORD* status);
int LockBufferSlot(SoundBufferSlot* slot, std::uint32_t offset, std::uint32_t bytes, void** region1,
                   DWORD* bytes1, void** region2, DWORD* bytes2);
int UnlockBufferSlot(SoundBufferSlot* slot, void* region1, DWORD bytes1, void* region2, DWORD bytes2);
int SetBufferSlotVolume(SoundBufferSlot* slot, LONG volume);
int SetBufferSlotPosition(SoundBufferSlot* slot, DWORD position);
// The play cursor in bytes, or -1.
int GetBufferSlotPosition(SoundBufferSlot* slot, DWORD* position);
int ReleaseBufferSlot(SoundBufferSlot* slot);
