// With the transparent flag a draw skips the source's transparent texels (alpha 0, or
// the transparent word): the box of the others bounds what its spans need to visit.
// Kept per thread under the image's content stamp.
#pragma once

#include "graphics/memimg.h"

// Texel columns [left, right) and rows [top, bottom); empty when left >= right.
struct ShownTexels {
  int left, top, right, bottom;
};

// The box of the texels of a 16- or 32-bit image that a transparent draw does not skip;
// false when that is not known (borrowed pixels, whose writers keep no stamp).
bool FindShownTexels(const MEMIMG* src, ShownTexels* out);

// For comparisons (tests and the frame benchmark): true makes the draws visit every
// pixel, as before transparent texels were skipped.
void SetVisitsTransparentTexels(bool on);
bool VisitsTransparentTexels();
