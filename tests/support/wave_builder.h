// Test data: PCM signals and RIFF WAV files built in memory.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace testdata {

typedef std::vector<std::uint8_t> Bytes;

inline void PutLe(Bytes& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline void PutBytes(Bytes& out, const void* data, std::size_t size) {
  const std::uint8_t* p = static_cast<const std::uint8_t*>(data);
  out.insert(out.end(), p, p + size);
}

inline Bytes AsBytes(const std::vector<std::int16_t>& samples) {
  Bytes out;
  for (std::int16_t s : samples) PutLe(out, static_cast<std::uint16_t>(s), 2);
  return out;
}

// Interleaved 16-bit samples of a sine (the same tone on every channel).
inline std::vector<std::int16_t> Sine(int frames, int channels, double frequency, int rate, double amplitude) {
  std::vector<std::int16_t> out;
  for (int i = 0; i < frames; ++i) {
    const double value = std::lround(amplitude * std::sin(2.0 * M_PI * frequency * i / rate));
    for (int c = 0; c < channels; ++c) out.push_back(static_cast<std::int16_t>(value));
  }
  return out;
}

// The fields of a "fmt " chunk; `extra` follows cbSize when given.
struct FmtChunk {
  std::uint16_t tag = 1;
  std::uint16_t channels = 1;
  std::uint32_t rate = 44100;
  std::uint32_t avgBytes = 0;  // 0: rate x block align
  std::uint16_t blockAlign = 2;
  std::uint16_t bits = 16;
  bool withCbSize = true;  // false writes the 16-byte form
  Bytes extra;
};

inline FmtChunk PcmFmt(int channels, int rate, int bits) {
  FmtChunk f;
  f.channels = static_cast<std::uint16_t>(channels);
  f.rate = static_cast<std::uint32_t>(rate);
  f.bits = static_cast<std::uint16_t>(bits);
  f.blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
  return f;
}

inline Bytes FmtBody(const FmtChunk& f) {
  Bytes body;
  PutLe(body, f.tag, 2);
  PutLe(body, f.channels, 2);
  PutLe(body, f.rate, 4);
  PutLe(body, f.avgBytes ? f.avgBytes : f.rate * f.blockAlign, 4);
  PutLe(body, f.blockAlign, 2);
  PutLe(body, f.bits, 2);
  if (f.withCbSize) {
    PutLe(body, f.extra.size(), 2);
    PutBytes(body, f.extra.data(), f.extra.size());
  }
  return body;
}

inline void PutChunk(Bytes& out, const char* id, const Bytes& body, std::uint32_t declaredSize) {
  PutBytes(out, id, 4);
  PutLe(out, declaredSize, 4);
  PutBytes(out, body.data(), body.size());
  if (body.size() % 2) out.push_back(0);
}

inline void PutChunk(Bytes& out, const char* id, const Bytes& body) {
  PutChunk(out, id, body, static_cast<std::uint32_t>(body.size()));
}

// A RIFF WAVE file: the fmt chunk, `between` (whole chunks) and the data chunk. The
// data chunk declares `declaredData` bytes when that is given.
inline Bytes Wav(const FmtChunk& fmt, const Bytes& data, const Bytes& between = {}, long long declaredData = -1) {
  Bytes body;
  PutBytes(body, "WAVE", 4);
  PutChunk(body, "fmt ", FmtBody(fmt));
  PutBytes(body, between.data(), between.size());
  PutChunk(body, "data", data, declaredData >= 0 ? static_cast<std::uint32_t>(declaredData)
                                                 : static_cast<std::uint32_t>(data.size()));
  Bytes file;
  PutBytes(file, "RIFF", 4);
  PutLe(file, body.size(), 4);
  PutBytes(file, body.data(), body.size());
  return file;
}

// The extra format data of WAVE_FORMAT_EXTENSIBLE with sub-format `tag`.
inline Bytes ExtensibleExtra(std::uint16_t validBits, std::uint16_t tag) {
  Bytes extra;
  PutLe(extra, validBits, 2);
  PutLe(extra, 0, 4);  // channel mask
  PutLe(extra, tag, 2);
  const std::uint8_t tail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
  PutBytes(extra, tail, sizeof tail);
  return extra;
}

}  // namespace testdata
