#include "softrender/triangle_walk.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kCoordinateMin = -8192;
constexpr int kCoordinateMax = 8191;
// Gradients beyond this many texels (x 2^18) per pixel only come from slivers; the
// bound keeps every position well inside 64 bits.
constexpr double kGradientBound = 1099511627776.0;  // 2^40

bool InRange(int value) { return value >= kCoordinateMin && value <= kCoordinateMax; }

// Vertex numbers ordered by key with the exchange sort whose tie rule decides which
// of two equal keys comes first.
void OrderByKey(const std::int64_t key[3], int order[3]) {
  order[0] = 0;
  order[1] = 1;
  order[2] = 2;
  for (int i = 0; i < 2; ++i) {
    for (int j = i + 1; j < 3; ++j) {
      if (key[order[i]] > key[order[j]]) std::swap(order[i], order[j]);
    }
  }
}

std::int64_t Gradient(std::int64_t numerator, std::int64_t denominator) {
  const double g = static_cast<double>(numerator) * 262144.0 / static_cast<double>(denominator);
  return static_cast<std::int64_t>(std::fmax(-kGradientBound, std::fmin(kGradientBound, g)));
}

// One edge part from x0 to x1 over rows rows (at least 1).
TriangleEdge Edge(std::int64_t x0, std::int64_t x1, std::int64_t rows) { return TriangleEdge{x0, (x1 - x0) / rows, rows}; }

TriangleSide OnePart(TriangleEdge part) { return TriangleSide{part, TriangleEdge{}, false}; }

TriangleSide TwoParts(TriangleEdge part, TriangleEdge next) { return TriangleSide{part, next, true}; }

}  // namespace

bool StartTriangleWalk(const QuadVertex vertices[3], TriangleWalk* walk) {
  std::int64_t X[3], Y[3], U[3], V[3];
  for (int i = 0; i < 3; ++i) {
    const QuadVertex& p = vertices[i];
    if (!InRange(p.x) || !InRange(p.y) || !InRange(p.u) || !InRange(p.v)) return false;
    X[i] = std::int64_t{p.x} * kFixedOne + kFixedOne / 2;
    Y[i] = std::int64_t{p.y} * kFixedOne + kFixedOne / 2;
    U[i] = std::int64_t{p.u} * kFixedOne;
    V[i] = std::int64_t{p.v} * kFixedOne;
  }

  // Gradients from the vertices ordered left to right, relative to the leftmost.
  int byX[3];
  OrderByKey(X, byX);
  const int l = byX[0], m = byX[1], r = byX[2];
  const std::int64_t dxm = vertices[m].x - vertices[l].x, dym = vertices[m].y - vertices[l].y;
  const std::int64_t dum = vertices[m].u - vertices[l].u, dvm = vertices[m].v - vertices[l].v;
  const std::int64_t dxr = vertices[r].x - vertices[l].x, dyr = vertices[r].y - vertices[l].y;
  const std::int64_t dur = vertices[r].u - vertices[l].u, dvr = vertices[r].v - vertices[l].v;
  const std::int64_t det = dym * dxr - dyr * dxm;
  if (det == 0) return false;
  walk->dudx = Gradient(dym * dur - dyr * dum, det);
  walk->dudy = Gradient(dum * dxr - dxm * dur, det);
  walk->dvdx = Gradient(dym * dvr - dyr * dvm, det);
  walk->dvdy = Gradient(dvm * dxr - dxm * dvr, det);
  walk->xo = vertices[l].x;
  walk->yo = vertices[l].y;
  walk->u0 = U[l];
  walk->v0 = V[l];

  // Edges from the vertices ordered top to bottom.
  int byY[3];
  OrderByKey(Y, byY);
  const int t = byY[0], mid = byY[1], b = byY[2];
  if (Y[t] == Y[mid]) {
    // Flat top: two edges down to the bottom vertex.
    const int leftTop = X[t] > X[mid] ? mid : t;
    const int rightTop = leftTop == t ? mid : t;
    const std::int64_t rows = (Y[b] - Y[t]) >> kFixedShift;
    walk->left = OnePart(Edge(X[leftTop], X[b], rows));
    walk->right = OnePart(Edge(X[rightTop], X[b], rows));
  } else if (Y[mid] == Y[b]) {
    // Flat bottom: two edges down from the top vertex.
    const int leftBottom = X[mid] > X[b] ? b : mid;
    const int rightBottom = leftBottom == mid ? b : mid;
    const std::int64_t rows = (Y[b] - Y[t]) >> kFixedShift;
    walk->left = OnePart(Edge(X[t], X[leftBottom], rows));
    walk->right = OnePart(Edge(X[t], X[rightBottom], rows));
  } else {
    // The long edge on one side, the two short ones on the other: the middle vertex
    // is on the left when the long edge slants further right than the upper short one.
    const double upperSlope = static_cast<double>(X[mid] - X[t]) / (static_cast<double>(Y[mid] - Y[t]) / 262144.0);
    const double longSlope = static_cast<double>(X[b] - X[t]) / (static_cast<double>(Y[b] - Y[t]) / 262144.0);
    const std::int64_t upperRows = (Y[mid] - Y[t]) >> kFixedShift;
    const std::int64_t lowerRows = (Y[b] - Y[mid]) >> kFixedShift;
    const std::int64_t allRows = (Y[b] - Y[t]) >> kFixedShift;
    if (longSlope > upperSlope) {
      walk->left = TwoParts(Edge(X[t], X[mid], upperRows), Edge(X[mid], X[b], lowerRows));
      walk->right = OnePart(Edge(X[t], X[b], allRows));
    } else {
      // The right edge's lower part starts one unit right of the middle vertex.
      walk->left = OnePart(Edge(X[t], X[b], allRows));
      walk->right = TwoParts(Edge(X[t], X[mid], upperRows), Edge(X[mid] + 1, X[b], lowerRows));
    }
  }
  walk->y = Y[t] >> kFixedShift;
  walk->done = false;
  return true;
}

void StepTriangleWalk(TriangleWalk* walk) {
  for (TriangleSide* side : {&walk->left, &walk->right}) {
    side->part.x += side->part.step;
    --side->part.rows;
  }
  ++walk->y;
  // A side at the end of its last part ends the triangle.
  for (TriangleSide* side : {&walk->left, &walk->right}) {
    if (side->part.rows > 0) continue;
    if (!side->hasNext) {
      walk->done = true;
      return;
    }
    side->part = side->next;
    side->hasNext = false;
  }
}

void SkipTriangleRowsTo(TriangleWalk* walk, std::int64_t y) {
  while (!walk->done && walk->y < y) {
    // Rows both sides stay on their current parts are moved over at once; the last
    // step of such a run goes through StepTriangleWalk, which changes parts.
    const std::int64_t run = std::min({y - walk->y, walk->left.part.rows, walk->right.part.rows}) - 1;
    if (run > 0) {
      for (TriangleSide* side : {&walk->left, &walk->right}) {
        side->part.x += side->part.step * run;
        side->part.rows -= run;
      }
      walk->y += run;
    }
    StepTriangleWalk(walk);
  }
}
