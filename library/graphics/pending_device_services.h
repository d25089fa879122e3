// The hardware drawing back-ends, until their own files land. The device, texture
// graph and render-state services are declared in d3d_device.h, surface_3d_data.h,
// texture_formats.h and render_states.h.
#pragma once

#include <cstdint>

#include "graphics/d3d_device.h"
#include "graphics/render_states.h"
#include "graphics/surface_3d_data.h"
#include "graphics/texture_formats.h"

struct GraphRecord;

int SetWorldTransformD3D(const float m[16]);
int SetViewTransformD3D(const float m[16]);
int SetProjectionTransformD3D(const float m[16]);

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
