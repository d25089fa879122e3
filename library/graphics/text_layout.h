// The one routine that lays a string out with a font: it measures the string's advance
// or draws it glyph by glyph: from a texture cache through the drawing entry points
// (text_texture.h), from a memory cache into a MEMIMG.
#pragma once

#include <cstdint>

#include "kernel/win_types.h"

struct MEMIMG;

// draw:           0 measure only, 1 draw into dest
// x, y:           top-left of the first line box
// scaled, scales: for texture caches only; a memory cache draws at scale 1
// colour, edgeColour: in dest's format (the screen's for a texture cache); the draw
//                 tint is applied to both
// dest, clip:     memory cache: the image and the part of it that may be written
//                 (NULL: all of it); a texture cache draws on the draw target
// keepBackground: 1 writes only glyph pixels, 0 the whole glyph box
// length:         bytes of text to use, -1 all (a pair is never split)
// vertical:       1 runs the text downward, each glyph turned a quarter clockwise
// size:           NULL, or the extent: (advance, line height), swapped when vertical
// Returns the total advance rounded down, 0 for an empty text, -1 while drawing is
// suspended, the graphics are not up or for an invalid font.
int DrawOrMeasureText(int draw, int x, int y, std::uint8_t scaled, double xScale, double yScale, const char* text,
                      std::uint32_t colour, MEMIMG* dest, const RECT* clip, int keepBackground, int font,
                      std::uint32_t edgeColour, int length, int vertical, SIZE* size);
