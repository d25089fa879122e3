#include "graphics/surface_2d.h"

#include <algorithm>

#include "core/log.h"
#include "core/tracked_alloc.h"
#include "graphics/draw_state.h"
#include "graphics/device_services.h"
#include "graphics/pixel_convert_blt.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_data.h"

Surface2DTableType Surface2DTable;

namespace {

bool HaveDirectDraw() { return GetDirectDrawObject() != nullptr; }

// The index a palette image keeps as its transparent colour: the entry equal to the
// transparent colour, else the lowest index no pixel uses (0 when all 256 occur).
std::uint32_t PaletteTransparentIndex(const MEMIMG& image, std::uint32_t transparentColor) {
  const PixelFormat* format = GetStandardPixelFormat(image.kind, 0, 0);
  const std::uint32_t packed =
      PackPixel(format, static_cast<std::uint8_t>(transparentColor >> 16), static_cast<std::uint8_t>(transparentColor >> 8),
                static_cast<std::uint8_t>(transparentColor), 0);
  const std::uint32_t compareMask = image.kind == MEMIMG_KIND_32BIT ? 0xFFFFFFu : 0xFFFFu;
  for (int i = 0; i < 256; ++i) {
    const std::uint32_t entry = image.kind == MEMIMG_KIND_32BIT ? static_cast<const std::uint32_t*>(image.palette)[i]
                                                                : static_cast<const std::uint16_t*>(image.palette)[i];
    if (((entry ^ packed) & compareMask) == 0) return static_cast<std::uint32_t>(i);
  }
  bool used[256] = {};
  for (int y = 0; y < image.height; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(image.pixels) + static_cast<std::ptrdiff_t>(y) * image.pitch;
    for (int x = 0; x < image.width; ++x) used[row[x]] = true;
  }
  for (int i = 0; i < 256; ++i) {
    if (!used[i]) return static_cast<std::uint32_t>(i);
  }
  return 0;
}

}  // namespace

Surface2D* GetSurface2DRecord(int handle) { return Surface2DTable.Find(handle); }

int SetSurface2DWatcher(int handle, int* watcher) {
  Surface2D* piece = GetSurface2DRecord(handle);
  if (piece == nullptr) return -1;
  piece->watcher = watcher;
  if (watcher != nullptr) *watcher = 0;
  return 0;
}

int AddSurface2D(std::uint16_t width, std::uint16_t height, std::uint16_t x, std::uint16_t y, int ownerGraph,
                 const Surface2D* parent, std::uint16_t offsetX, std::uint16_t offsetY, const GraphFlags& flags) {
  if (!HaveDirectDraw()) return LogWrite("ＭＵライブラリが初期化されていません\n");
  if (Surface2DTable.IsFull()) return LogWrite("２Ｄグラフィックの量が許容量を越えました\n");
  const int slot = Surface2DTable.ChooseSlot();
  auto* piece = static_cast<Surface2D*>(TRACKED_CALLOC(sizeof(Surface2D)));
  int data = -1;
  if (piece != nullptr) {
    if (parent != nullptr) {
      data = AddSurfaceDataRef(parent->surfaceData) >= 0 ? parent->surfaceData : -1;
    } else {
      data = AddSurfaceData(1, width, height, DrawState.transparentColor, flags);
    }
  }
  if (data < 0) {
    TrackedFree(piece);
    return LogWrite("メモリの確保に失敗しました in AddSurface2D \n");
  }
  piece->x = x;
  piece->y = y;
  piece->ownerGraph = ownerGraph;
  piece->offsetX = offsetX;
  piece->offsetY = offsetY;
  piece->width = width;
  piece->height = height;
  piece->surfaceData = data;
  return Surface2DTable.Register(slot, piece);
}

int CreateSurface2DForGraph(GraphRecord* graph) {
  // Pieces measure themselves in 16 bits.
  if (graph->width < 1 || graph->height < 1 || graph->width > 0xFFFF || graph->height > 0xFFFF) return -1;
  const int piece = AddSurface2D(static_cast<std::uint16_t>(graph->width), static_cast<std::uint16_t>(graph->height),
                                 0, 0, graph->handle, nullptr, 0, 0, graph->flags);
  if (piece < 0) return -1;
  graph->pieces[0] = piece;
  graph->pieceCount = 1;
  return 0;
}

int CreateDerivedSurface2D(GraphRecord* graph, int x, int y, int width, int height, const GraphRecord* parent) {
  const Surface2D* parentPiece = parent->pieceCount > 0 ? GetSurface2DRecord(parent->pieces[0]) : nullptr;
  if (parentPiece == nullptr) return -1;
  const int piece = AddSurface2D(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 0, 0,
                                 graph->handle, parentPiece, static_cast<std::uint16_t>(parentPiece->offsetX + x),
                                 static_cast<std::uint16_t>(parentPiece->offsetY + y), graph->flags);
  if (piece < 0) return -1;
  graph->pieces[0] = piece;
  graph->pieceCount = 1;
  return 0;
}

int DeleteSurface2D(int handle) {
  Surface2D* piece = GetSurface2DRecord(handle);
  if (piece == nullptr) return 0;
  if (SubSurfaceDataRef(piece->surfaceData) == 0) DeleteSurfaceData(piece->surfaceData);
  if (piece->watcher != nullptr) *piece->watcher = 1;
  Surface2DTable.Unregister(Surface2DTableType::SlotOf(handle));
  TrackedFree(piece);
  return 0;
}

int DeleteGraphSurfaces2D(GraphRecord* graph) {
  if (!HaveDirectDraw()) return -1;
  for (int i = 0; i < graph->pieceCount; ++i) DeleteSurface2D(graph->pieces[i]);
  graph->pieceCount = 0;
  return 0;
}

int DeleteAllSurface2D() {
  for (int slot = 0; slot < Surface2DTable.highWater; ++slot) {
    if (Surface2DTable.slots[slot] != nullptr) DeleteSurface2D(Surface2DTable.HandleOf(slot));
  }
  return 0;
}

int ReleaseAllSurface2DStores() {
  if (!HaveDirectDraw()) return 0;
  for (int slot = 0; slot < Surface2DTable.highWater; ++slot) {
    if (Surface2DTable.slots[slot] != nullptr) ReleaseSurfaceZBuffer(Surface2DTable.slots[slot]->surfaceData);
  }
  return 0;
}

int RecreateAllSurface2DSurfaces() {
  if (!HaveDirectDraw()) return 0;
  for (int slot = 0; slot < Surface2DTable.highWater; ++slot) {
    if (Surface2DTable.slots[slot] == nullptr) continue;
    const int data = Surface2DTable.slots[slot]->surfaceData;
    CreateSurfaceDataSurface(data);
    SetSurfaceColorKey(data);
  }
  return 0;
}

int RestoreGraphSurfaces2D(GraphRecord* graph) {
  if (!HaveDirectDraw()) return -1;
  int lost = 0;
  for (int i = 0; i < graph->pieceCount; ++i) {
    const Surface2D* piece = GetSurface2DRecord(graph->pieces[i]);
    if (piece == nullptr) return -1;
    lost |= RestoreSurfaceIfLost(piece->surfaceData);
  }
  return lost;
}

int RestoreAllSurface2D() {
  if (!HaveDirectDraw()) return -1;
  RestoreLostScreenSurfaces();
  int lost = 0;
  for (int slot = 0; slot < Surface2DTable.highWater; ++slot) {
    if (Surface2DTable.slots[slot] != nullptr) lost |= RestoreSurfaceIfLost(Surface2DTable.slots[slot]->surfaceData);
  }
  return lost;
}

int FillGraph2D(GraphRecord* graph, int r, int g, int b, int a) {
  if (!HaveDirectDraw()) return -1;
  if (RenderModeFlags.screenReady) EndDeviceScene();
  FlushVertexBatch();
  for (int i = 0; i < graph->pieceCount; ++i) {
    const Surface2D* piece = GetSurface2DRecord(graph->pieces[i]);
    if (piece == nullptr) return -1;
    FillSurfaceData(piece->surfaceData, r, g, b, a);
  }
  return 0;
}

int TransferImageToGraph2D(const GraphImage* image, const GraphImage* alphaImage, int x, int y,
                           GraphRecord* graph) {
  for (int i = 0; i < graph->pieceCount; ++i) {
    const Surface2D* piece = GetSurface2DRecord(graph->pieces[i]);
    if (piece == nullptr) return -1;
    const RECT wanted{piece->x + x, piece->y + y, piece->x + x + piece->width, piece->y + y + piece->height};
    const RECT source = ClipToPictures(wanted, image, alphaImage);
    if (source.right <= source.left || source.bottom <= source.top) continue;
    const int destX = piece->offsetX + (source.left - wanted.left);
    const int destY = piece->offsetY + (source.top - wanted.top);
    if (TransferImageToSurface2D(image, alphaImage, &source, destX, destY, graph->pieces[i]) != 0) return -1;
  }
  return 0;
}

int TransferImageToSurface2D(const GraphImage* image, const GraphImage* alphaImage, const RECT* sourceRect,
                             int x, int y, int surface2D) {
  if (!HaveDirectDraw()) return -1;
  if (DrawState.drawingSuspended) return 0;
  const Surface2D* piece = GetSurface2DRecord(surface2D);
  if (piece == nullptr) return -1;
  SurfaceData* data = GetSurfaceDataRecord(piece->surfaceData);
  if (data == nullptr) return -1;
  const int width = sourceRect->right - sourceRect->left;
  const int height = sourceRect->bottom - sourceRect->top;
  if (data->memoryImage) {
    if (TransferGraphImageToMemImg(image, alphaImage, &data->image, sourceRect->left, sourceRect->top, width,
                                   height, x, y, DrawState.ditherMode) != 0) {
      return -1;
    }
    if (data->flags.callerFlag == 1) {
      data->image.transparentColor = PaletteTransparentIndex(data->image, DrawState.transparentColor);
    }
  } else {
    if (data->surface == nullptr) return -1;
    RECT destRect{x, y, x + width, y + height};
    DDSURFACEDESC2 description{};
    description.dwSize = sizeof(description);
    if (data->surface->Lock(&destRect, &description, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr) != DD_OK) {
      return LogWrite("２Ｄサーフェスのロックに失敗しました");
    }
    ConvertPixelFormatBlt(description.lpSurface, description.lPitch, QueryScreenPixelFormat(), image->pixels,
                          image->pitch, &image->format, alphaImage != nullptr ? alphaImage->pixels : nullptr,
                          alphaImage != nullptr ? alphaImage->pitch : 0,
                          alphaImage != nullptr ? &alphaImage->format : nullptr, 0, 0, sourceRect, 0, 0, 0,
                          DrawState.ditherMode, 0, 0, 0);
    data->surface->Unlock(&destRect);
  }
  SetSurfaceColorKey(piece->surfaceData);
  return 0;
}
