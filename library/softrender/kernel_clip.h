// The area a kernel may write: the draw state's clip rectangle, kept inside the
// destination image.
#pragma once

#include "graphics/memimg.h"
#include "softrender/clip_rect.h"
#include "softrender/soft_draw_state.h"

// Right and bottom exclusive; empty (left >= right or top >= bottom) when the clip
// rectangle misses the image.
inline RECT KernelClip(const MEMIMG* dst, const SoftDrawState& state) {
  RECT area{0, 0, dst->width, dst->height};
  ClipRectangleBody(&area, &state.clip);
  return area;
}
