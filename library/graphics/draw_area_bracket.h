// The draw-area bracket of software drawing on DirectDraw surfaces: CopyMemImgRect
// makes the touched rectangle of the draw target (and the source piece) addressable
// as MEMIMGs before a software draw.
#pragma once

#include <cstdint>

#include "kernel/win_types.h"

struct Surface2D;

// Prepares the destination and source MEMIMGs for one software draw.
//   source:         the piece drawn, or NULL for fills and lines
//   transparent:    1 when the draw skips the transparent colour (then an unblended
//                   copy between surfaces may be left to a surface blit)
//   sourceRect:     the piece's rectangle drawn, in its own coordinates, or NULL
//   destRect:       the rectangle touched, in draw-target coordinates
//   rawColourDraw:  1 for draws that write a colour given in the screen format
//                   (rectangle fills and single lines), 0 for image draws and line lists
//   colour1/2:      colours converted from the screen format to the in-memory format
//                   when the destination area was converted; NULL when none
// Returns 0, or -1 when the clipped destination is empty or a surface cannot be locked.
int CopyMemImgRect(const Surface2D* source, int transparent, const RECT* sourceRect,
                   const RECT* destRect, int rawColourDraw, std::uint32_t* colour1,
                   std::uint32_t* colour2);

// Finishes the draw the last CopyMemImgRect prepared: converts a work copy back to
// the screen format, unlocks the locked surfaces and copies a work copy back into
// the target. A second call does nothing.
int SyncScreenMemImg();

// What the last successful CopyMemImgRect prepared (nothing in software-render mode
// on a screen that is not 8-bit, where the draw-target MEMIMG is drawn into directly).
struct MEMIMG;
extern MEMIMG* SoftDrawTargetImg;  // the destination, addressed in draw-target coordinates
extern MEMIMG* SoftDrawSourceImg;  // the source piece, addressed in its own coordinates
// The rectangle of the draw target that was prepared: the touched rectangle clipped
// to the clip rectangle. Kernels must not write outside it.
extern RECT SoftDrawPreparedRect;

// 1 when the last preparation chose a surface-to-surface blit instead of a kernel
// draw; RunPreparedBlit then copies the source piece onto the target.
int IsBlitInsteadPrepared();
int RunPreparedBlit(int transparent);
