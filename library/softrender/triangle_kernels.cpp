// The textured triangle kernel and the quadrilateral drawn as two triangles. The
// triangles of a quadrilateral are walked together, row by row, so that the second
// can leave out the columns the first one covered on the same row: the shared
// diagonal is drawn once, and a translucent or additive quadrilateral has no seam.
#include <algorithm>
#include <climits>

#include "softrender/affine_span.h"
#include "softrender/draw_options.h"
#include "softrender/kernel_clip.h"
#include "softrender/triangle_kernels.h"
#include "softrender/triangle_walk.h"

namespace {

// One run of columns first..last on row y, with the source position (u, v) at first.
struct WalkRun {
  std::int64_t y, first, last, u, v, du, dv;
};

// Hands `run` the columns first..last of the walk's current row.
template <typename Run>
void VisitColumns(const TriangleWalk& walk, std::int64_t first, std::int64_t last, Run& run) {
  if (first > last) return;
  const std::int64_t dx = first - walk.xo, dy = walk.y - walk.yo;
  run(WalkRun{walk.y, first, last, walk.u0 + dx * walk.dudx + dy * walk.dudy, walk.v0 + dx * walk.dvdx + dy * walk.dvdy,
              walk.dudx, walk.dvdx});
}

// The runs of triangle a, and of triangle b (when given) without the columns a covers,
// on rows top to bottom - 1. No two runs share a pixel.
template <typename Run>
void WalkTriangles(const QuadVertex* a, const QuadVertex* b, std::int64_t top, std::int64_t bottom, Run&& run) {
  TriangleWalk walkA, walkB;
  // Rows above `top` are passed over without a visit: a tile low in a large triangle
  // does not walk its whole height.
  auto start = [top](const QuadVertex* vertices, TriangleWalk* walk) {
    if (!StartTriangleWalk(vertices, walk)) return false;
    SkipTriangleRowsTo(walk, top);
    return !walk->done;
  };
  bool activeA = start(a, &walkA);
  bool activeB = b != nullptr && start(b, &walkB);
  while (activeA || activeB) {
    const std::int64_t y = !activeB ? walkA.y : !activeA ? walkB.y : std::min(walkA.y, walkB.y);
    if (y >= bottom) return;
    std::int64_t coveredFirst = 1, coveredLast = 0;  // none
    if (activeA && walkA.y == y) {
      coveredFirst = RowFirstColumn(walkA);
      coveredLast = RowLastColumn(walkA);
      VisitColumns(walkA, coveredFirst, coveredLast, run);
      StepTriangleWalk(&walkA);
      activeA = !walkA.done;
    }
    if (activeB && walkB.y == y) {
      const std::int64_t first = RowFirstColumn(walkB), last = RowLastColumn(walkB);
      if (coveredFirst > coveredLast) {
        VisitColumns(walkB, first, last, run);
      } else {
        VisitColumns(walkB, first, std::min(last, coveredFirst - 1), run);
        VisitColumns(walkB, std::max(first, coveredLast + 1), last, run);
      }
      StepTriangleWalk(&walkB);
      activeB = !walkB.done;
    }
  }
}

// Draws triangle a, and triangle b (when given) without the columns a covers.
void DrawTriangles(const AffineDraw& draw, const QuadVertex* a, const QuadVertex* b) {
  WalkTriangles(a, b, draw.clip.top, draw.clip.bottom, [&draw](const WalkRun& r) {
    DrawAffineRow(draw, r.y, r.first, r.last, r.u, r.v, r.du, r.dv);
  });
}

}  // namespace

void BlitMemImgTriangleKernels(MEMIMG* dst, const MEMIMG* src, const QuadVertex vertices[3], int transparent,
                               const MEMIMG* blendGraph, const SoftDrawState& state) {
  AffineDraw draw;
  if (vertices == nullptr || !PrepareAffineDraw(dst, src, transparent, blendGraph, state, &draw)) return;
  DrawTriangles(draw, vertices, nullptr);
  MarkMemImgWritten(dst);
}

void BlitMemImgQuadTriangles(MEMIMG* dst, const MEMIMG* src, const QuadVertex corners[4], int transparent,
                             const MEMIMG* blendGraph, const SoftDrawState& state) {
  AffineDraw draw;
  if (corners == nullptr || !PrepareAffineDraw(dst, src, transparent, blendGraph, state, &draw)) return;
  DrawTriangles(draw, corners, corners + 1);
  MarkMemImgWritten(dst);
}

void BlitMemImgQuad(MEMIMG* dst, const MEMIMG* src, const int corners[8], int transparent,
                    const MEMIMG* blendGraph, const SoftDrawState& state) {
  if (dst == nullptr || src == nullptr || corners == nullptr) return;
  std::int64_t minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
  for (int i = 0; i < 4; ++i) {
    minX = std::min<std::int64_t>(minX, corners[2 * i]);
    maxX = std::max<std::int64_t>(maxX, corners[2 * i]);
    minY = std::min<std::int64_t>(minY, corners[2 * i + 1]);
    maxY = std::max<std::int64_t>(maxY, corners[2 * i + 1]);
  }
  const RECT clip = KernelClip(dst, state);
  if (maxX + 4 <= clip.left || minX - 2 >= clip.right || maxY + 4 <= clip.top || minY - 2 >= clip.bottom) return;
  const QuadVertex quad[4] = {
      {corners[0], corners[1], 0, 0},
      {corners[2], corners[3], src->width, 0},
      {corners[4], corners[5], 0, src->height},
      {corners[6], corners[7], src->width, src->height},
  };
  BlitMemImgQuadTriangles(dst, src, quad, transparent, blendGraph, state);
}

RECT GetTriangleWriteBox(const QuadVertex* vertices, int count) {
  if (count <= 0) return RECT{0, 0, 0, 0};
  std::int64_t minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
  for (int i = 0; i < count; ++i) {
    minX = std::min<std::int64_t>(minX, vertices[i].x);
    maxX = std::max<std::int64_t>(maxX, vertices[i].x);
    minY = std::min<std::int64_t>(minY, vertices[i].y);
    maxY = std::max<std::int64_t>(maxY, vertices[i].y);
  }
  // Both edge columns belong to a row; the bottom vertex's row is never drawn.
  return RECT{static_cast<LONG>(minX), static_cast<LONG>(minY), static_cast<LONG>(std::min<std::int64_t>(maxX + 1, INT_MAX)),
              static_cast<LONG>(maxY)};
}
