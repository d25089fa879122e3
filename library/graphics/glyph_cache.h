// The glyph cache of a font: the round robin of entries over the cache cells, the
// rasterisation of missing characters through GDI into the memory cache or the
// texture cache (glyph_texture.h), and the memory-cache font's drawing screen (a
// screen-sized 2-D surface the software text path composes blended text in).
#pragma once

#include <cstdint>

struct FontRecord;
struct GlyphEntry;

// Empties the index and every entry; entry i owns cell i.
int ClearFontCache(int font);
// Makes the cache graph or the drawing screen again when it was lost (or never made).
int RefreshFontCache(int font);

// Converts up to `capacity` characters of the first `length` bytes of text into codes
// (a lead byte takes its trail byte, also past `length`; the walk stops at a zero byte,
// also after a lead byte) and rasterises the missing ones, at most 256 and at most the
// entry count in one go. Returns the bytes walked, or -1 for an invalid font.
int CacheTextGlyphs(int font, const std::uint8_t* text, int length, std::uint16_t* codes, int capacity,
                    int* count);

// Rasterises the codes into the next entries of the round robin (a glyph that cannot be
// rasterised ends the program). The entry of the last code; NULL without rendering
// while drawing is suspended, the graphics are not up or the handle is invalid.
GlyphEntry* RasterizeGlyph(int font, int count, const std::uint16_t* codes);

// The pixels of a cell of the memory cache (its top-left byte).
std::uint8_t* MemoryCacheCell(FontRecord* font, int cell);
