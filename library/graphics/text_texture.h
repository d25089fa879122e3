// Drawing one glyph of a font with a texture cache: its cell of the cache graph
// (after its cell of the edge graph, for an edged font) drawn through the drawing
// entry points, so that blend mode, clip and tint apply; the tint gives the white
// cache its colour.
#pragma once

#include <cstdint>

struct FontRecord;
struct GlyphEntry;

struct TextureGlyphDraw {
  bool vertical;
  bool scaled;
  double xScale;
  double yScale;
  std::uint32_t textTint;  // 0xRRGGBB
  std::uint32_t edgeTint;
};

// The glyph at pen (pixels along the line) of a text whose line box starts at (x, y).
void DrawTextureGlyph(const FontRecord& font, const GlyphEntry& entry, std::int64_t x, std::int64_t y, double pen,
                      const TextureGlyphDraw& draw);
