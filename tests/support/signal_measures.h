// Test checks on decoded PCM: the frequency and level of a tone.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace testdata {

// The frequency of the tone on channel 0, from its upward zero crossings.
inline double ZeroCrossingFrequency(const std::vector<std::int16_t>& samples, int channels, int rate) {
  long first = -1, last = -1, count = 0;
  const long frames = static_cast<long>(samples.size()) / channels;
  for (long i = 1; i < frames; ++i) {
    if (samples[(i - 1) * channels] < 0 && samples[i * channels] >= 0) {
      if (first < 0) first = i;
      last = i;
      ++count;
    }
  }
  if (count < 2) return 0.0;
  return static_cast<double>(count - 1) * rate / static_cast<double>(last - first);
}

inline int PeakAbs(const std::vector<std::int16_t>& samples) {
  int peak = 0;
  for (std::int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  return peak;
}

}  // namespace testdata
