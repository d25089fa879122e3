// The conversion blit: every picture reaches a surface, texture, MEMIMG or DIB
// through it. Copies a rectangle between two pixel blocks, converting the layout,
// with optional mirroring, colour keying, alpha sources and dithering.
#pragma once

#include <cstdint>

#include "graphics/pixel_format.h"
#include "kernel/win_types.h"

enum DitherMode {
  DITHER_NONE = 0,
  DITHER_ORDERED = 1,  // 4 x 4 ordered matrix
  DITHER_CARRY = 2,    // error carried from pixel to pixel (across row ends too)
};

// Copies srcRect of src to (dstX, dstY) of dst. The rectangle must lie inside both
// blocks; pitches may be negative (rows bottom first).
//   alphaImage/alphaPitch/alphaFormat: a picture of the same size whose red channel
//                  supplies alpha; NULL for none
//   mirror:        1 = each row is written right to left
//   keyToAlpha:    1 = pixels of colour key (0x00RRGGBB) get alpha 0, others full alpha
//   key:           the transparent colour: 0x00RRGGBB for keyToAlpha, a raw source
//                  pixel value (a palette index for palette sources) for skipKey
//   ditherMode:    DitherMode, used when channels are narrowed
//   alphaOnly:     1 = red, green and blue are written as 0
//   alphaFromRed:  1 = alpha takes the red channel's value
//   skipKey:       1 = source pixels equal to key are not written
// Returns -1 (writing nothing) when the destination has one byte per pixel and the
// source does not, neither alphaOnly nor skipKey being asked; 0 otherwise.
int ConvertPixelFormatBlt(void* dst, int dstPitch, const PixelFormat* dstFormat, const void* src,
                          int srcPitch, const PixelFormat* srcFormat, const void* alphaImage,
                          int alphaPitch, const PixelFormat* alphaFormat, int dstX, int dstY,
                          const RECT* srcRect, int mirror, int keyToAlpha, std::uint32_t key,
                          int ditherMode, int alphaOnly, int alphaFromRed, int skipKey);
