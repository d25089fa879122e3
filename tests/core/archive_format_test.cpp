#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "archive_test_support.h"
#include "core/archive_format.h"

namespace {

using Key = std::array<std::uint8_t, kArchiveKeySize>;

Key KeyOf(const char* text) {
  Key key;
  BuildArchiveKey(text, key.data());
  return key;
}

ArchiveNameEntry NameOf(const char* element, std::uint32_t* length = nullptr) {
  ArchiveNameEntry entry;
  EXPECT_EQ(BuildArchiveNameEntry(element, &entry, length), 0) << element;
  return entry;
}

}  // namespace

TEST(ArchiveKey, KeyStringRepeatsAndStopsAtTwelveCharacters) {
  EXPECT_EQ(KeyOf("ab"), KeyOf("abababababab"));
  EXPECT_EQ(KeyOf("abcdefghijklXYZ"), KeyOf("abcdefghijkl"));
  EXPECT_NE(KeyOf("ab"), KeyOf("ba"));
  EXPECT_NE(KeyOf("Tovl8"), KeyOf("tovl8"));
}

TEST(ArchiveKey, EmptyKeyStringCountsAsNone) {
  EXPECT_EQ(KeyOf(""), KeyOf(nullptr));
  EXPECT_NE(KeyOf(nullptr), KeyOf("a"));
}

TEST(ArchiveKey, FallbackKeyIsOneConstantAndDiffersFromTheBuiltKeys) {
  Key fallback;
  BuildFallbackArchiveKey(fallback.data());
  for (std::uint8_t b : fallback) EXPECT_EQ(b, fallback[0]);
  EXPECT_NE(fallback, KeyOf(nullptr));
  EXPECT_NE(fallback, KeyOf("Tovl8"));
}

TEST(ArchiveKey, EveryPositionIsTransformedDifferently) {
  // The same start byte everywhere must not give a key with a repeating period.
  const Key key = KeyOf("a");
  for (std::size_t i = 1; i < key.size(); ++i) EXPECT_NE(key[i], key[0]) << i;
}

TEST(ArchiveScramble, DependsOnTheAbsolutePositionOnly) {
  const Key key = KeyOf("Tovl8");
  const std::vector<std::uint8_t> plain = NoiseBytes(100, 1);
  std::vector<std::uint8_t> whole = plain;
  UnscrambleArchiveBytes(100, whole.data(), 1000, key.data());
  // Pieces of every alignment give the same bytes as one call.
  for (std::uint32_t split = 0; split <= 100; ++split) {
    std::vector<std::uint8_t> pieces = plain;
    UnscrambleArchiveBytes(split, pieces.data(), 1000, key.data());
    UnscrambleArchiveBytes(100 - split, pieces.data() + split, 1000 + split, key.data());
    ASSERT_EQ(pieces, whole) << split;
  }
  for (std::size_t i = 0; i < plain.size(); ++i) EXPECT_EQ(whole[i], plain[i] ^ key[(1000 + i) % 12]);
  UnscrambleArchiveBytes(100, whole.data(), 1000, key.data());
  EXPECT_EQ(whole, plain);
}

TEST(ArchiveNameEntry, UpperCasesLettersAndCountsParityAndLength) {
  std::uint32_t length = 0;
  const ArchiveNameEntry entry = NameOf("se.Wav\\rest", &length);
  EXPECT_EQ(length, 6u);
  EXPECT_EQ(entry.units, 2);  // (6 + 4) / 4
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry.name)), "SE.WAV");
  EXPECT_EQ(entry.name[6], 0);
  EXPECT_EQ(entry.name[7], 0);
  EXPECT_EQ(entry.parity, 'S' + 'E' + '.' + 'W' + 'A' + 'V');
  // A name of four bytes still gets a zero: two units.
  EXPECT_EQ(NameOf("ABCD").units, 2);
  EXPECT_EQ(NameOf("ABC").units, 1);
}

TEST(ArchiveNameEntry, TwoByteCharactersAreCopiedUnchanged) {
  std::uint32_t length = 0;
  // "表" ends in 0x5C, which is not a separator; "ツ" ends in 'c', which is not upper-cased.
  const ArchiveNameEntry entry = NameOf("\x95\x5C\x83\x63x", &length);
  EXPECT_EQ(length, 5u);
  EXPECT_EQ(std::memcmp(entry.name, "\x95\x5C\x83\x63X", 6), 0);
  EXPECT_EQ(entry.parity, 0x95 + 0x5C + 0x83 + 0x63 + 'X');
}

TEST(ArchiveNameEntry, StopsAtTheTerminatorAfterALeadByte) {
  std::uint32_t length = 0;
  const char text[] = {'A', '\x95', '\0', 'Z', '\0'};
  const ArchiveNameEntry entry = NameOf(text, &length);
  EXPECT_EQ(length, 2u);
  EXPECT_EQ(entry.name[2], 0);
}

TEST(ArchiveNameEntry, RefusesElementsLongerThanTheEntry) {
  const std::string longest(kArchiveNameMax, 'n');
  ArchiveNameEntry entry;
  std::uint32_t length = 0;
  EXPECT_EQ(BuildArchiveNameEntry(longest.c_str(), &entry, &length), 0);
  EXPECT_EQ(length, kArchiveNameMax);
  EXPECT_EQ(BuildArchiveNameEntry((longest + "n").c_str(), &entry, &length), -1);
  // A two-byte character that would end past the limit is refused too.
  EXPECT_EQ(BuildArchiveNameEntry((std::string(kArchiveNameMax - 1, 'n') + "\x95\x5C").c_str(), &entry, &length), -1);
}
