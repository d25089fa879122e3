// Row loops behind Blt, BltFast and GDI's BitBlt, on raw pixel memory. Pixels are 2 or 4
// bytes wide (every surface kind); rectangles are already clipped and checked.
#pragma once

#include "ddraw/pixel_layout.h"

struct PixelRows {
  BYTE* bits;  // first pixel of the area
  LONG pitch;
};

struct ConstPixelRows {
  const BYTE* bits;
  LONG pitch;
};

void FillPixels(PixelRows destination, DWORD bytes, int width, int height, DWORD value);

// Safe for overlapping areas of one surface.
void CopyPixels(PixelRows destination, ConstPixelRows source, DWORD bytes, int width, int height);

// Copies the pixels whose colour bits (keyMask) differ from the key's.
void CopyPixelsKeyed(PixelRows destination, ConstPixelRows source, DWORD bytes, int width,
                     int height, DWORD key, DWORD keyMask);

// Nearest-neighbour stretch of a source area onto a destination area of
// destinationWidth x destinationHeight, of which only the part from column firstColumn
// and row firstRow on, width x height pixels, is written (clipping keeps the scale).
// `destination` is that part's first pixel, `source` the source area's. Destination
// pixel i samples source pixel floor((i + 0.5) x source size / destination size).
struct StretchArea {
  int destinationWidth, destinationHeight;
  int sourceWidth, sourceHeight;
  int firstColumn, firstRow, width, height;
};
void StretchPixels(PixelRows destination, ConstPixelRows source, DWORD bytes, const StretchArea& area);

// Converts between two RGB layouts: channels widened by bit replication, narrowed by
// truncation; destination bits outside the colour channels are written as 0.
void ConvertPixels(PixelRows destination, const PixelLayout& destinationLayout,
                   ConstPixelRows source, const PixelLayout& sourceLayout, int width, int height);
