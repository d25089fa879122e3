// The on-screen log's font: made at the first set-up, made again after the font layer
// lost it, and used to draw the log's lines.
#include "core/screen_log.h"
#include "font_fixture.h"

namespace {

TEST_F(FontTest, TheScreenLogNeedsTheGraphicsAndKeepsItsFont) {
  EXPECT_EQ(InitScreenLog(), -1);
  // The screen-mode change of the graphics start sets the log up: the default font and
  // the log's font. The log's record outlives the library, so after an earlier run in
  // this process its font is made again when the log is first drawn.
  Start();
  EXPECT_EQ(DrawScreenLog(), 0);
  EXPECT_EQ(FontTable.liveCount, 2);
  EXPECT_EQ(InitScreenLog(), 0);  // once made, the font stays
  EXPECT_EQ(FontTable.liveCount, 2);
  EXPECT_EQ(GetScreenLogState(), 0u);
  // The font system's start frees every font; the log makes its font again when drawn.
  InitFontSystem();
  EXPECT_EQ(FontTable.liveCount, 1);
  EXPECT_EQ(DrawScreenLog(), 0);
  EXPECT_EQ(FontTable.liveCount, 2);
  bool edgedLogFont = false;
  for (const FontRecord* font : FontTable.slots) {
    if (font != nullptr && font->fontType == 1 && font->size == 16 && font->thickness == 4) edgedLogFont = true;
  }
  EXPECT_TRUE(edgedLogFont);
  // A display restore keeps the handle: the log does not make a second font.
  RecreateAllFonts();
  EXPECT_EQ(DrawScreenLog(), 0);
  EXPECT_EQ(FontTable.liveCount, 2);
}

}  // namespace
