// The calls into the Direct3D device that another issue builds. Until it lands,
// pending_device_services.cpp gives each call its "no device" answer: the hardware
// path is never usable, so every graph is a 2-D graph and every glyph cache is in
// memory.
#pragma once

#include <cstdint>

struct GraphRecord;
struct MovieRecord;

// ---- Direct3D device and scene ----
int InitDirect3D();  // -1: no device
int EndDirect3D();
int ReleaseDirect3DObject();
int RecreateDirect3D();
int HasDirect3DDevice();
int EndDeviceScene();    // -1 without a device
int FlushVertexBatch();  // -1 without a device
int RefreshDrawDiffuse();
int SetD3DDrawArea(const void* rect);
int SetDrawTargetD3DGraph(int target);
int ClearTextureTargetD3D();
int SetBlendGraphD3D(const GraphRecord* graph, int borderParameter, int borderWidth);
int SetD3DFilterMode(int mode);
int SetWorldTransformD3D(const float m[16]);
int SetViewTransformD3D(const float m[16]);
int SetProjectionTransformD3D(const float m[16]);

// ---- Texture graphs ----
int SetupTextureGraph(GraphRecord* graph);
int DeleteGraphTexturesAll(GraphRecord* graph);
int RestoreGraphTextures(GraphRecord* graph);
int TransferMovieFrameToTextures(MovieRecord* movie, GraphRecord* graph);

// ---- Hardware drawing back-ends ----
int DrawGraphAtD3D(int x, int y, GraphRecord* graph, int transparent, int integerCoordinates);
int DrawGraphStretchedD3D(int x1, int y1, int x2, int y2, GraphRecord* graph, int transparent,
                          int integerCoordinates);
int DrawGraphRotatedD3D(float x, float y, double scale, double angle, GraphRecord* graph, int transparent,
                        int mirror);
int DrawGraphQuadD3D(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                     GraphRecord* graph, int transparent);
int DrawLineSegmentD3D(int x1, int y1, int x2, int y2, std::uint32_t colour);
int DrawRectFilledD3D(int x1, int y1, int x2, int y2, std::uint32_t colour);
int DrawRectOutlineD3D(int x1, int y1, int x2, int y2, std::uint32_t colour);
int DrawTextHardware(int x, int y, const char* text, std::uint32_t colour, int font, std::uint32_t edgeColour,
                     int vertical);
