// Sets the bits that a pixel format leaves to no channel, inside a rectangle of a
// locked surface (a screen copy into a graph leaves them as the screen had them).
#pragma once

#include <cstdint>

#include "ddraw/ddraw.h"
#include "graphics/pixel_format.h"

// ORs value, moved to the format's unused bits, into every pixel of the width x height
// rectangle at (x, y) of the locked memory. Formats of other than 2 or 4 bytes per
// pixel, and formats without unused bits, are left alone. Returns 0.
int FillUnusedBitsInRect(const DDSURFACEDESC2* locked, int x, int y, const PixelFormat* format, int width,
                         int height, std::uint32_t value);
