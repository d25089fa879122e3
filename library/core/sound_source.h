// Sound sources: an encoded sound file read through a DataStream, turned into PCM.
// Recognised, in this order: RIFF WAV with PCM data, RIFF WAV in any other format
// (converted by the audio compression manager), Ogg Vorbis, and MP3 (Layer III frames
// after an optional ID3 tag, converted by the audio compression manager).
#pragma once

#include <cstdint>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include "acm/msacm.h"
#include "core/streams.h"
#include "kernel/wave_format.h"

enum SoundSourceKind {
  kSourceWavPcm = 0,
  kSourceAcm = 1,  // WAV or MP3 through the compression manager
  kSourceOgg = 2,
};

// One open source; lives in its caller's frame and must not move while open (the Ogg
// decoder keeps a pointer to `stream`).
struct SoundSource {
  int open;
  int endReached;
  int kind;
  DataStream stream;

  std::uint32_t fmtPosition;
  std::uint32_t fmtSize;
  std::uint32_t dataStart;
  std::uint32_t dataSize;

  WAVEFORMATEX format;  // the PCM delivered

  // Compression manager kind.
  BYTE* acmSourceFormat;  // the fmt chunk, or the built Layer III format
  HACMSTREAM acmStream;
  int acmFed;  // the converter was given data since it was opened
  BYTE* compressed;  // the data chunk or the MP3 frames
  std::uint32_t compressedSize;
  std::uint32_t compressedPosition;
  std::int32_t totalSamples;  // -1 when unknown

  // Ogg Vorbis kind.
  int oggOpen;
  OggVorbis_File ogg;
  int bytesPerSample;

  // Decoded PCM waiting to be read; made by the first read (a whole decode needs none).
  BYTE* buffer;
  std::uint32_t bufferCapacity;
  std::uint32_t bufferHeld;
  std::uint32_t bufferOffset;

  std::uint32_t pcmPosition;
};

struct MpegFrameInfo {
  int lowSamplingFrequency;  // MPEG-2 rates
  int layer;                 // 0 Layer I, 1 Layer II, 2 Layer III
  int bitRate;               // kbit/s
  int sampleRate;
  int padding;
  int channels;
  int frameLength;  // bytes, header included
  int samplesPerFrame;
};

// 0 when one of the four kinds recognises the stream; the source is then open.
int OpenSoundSource(const DataStream* stream, SoundSource* source);

// Bytes delivered into `destination`: fewer than asked at the end, 0 once the end was
// reached, -1 when the source is not open or its decode buffer cannot be had.
int ReadSourcePcm(SoundSource* source, void* destination, int bytes);

// The most PCM a whole decoded sound may take: the largest sound buffer.
constexpr std::uint32_t kMaxWholePcmBytes = 0x0FFFFFFF;

// The size of the block a whole decode takes: the most PCM the source can give. -1
// when the source is not open, its size cannot be known or exceeds kMaxWholePcmBytes.
int WholeSourceBytes(SoundSource* source, std::uint64_t* bytes);

// Decodes the whole source, from its first sample, straight into one tracked block; -1
// only when the block cannot be had (or would exceed kMaxWholePcmBytes).
int DecodeWholeSource(SoundSource* source, WAVEFORMATEX* format, void** pcm, std::uint32_t* bytes);

// Frees what the source holds (not its stream); -1 when it is not open.
int CloseSoundSource(SoundSource* source);

// 0 for a Layer III frame header; -2 without the frame sync; -1 for a reserved or
// unsupported value (other layers, free format, bit-rate 15, sample-rate 3).
int ParseMpegFrameHeader(const std::uint8_t header[4], MpegFrameInfo* out);
