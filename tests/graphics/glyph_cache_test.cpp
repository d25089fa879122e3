// The glyph cache: edge kernels and the writing of a glyph into its cell (levels,
// edges, clipping), real glyphs placed in their cells, the round robin filling and
// wrapping, and the Shift-JIS walk.
#include <algorithm>
#include <vector>

#include "font_fixture.h"
#include "graphics/glyph_cache.h"
#include "graphics/glyph_stamp.h"

namespace {

int KernelPositions(int edgeSize) {
  int count = 0;
  for (int dy = -8; dy <= 8; ++dy) {
    for (int dx = -8; dx <= 8; ++dx) count += EdgeKernelReaches(edgeSize, dx, dy) ? 1 : 0;
  }
  return count;
}

TEST(EdgeKernels, ShapesBySize) {
  EXPECT_EQ(KernelPositions(1), 4);    // the direct neighbours
  EXPECT_EQ(KernelPositions(2), 21);   // 5 x 5 without the corners
  EXPECT_EQ(KernelPositions(3), 29);
  EXPECT_EQ(KernelPositions(4), 69);
  EXPECT_EQ(KernelPositions(5), 121);  // the full square
  EXPECT_FALSE(EdgeKernelReaches(1, 0, 0));
  EXPECT_FALSE(EdgeKernelReaches(1, 1, 1));
  EXPECT_TRUE(EdgeKernelReaches(2, 0, 0));
  EXPECT_FALSE(EdgeKernelReaches(2, 2, 2));
  EXPECT_TRUE(EdgeKernelReaches(3, 0, -3));
  EXPECT_FALSE(EdgeKernelReaches(3, 1, -3));
  EXPECT_FALSE(EdgeKernelReaches(4, 3, 4) || EdgeKernelReaches(4, 4, 3));
  EXPECT_TRUE(EdgeKernelReaches(4, 2, 4));
}

// A cell of `size` inside a larger block whose margin must stay untouched.
struct CellBlock {
  static constexpr int kMargin = 8;
  static constexpr std::uint8_t kCanary = 0xAB;
  int size;
  int rowBytes;
  std::vector<std::uint8_t> bytes;
  CellBlock(int cellSize, int bytesPerRow)
      : size(cellSize), rowBytes(bytesPerRow + 2 * kMargin),
        bytes(static_cast<std::size_t>(rowBytes) * (cellSize + 2 * kMargin), kCanary) {
    for (int y = 0; y < size; ++y) std::fill_n(&bytes[Offset(0, y)], bytesPerRow, 0);
  }
  std::size_t Offset(int x, int y) const { return static_cast<std::size_t>(y + kMargin) * rowBytes + x + kMargin; }
  std::uint8_t* cell() { return &bytes[Offset(0, 0)]; }
  std::uint8_t at(int x, int y) const { return bytes[Offset(x, y)]; }
  int CanariesLost(int bytesPerRow) const {
    int lost = 0;
    for (int y = -kMargin; y < size + kMargin; ++y) {
      for (int x = -kMargin; x < rowBytes - kMargin; ++x) {
        const bool inside = y >= 0 && y < size && x >= 0 && x < bytesPerRow;
        if (!inside && bytes[Offset(x, y)] != kCanary) ++lost;
      }
    }
    return lost;
  }
};

TEST(GlyphStamp, GreyLevelsAreStoredOneLower) {
  const std::uint8_t grey[2 * 4] = {0, 1, 16, 0, 8, 0, 0, 0};  // 3 x 2, rows of 4 bytes
  CellBlock block(8, 8);
  int w = 0;
  int h = 0;
  StampGlyphIntoCell(block.cell(), block.rowBytes, 8, 2, 1, GlyphBitmap{grey, 3, 2, 4}, &w, &h);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2);
  EXPECT_EQ(block.at(0, 0), 0);
  EXPECT_EQ(block.at(1, 0), 0);  // level 1 becomes 0
  EXPECT_EQ(block.at(2, 0), 15);
  EXPECT_EQ(block.at(0, 1), 7);
  EXPECT_EQ(block.CanariesLost(8), 0);
}

TEST(GlyphStamp, MonoBitsAreCopiedAsTheyCome) {
  const std::uint8_t mono[2 * 4] = {0xA0, 0x01, 0, 0, 0x40, 0x00, 0, 0};  // 16 x 2
  CellBlock block(16, 2);
  int w = 0;
  int h = 0;
  StampGlyphIntoCell(block.cell(), block.rowBytes, 16, 0, 1, GlyphBitmap{mono, 16, 2, 4}, &w, &h);
  EXPECT_EQ(block.at(0, 0), 0xA0);
  EXPECT_EQ(block.at(1, 0), 0x01);
  EXPECT_EQ(block.at(0, 1), 0x40);
  EXPECT_EQ(block.CanariesLost(2), 0);
}

TEST(GlyphStamp, EdgesSurroundTheBodyInsetByTheEdgeSize) {
  const std::uint8_t dot[4] = {0x80, 0, 0, 0};  // one pixel
  CellBlock block(8, 8);
  int w = 0;
  int h = 0;
  StampGlyphIntoCell(block.cell(), block.rowBytes, 8, 1, 2, GlyphBitmap{dot, 1, 1, 4}, &w, &h);
  EXPECT_EQ(w, 5);
  EXPECT_EQ(h, 5);
  EXPECT_EQ(block.at(2, 2), 1);  // the body, two pixels in
  int edges = 0;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      if (block.at(x, y) == 2) {
        ++edges;
        EXPECT_TRUE(EdgeKernelReaches(2, x - 2, y - 2));
      }
    }
  }
  EXPECT_EQ(edges, 20);  // the kernel without the body itself
  EXPECT_EQ(block.CanariesLost(8), 0);
}

TEST(GlyphStamp, AntialiasedEdgesKeepTheLargerLevel) {
  // Two body pixels side by side, levels 16 and 5; the edge of size 1 reaches the four
  // neighbours of each, not the pixel itself.
  const std::uint8_t grey[4] = {16, 5, 0, 0};
  CellBlock block(8, 8);
  int w = 0;
  int h = 0;
  StampGlyphIntoCell(block.cell(), block.rowBytes, 8, 3, 1, GlyphBitmap{grey, 2, 1, 4}, &w, &h);
  EXPECT_EQ(block.at(1, 1), 4 << 4 | 15);  // body 15, edge 4 from the right neighbour
  EXPECT_EQ(block.at(2, 1), 15 << 4 | 4);  // body 4, edge 15 from the left neighbour
  EXPECT_EQ(block.at(3, 1), 4 << 4);       // outside: the edge of the weaker pixel only
  EXPECT_EQ(block.at(0, 1), 15 << 4);
  EXPECT_EQ(block.at(1, 0), 15 << 4);
  EXPECT_EQ(block.at(2, 0), 4 << 4);
}

TEST(GlyphStamp, OversizedGlyphsAreClippedToTheirCell) {
  // A solid 40 x 40 glyph into 16-pixel cells of every type.
  std::vector<std::uint8_t> mono(40 * 8, 0xFF);
  std::vector<std::uint8_t> grey(40 * 40, 16);
  for (int type = 0; type < 4; ++type) {
    const int bytesPerRow = type == 0 ? 2 : 16;
    CellBlock block(16, bytesPerRow);
    const bool monoType = type < 2;
    const GlyphBitmap glyph = monoType ? GlyphBitmap{mono.data(), 40, 40, 8} : GlyphBitmap{grey.data(), 40, 40, 40};
    int w = 0;
    int h = 0;
    StampGlyphIntoCell(block.cell(), block.rowBytes, 16, type, 3, glyph, &w, &h);
    EXPECT_EQ(w, 16) << type;
    EXPECT_EQ(h, 16) << type;
    EXPECT_EQ(block.CanariesLost(bytesPerRow), 0) << type;
  }
}

// ---- Glyphs of a real font ----

std::uint16_t Code(const char* character) {
  const auto* b = reinterpret_cast<const std::uint8_t*>(character);
  return b[1] == 0 ? b[0] : static_cast<std::uint16_t>(b[0] | b[1] << 8);
}

TEST_F(FontTest, AGlyphLiesInItsCellWithItsMetrics) {
  Start();
  const int font = MakeFont(16, 2);
  ASSERT_GE(font, 0);
  FontRecord* record = GetFontRecord(font);
  const std::uint16_t code = Code("ア");
  // Take a few entries first, so that the glyph lands in a cell other than the first.
  const std::uint16_t others[3] = {'a', 'b', 'c'};
  RasterizeGlyph(font, 3, others);
  const GlyphEntry* entry = RasterizeGlyph(font, 1, &code);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->cell, 3);
  EXPECT_EQ(record->index[code].entry, entry);
  const GdiGlyph gdi = RenderWithGdi(font, 0x8341, GGO_GRAY4_BITMAP);
  EXPECT_EQ(entry->advance, 16);
  EXPECT_EQ(entry->width, static_cast<int>(gdi.metrics.gmBlackBoxX));
  EXPECT_EQ(entry->height, static_cast<int>(gdi.metrics.gmBlackBoxY));
  EXPECT_EQ(entry->xOffset, gdi.metrics.gmptGlyphOrigin.x);
  EXPECT_EQ(entry->yOffset, 13 - gdi.metrics.gmptGlyphOrigin.y);  // ascent 13
  const std::uint8_t* cell = MemoryCacheCell(record, entry->cell);
  EXPECT_EQ(cell, record->memoryCache + 3 * 16 * record->memoryRowBytes);
  const int gdiRow = (entry->width + 3) / 4 * 4;
  for (int y = 0; y < record->cellSize; ++y) {
    for (int x = 0; x < record->cellSize; ++x) {
      const int level = x < entry->width && y < entry->height ? gdi.bits[y * gdiRow + x] : 0;
      ASSERT_EQ(cell[y * record->memoryRowBytes + x], level > 0 ? level - 1 : 0) << x << "," << y;
    }
  }
}

TEST_F(FontTest, EdgedGlyphsAreBodyAndEdgeInsetInTheirCell) {
  Start();
  const int font = MakeFont(16, 0, 2);  // type 1, edge 2
  ASSERT_GE(font, 0);
  FontRecord* record = GetFontRecord(font);
  const std::uint16_t code = Code("漢");
  const GlyphEntry* entry = RasterizeGlyph(font, 1, &code);
  ASSERT_NE(entry, nullptr);
  const GdiGlyph gdi = RenderWithGdi(font, 0x8ABF, GGO_BITMAP);
  const int bodyWidth = std::min<int>(gdi.metrics.gmBlackBoxX, record->cellSize - 4);
  EXPECT_EQ(entry->width, bodyWidth + 4);
  const std::uint8_t* cell = MemoryCacheCell(record, entry->cell);
  const int gdiRow = (static_cast<int>(gdi.metrics.gmBlackBoxX) + 31) / 32 * 4;
  for (int y = 0; y < static_cast<int>(gdi.metrics.gmBlackBoxY); ++y) {
    for (int x = 0; x < bodyWidth; ++x) {
      const bool body = (gdi.bits[y * gdiRow + x / 8] >> (7 - x % 8)) & 1;
      const std::uint8_t value = cell[(y + 2) * record->memoryRowBytes + x + 2];
      ASSERT_EQ(value == 1, body) << x << "," << y;
    }
  }
  // The outermost ring of the cell holds edges only.
  for (int x = 0; x < record->cellSize; ++x) EXPECT_NE(cell[x], 1);
}

TEST_F(FontTest, TheCacheFillsAndWrapsRoundRobin) {
  Start();
  const int font = MakeFont(150);
  ASSERT_GE(font, 0);
  FontRecord* record = GetFontRecord(font);
  ASSERT_EQ(record->entryCount, 20);
  std::uint16_t codes[21];
  for (int i = 0; i < 21; ++i) codes[i] = static_cast<std::uint16_t>('A' + i);
  const GlyphEntry* last = RasterizeGlyph(font, 20, codes);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->cell, 19);
  EXPECT_EQ(record->nextEntry, 0);
  EXPECT_EQ(record->index['A'].valid, 1u);
  // The 21st glyph takes entry 0 and evicts the first one.
  const GlyphEntry* wrapped = RasterizeGlyph(font, 1, &codes[20]);
  EXPECT_EQ(wrapped, &record->entries[0]);
  EXPECT_EQ(record->index['A'].valid, 0u);
  EXPECT_EQ(record->index['A' + 20].entry, wrapped);
  EXPECT_EQ(record->nextEntry, 1);
  // A glyph made again leaves its old entry free and never clears its new slot.
  const std::uint16_t again = 'B';
  const GlyphEntry* moved = RasterizeGlyph(font, 1, &again);
  EXPECT_EQ(moved, &record->entries[1]);
  EXPECT_EQ(record->index['B'].entry, moved);
  EXPECT_EQ(ClearFontCache(font), 0);
  EXPECT_EQ(record->index['B'].valid, 0u);
  EXPECT_EQ(record->nextEntry, 0);
  EXPECT_EQ(record->entries[20].cell, -1);
}

TEST_F(FontTest, TextIsWalkedAsShiftJis) {
  Start();
  const int font = MakeFont(16);
  ASSERT_GE(font, 0);
  const auto* text = reinterpret_cast<const std::uint8_t*>("Aア漢 ");
  std::uint16_t codes[8];
  int count = 0;
  EXPECT_EQ(CacheTextGlyphs(font, text, 6, codes, 8, &count), 6);
  ASSERT_EQ(count, 4);
  EXPECT_EQ(codes[0], 'A');
  EXPECT_EQ(codes[1], 0x8341 >> 8 | (0x41 << 8));
  EXPECT_EQ(codes[2], Code("漢"));
  EXPECT_EQ(codes[3], ' ');
  for (int i = 0; i < 4; ++i) EXPECT_EQ(GetFontRecord(font)->index[codes[i]].valid, 1u);
  // A length ending inside a pair still takes the pair; capacity stops the walk.
  EXPECT_EQ(CacheTextGlyphs(font, text, 2, codes, 8, &count), 3);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(CacheTextGlyphs(font, text, 6, codes, 1, &count), 1);
  EXPECT_EQ(count, 1);
  // A lead byte before the terminator ends the text.
  const std::uint8_t lone[] = {'B', 0x83, 0};
  EXPECT_EQ(CacheTextGlyphs(font, lone, 2, codes, 8, &count), 2);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(CacheTextGlyphs(-1, text, 6, codes, 8, &count), -1);
}

TEST_F(FontTest, RasterizingRefusesWithoutAFontAndEndsTheProgramWhenGdiFails) {
  Start();
  const std::uint16_t code = 'A';
  EXPECT_EQ(RasterizeGlyph(-1, 1, &code), nullptr);
  const int font = MakeFont(16);
  static std::string fatal;
  SetGraphicsFatalHookForTest([](const char* text) { fatal = text; });
  GdiTestFailCall(GdiTestCall::GetGlyphOutlineA, 0, 1);
  EXPECT_EQ(RasterizeGlyph(font, 1, &code), nullptr);
  EXPECT_EQ(fatal, "GetGlyphOutline 関数が失敗しました");
  EXPECT_EQ(GetFontRecord(font)->index[code].valid, 0u);  // nothing half-made stays cached
  GdiTestFailCall(GdiTestCall::CreateCompatibleDC, 0, 1);
  EXPECT_EQ(RasterizeGlyph(font, 1, &code), nullptr);
  EXPECT_EQ(fatal, "テキストキャッシュサーフェスのＤＣの取得に失敗しました");
  EXPECT_NE(RasterizeGlyph(font, 1, &code), nullptr);
}

}  // namespace
