// What every sound fuzz target does with its bytes: open them as a sound source over
// a memory stream, decode the whole sound, and close everything.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/sound_source.h"
#include "core/tracked_alloc.h"

inline void DecodeSoundImage(const std::uint8_t* data, std::size_t size) {
  MemoryStream* memory = MemoryStreamOpen(data, size);
  if (memory == nullptr) return;
  const DataStream stream = {GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(memory)};
  SoundSource source;
  if (OpenSoundSource(&stream, &source) == 0) {
    // A source always delivers PCM.
    if (source.format.wFormatTag != WAVE_FORMAT_PCM || source.format.nBlockAlign == 0) __builtin_trap();
    WAVEFORMATEX format;
    void* pcm = nullptr;
    std::uint32_t bytes = 0;
    if (DecodeWholeSource(&source, &format, &pcm, &bytes) == 0) TrackedFree(pcm);
    CloseSoundSource(&source);
  }
  MemoryStreamClose(stream.handle);
  if (TrackedBlocksInUse() != 0) __builtin_trap();  // everything taken was given back
}
