// What every sound fuzz target does with its bytes: open them as a sound source over
// a memory stream, decode the whole sound, and close everything.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/sound_source.h"
#include "core/tracked_alloc.h"

// Whether a source that opened as MP3 frames is decoded too. The WAV and Ogg targets
// only open those: bytes that are no WAV or Ogg stream mostly hold a frame sync
// somewhere, and decoding the frames found, the MP3 target's work, took most of their
// time.
enum class Mp3Frames { Decoded, OpenedOnly };

inline void DecodeSoundImage(const std::uint8_t* data, std::size_t size, Mp3Frames mp3Frames) {
  MemoryStream* memory = MemoryStreamOpen(data, size);
  if (memory == nullptr) return;
  const DataStream stream = {GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(memory)};
  SoundSource source;
  if (OpenSoundSource(&stream, &source) == 0) {
    // A source always delivers PCM.
    if (source.format.wFormatTag != WAVE_FORMAT_PCM || source.format.nBlockAlign == 0) __builtin_trap();
    // Only the MP3 opener counts the samples of what it converts.
    const bool mp3 = source.kind == kSourceAcm && source.totalSamples >= 0;
    WAVEFORMATEX format;
    void* pcm = nullptr;
    std::uint32_t bytes = 0;
    if ((!mp3 || mp3Frames == Mp3Frames::Decoded) && DecodeWholeSource(&source, &format, &pcm, &bytes) == 0) {
      TrackedFree(pcm);
    }
    CloseSoundSource(&source);
  }
  MemoryStreamClose(stream.handle);
  if (TrackedBlocksInUse() != 0) __builtin_trap();  // everything taken was given back
}
