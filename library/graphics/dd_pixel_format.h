// Conversions between PixelFormat and DirectDraw's DDPIXELFORMAT, and the cached
// DirectDraw formats of the MEMIMG kinds.
#pragma once

#include <cstdint>

#include "ddraw/ddraw_types.h"
#include "graphics/pixel_format.h"

// pf from a DirectDraw format's bit count and masks (dwFlags is not consulted, so a
// palette-indexed format yields zero masks). Returns 0.
int PixelFormatFromDDPixelFormat(const DDPIXELFORMAT* ddpf, PixelFormat* pf);

// A 32-byte DDPF_RGB format (also when an alpha mask is given). Returns 0.
int BuildDDPixelFormatBody(DDPIXELFORMAT* ddpf, std::uint32_t bits, std::uint32_t maskR,
                           std::uint32_t maskG, std::uint32_t maskB, std::uint32_t maskA);

// The standard MEMIMG format of a kind and flags as a cached DirectDraw format;
// NULL for a kind above 3.
const DDPIXELFORMAT* GetStandardDDPixelFormat(int kind, int alphaFlag, int paletteFlag);
