// Texture graphs: a graph whose texture flag is set keeps its pixels in up to 64
// power-of-two textures. One Surface3DData record per piece names its rectangle in the
// graph, in its texture and in the source picture, and carries the four ready-made
// vertices of the piece. The textures are surface data records shared through their
// reference count.
#pragma once

#include <cstdint>

#include "graphics/d3d_device.h"
#include "graphics/graph_image.h"
#include "graphics/graph_records.h"
#include "graphics/handle_table.h"
#include "kernel/win_types.h"

struct MovieRecord;

constexpr int kSurface3DDataTableSize = 65536;
constexpr int kTextureSizeListLimit = 64;

struct Surface3DData {
  std::uint32_t check;
  int* watcher;  // set to 1 when the record is deleted
  std::uint16_t x;  // in the graph
  std::uint16_t y;
  std::uint16_t textureX;  // in the texture
  std::uint16_t textureY;
  std::uint16_t sourceX;  // in the source picture
  std::uint16_t sourceY;
  std::uint16_t width;  // the used part
  std::uint16_t height;
  // Top-left, top-right, bottom-left, bottom-right, in graph coordinates.
  TextureVertex vertices[4];
  // 1 when the vertex lies on or above the graph's anti-diagonal.
  std::uint8_t aboveAntiDiagonal[4];
  int ownerGraph;
  int surfaceData;
};

using Surface3DDataTableType = HandleTable<Surface3DData, kSurface3DDataTableSize, 6>;
extern Surface3DDataTableType Surface3DDataTable;

int AddSurface3DData(int textureWidth, int textureHeight, int x, int y, int width, int height, int sourceX,
                     int sourceY, int ownerGraph, const Surface3DData* parent, int parentX, int parentY,
                     const GraphFlags& flags);
Surface3DData* GetSurface3DData(int handle);
int DeleteSurface3DData(int handle);
int DeleteAllSurface3DData();
// The texture surface of a piece, NULL for a bad handle or a piece without one.
IDirectDrawSurface7* GetSurface3DTexture(const Surface3DData* piece);
// Power-of-two piece sizes covering `length` along one axis; `cut` lets pieces reach
// the device's largest side (render targets), else they keep to the screen width. The
// number of sizes, or -1 when more than maxCount would be needed.
int ChooseTextureSizes(int length, int cut, int* sizes, int maxCount);

// ---- Texture graphs ----
int SetupTextureGraph(GraphRecord* graph);
int DeleteGraphTexturesAll(GraphRecord* graph);
int CreateDerivedGraphTextures(GraphRecord* graph, int x, int y, int width, int height, const GraphRecord* parent);
int FillGraphTextures(GraphRecord* graph, int r, int g, int b, int a);
int RestoreGraphTexturesIfLost(GraphRecord* graph);
int RestoreAllSurface3DData();
// Releases every texture store (before the device goes) and re-makes them all after
// the device was made again.
int ReleaseAllSurface3DStores();
// Re-makes every texture store after the device was made again.
int RecreateAllSurface3DTextures();
int UnlockSurface3DData(int handle, const RECT* rect);

// ---- Pixels into textures ----
// One rectangle of the picture into one piece's texture at (destX, destY) of it.
int TransferImageToTexture(const RECT* sourceRect, int destX, int destY, int surface3D, const GraphImage* image,
                           const GraphImage* alphaImage);
// The rectangle of the picture placed at (x, y) of the graph: every piece it overlaps.
int TransferImageRectToGraphTextures(const RECT* sourceRect, int x, int y, GraphRecord* graph,
                                     const GraphImage* image, const GraphImage* alphaImage);
// Every piece receives the part of the picture at its rectangle moved by (offsetX, offsetY).
int TransferGraphImageToTextures(const GraphImage* image, const GraphImage* alphaImage, int offsetX, int offsetY,
                                 GraphRecord* graph);
int TransferMovieFrameToTextures(MovieRecord* movie, GraphRecord* graph);
