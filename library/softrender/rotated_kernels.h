// Images drawn rotated and scaled about their centre into in-memory images.
#pragma once

#include <cstdint>

#include "graphics/memimg.h"
#include "kernel/win_types.h"
#include "softrender/affine_span.h"
#include "softrender/soft_draw_state.h"

// Draws src scaled by scale and turned by angle (radians; positive turns clockwise
// on the screen) with its centre pixel (width / 2, height / 2, rounded down) at
// (x, y) in dst. Each destination pixel of the image's box shows the source pixel
// its position maps back to, cut down to whole pixels, under the draw state and
// options as the triangle kernel draws them. mirror non-zero: the image is mirrored
// left to right first and drawn as a quadrilateral (BlitMemImgQuad).
// Returns -1, drawing nothing, for a scale of 0 or of magnitude below 2^-20, a
// scale or angle that is not finite, or an image box reaching outside
// -8192..8191; 0 otherwise (also when the options or images draw nothing).
int BlitMemImgRotatedKernels(MEMIMG* dst, const MEMIMG* src, int x, int y, float angle, float scale,
                             int transparent, int mirror, const MEMIMG* blendGraph, const SoftDrawState& state);

// The same draw's pixels inside `tile` alone, each as the whole draw writes it.
int BlitMemImgRotatedInTile(MEMIMG* dst, const MEMIMG* src, int x, int y, float angle, float scale, int transparent,
                            int mirror, const MEMIMG* blendGraph, const SoftDrawState& state, const RECT& tile);

// The box (right and bottom exclusive, not clipped) that holds every pixel the
// rotated draw of a srcWidth x srcHeight image may write, mirrored or not: what a
// draw through a work area must prepare. -1 when the draw is refused (as above).
int GetRotatedDrawBox(int x, int y, float angle, float scale, int srcWidth, int srcHeight, RECT* box);

// A draw that is not mirrored, checked and set up once (its pixel loop, the source
// steps and its box in the clip) and then drawn tile by tile.
struct RotatedDraw {
  bool drawn;  // false: the options or images draw nothing
  AffineDraw affine;
  RECT box;                         // the image's box inside the clip: all it may write
  std::int64_t topU, topV;          // source position of the box's top-left pixel
  std::int64_t columnDu, columnDv;  // added per column
  std::int64_t rowDu, rowDv;        // added per row
};

// Sets up the unmirrored draw of BlitMemImgRotatedKernels; -1 when that refuses it.
int PrepareRotatedDraw(MEMIMG* dst, const MEMIMG* src, int x, int y, float angle, float scale, int transparent,
                       const MEMIMG* blendGraph, const SoftDrawState& state, RotatedDraw* out);

// A prepared draw's pixels inside `tile`, each as the whole draw writes it (the
// destination's marks are the caller's). Only for a draw that is drawn.
void DrawRotatedInTile(const RotatedDraw& draw, const RECT& tile);
