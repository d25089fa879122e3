// The hardware twins of the software drawing routines: each turns one draw into
// vertices of the device's batch (d3d_device.h) after bringing the device into the
// state the draw needs (render_states.h). Positions are moved by the drawing origin;
// images also by -0.5, so that texel centres meet pixel centres.
//
// All return 0 on success or when nothing is to be drawn, -1 without a device or for a
// graph whose first texture piece is not valid. While the draw target is a graph the
// device cannot render to, images draw nothing and return 0, and boxes, lines and
// outlines are drawn by the software routines instead.
#pragma once

#include <cstdint>

struct GraphRecord;

// integerCoordinates: the positions are whole numbers (every caller); the graph's own
// alpha is then kept even with linear filtering.
int DrawGraphAtD3D(int x, int y, GraphRecord* graph, int transparent, int integerCoordinates);
// The whole graph scaled into the rectangle; x2 < x1 or y2 < y1 mirrors it. -1 for an
// empty width or height.
int DrawGraphStretchedD3D(int x1, int y1, int x2, int y2, GraphRecord* graph, int transparent,
                          int integerCoordinates);
// The graph's centre at (x, y), scaled, turned by angle (radians, clockwise on the
// screen) and, with mirror, flipped left to right. -1 for a scale of 0 or a scale or
// angle that is not finite.
int DrawGraphRotatedD3D(float x, float y, double scale, double angle, GraphRecord* graph, int transparent,
                        int mirror);
// The graph mapped on a free quadrilateral; corners: the graph's top-left, top-right,
// bottom-left and bottom-right.
int DrawGraphQuadD3D(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                     GraphRecord* graph, int transparent);
// The same with whole-number corners (the form a blend graph is drawn with).
int DrawGraphQuadIntD3D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, GraphRecord* graph,
                        int transparent);

// Colours are screen colours (MakeScreenColor); each channel scales the draw diffuse.
int DrawRectFilledD3D(int x1, int y1, int x2, int y2, std::uint32_t colour);
int DrawLineSegmentD3D(int x1, int y1, int x2, int y2, std::uint32_t colour);
int DrawRectOutlineD3D(int x1, int y1, int x2, int y2, std::uint32_t colour);

// The device's world, view and projection matrices (row-major, 16 floats).
int SetWorldTransformD3D(const float m[16]);
int SetViewTransformD3D(const float m[16]);
int SetProjectionTransformD3D(const float m[16]);
