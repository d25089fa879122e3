// 2-D surface pieces: a graph that is not a texture keeps its pixels in pieces, each
// naming a rectangle of a surface data record. The piece table, the pieces of a graph,
// transfers of pictures into them, and the draw-target selection of the 2-D path.
#pragma once

#include <cstdint>

#include "graphics/graph_image.h"
#include "graphics/graph_records.h"
#include "graphics/handle_table.h"

#include "kernel/win_types.h"

struct MEMIMG;
struct IDirectDrawSurface7;

constexpr int kSurface2DTableSize = 32768;

struct Surface2D {
  std::uint32_t check;
  int* watcher;
  std::uint16_t x;        // position inside the graph
  std::uint16_t y;
  std::uint16_t offsetX;  // position inside the surface data
  std::uint16_t offsetY;
  std::uint16_t width;
  std::uint16_t height;
  int ownerGraph;
  int surfaceData;
};

using Surface2DTableType = HandleTable<Surface2D, kSurface2DTableSize, 5>;
extern Surface2DTableType Surface2DTable;

int AddSurface2D(std::uint16_t width, std::uint16_t height, std::uint16_t x, std::uint16_t y, int ownerGraph,
                 const Surface2D* parent, std::uint16_t offsetX, std::uint16_t offsetY, const GraphFlags& flags);
Surface2D* GetSurface2DRecord(int handle);
int SetSurface2DWatcher(int handle, int* watcher);
int CreateSurface2DForGraph(GraphRecord* graph);
int CreateDerivedSurface2D(GraphRecord* graph, int x, int y, int width, int height, const GraphRecord* parent);
int DeleteSurface2D(int handle);
int DeleteGraphSurfaces2D(GraphRecord* graph);
int DeleteAllSurface2D();
int ReleaseAllSurface2DStores();
int RecreateAllSurface2DSurfaces();
int RestoreGraphSurfaces2D(GraphRecord* graph);
int RestoreAllSurface2D();
int FillGraph2D(GraphRecord* graph, int r, int g, int b, int a);

// Every piece receives the part of the picture at (piece x + x, piece y + y), clipped
// to the picture.
int TransferImageToGraph2D(const GraphImage* image, const GraphImage* alphaImage, int x, int y,
                           GraphRecord* graph);
// One rectangle of the picture into one piece at (x, y) of its surface data.
int TransferImageToSurface2D(const GraphImage* image, const GraphImage* alphaImage, const RECT* sourceRect,
                             int x, int y, int surface2D);

// The 2-D side of a draw-target change: the target's surface, MEMIMG and Z twin.
int SelectDrawTargetSurfaces(int target);
// Brings the primary twin up to date before software drawing into the front screen.
int PrepareDrawTargetMemImg();
// method: 1 GDI BitBlt, 0 BltFast, -1 the method chosen at the last mode change.
int CopySurfaceRect(IDirectDrawSurface7* dest, IDirectDrawSurface7* source, int x, int y, const RECT* sourceRect,
                    int method);
int CopyMemImgToMemImg(MEMIMG* dest, const MEMIMG* source, const RECT* sourceRect, int x, int y);
MEMIMG* GetBlendGraphMemImg();
