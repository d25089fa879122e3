// Copies a rectangle of the current draw target into a graph of exactly its size.
#include "core/main_window.h"
#include "graphics/draw_state.h"
#include "graphics/fill_unused_bits.h"
#include "graphics/graph_records.h"
#include "graphics/device_services.h"
#include "graphics/pixel_convert_blt.h"
#include "graphics/screen_mode.h"
#include "graphics/screen_to_texture.h"
#include "graphics/surface_2d.h"
#include "graphics/surface_data.h"

namespace {

// The piece image of a memory-image graph (a view when the piece is part of a larger image).
MEMIMG* PieceImage(const Surface2D* piece, SurfaceData* data, MEMIMG* view) {
  if (piece->width == data->width && piece->height == data->height) return &data->image;
  InitMemImgView(view, &data->image, piece->offsetX, piece->offsetY, piece->width, piece->height);
  return view;
}

int CopySurfaceIntoImage(IDirectDrawSurface7* target, RECT onTarget, MEMIMG* image) {
  const int width = onTarget.right - onTarget.left;
  const int height = onTarget.bottom - onTarget.top;
  if (CopySurfaceRect(ScreenSurfaces.work, target, 0, 0, &onTarget, -1) != 0) return -1;
  RECT work{0, 0, width, height};
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  if (ScreenSurfaces.work->Lock(&work, &description, DDLOCK_WAIT, nullptr) != DD_OK) return -1;
  ConvertPixelFormatBlt(image->pixels, image->pitch, image->format, description.lpSurface, description.lPitch,
                        QueryScreenPixelFormat(), nullptr, 0, nullptr, 0, 0, &work, 0, 0, 0, DITHER_NONE, 0, 0, 0);
  ScreenSurfaces.work->Unlock(&work);
  return 0;
}

// The copied pixels keep the screen's unused bits as they were; they are set, as every
// packed pixel of this library has them.
void SetUnusedBits(IDirectDrawSurface7* surface, RECT* rect) {
  const PixelFormat* format = QueryScreenPixelFormat();
  if (format->noUseMask == 0) return;
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  if (surface->Lock(rect, &description, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr) != DD_OK) return;
  FillUnusedBitsInRect(&description, 0, 0, format, rect->right - rect->left, rect->bottom - rect->top, 255);
  surface->Unlock(rect);
}

}  // namespace

int CopyDrawTargetToGraph2D(int x1, int y1, int x2, int y2, GraphRecord* graph) {
  if (GetDirectDrawObject() == nullptr) return -1;
  if (RenderModeFlags.screenReady) EndDeviceScene();
  const int width = x2 - x1;
  const int height = y2 - y1;
  if (width < 1 || height < 1 || width != graph->width || height != graph->height || x1 < 0 || y1 < 0 ||
      x2 > DrawState.targetWidth || y2 > DrawState.targetHeight) {
    return -1;
  }
  const Surface2D* piece = graph->pieceCount > 0 ? GetSurface2DRecord(graph->pieces[0]) : nullptr;
  SurfaceData* data = piece != nullptr ? GetSurfaceDataRecord(piece->surfaceData) : nullptr;
  if (data == nullptr) return -1;
  if (IsMemImgScreenMode() && DrawState.target == kDrawTargetFront) PrepareDrawTargetMemImg();
  FlushVertexBatch();
  EndDeviceScene();
  const RECT rect{x1, y1, x2, y2};
  MEMIMG* target = ScreenSurfaces.targetMemImg;
  const bool targetIsImage = IsMemImgScreenMode() || ScreenSurfaces.targetSurface == nullptr;
  MEMIMG view{};
  int result = -1;
  if (data->memoryImage) {
    MEMIMG* image = PieceImage(piece, data, &view);
    if (targetIsImage) {
      result = target != nullptr && target->pixels != nullptr ? CopyMemImgToMemImg(image, target, &rect, 0, 0) : -1;
    } else {
      const int dx = ScreenSurfaces.targetOffsetX + (DrawState.target == kDrawTargetFront ? DrawState.drawingOrigin.left : 0);
      const int dy = ScreenSurfaces.targetOffsetY + (DrawState.target == kDrawTargetFront ? DrawState.drawingOrigin.top : 0);
      result = CopySurfaceIntoImage(ScreenSurfaces.targetSurface, RECT{x1 + dx, y1 + dy, x2 + dx, y2 + dy}, image);
    }
    data->image.runDataValid = 0;
    MarkMemImgPixelsChanged(&data->image);
    data->image.premultipliedValid = 0;
  } else if (!targetIsImage && data->surface != nullptr) {
    RECT source = rect;
    if (DrawState.target == kDrawTargetFront) {
      source = RECT{x1 + DrawState.drawingOrigin.left, y1 + DrawState.drawingOrigin.top,
                    x2 + DrawState.drawingOrigin.left, y2 + DrawState.drawingOrigin.top};
    }
    RECT dest{piece->offsetX, piece->offsetY, piece->offsetX + width, piece->offsetY + height};
    result = data->surface->Blt(&dest, ScreenSurfaces.targetSurface, &source, DDBLT_WAIT, nullptr) == DD_OK ? 0 : -1;
    if (result == 0) SetUnusedBits(data->surface, &dest);
  }
  return result;
}

int CopyDrawTargetToGraph(int x1, int y1, int x2, int y2, int graph, int flag) {
  GraphRecord* record = GetGraphRecord(graph);
  if (record == nullptr) return -1;
  WaitWhileInactive();
  EndDeviceScene();
  if (record->flags.texture) return CopyDrawTargetToGraphD3D(x1, y1, x2, y2, record, flag);
  return CopyDrawTargetToGraph2D(x1, y1, x2, y2, record);
}
