// What the hardware drawing routines share: the start of an image draw, the binding of
// each piece's texture, and the writing of rectangles and lines into the vertex batch.
#pragma once

#include <cstdint>

#include "graphics/d3d_device.h"
#include "graphics/graph_records.h"
#include "kernel/win_types.h"

struct Surface3DData;

// One corner of a textured rectangle on the screen: its position, its coordinates in
// the piece's texture and (for a draw with a blend graph) in the blend graph's texture.
struct ImageCorner {
  float x, y;
  float u, v;
  float blendU, blendV;
};

// Corner order of every rectangle: top-left, top-right, bottom-left, bottom-right.
enum CornerIndex { kTopLeft = 0, kTopRight = 1, kBottomLeft = 2, kBottomRight = 3 };

// An image draw that goes ahead: the device and the graph's first piece.
struct ImageDraw {
  D3DDeviceRecord* device;
  const Surface3DData* firstPiece;
};

// Checks an image draw: 1 when it goes ahead (draw filled in), else the routine's
// result (-1 without a device or a valid first piece, 0 while the target is off).
int CheckImageDraw(GraphRecord* graph, ImageDraw* draw);
// Opens the scene and prepares the device for the graph with these PrepareDrawD3D
// flags (the Z flag is added when the draw state asks for Z).
void PrepareImageDraw(const ImageDraw& draw, int flags);
// The piece `index` of the graph, or NULL.
const Surface3DData* GraphPiece(const GraphRecord* graph, int index);
// Binds the piece's texture and sends the states a change of it needs.
void BindPieceTexture(D3DDeviceRecord* device, const Surface3DData* piece);
// The piece's texture width and height in texels (1 when unknown).
void PieceTextureSize(const Surface3DData* piece, float* width, float* height);

// The four corners of a piece, positions in graph coordinates.
void PieceCorners(const Surface3DData* piece, ImageCorner corners[4]);

// Calls place(piece, corners) for every piece of the graph in order, with the piece's
// texture bound and its corners in graph coordinates; place moves them onto the
// target and writes them.
template <typename Place>
void ForEachPiece(const ImageDraw& draw, const GraphRecord* graph, Place place) {
  for (int i = 0; i < graph->pieceCount; ++i) {
    const Surface3DData* piece = GraphPiece(graph, i);
    if (piece == nullptr) continue;
    BindPieceTexture(draw.device, piece);
    ImageCorner corners[4];
    PieceCorners(piece, corners);
    place(piece, corners);
  }
}
// Six vertices of a textured rectangle (two triangles: top-left, top-right, bottom-left
// and bottom-right, bottom-left, top-right; with `reversed` each triangle's last two
// swap) in the batch's vertex kind. The diffuse goes on each triangle's first vertex.
void WriteImageRectangle(D3DDeviceRecord* device, const ImageCorner corners[4], bool reversed = false);

// The draw diffuse with its red, green and blue scaled by those of a screen colour.
std::uint32_t ColourDiffuse(std::uint32_t screenColour);
// Untextured vertices into the batch: a rectangle (six vertices) or `count` line ends.
void WriteColourRectangle(const float x[2], const float y[2], std::uint32_t diffuse);
void WriteColourLines(const float (*ends)[2], int count, std::uint32_t diffuse);
// Boxes, lines and outlines reach the front screen at once.
void EndSceneOnFrontTarget();
