// The software draw set-ups: each turns one drawing request into work of a software
// renderer kernel on MEMIMGs. In software-render mode on a screen that is not 8-bit
// the kernel draws straight into the draw-target MEMIMG; otherwise the touched area
// of the DirectDraw target is prepared with CopyMemImgRect, drawn, and finished with
// SyncScreenMemImg. Each returns -1 while the graphics are not started.
#pragma once

#include <cstdint>

#include "softrender/line_kernels.h"
#include "softrender/triangle_kernels.h"

struct GraphRecord;
struct MEMIMG;

// What every set-up shares.
// 1 while a DirectDraw object exists (the graphics are up).
bool GraphicsStarted();
// The draw-target MEMIMG when it has pixels (software-render mode draws straight into it).
MEMIMG* DirectTarget();
// After a kernel draw: the draw target's own image no longer matches its run table.
void MarkDrawTargetWritten();
// Draws and ends the device's pending work before pixels are touched.
void EndDeviceWork();

int DrawGraphAtSoftware(int x, int y, GraphRecord* graph, int transparent);
int BlitSurface2DAt(int x, int y, int surface2D, int transparent);
int DrawLineListSoftware(const LineRec* lines, int count);

// overrideSurface2D: a piece drawn instead of the graph's own, -1 for none.
int DrawGraphStretchedSoftware(int x1, int y1, int x2, int y2, GraphRecord* graph, int transparent,
                               int overrideSurface2D);

// Corners: the graph's top-left, top-right, bottom-left and bottom-right.
int DrawGraphQuadSoftware(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                          GraphRecord* graph, int transparent);
int DrawGraphQuadTriangles(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, GraphRecord* graph,
                           int transparent);
int DrawGraphTriangleSoftware(const QuadVertex vertices[3], GraphRecord* graph, int transparent);

int DrawGraphRotatedSoftware(float x, float y, double scale, double angle, GraphRecord* graph, int transparent,
                             int mirror);

int DrawRectFilledSoftware(int x1, int y1, int x2, int y2, std::uint32_t colour);
int DrawLineSegmentSoftware(int x1, int y1, int x2, int y2, std::uint32_t colour);
int DrawRectOutlineSoftware(int x1, int y1, int x2, int y2, std::uint32_t colour);

// A string with a font whose glyph cache is in memory (text_software.cpp).
int DrawTextSoftware(int x, int y, const char* text, std::uint32_t colour, int font, std::uint32_t edgeColour,
                     int vertical);
