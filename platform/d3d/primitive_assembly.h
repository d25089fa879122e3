// Reading vertices in a flexible vertex format and feeding the primitives they make to
// the rasteriser.
#pragma once

#include "d3d/d3d_types.h"
#include "d3d/rasteriser.h"

struct VertexLayout {
  DWORD stride;
  int diffuseOffset;   // -1: not present (reads opaque white)
  int specularOffset;  // -1: not present (reads 0)
  int coordinateOffset;
  int coordinateSets;
};

// Pre-transformed positions with up to four coordinate sets; false for anything else.
bool DescribeVertexFormat(DWORD vertexFormat, VertexLayout* layout);

// The primitives needed to use `count` vertices (or, with `indices`, `count` indices
// into the vertices) of the given type; leftover vertices are ignored.
struct PrimitiveBatch {
  D3DPRIMITIVETYPE type;
  const VertexLayout* layout;
  const BYTE* vertices;
  const WORD* indices;  // may be null
  DWORD count;
};

// Draws the batch; returns the area written.
RECT DrawPrimitiveBatch(const DrawContext& context, DWORD cullMode, const PrimitiveBatch& batch);
