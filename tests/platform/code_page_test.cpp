// Shift-JIS text to UTF-16 and back, as file names travel through wide-character calls.
#include <gtest/gtest.h>

#include <string>

#include "kernel/code_page.h"

TEST(CodePage, ShiftJisRoundTripsThroughUtf16) {
  const char* name = "data\\\x83\x80\x81\x5B\x83\x72\x81\x5B.avi";  // data\ムービー.avi
  const int needed = MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
  ASSERT_EQ(needed, 14);  // with the terminator
  WCHAR wide[32];
  ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 32), 14);
  EXPECT_EQ(wide[0], u'd');
  EXPECT_EQ(wide[5], u'\u30E0');
  EXPECT_EQ(wide[6], u'\u30FC');
  EXPECT_EQ(wide[13], 0);
  EXPECT_EQ(WideToCp932(wide), std::string(name));

  // Too small a buffer, another code page, a given length without terminator.
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 13), 0);
  EXPECT_EQ(MultiByteToWideChar(65001, 0, name, -1, wide, 32), 0);
  EXPECT_EQ(MultiByteToWideChar(932, 0, name, 4, wide, 32), 4);
  EXPECT_EQ(wide[3], u'a');
}
