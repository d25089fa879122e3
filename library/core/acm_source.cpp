// Sources converted by the audio compression manager: the compressed data is copied
// into memory and converted piece by piece into the decode buffer.
#include <algorithm>

#include "core/sound_source_kinds.h"
#include "core/tracked_alloc.h"

namespace {

constexpr std::uint32_t kSourcePiece = 2048;

const WAVEFORMATEX* SourceFormatOf(const SoundSource* source) {
  return reinterpret_cast<const WAVEFORMATEX*>(source->acmSourceFormat);
}

// Block formats convert whole blocks only, so a piece holds at least one.
std::uint32_t SourcePiece(const SoundSource* source) {
  return std::max<std::uint32_t>(kSourcePiece, SourceFormatOf(source)->nBlockAlign);
}

int OpenConversion(SoundSource* source) {
  source->acmFed = 0;
  return acmStreamOpen(&source->acmStream, nullptr, SourceFormatOf(source), &source->format, nullptr, 0, 0,
                       ACM_STREAMOPENF_NONREALTIME) == MMSYSERR_NOERROR
             ? 0
             : -1;
}

void ReleaseAcm(SoundSource* source) {
  if (source->acmStream != nullptr) acmStreamClose(source->acmStream, 0);
  source->acmStream = nullptr;
  TrackedFree(source->acmSourceFormat);
  source->acmSourceFormat = nullptr;
  TrackedFree(source->compressed);
  source->compressed = nullptr;
}

// A conversion that fails or gives nothing ends the source.
std::uint32_t DecodeAcm(SoundSource* source, BYTE* out, std::uint32_t capacity) {
  if (source->compressedPosition >= source->compressedSize) return 0;
  ACMSTREAMHEADER header{};
  header.cbStruct = sizeof header;
  header.pbSrc = source->compressed + source->compressedPosition;
  header.cbSrcLength = std::min(SourcePiece(source), source->compressedSize - source->compressedPosition);
  header.pbDst = out;
  header.cbDstLength = capacity;
  if (acmStreamPrepareHeader(source->acmStream, &header, 0) != MMSYSERR_NOERROR) {
    source->compressedPosition = source->compressedSize;
    return 0;
  }
  source->acmFed = 1;
  const bool converted =
      acmStreamConvert(source->acmStream, &header, ACM_STREAMCONVERTF_BLOCKALIGN) == MMSYSERR_NOERROR;
  acmStreamUnprepareHeader(source->acmStream, &header, 0);
  source->compressedPosition += std::min(header.cbSrcLengthUsed, header.cbSrcLength);
  if (!converted || header.cbDstLengthUsed == 0) {
    source->compressedPosition = source->compressedSize;
    return 0;
  }
  return std::min(header.cbDstLengthUsed, header.cbDstLength);
}

int AcmWholeSize(SoundSource* source, std::uint64_t* bytes) {
  if (source->totalSamples >= 0) {
    *bytes = static_cast<std::uint64_t>(source->format.nBlockAlign) * static_cast<std::uint64_t>(source->totalSamples);
    return 0;
  }
  DWORD size = 0;
  if (acmStreamSize(source->acmStream, source->compressedSize, &size, ACM_STREAMSIZEF_SOURCE) != MMSYSERR_NOERROR) {
    return -1;
  }
  *bytes = size;
  return 0;
}

// The converter keeps state between pieces, so going back to the start opens it anew
// once it has been fed (opening one is costly: a decoder sets up its tables and buffers).
int RewindAcm(SoundSource* source) {
  source->compressedPosition = 0;
  if (!source->acmFed && source->acmStream != nullptr) return 0;
  acmStreamClose(source->acmStream, 0);
  source->acmStream = nullptr;
  return OpenConversion(source);
}

}  // namespace

const SourceKindOps kAcmSourceOps = {DecodeAcm, AcmWholeSize, RewindAcm, ReleaseAcm};

int StartAcmConversion(SoundSource* source, BYTE* sourceFormat, std::uint32_t dataStart, std::uint32_t dataSize,
                       std::int32_t totalSamples) {
  source->acmSourceFormat = sourceFormat;
  WAVEFORMATEX pcm{};
  pcm.wFormatTag = WAVE_FORMAT_PCM;
  if (acmFormatSuggest(nullptr, SourceFormatOf(source), &pcm, sizeof pcm, ACM_FORMATSUGGESTF_WFORMATTAG) !=
      MMSYSERR_NOERROR) {
    ReleaseAcm(source);
    return -1;
  }
  source->format = pcm;
  source->compressed = static_cast<BYTE*>(TRACKED_ALLOC(std::max<std::uint32_t>(dataSize, 1)));
  if (source->compressed == nullptr) {
    ReleaseAcm(source);
    return -1;
  }
  StreamSeek(source, dataStart);
  source->compressedSize = ReadUpTo(source, source->compressed, dataSize);
  source->compressedPosition = 0;
  StreamSeek(source, dataStart);
  if (OpenConversion(source) != 0) {
    ReleaseAcm(source);
    return -1;
  }
  source->totalSamples = totalSamples;
  source->bufferCapacity = DecodeChunkSize(pcm);
  source->kind = kSourceAcm;
  return 0;
}
