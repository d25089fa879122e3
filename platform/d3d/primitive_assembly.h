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

// The smallest box holding both areas (either may be empty).
RECT JoinAreas(const RECT& a, const RECT& b);

// The area recorded draws wrote in one tile, on a cache line of its own: the threads
// drawing neighbouring tiles write theirs at once.
struct alignas(64) TileWritten {
  RECT area;
};

// Records the batch's primitives one by one in the tile frame, each with the box it may
// write, for the target in use there; the area each writes in a tile is joined into
// tileWritten[tile index]. `vertexCount` vertices are read (more than `count` when
// indexed).
void RecordPrimitiveBatch(const DrawContext& context, DWORD cullMode, const PrimitiveBatch& batch, DWORD vertexCount,
                          TileWritten* tileWritten);
