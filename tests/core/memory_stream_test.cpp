#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/streams.h"

namespace {

class MemoryStreamTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 25; ++i) data_.push_back(static_cast<std::uint8_t>(i));
    stream_ = reinterpret_cast<StreamHandle>(MemoryStreamOpen(data_.data(), data_.size()));
    ASSERT_NE(stream_, 0u);
  }
  void TearDown() override { ops_->close(stream_); }

  std::vector<std::uint8_t> data_;
  const StreamOps* ops_ = GetMemoryStreamOps();
  StreamHandle stream_ = 0;
};

}  // namespace

TEST_F(MemoryStreamTest, ShortReadsReturnWholeElementsOrTheLastBytesAsOne) {
  std::uint8_t buffer[40] = {};
  ops_->seek(stream_, 16, 0);  // 9 bytes left
  EXPECT_EQ(ops_->read(buffer, 4, 10, stream_), 2u);
  EXPECT_EQ(ops_->tell(stream_), 24);
  EXPECT_EQ(buffer[7], 23);
  ops_->seek(stream_, -3, 2);  // 3 bytes left
  EXPECT_EQ(ops_->read(buffer, 4, 10, stream_), 1u);
  EXPECT_EQ(ops_->tell(stream_), 25);
  EXPECT_EQ(buffer[0], 22);
  EXPECT_EQ(buffer[2], 24);
  EXPECT_EQ(ops_->eof(stream_), 0);
  EXPECT_EQ(ops_->read(buffer, 1, 1, stream_), 0u);
  EXPECT_NE(ops_->eof(stream_), 0);
}

TEST_F(MemoryStreamTest, SeeksAreClampedToTheBlockAndClearEof) {
  std::uint8_t byte;
  ops_->seek(stream_, 0, 2);
  ops_->read(&byte, 1, 1, stream_);
  ASSERT_NE(ops_->eof(stream_), 0);
  EXPECT_EQ(ops_->seek(stream_, -5, 0), 0);
  EXPECT_EQ(ops_->tell(stream_), 0);
  EXPECT_EQ(ops_->eof(stream_), 0);
  ops_->seek(stream_, 100, 1);
  EXPECT_EQ(ops_->tell(stream_), 25);
  ops_->seek(stream_, -30, 2);
  EXPECT_EQ(ops_->tell(stream_), 0);
}

TEST_F(MemoryStreamTest, ZeroOrOverflowingSizesReadNothing) {
  std::uint8_t buffer[4] = {};
  EXPECT_EQ(ops_->read(buffer, 0, 10, stream_), 0u);
  EXPECT_EQ(ops_->read(buffer, 4, 0, stream_), 0u);
  EXPECT_EQ(ops_->tell(stream_), 0);
  // size x count wraps around; only what fits may be read, here the whole block as 1.
  std::vector<std::uint8_t> big(25);
  EXPECT_EQ(ops_->read(big.data(), SIZE_MAX / 2, 4, stream_), 1u);
  EXPECT_EQ(big, data_);
  EXPECT_EQ(ops_->idleCheck(stream_), 1);
}
