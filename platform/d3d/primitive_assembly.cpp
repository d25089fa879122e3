#include "d3d/primitive_assembly.h"

#include <algorithm>
#include <cstddef>
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
// its parts. The position is stored at once, since it is loaded a pair of words at once.
void ReadVertex(const PrimitiveBatch& batch, DWORD position, Vertex* vertex) {
  DWORD index = batch.indices != nullptr ? batch.indices[position] : position;
  const VertexLayout& layout = *batch.layout;
  const BYTE* bytes = batch.vertices + static_cast<std::size_t>(index) * layout.stride;
  static_assert(offsetof(Vertex, y) == offsetof(Vertex, x) + sizeof(float) &&
                    offsetof(Vertex, z) == offsetof(Vertex, y) + sizeof(float),
                "the position's coordinates lie together, as in the vertex formats");
  *vertex = Vertex{};
  std::memcpy(&vertex->x, bytes, 3 * sizeof(float));
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

// Where a recorded draw's pixels go: the draw's context, shared by runs of draws with
// the same, and the area written per tile.
struct BlockTarget {
  const DrawContext* context;
  TileWritten* tileWritten;

  void Written(const DrawTile& tile, const RECT& area) const {
    RECT& written = tileWritten[tile.index].area;
    written = JoinAreas(written, area);
  }
};

// What the primitives of one batch set up in each tile share.
struct RecordedBatch {
  BlockTarget target;
  DWORD cullMode;
  VertexLayout layout;
  PrimitiveBatch batch;  // reading the kept vertices through `layout`
};

enum class Shape : std::uint8_t { kRectanglePair, kTriangle, kStripTriangle, kTurnedStripTriangle, kLine };

// One primitive of a recorded batch, from vertex position `first`, set up anew in each
// tile it meets.
struct RecordedPrimitive {
  const RecordedBatch* shared;
  DWORD first;
  Shape shape;

  void operator()(const DrawTile& tile) const {
    Rasteriser rasteriser(*shared->target.context, shared->cullMode, tile.area);
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
    shared->target.Written(tile, rasteriser.Written());
  }
};

// The values of a block of a draw with at most one textured stage, flat shading and no
// depth, whose other values the rasteriser leaves 0: kept small, since the tiles read
// each recorded block anew.
struct OneStageBlock {
  int x, y, count, rows;
  Interpolant<std::int64_t> u, v;
  DWORD diffuse, specular;

  static bool Holds(const DrawContext& context) {
    if (context.gouraud || context.depthBits != nullptr) return false;
    for (int s = 1; s < context.stageCount; ++s) {
      if (context.stages[s].textured) return false;
    }
    return true;
  }
  explicit OneStageBlock(const SpanBlock& block)
      : x(block.x), y(block.y), count(block.count), rows(block.rows), u(block.u[0]), v(block.v[0]),
        diffuse(block.diffuse), specular(block.specular) {}
  SpanBlock Whole() const {
    SpanBlock block{};
    block.x = x;
    block.y = y;
    block.count = count;
    block.rows = rows;
    block.u[0] = u;
    block.v[0] = v;
    block.diffuse = diffuse;
    block.specular = specular;
    return block;
  }
};

// Any other block, kept whole.
struct WholeBlock {
  SpanBlock block;
  explicit WholeBlock(const SpanBlock& whole) : block(whole) {}
  SpanBlock Whole() const { return block; }
};

// A rectangle drawn as one block, set up once when recorded; each tile draws its part.
// The block's coverage lives in a per-thread cache: each tile finds it there.
template <typename Kept>
struct RecordedBlock {
  BlockTarget target;
  Kept kept;
  TexelBox sampledRegion;
  bool sampled;

  void operator()(const DrawTile& tile) const {
    SpanBlock block = kept.Whole();
    if (sampled) block.coverage = Rasteriser::CuttingCoverage(*target.context, sampledRegion);
    target.Written(tile, Rasteriser::DrawBlock(*target.context, block, tile.area));
  }
};

// The blocks a rasteriser hands over for one primitive.
struct CaughtBlocks {
  int count = 0;
  SpanBlock first;
  const TexelBox* region;

  static void Catch(void* owner, const SpanBlock& block, const TexelBox* region) {
    auto* caught = static_cast<CaughtBlocks*>(owner);
    if (caught->count++ > 0) return;
    caught->first = block;
    caught->region = region;
  }
};

// Keeps what a batch's recorded primitives share, when the first needs it.
class BatchRecorder {
 public:
  BatchRecorder(const DrawContext& context, DWORD cullMode, const PrimitiveBatch& batch, DWORD vertexCount,
                TileWritten* tileWritten)
      : context_(context),
        cullMode_(cullMode),
        batch_(batch),
        vertexCount_(vertexCount),
        tileWritten_(tileWritten),
        oneStage_(OneStageBlock::Holds(context)) {}

  void Primitive(DWORD first, Shape shape, const Vertex* corners, int count) {
    if (shared_ == nullptr) {
      RecordedBatch kept{Target(), cullMode_, *batch_.layout, batch_};
      kept.batch.vertices = KeepUntilFlush(batch_.vertices, std::size_t{vertexCount_} * batch_.layout->stride);
      if (batch_.indices != nullptr) kept.batch.indices = KeepUntilFlush(batch_.indices, batch_.count);
      shared_ = const_cast<RecordedBatch*>(KeepUntilFlush(kept));
      shared_->batch.layout = &shared_->layout;
    }
    RecordDraw(Rasteriser::Reach(corners, count, context_.scissor), RecordedPrimitive{shared_, first, shape});
  }

  void Block(const SpanBlock& block, const TexelBox* sampledRegion) {
    const RECT box{block.x, block.y, block.x + block.count, block.y + block.rows};
    const bool sampled = sampledRegion != nullptr;
    const TexelBox region = sampled ? *sampledRegion : TexelBox{};
    if (oneStage_) {
      RecordDraw(box, RecordedBlock<OneStageBlock>{Target(), OneStageBlock(block), region, sampled});
    } else {
      RecordDraw(box, RecordedBlock<WholeBlock>{Target(), WholeBlock(block), region, sampled});
    }
  }

 private:
  BlockTarget Target() {
    static LastKept<DrawContext> lastContext;
    if (target_.context == nullptr) target_ = {KeepUntilFlushShared(context_, &lastContext), tileWritten_};
    return target_;
  }

  const DrawContext& context_;
  DWORD cullMode_;
  const PrimitiveBatch& batch_;
  DWORD vertexCount_;
  TileWritten* tileWritten_;
  bool oneStage_;
  BlockTarget target_{nullptr, nullptr};
  RecordedBatch* shared_ = nullptr;
};

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
                          TileWritten* tileWritten) {
  BatchRecorder recorder(context, cullMode, batch, vertexCount, tileWritten);
  Vertex v[6];
  if (batch.type == D3DPT_TRIANGLELIST) {
    // Pairs are told from single triangles as the list is drawn. A pair drawn as one
    // block is set up here, once for all the tiles it meets.
    Rasteriser setUp(context, cullMode);
    CaughtBlocks caught;
    setUp.SendBlocksTo(&CaughtBlocks::Catch, &caught);
    const DWORD triangles = batch.count / 3;
    for (DWORD t = 0; t < triangles; ++t) {
      const bool pairPossible = t + 1 < triangles;
      for (int k = 0; k < (pairPossible ? 6 : 3); ++k) ReadVertex(batch, 3 * t + k, &v[k]);
      caught.count = 0;
      if (pairPossible && setUp.DrawRectanglePair(v)) {
        // None: the pair draws nothing. Several (values too large for one block): its
        // rows are set up in each tile.
        if (caught.count == 1) recorder.Block(caught.first, caught.region);
        if (caught.count > 1) recorder.Primitive(3 * t, Shape::kRectanglePair, v, 6);
        ++t;
      } else {
        recorder.Primitive(3 * t, Shape::kTriangle, v, 3);
      }
    }
  } else if (batch.type == D3DPT_TRIANGLESTRIP) {
    for (DWORD i = 0; i + 2 < batch.count; ++i) {
      for (int k = 0; k < 3; ++k) ReadVertex(batch, i + k, &v[k]);
      recorder.Primitive(i, i % 2 == 0 ? Shape::kStripTriangle : Shape::kTurnedStripTriangle, v, 3);
    }
  } else {
    for (DWORD i = 0; i + 1 < batch.count; i += 2) {
      for (int k = 0; k < 2; ++k) ReadVertex(batch, i + k, &v[k]);
      recorder.Primitive(i, Shape::kLine, v, 2);
    }
  }
}
