// The "no device" answers of the calls into the Direct3D device, until the Hardware
// drawing work lands.
#include "graphics/pending_device_services.h"

#include "graphics/graph_records.h"
#include "graphics/software_draw_setups.h"

// ---- Direct3D device and scene: there is no device ----
int InitDirect3D() { return -1; }
int EndDirect3D() { return 0; }
int ReleaseDirect3DObject() { return 0; }
int RecreateDirect3D() { return 0; }
int HasDirect3DDevice() { return 0; }
int EndDeviceScene() { return -1; }
int FlushVertexBatch() { return -1; }
int RefreshDrawDiffuse() { return 0; }
int SetD3DDrawArea(const void*) { return -1; }
int SetDrawTargetD3DGraph(int) { return -1; }
int ClearTextureTargetD3D() { return 0; }
int SetBlendGraphD3D(const GraphRecord*, int, int) { return 0; }
int SetD3DFilterMode(int) { return 0; }
int SetWorldTransformD3D(const float*) { return 0; }
int SetViewTransformD3D(const float*) { return 0; }
int SetProjectionTransformD3D(const float*) { return 0; }

// ---- Texture graphs: none are made without a device ----
int SetupTextureGraph(GraphRecord*) { return -1; }
int DeleteGraphTexturesAll(GraphRecord* graph) {
  graph->pieceCount = 0;
  return 0;
}
int RestoreGraphTextures(GraphRecord*) { return 0; }
int TransferMovieFrameToTextures(MovieRecord*, GraphRecord*) { return -1; }

// ---- Hardware drawing back-ends: never chosen without a device ----
int DrawGraphAtD3D(int, int, GraphRecord*, int, int) { return -1; }
int DrawGraphStretchedD3D(int, int, int, int, GraphRecord*, int, int) { return -1; }
int DrawGraphRotatedD3D(float, float, double, double, GraphRecord*, int, int) { return -1; }
int DrawGraphQuadD3D(float, float, float, float, float, float, float, float, GraphRecord*, int) { return -1; }
int DrawLineSegmentD3D(int, int, int, int, std::uint32_t) { return -1; }
int DrawRectFilledD3D(int, int, int, int, std::uint32_t) { return -1; }
int DrawRectOutlineD3D(int, int, int, int, std::uint32_t) { return -1; }

// Every glyph cache is in memory without a device: the software text path draws it.
int DrawTextHardware(int x, int y, const char* text, std::uint32_t colour, int font, std::uint32_t edgeColour,
                     int vertical) {
  return DrawTextSoftware(x, y, text, colour, font, edgeColour, vertical);
}
