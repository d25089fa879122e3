#include "d3d/primitive_assembly.h"

#include <algorithm>
#include <cstring>

#include "ddraw/rect_math.h"
#include "workers/tile_frame.h"

namespace {

constexpr DWORD kPositionMask = 0x00Eu;
constexpr DWORD kKnownBits = kPositionMask | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEXCOUNT_MASK;
// How far ahead in a triangle list the target is asked for: about one memory latency
// of small sprites.
constexpr DWORD kPairsAhead = 2;

// Into `vertex` in place: a vertex returned by value and copied on stalls on the store of
// its parts.
void ReadVertex(const PrimitiveBatch& batch, DWORD position, Vertex* vertex) {
  DWORD index = batch.indices != nullptr ? batch.indices[position] : position;
  const VertexLayout& layout = *batch.layout;
  const BYTE* bytes = batch.vertices + static_cast<std::size_t>(index) * layout.stride;
  *vertex = Vertex{};
  std::memcpy(&vertex->x, bytes, sizeof(float));
  std::memcpy(&vertex->y, bytes + 4, sizeof(float));
  std::memcpy(&vertex->z, bytes + 8, sizeof(float));
  vertex->diffuse = 0xFFFFFFFFu;
  if (layout.diffuseOffset >= 0) std::memcpy(&vertex->diffuse, bytes + layout.diffuseOffset, sizeof(DWORD));
  if (layout.specularOffset >= 0) std::memcpy(&vertex->specular, bytes + layout.specularOffset, sizeof(DWORD));
  for (int set = 0; set < layout.coordinateSets; ++set) {
    const BYTE* pair = bytes + layout.coordinateOffset + set * 8;
    std::memcpy(&vertex->u[set], pair, sizeof(float));
    std::memcpy(&vertex->v[set], pair + 4, sizeof(float));
  }
}

Vertex ReadVertex(const PrimitiveBatch& batch, DWORD position) {
  Vertex vertex;
  ReadVertex(batch, position, &vertex);
  return vertex;
}

// Triangle lists: the library sends rectangles as pairs of triangles, drawn as one block
// when they form one. The target under the pair a few pairs ahead is asked for early.
void DrawTriangleList(Rasteriser& rasteriser, const PrimitiveBatch& batch) {
  DWORD triangles = batch.count / 3;
  for (DWORD t = 0; t < triangles; ++t) {
    if (DWORD ahead = t + 2 * kPairsAhead; ahead + 1 < triangles) {
      Vertex corners[2];
      ReadVertex(batch, 3 * ahead, &corners[0]);
      ReadVertex(batch, 3 * ahead + 3, &corners[1]);
      rasteriser.PrefetchArea(corners[0], corners[1]);
    }
    Vertex six[6];
    bool pairPossible = t + 1 < triangles;
    for (int k = 0; k < (pairPossible ? 6 : 3); ++k) ReadVertex(batch, 3 * t + k, &six[k]);
    if (pairPossible && rasteriser.DrawRectanglePair(six)) {
      ++t;
      continue;
    }
    rasteriser.DrawTriangle(six[0], six[1], six[2], six[0]);
  }
}

// Strip triangle i uses vertices i, i + 1, i + 2, every second one wound the other way;
// its flat colours come from vertex i.
void DrawTriangleStrip(Rasteriser& rasteriser, const PrimitiveBatch& batch) {
  for (DWORD i = 0; i + 2 < batch.count; ++i) {
    Vertex first = ReadVertex(batch, i), second = ReadVertex(batch, i + 1), third = ReadVertex(batch, i + 2);
    if (i % 2 == 0) {
      rasteriser.DrawTriangle(first, second, third, first);
    } else {
      rasteriser.DrawTriangle(second, first, third, first);
    }
  }
}

void DrawLineList(Rasteriser& rasteriser, const PrimitiveBatch& batch) {
  for (DWORD i = 0; i + 1 < batch.count; i += 2) rasteriser.DrawLine(ReadVertex(batch, i), ReadVertex(batch, i + 1));
}

// What the recorded primitives of one batch share.
struct RecordedBatch {
  DrawContext context;
  DWORD cullMode;
  VertexLayout layout;
  PrimitiveBatch batch;  // reading the kept vertices through `layout`
  RECT* tileWritten;
};

enum class Shape : std::uint8_t { kRectanglePair, kTriangle, kStripTriangle, kTurnedStripTriangle, kLine };

// One primitive of a recorded batch, from vertex position `first`.
struct RecordedPrimitive {
  const RecordedBatch* shared;
  DWORD first;
  Shape shape;

  void operator()(const DrawTile& tile) const {
    Rasteriser rasteriser(shared->context, shared->cullMode, tile.area);
    Vertex v[6];
    const int count = shape == Shape::kRectanglePair ? 6 : shape == Shape::kLine ? 2 : 3;
    for (int k = 0; k < count; ++k) ReadVertex(shared->batch, first + k, &v[k]);
    switch (shape) {
      case Shape::kRectanglePair: rasteriser.DrawRectanglePair(v); break;
      case Shape::kTriangle:
      case Shape::kStripTriangle: rasteriser.DrawTriangle(v[0], v[1], v[2], v[0]); break;
      case Shape::kTurnedStripTriangle: rasteriser.DrawTriangle(v[1], v[0], v[2], v[0]); break;
      case Shape::kLine: rasteriser.DrawLine(v[0], v[1]); break;
    }
    RECT& written = shared->tileWritten[tile.index];
    written = JoinAreas(written, rasteriser.Written());
  }
};

void RecordPrimitive(const RecordedBatch* shared, DWORD first, Shape shape, const Vertex* corners, int count) {
  RecordDraw(Rasteriser::Reach(corners, count, shared->context.scissor), RecordedPrimitive{shared, first, shape});
}

}  // namespace

bool DescribeVertexFormat(DWORD vertexFormat, VertexLayout* layout) {
  if ((vertexFormat & kPositionMask) != D3DFVF_XYZRHW || (vertexFormat & ~kKnownBits) != 0) return false;
  int sets = static_cast<int>((vertexFormat & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
  if (sets > kCoordinateSets) return false;
  int offset = 16;
  layout->diffuseOffset = (vertexFormat & D3DFVF_DIFFUSE) ? offset : -1;
  if (vertexFormat & D3DFVF_DIFFUSE) offset += 4;
  layout->specularOffset = (vertexFormat & D3DFVF_SPECULAR) ? offset : -1;
  if (vertexFormat & D3DFVF_SPECULAR) offset += 4;
  layout->coordinateOffset = offset;
  layout->coordinateSets = sets;
  layout->stride = static_cast<DWORD>(offset + 8 * sets);
  return true;
}

RECT DrawPrimitiveBatch(const DrawContext& context, DWORD cullMode, const PrimitiveBatch& batch) {
  Rasteriser rasteriser(context, cullMode);
  switch (batch.type) {
    case D3DPT_TRIANGLELIST: DrawTriangleList(rasteriser, batch); break;
    case D3DPT_TRIANGLESTRIP: DrawTriangleStrip(rasteriser, batch); break;
    default: DrawLineList(rasteriser, batch); break;
  }
  return rasteriser.Written();
}

RECT JoinAreas(const RECT& a, const RECT& b) {
  if (IsEmptyRect(a)) return b;
  if (IsEmptyRect(b)) return a;
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

void RecordPrimitiveBatch(const DrawContext& context, DWORD cullMode, const PrimitiveBatch& batch, DWORD vertexCount,
                          RECT* tileWritten) {
  const DWORD stride = batch.layout->stride;
  const BYTE* vertices = KeepUntilFlush(batch.vertices, std::size_t{vertexCount} * stride);
  const WORD* indices = batch.indices != nullptr ? KeepUntilFlush(batch.indices, batch.count) : nullptr;
  RecordedBatch* shared = const_cast<RecordedBatch*>(
      KeepUntilFlush(RecordedBatch{context, cullMode, *batch.layout, batch, tileWritten}));
  shared->batch.layout = &shared->layout;
  shared->batch.vertices = vertices;
  shared->batch.indices = indices;
  const PrimitiveBatch& kept = shared->batch;
  Vertex v[6];
  if (batch.type == D3DPT_TRIANGLELIST) {
    // Pairs are told from single triangles as the list is drawn: a rasteriser with an
    // empty tile decides and draws nothing.
    Rasteriser judge(context, cullMode, RECT{0, 0, 0, 0});
    const DWORD triangles = batch.count / 3;
    for (DWORD t = 0; t < triangles; ++t) {
      const bool pairPossible = t + 1 < triangles;
      for (int k = 0; k < (pairPossible ? 6 : 3); ++k) ReadVertex(kept, 3 * t + k, &v[k]);
      if (pairPossible && judge.DrawRectanglePair(v)) {
        RecordPrimitive(shared, 3 * t, Shape::kRectanglePair, v, 6);
        ++t;
      } else {
        RecordPrimitive(shared, 3 * t, Shape::kTriangle, v, 3);
      }
    }
  } else if (batch.type == D3DPT_TRIANGLESTRIP) {
    for (DWORD i = 0; i + 2 < batch.count; ++i) {
      for (int k = 0; k < 3; ++k) ReadVertex(kept, i + k, &v[k]);
      RecordPrimitive(shared, i, i % 2 == 0 ? Shape::kStripTriangle : Shape::kTurnedStripTriangle, v, 3);
    }
  } else {
    for (DWORD i = 0; i + 1 < batch.count; i += 2) {
      for (int k = 0; k < 2; ++k) ReadVertex(kept, i + k, &v[k]);
      RecordPrimitive(shared, i, Shape::kLine, v, 2);
    }
  }
}
