// The set-up and row walk of one textured triangle: its vertices in 14.18 fixed
// point (destination positions at pixel centres), the four texture gradients, and
// the left and right edges, each of one part or of two parts split at the middle
// vertex. Every destination-side conversion to whole pixels is a floor, so the
// triangle covers the same pixels wherever it lies: rows top to bottom - 1, and in
// each row the columns from the left edge's pixel to the right edge's pixel, both
// included.
#pragma once

#include <cstdint>

#include "softrender/affine_span.h"
#include "softrender/triangle_kernels.h"

struct TriangleEdge {
  std::int64_t x;     // position on the current row, 14.18
  std::int64_t step;  // per row
  std::int64_t rows;  // rows left on this part
};

struct TriangleSide {
  TriangleEdge part;
  TriangleEdge next;  // the second part, when hasNext
  bool hasNext;
};

struct TriangleWalk {
  // Texture position of destination pixel (c, y):
  //   (u0 + (c - xo) dudx + (y - yo) dudy, v0 + (c - xo) dvdx + (y - yo) dvdy).
  std::int64_t xo, yo, u0, v0;
  std::int64_t dudx, dudy, dvdx, dvdy;
  TriangleSide left, right;
  std::int64_t y;  // the current row
  bool done;
};

// Sets the walk on the triangle's first row. False when the triangle draws
// nothing: a coordinate outside -8192..8191, or the three vertices on one line.
bool StartTriangleWalk(const QuadVertex vertices[3], TriangleWalk* walk);

// The columns of the current row: floor of the left and the right edge.
inline std::int64_t RowFirstColumn(const TriangleWalk& walk) { return walk.left.part.x >> kFixedShift; }
inline std::int64_t RowLastColumn(const TriangleWalk& walk) { return walk.right.part.x >> kFixedShift; }

// Moves to the next row; sets done after the last.
void StepTriangleWalk(TriangleWalk* walk);

// Moves on to row `y` (or done), as steps one row at a time would.
void SkipTriangleRowsTo(TriangleWalk* walk, std::int64_t y);
