// The library's one random generator: MT19937 seeded by the 69069 generator, so a
// seed gives the published MT19937 sequence of that seeding. Replays depend on it.
// Unlocked: used under the library lock only.
#pragma once

#include <cstdint>

constexpr int kRandomStateWords = 624;

void InitRandomState(std::uint32_t seed);
// Runs the twister over the whole state and tempers it into the output block.
void GenerateRandomBlock();
// The next tempered word; a generator never seeded seeds itself with 4357 first.
std::uint32_t NextRandom32();

// Workers of SeedRandom and RandomInRange.
int SeedRandomBody(std::uint32_t seed);
// The upper half of the 64-bit product of the next word and max + 1: 0..max for
// max >= 0, 0 for -1.
int RandomInRangeBody(int max);
