// GraphImage: a decoded picture in plain memory, the output of every picture loader
// and the input of graph creation.
#pragma once

#include <cstdint>

#include "graphics/pixel_format.h"
#include "kernel/win_types.h"

struct GraphImage {
  PixelFormat format;
  int width;
  int height;
  int pitch;     // bytes from one row to the next, at least width x bytes per pixel
  void* pixels;  // rows top first; a tracked block owned by the record, or NULL
};

// RGB24 image of the given size, pitch (3 x width + 3) rounded down to a multiple
// of 4. Returns 0, or -1 (pixels NULL) for a bad size or a failed allocation.
int CreateRgb24GraphImage(int width, int height, GraphImage* img);

// Frees the pixel block and zeroes the whole record. Returns 0.
int FreeGraphImage(GraphImage* img);

// Every pixel receives the colour packed in the image's format; row padding is
// left alone, and an image of one byte per pixel is left unchanged. Returns 0.
int FillGraphImageColor(GraphImage* img, int r, int g, int b, int a);

// The pixel at (x, y) as 0xAARRGGBB (narrow channels have low bits 0; no alpha
// channel reads as 0). A palette image gives its palette entry with alpha 0.
// 0 when the image has no pixels.
std::uint32_t GetGraphImagePixel(const GraphImage* img, int x, int y);

// Mirrors every row left to right in place. -1 when the image has no area; an
// image of 0 or more than 4 bytes per pixel is left unchanged (0).
int MirrorGraphImage(GraphImage* img);

// rect cut to the picture and to the alpha picture when there is one (an empty
// rectangle when they do not meet).
RECT ClipToPictures(RECT rect, const GraphImage* image, const GraphImage* alphaImage);
