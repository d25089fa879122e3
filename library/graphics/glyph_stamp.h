// Writing one rasterised glyph into its cell of a font's memory cache, by font type:
//   type 0: 1 bit per pixel, the bits as GDI gives them
//   type 1: one byte per pixel, body 1 and edge 2 (an edge never covers the body)
//   type 2: one byte per pixel, grey level v (1..16) stored as v - 1
//   type 3: low nibble the body level v - 1, high nibble the largest edge level
// An edged glyph lies edge-size pixels in from the cell's top-left corner; the edge
// of a body pixel covers the offsets its edge kernel reaches.
#pragma once

#include <cstdint>

// A glyph bitmap in GDI's layout: rows of rowBytes, 1-bit (most significant bit first)
// or one byte of level 0..16 per pixel.
struct GlyphBitmap {
  const std::uint8_t* bits;
  int width;
  int height;
  int rowBytes;
};

// 1 when the edge of a pixel reaches the offset (dx, dy): size 1 the four direct
// neighbours, sizes 2 to 4 the rounded squares of side 2 x size + 1, 5 and more the
// full square.
bool EdgeKernelReaches(int edgeSize, int dx, int dy);

// Writes the glyph into the cell whose top-left byte is cell (rows rowBytes apart,
// cellSize square), clipped so that glyph and edges stay inside the cell. The cell
// must be cleared before. Stores the size the cell now holds, edges included.
void StampGlyphIntoCell(std::uint8_t* cell, int rowBytes, int cellSize, int fontType, int edgeSize,
                        const GlyphBitmap& glyph, int* storedWidth, int* storedHeight);
