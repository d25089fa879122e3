// The draw diffuse colour every hardware vertex takes, and the blend graph's texture
// on the device.
#include "graphics/draw_state.h"
#include "graphics/graph_records.h"
#include "graphics/render_states.h"
#include "graphics/surface_3d_data.h"
#include "graphics/surface_data.h"

namespace {

std::uint32_t g_drawDiffuse = 0xFFFFFFFFu;
BlendGraphTextureSize g_blendGraphSize{};

}  // namespace

int RefreshDrawDiffuse() {
  const std::uint32_t alpha = DrawState.blendMode != 0 ? static_cast<std::uint32_t>(DrawState.blendParam) & 0xFF : 255;
  g_drawDiffuse = (alpha << 24) | (DrawState.tint & 0xFFFFFFu);
  return 0;
}

std::uint32_t GetDrawDiffuse() { return g_drawDiffuse; }

const BlendGraphTextureSize* GetBlendGraphTextureSize() { return &g_blendGraphSize; }

int SetBlendGraphD3D(const GraphRecord* graph, int borderParameter, int borderWidth) {
  D3DDeviceRecord* device = GetCurrentD3DDeviceRecord();
  if (device == nullptr) return -1;
  if (graph == nullptr) return SetDeviceAlphaTexture(device, nullptr, borderParameter, borderWidth);
  const Surface3DData* piece = graph->pieceCount > 0 ? GetSurface3DData(graph->pieces[0]) : nullptr;
  const SurfaceData* data = piece != nullptr ? GetSurfaceDataRecord(piece->surfaceData) : nullptr;
  if (data == nullptr) return -1;
  g_blendGraphSize.width = data->width;
  g_blendGraphSize.height = data->height;
  g_blendGraphSize.inverseWidth = 1.0f / data->width;
  g_blendGraphSize.inverseHeight = 1.0f / data->height;
  return SetDeviceAlphaTexture(device, data->surface, borderParameter, borderWidth);
}
