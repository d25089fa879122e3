// Textured triangles and quadrilaterals drawn into in-memory images: each
// destination pixel of a triangle takes the source texel of its position under the
// affine map the three vertices define, combined with the destination under the
// draw state (clip rectangle, blend mode and parameter, tint) and the options.
#pragma once

#include "graphics/memimg.h"
#include "kernel/win_types.h"
#include "softrender/soft_draw_state.h"

// One corner: a destination pixel and the source texel that lands on it. Drawable
// coordinates lie within -8192..8191.
struct QuadVertex {
  int x, y;  // destination pixel
  int u, v;  // source texel
};

// Draws the triangle of three vertices (any order and winding) from src into dst.
// It covers rows top to bottom - 1 and in each the columns of both edges, clipped to
// the state's clip rectangle inside dst; texels outside src (or outside the blend
// graph) are not drawn. transparent: non-zero skips the transparent colour (alpha 0
// for an alpha source). blendGraph: NULL, or a one-byte-per-pixel image read at each
// texel's position. Draws nothing for a destination with a palette or alpha, a
// source of another pixel kind, a blend mode outside 0..4, modes 1-3 at parameter
// 0, three vertices on one line or a coordinate outside -8192..8191.
void BlitMemImgTriangleKernels(MEMIMG* dst, const MEMIMG* src, const QuadVertex vertices[3], int transparent,
                               const MEMIMG* blendGraph, const SoftDrawState& state);

// Draws a quadrilateral as its two triangles, A = corners 0, 1, 2 and B = corners
// 1, 2, 3, sharing the edge from corner 1 to corner 2. B leaves out, row by row, the
// columns A covers, so no pixel is drawn twice.
void BlitMemImgQuadTriangles(MEMIMG* dst, const MEMIMG* src, const QuadVertex corners[4], int transparent,
                             const MEMIMG* blendGraph, const SoftDrawState& state);

// Draws the whole of src onto the quadrilateral whose corners, x1, y1 .. x4, y4 in
// whole destination pixels, take the source's top-left, top-right, bottom-left and
// bottom-right corners. Nothing is drawn when the corners' box, widened by 2 pixels
// left and up and 4 right and down, misses the clip rectangle.
void BlitMemImgQuad(MEMIMG* dst, const MEMIMG* src, const int corners[8], int transparent,
                    const MEMIMG* blendGraph, const SoftDrawState& state);

// The rectangle (right and bottom exclusive) holding every pixel that triangles with
// these vertices can write, before clipping: what a draw through a work area must
// prepare.
RECT GetTriangleWriteBox(const QuadVertex* vertices, int count);
