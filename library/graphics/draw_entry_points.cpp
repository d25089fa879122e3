#include "graphics/draw_entry_points.h"

#include <algorithm>
#include <cmath>

#include "core/main_window.h"
#include "float_to_int.h"
#include "core/log.h"
#include "graphics/draw_state.h"
#include "graphics/font_record.h"
#include "graphics/fonts.h"
#include "graphics/graph_records.h"
#include "graphics/graph_system.h"
#include "graphics/hardware_draw.h"
#include "graphics/movies.h"
#include "graphics/device_services.h"
#include "graphics/screen_mode.h"
#include "graphics/software_draw_setups.h"
#include "graphics/surface_2d.h"
#include "graphics/text_hardware.h"
#include "softrender/clip_rect.h"

namespace {

constexpr int kBlendSubtract = 3;
constexpr int kBlendSubtractPass = 5;

// Software drawing into the front screen shows each touched rectangle at once.
bool ShowsTouchedRect() { return IsMemImgScreenMode() && DrawState.target == kDrawTargetFront; }

// The frame every draw shares around its back-end call: the in-memory front screen
// brought up to date, the subtract bracket of the hardware path, and the touched
// rectangle shown in software-render mode.
template <typename Touched, typename Draw>
int RunDraw(bool hardware, Touched touched, Draw draw) {
  // Drawn by the software routines, a target the device cannot draw into subtracts
  // directly.
  const bool bracket = hardware && DrawState.blendMode == kBlendSubtract && !IsTargetOffD3D();
  const bool show = ShowsTouchedRect();
  RECT rect{0, 0, 0, 0};
  if (bracket || show) rect = touched();
  if (show && PrimaryTwinStale) PrepareDrawTargetMemImg();
  if (bracket) BeginSubtractPassD3D(&rect);
  const int result = draw(hardware);
  if (bracket) EndSubtractPassD3D(&rect);
  if (show) PresentRectToWindow(&rect);
  return result;
}

// The checks of every graph draw; the record, or nullptr with *result set.
GraphRecord* CheckGraphDraw(int graph, bool movieMustBeLive, int* result) {
  *result = 0;
  if (DrawState.clipEmpty) return nullptr;
  GraphRecord* record = GetGraphRecord(graph);
  *result = -1;
  if (record == nullptr) return nullptr;
  if (DrawState.blendGraph != -1 && CheckBlendGraphSize(record) != 0) return nullptr;
  WaitWhileInactive();
  if (record->movie != -1 && (movieMustBeLive ? IsMovieHandleLive(record->movie) != 0 : record->movie >= 0)) {
    RefreshGraphMovieFrame(graph, 0);
  }
  *result = 0;
  return record;
}

bool PrimitivesUseDevice() {
  return DrawState.use3DGraphs && Is3DPathUsable() && !IsSoftwareRenderMode();
}

RECT Sorted(int x1, int y1, int x2, int y2) {
  return RECT{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

template <typename Draw>
int RunPrimitiveDraw(const RECT& touched, Draw draw) {
  if (DrawState.clipEmpty) return 0;
  WaitWhileInactive();
  return RunDraw(PrimitivesUseDevice(), [&] { return touched; }, draw);
}

void StoreClipRect(const RECT& clip) {
  DrawState.clip = clip;
  DrawState.clipFloat[0] = static_cast<float>(clip.left);
  DrawState.clipFloat[1] = static_cast<float>(clip.top);
  DrawState.clipFloat[2] = static_cast<float>(clip.right);
  DrawState.clipFloat[3] = static_cast<float>(clip.bottom);
}

// Draws with the clip narrowed to `area` (inside the current clip), then restores it.
template <typename Draw>
int WithNarrowedClip(const RECT& area, Draw draw) {
  const RECT kept = DrawState.clip;
  float keptFloat[4];
  std::copy(DrawState.clipFloat, DrawState.clipFloat + 4, keptFloat);
  RECT narrowed = area;
  ClipRectangleBody(&narrowed, &kept);
  StoreClipRect(narrowed);
  const int result = draw();
  DrawState.clip = kept;
  std::copy(keptFloat, keptFloat + 4, DrawState.clipFloat);
  return result;
}

// One pass of the hardware subtract bracket: inverts the destination inside r with a
// white box in mode 3 at full strength, then sets the blend mode of the next step.
void SubtractPass(const RECT* r, int nextMode) {
  const std::uint32_t white = MakeScreenColorBody(255, 255, 255);
  const std::uint32_t keptTint = DrawState.tint;
  const int keptParam = DrawState.blendParam;
  if (keptTint != 0xFFFFFF) {
    DrawState.tint = 0xFFFFFF;
    RefreshDrawDiffuse();
  }
  if (DrawState.blendMode != kBlendSubtract || DrawState.blendParam != 255) {
    if (!IsAppActive()) WaitWhileInactive();
    DrawState.blendMode = kBlendSubtract;
    DrawState.blendParam = 255;
    RefreshDrawDiffuse();
  }
  DrawRectFilledD3D(r->left, r->top, r->right, r->bottom, white);
  if (DrawState.tint != keptTint) {
    DrawState.tint = keptTint;
    RefreshDrawDiffuse();
  }
  SetBlendModeBody(nextMode, keptParam);
}

}  // namespace

void BeginSubtractPassD3D(const RECT* r) { SubtractPass(r, kBlendSubtractPass); }
void EndSubtractPassD3D(const RECT* r) { SubtractPass(r, kBlendSubtract); }

int DrawGraphAtBody(int x, int y, int graph, int transparent) {
  int result = 0;
  GraphRecord* record = CheckGraphDraw(graph, true, &result);
  if (record == nullptr) return result;
  return RunDraw(
      record->flags.texture != 0, [&] { return RECT{x, y, x + record->width, y + record->height}; },
      [&](bool hardware) {
        return hardware ? DrawGraphAtD3D(x, y, record, transparent, 1) : DrawGraphAtSoftware(x, y, record, transparent);
      });
}

int DrawGraphStretched(int x1, int y1, int x2, int y2, int graph, int transparent) {
  int result = 0;
  GraphRecord* record = CheckGraphDraw(graph, true, &result);
  if (record == nullptr) return result;
  return RunDraw(
      record->flags.texture != 0, [&] { return Sorted(x1, y1, x2, y2); },
      [&](bool hardware) {
        return hardware ? DrawGraphStretchedD3D(x1, y1, x2, y2, record, transparent, 1)
                        : DrawGraphStretchedSoftware(x1, y1, x2, y2, record, transparent, -1);
      });
}

int DrawGraphMirroredBody(int x, int y, int graph, int transparent) {
  const GraphRecord* record = GetGraphRecord(graph);
  if (record == nullptr) return -1;
  return DrawGraphStretched(x + record->width, y, x, y + record->height, graph, transparent);
}

int DrawGraphRotatedBody(int x, int y, double scale, double angle, int graph, int transparent, int mirror) {
  return DrawGraphRotatedF(static_cast<float>(x), static_cast<float>(y), scale, angle, graph, transparent, mirror);
}

int DrawGraphRotatedF(float x, float y, double scale, double angle, int graph, int transparent, int mirror) {
  int result = 0;
  GraphRecord* record = CheckGraphDraw(graph, false, &result);
  if (record == nullptr) return result;
  const auto touched = [&] {
    const double halfWidth = record->width * scale * 0.5;
    const double halfHeight = record->height * scale * 0.5;
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
    for (const double cx : {-halfWidth, halfWidth}) {
      for (const double cy : {-halfHeight, halfHeight}) {
        const double px = x + c * cx - s * cy;
        const double py = y + s * cx + c * cy;
        left = std::min(left, px);
        right = std::max(right, px);
        top = std::min(top, py);
        bottom = std::max(bottom, py);
      }
    }
    return RECT{DoubleToInt(left - 5.0), DoubleToInt(top - 5.0), DoubleToInt(right + 5.0), DoubleToInt(bottom + 5.0)};
  };
  return RunDraw(record->flags.texture != 0, touched, [&](bool hardware) {
    return hardware ? DrawGraphRotatedD3D(x, y, scale, angle, record, transparent, mirror)
                    : DrawGraphRotatedSoftware(x, y, scale, angle, record, transparent, mirror);
  });
}

int DrawGraphQuad(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, int graph,
                  int transparent) {
  int result = 0;
  GraphRecord* record = CheckGraphDraw(graph, false, &result);
  if (record == nullptr) return result;
  const auto touched = [&] {
    RECT box{0xFFFFFF, 0xFFFFFF, 0, 0};
    for (const auto& [fx, fy] : {std::pair{x1, y1}, std::pair{x2, y2}, std::pair{x3, y3}, std::pair{x4, y4}}) {
      const int px = FloatToInt(fx);
      const int py = FloatToInt(fy);
      box.left = std::min<LONG>(box.left, px);
      box.top = std::min<LONG>(box.top, py);
      box.right = std::max<LONG>(box.right, px);
      box.bottom = std::max<LONG>(box.bottom, py);
    }
    return box;
  };
  // The back-ends take the corners as top-left, top-right, bottom-left, bottom-right.
  return RunDraw(record->flags.texture != 0, touched, [&](bool hardware) {
    return hardware ? DrawGraphQuadD3D(x1, y1, x2, y2, x4, y4, x3, y3, record, transparent)
                    : DrawGraphQuadSoftware(x1, y1, x2, y2, x4, y4, x3, y3, record, transparent);
  });
}

int DrawGraphSubRect(int x, int y, int srcX, int srcY, int width, int height, int graph, int transparent,
                     int mirror) {
  return WithNarrowedClip(RECT{x, y, x + width, y + height}, [&] {
    if (!mirror) return DrawGraphAtBody(x - srcX, y - srcY, graph, transparent);
    const GraphRecord* record = GetGraphRecord(graph);
    if (record == nullptr) return -1;
    return DrawGraphMirroredBody(x - record->width + srcX + width, y - srcY, graph, transparent);
  });
}

int DrawGraphSubRectStretched(int x1, int y1, int x2, int y2, int srcX, int srcY, int srcWidth, int srcHeight,
                              int graph, int transparent) {
  const GraphRecord* record = GetGraphRecord(graph);
  if (record == nullptr) return -1;
  if (srcWidth <= 0 || srcHeight <= 0) return 0;
  const RECT area = Sorted(x1, y1, x2, y2);
  const bool mirrorX = x2 < x1;
  const bool mirrorY = y2 < y1;
  const double sx = static_cast<double>(area.right - area.left) / srcWidth;
  const double sy = static_cast<double>(area.bottom - area.top) / srcHeight;
  const int before = DoubleToInt(srcX * sx);
  const int after = DoubleToInt((record->width - srcX) * sx);
  const int above = DoubleToInt(srcY * sy);
  const int below = DoubleToInt((record->height - srcY) * sy);
  const int destX1 = mirrorX ? area.right + before : area.left - before;
  const int destX2 = mirrorX ? area.right - after : area.left + after;
  const int destY1 = mirrorY ? area.bottom + above : area.top - above;
  const int destY2 = mirrorY ? area.bottom - below : area.top + below;
  return WithNarrowedClip(area, [&] { return DrawGraphStretched(destX1, destY1, destX2, destY2, graph, transparent); });
}

int DrawLineSegmentBody(int x1, int y1, int x2, int y2, std::uint32_t colour) {
  const RECT touched{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1};
  return RunPrimitiveDraw(touched, [&](bool hardware) {
    return hardware ? DrawLineSegmentD3D(x1, y1, x2, y2, colour) : DrawLineSegmentSoftware(x1, y1, x2, y2, colour);
  });
}

int DrawRectBody(int x1, int y1, int x2, int y2, std::uint32_t colour, int fill) {
  return fill != 0 ? DrawRectFilled(x1, y1, x2, y2, colour) : DrawRectOutline(x1, y1, x2, y2, colour);
}

int DrawRectFilled(int x1, int y1, int x2, int y2, std::uint32_t colour) {
  return RunPrimitiveDraw(Sorted(x1, y1, x2, y2), [&](bool hardware) {
    return hardware ? DrawRectFilledD3D(x1, y1, x2, y2, colour) : DrawRectFilledSoftware(x1, y1, x2, y2, colour);
  });
}

int DrawRectOutline(int x1, int y1, int x2, int y2, std::uint32_t colour) {
  return RunPrimitiveDraw(Sorted(x1, y1, x2, y2), [&](bool hardware) {
    return hardware ? DrawRectOutlineD3D(x1, y1, x2, y2, colour) : DrawRectOutlineSoftware(x1, y1, x2, y2, colour);
  });
}

int DrawTextWithFont(int x, int y, const char* text, std::uint32_t colour, int font, std::uint32_t edgeColour,
                     int vertical) {
  if (text == nullptr || text[0] == '\0' || DrawState.clipEmpty) return 0;
  const int lineHeight = GetFontHeightByHandle(font);
  if (lineHeight < 0) return LogWrite("フォントハンドル値が異常です\n");
  // A font whose glyphs are not in textures is drawn by the software routine on every
  // path, so it subtracts directly, without the device's bracket.
  const bool hardware = DrawState.use3DGraphs && Is3DPathUsable() && GetFontRecord(font)->textureCache == 1;
  WaitWhileInactive();
  const RECT& clip = DrawState.clip;
  const bool touchedNeeded = (hardware && DrawState.blendMode == kBlendSubtract) || ShowsTouchedRect();
  if (touchedNeeded && x >= clip.right) return 0;
  // The line box to the clip's edge: rightward, or downward for vertical text.
  const auto touched = [&] {
    return vertical ? RECT{x, y, x + lineHeight + 3, clip.bottom} : RECT{x, y, clip.right, y + lineHeight + 3};
  };
  return RunDraw(hardware, touched, [&](bool useHardware) {
    return useHardware ? DrawTextHardware(x, y, text, colour, font, edgeColour, vertical)
                       : DrawTextSoftware(x, y, text, colour, font, edgeColour, vertical);
  });
}

int DrawTextAtBody(int x, int y, const char* text, std::uint32_t colour, std::uint32_t edgeColour) {
  EnsureDefaultFont();
  return DrawTextWithFont(x, y, text, colour, GetBuiltinFontHandle(), edgeColour, 0);
}
