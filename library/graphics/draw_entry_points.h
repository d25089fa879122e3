// The functions behind the drawing entry points. Each draws with the current draw
// state and chooses per call between the hardware path (texture graphs, or
// primitives while the device draws) and the software renderer.
#pragma once

#include <cstdint>

#include "kernel/win_types.h"

int DrawGraphAtBody(int x, int y, int graph, int transparent);
int DrawGraphStretched(int x1, int y1, int x2, int y2, int graph, int transparent);
int DrawGraphMirroredBody(int x, int y, int graph, int transparent);
int DrawGraphRotatedBody(int x, int y, double scale, double angle, int graph, int transparent, int mirror);
int DrawGraphRotatedF(float x, float y, double scale, double angle, int graph, int transparent, int mirror);
// Corners clockwise from the graph's top-left: top-left, top-right, bottom-right, bottom-left.
int DrawGraphQuad(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4, int graph,
                  int transparent);
int DrawGraphSubRect(int x, int y, int srcX, int srcY, int width, int height, int graph, int transparent, int mirror);
int DrawGraphSubRectStretched(int x1, int y1, int x2, int y2, int srcX, int srcY, int srcWidth, int srcHeight,
                              int graph, int transparent);

int DrawLineSegmentBody(int x1, int y1, int x2, int y2, std::uint32_t colour);
int DrawRectBody(int x1, int y1, int x2, int y2, std::uint32_t colour, int fill);
int DrawRectFilled(int x1, int y1, int x2, int y2, std::uint32_t colour);
int DrawRectOutline(int x1, int y1, int x2, int y2, std::uint32_t colour);

// A string with a font handle; colours in the screen's colour format.
int DrawTextWithFont(int x, int y, const char* text, std::uint32_t colour, int font, std::uint32_t edgeColour,
                     int vertical);
// The default font (made again first when its settings changed), edge colour given.
int DrawTextAtBody(int x, int y, const char* text, std::uint32_t colour, std::uint32_t edgeColour);

// The hardware path builds subtraction out of two inversions around an additive draw.
void BeginSubtractPassD3D(const RECT* r);
void EndSubtractPassD3D(const RECT* r);
