// The two 4-bit ADPCM formats of WAV files.
#include <algorithm>
#include <climits>

#include "acm/acm_codec.h"

namespace {

constexpr int kImaStepTable[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
    130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
    544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
    2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
    9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr int kImaIndexTable[8] = {-1, -1, -1, -1, 2, 4, 6, 8};

constexpr int kMsAdaptTable[16] = {230, 230, 230, 230, 307, 409, 512, 614, 768, 614, 512, 409, 307, 230, 230, 230};
constexpr int kMsMinDelta = 16;
constexpr std::int64_t kMsMaxDelta = INT_MAX / 768;

std::int16_t Clamp16(std::int64_t value) {
  return static_cast<std::int16_t>(std::clamp<std::int64_t>(value, -32768, 32767));
}

struct ImaChannel {
  int predictor;
  int index;

  std::int16_t Next(int code) {
    const int step = kImaStepTable[index];
    int difference = step >> 3;
    if (code & 4) difference += step;
    if (code & 2) difference += step >> 1;
    if (code & 1) difference += step >> 2;
    predictor = Clamp16(static_cast<std::int64_t>(predictor) + ((code & 8) ? -difference : difference));
    index = std::clamp(index + kImaIndexTable[code & 7], 0, 88);
    return static_cast<std::int16_t>(predictor);
  }
};

struct MsChannel {
  std::int64_t coefficient1;
  std::int64_t coefficient2;
  std::int64_t delta;
  std::int64_t sample1;
  std::int64_t sample2;

  std::int16_t Next(int code) {
    const int signedCode = code >= 8 ? code - 16 : code;
    const std::int64_t predicted = (sample1 * coefficient1 + sample2 * coefficient2) >> 8;
    const std::int16_t sample = Clamp16(predicted + signedCode * delta);
    sample2 = sample1;
    sample1 = sample;
    delta = std::clamp<std::int64_t>((kMsAdaptTable[code] * delta) >> 8, kMsMinDelta, kMsMaxDelta);
    return sample;
  }
};

}  // namespace

bool DecodeImaAdpcm(const BlockFormat& format, const BYTE* src, DWORD blocks, BYTE* out) {
  const DWORD channels = format.channels;
  const DWORD frames = format.framesPerBlock;
  ImaChannel state[8];
  for (DWORD block = 0; block < blocks; ++block, src += format.blockBytes, out += frames * channels * 2) {
    for (DWORD c = 0; c < channels; ++c) {
      state[c].predictor = LoadLe16(src + 4 * c);
      state[c].index = std::min<int>(src[4 * c + 2], 88);
      StoreLe16(out + 2 * c, static_cast<std::int16_t>(state[c].predictor));
    }
    // After the headers: groups of 4 bytes (8 samples) for each channel in turn.
    const BYTE* data = src + 4 * channels;
    for (DWORD first = 1; first < frames; first += 8, data += 4 * channels) {
      const DWORD count = std::min<DWORD>(8, frames - first);
      for (DWORD c = 0; c < channels; ++c) {
        const BYTE* group = data + 4 * c;
        for (DWORD j = 0; j < count; ++j) {
          const int code = (j & 1) ? group[j / 2] >> 4 : group[j / 2] & 0x0F;
          StoreLe16(out + 2 * ((first + j) * channels + c), state[c].Next(code));
        }
      }
    }
  }
  return true;
}

bool DecodeMsAdpcm(const BlockFormat& format, const BYTE* src, DWORD blocks, BYTE* out) {
  const DWORD channels = format.channels;
  const DWORD frames = format.framesPerBlock;
  const DWORD pairs = static_cast<DWORD>(format.coefficients.size() / 2);
  MsChannel state[8];
  for (DWORD block = 0; block < blocks; ++block, src += format.blockBytes, out += frames * channels * 2) {
    // Header: predictor numbers, then deltas, first and second samples, per channel.
    const BYTE* header = src;
    for (DWORD c = 0; c < channels; ++c) {
      const DWORD predictor = header[c];
      if (predictor >= pairs) return false;
      state[c].coefficient1 = format.coefficients[2 * predictor];
      state[c].coefficient2 = format.coefficients[2 * predictor + 1];
      state[c].delta = LoadLe16(header + channels + 2 * c);
      state[c].sample1 = LoadLe16(header + 3 * channels + 2 * c);
      state[c].sample2 = LoadLe16(header + 5 * channels + 2 * c);
      StoreLe16(out + 2 * c, static_cast<std::int16_t>(state[c].sample2));
      StoreLe16(out + 2 * (channels + c), static_cast<std::int16_t>(state[c].sample1));
    }
    // Codes follow, high nibble first, channels interleaved.
    const BYTE* data = src + 7 * channels;
    const DWORD codes = (frames - 2) * channels;
    for (DWORD n = 0; n < codes; ++n) {
      const int code = (n & 1) ? data[n / 2] & 0x0F : data[n / 2] >> 4;
      const DWORD c = n % channels;
      StoreLe16(out + 2 * ((2 + n / channels) * channels + c), state[c].Next(code));
    }
  }
  return true;
}
