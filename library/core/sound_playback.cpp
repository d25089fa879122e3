// Playing, stopping, querying and the volume of sounds.
#include <algorithm>
#include <cmath>

#include "core/sound_buffer_slots.h"
#include "core/sound_system.h"
#include "core/sound_workers.h"
#include "core/window_workers.h"
#include "float_to_int.h"
#include "kernel/clock.h"

namespace {

constexpr int kPlayWait = 0;
constexpr int kPlayLoop = 3;
constexpr int kMaxVolume = 255;

SoundRecord* StartedSound(int handle) {
  return GetDirectSoundObject() != nullptr ? GetSoundRecord(handle) : nullptr;
}

// Waits, pumping messages, until the sound has ended or the pump says quit. The wait
// is on the program's clock, which the sound follows under the tests' virtual clock.
void WaitUntilFinished(int handle) {
  if (ProcessMessageBody() != 0) return;
  while (IsSoundPlayingBody(handle) == 1) {
    SleepOnClock(1);
    if (ProcessMessageBody() != 0) return;
  }
}

}  // namespace

// A sound rotates through its buffers: each start takes the next one, so starts
// overlap as far as there are buffers and then restart the oldest.
int StartSoundBody(int handle, int playType, int fromStart) {
  SoundRecord* record = StartedSound(handle);
  if (record == nullptr || record->bufferCount <= 0) return -1;
  // The last start's play cursor (0 when that slot is empty or its sound has ended).
  DWORD position = 0;
  if (GetBufferSlotPosition(&record->buffers[record->currentBuffer], &position) != 0) position = 0;
  int next = record->currentBuffer + 1;
  if (next >= record->bufferCount) next = 0;
  record->currentBuffer = next;
  SoundBufferSlot* slot = &record->buffers[next];

  const bool restart = fromStart == 1;
  DWORD status = 0;
  if (GetBufferSlotStatus(slot, &status) != 0) return -1;
  if (status & DSBSTATUS_PLAYING) {
    if (!restart) return 0;
    StopBufferSlot(slot);
  }
  SetBufferSlotPosition(slot, restart ? 0 : position);
  PlayBufferSlot(slot, playType == kPlayLoop);
  if (playType == kPlayWait) WaitUntilFinished(handle);
  return 0;
}

int StopSoundBody(int handle) {
  SoundRecord* record = StartedSound(handle);
  if (record == nullptr) return -1;
  for (int i = 0; i < record->bufferCount; ++i) {
    DWORD status = 0;
    if (GetBufferSlotStatus(&record->buffers[i], &status) != 0) return -1;
    if (status & DSBSTATUS_PLAYING) StopBufferSlot(&record->buffers[i]);
  }
  return 0;
}

int IsSoundPlayingBody(int handle) {
  SoundRecord* record = StartedSound(handle);
  if (record == nullptr) return -1;
  for (int i = 0; i < record->bufferCount; ++i) {
    DWORD status = 0;
    if (GetBufferSlotStatus(&record->buffers[i], &status) == 0 && (status & DSBSTATUS_PLAYING)) return 1;
  }
  return 0;
}

// Volume 1..255 is 1000 x log10(volume / 255) hundredths of a decibel, so the
// amplitude goes with the square root of the volume; 0 is silence.
int SetSoundVolumeBody(int volume, int handle) {
  SoundRecord* record = StartedSound(handle);
  if (record == nullptr) return -1;
  volume = std::min(volume, kMaxVolume);
  LONG level = DSBVOLUME_MIN;
  if (volume > 0) {
    level = std::max(DoubleToInt(1000.0 * std::log10(volume / static_cast<double>(kMaxVolume))), DSBVOLUME_MIN);
  }
  for (int i = 0; i < record->bufferCount; ++i) SetBufferSlotVolume(&record->buffers[i], level);
  return 0;
}
