// The texture glyph cache: its size rule, glyphs written as white with alpha into
// their cells column by column, the round robin wrapping over the cells, edged
// fonts' edges in the right half, a lost cache graph made again, scaled glyphs, and
// hardware text handing memory-cache fonts to the software path.
#include <algorithm>
#include <functional>
#include <vector>

#include "font_fixture.h"
#include "graphics/draw_entry_points.h"
#include "graphics/glyph_cache.h"
#include "graphics/glyph_stamp.h"
#include "graphics/glyph_texture.h"
#include "graphics/surface_3d_data.h"
#include "graphics/text_hardware.h"
#include "graphics/text_layout.h"

namespace {

TEST(TextureGlyphCache, SizeRule) {
  const TextureCacheSize common = ChooseTextureCacheSize(24);
  EXPECT_EQ(common.width, 512);
  EXPECT_EQ(common.height, 512);
  EXPECT_EQ(common.entries, 441);
  EXPECT_EQ(common.cellsPerColumn, 21);
  // Fewer than 10 cells: the shorter side doubles, the width first.
  const TextureCacheSize large = ChooseTextureCacheSize(200);
  EXPECT_EQ(large.width, 1024);
  EXPECT_EQ(large.height, 512);
  EXPECT_EQ(large.entries, 10);
  EXPECT_EQ(large.cellsPerColumn, 2);
  const TextureCacheSize huge = ChooseTextureCacheSize(400);
  EXPECT_EQ(huge.width, 2048);
  EXPECT_EQ(huge.height, 1024);
  EXPECT_EQ(huge.entries, 10);
  EXPECT_EQ(ChooseTextureCacheSize(8).entries, 2024);  // 4096 cells, capped
}

// The 16-bit texels of a rectangle of a texture graph, row by row.
std::vector<std::uint16_t> Texels(int graph, int x, int y, int width, int height) {
  std::vector<std::uint16_t> texels(static_cast<std::size_t>(width) * height, 0xDEAD);
  const GraphRecord* record = GetGraphRecord(graph);
  for (int i = 0; i < record->pieceCount; ++i) {
    const Surface3DData* piece = GetSurface3DData(record->pieces[i]);
    IDirectDrawSurface7* texture = GetSurface3DTexture(piece);
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    if (texture->Lock(nullptr, &description, DDLOCK_WAIT | DDLOCK_READONLY, nullptr) != DD_OK) continue;
    for (int ty = 0; ty < height; ++ty) {
      for (int tx = 0; tx < width; ++tx) {
        const int gx = x + tx - piece->x;
        const int gy = y + ty - piece->y;
        if (gx < 0 || gy < 0 || gx >= piece->width || gy >= piece->height) continue;
        const auto* row = static_cast<const std::uint8_t*>(description.lpSurface) +
                          static_cast<std::ptrdiff_t>(piece->textureY + gy) * description.lPitch;
        std::memcpy(&texels[static_cast<std::size_t>(ty) * width + tx], row + 2 * (piece->textureX + gx), 2);
      }
    }
    texture->Unlock(nullptr);
  }
  return texels;
}

// A 1-bit GDI glyph's pixel; false outside its box.
bool MonoBit(const GdiGlyph& glyph, int x, int y) {
  const int width = static_cast<int>(glyph.metrics.gmBlackBoxX);
  const int row = (width + 31) / 32 * 4;
  return x >= 0 && y >= 0 && x < width && y < static_cast<int>(glyph.metrics.gmBlackBoxY) &&
         ((glyph.bits[y * row + x / 8] >> (7 - x % 8)) & 1);
}

// 漢: its cache code (first byte | second byte << 8) and its GDI character.
constexpr std::uint16_t kKanji = 0x8A | 0xBF << 8;
constexpr UINT kKanjiCharacter = 0x8ABF;

constexpr std::uint16_t kOpaqueWhite = 0xFFFF;  // A1R5G5B5
constexpr std::uint16_t kClearWhite = 0x7FFF;

class TextureFontTest : public FontTest {
 protected:
  void SetUp() override {
    Start(32, 1, demo_scene::kHardwarePath);
    ASSERT_EQ(ChooseTextureGlyphCache(), 1) << "the device offers no glyph texture formats";
  }
};

TEST_F(TextureFontTest, AFontWhoseWidestCharacterIs17GetsA512TextureOf441Cells) {
  const int font = MakeFont(17);  // the font file's widest character is as wide as the size
  ASSERT_GE(font, 0);
  const FontRecord* record = GetFontRecord(font);
  ASSERT_EQ(record->textureCache, 1);
  EXPECT_EQ(record->cellSize, 24);
  EXPECT_EQ(record->entryCount, 441);
  EXPECT_EQ(record->cacheWidth, 512);
  EXPECT_EQ(record->cellsPerColumn, 21);
  EXPECT_EQ(record->memoryCache, nullptr);
  const GraphRecord* cache = GetGraphRecord(record->cacheGraph);
  ASSERT_NE(cache, nullptr);
  EXPECT_EQ(cache->flags.texture, 1);
  EXPECT_EQ(cache->flags.alphaTest, 1);
  EXPECT_EQ(cache->flags.colourDepth, 16);
  EXPECT_EQ(record->workImage.format.widthA, 1);
  // Anti-aliased glyphs get an alpha channel of four bits.
  const FontRecord* smooth = GetFontRecord(MakeFont(16, 2));
  ASSERT_NE(smooth, nullptr);
  EXPECT_EQ(GetGraphRecord(smooth->cacheGraph)->flags.alphaChannel, 1);
  EXPECT_EQ(smooth->workImage.format.widthA, 4);
  // An empty cache is white with alpha 0.
  EXPECT_EQ(Texels(record->cacheGraph, 100, 100, 1, 1)[0], kClearWhite);
}

TEST_F(TextureFontTest, GlyphsFillTheCacheColumnByColumnAsWhiteWithAlpha) {
  const int font = MakeFont(16);
  ASSERT_GE(font, 0);
  const FontRecord* record = GetFontRecord(font);
  std::vector<std::uint16_t> codes;
  for (int i = 0; i <= record->cellsPerColumn; ++i) codes.push_back(static_cast<std::uint16_t>('!' + i));
  codes.push_back(kKanji);  // the second cell of the second column
  const GlyphEntry* entry = RasterizeGlyph(font, static_cast<int>(codes.size()), codes.data());
  ASSERT_NE(entry, nullptr);
  ASSERT_EQ(entry->cell, record->cellsPerColumn + 1);
  const GdiGlyph gdi = RenderWithGdi(font, kKanjiCharacter, GGO_BITMAP);
  ASSERT_GT(gdi.metrics.gmBlackBoxX, 0u);
  const int side = record->cellSize;
  const std::vector<std::uint16_t> cell = Texels(record->cacheGraph, side, side, side, side);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const std::uint16_t texel = cell[static_cast<std::size_t>(y) * side + x];
      if (MonoBit(gdi, x, y)) {
        ASSERT_EQ(texel, kOpaqueWhite) << x << "," << y;
      } else {
        ASSERT_EQ(texel & 0x8000, 0) << x << "," << y;
      }
    }
  }
}

TEST_F(TextureFontTest, AntialiasedLevelsBecomeTheAlphaNibble) {
  const int font = MakeFont(16, 2);
  ASSERT_GE(font, 0);
  const std::uint16_t code = 'W';
  const GlyphEntry* entry = RasterizeGlyph(font, 1, &code);
  ASSERT_NE(entry, nullptr);
  ASSERT_GT(entry->width, 0);
  const std::vector<std::uint8_t> levels = RenderWithGdi(font, 'W', GGO_GRAY4_BITMAP).bits;
  const int row = (entry->width + 3) / 4 * 4;
  const std::vector<std::uint16_t> cell = Texels(GetFontRecord(font)->cacheGraph, 0, 0, entry->width, entry->height);
  int partial = 0;
  for (int y = 0; y < entry->height; ++y) {
    for (int x = 0; x < entry->width; ++x) {
      const int level = levels[static_cast<std::size_t>(y) * row + x];
      const std::uint16_t texel = cell[static_cast<std::size_t>(y) * entry->width + x];
      ASSERT_EQ(texel, (level > 0 ? level - 1 : 0) << 12 | 0x0FFF) << x << "," << y;
      partial += level > 1 && level < 16 ? 1 : 0;
    }
  }
  EXPECT_GT(partial, 0);
}

TEST_F(TextureFontTest, TheRoundRobinWrapsOntoTheFirstCell) {
  const int font = MakeFont(150);
  ASSERT_GE(font, 0);
  FontRecord* record = GetFontRecord(font);
  ASSERT_EQ(record->textureCache, 1);
  const int count = record->entryCount;
  ASSERT_GE(count, 10);
  ASSERT_LT(count, 40);
  std::vector<std::uint16_t> codes;
  for (int i = 0; i < count; ++i) codes.push_back(static_cast<std::uint16_t>('a' + i));
  ASSERT_NE(RasterizeGlyph(font, count, codes.data()), nullptr);
  EXPECT_EQ(record->nextEntry, 0);
  // The next glyph takes entry 0, evicts 'a' and replaces its pixels in cell 0.
  const std::uint16_t wrapping = 'M';
  const GlyphEntry* entry = RasterizeGlyph(font, 1, &wrapping);
  EXPECT_EQ(entry, &record->entries[0]);
  EXPECT_EQ(record->index['a'].valid, 0u);
  const GdiGlyph gdi = RenderWithGdi(font, 'M', GGO_BITMAP);
  const std::vector<std::uint16_t> cell = Texels(record->cacheGraph, 0, 0, record->cellSize, record->cellSize);
  for (int y = 0; y < record->cellSize; ++y) {
    for (int x = 0; x < record->cellSize; ++x) {
      ASSERT_EQ((cell[static_cast<std::size_t>(y) * record->cellSize + x] & 0x8000) != 0, MonoBit(gdi, x, y))
          << x << "," << y;
    }
  }
}

TEST_F(TextureFontTest, EdgedFontsKeepEdgesInTheRightHalf) {
  const int font = MakeFont(16, 0, 2);  // type 1, edge 2
  ASSERT_GE(font, 0);
  const FontRecord* record = GetFontRecord(font);
  ASSERT_EQ(record->textureCache, 1);
  const GraphRecord* cache = GetGraphRecord(record->cacheGraph);
  const GraphRecord* edges = GetGraphRecord(record->edgeGraph);
  ASSERT_NE(edges, nullptr);
  EXPECT_EQ(cache->width, 2 * record->cacheWidth);
  EXPECT_EQ(edges->width, record->cacheWidth);
  EXPECT_EQ(edges->sourceX, cache->sourceX + record->cacheWidth);
  const std::uint16_t code = kKanji;
  const GlyphEntry* entry = RasterizeGlyph(font, 1, &code);
  ASSERT_NE(entry, nullptr);
  const GdiGlyph gdi = RenderWithGdi(font, kKanjiCharacter, GGO_BITMAP);
  const int side = record->cellSize;
  const std::vector<std::uint16_t> body = Texels(record->cacheGraph, 0, 0, side, side);
  const std::vector<std::uint16_t> edge = Texels(record->cacheGraph, record->cacheWidth, 0, side, side);
  EXPECT_EQ(Texels(record->edgeGraph, 0, 0, side, side), edge);
  int edgePixels = 0;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      // The body lies two pixels in; its edge covers what the kernel reaches around it.
      const bool isBody = MonoBit(gdi, x - 2, y - 2);
      bool reached = false;
      for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) reached |= EdgeKernelReaches(2, dx, dy) && MonoBit(gdi, x - 2 - dx, y - 2 - dy);
      }
      const std::size_t at = static_cast<std::size_t>(y) * side + x;
      ASSERT_EQ(body[at] == kOpaqueWhite, isBody) << x << "," << y;
      ASSERT_EQ(edge[at] == kOpaqueWhite, reached && !isBody) << x << "," << y;
      edgePixels += edge[at] == kOpaqueWhite ? 1 : 0;
    }
  }
  EXPECT_GT(edgePixels, 0);
}

TEST_F(TextureFontTest, ALostCacheGraphIsMadeAgainAndEmptied) {
  const int font = MakeFont(16);
  ASSERT_GE(font, 0);
  FontRecord* record = GetFontRecord(font);
  const Footprint before = Now();
  ASSERT_EQ(DrawTextWithFont(10, 10, "Ab", 0xFFFFFF, font, 0, 0), 0);
  EXPECT_EQ(record->index['A'].valid, 1u);
  ASSERT_EQ(FreeGraphBody(record->cacheGraph, 0), 0);
  EXPECT_EQ(record->textureCacheLost, 1);
  ASSERT_EQ(RefreshFontCache(font), 0);
  EXPECT_EQ(record->textureCacheLost, 0);
  EXPECT_NE(GetGraphRecord(record->cacheGraph), nullptr);
  EXPECT_EQ(record->index['A'].valid, 0u);
  EXPECT_EQ(DrawTextWithFont(10, 10, "Ab", 0xFFFFFF, font, 0, 0), 0);
  EXPECT_EQ(record->index['A'].valid, 1u);
  // Deleting the font deletes its graphs with it.
  const int graphs = GraphTable.liveCount;
  ASSERT_EQ(FreeFontHandle(font), 0);
  EXPECT_EQ(GraphTable.liveCount, graphs - 1);
  EXPECT_EQ(Now().fonts, before.fonts - 1);
}

}  // namespace

namespace {

// The bounding box of the lit pixels inside area.
RECT LitBox(const std::function<std::uint32_t(int, int)>& pixel, const RECT& area) {
  RECT box{area.right, area.bottom, area.left, area.top};
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if ((pixel(x, y) & 0xFFFFFF) == 0) continue;
      box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                 std::max<LONG>(box.bottom, y + 1)};
    }
  }
  return box;
}

}  // namespace

TEST_F(TextureFontTest, ScaledGlyphsAreStretchedCellsAndMemoryFontsGoToTheSoftwarePath) {
  const int font = MakeFont(16);
  ASSERT_GE(font, 0);
  SetDrawTarget(kDrawTargetBack);
  ClearDrawTarget();
  const auto pixel = [this](int x, int y) { return TargetPixel(x, y); };
  const std::uint32_t white = MakeScreenColor(255, 255, 255);
  const int advance = DrawOrMeasureText(1, 10, 10, 0, 1.0, 1.0, "H", white, nullptr, nullptr, 1, font, 0, -1, 0, nullptr);
  ASSERT_GT(advance, 0);
  const RECT plain = LitBox(pixel, RECT{0, 0, 60, 60});
  ASSERT_LT(plain.left, plain.right);
  EXPECT_EQ(DrawOrMeasureText(1, 100, 10, 1, 2.0, 3.0, "H", white, nullptr, nullptr, 1, font, 0, -1, 0, nullptr),
            2 * advance);
  const RECT scaled = LitBox(pixel, RECT{90, 0, 200, 100});
  EXPECT_EQ(scaled.right - scaled.left, 2 * (plain.right - plain.left));
  EXPECT_EQ(scaled.bottom - scaled.top, 3 * (plain.bottom - plain.top));

  // A font made while the device is not used keeps its glyphs in memory; hardware text
  // hands it to the software path.
  SetUse3DGraphs(0);
  const int memoryFont = MakeFont(16);
  SetUse3DGraphs(1);
  ASSERT_EQ(GetFontRecord(memoryFont)->textureCache, 0);
  ASSERT_EQ(DrawTextHardware(10, 60, "H", white, memoryFont, 0, 0), 0);
  const RECT software = LitBox(pixel, RECT{0, 50, 60, 110});
  EXPECT_EQ(software.right - software.left, plain.right - plain.left);
  EXPECT_EQ(software.top - 50, plain.top);
  EXPECT_EQ(DrawTextHardware(10, 60, "H", white, -1, 0, 0), -1);
}
