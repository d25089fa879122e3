// Images at a position and stretched into a rectangle: upright rectangles, so a draw
// that reaches over the clip rectangle is cut to it here, each cut corner taking its
// texture coordinates along so that the pixels that stay keep their place.
#include <algorithm>
#include <cstdint>

#include "graphics/draw_state.h"
#include "graphics/graph_records.h"
#include "graphics/hardware_draw.h"
#include "graphics/hardware_vertices.h"
#include "graphics/render_states.h"
#include "graphics/surface_3d_data.h"

namespace {

enum class ClipOverlap { Inside, Outside, Partly };

// Where the graph's box (right and bottom exclusive) lies against the clip rectangle.
ClipOverlap OverlapWithClip(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
  const RECT& clip = DrawState.clip;
  if (right <= clip.left || left >= clip.right || bottom <= clip.top || top >= clip.bottom) {
    return ClipOverlap::Outside;
  }
  if (left >= clip.left && right <= clip.right && top >= clip.top && bottom <= clip.bottom) {
    return ClipOverlap::Inside;
  }
  return ClipOverlap::Partly;
}

// Moves a corner into the clip rectangle; its texture coordinates move by the distance
// over the texels per screen pixel of the draw.
void ClampCorner(ImageCorner* corner, float uPerX, float vPerY, float blendUPerX, float blendVPerY) {
  const float left = DrawState.clipFloat[0] + static_cast<float>(DrawState.drawingOrigin.left);
  const float top = DrawState.clipFloat[1] + static_cast<float>(DrawState.drawingOrigin.top);
  const float right = DrawState.clipFloat[2] + static_cast<float>(DrawState.drawingOrigin.left);
  const float bottom = DrawState.clipFloat[3] + static_cast<float>(DrawState.drawingOrigin.top);
  const float dx = std::clamp(corner->x, left, right) - corner->x;
  const float dy = std::clamp(corner->y, top, bottom) - corner->y;
  corner->x += dx;
  corner->y += dy;
  corner->u += dx * uPerX;
  corner->v += dy * vPerY;
  corner->blendU += dx * blendUPerX;
  corner->blendV += dy * blendVPerY;
}

// The graph with its (0, 0) at (x, y) of the target, each graph pixel scaleX by scaleY
// screen pixels; a graph partly inside the clip rectangle is cut to it.
int DrawUprightPieces(const ImageDraw& draw, const GraphRecord* graph, float x, float y, float scaleX, float scaleY,
                      ClipOverlap overlap) {
  const float left = x - 0.5f + static_cast<float>(DrawState.drawingOrigin.left);
  const float top = y - 0.5f + static_cast<float>(DrawState.drawingOrigin.top);
  const BlendGraphTextureSize* blend = GetBlendGraphTextureSize();
  const float blendUPerX = blend != nullptr ? blend->inverseWidth / scaleX : 0.0f;
  const float blendVPerY = blend != nullptr ? blend->inverseHeight / scaleY : 0.0f;
  ForEachPiece(draw, graph, [&](const Surface3DData* piece, ImageCorner corners[4]) {
    float uPerX = 0.0f;
    float vPerY = 0.0f;
    if (overlap == ClipOverlap::Partly) {
      float textureWidth = 1.0f;
      float textureHeight = 1.0f;
      PieceTextureSize(piece, &textureWidth, &textureHeight);
      uPerX = 1.0f / (textureWidth * scaleX);
      vPerY = 1.0f / (textureHeight * scaleY);
    }
    for (int i = 0; i < 4; ++i) {
      corners[i].x = left + corners[i].x * scaleX;
      corners[i].y = top + corners[i].y * scaleY;
      if (overlap == ClipOverlap::Partly) ClampCorner(&corners[i], uPerX, vPerY, blendUPerX, blendVPerY);
    }
    WriteImageRectangle(draw.device, corners);
  });
  return 0;
}

}  // namespace

int DrawGraphAtD3D(int x, int y, GraphRecord* graph, int transparent, int integerCoordinates) {
  ImageDraw draw{};
  if (const int checked = CheckImageDraw(graph, &draw); checked != 1) return checked;
  const ClipOverlap overlap =
      OverlapWithClip(x, y, std::int64_t{x} + graph->width, std::int64_t{y} + graph->height);
  if (overlap == ClipOverlap::Outside) return 0;
  PrepareImageDraw(draw, (transparent ? kPrepareTransparent : 0) | (integerCoordinates ? kPrepareKeepGraphAlpha : 0));
  return DrawUprightPieces(draw, graph, static_cast<float>(x), static_cast<float>(y), 1.0f, 1.0f, overlap);
}

int DrawGraphStretchedD3D(int x1, int y1, int x2, int y2, GraphRecord* graph, int transparent,
                          int integerCoordinates) {
  ImageDraw draw{};
  if (const int checked = CheckImageDraw(graph, &draw); checked != 1) return checked;
  if (x1 == x2 || y1 == y2) return -1;
  const ClipOverlap overlap = OverlapWithClip(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
  if (overlap == ClipOverlap::Outside) return 0;
  const bool keepAlpha = integerCoordinates && DrawState.filterMode != 1;
  PrepareImageDraw(draw, (transparent ? kPrepareTransparent : 0) | (keepAlpha ? kPrepareKeepGraphAlpha : 0));
  const float scaleX = static_cast<float>(static_cast<double>(x2) - x1) / static_cast<float>(graph->width);
  const float scaleY = static_cast<float>(static_cast<double>(y2) - y1) / static_cast<float>(graph->height);
  return DrawUprightPieces(draw, graph, static_cast<float>(x1), static_cast<float>(y1), scaleX, scaleY, overlap);
}
