// Surface data: the pixel store of one surface piece of a graph (a DirectDraw surface
// or a MEMIMG), shared by a parent graph and the graphs derived from it through a
// reference count, and the operations on it that the 2-D and texture paths share.
#pragma once

#include <cstdint>

#include "ddraw/ddraw.h"
#include "graphics/graph_records.h"
#include "graphics/handle_table.h"
#include "graphics/memimg.h"

constexpr int kSurfaceDataTableSize = 65536;

// Format kinds of memory images and plain surfaces.
constexpr int kFormatKindSurface = 9;
constexpr int kFormatKindMemImg16 = 10;
constexpr int kFormatKindMemImg16Alpha = 11;
constexpr int kFormatKindMemImg32 = 12;
constexpr int kFormatKindMemImg32Alpha = 13;

struct SurfaceData {
  std::uint32_t check;
  int* watcher;
  GraphFlags flags;  // the owning graph's flags, adjusted
  int memoryImage;   // 1: the pixels live in image
  int formatKind;
  int zBufferWanted;
  IDirectDrawSurface7* surface;
  MEMIMG image;
  IDirectDrawSurface7* zSurface;
  MEMIMG zTwin;
  int lockCount;
  int lockPitch;
  void* lockPixels;
  std::uint32_t transparentColor;  // 0x00RRGGBB of the draw state when made
  std::uint16_t width;
  std::uint16_t height;
  int references;
};

using SurfaceDataTableType = HandleTable<SurfaceData, kSurfaceDataTableSize, 7>;
extern SurfaceDataTableType SurfaceDataTable;

int AddSurfaceData(int initialReferences, int width, int height, std::uint32_t transparentColor,
                   const GraphFlags& flags);
int CreateSurfaceDataSurface(int handle);
int DeleteSurfaceData(int handle);
SurfaceData* GetSurfaceDataRecord(int handle);

int AddSurfaceDataRef(int handle);
int SubSurfaceDataRef(int handle);
int SetSurfaceZBuffer(int handle, int on);
int ReleaseSurfaceZBuffer(int handle);
int SetSurfaceColorKey(int handle);
int RestoreSurfaceIfLost(int handle);
// 0 locked, -2 already locked (same pointer and pitch, count + 1), -1 failed.
int LockSurfaceData(int handle, int* pitchOut, void** pixelsOut, int writeOnly, const RECT* rect,
                    const PixelFormat** formatOut);
int UnlockSurfaceData(int handle, const RECT* rect);
int FillSurfaceData(int handle, int r, int g, int b, int a);
