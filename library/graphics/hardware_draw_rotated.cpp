// Images scaled and turned about their centre.
#include <cmath>

#include "graphics/draw_state.h"
#include "graphics/graph_records.h"
#include "graphics/hardware_draw.h"
#include "graphics/hardware_vertices.h"
#include "graphics/render_states.h"
#include "graphics/surface_3d_data.h"

namespace {

// The point of the graph that lands on the given position, with the shift the corners
// then take. At scale 1 a dimension of even length puts its centre between two pixels
// and takes the half-pixel shift of every image; an odd one has a centre pixel, whose
// middle already lies on a pixel centre. At other scales both take the shift.
struct RotationCentre {
  float x, y;
  float shiftX, shiftY;
};

RotationCentre CentreOf(const GraphRecord* graph, double scale) {
  const float halfWidth = static_cast<float>(graph->width) * 0.5f;
  const float halfHeight = static_cast<float>(graph->height) * 0.5f;
  if (scale != 1.0) return RotationCentre{halfWidth, halfHeight, -0.5f, -0.5f};
  return RotationCentre{halfWidth, halfHeight, graph->width % 2 == 0 ? -0.5f : 0.0f,
                        graph->height % 2 == 0 ? -0.5f : 0.0f};
}

}  // namespace

int DrawGraphRotatedD3D(float x, float y, double scale, double angle, GraphRecord* graph, int transparent,
                        int mirror) {
  ImageDraw draw{};
  if (const int checked = CheckImageDraw(graph, &draw); checked != 1) return checked;
  if (scale == 0.0 || !std::isfinite(scale) || !std::isfinite(angle)) return -1;
  PrepareImageDraw(draw, transparent ? kPrepareTransparent : 0);

  float sine = 0.0f;
  float cosine = 1.0f;
  if (angle != 0.0) {
    sine = static_cast<float>(std::sin(angle));
    cosine = static_cast<float>(std::cos(angle));
  }
  const float scaleY = static_cast<float>(scale);
  const float scaleX = mirror ? -scaleY : scaleY;
  const RotationCentre centre = CentreOf(graph, scale);
  const float originX = x + centre.shiftX + static_cast<float>(DrawState.drawingOrigin.left);
  const float originY = y + centre.shiftY + static_cast<float>(DrawState.drawingOrigin.top);

  ForEachPiece(draw, graph, [&](const Surface3DData*, ImageCorner corners[4]) {
    for (int i = 0; i < 4; ++i) {
      const float dx = (corners[i].x - centre.x) * scaleX;
      const float dy = (corners[i].y - centre.y) * scaleY;
      corners[i].x = originX + dx * cosine - dy * sine;
      corners[i].y = originY + dx * sine + dy * cosine;
    }
    WriteImageRectangle(draw.device, corners);
  });
  return 0;
}
