// Turns triangles and lines into spans for the draw's span routine, inside the scissor.
// Coverage is exact integer arithmetic on positions snapped to 1/256 pixel; vertices far
// outside (beyond a million pixels) are first clipped to a guard square in doubles, so
// any finite input works. Attributes come from plane equations of the whole triangle.
#pragma once

#include "d3d/draw_context.h"
#include "d3d/texel_coverage.h"

constexpr int kCoordinateSets = kStageCount;

struct Vertex {
  float x, y, z;
  DWORD diffuse, specular;
  float u[kCoordinateSets], v[kCoordinateSets];  // sets the vertex format lacks read 0
};

// The values a vertex gives the planes: texel coordinates per textured stage, Gouraud
// channels, depth in Z units; only those the draw uses are filled in.
struct Attributes {
  double u[kStageCount], v[kStageCount];
  double colour[8];
  double depth;
};

class Rasteriser {
 public:
  Rasteriser(const DrawContext& context, DWORD cullMode);
  // Writes only the pixels inside `tile` (part of the scissor), each as the rasteriser
  // without a tile would: a primitive's values come from the whole primitive.
  Rasteriser(const DrawContext& context, DWORD cullMode, const RECT& tile);

  // Hands `sink` each block the rasteriser would draw, whole and in place of drawing it,
  // so that it can be drawn later into any tile with DrawBlock. A block goes without its
  // coverage, which lives in a per-thread cache: `region` (null when none applies) is
  // the texel region whose coverage the drawing thread looks up (CuttingCoverage).
  using BlockSink = void (*)(void* owner, const SpanBlock& block, const TexelBox* region);
  void SendBlocksTo(BlockSink sink, void* owner);

  // The coverage of the region of the draw's stage-0 texture when blocks that sample it
  // are worth cutting by it, else null.
  static const TexelCoverage* CuttingCoverage(const DrawContext& context, const TexelBox& region);

  // Draws the part inside `tile` of a block handed to a sink; returns that part (empty
  // when the block misses the tile).
  static RECT DrawBlock(const DrawContext& context, const SpanBlock& block, const RECT& tile);

  // A box, inside the scissor, that holds every pixel a primitive with these corners
  // may write.
  static RECT Reach(const Vertex* vertices, int count, const RECT& scissor);

  // The corners' order decides the winding for culling; `flat` gives the colours under
  // flat shading.
  void DrawTriangle(const Vertex& a, const Vertex& b, const Vertex& c, const Vertex& flat);

  // Six vertices as two triangles (top-left, top-right, bottom-left) and (bottom-right,
  // bottom-left, top-right): when they form an upright rectangle (corners sharing their
  // x and y exactly) whose second triangle continues the first one's attributes, draws
  // it as one block of rows (the pixels both triangles would cover) and returns true;
  // else draws nothing and returns false.
  bool DrawRectanglePair(const Vertex* six);

  void DrawLine(const Vertex& a, const Vertex& b);

  // Asks the cache for the target rows under the box of two corners (at most the first
  // few rows), for a primitive drawn soon: sprites land anywhere on the target.
  void PrefetchArea(const Vertex& corner, const Vertex& oppositeCorner) const;

  // The area drawn so far (empty when nothing was).
  const RECT& Written() const { return written_; }

 private:
  struct Plane {
    double atOrigin;  // value at (originX, originY)
    double dx;
    double dy;
  };
  struct Planes {
    double originX, originY;
    Plane u[kStageCount], v[kStageCount];
    Plane colour[8];
    Plane depth;
  };

  // `block`: the primitive is drawn as one block of rows, which alone pays for cutting
  // its spans to the texels that show (a triangle's rows would each pay). `reach`: a box
  // that holds every pixel the primitive may write.
  bool SetUpPlanes(const Vertex& a, const Vertex& b, const Vertex& c, const Vertex& flat, const RECT& reach,
                   bool block = false);
  // The planes the draw uses, each from three vertices' values.
  template <typename MakePlane>
  void SetPlanes(const Attributes& a, const Attributes& b, const Attributes& c, MakePlane plane);
  // The region of stage-0 texels a primitive with these corners samples, when the draw
  // has transparent texels and the corners' coordinates are within the limits.
  bool SampledRegion(const Attributes& a, const Attributes& b, const Attributes& c, TexelBox* region) const;
  // Calls `visit(plane, interpolant, fraction bits, limit)` for each interpolant the
  // draw uses, with its place in `block`.
  template <typename Visit>
  void ForEachInterpolant(SpanBlock& block, Visit visit) const;
  // The values of the primitive's blocks that do not depend on where they start, and the
  // box in which every start is known to fit (empty when unknown).
  void SetUpBlock(const RECT& reach);
  void CoverTriangle(const std::int64_t (&x)[3], const std::int64_t (&y)[3]);
  // The part in the tile of a block of `rows` rows of pixels [left, right] from row y.
  void Emit(int left, int right, int y, int rows);
  // Emit for blocks outside the checked box: each value checked (and a row that does
  // not fit clamped at its ends).
  void EmitChecked(int left, int right, int y, int rows);
  // Hands `block` (set for the whole block) to the span routine, cut to the tile.
  void Shade(const SpanBlock& block);

  const DrawContext& context_;
  DWORD cullMode_;
  int targetBytesPerPixel_;
  Planes planes_{};
  RECT tile_;
  // The block being emitted: what the primitive's blocks share is set once, and each
  // block fills in its place and starting values. Interpolants the draw does not use
  // stay 0.
  SpanBlock block_{};
  RECT checkedBox_{0, 0, 0, 0};
  RECT written_{0, 0, 0, 0};
  // The sampled region of the primitive being emitted, for blocks sent to the sink.
  TexelBox sampledRegion_{};
  bool regionSampled_ = false;
  BlockSink sink_ = nullptr;
  void* sinkOwner_ = nullptr;
};
