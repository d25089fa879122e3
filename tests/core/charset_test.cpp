#include <gtest/gtest.h>

#include <cstring>

// Library and game texts are Shift-JIS at run time; the sources are UTF-8.
TEST(SourceCharset, JapaneseLiteralIsShiftJis) {
  const char* text = "完了";
  const unsigned char expected[] = {0x8A, 0xAE, 0x97, 0xB9, 0x00};
  ASSERT_EQ(std::strlen(text), 4u);
  EXPECT_EQ(std::memcmp(text, expected, sizeof expected), 0);
}

TEST(SourceCharset, WaveDashCompilesAsCodePage932) {
  const char* text = "～";
  const unsigned char expected[] = {0x81, 0x60, 0x00};
  EXPECT_EQ(std::memcmp(text, expected, sizeof expected), 0);
}
