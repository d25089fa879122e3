// The software renderer's image kernels: one in-memory image drawn into another at
// a position, or stretched into a rectangle, under the draw state's clip rectangle,
// blend mode and parameter, tint and an optional blend graph.
#pragma once

#include "graphics/memimg.h"
#include "kernel/win_types.h"
#include "softrender/soft_draw_state.h"

// Draws the whole of src with its top-left pixel at (x, y) into dst, clipped to the
// state's clip rectangle and to dst. transparent: non-zero skips the transparent
// colour (alpha 0 for an alpha image); exactly 1 also allows the run-table path for
// an unclipped draw. blendGraph: NULL, or a one-byte-per-pixel image read at each
// source pixel's own position; the drawn area is clipped to its extent. Draws
// nothing for a destination with a palette or alpha, a source of another pixel kind,
// or a blend mode outside 0..4.
void BlitMemImgKernels(MEMIMG* dst, const MEMIMG* src, int x, int y, int transparent, const MEMIMG* blendGraph,
                       const SoftDrawState& state);

// The same draw's pixels in the rows of `tile` (a band of whole rows of dst) alone,
// each as the whole draw writes it: the draw takes the path its own clip gives it.
void BlitMemImgInTile(MEMIMG* dst, const MEMIMG* src, int x, int y, int transparent, const MEMIMG* blendGraph,
                      const SoftDrawState& state, const RECT& tile);

// Draws src scaled into rect (x1, y1, x2, y2 as left, top, right, bottom; x2 < x1
// mirrors, y2 < y1 flips) by nearest-source sampling, with the same clipping and
// options. A draw of exactly the source's size, neither mirrored nor flipped, is
// drawn by BlitMemImgKernels. Draws nothing for a rectangle of 32768 pixels or more
// on either axis, a scale that comes out 0, or the destinations refused above.
void BlitMemImgScaledKernels(MEMIMG* dst, const MEMIMG* src, const RECT* rect, int transparent,
                             const MEMIMG* blendGraph, const SoftDrawState& state);

// The same draw's pixels in the rows of `tile` (a band of whole rows of dst) alone.
void BlitMemImgScaledInTile(MEMIMG* dst, const MEMIMG* src, const RECT* rect, int transparent,
                            const MEMIMG* blendGraph, const SoftDrawState& state, const RECT& tile);

// For a stretched draw of a sourceWidth x sourceHeight image into rect through a
// prepared draw area: the destination rectangle (sorted, clipped to clip) and the
// part of the source it shows, kept inside the source. False when nothing is to be
// drawn: a rectangle without width or height or of 32768 pixels or more on an axis,
// a scale that comes out 0, or nothing left after clipping.
bool GetStretchedDrawRects(const RECT& rect, int sourceWidth, int sourceHeight, const RECT& clip, RECT* destination,
                           RECT* source);
