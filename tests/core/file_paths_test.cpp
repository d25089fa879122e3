#include <gtest/gtest.h>

#include <string>

#include "core/file_paths.h"

namespace {

std::string Full(const char* path, const char* base, bool upper = false) {
  char out[kFilePathMax];
  if (BuildFullPath(path, base, upper, out, sizeof out) != 0) return "<fail>";
  return out;
}

}  // namespace

TEST(FullPath, ResolvesAgainstADriveBase) {
  EXPECT_EQ(Full("..\\b", "D:\\x\\y"), "D:\\x\\b");
  EXPECT_EQ(Full("a/./b\\c.wav", "D:\\x\\"), "D:\\x\\a\\b\\c.wav");
  EXPECT_EQ(Full("\\top\\f", "D:\\x\\y"), "D:\\top\\f");
  EXPECT_EQ(Full("E:rel", "D:\\x"), "E:\\rel");
  EXPECT_EQ(Full("E:\\abs\\..\\..\\z", "D:\\x"), "E:\\z");
  EXPECT_EQ(Full(nullptr, "D:\\x\\"), "D:\\x");
}

TEST(FullPath, UpperFormUpperCasesLettersButNotSecondBytes) {
  EXPECT_EQ(Full("data\\Se\\x.wav", "c:\\Game", true), "C:\\GAME\\DATA\\SE\\X.WAV");
  // "ツ" (0x83 0x63): its second byte stays; "表" (0x95 0x5C) is not a separator.
  EXPECT_EQ(Full("\x83\x63\\\x95\x5C\\..\\f", "C:\\g", true), "C:\\G\\\x83\x63\\F");
  EXPECT_EQ(Full("\x95\x5C", "C:\\g\\\x95\x5C", true), "C:\\G\\\x95\x5C\\\x95\x5C");
}

TEST(FullPath, RootedBaseWithoutDriveUsesTheBareRoot) {
  EXPECT_EQ(Full("data\\Se\\..\\x.wav", "/h/bs\\sub\\", true), "/H/BS\\SUB\\/DATA/X.WAV");
  EXPECT_EQ(Full("/tmp/a\\b/../c:d", "D:\\x"), "/tmp/c:d");
  EXPECT_EQ(Full("..\\..\\..\\..", "/home/bs\\sub"), "/");
  EXPECT_EQ(Full("x", "/"), "/x");
  EXPECT_EQ(Full(nullptr, "/"), "/");
}

TEST(FullPath, EmptyElementsAndOverlongResultsFail) {
  EXPECT_EQ(Full("a\\\\b", "D:\\x"), "<fail>");
  EXPECT_EQ(Full("a//b", "D:\\x"), "<fail>");
  char small[8];
  EXPECT_EQ(BuildFullPath("ab", "D:\\x", false, small, sizeof small), 0);  // "D:\x\ab" and the terminator
  EXPECT_EQ(BuildFullPath("abc", "D:\\x", false, small, sizeof small), -1);
}
