// Floats drawn from a fixed seed, for sweeps over places near an edge: every run
// checks the same places.
#pragma once

#include <random>

class SeededFloats {
 public:
  // A float in [low, high).
  float operator()(float low, float high) { return std::uniform_real_distribution<float>(low, high)(random_); }

 private:
  std::mt19937 random_{38};
};
