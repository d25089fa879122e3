#include "core/sound_table.h"

#include "core/handle_table.h"
#include "core/log.h"
#include "core/sound_buffer_slots.h"
#include "core/sound_system.h"
#include "core/sound_workers.h"
#include "core/tracked_alloc.h"

namespace {

HANDLE_TABLE(g_sounds, kSoundHandleType, kMaxSounds);

}  // namespace

int AddSoundData(int) {
  const int slot = FindFreeHandleSlot(&g_sounds);
  if (slot < 0) return LogWrite("サウンドの数が許容量を越えました\n");
  void* record = TRACKED_CALLOC(sizeof(SoundRecord));
  if (record == nullptr) return LogPrintf("メモリ領域の確保に失敗しました in AddSoundData");
  return InsertHandleRecord(&g_sounds, slot, record);
}

SoundRecord* GetSoundRecord(int handle) { return static_cast<SoundRecord*>(FindHandleRecord(&g_sounds, handle)); }

int FreeSoundBody(int handle, int) {
  if (GetDirectSoundObject() == nullptr) return -1;
  SoundRecord* record = GetSoundRecord(handle);
  if (record == nullptr) return -1;
  if (record->buffers[0].inUse) StopSoundBody(handle);
  for (SoundBufferSlot& slot : record->buffers) ReleaseBufferSlot(&slot);
  TrackedFree(record);
  RemoveHandleRecord(&g_sounds, HandleSlot(handle));
  return 0;
}

int FreeAllSounds() {
  if (GetDirectSoundObject() == nullptr) return -1;
  for (int slot = 0; slot < g_sounds.highWater; ++slot) {
    if (g_sounds.records[slot] != nullptr) FreeSoundBody(HandleOfSlot(&g_sounds, slot), 0);
  }
  return 0;
}
