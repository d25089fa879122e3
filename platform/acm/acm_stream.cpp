// The compression manager's calls: format suggestion and conversion streams.
#include <algorithm>

#include "acm/acm_codec.h"
#include "acm/msacm.h"

struct HACMSTREAM__ {
  std::unique_ptr<AcmCodec> codec;
};

namespace {

const BYTE* FormatData(const WAVEFORMATEX* format) { return reinterpret_cast<const BYTE*>(format) + sizeof *format; }

// 16-bit PCM with the channels and rate of `src`.
WAVEFORMATEX SuggestedPcm(const WAVEFORMATEX& src) {
  WAVEFORMATEX pcm{};
  pcm.wFormatTag = WAVE_FORMAT_PCM;
  pcm.nChannels = src.nChannels;
  pcm.nSamplesPerSec = src.nSamplesPerSec;
  pcm.wBitsPerSample = 16;
  pcm.nBlockAlign = static_cast<WORD>(src.nChannels * 2);
  pcm.nAvgBytesPerSec = pcm.nSamplesPerSec * pcm.nBlockAlign;
  pcm.cbSize = 0;
  return pcm;
}

bool SamePcm(const WAVEFORMATEX& a, const WAVEFORMATEX& b) {
  return a.wFormatTag == b.wFormatTag && a.nChannels == b.nChannels && a.nSamplesPerSec == b.nSamplesPerSec &&
         a.nBlockAlign == b.nBlockAlign && a.wBitsPerSample == b.wBitsPerSample;
}

}  // namespace

MMRESULT acmFormatSuggest(HACMDRIVER driver, const WAVEFORMATEX* src, WAVEFORMATEX* dst, DWORD cbDst, DWORD flags) {
  if (driver != nullptr) return MMSYSERR_INVALHANDLE;
  if (src == nullptr || dst == nullptr || cbDst < 16) return MMSYSERR_INVALPARAM;
  if (flags & ~static_cast<DWORD>(ACM_FORMATSUGGESTF_WFORMATTAG)) return MMSYSERR_INVALFLAG;
  if ((flags & ACM_FORMATSUGGESTF_WFORMATTAG) && dst->wFormatTag != WAVE_FORMAT_PCM) return ACMERR_NOTPOSSIBLE;
  if (MakeAcmCodec(*src, FormatData(src)) == nullptr) return ACMERR_NOTPOSSIBLE;
  const WAVEFORMATEX pcm = SuggestedPcm(*src);
  std::memcpy(dst, &pcm, std::min<DWORD>(cbDst, sizeof pcm));
  return MMSYSERR_NOERROR;
}

MMRESULT acmStreamOpen(LPHACMSTREAM stream, HACMDRIVER driver, const WAVEFORMATEX* src, const WAVEFORMATEX* dst,
                       void* filter, std::uintptr_t, std::uintptr_t, DWORD flags) {
  if (driver != nullptr) return MMSYSERR_INVALHANDLE;
  if (stream == nullptr || src == nullptr || dst == nullptr || filter != nullptr) return MMSYSERR_INVALPARAM;
  if (flags & ~static_cast<DWORD>(ACM_STREAMOPENF_NONREALTIME)) return MMSYSERR_INVALFLAG;
  *stream = nullptr;
  std::unique_ptr<AcmCodec> codec = MakeAcmCodec(*src, FormatData(src));
  if (codec == nullptr || !SamePcm(*dst, SuggestedPcm(*src))) return ACMERR_NOTPOSSIBLE;
  *stream = new HACMSTREAM__{std::move(codec)};
  return MMSYSERR_NOERROR;
}

MMRESULT acmStreamSize(HACMSTREAM stream, DWORD input, DWORD* output, DWORD flags) {
  if (stream == nullptr) return MMSYSERR_INVALHANDLE;
  if (output == nullptr) return MMSYSERR_INVALPARAM;
  if (flags != ACM_STREAMSIZEF_SOURCE) return MMSYSERR_INVALFLAG;
  const std::uint64_t bytes = stream->codec->MaxOutputBytes(input);
  if (bytes > 0xFFFFFFFFu) return ACMERR_NOTPOSSIBLE;
  *output = static_cast<DWORD>(bytes);
  return MMSYSERR_NOERROR;
}

MMRESULT acmStreamPrepareHeader(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD) {
  if (stream == nullptr) return MMSYSERR_INVALHANDLE;
  if (header == nullptr || header->cbStruct < sizeof(ACMSTREAMHEADER)) return MMSYSERR_INVALPARAM;
  header->fdwStatus = (header->fdwStatus & ~static_cast<DWORD>(ACMSTREAMHEADER_STATUSF_DONE)) |
                      ACMSTREAMHEADER_STATUSF_PREPARED;
  return MMSYSERR_NOERROR;
}

// Block formats always convert whole blocks, whether or not BLOCKALIGN is given.
MMRESULT acmStreamConvert(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD flags) {
  if (stream == nullptr) return MMSYSERR_INVALHANDLE;
  if (header == nullptr || header->cbStruct < sizeof(ACMSTREAMHEADER)) return MMSYSERR_INVALPARAM;
  if (flags & ~static_cast<DWORD>(ACM_STREAMCONVERTF_BLOCKALIGN)) return MMSYSERR_INVALFLAG;
  if ((header->fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED) == 0) return ACMERR_UNPREPARED;
  if ((header->pbSrc == nullptr && header->cbSrcLength > 0) || (header->pbDst == nullptr && header->cbDstLength > 0)) {
    return MMSYSERR_INVALPARAM;
  }
  DWORD used = 0;
  DWORD produced = 0;
  const bool converted =
      stream->codec->Convert(header->pbSrc, header->cbSrcLength, header->pbDst, header->cbDstLength, &used, &produced);
  header->cbSrcLengthUsed = used;
  header->cbDstLengthUsed = produced;
  header->fdwStatus |= ACMSTREAMHEADER_STATUSF_DONE;
  return converted ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
}

MMRESULT acmStreamUnprepareHeader(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD) {
  if (stream == nullptr) return MMSYSERR_INVALHANDLE;
  if (header == nullptr) return MMSYSERR_INVALPARAM;
  if ((header->fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED) == 0) return ACMERR_UNPREPARED;
  header->fdwStatus &= ~static_cast<DWORD>(ACMSTREAMHEADER_STATUSF_PREPARED);
  return MMSYSERR_NOERROR;
}

MMRESULT acmStreamClose(HACMSTREAM stream, DWORD) {
  if (stream == nullptr) return MMSYSERR_INVALHANDLE;
  delete stream;
  return MMSYSERR_NOERROR;
}
