// The text entry points and the software text path on the screens: refusals, the plain
// and the blended path, the cache image's transparent colour, and the state the
// blended path borrows.
#include <string>

#include "font_fixture.h"
#include "graphics/draw_entry_points.h"
#include "graphics/software_draw_setups.h"

namespace {

TEST_F(FontTest, MissingFontsAreRefused) {
  Start();
  const unsigned white = MakeScreenColor(255, 255, 255);
  EXPECT_EQ(DrawTextSoftware(0, 0, "A", white, -1, 0, 0), -1);
  EXPECT_EQ(DrawTextWithFont(0, 0, "A", white, 12345, 0, 0), -1);
  EXPECT_TRUE(LogHas("フォントハンドル値が異常です"));
  EXPECT_EQ(DrawTextWithFont(0, 0, "", white, 12345, 0, 0), 0);  // an empty text checks nothing
  const int font = MakeFont(16);
  FreeFontHandle(font);
  EXPECT_EQ(DrawTextSoftware(0, 0, "A", white, font, 0, 0), -1);
}

TEST_F(FontTest, TheEntryPointsDrawWithTheDefaultFont) {
  Start(32, 1, 1);
  SetDrawTarget(kDrawTargetBackScreen);
  ClearDrawTarget();
  EXPECT_EQ(DrawFormattedText(10, 10, MakeScreenColor(255, 255, 255), "スコア %d", 100), 0);
  int ink = 0;
  for (int y = 10; y < 26; ++y) {
    for (int x = 10; x < 120; ++x) ink += (TargetPixel(x, y) & 0xFFFFFF) == 0xFFFFFF ? 1 : 0;
  }
  EXPECT_GT(ink, 100);
  EXPECT_EQ(TargetPixel(9, 10) & 0xFFFFFF, 0u);
  EXPECT_EQ(TargetPixel(10, 27) & 0xFFFFFF, 0u);
  EXPECT_EQ(DrawTextAt(10, 40, "", 0, 0), 0);
}

// Blended text is composed in the drawing screen over its transparent colour; a key
// equal to the text colour moves on, wrapping within the pixel width (white + 1 is 0,
// the edge colour here, so the key becomes 1).
TEST_F(FontTest, TheCacheKeyAvoidsBothTextColoursAndWraps) {
  Start(16, 0, 1);
  SetTransparentColor(255, 255, 255);
  const int font = MakeFont(16, 1);  // edged, not anti-aliased
  ASSERT_GE(font, 0);
  SetDrawTarget(kDrawTargetBackScreen);
  const unsigned background = MakeScreenColor(100, 150, 200);
  DrawRect(0, 0, 200, 60, background, 1);
  const RECT clipBefore = DrawState.clip;
  SetDrawTint(255, 255, 255);
  SetBlendMode(1, 128);
  EXPECT_EQ(DrawTextWithFont(10, 10, "A　", MakeScreenColor(255, 255, 255), font, MakeScreenColor(0, 0, 0), 0), 0);
  SetBlendMode(0, 0);
  // The full-width space is inside the text box but holds no glyph: untouched.
  for (int y = 10; y < 26; ++y) {
    for (int x = 24; x < 30; ++x) ASSERT_EQ(TargetPixel(x, y), background) << x << "," << y;
  }
  // The letter itself is blended.
  int blended = 0;
  for (int y = 10; y < 26; ++y) {
    for (int x = 10; x < 20; ++x) blended += TargetPixel(x, y) != background ? 1 : 0;
  }
  EXPECT_GT(blended, 10);
  EXPECT_EQ(DrawState.clip.left, clipBefore.left);
  EXPECT_EQ(DrawState.clip.right, clipBefore.right);
  EXPECT_EQ(DrawState.clip.bottom, clipBefore.bottom);
  EXPECT_EQ(DrawState.tint, 0xFFFFFFu);
}

TEST_F(FontTest, BlendedTextKeepsTheTintAndClipAndStaysOnScreen) {
  Start(32, 1, 1);
  const int font = MakeFont(24, 3, 2);
  ASSERT_GE(font, 0);
  SetDrawTarget(kDrawTargetBackScreen);
  ClearDrawTarget();
  SetClipRect(100, 100, 300, 200);
  SetDrawTint(200, 100, 50);
  SetBlendMode(2, 255);
  // Far longer than the screen, and starting left of it.
  std::string text;
  for (int i = 0; i < 60; ++i) text += "漢字";
  EXPECT_EQ(DrawTextWithFont(-50, 120, text.c_str(), MakeScreenColor(255, 255, 255), font, MakeScreenColor(0, 0, 255), 0),
            0);
  EXPECT_EQ(DrawTextWithFont(150, -30, text.c_str(), MakeScreenColor(255, 255, 255), font, 0, 1), 0);
  SetBlendMode(0, 0);
  EXPECT_EQ(DrawState.tint, 0xC86432u);
  EXPECT_EQ(DrawState.clip.left, 100);
  EXPECT_EQ(DrawState.clip.top, 100);
  EXPECT_EQ(DrawState.clip.right, 300);
  EXPECT_EQ(DrawState.clip.bottom, 200);
  int inside = 0;
  for (int y = 0; y < 480; y += 2) {
    for (int x = 0; x < 640; x += 2) {
      const bool drawn = (TargetPixel(x, y) & 0xFFFFFF) != 0;
      if (x < 100 || x >= 300 || y < 100 || y >= 200) {
        ASSERT_FALSE(drawn) << x << "," << y;
      } else {
        inside += drawn ? 1 : 0;
      }
    }
  }
  EXPECT_GT(inside, 500);
}

}  // namespace
