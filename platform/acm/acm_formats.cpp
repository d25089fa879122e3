// Which source formats convert, and with which decoder.
#include <cstdint>

#include "acm/acm_codec.h"

namespace {

constexpr int kMaxChannels = 8;

// WAVE_FORMAT_EXTENSIBLE names its sample format with an identifier whose first two
// bytes are the plain format tag and whose other fourteen bytes are fixed.
const BYTE kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr DWORD kExtensibleBytes = 22;      // valid bits, channel mask, sub-format
constexpr DWORD kSubFormatOffset = 6;

WORD SubFormatTag(const BYTE* subFormat) {
  if (std::memcmp(subFormat + 2, kSubFormatTail, sizeof kSubFormatTail) != 0) return 0;
  return static_cast<WORD>(subFormat[0] | (subFormat[1] << 8));
}

std::unique_ptr<AcmCodec> MakeSampleCodec(const WAVEFORMATEX& src, BlockFormat format, BlockDecoder decoder) {
  if (src.nBlockAlign != src.nChannels * src.wBitsPerSample / 8) return nullptr;
  format.blockBytes = src.nBlockAlign;
  format.framesPerBlock = 1;
  return MakeBlockCodec(std::move(format), decoder);
}

// IMA ADPCM: a 4-byte header per channel (first sample, step index), then 4-bit codes
// in 4-byte groups per channel. The format data gives the samples per block.
std::unique_ptr<AcmCodec> MakeImaCodec(const WAVEFORMATEX& src, const BYTE* extra, BlockFormat format) {
  const DWORD channels = src.nChannels;
  const DWORD headerBytes = 4 * channels;
  if (src.wBitsPerSample != 4 || src.cbSize < 2 || src.nBlockAlign <= headerBytes ||
      (src.nBlockAlign - headerBytes) % (4 * channels) != 0) {
    return nullptr;
  }
  const DWORD capacity = (src.nBlockAlign - headerBytes) * 2 / channels + 1;
  const DWORD samplesPerBlock = static_cast<WORD>(LoadLe16(extra));
  if (samplesPerBlock < 1 || samplesPerBlock > capacity) return nullptr;
  format.blockBytes = src.nBlockAlign;
  format.framesPerBlock = samplesPerBlock;
  return MakeBlockCodec(std::move(format), DecodeImaAdpcm);
}

// MS ADPCM: a 7-byte header per channel, then 4-bit codes; the format data gives the
// samples per block and the predictor coefficient pairs.
std::unique_ptr<AcmCodec> MakeMsAdpcmCodec(const WAVEFORMATEX& src, const BYTE* extra, BlockFormat format) {
  const DWORD channels = src.nChannels;
  const DWORD headerBytes = 7 * channels;
  if (src.wBitsPerSample != 4 || src.cbSize < 4 || src.nBlockAlign < headerBytes) return nullptr;
  const DWORD samplesPerBlock = static_cast<WORD>(LoadLe16(extra));
  const DWORD coefficientPairs = static_cast<WORD>(LoadLe16(extra + 2));
  const DWORD capacity = (src.nBlockAlign - headerBytes) * 2 / channels + 2;
  if (coefficientPairs < 1 || src.cbSize < 4 + 4 * coefficientPairs || samplesPerBlock < 2 ||
      samplesPerBlock > capacity) {
    return nullptr;
  }
  for (DWORD i = 0; i < 2 * coefficientPairs; ++i) format.coefficients.push_back(LoadLe16(extra + 4 + 2 * i));
  format.blockBytes = src.nBlockAlign;
  format.framesPerBlock = samplesPerBlock;
  return MakeBlockCodec(std::move(format), DecodeMsAdpcm);
}

}  // namespace

std::unique_ptr<AcmCodec> MakeAcmCodec(const WAVEFORMATEX& src, const BYTE* extra) {
  if (src.nChannels < 1 || src.nChannels > kMaxChannels || src.nSamplesPerSec == 0) return nullptr;
  if (static_cast<std::uint64_t>(src.nSamplesPerSec) * src.nChannels * 2 > 0xFFFFFFFFu) return nullptr;
  BlockFormat format;
  format.channels = src.nChannels;
  format.bitsPerSample = src.wBitsPerSample;
  const WORD bits = src.wBitsPerSample;

  WORD tag = src.wFormatTag;
  const bool extensible = tag == WAVE_FORMAT_EXTENSIBLE;
  if (extensible) {
    if (src.cbSize < kExtensibleBytes) return nullptr;
    tag = SubFormatTag(extra + kSubFormatOffset);
  }
  switch (tag) {
    case WAVE_FORMAT_PCM:  // only inside the extensible format; plain PCM needs no conversion
      if (!extensible || (bits != 8 && bits != 16 && bits != 24 && bits != 32)) return nullptr;
      return MakeSampleCodec(src, std::move(format), DecodeIntegerSamples);
    case WAVE_FORMAT_IEEE_FLOAT:
      if (bits != 32 && bits != 64) return nullptr;
      return MakeSampleCodec(src, std::move(format), DecodeFloatSamples);
    case WAVE_FORMAT_ALAW:
    case WAVE_FORMAT_MULAW:
      if (extensible || bits != 8) return nullptr;
      return MakeSampleCodec(src, std::move(format), tag == WAVE_FORMAT_ALAW ? DecodeAlaw : DecodeMulaw);
    case WAVE_FORMAT_IMA_ADPCM:
      if (extensible) return nullptr;
      return MakeImaCodec(src, extra, std::move(format));
    case WAVE_FORMAT_ADPCM:
      if (extensible) return nullptr;
      return MakeMsAdpcmCodec(src, extra, std::move(format));
    case WAVE_FORMAT_MPEGLAYER3:
      if (extensible || src.cbSize < MPEGLAYER3_WFX_EXTRA_BYTES || src.nChannels > 2) return nullptr;
      return MakeMp3Codec(src);
    default:
      return nullptr;
  }
}
