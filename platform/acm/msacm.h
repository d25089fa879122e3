// Audio compression manager: converts compressed wave data to 16-bit PCM.
//
// Source formats: A-law, mu-law, IMA ADPCM, MS ADPCM, IEEE float (32 or 64 bits),
// WAVE_FORMAT_EXTENSIBLE with a PCM (8, 16, 24, 32 bits) or float sub-format, and MPEG
// Layer III (decoded with libmpg123). The destination is always PCM with the source's
// channels and rate at 16 bits. Everything else is refused with ACMERR_NOTPOSSIBLE.
#pragma once

#include "kernel/wave_format.h"
#include "kernel/win_types.h"

typedef UINT MMRESULT;

#define MMSYSERR_NOERROR 0
#define MMSYSERR_ERROR 1
#define MMSYSERR_INVALHANDLE 5
#define MMSYSERR_NOMEM 7
#define MMSYSERR_INVALFLAG 10
#define MMSYSERR_INVALPARAM 11
#define ACMERR_NOTPOSSIBLE 512
#define ACMERR_UNPREPARED 514

#define ACM_FORMATSUGGESTF_WFORMATTAG 0x00010000
#define ACM_STREAMOPENF_NONREALTIME 0x00000004
#define ACM_STREAMSIZEF_SOURCE 0x00000000
#define ACM_STREAMSIZEF_DESTINATION 0x00000001
#define ACM_STREAMCONVERTF_BLOCKALIGN 0x00000004

#define ACMSTREAMHEADER_STATUSF_DONE 0x00010000
#define ACMSTREAMHEADER_STATUSF_PREPARED 0x00020000

struct HACMDRIVER__;
typedef HACMDRIVER__* HACMDRIVER;
struct HACMSTREAM__;
typedef HACMSTREAM__* HACMSTREAM;
typedef HACMSTREAM* LPHACMSTREAM;

struct ACMSTREAMHEADER {
  DWORD cbStruct;
  DWORD fdwStatus;
  BYTE* pbSrc;
  DWORD cbSrcLength;
  DWORD cbSrcLengthUsed;
  BYTE* pbDst;
  DWORD cbDstLength;
  DWORD cbDstLengthUsed;
};
typedef ACMSTREAMHEADER* LPACMSTREAMHEADER;

// Fills *dst (cbDst bytes, at least 16) with the PCM format `src` converts to. With
// ACM_FORMATSUGGESTF_WFORMATTAG, dst->wFormatTag must already say PCM.
MMRESULT acmFormatSuggest(HACMDRIVER driver, const WAVEFORMATEX* src, WAVEFORMATEX* dst, DWORD cbDst, DWORD flags);

// `src` is followed in memory by its cbSize bytes of format data. Only the conversion
// acmFormatSuggest proposes is accepted, without driver or filter.
MMRESULT acmStreamOpen(LPHACMSTREAM stream, HACMDRIVER driver, const WAVEFORMATEX* src, const WAVEFORMATEX* dst,
                       void* filter, std::uintptr_t callback, std::uintptr_t instance, DWORD flags);

// With ACM_STREAMSIZEF_SOURCE: the most destination bytes `input` source bytes give.
MMRESULT acmStreamSize(HACMSTREAM stream, DWORD input, DWORD* output, DWORD flags);

MMRESULT acmStreamPrepareHeader(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD flags);

// Converts from pbSrc into pbDst; reports the bytes used of each. With
// ACM_STREAMCONVERTF_BLOCKALIGN only whole source blocks are taken. Source that was
// not used must be given again at the start of the next call.
MMRESULT acmStreamConvert(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD flags);

MMRESULT acmStreamUnprepareHeader(HACMSTREAM stream, LPACMSTREAMHEADER header, DWORD flags);
MMRESULT acmStreamClose(HACMSTREAM stream, DWORD flags);
