// The texture glyph cache of a font: a 16-bit texture graph of white pixels whose
// alpha is the glyph (A4R4G4B4 for anti-aliased fonts, A1R5G5B5 otherwise), so that
// the draw tint gives the glyph its colour. Edged fonts keep the bodies in the left
// half and the edges at the same cells of the right half, which the edge graph shows.
// A glyph reaches its cell through the font's work image.
#pragma once

#include <cstdint>

struct FontRecord;
struct GlyphEntry;

// The cache for a cell size: 512 x 512, the shorter side doubled while it holds fewer
// than 10 cells; at most 2024 entries.
struct TextureCacheSize {
  int width;
  int height;
  int entries;
  int cellsPerColumn;
};
TextureCacheSize ChooseTextureCacheSize(int cellSize);

// 1 when new fonts keep their glyphs in texture graphs: the device is usable and
// offers 16-bit A4R4G4B4 and A1R5G5B5 textures.
int ChooseTextureGlyphCache();

// Sizes the cache, makes the cache graph and the work image. 1 when the font now has
// a texture cache, 0 when the cache graph cannot be made (logged: the caller falls
// back to a memory cache), -1 when the work image cannot be allocated (logged).
int MakeFontTextureCache(int fontHandle, FontRecord* font);
// Makes the cache graph (and the edge graph) again when it was lost, white with alpha
// 0, and empties the cache. 0 / -1.
int RefreshTextureCache(int fontHandle, FontRecord* font);
// Frees the graphs and the work image.
void ReleaseTextureCache(FontRecord* font);

// The pixels each stamped cell value (glyph_stamp.h) becomes in the two halves of the
// work image; made once per rasterisation.
struct GlyphTexels {
  std::uint16_t body[256];
  std::uint16_t edge[256];
};
void MakeGlyphTexels(const FontRecord& font, GlyphTexels* texels);

// Writes the glyph the entry holds, stamped in `stamped` (rows rowBytes apart), into
// the work image and transfers it into the entry's cell.
void TransferGlyphToTextureCache(FontRecord* font, const GlyphEntry& entry, const std::uint8_t* stamped,
                                 int rowBytes, const GlyphTexels& texels);
