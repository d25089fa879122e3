#include "core/sound_buffer_slots.h"

#include "core/library_startup.h"
#include "core/sound_system.h"

namespace {

constexpr DWORD kSoundBufferFlags =
    DSBCAPS_GLOBALFOCUS | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN | DSBCAPS_CTRLFREQUENCY | DSBCAPS_STATIC;
constexpr DWORD kFallbackBufferFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN | DSBCAPS_STATIC;

}  // namespace

int CreateSoundBuffers(const WAVEFORMATEX* format, std::uint32_t bytes, int count, int sound) {
  SoundRecord* record = GetSoundRecord(sound);
  IDirectSound* device = GetDirectSoundObject();
  if (record == nullptr || device == nullptr) return -1;
  record->bufferCount = 0;
  if (count <= 0) return 0;

  WAVEFORMATEX pcm = *format;
  DSBUFFERDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = kSoundBufferFlags;
  desc.dwBufferBytes = bytes;
  desc.lpwfxFormat = &pcm;
  IDirectSoundBuffer* first = nullptr;
  if (FAILED(device->CreateSoundBuffer(&desc, &first, nullptr))) {
    desc.dwFlags = kFallbackBufferFlags;
    if (FAILED(device->CreateSoundBuffer(&desc, &first, nullptr))) {
      FatalErrorExit("DirectSoundBuffer の作成に失敗しました");
    }
  }
  record->buffers[0] = {1, first};
  int made = 1;
  for (; made < count && made < kMaxSoundBuffers; ++made) {
    IDirectSoundBuffer* duplicate = nullptr;
    if (FAILED(device->DuplicateSoundBuffer(first, &duplicate))) break;
    record->buffers[made] = {1, duplicate};
  }
  record->bufferCount = made;
  return 0;
}

int PlayBufferSlot(SoundBufferSlot* slot, int looping) {
  if (!slot->inUse) return -1;
  slot->buffer->Play(0, 0, looping ? DSBPLAY_LOOPING : 0);
  return 0;
}

int StopBufferSlot(SoundBufferSlot* slot) {
  if (!slot->inUse) return -1;
  slot->buffer->Stop();
  return 0;
}

int GetBufferSlotStatus(SoundBufferSlot* slot, DWORD* status) {
  if (!slot->inUse || FAILED(slot->buffer->GetStatus(status))) return -1;
  return 0;
}

int LockBufferSlot(SoundBufferSlot* slot, std::uint32_t offset, std::uint32_t bytes, void** region1,
                   DWORD* bytes1, void** region2, DWORD* bytes2) {
  if (!slot->inUse || FAILED(slot->buffer->Lock(offset, bytes, region1, bytes1, region2, bytes2, 0))) return -1;
  return 0;
}

int UnlockBufferSlot(SoundBufferSlot* slot, void* region1, DWORD bytes1, void* region2, DWORD bytes2) {
  if (!slot->inUse) return -1;
  slot->buffer->Unlock(region1, bytes1, region2, bytes2);
  return 0;
}

int SetBufferSlotVolume(SoundBufferSlot* slot, LONG volume) {
  if (!slot->inUse) return -1;
  slot->buffer->SetVolume(volume);
  return 0;
}

int SetBufferSlotPosition(SoundBufferSlot* slot, DWORD position) {
  if (!slot->inUse) return -1;
  slot->buffer->SetCurrentPosition(position);
  return 0;
}

int GetBufferSlotPosition(SoundBufferSlot* slot, DWORD* position) {
  if (!slot->inUse || FAILED(slot->buffer->GetCurrentPosition(position, nullptr))) return -1;
  return 0;
}

int ReleaseBufferSlot(SoundBufferSlot* slot) {
  if (!slot->inUse) return -1;
  slot->buffer->Release();
  *slot = {0, nullptr};
  return 0;
}
