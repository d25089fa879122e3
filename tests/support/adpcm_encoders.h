// Test data: reference ADPCM encoders. Each also returns the samples a decoder must
// reconstruct, which an encoder tracks anyway to choose its next code.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "wave_builder.h"

namespace testdata {

struct AdpcmData {
  Bytes data;
  std::vector<std::int16_t> decoded;  // interleaved, whole blocks
  int samplesPerBlock = 0;
  Bytes fmtExtra;
};

inline std::int16_t Clamp16(long long v) { return static_cast<std::int16_t>(std::clamp<long long>(v, -32768, 32767)); }

inline AdpcmData EncodeIma(const std::vector<std::int16_t>& samples, int channels, int blockAlign) {
  static const int steps[89] = {
      7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,    28,
      31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,   118,
      130,   143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,   494,
      544,   598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,
      2272,  2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,
      9493,  10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
  static const int indexStep[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
  AdpcmData out;
  const int spb = (blockAlign - 4 * channels) * 2 / channels + 1;
  out.samplesPerBlock = spb;
  PutLe(out.fmtExtra, static_cast<std::uint64_t>(spb), 2);
  const int frames = static_cast<int>(samples.size()) / channels;
  const int blocks = (frames + spb - 1) / spb;
  std::vector<int> index(channels, 0);
  auto at = [&](int frame, int c) { return frame < frames ? samples[frame * channels + c] : std::int16_t{0}; };
  for (int b = 0; b < blocks; ++b) {
    const int base = b * spb;
    std::vector<int> predictor(channels);
    std::vector<std::int16_t> block(static_cast<std::size_t>(spb) * channels);
    for (int c = 0; c < channels; ++c) {
      predictor[c] = at(base, c);
      PutLe(out.data, static_cast<std::uint16_t>(predictor[c]), 2);
      out.data.push_back(static_cast<std::uint8_t>(index[c]));
      out.data.push_back(0);
      block[c] = static_cast<std::int16_t>(predictor[c]);
    }
    for (int first = 1; first < spb; first += 8) {
      for (int c = 0; c < channels; ++c) {
        std::uint8_t group[4] = {0, 0, 0, 0};
        for (int j = 0; j < 8 && first + j < spb; ++j) {
          const int step = steps[index[c]];
          int diff = at(base + first + j, c) - predictor[c];
          int code = 0;
          if (diff < 0) {
            code = 8;
            diff = -diff;
          }
          int part = step;
          for (int bit = 4; bit > 0; bit >>= 1, part >>= 1) {
            if (diff >= part) {
              code |= bit;
              diff -= part;
            }
          }
          int delta = step >> 3;
          if (code & 4) delta += step;
          if (code & 2) delta += step >> 1;
          if (code & 1) delta += step >> 2;
          predictor[c] = Clamp16(predictor[c] + ((code & 8) ? -delta : delta));
          index[c] = std::clamp(index[c] + indexStep[code & 7], 0, 88);
          block[(first + j) * channels + c] = static_cast<std::int16_t>(predictor[c]);
          group[j / 2] |= static_cast<std::uint8_t>((j & 1) ? code << 4 : code);
        }
        PutBytes(out.data, group, 4);
      }
    }
    out.decoded.insert(out.decoded.end(), block.begin(), block.end());
  }
  return out;
}

inline AdpcmData EncodeMsAdpcm(const std::vector<std::int16_t>& samples, int channels, int blockAlign) {
  static const int coefficients[7][2] = {{256, 0},   {512, -256}, {0, 0},      {192, 64},
                                         {240, 0},   {460, -208}, {392, -232}};
  static const int adapt[16] = {230, 230, 230, 230, 307, 409, 512, 614, 768, 614, 512, 409, 307, 230, 230, 230};
  AdpcmData out;
  const int spb = (blockAlign - 7 * channels) * 2 / channels + 2;
  out.samplesPerBlock = spb;
  PutLe(out.fmtExtra, static_cast<std::uint64_t>(spb), 2);
  PutLe(out.fmtExtra, 7, 2);
  for (const auto& pair : coefficients) {
    PutLe(out.fmtExtra, static_cast<std::uint16_t>(pair[0]), 2);
    PutLe(out.fmtExtra, static_cast<std::uint16_t>(pair[1]), 2);
  }
  const int frames = static_cast<int>(samples.size()) / channels;
  const int blocks = (frames + spb - 1) / spb;
  auto at = [&](int frame, int c) { return frame < frames ? samples[frame * channels + c] : std::int16_t{0}; };
  for (int b = 0; b < blocks; ++b) {
    const int base = b * spb;
    const int predictor = b % 7;  // every coefficient pair gets used
    const long long c1 = coefficients[predictor][0];
    const long long c2 = coefficients[predictor][1];
    std::vector<long long> delta(channels, 256), s1(channels), s2(channels);
    std::vector<std::int16_t> block(static_cast<std::size_t>(spb) * channels);
    Bytes header;
    for (int c = 0; c < channels; ++c) header.push_back(static_cast<std::uint8_t>(predictor));
    for (int c = 0; c < channels; ++c) PutLe(header, static_cast<std::uint16_t>(delta[c]), 2);
    for (int c = 0; c < channels; ++c) {
      s1[c] = at(base + 1, c);
      PutLe(header, static_cast<std::uint16_t>(s1[c]), 2);
    }
    for (int c = 0; c < channels; ++c) {
      s2[c] = at(base, c);
      PutLe(header, static_cast<std::uint16_t>(s2[c]), 2);
      block[c] = static_cast<std::int16_t>(s2[c]);
      block[channels + c] = static_cast<std::int16_t>(s1[c]);
    }
    PutBytes(out.data, header.data(), header.size());
    const int codes = (spb - 2) * channels;
    Bytes packed((codes + 1) / 2, 0);
    for (int n = 0; n < codes; ++n) {
      const int c = n % channels;
      const int frame = 2 + n / channels;
      const long long predicted = (s1[c] * c1 + s2[c] * c2) >> 8;
      const long long error = at(base + frame, c) - predicted;
      const long long code = std::clamp<long long>(
          error >= 0 ? (error + delta[c] / 2) / delta[c] : -((-error + delta[c] / 2) / delta[c]), -8, 7);
      const std::int16_t sample = Clamp16(predicted + code * delta[c]);
      s2[c] = s1[c];
      s1[c] = sample;
      const int nibble = static_cast<int>(code & 0x0F);
      delta[c] = std::max<long long>(16, (adapt[nibble] * delta[c]) >> 8);
      block[frame * channels + c] = sample;
      packed[n / 2] |= static_cast<std::uint8_t>((n & 1) ? nibble : nibble << 4);
    }
    PutBytes(out.data, packed.data(), packed.size());
    out.data.resize(static_cast<std::size_t>(b + 1) * blockAlign, 0);
    out.decoded.insert(out.decoded.end(), block.begin(), block.end());
  }
  return out;
}

}  // namespace testdata
