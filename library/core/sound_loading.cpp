#include "core/sound_loading.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "core/file_layer.h"
#include "core/log.h"
#include "core/sound_buffer_slots.h"
#include "core/sound_source.h"
#include "core/sound_system.h"
#include "core/sound_workers.h"
#include "core/tracked_alloc.h"

namespace {

// PCM the device can hold: the formats its buffers take and a size it accepts.
bool IsPlayablePcm(const WAVEFORMATEX& format, std::uint32_t bytes) {
  const DWORD channels = format.nChannels;
  const DWORD bits = format.wBitsPerSample;
  return format.wFormatTag == WAVE_FORMAT_PCM && (channels == 1 || channels == 2) && (bits == 8 || bits == 16) &&
         format.nBlockAlign == channels * bits / 8 && format.nSamplesPerSec >= DSBFREQUENCY_MIN &&
         format.nSamplesPerSec <= DSBFREQUENCY_MAX && bytes >= DSBSIZE_MIN && bytes <= DSBSIZE_MAX &&
         bytes >= format.nBlockAlign;
}

// Copies the PCM into every buffer of the sound.
int FillSoundBuffers(SoundRecord* record, const BYTE* pcm, std::uint32_t bytes) {
  for (int i = 0; i < record->bufferCount; ++i) {
    void* region1 = nullptr;
    void* region2 = nullptr;
    DWORD bytes1 = 0;
    DWORD bytes2 = 0;
    if (LockBufferSlot(&record->buffers[i], 0, bytes, &region1, &bytes1, &region2, &bytes2) != 0) return -1;
    std::memcpy(region1, pcm, bytes1);
    if (region2 != nullptr) std::memcpy(region2, pcm + bytes1, std::min<DWORD>(bytes2, bytes - bytes1));
    UnlockBufferSlot(&record->buffers[i], region1, bytes1, region2, bytes2);
  }
  return 0;
}

// The whole file in a tracked block, read through the file layer (archives first).
void* ReadWholeFile(const char* file, std::uint32_t* size) {
  const StreamHandle handle = FileOpen(file);
  if (handle == 0) {
    LogPrintf("右記のファイルのオープンに失敗しました：%s", file);
    return nullptr;
  }
  FileSeek(handle, 0, 2);
  const std::int64_t length = FileTell(handle);
  FileSeek(handle, 0, 0);
  void* block = length >= 0 && length <= UINT32_MAX ? TRACKED_ALLOC(static_cast<std::size_t>(length)) : nullptr;
  if (block == nullptr) {
    LogPrintf("右記のファイルのロードに必要なメモリの確保に失敗しました：%s", file);
    FileClose(handle);
    return nullptr;
  }
  const std::size_t read = FileReadBlock(block, 1, static_cast<std::size_t>(length), handle);
  FileClose(handle);
  if (read != static_cast<std::size_t>(length)) {
    TrackedFree(block);
    return nullptr;
  }
  *size = static_cast<std::uint32_t>(length);
  return block;
}

}  // namespace

int LoadSoundFileBody(const char* file, int bufferCount, int) {
  if (GetDirectSoundObject() == nullptr) return -1;
  std::uint32_t size = 0;
  void* image = ReadWholeFile(file, &size);
  if (image == nullptr) return LogPrintf("右記の音声ファイルのロードに失敗しました_1：%s", file);
  const int sound = CreateSoundFromMemory(image, size, std::min(bufferCount, kMaxSoundBuffers), -1);
  if (sound < 0) LogPrintf("右記の音声ファイルのロードに失敗しました_2：%s", file);
  TrackedFree(image);
  return sound;
}

int LoadSoundFileForward(const char* file, int bufferCount, int ignored) {
  return LoadSoundFileBody(file, bufferCount, ignored);
}

int CreateSoundFromMemory(const void* data, std::uint32_t size, int bufferCount, int) {
  if (GetDirectSoundObject() == nullptr || bufferCount > kMaxSoundBuffers) return -1;
  const int sound = AddSoundData(-1);
  if (sound < 0) return -1;

  MemoryStream* memory = MemoryStreamOpen(data, size);
  if (memory == nullptr) {
    FreeSoundBody(sound, 0);
    return -1;
  }
  const DataStream stream = {GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(memory)};
  SoundSource source;
  if (OpenSoundSource(&stream, &source) != 0) {
    LogPrintf("音声ファイルのＰＣＭへの変換に失敗しました");
    MemoryStreamClose(stream.handle);
    FreeSoundBody(sound, 0);
    return -1;
  }
  WAVEFORMATEX format;
  void* pcm = nullptr;
  std::uint32_t bytes = 0;
  const int decoded = DecodeWholeSource(&source, &format, &pcm, &bytes);
  CloseSoundSource(&source);
  MemoryStreamClose(stream.handle);
  if (decoded != 0) {
    LogPrintf("音声ファイルを格納するメモリ領域の確保に失敗しました");
    FreeSoundBody(sound, 0);
    return -1;
  }

  // A sound that decodes to nothing, or to PCM no buffer takes, fails its load rather
  // than the device.
  if (!IsPlayablePcm(format, bytes) || CreateSoundBuffers(&format, bytes, bufferCount, sound) != 0) {
    TrackedFree(pcm);
    FreeSoundBody(sound, 0);
    return -1;
  }
  SoundRecord* record = GetSoundRecord(sound);
  record->format = format;
  if (FillSoundBuffers(record, static_cast<const BYTE*>(pcm), bytes) != 0) {
    LogPrintf("サウンドデータの転送に失敗しました_1");
    TrackedFree(pcm);
    FreeSoundBody(sound, 0);
    return -1;
  }
  TrackedFree(pcm);
  return sound;
}
