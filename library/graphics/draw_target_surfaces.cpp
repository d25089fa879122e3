// The surfaces and images the 2-D path draws into and reads from: the selection of
// the draw target's surface and MEMIMG, the front screen's in-memory twin, copies
// between surfaces and between images, and the blend graph's image.
#include <algorithm>
#include <cstring>

#include "core/main_window.h"
#include "gdi/gdi.h"
#include "graphics/draw_state.h"
#include "graphics/graph_records.h"
#include "graphics/pixel_convert_blt.h"
#include "graphics/screen_mode.h"
#include "graphics/surface_2d.h"
#include "graphics/surface_data.h"

namespace {

// The image of a piece: the surface data's own image when the piece covers it whole,
// else a view of the piece's rectangle.
MEMIMG* PieceImage(const Surface2D* piece, SurfaceData* data, MEMIMG* view) {
  if (data->image.pixels == nullptr) return nullptr;
  if (piece->offsetX == 0 && piece->offsetY == 0 && piece->width == data->width && piece->height == data->height) {
    return &data->image;
  }
  std::memset(view, 0, sizeof(*view));
  InitMemImgView(view, &data->image, piece->offsetX, piece->offsetY, piece->width, piece->height);
  return view;
}

}  // namespace

int SelectDrawTargetSurfaces(int target) {
  ScreenSurfacesRecord& screens = ScreenSurfaces;
  screens.targetMemImg = nullptr;
  screens.targetZTwin = nullptr;
  screens.targetSurface = nullptr;
  screens.targetOffsetX = 0;
  screens.targetOffsetY = 0;
  if (target == kDrawTargetFront) {
    screens.targetSurface = screens.primary;
    screens.targetMemImg = &screens.primaryTwin;
  } else if (target == kDrawTargetBack) {
    screens.targetSurface = screens.back;
    screens.targetMemImg = &screens.backTwin;
    screens.targetZTwin = &screens.zTwin;
  } else {
    const GraphRecord* graph = GetGraphRecord(target);
    if (graph == nullptr || graph->pieceCount < 1) return -1;
    // A texture graph's surfaces belong to the device, which does not exist yet.
    if (graph->flags.texture) return -1;
    const Surface2D* piece = GetSurface2DRecord(graph->pieces[0]);
    SurfaceData* data = piece != nullptr ? GetSurfaceDataRecord(piece->surfaceData) : nullptr;
    if (data == nullptr) return -1;
    if (data->memoryImage) {
      screens.targetMemImg = PieceImage(piece, data, &screens.targetView);
      if (data->zTwin.magic == MEMIMG_MAGIC) screens.targetZTwin = &data->zTwin;
    } else {
      screens.targetSurface = data->surface;
      screens.targetOffsetX = piece->offsetX;
      screens.targetOffsetY = piece->offsetY;
    }
  }
  if ((IsWindowed() || RenderModeFlags.flipToGdi) && screens.primary != nullptr) {
    screens.primary->SetClipper(target == kDrawTargetFront ? nullptr : GetWindowClipper());
  }
  DrawState.targetInVideoMemory = 0;
  if (screens.targetSurface != nullptr) {
    DDSCAPS2 caps{};
    screens.targetSurface->GetCaps(&caps);
    DrawState.targetInVideoMemory = (caps.dwCaps & DDSCAPS_VIDEOMEMORY) ? 1 : 0;
  }
  return 0;
}

int PrepareDrawTargetMemImg() {
  if (GetDirectDrawObject() == nullptr || !IsMemImgScreenMode() || !PrimaryTwinStale) return 0;
  int width = 0;
  int height = 0;
  GetScreenModeSizeBody(&width, &height);
  RECT area{0, 0, width, height};
  if (IsWindowed()) {
    int client[4];
    GetClientAreaSize(client);
    area = RECT{client[0], client[1], client[0] + width, client[1] + height};
  }
  DDSURFACEDESC2 description{};
  description.dwSize = sizeof(description);
  if (ScreenSurfaces.primary->Lock(&area, &description, DDLOCK_WAIT | DDLOCK_READONLY, nullptr) != DD_OK) return -1;
  MEMIMG& twin = ScreenSurfaces.primaryTwin;
  const RECT source{0, 0, width, height};
  ConvertPixelFormatBlt(twin.pixels, twin.pitch, twin.format, description.lpSurface, description.lPitch,
                        QueryScreenPixelFormat(), nullptr, 0, nullptr, 0, 0, &source, 0, 0, 0, DITHER_NONE, 0, 0, 0);
  ScreenSurfaces.primary->Unlock(&area);
  twin.runDataValid = 0;
  MarkMemImgPixelsChanged(&twin);
  PrimaryTwinStale = 0;
  return 0;
}

int CopySurfaceRect(IDirectDrawSurface7* dest, IDirectDrawSurface7* source, int x, int y, const RECT* sourceRect,
                    int method) {
  if (method == -1) method = RenderModeFlags.blitMethod;
  RECT rect = *sourceRect;
  if (method == 1) {
    HDC destDc = nullptr;
    HDC sourceDc = nullptr;
    if (dest->GetDC(&destDc) != DD_OK) return -1;
    if (source->GetDC(&sourceDc) != DD_OK) {
      dest->ReleaseDC(destDc);
      return -1;
    }
    const BOOL copied =
        BitBlt(destDc, x, y, rect.right - rect.left, rect.bottom - rect.top, sourceDc, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    source->ReleaseDC(sourceDc);
    dest->ReleaseDC(destDc);
    return copied ? 0 : -1;
  }
  return dest->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y), source, &rect, 0) == DD_OK ? 0 : -1;
}

int CopyMemImgToMemImg(MEMIMG* dest, const MEMIMG* source, const RECT* sourceRect, int x, int y) {
  RECT rect = sourceRect != nullptr ? *sourceRect : RECT{0, 0, source->width, source->height};
  rect.left = std::max<LONG>(rect.left, 0);
  rect.top = std::max<LONG>(rect.top, 0);
  rect.right = std::min<LONG>({rect.right, source->width, rect.left + (dest->width - x)});
  rect.bottom = std::min<LONG>({rect.bottom, source->height, rect.top + (dest->height - y)});
  if (x < 0 || y < 0 || rect.right <= rect.left || rect.bottom <= rect.top) return 0;
  const int result = ConvertPixelFormatBlt(dest->pixels, dest->pitch, dest->format, source->pixels, source->pitch,
                                           source->format, nullptr, 0, nullptr, x, y, &rect, 0, 0, 0, DITHER_NONE, 0,
                                           0, 0);
  dest->runDataValid = 0;
  MarkMemImgPixelsChanged(dest);
  dest->premultipliedValid = 0;
  return result;
}

MEMIMG* GetBlendGraphMemImg() {
  static MEMIMG view;
  const GraphRecord* graph = GetGraphRecord(DrawState.blendGraph);
  if (graph == nullptr || graph->flags.texture || graph->pieceCount < 1) return nullptr;
  const Surface2D* piece = GetSurface2DRecord(graph->pieces[0]);
  SurfaceData* data = piece != nullptr ? GetSurfaceDataRecord(piece->surfaceData) : nullptr;
  if (data == nullptr || !data->memoryImage) return nullptr;
  return PieceImage(piece, data, &view);
}
