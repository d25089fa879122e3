// What every sound fuzz target does with its bytes: open them as a sound source over
// a memory stream, decode it, and close everything.
//
// A sound is decoded whole only while its whole PCM stays small; a longer Ogg one has
// its first pieces read instead. Both go through the same decoding of pieces, and the
// decoders' code is reached just as well by the first frames as by the thousandth:
// decoding a long sound to its end, into a block as large as the sound claims, took
// most of each input's time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/sound_source.h"
#include "core/tracked_alloc.h"

// The harness's own byte loops carry no coverage callbacks: their branches tell the
// fuzzer nothing about the code under test, and the callbacks cost more than the loops.
#define HARNESS_UNTRACED __attribute__((no_sanitize("coverage")))

// Whether a source that opened as MP3 frames is decoded too. The WAV and Ogg targets
// only open those: bytes that are no WAV or Ogg stream mostly hold a frame sync
// somewhere, and decoding the frames found, the MP3 target's work, took most of their
// time.
enum class Mp3Frames { Decoded, OpenedOnly };

// The largest whole decode, and what is read of a longer Ogg sound. Every further
// block or frame goes through the same code, at the decoder's cost for each sample:
// 4K samples of 16-bit PCM are plenty. A longer WAV or MP3 is only opened: a piece read
// would convert into a decode buffer of a second of PCM, up to 4 MB. Every Ogg sound is
// longer (its whole block has a second of slack); its decode buffer is 4 KB.
constexpr std::uint64_t kWholeDecodeBudget = 8 * 1024;
constexpr int kFirstReads = 2;
constexpr int kReadPiece = 4096;
// Layer III frames are decoded only while they span one of the converter's 2 KB pieces:
// the decoder searches every byte between frames for a sync, which reaches nothing of ours.
constexpr std::uint32_t kMp3FramesSpanBudget = 2048;

inline void DecodeWithinBudget(SoundSource* source) {
  std::uint64_t whole = 0;
  if (WholeSourceBytes(source, &whole) == 0 && whole <= kWholeDecodeBudget) {
    WAVEFORMATEX format;
    void* pcm = nullptr;
    std::uint32_t bytes = 0;
    if (DecodeWholeSource(source, &format, &pcm, &bytes) == 0) TrackedFree(pcm);
    return;
  }
  if (source->kind != kSourceOgg) return;
  static BYTE piece[kReadPiece];
  for (int i = 0; i < kFirstReads; ++i) {
    if (ReadSourcePcm(source, piece, kReadPiece) <= 0) return;
  }
}

// Whether the source converts Layer III frames, bare or in a WAV file.
inline bool HoldsLayer3Frames(const SoundSource& source) {
  if (source.kind != kSourceAcm || source.acmSourceFormat == nullptr) return false;
  WORD tag;
  std::memcpy(&tag, source.acmSourceFormat, sizeof tag);
  return tag == WAVE_FORMAT_MPEGLAYER3;
}

// The first byte equal to `value` at or after `at`, or `size`. Eight bytes at a time:
// memchr would have its whole range checked by the address sanitizer on every call, and
// a fuzzed file holds the sought byte every few bytes.
HARNESS_UNTRACED inline std::size_t NextByte(const std::uint8_t* data, std::size_t at, std::size_t size,
                                             std::uint8_t value) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kHighBits = 0x8080808080808080u;
  for (; at + 8 <= size; at += 8) {
    std::uint64_t word;
    std::memcpy(&word, data + at, sizeof word);
    const std::uint64_t differs = word ^ (kOnes * value);  // a zero byte where the value is
    // The lowest flag marks the first zero byte (the bytes load lowest first).
    const std::uint64_t zeros = (differs - kOnes) & ~differs & kHighBits;
    if (zeros != 0) return at + static_cast<std::size_t>(__builtin_ctzll(zeros)) / 8;
  }
  for (; at < size; ++at) {
    if (data[at] == value) return at;
  }
  return size;
}

// Where the next "OggS", the start of an Ogg page, begins at or after `at`; `size` if nowhere.
HARNESS_UNTRACED inline std::size_t NextCapturePattern(const std::uint8_t* data, std::size_t at, std::size_t size) {
  for (at = NextByte(data, at, size, 'O'); at + 4 <= size; at = NextByte(data, at + 1, size, 'O')) {
    if (data[at + 1] == 'g' && data[at + 2] == 'g' && data[at + 3] == 'S') return at;
  }
  return size;
}

// Bytes that the WAV openers refuse go on to the Ogg opener, which the Ogg target
// fuzzes; the WAV and MP3 targets break each "OggS" in theirs, since vorbisfile sums every page
// that might start there (up to 64 KB each), which took half of the WAV target's time.
HARNESS_UNTRACED inline void BreakOggCapturePatterns(std::vector<std::uint8_t>* file) {
  std::uint8_t* bytes = file->data();
  const std::size_t size = file->size();
  for (std::size_t at = NextCapturePattern(bytes, 0, size); at < size; at = NextCapturePattern(bytes, at + 4, size)) {
    bytes[at + 3] = 0;
  }
}

inline void DecodeSoundImage(const std::uint8_t* data, std::size_t size, Mp3Frames mp3Frames) {
  MemoryStream* memory = MemoryStreamOpen(data, size);
  if (memory == nullptr) return;
  const DataStream stream = {GetMemoryStreamOps(), reinterpret_cast<StreamHandle>(memory)};
  SoundSource source;
  if (OpenSoundSource(&stream, &source) == 0) {
    // A source always delivers PCM.
    if (source.format.wFormatTag != WAVE_FORMAT_PCM || source.format.nBlockAlign == 0) __builtin_trap();
    // Only the MP3 opener counts the samples of what it converts; frames that a WAV file
    // holds are the WAV target's.
    const bool frames = HoldsLayer3Frames(source);
    const bool bareFrames = frames && source.totalSamples >= 0;
    const bool framesLeftOut = frames && (source.compressedSize > kMp3FramesSpanBudget ||
                                          (bareFrames && mp3Frames == Mp3Frames::OpenedOnly));
    if (!framesLeftOut) DecodeWithinBudget(&source);
    CloseSoundSource(&source);
  }
  MemoryStreamClose(stream.handle);
  if (TrackedBlocksInUse() != 0) __builtin_trap();  // everything taken was given back
}
