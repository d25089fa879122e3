#include "core/tracked_alloc.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "../support/scratch_directory.h"
#include "core/log.h"
#include "testing.h"

namespace {

// The header sits right before the data: name 16, serial 16-17, line 18-19,
// size 20-23, links 24-39, guard copy of 0-39 at 40-79, padding to 96.
constexpr std::size_t kHeaderSize = 96;

unsigned char* HeaderOf(void* block) { return static_cast<unsigned char*>(block) - kHeaderSize; }

unsigned SerialOf(void* block) {
  std::uint16_t serial;
  std::memcpy(&serial, HeaderOf(block) + 16, sizeof serial);
  return serial;
}

class TrackedAllocator : public ::testing::Test {
 protected:
  void SetUp() override {
    TestClockStart(0, 0);
    OpenLogFile();
    SetLogTimeStampOff(1);
  }
  void TearDown() override {
    SetLogTimeStampOff(0);
    SetTrackedAllocDebug(0, 0, 0, 0);
    TestClockStop();
  }
  std::string Contents() const { return scratch_.Read("Log.txt"); }

  ScratchDirectory scratch_;
};

}  // namespace

TEST_F(TrackedAllocator, LeakReportGoldenText) {
  ASSERT_EQ(TrackedBlocksInUse(), 0u);
  char* leaked = static_cast<char*>(TrackedAlloc(5, "leak_source.cpp", 42));
  std::memcpy(leaked, "ab\ncd", 5);
  EXPECT_EQ(DumpTrackedBlocks(), -1);
  const std::string expected = "\r\nAlloc memory dump\r\n\tsize:5(0.005kb)  file:leak_source.cpp  line:42  ID:" +
                               std::to_string(SerialOf(leaked)) +
                               "  data:<ab.cd> [61 62 0a 63 64]\r\n"
                               "\tTotal size:5(0.005kb)  Alloc num:1\r\n"
                               "\r\n";
  EXPECT_EQ(Contents(), expected);
  TrackedFree(leaked);
}

TEST_F(TrackedAllocator, ReportAfterEverythingIsFreedHasOnlyHeadingAndZeroTotals) {
  TrackedFree(TRACKED_ALLOC(10));
  DumpTrackedBlocks();
  EXPECT_EQ(Contents(), "\r\nAlloc memory dump\r\n\tTotal size:0(0.000kb)  Alloc num:0\r\n\r\n");
}

TEST_F(TrackedAllocator, LongFileNamesKeepTheirLast15CharactersAndHighBytesShowUnsigned) {
  unsigned char* block = static_cast<unsigned char*>(TrackedAlloc(20, "abcdefghijklmnopqrst", 65535));
  for (int i = 0; i < 20; ++i) block[i] = static_cast<unsigned char>(0x7E + i);
  DumpTrackedBlocks();
  const std::string report = Contents();
  EXPECT_NE(report.find("file:fghijklmnopqrst  line:65535  "), std::string::npos);
  EXPECT_NE(report.find("data:<~\x7f.............."
                        "> [7e 7f 80 81 82 83 84 85 86 87 88 89 8a 8b 8c 8d]\r\n"),
            std::string::npos);
  EXPECT_NE(report.find("\tsize:20(0.020kb)"), std::string::npos);
  TrackedFree(block);
}

TEST_F(TrackedAllocator, ZeroByteBlockIsLoggedByDefaultWithAnEmptyByteList) {
  void* empty = TrackedAlloc(0, nullptr, 3);
  ASSERT_NE(empty, nullptr);
  TrackedFree(empty);
  const std::string log = Contents();
  EXPECT_EQ(log.rfind("mem alloc  \tsize:0(0.000kb)  file:  line:3  ID:", 0), 0u);
  EXPECT_NE(log.find("data:<> []\r\nmem free  \tsize:0"), std::string::npos);
}

TEST_F(TrackedAllocator, FreeingTheMiddleBlockKeepsTheOthersLinkedAndIntact) {
  const std::size_t bytesBefore = TrackedBytesInUse();
  void* first = TRACKED_ALLOC(8);
  void* middle = TRACKED_CALLOC(24);
  void* last = TRACKED_ALLOC(100);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(middle) % 16, 0u);
  for (int i = 0; i < 24; ++i) EXPECT_EQ(static_cast<unsigned char*>(middle)[i], 0);
  EXPECT_EQ(TrackedBytesInUse(), bytesBefore + 132);
  TrackedFree(middle);
  EXPECT_EQ(TrackedBlocksInUse(), 2u);
  EXPECT_EQ(CheckTrackedBlocks(), 0);
  DumpTrackedBlocks();
  const std::string report = Contents();
  EXPECT_LT(report.find("size:100("), report.find("size:8("));  // newest first
  EXPECT_EQ(report.find("size:24("), std::string::npos);
  TrackedFree(first);
  EXPECT_EQ(CheckTrackedBlocks(), 0);
  TrackedFree(last);
  TrackedFree(nullptr);
  EXPECT_EQ(TrackedBytesInUse(), bytesBefore);
}

TEST_F(TrackedAllocator, DamagedHeaderIsReportedOnce) {
  void* block = TrackedAlloc(4, "victim.cpp", 7);
  unsigned char* header = HeaderOf(block);
  const unsigned char saved = header[18];
  header[18] ^= 0xFF;  // the line number
  EXPECT_EQ(CheckTrackedBlocks(), -1);
  header[18] = saved;
  EXPECT_EQ(CheckTrackedBlocks(), 0);
  TrackedFree(block);
  const std::string log = Contents();
  EXPECT_EQ(log.rfind("以下のメモリ確保情報が破損しました\r\n\tsize:4(0.004kb)  file:victim.cpp  line:248  ", 0), 0u);
}

TEST_F(TrackedAllocator, SizesBeyondTheHeaderFieldAreRefusedWithAReport) {
  EXPECT_EQ(TrackedAlloc(SIZE_MAX, "huge.cpp", 1), nullptr);
  EXPECT_EQ(TrackedAlloc(UINT32_MAX - 95, "huge.cpp", 2), nullptr);
  EXPECT_EQ(TrackedCalloc(SIZE_MAX - 10, "huge.cpp", 3), nullptr);
  EXPECT_NE(Contents().find("Alloc memory dump"), std::string::npos);
}

TEST_F(TrackedAllocator, DebugSettingsLogEveryCallTotalsAndChecks) {
  SetTrackedAllocDebug(-1, 0, 1, 1);
  void* block = TrackedAlloc(3, "watched.cpp", 9);
  TrackedFree(block);
  const std::string log = Contents();
  EXPECT_EQ(log.rfind("mem alloc  \tsize:3(0.003kb)  file:watched.cpp  line:9", 0), 0u);
  EXPECT_NE(log.find("\r\nmem free  \tsize:3(0.003kb)"), std::string::npos);
  EXPECT_NE(log.find("\tTotal size:3(0.003kb)  Alloc num:1\r\n"), std::string::npos);
  EXPECT_NE(log.find("\tTotal size:0(0.000kb)  Alloc num:0\r\n"), std::string::npos);

  SetTrackedAllocDebug(7, 0, 0, 0);
  TrackedFree(TrackedAlloc(6, "quiet.cpp", 1));
  EXPECT_EQ(Contents().find("quiet.cpp"), std::string::npos);
}
