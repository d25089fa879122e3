// The "no device", "no font" and "no movie" answers of the calls into the Direct3D
// device, fonts and movies, until the Hardware drawing, Fonts and Movies work lands.
#include "graphics/pending_device_services.h"

#include "graphics/graph_records.h"

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

// ---- Hardware drawing back-ends: never chosen without a device ----
int DrawGraphAtD3D(int, int, GraphRecord*, int, int) { return -1; }
int DrawGraphStretchedD3D(int, int, int, int, GraphRecord*, int, int) { return -1; }
int DrawGraphRotatedD3D(float, float, double, double, GraphRecord*, int, int) { return -1; }
int DrawGraphQuadD3D(float, float, float, float, float, float, float, float, GraphRecord*, int) { return -1; }
int DrawLineSegmentD3D(int, int, int, int, std::uint32_t) { return -1; }
int DrawRectFilledD3D(int, int, int, int, std::uint32_t) { return -1; }
int DrawRectOutlineD3D(int, int, int, int, std::uint32_t) { return -1; }

// ---- Fonts: none exist yet ----
int InitFontSystem() { return 0; }
int RecreateAllFonts() { return 0; }
int FreeDefaultFont() { return 0; }
int DefaultFontSettings() { return 0; }

// ---- Movies: no file opens as a movie ----
int CloseGraphMovie(GraphRecord* graph) {
  graph->movie = -1;
  return 0;
}
int IsMovieHandleLive(int) { return 0; }
int RefreshGraphMovieFrame(int, int) { return -1; }
int OpenMovieToGraph(const char*, int*, int*, int) { return -1; }
int CloseMovie(int) { return 0; }
int ReopenAllMovies() { return 0; }
