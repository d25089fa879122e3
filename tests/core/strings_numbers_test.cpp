#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "core/byte_functions.h"
#include "core/link_list.h"
#include "core/number_functions.h"
#include "core/string_functions.h"

namespace {

// A heap copy sized exactly, so a walker that reads past the terminator is caught.
std::unique_ptr<char[]> Exact(const std::string& bytes) {
  std::unique_ptr<char[]> copy(new char[bytes.size() + 1]);
  std::memcpy(copy.get(), bytes.c_str(), bytes.size() + 1);
  return copy;
}

}  // namespace

TEST(SjisStrings, FindSkipsSecondBytesAndStopsAtTheTerminatorAfterALeadByte) {
  const auto text = Exact("表\\x");  // "表" is 0x95 0x5C: its second byte looks like "\"
  ASSERT_EQ(static_cast<unsigned char>(text[1]), 0x5C);
  EXPECT_EQ(FindCharSjis(text.get(), '\\'), text.get() + 2);
  EXPECT_EQ(FindCharSjis(text.get(), 'x'), text.get() + 3);
  const auto onlyInside = Exact("表");
  EXPECT_EQ(FindCharSjis(onlyInside.get(), '\\'), nullptr);
  const auto leadAtEnd = Exact("ab\x81");
  EXPECT_EQ(FindCharSjis(leadAtEnd.get(), 'z'), nullptr);
  EXPECT_EQ(FindCharSjis(leadAtEnd.get(), 'b'), leadAtEnd.get() + 1);
}

TEST(SjisStrings, UpperCaseLeavesTwoByteCharactersAlone) {
  // 0x82 0x61 is a two-byte character whose second byte is "a".
  auto text = Exact("ab\x82" "a" "cd\x81");
  UpperCaseSjis(text.get());
  EXPECT_STREQ(text.get(), "AB\x82" "a" "CD\x81");
  auto plain = Exact("mixed Case 9");
  UpperCaseSjis(plain.get());
  EXPECT_STREQ(plain.get(), "MIXED CASE 9");
}

TEST(SjisStrings, CopyAppendAndCompare) {
  char buffer[32];
  CopyString(buffer, "data");
  AppendString(buffer, "\\se");
  EXPECT_STREQ(buffer, "data\\se");
  EXPECT_EQ(CompareStrings("abc", "abc"), 0);
  EXPECT_EQ(CompareStrings("abc", "abd"), 1);
  EXPECT_EQ(CompareStrings("abc", "ab"), 1);
  EXPECT_EQ(CompareStringsN("abcX", "abcY", 3), 0);
  EXPECT_EQ(CompareStringsN("abcX", "abcY", 4), 1);
  EXPECT_EQ(CompareStringsN("ab", "ab", 10), 0);
  EXPECT_EQ(CompareStringsN("a", "b", 0), 0);
  EXPECT_EQ(CompareStringsN("a", "a", -1), 1);
}

TEST(ByteBlocks, FillCompareCopyAndOverlappingMoves) {
  unsigned char block[8];
  FillBytes(block, 0x5A, sizeof block);
  EXPECT_EQ(block[7], 0x5A);
  unsigned char other[8] = {0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A};
  EXPECT_EQ(CompareBytes(block, other, 8), 0);
  other[7] = 0;
  EXPECT_EQ(CompareBytes(block, other, 8), 1);
  EXPECT_EQ(CompareBytes(block, other, 7), 0);

  char text[] = "0123456789";
  CopyBytes(text, "ab", 2);
  EXPECT_STREQ(text, "ab23456789");
  MoveBytes(text + 2, text, 6);  // forward overlap
  EXPECT_STREQ(text, "abab234589");
  MoveBytes(text, text + 3, 5);  // backward overlap
  EXPECT_STREQ(text, "b234534589");
}

TEST(Numbers, IntToTextCoversRadixSignAndExtremes) {
  char buffer[40];
  EXPECT_STREQ(IntToText(255, buffer, 16), "ff");
  EXPECT_STREQ(IntToText(-12, buffer, 10), "-12");
  EXPECT_STREQ(IntToText(0, buffer, 10), "0");
  EXPECT_STREQ(IntToText(INT_MAX, buffer, 10), "2147483647");
  EXPECT_STREQ(IntToText(INT_MIN, buffer, 10), "-2147483648");
  EXPECT_STREQ(IntToText(INT_MIN, buffer, 16), "-80000000");
  EXPECT_STREQ(IntToText(INT_MIN, buffer, 2), "-10000000000000000000000000000000");
  EXPECT_STREQ(IntToText(35, buffer, 36), "z");
  EXPECT_STREQ(IntToText(5, buffer, 0), "");
  EXPECT_STREQ(IntToText(5, buffer, 37), "");
}

TEST(Numbers, SmallHelpers) {
  float sine = 0;
  float cosine = 0;
  SinAndCos(0.5f, &sine, &cosine);
  EXPECT_EQ(sine, std::sin(0.5f));
  EXPECT_EQ(cosine, std::cos(0.5f));
  EXPECT_EQ(AbsInt(-7), 7);
  EXPECT_EQ(AbsInt(INT_MIN), INT_MIN);
  EXPECT_EQ(AbsFloat(-2.5f), 2.5);
  EXPECT_EQ(SqrtFloat(16.0f), 4.0f);
  const double in[4] = {1.9, -1.9, 3e10, std::nan("")};
  int out[4];
  DoubleToInt4(in, out);
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[1], -1);
  EXPECT_EQ(out[2], INT_MIN);
  EXPECT_EQ(out[3], INT_MIN);
}

TEST(LinkList, InsertsAfterAndUnlinks) {
  LinkNode head;
  LinkNode tail;
  LinkNode a;
  LinkNode b;
  LinkNode c;
  InitLinkList(&head, &tail);
  EXPECT_EQ(head.valueA, 0xFFFFFFFFu);
  EXPECT_EQ(head.next, &tail);
  EXPECT_EQ(tail.previous, &head);
  InsertLinkAfter(&head, &a, 1, 10);
  InsertLinkAfter(&head, &b, 2, 20);  // at the front
  InsertLinkAfter(&a, &c, 3, 30);     // after a, before the tail
  EXPECT_EQ(head.next, &b);
  EXPECT_EQ(b.next, &a);
  EXPECT_EQ(a.next, &c);
  EXPECT_EQ(c.next, &tail);
  EXPECT_EQ(tail.previous, &c);
  EXPECT_EQ(c.valueB, 30u);
  UnlinkNode(&a);
  EXPECT_EQ(b.next, &c);
  EXPECT_EQ(c.previous, &b);
}
