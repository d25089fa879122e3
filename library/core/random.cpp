#include "core/random.h"

namespace {

constexpr int kShift = 397;
constexpr std::uint32_t kMatrixA = 0x9908B0DFu;
constexpr std::uint32_t kUpperBit = 0x80000000u;
constexpr std::uint32_t kLowerBits = 0x7FFFFFFFu;
constexpr std::uint32_t kDefaultSeed = 4357;

struct RandomState {
  std::uint32_t words[kRandomStateWords];
  std::uint32_t output[kRandomStateWords];
  int index;  // next output word; kRandomStateWords or more: used up
  int seeded;
};

RandomState randomState = {{}, {}, kRandomStateWords, 0};

std::uint32_t Temper(std::uint32_t y) {
  y ^= y >> 11;
  y ^= (y << 7) & 0x9D2C5680u;
  y ^= (y << 15) & 0xEFC60000u;
  y ^= y >> 18;
  return y;
}

}  // namespace

void InitRandomState(std::uint32_t seed) {
  std::uint32_t s = seed;
  for (std::uint32_t& word : randomState.words) {
    word = s & 0xFFFF0000u;
    s = 69069u * s + 1u;
    word |= s >> 16;
    s = 69069u * s + 1u;
  }
  randomState.seeded = 1;
  GenerateRandomBlock();
}

void GenerateRandomBlock() {
  std::uint32_t* words = randomState.words;
  for (int i = 0; i < kRandomStateWords; ++i) {
    // Word 623 pairs with word 0 as already updated in this pass.
    const std::uint32_t next = words[(i + 1) % kRandomStateWords];
    const std::uint32_t y = (words[i] & kUpperBit) | (next & kLowerBits);
    words[i] = words[(i + kShift) % kRandomStateWords] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
  }
  for (int i = 0; i < kRandomStateWords; ++i) randomState.output[i] = Temper(words[i]);
  randomState.index = 0;
}

std::uint32_t NextRandom32() {
  if (randomState.index >= kRandomStateWords) {
    if (!randomState.seeded) InitRandomState(kDefaultSeed);
    GenerateRandomBlock();
  }
  return randomState.output[randomState.index++];
}

int SeedRandomBody(std::uint32_t seed) {
  InitRandomState(seed);
  return 0;
}

int RandomInRangeBody(int max) {
  const std::int64_t product = static_cast<std::int64_t>(NextRandom32()) * (static_cast<std::int64_t>(max) + 1);
  return static_cast<int>(product >> 32);
}
