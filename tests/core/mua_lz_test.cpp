#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "archive_test_support.h"
#include "core/archive_format.h"
#include "core/mua_lz.h"
#include "mua_writer.h"

namespace {

std::vector<std::uint8_t> Block(std::uint32_t outputSize, std::uint8_t escape, std::vector<std::uint8_t> tokens) {
  std::vector<std::uint8_t> block(kMuaLzHeaderSize + tokens.size());
  StoreLe32(block.data(), outputSize);
  StoreLe32(block.data() + 4, static_cast<std::uint32_t>(block.size()));
  block[8] = escape;
  std::copy(tokens.begin(), tokens.end(), block.begin() + kMuaLzHeaderSize);
  return block;
}

std::int64_t Decode(const std::vector<std::uint8_t>& block, std::vector<std::uint8_t>* out) {
  return DecompressMuaLz(block.data(), block.size(), out->data(), out->size());
}

std::vector<std::uint8_t> RoundTrip(const std::vector<std::uint8_t>& data) {
  const std::vector<std::uint8_t> block = CompressMuaLz(data.data(), data.size());
  std::vector<std::uint8_t> out(data.size());
  EXPECT_EQ(Decode(block, &out), static_cast<std::int64_t>(data.size()));
  return out;
}

}  // namespace

TEST(MuaLzDecode, EscapeTwiceIsOneLiteralEscape) {
  std::vector<std::uint8_t> out(3);
  EXPECT_EQ(Decode(Block(3, 0x7E, {0x41, 0x7E, 0x7E, 0x42}), &out), 3);
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0x41, 0x7E, 0x42}));
}

TEST(MuaLzDecode, DistanceOneRepeatsTheLastByte) {
  // Code (6 - 4) << 3 with a one-byte distance 0 (+1); below the escape, stored as is.
  std::vector<std::uint8_t> out(7);
  EXPECT_EQ(Decode(Block(7, 0xF0, {0x33, 0xF0, 2 << 3, 0x00}), &out), 7);
  EXPECT_EQ(out, std::vector<std::uint8_t>(7, 0x33));
}

TEST(MuaLzDecode, CodesAboveTheEscapeAreStoredOneHigher) {
  // Escape 0x05: code 0x10 (length 6, one-byte distance) is stored as 0x11.
  std::vector<std::uint8_t> out(8);
  EXPECT_EQ(Decode(Block(8, 0x05, {0x61, 0x62, 0x05, 0x11, 0x01}), &out), 8);
  EXPECT_EQ(std::string(out.begin(), out.end()), "abababab");
}

TEST(MuaLzDecode, WideLengthAndRepeatedDistance) {
  // A wide match of (1 | 2 << 5) + 4 = 69 bytes at distance 2, then form 3 reusing it for 4.
  const std::uint8_t wide = 1 << 3 | kMuaLzWideLength | 0;
  const std::uint8_t repeat = 0 << 3 | kMuaLzRepeatDistance;
  std::vector<std::uint8_t> out(2 + 69 + 4);
  ASSERT_EQ(Decode(Block(75, 0xFF, {'x', 'y', 0xFF, wide, 2, 0x01, 0xFF, repeat}), &out), 75);
  for (std::size_t i = 0; i < out.size(); ++i) EXPECT_EQ(out[i], i % 2 == 0 ? 'x' : 'y') << i;
}

TEST(MuaLzDecode, RepeatFormBeforeAnyMatchUsesDistanceOne) {
  std::vector<std::uint8_t> out(5);
  ASSERT_EQ(Decode(Block(5, 0xFF, {'z', 0xFF, kMuaLzRepeatDistance}), &out), 5);
  EXPECT_EQ(out, std::vector<std::uint8_t>(5, 'z'));
}

TEST(MuaLzDecode, WithoutDestinationReportsTheOutputSize) {
  const auto block = Block(1234, 0, {});
  EXPECT_EQ(DecompressMuaLz(block.data(), block.size(), nullptr, 0), 1234);
  EXPECT_EQ(DecompressMuaLz(block.data(), 8, nullptr, 0), -1);
}

TEST(MuaLzDecode, RefusesEveryInconsistentBlock) {
  std::vector<std::uint8_t> out(8);
  // Distance reaching before the output.
  EXPECT_EQ(Decode(Block(8, 0xF0, {'a', 0xF0, 2 << 3, 0x01}), &out), -1);
  // Match longer than the room left.
  EXPECT_EQ(Decode(Block(8, 0xF0, {'a', 0xF0, 31 << 3, 0x00}), &out), -1);
  // Literals past the output.
  EXPECT_EQ(Decode(Block(8, 0xF0, std::vector<std::uint8_t>(9, 'q')), &out), -1);
  // Output not filled.
  EXPECT_EQ(Decode(Block(8, 0xF0, {'a'}), &out), -1);
  // Header sizes disagreeing with the block or the destination.
  auto block = Block(8, 0xF0, std::vector<std::uint8_t>(8, 'q'));
  EXPECT_EQ(DecompressMuaLz(block.data(), block.size() - 1, out.data(), out.size()), -1);
  EXPECT_EQ(DecompressMuaLz(block.data(), block.size(), out.data(), out.size() - 1), -1);
  // Escape, wide-length byte or distance bytes cut off by the block's end.
  EXPECT_EQ(Decode(Block(8, 0xF0, {'a', 0xF0}), &out), -1);
  EXPECT_EQ(Decode(Block(8, 0xF0, {'a', 0xF0, kMuaLzWideLength}), &out), -1);
  EXPECT_EQ(Decode(Block(8, 0xF0, {'a', 0xF0, 2 << 3 | 2, 0x00}), &out), -1);
}

TEST(MuaLzRoundTrip, CompressorOutputDecodesToTheInput) {
  const std::vector<std::vector<std::uint8_t>> inputs = {
      {},
      {0x42},
      std::vector<std::uint8_t>(20000, 0x00),                // runs longer than the longest match
      RepetitiveBytes(300000, 7),
      [] {  // the only matches lie 100000 bytes back: three-byte distances
        auto v = NoiseBytes(100000, 11);
        v.insert(v.end(), v.begin(), v.end());
        return v;
      }(),
      NoiseBytes(5000, 8),                                   // nothing to match, escape bytes present
      [] {                                                   // every byte value, then repeated
        std::vector<std::uint8_t> v;
        for (int r = 0; r < 40; ++r)
          for (int b = 0; b < 256; ++b) v.push_back(static_cast<std::uint8_t>(b));
        return v;
      }(),
  };
  for (const auto& data : inputs) EXPECT_EQ(RoundTrip(data), data) << "size " << data.size();
}

TEST(MuaLzRoundTrip, RepetitiveDataShrinks) {
  const auto data = RepetitiveBytes(100000, 9);
  EXPECT_LT(CompressMuaLz(data.data(), data.size()).size(), data.size() / 2);
}

TEST(MuaLzRoundTrip, EveryTruncationFailsCleanly) {
  const auto data = RepetitiveBytes(3000, 10);
  const auto block = CompressMuaLz(data.data(), data.size());
  std::vector<std::uint8_t> out(data.size());
  for (std::size_t cut = 0; cut < block.size(); ++cut) {
    std::vector<std::uint8_t> shorter(block.begin(), block.begin() + cut);
    if (cut >= 8) StoreLe32(shorter.data() + 4, static_cast<std::uint32_t>(cut));
    // Exact-size copy so the sanitizer sees any read past the block.
    EXPECT_EQ(DecompressMuaLz(shorter.data(), shorter.size(), out.data(), out.size()), -1) << cut;
  }
}
