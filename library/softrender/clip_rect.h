// Rectangle clipping for the software drawing paths.
#pragma once

#include <cstdint>

#include "kernel/win_types.h"

// Clips r to clip in place: first raises r's right to its left and its bottom to
// its top when they are smaller, then clamps every edge into clip. A rectangle
// outside clip becomes empty on clip's edge. Returns 0.
int ClipRectangleBody(RECT* r, const RECT* clip);

// The part of the rectangle (x, y) .. (x + width, y + height) that lies inside clip
// and inside (0, 0, boundWidth, boundHeight), computed without overflow for any int
// inputs. Returns false (and leaves out unspecified) when nothing is left.
bool ClipDrawRect(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height, const RECT& clip,
                  int boundWidth, int boundHeight, RECT* out);
