// What each kind of sound source does, and the stream helpers the openers share.
#pragma once

#include <cstdint>

#include "core/sound_source.h"

// Each opener fills the source's kind, output format and decode-buffer capacity and
// returns 0, or releases whatever it took and returns -1.
int OpenWavSource(SoundSource* source);
int OpenOggSource(SoundSource* source);
int OpenMp3Source(SoundSource* source);

struct SourceKindOps {
  // Decodes the next piece into `out`, at most `capacity` bytes: the bytes written, 0
  // at the end.
  std::uint32_t (*decode)(SoundSource* source, BYTE* out, std::uint32_t capacity);
  // The size of the block that holds the whole decoded sound; -1 when it cannot be known.
  int (*wholeSize)(SoundSource* source, std::uint64_t* bytes);
  // Back to the first sample.
  int (*rewind)(SoundSource* source);
  // Frees what the kind holds.
  void (*release)(SoundSource* source);
};

extern const SourceKindOps kWavPcmSourceOps;
extern const SourceKindOps kAcmSourceOps;
extern const SourceKindOps kOggSourceOps;

// Compression-manager conversion of `dataSize` bytes at `dataStart`, from the source
// format `sourceFormat` (a tracked block the source takes over, freed on failure too).
int StartAcmConversion(SoundSource* source, BYTE* sourceFormat, std::uint32_t dataStart, std::uint32_t dataSize,
                       std::int32_t totalSamples);

// The decode buffer holds one second of PCM, and no piece decoded is larger; an absurd
// rate in a file must not make it absurd, so it stays between these (or one block, if
// larger): a rate of a few samples a second had a whole decode convert a sample a call.
constexpr std::uint32_t kMinDecodeChunk = 4096;
constexpr std::uint32_t kMaxDecodeChunk = 4u << 20;
std::uint32_t DecodeChunkSize(const WAVEFORMATEX& format);

// Stream helpers over the source's DataStream.
bool ReadExact(SoundSource* source, void* buffer, std::uint32_t bytes);
std::uint32_t ReadUpTo(SoundSource* source, void* buffer, std::uint32_t bytes);
std::int64_t StreamTell(SoundSource* source);
void StreamSeek(SoundSource* source, std::int64_t position);
std::int64_t StreamSize(SoundSource* source);  // keeps the position

inline std::uint32_t LoadLe32(const BYTE* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint16_t LoadLe16u(const BYTE* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
