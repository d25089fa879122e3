#include "core/text_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(TextFormat, FitsOrCutsOnAWholeCharacter) {
  char buffer[8];
  EXPECT_EQ(FormatString(buffer, sizeof buffer, "%d-%s", 42, "ab"), 0);
  EXPECT_STREQ(buffer, "42-ab");

  // "漢字" is four bytes: with room for 7, "abcdef" + half of "漢" must not stay.
  FormatString(buffer, sizeof buffer, "abcdef%s", "漢字");
  EXPECT_STREQ(buffer, "abcdef");
  FormatString(buffer, sizeof buffer, "abcde%s", "漢字");
  EXPECT_STREQ(buffer, "abcde漢");
  FormatString(buffer, 1, "anything");
  EXPECT_STREQ(buffer, "");
}

namespace {
int Formatted(char* buffer, std::size_t size, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int length = FormatStringV(buffer, size, format, arguments);
  va_end(arguments);
  return length;
}
}  // namespace

TEST(TextFormat, ReportsTheBytesKept) {
  char buffer[16];
  EXPECT_EQ(Formatted(buffer, sizeof buffer, "%s", "short"), 5);
  EXPECT_EQ(Formatted(buffer, sizeof buffer, "%s", "a much longer text"), 15);
  EXPECT_EQ(Formatted(buffer, 6, "%s", "abcd表"), 4);
  EXPECT_STREQ(buffer, "abcd");
  EXPECT_EQ(Formatted(buffer, 0, "%s", "x"), 0);
  const std::string huge(3000, 'z');
  char large[1024];
  EXPECT_EQ(Formatted(large, sizeof large, "%s", huge.c_str()), 1023);
  EXPECT_EQ(std::strlen(large), 1023u);
}
