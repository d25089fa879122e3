// The device's render target and viewport follow the draw target and clip rectangle.
#include "graphics/d3d_device.h"
#include "graphics/draw_state.h"
#include "graphics/graph_records.h"
#include "graphics/render_states.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_2d.h"
#include "graphics/surface_3d_data.h"
#include "graphics/surface_data.h"

namespace {

// The surface a graph target is drawn into, or NULL when the device cannot render to it.
IDirectDrawSurface7* GraphTargetSurface(const GraphRecord* graph) {
  if (graph->pieceCount != 1) return nullptr;
  if (graph->flags.texture) {
    if (!graph->flags.drawValid) return nullptr;
    return GetSurface3DTexture(GetSurface3DData(graph->pieces[0]));
  }
  const Surface2D* piece = GetSurface2DRecord(graph->pieces[0]);
  const SurfaceData* data = piece != nullptr ? GetSurfaceDataRecord(piece->surfaceData) : nullptr;
  if (data == nullptr || data->flags.alphaMode2D) return nullptr;
  return data->surface;
}

}  // namespace

int SetD3DDrawArea(const RECT* clip) {
  if (GetCurrentD3DDeviceRecord() == nullptr) return -1;
  if (IsTargetOffD3D()) return 0;
  const LONG width = clip->right - clip->left;
  const LONG height = clip->bottom - clip->top;
  if (width <= 0 || height <= 0) return -1;
  const D3DVIEWPORT7 viewport{static_cast<DWORD>(clip->left + DrawState.drawingOrigin.left),
                              static_cast<DWORD>(clip->top + DrawState.drawingOrigin.top), static_cast<DWORD>(width),
                              static_cast<DWORD>(height), 0.0f, 1.0f};
  return SetDeviceViewport(GetCurrentD3DDeviceId(), viewport);
}

int SetDrawTargetD3DGraph(int target) {
  D3DDeviceRecord* device = GetCurrentD3DDeviceRecord();
  if (device == nullptr || device->device == nullptr) return -1;
  EndDeviceScene();
  SetD3DRenderTarget(device, nullptr);
  SetDeviceTexture(device, nullptr);
  if (device->stages[0].texture != nullptr) {
    device->device->SetTexture(0, nullptr);
    device->stages[0].texture = nullptr;
  }
  IDirectDrawSurface7* surface = nullptr;
  if (target == kDrawTargetFront) {
    surface = GetPrimarySurface();
  } else if (target == kDrawTargetBack) {
    surface = GetBackSurface();
  } else {
    const GraphRecord* graph = GetGraphRecord(target);
    if (graph == nullptr) return -1;
    if (graph->flags.texture && graph->pieceCount == 1 && !graph->flags.drawValid) return -1;
    surface = GraphTargetSurface(graph);
  }
  // A target the device cannot draw into turns hardware drawing off rather than
  // letting it land on the screen.
  if (surface == nullptr || SetD3DRenderTarget(device, surface) != 0) {
    SetTargetOffD3D(1);
    return -1;
  }
  SetFrontTargetD3D(target == kDrawTargetFront ? 1 : 0);
  SetTargetOffD3D(0);
  return 0;
}

int ClearTextureTargetD3D() {
  if (GetCurrentD3DDeviceRecord() == nullptr) return -1;
  if (DrawState.drawingSuspended) return 0;
  EndDeviceScene();
  const GraphRecord* graph = GetGraphRecord(DrawState.target);
  if (graph == nullptr || !graph->flags.texture || graph->pieceCount < 1) return 0;
  const Surface3DData* piece = GetSurface3DData(graph->pieces[0]);
  SurfaceData* data = piece != nullptr ? GetSurfaceDataRecord(piece->surfaceData) : nullptr;
  if (data == nullptr || data->surface == nullptr) return -1;
  DDBLTFX effects{};
  effects.dwSize = sizeof(effects);
  if (data->zSurface != nullptr) {
    effects.dwFillDepth = 0xFFFF;
    data->zSurface->Blt(nullptr, nullptr, nullptr, DDBLT_DEPTHFILL | DDBLT_WAIT, &effects);
  }
  effects = DDBLTFX{};
  effects.dwSize = sizeof(effects);
  effects.dwFillColor = 0;
  data->surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
  return 0;
}
