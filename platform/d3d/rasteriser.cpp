#include "d3d/rasteriser.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr int kSubpixelBits = 8;
constexpr std::int64_t kSubpixel = std::int64_t{1} << kSubpixelBits;
// How much of an area PrefetchArea asks for.
constexpr int kPrefetchRows = 16;
constexpr int kPrefetchBytesPerRow = 512;
// Vertices beyond this many pixels are clipped before snapping, so that edge products
// stay well inside 64 bits.
constexpr double kGuard = 1 << 20;
// Coordinates of upright rectangles are clamped here (far outside any surface).
constexpr double kFarAway = 1 << 30;

// Interpolant ranges (in their own units) that keep the fixed-point values in 64 bits.
constexpr double kTexelLimit = 1 << 30;
constexpr double kDepthLimit = 1ll << 40;
constexpr double kColourLimit = 1 << 14;
// A box whose corners' values lie within half an interpolant's limit holds only values
// within the limit, as long as the plane's terms stay this small: rounding then moves
// values by far less than the other half.
constexpr double kTermLimit = static_cast<double>(std::int64_t{1} << 40);

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {  // b > 0
  std::int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

// Nearest integer, halves away from zero, for |value| < 2^62 (inline, unlike llround).
std::int64_t RoundToInt64(double value) {
  auto whole = static_cast<std::int64_t>(value);
  double fraction = value - static_cast<double>(whole);
  return whole + (fraction >= 0.5) - (fraction <= -0.5);
}

std::int64_t Snap(double value) {
  return RoundToInt64(std::clamp(value, -kFarAway, kFarAway) * static_cast<double>(kSubpixel));
}

bool IsFinitePosition(const Vertex& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

int ClampToInt(std::int64_t value, int low, int high) {
  return static_cast<int>(std::clamp<std::int64_t>(value, low, high));
}

Attributes AttributesOf(const DrawContext& c, const Vertex& vertex) {
  Attributes a;
  for (int s = 0; s < c.stageCount; ++s) {
    const StageSetup& stage = c.stages[s];
    if (!stage.textured) continue;
    a.u[s] = static_cast<double>(vertex.u[stage.coordinateSet]) * c.textures[s].width;
    a.v[s] = static_cast<double>(vertex.v[stage.coordinateSet]) * c.textures[s].height;
  }
  if (c.gouraud) {
    for (int k = 0; k < 4; ++k) {
      a.colour[k] = static_cast<double>((vertex.diffuse >> (24 - 8 * k)) & 0xFF);
      a.colour[4 + k] = static_cast<double>((vertex.specular >> (24 - 8 * k)) & 0xFF);
    }
  }
  if (c.depthBits != nullptr) a.depth = static_cast<double>(vertex.z) * 65535.0;
  return a;
}

// Fixed point of one interpolant over a block of count x rows pixels starting at value
// `start`. False when a corner leaves [-limit, limit] (or is not finite) and the block has
// more than one row; a single row is then clamped at its ends instead.
template <typename T>
bool ToFixed(double start, double dx, double dy, int count, int rows, int bits, double limit, Interpolant<T>* out) {
  double scale = static_cast<double>(std::int64_t{1} << bits);
  double right = start + dx * (count - 1), bottom = start + dy * (rows - 1);
  double corner = right + dy * (rows - 1);
  auto inside = [limit](double value) { return value >= -limit && value <= limit; };
  if (inside(start) && inside(right) && inside(bottom) && inside(corner) && inside(dx) && inside(dy)) {
    *out = {static_cast<T>(RoundToInt64(start * scale)), static_cast<T>(RoundToInt64(dx * scale)),
            static_cast<T>(RoundToInt64(dy * scale))};
    return true;
  }
  if (rows > 1) return false;
  auto clamped = [limit](double value) { return std::isnan(value) ? 0.0 : std::clamp(value, -limit, limit); };
  double first = clamped(start), last = clamped(right);
  double step = count > 1 ? (last - first) / (count - 1) : 0.0;
  *out = {static_cast<T>(RoundToInt64(first * scale)), static_cast<T>(RoundToInt64(step * scale)), 0};
  return true;
}

// Sutherland-Hodgman clip of a polygon to one side of an axis-aligned line.
std::vector<std::pair<double, double>> ClipSide(const std::vector<std::pair<double, double>>& in, bool alongX,
                                                double limit, bool keepBelow) {
  std::vector<std::pair<double, double>> out;
  auto coordinate = [alongX](const std::pair<double, double>& p) { return alongX ? p.first : p.second; };
  auto inside = [&](const std::pair<double, double>& p) {
    return keepBelow ? coordinate(p) <= limit : coordinate(p) >= limit;
  };
  for (std::size_t i = 0; i < in.size(); ++i) {
    const auto& current = in[i];
    const auto& next = in[(i + 1) % in.size()];
    if (inside(current)) out.push_back(current);
    if (inside(current) != inside(next)) {
      // From the same end whichever way the edge runs, so that two triangles sharing the
      // edge get the same point.
      const auto& from = current < next ? current : next;
      const auto& to = current < next ? next : current;
      double t = (limit - coordinate(from)) / (coordinate(to) - coordinate(from));
      out.emplace_back(from.first + t * (to.first - from.first), from.second + t * (to.second - from.second));
    }
  }
  return out;
}

void Include(const RECT& area, RECT& written) {
  if (written.left >= written.right) {
    written = area;
  } else {
    written = {std::min(written.left, area.left), std::min(written.top, area.top), std::max(written.right, area.right),
               std::max(written.bottom, area.bottom)};
  }
}

// The part of a block from `columns` pixels right and `rows` rows down, `count` pixels by
// `rowCount` rows: each value as the span routine would reach it from the block's start.
SpanBlock CutBlock(const SpanBlock& block, int columns, int rows, int count, int rowCount) {
  SpanBlock part = block;
  part.x += columns;
  part.y += rows;
  part.count = count;
  part.rows = rowCount;
  auto move = [&](auto& value) { value.start += value.step * columns + value.rowStep * rows; };
  for (int s = 0; s < kStageCount; ++s) {
    move(part.u[s]);
    move(part.v[s]);
  }
  for (auto& colour : part.colour) move(colour);
  move(part.depth);
  return part;
}

// Bit for bit, a word at a time: vertices are read in a word at a time, and wider loads
// of words just stored wait until the stores are done.
bool SameVertex(const Vertex& a, const Vertex& b) {
  static_assert(sizeof(Vertex) % sizeof(std::uint32_t) == 0, "a vertex is whole words");
  const auto* first = reinterpret_cast<const unsigned char*>(&a);
  const auto* second = reinterpret_cast<const unsigned char*>(&b);
  for (std::size_t at = 0; at < sizeof(Vertex); at += sizeof(std::uint32_t)) {
    std::uint32_t x, y;
    std::memcpy(&x, first + at, sizeof x);
    std::memcpy(&y, second + at, sizeof y);
    if (x != y) return false;
  }
  return true;
}

bool Meets(const RECT& a, std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
  return left < a.right && right > a.left && top < a.bottom && bottom > a.top;
}

}  // namespace

Rasteriser::Rasteriser(const DrawContext& context, DWORD cullMode) : Rasteriser(context, cullMode, context.scissor) {}

Rasteriser::Rasteriser(const DrawContext& context, DWORD cullMode, const RECT& tile)
    : context_(context),
      cullMode_(cullMode),
      targetBytesPerPixel_(static_cast<int>(GetPixelLayout(context.targetKind).bytes)),
      tile_(tile) {}

RECT Rasteriser::Reach(const Vertex* vertices, int count, const RECT& scissor) {
  double left = vertices[0].x, top = vertices[0].y, right = left, bottom = top;
  for (int i = 1; i < count; ++i) {
    left = std::min<double>(left, vertices[i].x);
    right = std::max<double>(right, vertices[i].x);
    top = std::min<double>(top, vertices[i].y);
    bottom = std::max<double>(bottom, vertices[i].y);
  }
  // NaN fails every comparison: such a primitive draws nothing and reaches nothing.
  if (!(left <= right && top <= bottom)) return RECT{0, 0, 0, 0};
  auto clamped = [](double value, LONG low, LONG high) { return static_cast<LONG>(std::clamp<double>(value, low, high)); };
  return RECT{clamped(std::floor(left) - 1, scissor.left, scissor.right),
              clamped(std::floor(top) - 1, scissor.top, scissor.bottom),
              clamped(std::ceil(right) + 2, scissor.left, scissor.right),
              clamped(std::ceil(bottom) + 2, scissor.top, scissor.bottom)};
}

bool Rasteriser::SetUpPlanes(const Vertex& a, const Vertex& b, const Vertex& c, const Vertex& flat, const RECT& reach,
                             bool block) {
  double x0 = a.x, y0 = a.y;
  double x1 = b.x - x0, y1 = b.y - y0, x2 = c.x - x0, y2 = c.y - y0;
  double det = x1 * y2 - x2 * y1;
  if (det == 0 || !std::isfinite(det)) return false;
  Attributes va = AttributesOf(context_, a), vb = AttributesOf(context_, b), vc = AttributesOf(context_, c);
  auto plane = [&](double p0, double p1, double p2) {
    double e1 = p1 - p0, e2 = p2 - p0;
    return Plane{p0, (e1 * y2 - e2 * y1) / det, (e2 * x1 - e1 * x2) / det};
  };
  planes_.originX = x0;
  planes_.originY = y0;
  SetPlanes(va, vb, vc, plane);
  regionSampled_ = block && SampledRegion(va, vb, vc, &sampledRegion_);
  block_.coverage = regionSampled_ && sink_ == nullptr ? CuttingCoverage(context_, sampledRegion_) : nullptr;
  block_.diffuse = flat.diffuse;
  block_.specular = flat.specular;
  SetUpBlock(reach);
  return true;
}

template <typename MakePlane>
void Rasteriser::SetPlanes(const Attributes& a, const Attributes& b, const Attributes& c, MakePlane plane) {
  for (int s = 0; s < context_.stageCount; ++s) {
    if (!context_.stages[s].textured) continue;
    planes_.u[s] = plane(a.u[s], b.u[s], c.u[s]);
    planes_.v[s] = plane(a.v[s], b.v[s], c.v[s]);
  }
  if (context_.gouraud) {
    for (int k = 0; k < 8; ++k) planes_.colour[k] = plane(a.colour[k], b.colour[k], c.colour[k]);
  }
  if (context_.depthBits != nullptr) planes_.depth = plane(a.depth, b.depth, c.depth);
}

bool Rasteriser::SampledRegion(const Attributes& a, const Attributes& b, const Attributes& c, TexelBox* region) const {
  const DrawContext& context = context_;
  if (!context.transparent.keyed && !context.transparent.alphaZero) return false;
  // The texels under the corners' coordinates; spans that reach beyond are shaded whole.
  auto range = [](double p0, double p1, double p2, int size, int* low, int* high) {
    double least = std::min({p0, p1, p2}), most = std::max({p0, p1, p2});
    if (!(least >= -kTexelLimit && most <= kTexelLimit)) return false;
    *low = static_cast<int>(std::clamp(std::floor(least), 0.0, size - 1.0));
    *high = static_cast<int>(std::clamp(std::ceil(most) - 1, static_cast<double>(*low), size - 1.0));
    return true;
  };
  const TextureSampler& t = context.textures[0];
  return range(a.u[0], b.u[0], c.u[0], t.width, &region->left, &region->right) &&
         range(a.v[0], b.v[0], c.v[0], t.height, &region->top, &region->bottom);
}

// A block is cut to the box of the texels that show, a large one to its rows'.
const TexelCoverage* Rasteriser::CuttingCoverage(const DrawContext& context, const TexelBox& region) {
  const TexelCoverage& coverage = FindTexelCoverage(context, region);
  return CutsBlocks(coverage) ? &coverage : nullptr;
}

template <typename Visit>
void Rasteriser::ForEachInterpolant(SpanBlock& block, Visit visit) const {
  for (int s = 0; s < context_.stageCount; ++s) {
    if (!context_.stages[s].textured) continue;
    visit(planes_.u[s], block.u[s], kTexelFractionBits, kTexelLimit);
    visit(planes_.v[s], block.v[s], kTexelFractionBits, kTexelLimit);
  }
  if (context_.gouraud) {
    for (int k = 0; k < 8; ++k) visit(planes_.colour[k], block.colour[k], kColourFractionBits, kColourLimit);
  }
  if (context_.depthBits != nullptr) visit(planes_.depth, block.depth, kDepthFractionBits, kDepthLimit);
}

void Rasteriser::SetUpBlock(const RECT& reach) {
  const double left = reach.left - planes_.originX, right = reach.right - 1 - planes_.originX;
  const double top = reach.top - planes_.originY, bottom = reach.bottom - 1 - planes_.originY;
  const double across = std::fabs(left) + std::fabs(right) + 1, down = std::fabs(top) + std::fabs(bottom) + 1;
  bool fits = reach.left < reach.right && reach.top < reach.bottom;
  ForEachInterpolant(block_, [&](const Plane& p, auto& value, int bits, double limit) {
    using T = decltype(value.start);
    auto inside = [](double v, double bound) { return v >= -bound && v <= bound; };
    auto at = [&p](double dx, double dy) { return p.atOrigin + dx * p.dx + dy * p.dy; };
    const double half = limit / 2, scale = static_cast<double>(std::int64_t{1} << bits);
    fits = fits && inside(p.dx, limit) && inside(p.dy, limit) &&
           std::fabs(p.atOrigin) + across * std::fabs(p.dx) + down * std::fabs(p.dy) <= kTermLimit &&
           inside(at(left, top), half) && inside(at(right, top), half) && inside(at(left, bottom), half) &&
           inside(at(right, bottom), half);
    if (fits) {
      value.step = static_cast<T>(RoundToInt64(p.dx * scale));
      value.rowStep = static_cast<T>(RoundToInt64(p.dy * scale));
    }
  });
  checkedBox_ = fits ? reach : RECT{0, 0, 0, 0};
}

void Rasteriser::Emit(int left, int right, int y, int rows) {
  if (!Meets(tile_, left, y, std::int64_t{right} + 1, std::int64_t{y} + rows)) return;
  if (left < checkedBox_.left || right >= checkedBox_.right || y < checkedBox_.top || y + rows > checkedBox_.bottom) {
    return EmitChecked(left, right, y, rows);
  }
  // Inside the checked box every value fits, with the steps set up for the primitive.
  const double dx = left - planes_.originX, dy = y - planes_.originY;
  ForEachInterpolant(block_, [&](const Plane& p, auto& value, int bits, double) {
    const double start = p.atOrigin + dx * p.dx + dy * p.dy;
    value.start = static_cast<decltype(value.start)>(RoundToInt64(start * static_cast<double>(std::int64_t{1} << bits)));
  });
  block_.x = left;
  block_.y = y;
  block_.count = right - left + 1;
  block_.rows = rows;
  Shade(block_);
}

void Rasteriser::EmitChecked(int left, int right, int y, int rows) {
  SpanBlock block = block_;
  block.x = left;
  block.y = y;
  block.count = right - left + 1;
  block.rows = rows;
  const double dx = left - planes_.originX, dy = y - planes_.originY;
  bool fits = true;
  ForEachInterpolant(block, [&](const Plane& p, auto& value, int bits, double limit) {
    fits = fits && ToFixed(p.atOrigin + dx * p.dx + dy * p.dy, p.dx, p.dy, block.count, rows, bits, limit, &value);
  });
  if (!fits) {
    for (int row = 0; row < rows; ++row) Emit(left, right, y + row, 1);
    return;
  }
  Shade(block);
}

void Rasteriser::Shade(const SpanBlock& block) {
  if (sink_ != nullptr) {
    sink_(sinkOwner_, block, regionSampled_ ? &sampledRegion_ : nullptr);
    return;
  }
  Include(DrawBlock(context_, block, tile_), written_);
}

void Rasteriser::SendBlocksTo(BlockSink sink, void* owner) {
  sink_ = sink;
  sinkOwner_ = owner;
}

RECT Rasteriser::DrawBlock(const DrawContext& context, const SpanBlock& block, const RECT& tile) {
  // The values come from the whole block, so that the pixels inside the tile are those
  // the whole block has there. Blocks with a coverage leave out the pixels over
  // transparent texels.
  const RECT area{std::max<LONG>(block.x, tile.left), std::max<LONG>(block.y, tile.top),
                  std::min<LONG>(block.x + block.count, tile.right), std::min<LONG>(block.y + block.rows, tile.bottom)};
  if (area.left >= area.right || area.top >= area.bottom) return RECT{0, 0, 0, 0};
  const SpanFunction span = block.coverage != nullptr ? &SkipTransparentTexels : context.span;
  const int columns = area.left - block.x, rows = area.top - block.y;
  const int count = area.right - area.left, rowCount = area.bottom - area.top;
  if (columns == 0 && rows == 0 && count == block.count && rowCount == block.rows) {
    span(context, block);
  } else {
    span(context, CutBlock(block, columns, rows, count, rowCount));
  }
  return area;
}

// Edge a->b of a triangle wound so that the inside has e(p) > 0, where
// e(p) = (xb - xa)(py - ya) - (yb - ya)(px - xa). Top edges (horizontal, going right)
// and left edges (going up) also own the pixels centred on them: e >= 0 there, e >= 1
// elsewhere. Per row, the edge bounds x from below (left edges) or above (right edges);
// the bound is floor(m / d) of a numerator m that grows by a constant each row, kept as
// quotient and remainder so that stepping is exact.
void Rasteriser::CoverTriangle(const std::int64_t (&xs)[3], const std::int64_t (&ys)[3]) {
  std::int64_t x[3] = {xs[0], xs[1], xs[2]}, y[3] = {ys[0], ys[1], ys[2]};
  std::int64_t area = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
  if (area == 0) return;
  if (area < 0) {
    std::swap(x[1], x[2]);
    std::swap(y[1], y[2]);
  }
  const RECT& scissor = context_.scissor;
  std::int64_t top = std::max<std::int64_t>(scissor.top, CeilDiv(std::min({y[0], y[1], y[2]}), kSubpixel));
  std::int64_t bottom = std::min<std::int64_t>(scissor.bottom - 1, FloorDiv(std::max({y[0], y[1], y[2]}), kSubpixel));
  if (top > bottom) return;

  struct Edge {
    int side;  // -1 bounds from below, +1 from above, 0 horizontal (whole rows in or out)
    std::int64_t quotient, remainder, divisor, quotientStep, remainderStep;
    std::int64_t numerator, numeratorStep;  // horizontal edges: the row is in while >= 0
  };
  // The edges as they stand on row `first`: the numerators are exact, so any row can
  // start a walk.
  auto edgesAt = [&](std::int64_t first, Edge (&edges)[3]) {
    for (int i = 0; i < 3; ++i) {
      int j = (i + 1) % 3;
      std::int64_t dx = x[j] - x[i], dy = y[j] - y[i];
      bool ownsCentres = dy < 0 || (dy == 0 && dx > 0);
      std::int64_t numerator = dx * (first * kSubpixel - y[i]) + dy * x[i] - (ownsCentres ? 0 : 1);
      Edge& e = edges[i];
      e.numerator = numerator;
      e.numeratorStep = dx * kSubpixel;
      if (dy == 0) {
        e.side = 0;
        continue;
      }
      e.side = dy < 0 ? -1 : 1;
      e.divisor = kSubpixel * (dy < 0 ? -dy : dy);
      e.quotient = FloorDiv(numerator, e.divisor);
      e.remainder = numerator - e.quotient * e.divisor;
      e.quotientStep = FloorDiv(e.numeratorStep, e.divisor);
      e.remainderStep = e.numeratorStep - e.quotientStep * e.divisor;
    }
  };
  // Only the rows in the tile: each is found from the edges alone.
  const std::int64_t first = std::max<std::int64_t>(top, tile_.top), last = std::min<std::int64_t>(bottom, tile_.bottom - 1);
  if (first > last) return;
  Edge edges[3];
  edgesAt(first, edges);
  for (std::int64_t row = first; row <= last; ++row) {
    std::int64_t left = scissor.left, right = scissor.right - 1;
    for (Edge& e : edges) {
      if (e.side == 0) {
        if (e.numerator < 0) left = right + 1;
        e.numerator += e.numeratorStep;
        continue;
      }
      if (e.side < 0) {
        left = std::max(left, -e.quotient);
      } else {
        right = std::min(right, e.quotient);
      }
      e.quotient += e.quotientStep;
      e.remainder += e.remainderStep;
      if (e.remainder >= e.divisor) {
        e.remainder -= e.divisor;
        ++e.quotient;
      }
    }
    if (left <= right) Emit(static_cast<int>(left), static_cast<int>(right), static_cast<int>(row), 1);
  }
}

void Rasteriser::DrawTriangle(const Vertex& a, const Vertex& b, const Vertex& c, const Vertex& flat) {
  if (!IsFinitePosition(a) || !IsFinitePosition(b) || !IsFinitePosition(c)) return;
  double winding = (static_cast<double>(b.x) - a.x) * (static_cast<double>(c.y) - a.y) -
                   (static_cast<double>(c.x) - a.x) * (static_cast<double>(b.y) - a.y);
  // Clockwise on screen (y down) is a positive winding.
  if ((cullMode_ == D3DCULL_CW && winding > 0) || (cullMode_ == D3DCULL_CCW && winding < 0)) return;
  const Vertex corners[3] = {a, b, c};
  const RECT reach = Reach(corners, 3, context_.scissor);
  if (!Meets(tile_, reach.left, reach.top, reach.right, reach.bottom)) return;
  if (!SetUpPlanes(a, b, c, flat, reach)) return;

  std::vector<std::pair<double, double>> polygon{{a.x, a.y}, {b.x, b.y}, {c.x, c.y}};
  bool beyondGuard = std::any_of(polygon.begin(), polygon.end(), [](const auto& p) {
    return std::fabs(p.first) > kGuard || std::fabs(p.second) > kGuard;
  });
  if (beyondGuard) {
    polygon = ClipSide(polygon, true, -kGuard, false);
    polygon = ClipSide(polygon, true, kGuard, true);
    polygon = ClipSide(polygon, false, -kGuard, false);
    polygon = ClipSide(polygon, false, kGuard, true);
  }
  for (std::size_t i = 1; i + 1 < polygon.size(); ++i) {
    const std::pair<double, double>* corners[3] = {&polygon[0], &polygon[i], &polygon[i + 1]};
    std::int64_t x[3], y[3];
    for (int k = 0; k < 3; ++k) {
      x[k] = Snap(corners[k]->first);
      y[k] = Snap(corners[k]->second);
    }
    CoverTriangle(x, y);
  }
}

bool Rasteriser::DrawRectanglePair(const Vertex* six) {
  const Vertex &topLeft = six[0], &topRight = six[1], &bottomLeft = six[2], &bottomRight = six[3];
  if (!SameVertex(six[4], bottomLeft) || !SameVertex(six[5], topRight)) return false;
  if (!IsFinitePosition(topLeft) || !IsFinitePosition(topRight) || !IsFinitePosition(bottomLeft) ||
      !IsFinitePosition(bottomRight)) {
    return false;
  }
  if (topRight.y != topLeft.y || bottomLeft.x != topLeft.x || bottomRight.x != topRight.x ||
      bottomRight.y != bottomLeft.y) {
    return false;
  }
  auto continues = [&](double tl, double tr, double bl, double br) { return br == tr + bl - tl; };
  for (int s = 0; s < context_.stageCount; ++s) {
    if (!context_.stages[s].textured) continue;
    int set = context_.stages[s].coordinateSet;
    if (!continues(topLeft.u[set], topRight.u[set], bottomLeft.u[set], bottomRight.u[set]) ||
        !continues(topLeft.v[set], topRight.v[set], bottomLeft.v[set], bottomRight.v[set])) {
      return false;
    }
  }
  if (context_.depthBits != nullptr && !continues(topLeft.z, topRight.z, bottomLeft.z, bottomRight.z)) return false;
  if (context_.gouraud) {
    Attributes tl = AttributesOf(context_, topLeft), tr = AttributesOf(context_, topRight),
               bl = AttributesOf(context_, bottomLeft), br = AttributesOf(context_, bottomRight);
    for (int k = 0; k < 8; ++k) {
      if (!continues(tl.colour[k], tr.colour[k], bl.colour[k], br.colour[k])) return false;
    }
  } else if (bottomRight.diffuse != topLeft.diffuse || bottomRight.specular != topLeft.specular) {
    return false;
  }
  std::int64_t left = Snap(topLeft.x), right = Snap(topRight.x), top = Snap(topLeft.y), bottom = Snap(bottomLeft.y);
  if (left == right || top == bottom) return true;  // both triangles are empty
  bool clockwise = (right > left) == (bottom > top);
  if ((cullMode_ == D3DCULL_CW && clockwise) || (cullMode_ == D3DCULL_CCW && !clockwise)) return true;

  // Left and top edges own the centres on them, right and bottom edges do not.
  const RECT& scissor = context_.scissor;
  int firstColumn = ClampToInt(CeilDiv(std::min(left, right), kSubpixel), scissor.left, scissor.right);
  int endColumn = ClampToInt(CeilDiv(std::max(left, right), kSubpixel), scissor.left, scissor.right);
  int firstRow = ClampToInt(CeilDiv(std::min(top, bottom), kSubpixel), scissor.top, scissor.bottom);
  int endRow = ClampToInt(CeilDiv(std::max(top, bottom), kSubpixel), scissor.top, scissor.bottom);
  if (firstColumn >= endColumn || firstRow >= endRow || !Meets(tile_, firstColumn, firstRow, endColumn, endRow)) {
    return true;
  }
  if (!SetUpPlanes(topLeft, topRight, bottomLeft, topLeft, RECT{firstColumn, firstRow, endColumn, endRow}, true)) {
    return true;
  }
  Emit(firstColumn, endColumn - 1, firstRow, endRow - firstRow);
  return true;
}

void Rasteriser::PrefetchArea(const Vertex& corner, const Vertex& oppositeCorner) const {
  if (!IsFinitePosition(corner) || !IsFinitePosition(oppositeCorner)) return;
  const RECT& scissor = context_.scissor;
  auto clamped = [](double value, LONG low, LONG high) { return static_cast<LONG>(std::clamp<double>(value, low, high)); };
  LONG left = clamped(std::min(corner.x, oppositeCorner.x), scissor.left, scissor.right);
  LONG right = clamped(std::ceil(std::max(corner.x, oppositeCorner.x)), scissor.left, scissor.right);
  LONG top = clamped(std::min(corner.y, oppositeCorner.y), scissor.top, scissor.bottom);
  LONG bottom = clamped(std::ceil(std::max(corner.y, oppositeCorner.y)), scissor.top, scissor.bottom);
  LONG bytesPerPixel = targetBytesPerPixel_;
  LONG bytes = std::min<LONG>((right - left) * bytesPerPixel, kPrefetchBytesPerRow);
  for (LONG y = top; y < std::min<LONG>(bottom, top + kPrefetchRows); ++y) {
    const BYTE* row = context_.targetBits + static_cast<std::ptrdiff_t>(y) * context_.targetPitch + left * bytesPerPixel;
    for (LONG offset = 0; offset < bytes; offset += 64) __builtin_prefetch(row + offset, 1);
  }
}

// A pixel is lit when the line leaves its diamond: along the major axis from
// ceil(start - 0.5) to ceil(end - 0.5) - 1 (floor(start + 0.5) down to
// floor(end + 0.5) + 1 when the line runs backwards), the minor coordinate at each
// pixel centre taken as ceil(minor - 0.5).
void Rasteriser::DrawLine(const Vertex& a, const Vertex& b) {
  if (!IsFinitePosition(a) || !IsFinitePosition(b)) return;
  double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
  if (dx == 0 && dy == 0) return;
  bool xMajor = std::fabs(dx) >= std::fabs(dy);
  double start = xMajor ? a.x : a.y, end = xMajor ? b.x : b.y;
  double minorStart = xMajor ? a.y : a.x, slope = xMajor ? dy / dx : dx / dy;
  bool forward = end > start;
  double first = forward ? std::ceil(start - 0.5) : std::floor(start + 0.5);
  double last = forward ? std::ceil(end - 0.5) - 1 : std::floor(end + 0.5) + 1;
  const RECT& scissor = context_.scissor;
  double low = xMajor ? scissor.left : scissor.top, high = (xMajor ? scissor.right : scissor.bottom) - 1;
  double from = std::clamp(forward ? first : last, low - 1, high + 1);
  double to = std::clamp(forward ? last : first, low - 1, high + 1);

  Attributes va = AttributesOf(context_, a), vb = AttributesOf(context_, b);
  double length = end - start;
  auto plane = [&](double p0, double p1) {
    double change = (p1 - p0) / length;
    return Plane{p0, xMajor ? change : 0.0, xMajor ? 0.0 : change};
  };
  planes_.originX = a.x;
  planes_.originY = a.y;
  SetPlanes(va, vb, vb, [&](double p0, double p1, double) { return plane(p0, p1); });
  block_.coverage = nullptr;
  regionSampled_ = false;
  block_.diffuse = a.diffuse;
  block_.specular = a.specular;
  checkedBox_ = RECT{0, 0, 0, 0};  // lines are few: each pixel is checked

  for (double major = std::max(from, low); major <= std::min(to, high); major += 1) {
    double minor = std::ceil(minorStart + (major - start) * slope - 0.5);
    double minorLow = xMajor ? scissor.top : scissor.left, minorHigh = (xMajor ? scissor.bottom : scissor.right) - 1;
    if (!(minor >= minorLow && minor <= minorHigh)) continue;
    int px = static_cast<int>(xMajor ? major : minor), py = static_cast<int>(xMajor ? minor : major);
    Emit(px, px, py, 1);
  }
}
