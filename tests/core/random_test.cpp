#include "core/random.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <vector>

#include "game_library.h"

namespace {

std::vector<std::uint32_t> Draw(int count) {
  std::vector<std::uint32_t> values;
  for (int i = 0; i < count; ++i) values.push_back(NextRandom32());
  return values;
}

// The output word whose upper half of word x (max + 1) gives the mapping.
int MapWord(std::uint32_t word, int max) {
  return static_cast<int>((static_cast<std::int64_t>(word) * (static_cast<std::int64_t>(max) + 1)) >> 32);
}

}  // namespace

// Checked in a freshly started process, where nothing has seeded the generator.
TEST(RandomGeneratorDeathTest, UnseededStartsWithTheSecondBlockOfSeed4357) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::exit(NextRandom32() == 0x3e44719du ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

TEST(RandomGenerator, Seed0GivesThePublishedSequence) {
  SeedRandomBody(0);
  const std::vector<std::uint32_t> values = Draw(625);
  EXPECT_EQ(values[0], 0x1c75c7c9u);
  EXPECT_EQ(values[1], 0xda9649c5u);
  EXPECT_EQ(values[2], 0x84e243e5u);
  EXPECT_EQ(values[3], 0xa75c2a2fu);
  EXPECT_EQ(values[4], 0xaa8796b4u);
  EXPECT_EQ(values[623], 0x35a2b6dfu);
  EXPECT_EQ(values[624], 0x50c6b262u);  // from a freshly generated block
}

TEST(RandomGenerator, Seed4357GivesThePublishedSequence) {
  SeedRandomBody(4357);
  const std::vector<std::uint32_t> values = Draw(625);
  EXPECT_EQ(values[0], 0xaae64ac3u);
  EXPECT_EQ(values[1], 0x5e7c47dau);
  EXPECT_EQ(values[2], 0xb98e8121u);
  EXPECT_EQ(values[3], 0xb010f327u);
  EXPECT_EQ(values[4], 0x92da86b4u);
  EXPECT_EQ(values[624], 0x3e44719du);
}

TEST(RandomGenerator, EntryPointsSeedAndMapThroughTheLock) {
  EXPECT_EQ(SeedRandom(0), 0);
  std::vector<int> drawn;
  for (int i = 0; i < 5; ++i) drawn.push_back(RandomInRange(99));
  EXPECT_EQ(drawn, (std::vector<int>{11, 85, 51, 65, 66}));
}

TEST(RandomGenerator, RangeMappingAtTheEdges) {
  SeedRandomBody(12345);
  for (int i = 0; i < 2000; ++i) {
    EXPECT_EQ(RandomInRangeBody(0), 0);
    EXPECT_EQ(RandomInRangeBody(-1), 0);
    const int bit = RandomInRangeBody(1);
    EXPECT_TRUE(bit == 0 || bit == 1);
    const int wide = RandomInRangeBody(INT_MAX);
    EXPECT_GE(wide, 0);
  }
  EXPECT_EQ(MapWord(0xFFFFFFFFu, 99), 99);
  EXPECT_EQ(MapWord(0, 99), 0);
  EXPECT_EQ(MapWord(0xFFFFFFFFu, INT_MAX), INT_MAX);

  // The worker agrees with the mapping on the real sequence, INT_MAX included.
  SeedRandomBody(0);
  const std::vector<std::uint32_t> words = Draw(4);
  SeedRandomBody(0);
  EXPECT_EQ(RandomInRangeBody(99), MapWord(words[0], 99));
  EXPECT_EQ(RandomInRangeBody(INT_MAX), MapWord(words[1], INT_MAX));
  EXPECT_EQ(RandomInRangeBody(1), MapWord(words[2], 1));
  EXPECT_EQ(RandomInRangeBody(-1), 0);
}
