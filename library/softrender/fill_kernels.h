// Filled rectangles in in-memory images.
#pragma once

#include <cstdint>

#include "graphics/memimg.h"
#include "kernel/win_types.h"
#include "softrender/soft_draw_state.h"

// Combines colour, in dst's pixel format (a 16-bit image takes the low 16 bits),
// with every pixel of rect under the draw state's blend mode, parameter and tint
// (each channel times its tint byte / 256). rect's corners may come in either order;
// right and bottom are exclusive; NULL stands for the whole image. Clipped to the
// state's clip rectangle inside dst. Draws nothing into an image with a palette or
// alpha, for a blend mode outside 0..4, or for modes 1-3 at parameter 0.
void FillMemImgRectKernels(MEMIMG* dst, const RECT* rect, std::uint32_t colour, const SoftDrawState& state);
