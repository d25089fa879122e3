#include "graphics/hardware_vertices.h"

#include "graphics/draw_state.h"
#include "graphics/graph_records.h"
#include "graphics/render_states.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_3d_data.h"
#include "graphics/surface_data.h"

namespace {

constexpr int kRectangleOrder[2][6] = {{kTopLeft, kTopRight, kBottomLeft, kBottomRight, kBottomLeft, kTopRight},
                                       {kTopLeft, kBottomLeft, kTopRight, kBottomRight, kTopRight, kBottomLeft}};

void SetTextureCoordinates(TextureVertex* vertex, const ImageCorner& corner) {
  vertex->u = corner.u;
  vertex->v = corner.v;
}

void SetTextureCoordinates(BlendTextureVertex* vertex, const ImageCorner& corner) {
  vertex->u1 = corner.blendU;
  vertex->v1 = corner.blendV;
  vertex->u2 = corner.u;
  vertex->v2 = corner.v;
}

// Flat shading takes a triangle's colour from its first vertex: only those get the
// diffuse; the batch was filled with z 0, rhw 1 and a white specular when it was made.
template <typename Vertex>
void WriteRectangleVertices(const ImageCorner corners[4], const int order[6], std::uint32_t diffuse) {
  auto* vertex = static_cast<Vertex*>(ReserveBatchVertices(D3DPT_TRIANGLELIST, 6));
  if (vertex == nullptr) return;
  for (int i = 0; i < 6; ++i, ++vertex) {
    const ImageCorner& corner = corners[order[i]];
    vertex->x = corner.x;
    vertex->y = corner.y;
    vertex->z = DrawState.vertexDepth;
    if (i % 3 == 0) vertex->diffuse = diffuse;
    SetTextureCoordinates(vertex, corner);
  }
}

std::uint32_t ScaleChannel(std::uint32_t diffuse, int shift, int channel) {
  return ((diffuse >> shift & 0xFFu) * static_cast<std::uint32_t>(channel) / 255u) << shift;
}

}  // namespace

int CheckImageDraw(GraphRecord* graph, ImageDraw* draw) {
  draw->device = GetCurrentD3DDeviceRecord();
  if (draw->device == nullptr || graph == nullptr) return -1;
  draw->firstPiece = GraphPiece(graph, 0);
  if (draw->firstPiece == nullptr) return -1;
  return IsTargetOffD3D() ? 0 : 1;
}

void PrepareImageDraw(const ImageDraw& draw, int flags) {
  BeginDeviceScene();
  PrepareDrawD3D(draw.firstPiece, flags | (DrawState.depthTest ? kPrepareUseZ : 0));
}

const Surface3DData* GraphPiece(const GraphRecord* graph, int index) {
  if (index >= graph->pieceCount) return nullptr;
  return GetSurface3DData(graph->pieces[index]);
}

void BindPieceTexture(D3DDeviceRecord* device, const Surface3DData* piece) {
  IDirectDrawSurface7* texture = GetSurface3DTexture(piece);
  if (texture != device->texture) SetDeviceTexture(device, texture);
  if (device->blendSettingsChanged || device->textureChanged) ApplyBlendStatesD3D(device);
}

void PieceTextureSize(const Surface3DData* piece, float* width, float* height) {
  const SurfaceData* data = GetSurfaceDataRecord(piece->surfaceData);
  *width = data != nullptr && data->width > 0 ? static_cast<float>(data->width) : 1.0f;
  *height = data != nullptr && data->height > 0 ? static_cast<float>(data->height) : 1.0f;
}

void PieceCorners(const Surface3DData* piece, ImageCorner corners[4]) {
  const BlendGraphTextureSize* blend = GetBlendGraphTextureSize();
  const float blendU = blend != nullptr ? blend->inverseWidth : 0.0f;
  const float blendV = blend != nullptr ? blend->inverseHeight : 0.0f;
  for (int i = 0; i < 4; ++i) {
    const TextureVertex& vertex = piece->vertices[i];
    corners[i] = ImageCorner{vertex.x, vertex.y, vertex.u, vertex.v, vertex.x * blendU, vertex.y * blendV};
  }
}

void WriteImageRectangle(D3DDeviceRecord* device, const ImageCorner corners[4], bool reversed) {
  const int* order = kRectangleOrder[reversed ? 1 : 0];
  if (device->vertexKind == kVertexKindBlendTexture) {
    WriteRectangleVertices<BlendTextureVertex>(corners, order, GetDrawDiffuse());
  } else {
    WriteRectangleVertices<TextureVertex>(corners, order, GetDrawDiffuse());
  }
}

std::uint32_t ColourDiffuse(std::uint32_t screenColour) {
  int r = 0;
  int g = 0;
  int b = 0;
  SplitScreenColor(screenColour, &r, &g, &b);
  const std::uint32_t diffuse = GetDrawDiffuse();
  return (diffuse & 0xFF000000u) | ScaleChannel(diffuse, 16, r) | ScaleChannel(diffuse, 8, g) |
         ScaleChannel(diffuse, 0, b);
}

void WriteColourRectangle(const float x[2], const float y[2], std::uint32_t diffuse) {
  const ImageCorner corners[4] = {{x[0], y[0], 0, 0, 0, 0}, {x[1], y[0], 0, 0, 0, 0},
                                  {x[0], y[1], 0, 0, 0, 0}, {x[1], y[1], 0, 0, 0, 0}};
  auto* vertex = static_cast<ColourVertex*>(ReserveBatchVertices(D3DPT_TRIANGLELIST, 6));
  if (vertex == nullptr) return;
  for (int i = 0; i < 6; ++i, ++vertex) {
    const ImageCorner& corner = corners[kRectangleOrder[0][i]];
    vertex->x = corner.x;
    vertex->y = corner.y;
    vertex->z = DrawState.vertexDepth;
    if (i % 3 == 0) vertex->diffuse = diffuse;
  }
}

void WriteColourLines(const float (*ends)[2], int count, std::uint32_t diffuse) {
  auto* vertex = static_cast<ColourVertex*>(ReserveBatchVertices(D3DPT_LINELIST, count));
  if (vertex == nullptr) return;
  for (int i = 0; i < count; ++i, ++vertex) {
    vertex->x = ends[i][0];
    vertex->y = ends[i][1];
    vertex->z = DrawState.vertexDepth;
    vertex->diffuse = diffuse;
  }
}

void EndSceneOnFrontTarget() {
  if (IsFrontTargetD3D()) EndDeviceScene();
}
