// Fonts: handles of type 4 naming a GDI font and the glyph cache its characters are
// rasterised into once, so that each character is then copied like a small picture.
// The cache is a texture graph on the hardware path, else a block of system memory;
// entry i of the round robin owns cell i, and the cells of cellSize x cellSize fill
// the cache column by column (the memory cache is a single column).
#pragma once

#include <cstdint>

#include "gdi/gdi_font.h"
#include "graphics/graph_image.h"
#include "graphics/handle_table.h"

constexpr int kFontTableSize = 40;
constexpr int kFontHandleType = 4;
constexpr int kFontGlyphEntries = 2025;  // the last one only marks the end (cell -1)
constexpr int kFontMaxCacheCells = 2024;
constexpr int kFontMinMemoryCells = 20;
constexpr int kFontMemoryCachePixels = 0x50000;
constexpr int kFontTextureCacheSide = 512;
constexpr int kFontMinTextureCells = 10;
constexpr int kFontFaceSize = 256;
constexpr int kGlyphCodeCount = 65536;

// FontType bits.
constexpr int kFontTypeEdge = 1;
constexpr int kFontTypeAntialiased = 2;

struct GlyphIndexSlot;

struct GlyphEntry {
  std::uint16_t used;
  std::int16_t xOffset;  // the glyph origin's x
  std::int16_t yOffset;  // line top to glyph box top: ascent - origin y
  std::int16_t advance;
  int cell;              // the cache cell this entry owns
  std::int16_t width;    // the stored box, edges included (0 x 0 for a blank glyph)
  std::int16_t height;
  GlyphIndexSlot* indexSlot;  // the index slot that points here
};

// A character code: a single byte is its own code, a Shift-JIS pair is first byte |
// second byte << 8.
struct GlyphIndexSlot {
  std::uint32_t valid;
  GlyphEntry* entry;
};

struct FontRecord {
  std::uint32_t check;
  int* watcher;  // set to 1 when the font is deleted
  GlyphEntry entries[kFontGlyphEntries];
  GlyphIndexSlot index[kGlyphCodeCount];
  int nextEntry;   // the entry the next new glyph takes
  int entryCount;  // usable entries = cache cells
  std::uint8_t* memoryCache;
  int memoryRowBytes;
  int memoryBits;  // 1 for FontType 0, else 8
  char face[kFontFaceSize];  // "" = the GDI default face
  int thickness;             // weight / 100
  int size;
  int lineHeight;  // the font's height plus both edges, made even
  int italic;
  int spacing;     // extra pixels added to every advance
  int cellSize;    // the widest character plus both edges, a multiple of 8
  HFONT gdiFont;
  int fontType;
  int charset;     // 0 default, 1 Shift-JIS, 2 Hangeul
  int edgeSize;
  int cacheWidth;
  int cacheHeight;
  int cellsPerColumn;
  int screenSurface;    // Surface2D of the font's drawing screen, -1 none
  int memoryCacheLost;  // 1: the drawing screen must be (re)made
  int cacheGraph;       // the texture cache, -1 none
  int edgeGraph;        // the right half of an edged font's cache graph: the edges, -1 none
  int textureCacheLost;  // 1: the cache graph must be (re)made
  GraphImage workImage;  // one glyph on its way into the cache graph (edged: body | edge)
  int textureCache;      // 1: the cache is a texture graph
};

using FontTableType = HandleTable<FontRecord, kFontTableSize, kFontHandleType>;
extern FontTableType FontTable;

// The cache cell of an entry: its top-left pixel in the cache.
inline int CellX(const FontRecord& font, int cell) { return cell / font.cellsPerColumn * font.cellSize; }
inline int CellY(const FontRecord& font, int cell) { return cell % font.cellsPerColumn * font.cellSize; }
