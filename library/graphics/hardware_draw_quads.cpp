// Images mapped on free quadrilaterals. A parallelogram is one rectangle of two
// triangles; any other quad is cut into a grid, so that the texture follows the
// bilinear map between the corners instead of bending along one diagonal.
#include <array>
#include <cmath>
#include <cstdint>

#include "float_to_int.h"
#include "graphics/draw_state.h"
#include "graphics/graph_records.h"
#include "graphics/hardware_draw.h"
#include "graphics/hardware_vertices.h"
#include "graphics/render_states.h"
#include "graphics/surface_3d_data.h"

namespace {

constexpr int kGridSide = 8;
constexpr int kGridIndexCount = (kGridSide - 1) * 2 * kGridSide + (kGridSide - 2);
static_assert(kGridIndexCount <= 1000, "the device takes at most 1000 indices a call");

struct Point {
  float x, y;
};

// The point of the quad at (s, t) of the unit square (corners in CornerIndex order).
Point MapBilinear(const Point quad[4], float s, float t) {
  const float a = (1.0f - s) * (1.0f - t);
  const float b = s * (1.0f - t);
  const float c = (1.0f - s) * t;
  const float d = s * t;
  return Point{a * quad[kTopLeft].x + b * quad[kTopRight].x + c * quad[kBottomLeft].x + d * quad[kBottomRight].x,
               a * quad[kTopLeft].y + b * quad[kTopRight].y + c * quad[kBottomLeft].y + d * quad[kBottomRight].y};
}

// Moves the piece's corners (in graph coordinates) onto the quad.
void MapPieceCorners(const GraphRecord* graph, const Point quad[4], ImageCorner corners[4]) {
  const float width = static_cast<float>(graph->width);
  const float height = static_cast<float>(graph->height);
  for (int i = 0; i < 4; ++i) {
    const Point p = MapBilinear(quad, corners[i].x / width, corners[i].y / height);
    corners[i].x = p.x;
    corners[i].y = p.y;
  }
}

// The quad's corners moved as every image position is.
void PlaceQuad(const float xs[4], const float ys[4], Point quad[4]) {
  for (int i = 0; i < 4; ++i) {
    quad[i] = Point{xs[i] - 0.5f + static_cast<float>(DrawState.drawingOrigin.left),
                    ys[i] - 0.5f + static_cast<float>(DrawState.drawingOrigin.top)};
  }
}

// Indices of the grid as one triangle strip: each row of cells runs the other way from
// the one before, so one repeated index joins the rows.
constexpr std::array<WORD, kGridIndexCount> kGridStrip = [] {
  std::array<WORD, kGridIndexCount> indices{};
  int n = 0;
  for (int row = 0; row < kGridSide - 1; ++row) {
    if (row > 0) {
      indices[n] = indices[n - 1];
      ++n;
    }
    for (int step = 0; step < kGridSide; ++step) {
      const int column = row % 2 == 0 ? step : kGridSide - 1 - step;
      indices[n++] = static_cast<WORD>(row * kGridSide + column);
      indices[n++] = static_cast<WORD>((row + 1) * kGridSide + column);
    }
  }
  return indices;
}();

// Sends the piece as a grid of kGridSide x kGridSide vertices in steps of 1 / (side - 1)
// between the corners.
void DrawQuadGrid(D3DDeviceRecord* device, const ImageCorner corners[4]) {
  TextureVertex grid[kGridSide * kGridSide];
  const Point quad[4] = {{corners[0].x, corners[0].y}, {corners[1].x, corners[1].y},
                         {corners[2].x, corners[2].y}, {corners[3].x, corners[3].y}};
  const std::uint32_t diffuse = GetDrawDiffuse();
  for (int row = 0; row < kGridSide; ++row) {
    const float t = static_cast<float>(row) / (kGridSide - 1);
    for (int column = 0; column < kGridSide; ++column) {
      const float s = static_cast<float>(column) / (kGridSide - 1);
      const Point p = MapBilinear(quad, s, t);
      grid[row * kGridSide + column] =
          TextureVertex{p.x, p.y, DrawState.vertexDepth, 1.0f, diffuse,
                        corners[kTopLeft].u + s * (corners[kTopRight].u - corners[kTopLeft].u),
                        corners[kTopLeft].v + t * (corners[kBottomLeft].v - corners[kTopLeft].v)};
    }
  }
  FlushVertexBatch();
  if (device->skipDrawing) return;
  std::array<WORD, kGridIndexCount> indices = kGridStrip;
  device->device->DrawIndexedPrimitive(D3DPT_TRIANGLESTRIP, kVertexFormats[kVertexKindTexture], grid,
                                       kGridSide * kGridSide, indices.data(), kGridIndexCount, 0);
}

// One piece on its own quad: opposite edges that differ by less than a pixel make a
// parallelogram, whose two triangles keep the texture straight.
void DrawSingleTextureQuad(D3DDeviceRecord* device, const ImageCorner corners[4]) {
  const ImageCorner& tl = corners[kTopLeft];
  const ImageCorner& tr = corners[kTopRight];
  const ImageCorner& bl = corners[kBottomLeft];
  const ImageCorner& br = corners[kBottomRight];
  // Top edge minus bottom edge, which equals left edge minus right edge.
  const float skewX = tr.x - tl.x - (br.x - bl.x);
  const float skewY = tr.y - tl.y - (br.y - bl.y);
  if (std::fabs(skewX) < 1.0f && std::fabs(skewY) < 1.0f) {
    const float winding = (tr.x - tl.x) * (bl.y - tl.y) - (tr.y - tl.y) * (bl.x - tl.x);
    WriteImageRectangle(device, corners, winding < 0.0f);
  } else {
    DrawQuadGrid(device, corners);
  }
}

int RoundToInt(float value) { return DoubleToInt(std::round(static_cast<double>(value))); }

// Every piece of the graph mapped onto its share of the quad and written by `write`.
template <typename WritePiece>
void DrawPiecesOnQuad(ImageDraw& draw, GraphRecord* graph, const float xs[4], const float ys[4], WritePiece write) {
  Point quad[4];
  PlaceQuad(xs, ys, quad);
  ForEachPiece(draw, graph, [&](const Surface3DData*, ImageCorner corners[4]) {
    MapPieceCorners(graph, quad, corners);
    write(draw.device, corners);
  });
}

}  // namespace

int DrawGraphQuadD3D(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                     GraphRecord* graph, int transparent) {
  ImageDraw draw{};
  if (const int checked = CheckImageDraw(graph, &draw); checked != 1) return checked;
  if (DrawState.blendGraph != -1) {
    return DrawGraphQuadIntD3D(RoundToInt(x1), RoundToInt(y1), RoundToInt(x2), RoundToInt(y2), RoundToInt(x3),
                               RoundToInt(y3), RoundToInt(x4), RoundToInt(y4), graph, transparent);
  }
  PrepareImageDraw(draw, transparent ? kPrepareTransparent : 0);
  const float xs[4] = {x1, x2, x3, x4};
  const float ys[4] = {y1, y2, y3, y4};
  DrawPiecesOnQuad(draw, graph, xs, ys, DrawSingleTextureQuad);
  return 0;
}

int DrawGraphQuadIntD3D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, GraphRecord* graph,
                        int transparent) {
  ImageDraw draw{};
  if (const int checked = CheckImageDraw(graph, &draw); checked != 1) return checked;
  if (x1 == x3 && x2 == x4 && y1 == y2 && y3 == y4) {
    return DrawGraphStretchedD3D(x1, y1, x4, y4, graph, transparent, 1);
  }
  const float xs[4] = {static_cast<float>(x1), static_cast<float>(x2), static_cast<float>(x3), static_cast<float>(x4)};
  const float ys[4] = {static_cast<float>(y1), static_cast<float>(y2), static_cast<float>(y3), static_cast<float>(y4)};
  if (DrawState.blendGraph == -1) {
    return DrawGraphQuadD3D(xs[0], ys[0], xs[1], ys[1], xs[2], ys[2], xs[3], ys[3], graph, transparent);
  }
  // With a blend graph every piece is one rectangle of the batch's vertex kind, which
  // carries the blend graph's coordinates as well.
  PrepareImageDraw(draw, (transparent ? kPrepareTransparent : 0) | kPrepareKeepGraphAlpha);
  DrawPiecesOnQuad(draw, graph, xs, ys,
                   [](D3DDeviceRecord* device, const ImageCorner corners[4]) { WriteImageRectangle(device, corners); });
  return 0;
}
