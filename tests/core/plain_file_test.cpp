#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "../support/scratch_directory.h"
#include "archive_test_support.h"
#include "core/log.h"
#include "core/plain_file.h"
#include "core/tracked_alloc.h"

namespace {

constexpr std::size_t kFileSize = 3 * kFileCacheSize + 777;

// The same file opened synchronously and with its file-access thread.
class ThreadedReadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenLogFile();
    blocks_ = TrackedBlocksInUse();
    content_ = NoiseBytes(kFileSize, 21);
    scratch_.Write("data/bgm/stage1.ogg", std::string(content_.begin(), content_.end()));
    plain_ = PlainFileOpen("data\\bgm\\stage1.ogg", 0);
    threaded_ = PlainFileOpen("DATA\\BGM\\STAGE1.OGG", 1);
    ASSERT_NE(plain_, nullptr);
    ASSERT_NE(threaded_, nullptr);
  }

  void TearDown() override {
    if (plain_ != nullptr) PlainFileClose(plain_);
    if (threaded_ != nullptr) PlainFileClose(threaded_);
    EXPECT_EQ(TrackedBlocksInUse(), blocks_);
  }

  // Reads `length` bytes from both; they must agree with each other and the file.
  void ReadBoth(std::size_t length) {
    const std::int64_t at = PlainFileTell(plain_);
    ASSERT_EQ(PlainFileTell(threaded_), at);
    std::vector<std::uint8_t> a(length), b(length);
    const std::size_t gotA = PlainFileRead(a.data(), 1, length, plain_);
    const std::size_t gotB = PlainFileRead(b.data(), 1, length, threaded_);
    ASSERT_EQ(gotA, gotB) << "at " << at << " length " << length;
    const std::size_t expected = at < static_cast<std::int64_t>(kFileSize)
                                     ? std::min<std::size_t>(length, kFileSize - static_cast<std::size_t>(at))
                                     : 0;
    ASSERT_EQ(gotA, expected);
    if (expected > 0) {
      ASSERT_TRUE(std::equal(a.begin(), a.begin() + gotA, content_.begin() + at));
      ASSERT_TRUE(std::equal(b.begin(), b.begin() + gotB, content_.begin() + at));
    }
    EXPECT_EQ(PlainFileEof(plain_), PlainFileEof(threaded_));
  }

  void SeekBoth(std::int64_t offset, int origin) {
    EXPECT_EQ(PlainFileSeek(plain_, offset, origin), PlainFileSeek(threaded_, offset, origin));
    EXPECT_EQ(PlainFileTell(plain_), PlainFileTell(threaded_));
  }

  // Gives the thread time to read ahead (at most to the end of the file); the results
  // must not depend on whether it did.
  void LetTheCacheFill(std::uint32_t wanted) {
    const std::int64_t left = static_cast<std::int64_t>(kFileSize) - PlainFileTell(threaded_);
    const std::uint32_t atLeast = left < wanted ? static_cast<std::uint32_t>(std::max<std::int64_t>(left, 0)) : wanted;
    for (int tries = 0; tries < 1000 && PlainFileCacheFill(threaded_) < atLeast; ++tries) usleep(5000);
  }

  ScratchDirectory scratch_;
  std::vector<std::uint8_t> content_;
  PlainFileStream* plain_ = nullptr;
  PlainFileStream* threaded_ = nullptr;
  std::size_t blocks_ = 0;
};

}  // namespace

TEST_F(ThreadedReadTest, SequentialReadsAroundTheCacheSizeMatchPlainReads) {
  for (std::size_t length : {std::size_t{1}, std::size_t{kFileCacheSize - 1}, std::size_t{1},
                             std::size_t{kFileCacheSize}, std::size_t{kFileCacheSize + 1},
                             std::size_t{5000}, std::size_t{kFileCacheSize}}) {
    LetTheCacheFill(kFileCacheSize);
    ReadBoth(length);
  }
  ReadBoth(1);  // at the end
  EXPECT_EQ(PlainFileEof(threaded_), -1);
}

TEST_F(ThreadedReadTest, SeeksBetweenReadsMatchPlainReads) {
  ReadBoth(1000);
  LetTheCacheFill(kFileCacheSize);
  SeekBoth(10, 0);  // away from the cache start: the cache restarts there
  ReadBoth(kFileCacheSize);
  SeekBoth(-500, 1);
  ReadBoth(700);
  SeekBoth(-100, 2);
  LetTheCacheFill(100);
  ReadBoth(300);
  SeekBoth(1, 2);  // past the end is the end
  ReadBoth(10);
  EXPECT_EQ(PlainFileEof(threaded_), -1);
  SeekBoth(0, 0);
  EXPECT_EQ(PlainFileEof(threaded_), 0);
  ReadBoth(kFileSize);
}

TEST_F(ThreadedReadTest, RandomReadsAndSeeksMatchPlainReads) {
  std::mt19937 random(5);
  for (int step = 0; step < 60; ++step) {
    const std::uint32_t r = random();
    if (r % 3 == 0) {
      SeekBoth(static_cast<std::int64_t>(random() % (kFileSize + 1000)), 0);
    } else if (r % 3 == 1) {
      ReadBoth(kFileCacheSize - 64 + random() % 128);
    } else {
      ReadBoth(random() % 4096);
    }
  }
}

TEST_F(ThreadedReadTest, ElementReadsAndFailedSeeksBehaveAlike) {
  SeekBoth(kFileSize - 10, 0);
  std::uint8_t buffer[64];
  for (PlainFileStream* stream : {plain_, threaded_}) {
    EXPECT_EQ(PlainFileRead(buffer, 4, 16, stream), 2u);
    EXPECT_EQ(PlainFileTell(stream), static_cast<std::int64_t>(kFileSize - 2));
    EXPECT_EQ(PlainFileRead(buffer, 4, 1, stream), 0u);
    EXPECT_EQ(PlainFileEof(stream), -1);
    EXPECT_EQ(PlainFileRead(buffer, 0, 1, stream), 0u);
    EXPECT_EQ(PlainFileSeek(stream, -1, 0), -1);
    EXPECT_EQ(PlainFileSeek(stream, INT64_MAX, 0), -1);
    EXPECT_EQ(PlainFileTell(stream), static_cast<std::int64_t>(kFileSize - 2));
  }
  EXPECT_EQ(PlainFileIdleCheck(plain_), 1);
  EXPECT_EQ(PlainFileIdleCheck(threaded_), 1);  // reads wait for the thread
}

TEST(PlainFileOpen, MissingFilesFailQuietlyInBothModes) {
  ScratchDirectory scratch;
  OpenLogFile();
  const std::size_t blocks = TrackedBlocksInUse();
  EXPECT_EQ(PlainFileOpen("data\\nothing.wav", 0), nullptr);
  EXPECT_EQ(PlainFileOpen("data\\nothing.wav", 1), nullptr);
  EXPECT_EQ(TrackedBlocksInUse(), blocks);
  EXPECT_EQ(scratch.Read("Log.txt"), "");
}
