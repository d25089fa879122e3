// Uncompressed samples of other sizes: IEEE float and 8/24/32-bit integers, reduced to
// 16 bits.
#include <cmath>

#include "acm/acm_codec.h"

namespace {

// Full scale is +-1.0; out-of-range values clip and NaN is silence.
std::int16_t FloatToSample(double value) {
  if (std::isnan(value)) return 0;
  const double scaled = std::nearbyint(value * 32768.0);
  if (scaled <= -32768.0) return -32768;
  if (scaled >= 32767.0) return 32767;
  return static_cast<std::int16_t>(scaled);
}

}  // namespace

bool DecodeFloatSamples(const BlockFormat& format, const BYTE* src, DWORD blocks, BYTE* out) {
  const std::size_t samples = static_cast<std::size_t>(blocks) * format.channels;
  if (format.bitsPerSample == 32) {
    for (std::size_t i = 0; i < samples; ++i) {
      float value;
      std::memcpy(&value, src + 4 * i, 4);
      StoreLe16(out + 2 * i, FloatToSample(value));
    }
  } else {
    for (std::size_t i = 0; i < samples; ++i) {
      double value;
      std::memcpy(&value, src + 8 * i, 8);
      StoreLe16(out + 2 * i, FloatToSample(value));
    }
  }
  return true;
}

// 8-bit samples are unsigned; wider ones keep their two most significant bytes.
bool DecodeIntegerSamples(const BlockFormat& format, const BYTE* src, DWORD blocks, BYTE* out) {
  const std::size_t samples = static_cast<std::size_t>(blocks) * format.channels;
  const std::size_t bytes = format.bitsPerSample / 8;
  if (bytes == 1) {
    for (std::size_t i = 0; i < samples; ++i) {
      StoreLe16(out + 2 * i, static_cast<std::int16_t>((src[i] - 128) * 256));
    }
    return true;
  }
  for (std::size_t i = 0; i < samples; ++i) {
    const BYTE* top = src + i * bytes + bytes - 2;
    out[2 * i] = top[0];
    out[2 * i + 1] = top[1];
  }
  return true;
}
