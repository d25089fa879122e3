// Boxes, lines and outlines through the device. Their corners sit on pixel corners
// (no half-pixel shift): a box covers the pixels whose centres lie inside it, and a
// line lights every pixel it leaves, but not the one it ends in; the 0.1 shifts of the
// ends keep that last pixel out also where the end lies exactly on a pixel edge.
#include <algorithm>
#include <cstdint>

#include "graphics/draw_state.h"
#include "graphics/hardware_draw.h"
#include "graphics/hardware_vertices.h"
#include "graphics/render_states.h"
#include "graphics/software_draw_setups.h"
#include "softrender/clip_rect.h"

namespace {

// 1 when the device draws the primitive, else the routine's result: -1 without a
// device, or what the software routine returned while the device cannot draw into
// the target.
template <typename Software>
int CheckPrimitiveDraw(Software software) {
  if (GetCurrentD3DDeviceRecord() == nullptr) return -1;
  if (IsTargetOffD3D()) return software();
  return 1;
}

void PreparePrimitiveDraw() {
  BeginDeviceScene();
  PrepareDrawD3D(nullptr, DrawState.depthTest ? kPrepareUseZ : 0);
}

float OriginX(float x) { return x + static_cast<float>(DrawState.drawingOrigin.left); }
float OriginY(float y) { return y + static_cast<float>(DrawState.drawingOrigin.top); }

}  // namespace

int DrawRectFilledD3D(int x1, int y1, int x2, int y2, std::uint32_t colour) {
  const int checked = CheckPrimitiveDraw([&] { return DrawRectFilledSoftware(x1, y1, x2, y2, colour); });
  if (checked != 1) return checked;
  RECT box{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  ClipRectangleBody(&box, &DrawState.clip);
  if (box.left == box.right || box.top == box.bottom) return 0;
  PreparePrimitiveDraw();
  const float xs[2] = {OriginX(static_cast<float>(box.left)), OriginX(static_cast<float>(box.right))};
  const float ys[2] = {OriginY(static_cast<float>(box.top)), OriginY(static_cast<float>(box.bottom))};
  WriteColourRectangle(xs, ys, ColourDiffuse(colour));
  EndSceneOnFrontTarget();
  return 0;
}

int DrawLineSegmentD3D(int x1, int y1, int x2, int y2, std::uint32_t colour) {
  const int checked = CheckPrimitiveDraw([&] { return DrawLineSegmentSoftware(x1, y1, x2, y2, colour); });
  if (checked != 1) return checked;
  if (x1 == x2 && y1 == y2) return 0;
  PreparePrimitiveDraw();
  float ends[2][2] = {{OriginX(static_cast<float>(x1)), OriginY(static_cast<float>(y1))},
                      {OriginX(static_cast<float>(x2)), OriginY(static_cast<float>(y2))}};
  if (x1 == x2) ends[1][1] += y2 > y1 ? -0.1f : 0.1f;
  if (y1 == y2) ends[1][0] += x2 > x1 ? -0.1f : 0.1f;
  WriteColourLines(ends, 2, ColourDiffuse(colour));
  EndSceneOnFrontTarget();
  return 0;
}

int DrawRectOutlineD3D(int x1, int y1, int x2, int y2, std::uint32_t colour) {
  const int checked = CheckPrimitiveDraw([&] { return DrawRectOutlineSoftware(x1, y1, x2, y2, colour); });
  if (checked != 1) return checked;
  // Reversed corners draw the same outline.
  if (x1 == x2 || y1 == y2) return 0;
  PreparePrimitiveDraw();
  const float l = OriginX(static_cast<float>(std::min(x1, x2)));
  const float t = OriginY(static_cast<float>(std::min(y1, y2)));
  const float r = OriginX(static_cast<float>(std::max(x1, x2) - 1));
  const float b = OriginY(static_cast<float>(std::max(y1, y2) - 1));
  // Top, right, bottom and left edges; each border pixel is lit once.
  const float ends[8][2] = {{l, t}, {r - 0.1f, t},        {r, t}, {r, b - 0.1f},
                            {l, b}, {r + 0.9f, b}, {l, t + 1.0f}, {l, b - 0.1f}};
  WriteColourLines(ends, 8, ColourDiffuse(colour));
  EndSceneOnFrontTarget();
  return 0;
}
