// The ways of copying the draw target into a texture graph, and what they share: the
// check of the rectangle and the walk over the graph's pieces.
#pragma once

#include "ddraw/ddraw.h"
#include "graphics/surface_3d_data.h"
#include "graphics/surface_data.h"
#include "graphics/texture_formats.h"

// Each: the rectangle x1, y1, x2, y2 of the draw target, the graph, the caller's flag.
// 0 when copied, -1 (logged) when this way failed.
using ScreenToTextureMethod = int (*)(int x1, int y1, int x2, int y2, GraphRecord* graph, int flag);
int ScreenToTextureMethod1(int x1, int y1, int x2, int y2, GraphRecord* graph, int flag);
int ScreenToTextureMethod2(int x1, int y1, int x2, int y2, GraphRecord* graph, int flag);
int ScreenToTextureMethod3(int x1, int y1, int x2, int y2, GraphRecord* graph, int flag);
int ScreenToTextureMethod4(int x1, int y1, int x2, int y2, GraphRecord* graph, int flag);
int ScreenToTextureMethod5(int x1, int y1, int x2, int y2, GraphRecord* graph, int flag);

// A checked copy: the draw-target surface, the rectangle on it, and its size.
struct ScreenCopy {
  IDirectDrawSurface7* target;
  RECT source;
  int width;
  int height;
  bool desktop;  // the rectangle is in desktop coordinates
};

// Checks the rectangle against the target (or the desktop) and the graph: 0 and copy
// filled in, or -1.
int CheckScreenCopy(int x1, int y1, int x2, int y2, const GraphRecord* graph, int flag, ScreenCopy* copy);

// One piece's share of a copy: its part of the source rectangle and where that goes in
// the piece's texture.
struct PieceCopy {
  const Surface3DData* piece;
  SurfaceData* data;
  IDirectDrawSurface7* texture;
  RECT source;    // on the draw target
  RECT inSource;  // the same relative to the copy's top-left
  int textureX;
  int textureY;
  int width;
  int height;
};

// Calls copyPiece for every piece whose top-left lies inside the copied rectangle,
// placed with its graph position; after each piece its colour key is set again. Stops
// at the first failure: 0 / -1.
template <typename CopyPiece>
int ForEachPieceCopy(const GraphRecord* graph, const ScreenCopy& copy, CopyPiece copyPiece) {
  for (int i = 0; i < graph->pieceCount; ++i) {
    const Surface3DData* piece = GetSurface3DData(graph->pieces[i]);
    if (piece == nullptr || piece->x >= copy.width || piece->y >= copy.height) continue;
    const int width = piece->x + piece->width <= copy.width ? piece->width : copy.width - piece->x;
    const int height = piece->y + piece->height <= copy.height ? piece->height : copy.height - piece->y;
    if (width <= 0 || height <= 0) continue;
    PieceCopy part{piece, GetSurfaceDataRecord(piece->surfaceData), GetSurface3DTexture(piece), {}, {},
                   piece->textureX, piece->textureY, width, height};
    if (part.data == nullptr || part.texture == nullptr) return -1;
    part.inSource = RECT{piece->x, piece->y, piece->x + width, piece->y + height};
    part.source = RECT{copy.source.left + part.inSource.left, copy.source.top + part.inSource.top,
                       copy.source.left + part.inSource.right, copy.source.top + part.inSource.bottom};
    if (copyPiece(part) != 0) return -1;
    SetSurfaceColorKey(piece->surfaceData);
  }
  return 0;
}

// The texture format record of the piece's texture.
const TextureFormat* PieceTextureFormat(const PieceCopy& part);
