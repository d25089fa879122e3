#include "graphics/draw_state.h"

#include <algorithm>

#include "core/log.h"
#include "core/main_window.h"
#include "graphics/blend_tables.h"
#include "graphics/draw_target_transforms.h"
#include "graphics/graph_records.h"
#include "graphics/graph_system.h"
#include "graphics/device_services.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_2d.h"

DrawStateRecord DrawState;

namespace {

constexpr int kLastDeviceBlendMode = 8;

int Clamp255(int value) { return std::clamp(value, 0, 255); }

void WaitUnlessActive() {
  if (!IsAppActive()) WaitWhileInactive();
}

void StoreClip(const RECT& clip) {
  DrawState.clip = clip;
  DrawState.clipFloat[0] = static_cast<float>(clip.left);
  DrawState.clipFloat[1] = static_cast<float>(clip.top);
  DrawState.clipFloat[2] = static_cast<float>(clip.right);
  DrawState.clipFloat[3] = static_cast<float>(clip.bottom);
}

}  // namespace

SoftDrawState MakeSoftDrawState() {
  return SoftDrawState{DrawState.clip, DrawState.blendMode, DrawState.blendParam, DrawState.tint,
                       RenderModeFlags.mmxUsable};
}

int SetBlendModeBody(int mode, int parameter) {
  // The device's blend table has rows 0..8 only.
  if (mode < 0 || mode > kLastDeviceBlendMode) return -1;
  if (mode == DrawState.blendMode && parameter == DrawState.blendParam) return 0;
  WaitUnlessActive();
  DrawState.blendMode = mode;
  DrawState.blendParam = Clamp255(parameter);
  RefreshDrawDiffuse();
  return 0;
}

int SetDrawTint(int r, int g, int b) {
  const std::uint32_t tint = (static_cast<std::uint32_t>(Clamp255(r)) << 16) |
                             (static_cast<std::uint32_t>(Clamp255(g)) << 8) | static_cast<std::uint32_t>(Clamp255(b));
  if (tint == DrawState.tint) return 0;
  DrawState.tint = tint;
  if (Is3DPathUsable()) RefreshDrawDiffuse();
  return 0;
}

int SetDrawTintPacked(std::uint32_t rgb) {
  rgb &= 0xFFFFFFu;
  if (rgb == DrawState.tint) return 0;
  DrawState.tint = rgb;
  RefreshDrawDiffuse();
  return 0;
}

int SetBlendGraph(int graph, int borderParameter, int borderWidth) {
  if (graph == DrawState.blendGraph && borderParameter == DrawState.blendGraphBorderParam &&
      borderWidth == DrawState.blendGraphBorderWidth) {
    return 0;
  }
  const GraphRecord* record = graph == -1 ? nullptr : GetGraphRecord(graph);
  if (graph != -1 && record == nullptr) return -1;
  DrawState.blendGraph = graph;
  WaitWhileInactive();
  DrawState.blendGraphBorderParam = Clamp255(borderParameter);
  DrawState.blendGraphBorderWidth = Clamp255(borderWidth);
  if (Is3DPathUsable()) {
    SetBlendGraphD3D(record, DrawState.blendGraphBorderParam, DrawState.blendGraphBorderWidth);
  }
  MakeBlendRampTable(record, DrawState.blendGraphBorderParam, DrawState.blendGraphBorderWidth);
  return 0;
}

int SetDrawFilterMode(int mode) {
  if (mode == DrawState.filterMode) return 0;
  DrawState.filterMode = mode;
  if (Is3DPathUsable()) SetD3DFilterMode(mode);
  return 0;
}

int SetClipRectBody(int x1, int y1, int x2, int y2) {
  WaitUnlessActive();
  int lowX = 0;
  int lowY = 0;
  int boundX = 0;
  int boundY = 0;
  const char* boundName = "Image Buffer";
  if (DrawState.target == kDrawTargetFront || DrawState.target == kDrawTargetBack) {
    GetScreenModeSizeBody(&boundX, &boundY);
    boundName = DrawState.target == kDrawTargetFront ? "Front Buffer" : "Back Buffer";
    if (DrawState.target == kDrawTargetFront && IsWindowed()) {
      // Only the part of the window that lies on the desktop can be drawn.
      int client[4];
      GetClientAreaSize(client);
      int desktopWidth = 0;
      int desktopHeight = 0;
      GetDesktopMode(&desktopWidth, &desktopHeight, nullptr);
      if (client[0] < 0) lowX = -client[0];
      if (client[1] < 0) lowY = -client[1];
      if (client[0] + boundX >= desktopWidth) boundX = desktopWidth - client[0];
      if (client[1] + boundY >= desktopHeight) boundY = desktopHeight - client[1];
    }
  } else {
    const GraphRecord* graph = GetGraphRecord(DrawState.target);
    if (graph == nullptr) return 0;
    boundX = graph->width;
    boundY = graph->height;
  }
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  boundX = std::max(boundX, lowX);
  boundY = std::max(boundY, lowY);
  const RECT clip{std::clamp(x1, lowX, boundX), std::clamp(y1, lowY, boundY), std::clamp(x2, lowX, boundX),
                  std::clamp(y2, lowY, boundY)};
  StoreClip(clip);
  if (clip.left == clip.right || clip.top == clip.bottom) {
    DrawState.clipEmpty = 1;
    return 0;
  }
  DrawState.clipEmpty = 0;
  if (Is3DPathUsable() && SetD3DDrawArea(&clip) != 0) LogPrintf("ビューポートの設定に失敗しました %s", boundName);
  return 0;
}

int SetDrawTargetBody(int target) {
  if (!IsGraphSystemUp()) return -1;
  // A graph target must be a live graph: its size becomes the clip's bounds.
  if (target != kDrawTargetFront && target != kDrawTargetBack && GetGraphRecord(target) == nullptr) return -1;
  WaitUnlessActive();
  const int previous = DrawState.target;
  DrawState.target = target;

  DrawState.drawingOrigin = RECT{0, 0, 0, 0};
  if (target == kDrawTargetFront && IsWindowed() && (!IsSoftwareRenderMode() || ScreenMode.bits == 8)) {
    int client[4];
    GetClientAreaSize(client);
    DrawState.drawingOrigin = RECT{client[0], client[1], client[2], client[3]};
  }

  const int deviceFailed = Is3DPathUsable() ? SetDrawTargetD3DGraph(target) : 1;
  const int surfacesFailed = SelectDrawTargetSurfaces(target);
  // Without a device the 2-D selection alone decides.
  if (surfacesFailed != 0 && deviceFailed != 0) {
    SetDrawTargetBody(previous);
    return -1;
  }

  int width = 0;
  int height = 0;
  QueryGraphSize(target, &width, &height);
  if (width == DrawState.targetWidth && height == DrawState.targetHeight) {
    const RECT clip = DrawState.clip;
    SetClipRectBody(clip.left, clip.top, clip.right, clip.bottom);
  } else {
    DrawState.targetWidth = width;
    DrawState.targetHeight = height;
    SetClipRectBody(0, 0, width, height);
  }
  SetUpDrawTargetTransforms(width, height);
  return 0;
}

int SetTransparentColorBody(int r, int g, int b) {
  if (GetRequestedColorBitDepth() == 8) return 0;
  DrawState.transparentColor = (static_cast<std::uint32_t>(r & 0xFF) << 16) |
                               (static_cast<std::uint32_t>(g & 0xFF) << 8) | static_cast<std::uint32_t>(b & 0xFF);
  return 0;
}

int SetUse3DGraphs(int flag) {
  DrawState.use3DGraphs = flag;
  if (GetDirectDrawObject() == nullptr) SetSystemMemorySurfaceFlag(!flag);
  return 0;
}

int SetDrawValidGraphCreateFlag(int flag) {
  DrawState.drawValid = flag;
  return 0;
}

int SetGraphAlphaMode(int value) {
  DrawState.alphaSetting2D = IsDirectDrawInUse() ? 1 : (value != 1);
  return 0;
}

int SetGraphAlphaModeRaw(int value) {
  DrawState.alphaSetting2D = IsDirectDrawInUse() ? 1 : value;
  return 0;
}

int SetDitherModeBody(int mode) {
  DrawState.ditherMode = mode;
  return 0;
}

int SetDefaultDrawArea(const RECT* area) {
  DrawState.drawingOrigin = *area;
  return 0;
}

int GetDrawTarget() { return DrawState.target; }

int GetClipRect(RECT* out) {
  *out = DrawState.clip;
  return 0;
}

int GetDrawFilterMode() { return DrawState.filterMode; }
int GetDitherMode() { return DrawState.ditherMode; }

int QueryScreenMode(int* width, int* height, int* bits) {
  GetScreenModeSizeBody(width, height);
  if (bits != nullptr) *bits = GetRequestedColorBitDepth();
  return 0;
}

int NormalizeRect(RECT* r) {
  if (r->left > r->right) std::swap(r->left, r->right);
  if (r->top > r->bottom) std::swap(r->top, r->bottom);
  return 0;
}

int GetRectSize(const RECT* r, int* width, int* height) {
  if (width != nullptr) *width = r->right - r->left;
  if (height != nullptr) *height = r->bottom - r->top;
  return 0;
}

int ClearDrawTargetBody() {
  WaitWhileInactive();
  if (Is3DPathUsable()) {
    EndDeviceScene();
    ClearTextureTargetD3D();
  }
  const int result = ClearScreenAll();
  if (IsMemImgScreenMode() && DrawState.target == kDrawTargetFront) {
    int width = 0;
    int height = 0;
    GetScreenModeSizeBody(&width, &height);
    const RECT whole{0, 0, width, height};
    PresentRectToWindow(&whole);
  }
  return result;
}

int EnableMaskScreen(int) { return -1; }
MEMIMG* GetMaskMemImg() { return nullptr; }
