// Font handles: creation with its defaults, fall-backs and limits, the cell metrics
// and cache sizes, deletion and its watcher, the default font and the re-creation of
// every font under its old handle.
#include <cstring>

#include "font_fixture.h"
#include "graphics/text_layout.h"

namespace {

TEST_F(FontTest, NothingIsMadeBeforeTheGraphicsStart) {
  EXPECT_EQ(MakeFont(16), -1);
  EXPECT_EQ(DrawOrMeasureText(0, 0, 0, 0, 1.0, 1.0, "A", 0, nullptr, nullptr, 0, 0, 0, -1, 0, nullptr), -1);
  EXPECT_EQ(InitFontSystem(), -1);
  EXPECT_EQ(RebuildDefaultFont(nullptr, 20, -1), -1);
}

TEST_F(FontTest, DefaultsAndCellMetricsOfKnownSizes) {
  Start();
  const int font = CreateFontToHandle(nullptr, -1, -1, -1, -1, -1, 0, -1, -1);
  ASSERT_GE(font, 0);
  EXPECT_EQ((static_cast<unsigned>(font) >> 27) & 0xF, 4u);  // handle type 4
  const FontRecord* record = GetFontRecord(font);
  EXPECT_EQ(record->size, 16);
  EXPECT_EQ(record->thickness, 6);
  EXPECT_EQ(record->fontType, 0);
  EXPECT_EQ(record->charset, 1);
  EXPECT_EQ(record->edgeSize, 1);
  EXPECT_EQ(record->spacing, 0);
  // IPA Gothic at a 16-pixel cell: widest character 15 + 1 (weight 600) -> cell 16.
  EXPECT_EQ(record->cellSize, 16);
  EXPECT_EQ(record->lineHeight, 16);
  EXPECT_EQ(record->memoryBits, 1);
  EXPECT_EQ(record->memoryRowBytes, 2);
  EXPECT_EQ(record->entryCount, 0x50000 / (16 * 16));
  EXPECT_EQ(record->cacheHeight, record->entryCount * 16);
  EXPECT_EQ(record->entries[record->entryCount].cell, -1);
  EXPECT_EQ(GetFontHeightByHandle(font), 16);

  // An edge size above 1 makes the font edged: cell 16 + 2 x 2 -> 24, line 20, and
  // one byte per pixel.
  const int edged = MakeFont(16, 0, 2);
  ASSERT_GE(edged, 0);
  record = GetFontRecord(edged);
  EXPECT_EQ(record->fontType, 1);
  EXPECT_EQ(record->cellSize, 24);
  EXPECT_EQ(record->lineHeight, 20);
  EXPECT_EQ(record->memoryBits, 8);
  EXPECT_EQ(record->entryCount, 0x50000 / (24 * 24));

  // Small cells are capped at 2024 entries, large ones keep at least 20; an odd line
  // height is made even.
  const int small = MakeFont(7);
  ASSERT_GE(small, 0);
  EXPECT_EQ(GetFontRecord(small)->entryCount, 2024);
  EXPECT_EQ(GetFontRecord(small)->lineHeight, 8);
  const int large = MakeFont(150);
  ASSERT_GE(large, 0);
  EXPECT_GT(GetFontRecord(large)->cellSize * GetFontRecord(large)->cellSize, 0x50000 / 20);
  EXPECT_EQ(GetFontRecord(large)->entryCount, 20);
}

TEST_F(FontTest, TheFortyFirstFontIsRefused) {
  Start();
  int made = FontTable.liveCount;  // the default font
  while (made < kFontTableSize) {
    ASSERT_GE(MakeFont(12), 0);
    ++made;
  }
  const Footprint before = Now();
  EXPECT_EQ(MakeFont(12), -1);
  EXPECT_TRUE(LogHas("作成できるフォントハンドル数 40 の限界を超えました"));
  EXPECT_EQ(Now(), before);
}

TEST_F(FontTest, GivenSlotsMustBeFreeAndInRange) {
  Start();
  const int font = CreateFontToHandle(nullptr, 16, -1, 0, -1, -1, 0, 7, 123);
  ASSERT_GE(font, 0);
  EXPECT_EQ(font & 0xFFFF, 7);
  EXPECT_EQ((font >> 16) & 0x7FF, 123);
  EXPECT_EQ(CreateFontToHandle(nullptr, 16, -1, 0, -1, -1, 0, 7, -1), -1);   // taken
  EXPECT_EQ(CreateFontToHandle(nullptr, 16, -1, 0, -1, -1, 0, 40, -1), -1);  // outside the table
  EXPECT_EQ(CreateFontToHandle(nullptr, 16, -1, 0, -1, -1, 0, -5, -1), -1);
  EXPECT_EQ(CreateFontToHandle(nullptr, 16, -1, 9, -1, -1, 0, -1, -1), -1);  // no such font type
  EXPECT_EQ(CreateFontToHandle(nullptr, 16, -1, 0, 3, -1, 0, -1, -1), -1);   // no such charset
}

TEST_F(FontTest, FailedCreationsLeaveNothingBehind) {
  Start();
  const Footprint before = Now();
  // Without a face: the charset of the font, then the default charset.
  GdiTestFailCall(GdiTestCall::CreateFontA, 0, 2);
  EXPECT_EQ(MakeFont(16), -1);
  EXPECT_TRUE(LogHas("フォントの作成に失敗しました"));
  EXPECT_EQ(Now(), before);
  // A named face also tries Shift-JIS last: two failures still give a font.
  GdiTestFailCall(GdiTestCall::CreateFontA, 0, 2);
  const int third = CreateFontToHandle("IPAGothic", 16, -1, 0, 0, -1, 0, -1, -1);
  EXPECT_GE(third, 0);
  EXPECT_EQ(FreeFontHandle(third), 0);
  EXPECT_EQ(CreateFontToHandle("No Such Face", 16, -1, 0, -1, -1, 0, -1, -1), -1);
  EXPECT_TRUE(LogHas("指定のフォントの作成に失敗しました"));
  EXPECT_EQ(Now(), before);
  // The metrics' device context.
  GdiTestFailCall(GdiTestCall::CreateCompatibleDC, 0, 1);
  EXPECT_EQ(MakeFont(16), -1);
  EXPECT_TRUE(LogHas("ＤＣの取得に失敗しました"));
  EXPECT_EQ(Now(), before);
  // A face name too long for the record.
  const std::string longFace(300, 'F');
  EXPECT_EQ(CreateFontToHandle(longFace.c_str(), 16, -1, 0, -1, -1, 0, -1, -1), -1);
  EXPECT_EQ(Now(), before);
}

TEST_F(FontTest, FreeingSetsTheWatcherAndKillsTheHandle) {
  Start();
  const Footprint before = Now();
  const int font = MakeFont(20, 3, 2);
  ASSERT_GE(font, 0);
  int lost = 7;
  EXPECT_EQ(WatchFontLoss(font, &lost), 0);
  EXPECT_EQ(lost, 0);
  EXPECT_EQ(SetFontSpaceToHandle(3, font), 0);
  char face[kFontFaceSize] = "x";
  int size = 0;
  int thickness = 0;
  EXPECT_EQ(QueryFontInfo(face, &size, &thickness, font), 0);
  EXPECT_STREQ(face, "");
  EXPECT_EQ(size, 20);
  EXPECT_EQ(thickness, 6);
  EXPECT_EQ(QueryFontInfo(nullptr, nullptr, nullptr, font), 0);
  EXPECT_EQ(FreeFontHandle(font), 0);
  EXPECT_EQ(lost, 1);
  EXPECT_EQ(IsFontHandleValid(font), 0);
  EXPECT_EQ(FreeFontHandle(font), -1);
  EXPECT_EQ(SetFontSpaceToHandle(1, font), -1);
  EXPECT_EQ(QueryFontInfo(face, &size, &thickness, font), -1);
  EXPECT_EQ(Now(), before);
  // The slot is used again under another check number.
  const int again = MakeFont(20);
  EXPECT_EQ(again & 0xFFFF, font & 0xFFFF);
  EXPECT_NE(again, font);
  EXPECT_EQ(IsFontHandleValid(font), 0);
}

TEST_F(FontTest, RecreatingAllFontsKeepsHandlesSpacingAndWatches) {
  Start();
  const int plain = MakeFont(16);
  const int edged = MakeFont(24, 3, 2);
  ASSERT_GE(plain, 0);
  ASSERT_GE(edged, 0);
  SetFontSpaceToHandle(5, edged);
  int lost = 0;
  WatchFontLoss(edged, &lost);
  const FontRecord before = *GetFontRecord(edged);
  EXPECT_EQ(RecreateAllFonts(), 0);
  ASSERT_EQ(IsFontHandleValid(plain), 1);
  ASSERT_EQ(IsFontHandleValid(edged), 1);
  const FontRecord* after = GetFontRecord(edged);
  EXPECT_EQ(after->spacing, 5);
  EXPECT_EQ(after->fontType, before.fontType);
  EXPECT_EQ(after->edgeSize, 2);
  EXPECT_EQ(after->cellSize, before.cellSize);
  EXPECT_EQ(lost, 0);
  FreeFontHandle(edged);
  EXPECT_EQ(lost, 1);
}

TEST_F(FontTest, TheDefaultFontFollowsItsSettings) {
  Start();
  const int font = GetBuiltinFontHandle();
  ASSERT_EQ(IsFontHandleValid(font), 1);
  EXPECT_EQ(GetFontRecord(font)->size, 16);
  EXPECT_EQ(EnsureDefaultFont(), 0);
  EXPECT_EQ(GetBuiltinFontHandle(), font);  // unchanged settings keep the font
  EXPECT_EQ(RebuildDefaultFont("ignored", 24, -1), 0);
  const int rebuilt = GetBuiltinFontHandle();
  EXPECT_EQ(IsFontHandleValid(font), 0);
  ASSERT_EQ(IsFontHandleValid(rebuilt), 1);
  EXPECT_EQ(GetFontRecord(rebuilt)->size, 24);
  EXPECT_STREQ(GetFontRecord(rebuilt)->face, "");
  // The font system's start keeps the default font's settings and frees the others.
  const int other = MakeFont(12);
  EXPECT_EQ(InitFontSystem(), 0);
  EXPECT_EQ(IsFontHandleValid(other), 0);
  EXPECT_EQ(FontTable.liveCount, 1);
  EXPECT_EQ(GetFontRecord(GetBuiltinFontHandle())->size, 24);
  EXPECT_TRUE(LogHas("フォントの初期化は正常に終了しました"));
}

TEST_F(FontTest, ADefaultFontThatCannotBeMadeIsNeverUsed) {
  Start();
  // Two tries each (the font's charset, then the default one): the rebuild and the
  // first text fail.
  GdiTestFailCall(GdiTestCall::CreateFontA, 0, 4);
  EXPECT_EQ(RebuildDefaultFont(nullptr, 18, -1), 0);
  EXPECT_EQ(GetBuiltinFontHandle(), -1);
  EXPECT_EQ(DrawFormattedText(0, 0, MakeScreenColor(255, 255, 255), "%d", 5), -1);
  EXPECT_TRUE(LogHas("フォントハンドル値が異常です"));
  // The next text tries again.
  EXPECT_EQ(DrawFormattedText(0, 0, MakeScreenColor(255, 255, 255), "%d", 5), 0);
  EXPECT_EQ(GetFontRecord(GetBuiltinFontHandle())->size, 18);
}

TEST_F(FontTest, FontsDieWithTheGraphicsAndComeBackAfterAModeChange) {
  Start();
  const int font = MakeFont(16, 2);
  ASSERT_GE(font, 0);
  EXPECT_EQ(RebuildDefaultFont(nullptr, 20, 4), 0);
  ASSERT_EQ(SetScreenMode(800, 600, 32, 60), 0);
  EXPECT_EQ(IsFontHandleValid(font), 0);
  const FontRecord* builtin = GetFontRecord(GetBuiltinFontHandle());
  ASSERT_NE(builtin, nullptr);
  EXPECT_EQ(builtin->size, 20);
  EXPECT_EQ(builtin->thickness, 4);
  EXPECT_EQ(FontTable.liveCount, 1);
}

TEST(FontLeadBytes, ShiftJisAndHangeul) {
  const std::uint8_t bytes[] = {0x41, 0x81, 0x9F, 0xA0, 0xDF, 0xE0, 0xFC, 0xFD};
  const int shiftJis[] = {0, 1, 1, 0, 0, 1, 1, 0};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(IsMultiByteLead(&bytes[i], 1), shiftJis[i]) << std::hex << int{bytes[i]};
    EXPECT_EQ(IsMultiByteLead(&bytes[i], 2), bytes[i] >= 0x80 ? 1 : 0);
  }
}

}  // namespace
