// Copying a glyph from a font's memory cache into a MEMIMG: what each cell value
// becomes (a palette of 256 pixel values made once per text), and the rows of one
// glyph box, upright or turned a quarter clockwise for vertical text.
#pragma once

#include <cstdint>

#include "kernel/win_types.h"

struct MEMIMG;

// The pixel each cell value gives; values not drawn leave the destination alone (or
// write 0 when the background is not kept).
struct GlyphPalette {
  std::uint32_t value[256];
  bool drawn[256];
};

// Builds the palette of a font type for colours in the destination's format:
//   type 0: bit 1 the text colour
//   type 1: 1 the text colour, 2 the edge colour
//   type 2: level l (0..15) the text colour at alpha 16 l, 0 nothing
//   type 3: body level b (low nibble) and edge level e (high nibble): the edge colour at
//           alpha 16 e when b is 0, the text colour at 255 when b is 15, else a mix of
//           the two at alpha (15 - b) e + 16 b
// The alpha goes into the destination's alpha byte when it has one (bits 16-23 of a
// 16-bit image's 32-bit slot, bits 24-31 of a 32-bit image); an image without alpha
// takes the colour alone, and a type 0 or 1 colour into an alpha image is opaque.
void MakeGlyphPalette(int fontType, std::uint32_t textColour, std::uint32_t edgeColour, const MEMIMG& dest,
                      GlyphPalette* palette);

// A glyph in the cache: its cell's top-left byte and the cache's row bytes; 1-bit
// cells (font type 0) or one byte per pixel.
struct GlyphCell {
  const std::uint8_t* pixels;
  int rowBytes;
  bool oneBit;
};

// Writes the part `visible` (inside dest and inside box) of the glyph whose box on dest
// is `box`. Upright: box pixel (x, y) shows cell pixel (x, y). Vertical: the box is the
// cell's height wide and its width high, and box pixel (x, y) shows cell pixel
// (y, box width - 1 - x). Only 16- and 32-bit colour images are written.
void ComposeGlyph(MEMIMG* dest, const RECT& box, const RECT& visible, bool vertical, const GlyphCell& cell,
                  const GlyphPalette& palette, bool keepBackground);
