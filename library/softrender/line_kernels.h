// One-pixel lines and rectangle outlines in in-memory images.
#pragma once

#include <cstdint>

#include "graphics/memimg.h"
#include "softrender/soft_draw_state.h"

// One line of a line list.
struct LineRec {
  int x1, y1;           // start point, drawn
  int x2, y2;           // end point, not drawn
  std::uint32_t colour; // in the destination's pixel format
  int blendParam;       // the draw state's parameter when the list was made; the kernels read the state's
};

// Draws the line from (x1, y1) towards (x2, y2), the end point left out, combining
// colour with each pixel as the rectangle fill does (blend mode, parameter, tint).
// The k-th pixel lies k steps along the longer axis and floor(k x shorter / longer)
// steps along the other. Clipped to the state's clip rectangle inside dst; a line
// that misses it draws nothing. Draws into images with alpha (a 16-bit one keeps
// its alpha bytes) but not into palette images.
void DrawMemImgLineKernels(MEMIMG* dst, int x1, int y1, int x2, int y2, std::uint32_t colour,
                           const SoftDrawState& state);

// Draws count lines in order.
void DrawLineListMemImg(MEMIMG* dst, const LineRec* lines, int count, const SoftDrawState& state);

// The four lines of the outline of (x1, y1, x2, y2), right and bottom exclusive,
// corners taken as given: top left to right, right downwards, bottom right to left,
// left upwards, each starting where the one before ends, so that each border pixel
// of an ordered rectangle is drawn once.
void MakeRectOutlineLines(int x1, int y1, int x2, int y2, std::uint32_t colour, int blendParam, LineRec lines[4]);
