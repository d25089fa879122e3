// The conversions behind the audio compression manager: each turns one source format
// into 16-bit PCM with the same channels and rate.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "kernel/wave_format.h"

class AcmCodec {
 public:
  virtual ~AcmCodec() = default;

  // Converts from `src` into `dst`, taking only what fits: *used source bytes were
  // consumed and *produced PCM bytes written. False when the data cannot be decoded.
  virtual bool Convert(const BYTE* src, DWORD srcBytes, BYTE* dst, DWORD dstBytes, DWORD* used,
                       DWORD* produced) = 0;

  // The most PCM bytes that `srcBytes` source bytes can give.
  virtual std::uint64_t MaxOutputBytes(DWORD srcBytes) const = 0;
};

// The codec for `src`, whose cbSize bytes of format data are at `extra`; null when the
// format is not supported.
std::unique_ptr<AcmCodec> MakeAcmCodec(const WAVEFORMATEX& src, const BYTE* extra);

// Block formats: a fixed number of source bytes decodes to a fixed number of frames.
struct BlockFormat {
  WORD channels = 0;
  DWORD blockBytes = 0;      // source bytes per block
  DWORD framesPerBlock = 0;  // PCM frames per block
  WORD bitsPerSample = 0;    // source sample size of the sample formats
  std::vector<std::int16_t> coefficients;  // MS ADPCM predictor pairs
};

// Decodes `blocks` whole blocks from `src` into 16-bit little-endian PCM at `out`.
// False when a block is corrupt.
typedef bool (*BlockDecoder)(const BlockFormat& format, const BYTE* src, DWORD blocks, BYTE* out);

bool DecodeAlaw(const BlockFormat& format, const BYTE* src, DWORD blocks, BYTE* out);
bool DecodeMulaw(const BlockFormat& format, const BYTE* src, DWORD blocks, BYTE* out);
bool DecodeImaAdpcm(const BlockFormat& format, const BYTE* src, DWORD blocks, BYTE* out);
bool DecodeMsAdpcm(const BlockFormat& format, const BYTE* src, DWORD blocks, BYTE* out);
bool DecodeFloatSamples(const BlockFormat& format, const BYTE* src, DWORD blocks, BYTE* out);
bool DecodeIntegerSamples(const BlockFormat& format, const BYTE* src, DWORD blocks, BYTE* out);

std::unique_ptr<AcmCodec> MakeBlockCodec(BlockFormat format, BlockDecoder decoder);
// MPEG Layer III with the channels and rate of `src`; null when the decoder cannot start.
std::unique_ptr<AcmCodec> MakeMp3Codec(const WAVEFORMATEX& src);

inline std::int16_t LoadLe16(const BYTE* p) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}
inline void StoreLe16(BYTE* p, std::int16_t value) {
  const std::uint16_t bits = static_cast<std::uint16_t>(value);
  p[0] = static_cast<BYTE>(bits);
  p[1] = static_cast<BYTE>(bits >> 8);
}
