#include "graphics/graphics_warm_up.h"

#include "graphics/d3d_device.h"
#include "graphics/draw_entry_points.h"
#include "graphics/draw_state.h"
#include "graphics/graph_image.h"
#include "graphics/graph_loading.h"
#include "graphics/graph_records.h"

namespace {

constexpr int kSide = 256;

// A black 256 x 256 graph and the picture it was made from. -1 when it cannot be made.
int MakeBlackGraph(GraphImage* image) {
  if (CreateRgb24GraphImage(kSide, kSide, image) != 0) return -1;
  FillGraphImageColor(image, 0, 0, 0, 0);
  return MakeGraphFromGraphImage(image);
}

}  // namespace

int WarmUpDrawingPaths() {
  SetDrawValidGraphCreateFlag(1);
  const int canvas = CreateBlankGraphDefault(kSide, kSide);
  SetDrawValidGraphCreateFlag(0);
  if (canvas >= 0) {
    SetDrawTargetBody(canvas);
    SetDrawTargetBody(kDrawTargetFront);
    FreeGraphBody(canvas, 0);
  }
  SetDrawTargetBody(kDrawTargetBack);

  GraphImage image{};
  int black = MakeBlackGraph(&image);
  FreeGraphImage(&image);
  if (black >= 0) {
    SetBlendModeBody(3, 128);
    DrawGraphAtBody(0, 0, black, 1);
    SetBlendModeBody(0, 0);
    SetDrawTargetBody(kDrawTargetFront);
    DrawGraphAtBody(0, 0, black, 1);
    FreeGraphBody(black, 0);
  }
  black = MakeBlackGraph(&image);
  if (black >= 0) {
    DrawGraphStretched(0, 0, 640, 480, black, 1);
    FreeGraphBody(black, 0);
  }
  FreeGraphImage(&image);
  // The device's pending drawing reaches the screen now, not at some later call.
  EndDeviceScene();
  return 0;
}
